#include "exchange/gui/Tfrm_TorzsCsvExp.h"

#include "exchange/SavedExports.h"
#include "foundation/Conversions.h"
#include "foundation/Settings.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>

namespace kml {

Tfrm_TorzsCsvExp::Tfrm_TorzsCsvExp(QWidget* parent) : ListWindow(ExportDefinitionList(), parent) {
    addRowAction(QStringLiteral("aExport"), QStringLiteral("Export"), QKeySequence(Qt::Key_F3),
                 [this](qlonglong key) { runExport(key, int(ExportDestination::File)); })
        ->setToolTip(QStringLiteral("Export indítás"));
    addRowAction(QStringLiteral("aFTP"), QStringLiteral("FTP export"), QKeySequence(Qt::SHIFT | Qt::Key_F3),
                 [this](qlonglong key) { runExport(key, int(ExportDestination::Ftp)); });
    addRowAction(QStringLiteral("aVagolap"), QStringLiteral("Vágólapra"), QKeySequence(Qt::Key_F4),
                 [this](qlonglong key) { runExport(key, int(ExportDestination::Clipboard)); });

    const bool maintains = Beall().rendszergazda || Beall().torzsszerkeszt;
    for (const char* name : {"aUj", "aSzerkeszt", "aTorol"})
        if (QAction* action = listAction(QString::fromLatin1(name))) {
            action->setVisible(maintains);
            action->setEnabled(maintains);
        }
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void Tfrm_TorzsCsvExp::rowChanged() {
    QAction* ftp = listAction(QStringLiteral("aFTP"));
    const bool uploads =
        hasCurrentRow() && VarStr(currentValue(QStringLiteral("ftp_kell"))) == QLatin1String("I");
    ftp->setEnabled(uploads);
    ftp->setVisible(uploads);
}

void Tfrm_TorzsCsvExp::runExport(qlonglong key, int destination) {
    // The window paints while the rows are written and the file goes up,
    // but takes no input: no second run can start inside this one.
    const auto keepPainting = [] {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    };
    SavedExportProgress progress;
    progress.rows = [keepPainting](int) { return keepPainting(); };
    progress.upload = [keepPainting](qint64, qint64) { return keepPainting(); };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const SavedExportResult result = RunStoredExport(key, ExportDestination(destination), progress);
    QApplication::restoreOverrideCursor();
    ReportSavedExport(result, ExportDestination(destination));
}

void Tfrm_TorzsCsvExp::Run(QWidget* parent) {
    Tfrm_TorzsCsvExp window(parent ? parent : QApplication::activeWindow());
    window.setWindowTitle(csvexp_text::ListCaption);
    window.openAt(std::nullopt);
    window.rowChanged();
    window.exec();
}

} // namespace kml
