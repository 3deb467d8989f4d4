#pragma once

// The operations through which the program shows and prints its reports and
// asks how to print. The real windows are installed at start-up by
// InstallReportWindows (reports/gui/ReportWindows.h); tests put stand-ins
// behind them (tests/support/ScriptedWindows.h).

#include "components/report/Document.h"
#include "foundation/WindowOperation.h"

#include <QString>
#include <QStringList>

namespace kml {

// The modal preview of a laid-out report (window "QRStandardPreview"), named
// after the document. From it the user prints, choosing the printer with
// `printer` proposed (the system default when empty or not installed), or
// saves the pages as a PDF file.
inline WindowOperation<void(const report::Document& document, const QString& printer)> ShowReportPreview{
    "ShowReportPreview"};

// The same for a report laid out while the preview is open (a long list):
// its first page shows at once, the others follow in the background.
inline WindowOperation<void(report::PageStream& pages, const QString& printer)> ShowReportPreviewPages{
    "ShowReportPreviewPages"};

// Prints every page at once, without a window, on the installed printer
// whose name equals `printer` ignoring letter case, or on the default
// printer when `printer` is empty. Throws report::PrinterError when that
// printer is not installed or there is no default printer.
inline WindowOperation<void(const report::Document& document, const QString& printer)> PrintReport{
    "PrintReport"};

// The names of the installed printers, in the system's order (the index
// AskPrintModeIndex hands back counts in this list).
inline WindowOperation<QStringList()> InstalledPrinterNames{"InstalledPrinterNames"};

// The print-choice window "Nyomtatás típusa": 0 preview, 1 print, 2 export
// to a delimited file, -1 cancelled. AskPrintMode offers the printers in an
// editable box and hands back its text through printer (unchanged on
// cancel); an empty printer proposes the first installed one.
inline WindowOperation<int(QString& printer)> AskPrintMode{"AskPrintMode"};
// The same with a pick-only printer list; hands back the chosen printer's
// index (unchanged on cancel); index -1 proposes the first printer.
inline WindowOperation<int(int& printerIndex)> AskPrintModeIndex{"AskPrintModeIndex"};

// What the print-choice window computes.
namespace print_choice {
inline const QString Caption = QStringLiteral("Nyomtatás típusa");
inline const QStringList Items = {QStringLiteral("Nyomtatási kép"), QStringLiteral("Nyomtatás"),
                                  QStringLiteral("Excelbe (CSV)")};
inline constexpr int Preview = 0;
inline constexpr int Print = 1;
inline constexpr int Export = 2;
// The printer name shown at start: the passed one, or the first printer
// when it is empty.
QString InitialPrinterName(const QString& passed, const QStringList& printers);
// The printer index selected at start: 0 for -1 when there are printers.
int InitialPrinterIndex(int passed, int printerCount);
// The printer box and its label are usable only while "Nyomtatás" is chosen.
inline bool PrinterBoxEnabled(int item) {
    return item == Print;
}
} // namespace print_choice

} // namespace kml
