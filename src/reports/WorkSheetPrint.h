#pragma once

// Work-sheet printouts: the blank sheet printed when a device is taken in
// ("Előzetes", the items area left for handwriting) and the final sheet with
// the items, totals and the amount payable ("Végleges"), each in the layout
// family of the shop's trade (general, vehicle workshop, gas appliances).

#include "components/report/Document.h"
#include "foundation/WindowOperation.h"

#include <QDate>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <memory>

namespace kml {

enum class WorkSheetLayout { qrMunkalap, qrMunkalap0, qrMunkalapA, qrMunkalapA0, qrMunkalapG, qrMunkalapG0 };

// "qrMunkalap", "qrMunkalap0", ...: printed in every page footer.
QString LayoutName(WorkSheetLayout layout);
bool IsBlankLayout(WorkSheetLayout layout);
// Program type 2 the vehicle layouts, 4 the gas-appliance layouts, any other
// value the general ones.
WorkSheetLayout ChooseWorkSheetLayout(int programType, bool blank);
// The setting NumVisible (section qrMLap): exactly "0" hides the sheet number
// on the general and vehicle layouts; the gas-appliance layouts always show it.
bool ShowsSheetNumber(WorkSheetLayout layout, const QString& numVisible);
// The name of the print job, the PDF and the preview: serial number, "-",
// the arrival date as yyyyMMdd, and "-u" for blank sheets. A missing serial
// number or date leaves its part empty.
QString WorkSheetDocumentName(const QString& serialNumber, const QDate& received, bool blank);

// Caption and choices of the blank-or-final question.
inline const QString PrintKindCaption = QStringLiteral("Nyomtatás típusa");
inline const QString PrintKindChoices = QStringLiteral("Előzetes\r\n(Nincs kitöltve);Végleges");

// What a printout takes from the settings: the main window's settings record,
// the ini file and the logo.
struct WorkSheetPrintOptions {
    int programType = 0;        // prgtipus
    bool showFullPrice = false; // kedvmutat: vehicle final sheets print "Teljes ár" and "Kedvezmény %"
    QString moneyFormat = QStringLiteral("### ### ##0");
    QString quantityFormat = QStringLiteral("### ### ##0");
    QString numVisible = QStringLiteral("1");
    QImage logo; // null: no logo
    // allapotlink: the template of the sheet's status address (StatusAddress);
    // empty: no QR code and no address on the sheet.
    QString statusLink;
};
// Beall() for the program type, kedvmutat, the formats and the status
// link; NumVisible read from the ini file now; Logo.bmp from the data
// folder, else the program folder.
WorkSheetPrintOptions CurrentWorkSheetPrintOptions();

// Whether the sheet is cancelled (storno = 'I'), read on the shared connection.
bool IsCancelledWorkSheet(int worksheet);
// The mark every page of a cancelled sheet's printout carries: a framed
// "SZTORNÓ" across the middle of the page and a line in the top margin.
inline const QString CancelledMark = QStringLiteral("SZTORNÓ");
void MarkCancelled(report::Document& document);

// A comeback job (munkalap.visszatero_munkalap) names the earlier sheet in
// the top margin of its first page: "Visszatérő javítás – korábbi
// munkalap: 00012A". Empty for a sheet that is not a comeback.
QString ComebackOf(int worksheet);
inline const QString ComebackMark = QStringLiteral("Visszatérő javítás – korábbi munkalap: %1");
void MarkComeback(report::Document& document, const QString& earlier);

// Reads the sheet, the shop's data and the device captions on the shared
// connection and lays the printout out; a cancelled sheet's pages carry the
// cancelled mark (MarkCancelled), a comeback job's first page its earlier
// sheet (MarkComeback). With a status link the last page carries the
// sheet's status address as a QR code with the address under it. A sheet
// number without rows still gives a printout with empty fields. Database
// errors are thrown (DbError).
report::Document MakeWorkSheetDocument(int worksheet, WorkSheetLayout layout,
                                       const WorkSheetPrintOptions& options,
                                       const QDateTime& printed = QDateTime::currentDateTime());

// Asks "Előzetes" or "Végleges" (AskTwoWay), lays the sheet out in the
// layout of the shop's trade and prints it at once on the printer
// AlapNyomtato (toPrinter) or shows the preview. Cancelling the question
// prints and shows nothing and gives false. Printer problems are thrown
// (report::PrinterError) for the application error handler.
bool RunPrintWorkSheet(int worksheet, bool toPrinter);

// The operation callers use (the work-sheet editor's "Nyomtat" and
// "Előkép", the browsers, the main window's aNyomtat / aNyomtatKep);
// RunPrintWorkSheet is installed behind it.
inline WindowOperation<bool(int worksheet, bool toPrinter)> PrintWorkSheet{"PrintWorkSheet"};

// ---- The layouts themselves (WorkSheetLayouts.cpp) ------------------------

// The shop's own data (vw_tulajdonos) and the trade's captions (vw_beallit).
struct WorkSheetHeaderTexts {
    QString tulajdonos, irszvaroscim, telefon, adoszam, bankszamlaszam;
    QString keszulekstr, gyszstr, muszakistr;
};

// One of the six layouts as a report description over the columns of
// vw_mlapprint (final) or vw_mlapprint0 (blank). A status address adds its
// QR code where the layout has room without moving any of its elements:
// on the general and vehicle layouts a band of its own just above the
// totals at the bottom of the last page (the code at the right edge, the
// address under it); on the gas-appliance layouts, whose blank sheet fills
// the page, the dates box under the dates (the code at its right edge, the
// address beside it).
std::unique_ptr<report::Report> BuildWorkSheetReport(WorkSheetLayout layout,
                                                     const WorkSheetHeaderTexts& texts,
                                                     const WorkSheetPrintOptions& options,
                                                     const QString& title, const QString& statusAddress = {});

} // namespace kml
