#include "records/gui/Tfrm_ToroltRekordok.h"

#include "components/Connection.h"
#include "components/Query.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kml {

Tfrm_ToroltRekordok::Tfrm_ToroltRekordok(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_ToroltRekordok"));
    setWindowTitle(deleted_text::WindowCaption);

    m_kinds = new QComboBox(this);
    m_kinds->setObjectName(QStringLiteral("cbFajta"));
    for (const DeletedKindInfo& info : DeletedKinds())
        m_kinds->addItem(info.caption, int(info.kind));
    auto* kindLabel = new QLabel(QStringLiteral("Törölt"), this);
    kindLabel->setBuddy(m_kinds);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);

    m_restore = new QPushButton(deleted_text::RestoreButton, this);
    m_restore->setObjectName(QStringLiteral("btnVisszaallit"));
    auto* refresh = new QPushButton(QStringLiteral("Frissítés"), this);
    auto* close = new QPushButton(QStringLiteral("Bezár"), this);
    for (QPushButton* b : {m_restore, refresh, close})
        b->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(kindLabel);
    top->addWidget(m_kinds, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_restore);
    buttons->addWidget(refresh);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    connect(m_kinds, &QComboBox::currentIndexChanged, this, [this] { reread(); });
    connect(m_restore, &QPushButton::clicked, this, [this] { restoreCurrent(); });
    connect(refresh, &QPushButton::clicked, this, [this] { reread(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableWidget::itemDoubleClicked, this, [this] { restoreCurrent(); });

    ApplyFontSize(this);
    resize(640, 420);
    reread();
}

DeletedKind Tfrm_ToroltRekordok::kind() const {
    return DeletedKind(m_kinds->currentData().toInt());
}

void Tfrm_ToroltRekordok::showKind(DeletedKind kind) {
    m_kinds->setCurrentIndex(m_kinds->findData(int(kind)));
}

qlonglong Tfrm_ToroltRekordok::currentKey() const {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_grid->rowCount())
        return -1;
    return m_grid->item(row, 0)->data(Qt::UserRole).toLongLong();
}

int Tfrm_ToroltRekordok::rowCount() const {
    return m_grid->rowCount();
}

void Tfrm_ToroltRekordok::reread() {
    const int keepRow = m_grid->currentRow();
    const ResultSet rows = SharedConnection().query(DeletedKindOf(kind()).listSql);
    const int columns = std::max(0, rows.columnCount() - 1);
    m_grid->clear();
    m_grid->setColumnCount(columns);
    m_grid->setRowCount(rows.rowCount());
    QStringList headers;
    for (int c = 0; c < columns; ++c)
        headers << rows.column(c + 1).name;
    m_grid->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < rows.rowCount(); ++r)
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem(rows.text(r, c + 1));
            if (c == 0)
                item->setData(Qt::UserRole, rows.text(r, 0).toLongLong());
            m_grid->setItem(r, c, item);
        }
    m_grid->resizeColumnsToContents();
    if (rows.rowCount() > 0)
        m_grid->setCurrentCell(std::clamp(keepRow, 0, rows.rowCount() - 1), 0);
    m_restore->setEnabled(rows.rowCount() > 0);
}

void Tfrm_ToroltRekordok::restoreCurrent() {
    const qlonglong key = currentKey();
    if (key < 0)
        return;
    RunRestoreDeleted(kind(), key);
    reread();
}

} // namespace kml
