#include "shell/gui/Tfrm_AdatbazisNyit.h"

#include "admin/ConnectionEntries.h"
#include "foundation/WindowPlacement.h"
#include "foundation/gui/WidgetHelpers.h"
#include "shell/StartupWindows.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kml {
namespace {

QPushButton* Button(const QString& text, const QString& name) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

} // namespace

Tfrm_AdatbazisNyit::Tfrm_AdatbazisNyit(const QStringList& lines, const QStringList& entries,
                                       const QString& caption, QWidget* parent)
    : QDialog(parent), m_entries(entries) {
    setObjectName(QStringLiteral("frm_AdatbazisNyit"));
    setWindowTitle(caption);
    ApplyFontSize(this);
    resize(360, 260);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("lstDatabases"));
    m_list->addItems(lines);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &Tfrm_AdatbazisNyit::chooseSelected);

    QPushButton* ok = Button(QStringLiteral("OK"), QStringLiteral("btnOk"));
    QPushButton* cancel = Button(QStringLiteral("Mégsem"), QStringLiteral("btnCancel"));
    QPushButton* create = Button(QStringLiteral("Új"), QStringLiteral("btnNew"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Tfrm_AdatbazisNyit::chooseSelected);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(create, &QPushButton::clicked, this, &Tfrm_AdatbazisNyit::createNew);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(create);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

void Tfrm_AdatbazisNyit::chooseSelected() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_entries.size())
        return;
    if (!TestConnectionEntry(ConnectionEntry::parse(m_entries.at(row))))
        return;
    m_choice = row;
    accept();
}

void Tfrm_AdatbazisNyit::createNew() {
    m_choice = -1;
    if (!CreateConnectionEntry()) {
        reject();
        return;
    }
    m_choice = m_list->count();
    accept();
}

bool Tfrm_AdatbazisNyit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress && m_list->count() > 0) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int last = m_list->count() - 1;
        if (key == Qt::Key_Up && m_list->currentRow() == 0) {
            m_list->setCurrentRow(last);
            return true;
        }
        if (key == Qt::Key_Down && m_list->currentRow() == last) {
            m_list->setCurrentRow(0);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int ShowDatabaseChoice(const QStringList& lines, const QStringList& entries, const QString& caption) {
    Tfrm_AdatbazisNyit window(lines, entries, caption);
    const QString name = window.objectName();
    int left = 0, top = 0, height = window.height(), width = window.width();
    LoadFormBounds(name, left, top, height, width);
    window.resize(width, height);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.exec();
    try {
        SaveFormBounds(name, window.x(), window.y(), window.height(), window.width());
    } catch (const std::exception&) {
        // A place that cannot be written is not worth losing the choice for.
    }
    return window.choice();
}

} // namespace kml
