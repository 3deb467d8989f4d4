#pragma once

// The period reports: the list of work sheets (by type, by employee or by
// manufacturer), the revenue, the profit and the consumption of materials
// and services over a period of days. Each asks how to print it
// (AskPrintMode) and goes to the preview, the printer, or the export window
// on the report's rows.
//
// The main window's actions run RunPeriodReportAction, which first asks for
// the period (AskPeriod) with the last month proposed:
//
//     RunPeriodReportAction(PeriodReport::Revenue);
//
// The work-sheet browser prints its own result as a plain list:
//
//     PrintWorkSheetList(SheetListGrouping::ByType, browserQuery.sql().join("\n"), {today, today});

#include "components/report/Document.h"
#include "foundation/WindowOperation.h"
#include "reports/ReportParts.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

namespace kml {

class Query;

// A period of days, both ends included. A period whose first day is after
// its last holds no day.
struct Period {
    QDate first;
    QDate last;
    friend bool operator==(const Period&, const Period&) = default;
};

// ---- The period window ------------------------------------------------------

// The period window "Időszak megadása" (Tfrm_Idoszak): shows the given
// period and hands back the one the user confirmed; false when cancelled
// (the period unchanged). A non-empty caption replaces the window's.
inline WindowOperation<bool(Period& period, const QString& caption)> AskPeriod{"AskPeriod"};

namespace period_window {
inline const QString Caption = QStringLiteral("Időszak megadása");
}

// The preset buttons of the period window, in their order.
enum class PeriodPreset { ThisWeek, ThisMonth, LastMonth, ThisYear, Today, LastYear };
inline constexpr PeriodPreset AllPeriodPresets[] = {PeriodPreset::ThisWeek,  PeriodPreset::ThisMonth,
                                                    PeriodPreset::LastMonth, PeriodPreset::ThisYear,
                                                    PeriodPreset::Today,     PeriodPreset::LastYear};
QString PresetCaption(PeriodPreset preset);
// The period a preset sets on the given day. "Ez a hét" is Monday to Sunday
// of the day's own week, also when that week begins or ends in another
// year.
Period PresetPeriod(PeriodPreset preset, const QDate& today);
// What the main window's reports propose: from the same day a month before
// (the month's last day when it has no such day) to today.
Period DefaultReportPeriod(const QDate& today);

// ---- The reports ------------------------------------------------------------

// Comebacks: the comeback sheets received in the period (not cancelled),
// grouped by the employees of the earlier sheet they came back from (a sheet
// without employees under "(nincs megadva)"), each with its count (darab, 1
// a row) and cost (koltseg: the purchase value of its lines), summed per
// employee and in all.
enum class PeriodReport { WorkSheetList, Revenue, Profit, Consumption, Comebacks };
// How the work-sheet list is grouped: by work-sheet type, by the sheet's
// employees ("Dolgozónként"), by the device's manufacturer ("Gyártónként").
enum class SheetListGrouping { ByType = 0, ByEmployee = 1, ByManufacturer = 2 };

struct PeriodReportRequest {
    PeriodReport kind = PeriodReport::WorkSheetList;
    SheetListGrouping grouping = SheetListGrouping::ByType; // the work-sheet list only
    // The work-sheet list only: a statement over vw_munkalap that replaces
    // the report's own query (the browser's result). The list then has no
    // groups, only the grand total, and no period label; the period is not
    // used.
    QString sql;
    Period period;
};

// "Munkalapok listája", "Árbevétel", "Árbevétel - Nyereség", "Fogyások".
QString PeriodReportTitle(PeriodReport kind);
// "qrMLapLista", "qrArbevetel", "qrNyereseg", "qrFogyas".
QString PeriodReportLayoutName(PeriodReport kind);

// Sets the report's statement (as lines, the condition on a line beginning
// with WHERE, the sort on one beginning with ORDER) and its date parameters
// on the dataset. Cancelled work sheets are listed but never summed;
// revenue, profit and consumption count sheets that are neither cancelled
// nor quotations; consumption sums each catalogue item on its own.
void PreparePeriodQuery(Query& dataset, const PeriodReportRequest& request);
// Opens the prepared dataset and gives its floating columns the display
// formats: the quantity db with quantityFormat (fractions kept), every
// other one with moneyFormat. Database errors are thrown (DbError).
void OpenPeriodQuery(Query& dataset, const QString& moneyFormat, const QString& quantityFormat);

// The layout of a report over its dataset's columns: A4 portrait; on every
// page the title, the period label, the shop and the column headings; the
// groups with "összesen" and the report's "mindösszesen" summed with
// moneyFormat; the page footer with the layout's name.
std::unique_ptr<report::Report> BuildPeriodReport(const PeriodReportRequest& request, const ShopTexts& shop,
                                                  const QString& moneyFormat);
// The report laid out over the open dataset.
report::Document MakePeriodReportDocument(const PeriodReportRequest& request, const Query& dataset,
                                          const ShopTexts& shop, const QString& moneyFormat,
                                          const QDateTime& printed = QDateTime::currentDateTime());

// Runs a report: opens its dataset, asks how to print it with the printer
// AlapNyomtato proposed, and shows the preview (0), prints on the printer
// handed back (1, the default printer when it is empty) or opens the export
// window on the report's rows (2, only with the export right; otherwise
// "Nincs jogosultság a művelethez."). Cancelled: nothing. The printer
// setting itself is not changed. Database and printer errors are thrown.
void RunPeriodReport(const PeriodReportRequest& request);

// The main window's report actions: asks for the period (the last month
// proposed, see DefaultReportPeriod) and runs the report over it; nothing
// when the period window is cancelled.
void RunPeriodReportAction(PeriodReport kind, SheetListGrouping grouping = SheetListGrouping::ByType);

// The reports as other windows start them.
void PrintWorkSheetList(SheetListGrouping grouping, const QString& sql, const Period& period);
void PrintRevenueReport(const Period& period);
void PrintProfitReport(const Period& period);
void PrintConsumptionReport(const Period& period);

} // namespace kml
