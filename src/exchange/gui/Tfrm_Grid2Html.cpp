#include "exchange/gui/Tfrm_Grid2Html.h"

#include "components/DatasetModel.h"
#include "components/Query.h"
#include "exchange/ExportRows.h"
#include "exchange/Letters.h"
#include "foundation/Dialogs.h"
#include "foundation/Settings.h"
#include "foundation/ShellOpener.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QUrl>

namespace kml {

Tfrm_Grid2Html::Tfrm_Grid2Html(QTableView* grid, const QString& title, QWidget* parent)
    : QDialog(parent), m_grid(grid), m_title(title) {
    setObjectName(QStringLiteral("frm_Grid2Html"));
    setWindowTitle(html_text::WindowCaption);
    auto* layout = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("Mentés helye"), this);
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("Edit1"));
    m_file->setMinimumWidth(360);
    label->setBuddy(m_file);
    auto* browse = new QToolButton(this);
    browse->setObjectName(QStringLiteral("SpeedButton1"));
    browse->setText(QStringLiteral("..."));
    connect(browse, &QToolButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, QString(), m_file->text(), html_text::SaveFilter);
        if (path.isEmpty())
            return;
        m_file->setText(QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".htm") : path);
    });
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_file, 1, 0);
    layout->addWidget(browse, 1, 1);
    m_openAfter = new QCheckBox(QStringLiteral("Mentés után megnyitás"), this);
    m_openAfter->setObjectName(QStringLiteral("CheckBox1"));
    m_openAfter->setChecked(true);
    layout->addWidget(m_openAfter, 2, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    auto* mail = new QPushButton(QStringLiteral("E-Mail"), this);
    mail->setObjectName(QStringLiteral("btnEmail"));
    mail->setAutoDefault(false);
    connect(mail, &QPushButton::clicked, this, [this] { sendMail(); });
    buttons->addWidget(mail);
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setValue(0);
    layout->addWidget(m_progress, 4, 0, 1, 2);

    m_file->setText(ProposedHtmlFile(Beall().htmlUt, title));
    ApplyFontSize(this);
    LoadWindowPos(this, objectName());
}

std::vector<HtmlColumn> Tfrm_Grid2Html::GridColumns(QTableView* grid) {
    std::vector<HtmlColumn> columns;
    auto* model = qobject_cast<DatasetModel*>(grid->model());
    if (!model)
        return columns;
    const QHeaderView* header = grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical) || header->sectionSize(logical) <= 0)
            continue;
        const int field = model->fieldIndexOf(logical);
        HtmlColumn column;
        column.caption = model->headerData(logical, Qt::Horizontal).toString();
        column.width = header->sectionSize(logical);
        if (field >= 0) {
            const Field& f = model->query()->field(field);
            column.field = f.name;
            column.alignment = f.alignment;
        }
        columns.push_back(column);
    }
    return columns;
}

bool Tfrm_Grid2Html::writePage() {
    auto* model = qobject_cast<DatasetModel*>(m_grid->model());
    if (!model || !model->query())
        return false;
    const Query& data = *model->query();
    m_progress->setRange(0, qMax(1, data.recordCount()));
    m_progress->setValue(0);
    const QByteArray page = GridHtmlPage(data, GridColumns(m_grid), m_grid->width(), m_title,
                                         QDateTime::currentDateTime(), [this](int done, int) {
                                             m_progress->setValue(done);
                                             QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                                         });
    m_progress->setValue(0);
    try {
        WriteGridHtml(m_file->text().trimmed(), page);
    } catch (const ExportError& e) {
        ShowError(QStringLiteral("Hiba: ") + e.message(), this);
        return false;
    }
    return true;
}

void Tfrm_Grid2Html::accept() {
    if (!writePage())
        return;
    const QString path = QFileInfo(m_file->text().trimmed()).absoluteFilePath();
    Beall().htmlUt = QFileInfo(path).absolutePath();
    if (m_openAfter->isChecked())
        OpenInShell(QUrl::fromLocalFile(path).toString());
    QDialog::accept();
}

void Tfrm_Grid2Html::sendMail() {
    m_openAfter->setChecked(false);
    if (!writePage())
        return;
    SendMail(html_text::MailSubject, html_text::MailSubject,
             QFileInfo(m_file->text().trimmed()).absoluteFilePath());
}

void Tfrm_Grid2Html::done(int result) {
    SaveWindowPos(this, objectName());
    QDialog::done(result);
}

void Tfrm_Grid2Html::Run(QTableView* grid, const QString& title) {
    Tfrm_Grid2Html window(grid, title, grid ? grid->window() : QApplication::activeWindow());
    window.exec();
}

} // namespace kml
