#pragma once

// The work-sheet lists of the main window, apart from the widgets: the
// work-sheet list of the first tab with its three grids (one per family of
// program types), its colours, sort and refresh; the current sheet's
// employees and lines under it; the employees of the day planner tab; and
// what the work-sheet actions do there. The main window builds its grids
// from these (RegisterWorkSheetRoutes).

#include "patterns/MainRoutes.h"

#include <QColor>
#include <QString>
#include <QStringList>

namespace kml {

// ---- Work-sheet status tabs (TabControl2) -------------------------------

inline constexpr int StatusTabCount = 7;
inline constexpr int QuotationStatusTab = 6; // "Árajánlat"
QStringList StatusTabCaptions();
// The fixed condition of the work-sheet list on a status tab: tab 0
// "(statusz BETWEEN 1 AND 2)", 1 "(statusz > 0)", 2..5 "(statusz = " + (tab - 1)
// + ")", 6 "(statusz = 0)". Any other index gives tab 0's.
QString StatusTabCondition(int statusTab);
// "Készen van!" (aKesz) is shown and enabled on every status tab but
// "Árajánlat".
bool ReadyActionOnStatusTab(int statusTab);

// ---- The lists ---------------------------------------------------------------

// The work-sheet tab: vw_munkalap under the status tab's condition, searched
// in fifteen fields, sorted by number (newest first); grids DBGrid2 (program
// types 1, 4), DBGrid22 (2), DBGrid23 (3, 5).
MainListRoute WorkSheetTabList();
// The current work sheet's employees (DBGrid4) and lines (DBGrid6; the car
// workshop sees all ten columns, the other trades six).
MainListRoute SheetEmployeesList();
MainListRoute SheetLinesList();
// The planner tab's employees (DBGrid7): live employees by name.
MainListRoute PlannerTabList();

// The columns of the current device's history (DBGrid51, sp_elozmeny) and
// of the day planner's slots (DBGrid8).
std::vector<GridColumn> DeviceHistoryColumns();
std::vector<GridColumn> PlannerSlotColumns();

// The ORDER expression of a title click on a work-sheet grid: the number
// column sorts by "munkalap DESC", any other column by its field and then
// the number.
QString WorkSheetOrder(const QString& field);

// The condition of the detail lists for the current work sheet.
QString WorkSheetDetailCondition(qlonglong workSheet); // "munkalap = " + id
QString WorkSheetTotalsCondition(qlonglong workSheet); // "munkalap = " + id + ";"

// "CALL sp_arbeallit(" + id + ");": the work sheet's amounts from its lines.
QString RecalculateWorkSheetSql(qlonglong workSheet);

// The colours of one work-sheet row: by status, cancelled over status, and
// on the car workshop's grid (sentMark) the sent mark over both. Nothing for
// the selected row.
RowStyle WorkSheetRowStyle(int statusz, bool storno, bool kuldve, bool sentMark, bool selected);

// The items grid's columns, and those hidden in a program type: only the
// car workshop (2) shows all ten.
QStringList ItemColumnFields();
QStringList HiddenItemColumns(int programType);

// The lists and actions the work sheets own on the main window: the lists
// above; on the work-sheet list "Új" (through a handler: the customer
// service chooses the customer first, a sheet made on the "Árajánlat"
// status tab is a quotation), "Szerkeszt" (the editor), "Töröl" (cancels
// the sheet) and "Frissít" (recalculates it); the handlers of aStatusz,
// aKesz, aKifizet, aUjDolgozo, aTorolDolgozo (WorkSheetStatus.h), and of
// aMLapNeki (customer and device tabs) and aMLapKeszulek (customer tab),
// which open the editor for a new sheet. Every action on the current sheet
// reads the list again afterwards.
void RegisterWorkSheetRoutes(MainRoutes& routes);

} // namespace kml
