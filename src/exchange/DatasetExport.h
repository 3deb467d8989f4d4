#pragma once

// The export window's operation and what its buttons do.
//
// ExportDataset(data, defaultFileName) opens the window "Határolt szöveg
// export" on the caller's dataset (modal; freed when it closes). The window
// gathers the choices and calls RunFileExport ("Export indítás") or
// RunClipboardExport ("Vágólapra!"); both read the dataset's rows as they
// were when the export began and leave the dataset on the row after the
// last one exported (the last row when all were).

#include "exchange/DelimitedExport.h"
#include "exchange/SpreadsheetExport.h"
#include "foundation/WindowOperation.h"

#include <QString>

namespace kml {

class Query;

namespace export_text {
inline const QString WindowCaption = QStringLiteral("Határolt szöveg export");
inline const QString NotSupported = QStringLiteral("Ebben a verzióban ez nem támogatott.");
inline const QString FileDone = QStringLiteral(" file kész.");
inline const QString ClipboardDone = QStringLiteral("Adatok vágólapra másolása kész.");
inline const QString ErrorPrefix = QStringLiteral("Hiba: ");
inline const QString DefaultFileName = QStringLiteral("File001.csv");
inline const QString DefaultSuffix = QStringLiteral("csv");
// The save dialog's file types.
inline const QString SaveFilter = QStringLiteral(
    "Excel munkalap (*.xls);;Excel munkafüzet (*.xlsx);;Excelbarát XML (*.xml);;CSV állományok (*.csv);;"
    "Text állományok (*.txt);;Minden állomány (*)");
} // namespace export_text

// The export window on data; an empty default file name proposes
// File001.csv in the documents folder, a name without a folder is put
// there too.
inline WindowOperation<void(Query& data, const QString& defaultFileName)> ExportDataset{"ExportDataset"};

// The save dialog: the chosen file name, "" when cancelled.
inline WindowOperation<QString(const QString& proposed)> ChooseExportFile{"ChooseExportFile"};

// The file name the window starts with.
QString InitialExportFileName(const QString& defaultFileName);

// How a file name's extension (any letter case) is exported.
enum class ExportFileKind { Delimited, Xls, Xlsx, Refused };
ExportFileKind ExportKindOf(const QString& fileName);

// The message after a stopped export.
QString StoppedFileMessage(const QString& path, int rows);
QString StoppedClipboardMessage(int rows);

// "Export indítás". An empty fileName asks ChooseExportFile first (and puts
// the answer into fileName; cancelled: nothing happens). A .xml name is
// refused; .xls and .xlsx are written as workbooks, anything else as
// delimited text. Reports completion (delimited files), a stop or an error
// ("Hiba: " + why) in a message box. With openAfter, a file written (also
// a stopped one) is opened with the desktop's program for it, and the
// result says to close the window; after an error nothing is opened.
// Returns whether the window should close.
bool RunFileExport(Query& data, QString& fileName, const DelimitedOptions& options, bool openAfter,
                   const ExportProgress& progress);

// "Vágólapra!": the delimited lines with TAB and no quote character (the
// header and memo choices as given) become the clipboard's text.
void RunClipboardExport(Query& data, const DelimitedOptions& options, const ExportProgress& progress);

} // namespace kml
