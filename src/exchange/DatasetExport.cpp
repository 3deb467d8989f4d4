#include "exchange/DatasetExport.h"

#include "components/Query.h"
#include "foundation/Dialogs.h"
#include "foundation/Folders.h"
#include "foundation/ShellOpener.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

namespace kml {
namespace {

// The dataset on the row after the last one exported, or on its last row
// when every row was.
void PlaceAfter(Query& data, const ExportOutcome& outcome) {
    if (data.isEmpty())
        return;
    if (outcome.rows >= data.recordCount())
        data.last();
    else
        data.moveTo(outcome.rows);
}

} // namespace

QString InitialExportFileName(const QString& defaultFileName) {
    return ResolveExportPath(defaultFileName.trimmed().isEmpty() ? export_text::DefaultFileName
                                                                 : defaultFileName);
}

ExportFileKind ExportKindOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toUpper();
    if (suffix == QLatin1String("XML"))
        return ExportFileKind::Refused;
    if (suffix == QLatin1String("XLS"))
        return ExportFileKind::Xls;
    if (suffix == QLatin1String("XLSX"))
        return ExportFileKind::Xlsx;
    return ExportFileKind::Delimited;
}

QString StoppedFileMessage(const QString& path, int rows) {
    return QStringLiteral("Az exportot megállította: a %1 file csak az első %2 sort tartalmazza.")
        .arg(path)
        .arg(rows);
}

QString StoppedClipboardMessage(int rows) {
    return QStringLiteral("A másolást megállította: a vágólapra csak az első %1 sor került.").arg(rows);
}

bool RunFileExport(Query& data, QString& fileName, const DelimitedOptions& options, bool openAfter,
                   const ExportProgress& progress) {
    if (fileName.trimmed().isEmpty()) {
        const QString chosen = ChooseExportFile(InitialExportFileName(QString()));
        if (chosen.isEmpty())
            return false;
        fileName = chosen;
    }
    const ExportFileKind kind = ExportKindOf(fileName);
    if (kind == ExportFileKind::Refused) {
        ShowError(export_text::NotSupported);
        return false;
    }
    const QString path = ResolveExportPath(fileName);
    ExportOutcome outcome;
    try {
        const ExportRows rows(data, options.ticked);
        if (kind == ExportFileKind::Delimited)
            outcome = WriteDelimitedFile(rows, path, options, progress);
        else
            outcome = WriteSpreadsheet(
                rows, path, kind == ExportFileKind::Xls ? SpreadsheetFormat::Xls : SpreadsheetFormat::Xlsx,
                progress);
    } catch (const ExportError& e) {
        ShowError(export_text::ErrorPrefix + e.message());
        return false;
    }
    PlaceAfter(data, outcome);
    if (outcome.stopped)
        ShowInfo(StoppedFileMessage(path, outcome.rows));
    else if (kind == ExportFileKind::Delimited)
        ShowInfo(path + export_text::FileDone);
    if (!openAfter)
        return false;
    OpenInShell(QUrl::fromLocalFile(path).toString());
    return true;
}

void RunClipboardExport(Query& data, const DelimitedOptions& options, const ExportProgress& progress) {
    DelimitedOptions tabbed = options;
    tabbed.separator = '\t';
    tabbed.quote = 0;
    QString text;
    ExportOutcome outcome;
    try {
        outcome = DelimitedText(ExportRows(data, tabbed.ticked), tabbed, progress, text);
    } catch (const ExportError& e) {
        ShowError(export_text::ErrorPrefix + e.message());
        return;
    }
    QGuiApplication::clipboard()->setText(text);
    PlaceAfter(data, outcome);
    ShowInfo(outcome.stopped ? StoppedClipboardMessage(outcome.rows) : export_text::ClipboardDone);
}

} // namespace kml
