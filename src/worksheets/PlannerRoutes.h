#pragma once

// The day planner's actions on the main window (RegisterPlannerRoutes):
//   planner tab: "Tegnap", "Ma", "Holnap" move the working date; "Új" books
//   the current slot, "Töröl" deletes its appointment (worksheets/DayPlanner.h,
//   reached through MainContext::panel(MainTab::Planner));
//   work-sheet, customer and device tabs: "Naptárba" picks a free slot in the
//   planner and books it for the current row (BookFromMainList).

#include "patterns/MainRoutes.h"

#include <QDateTime>
#include <QString>

namespace kml {

class DayPlanner;

// The day planner the window gave its planner tab; null when it has none.
DayPlanner* DayPlannerOf(MainContext& main);

// "UPDATE munkalap SET dat_hatid = 'yyyy-mm-dd hh:nn:ss' WHERE munkalap = id;"
QString SheetDeadlineSql(int workSheet, const QDateTime& start);

// "Naptárba" on the current tab: the planner picks employee, slot, length
// and day (cancel: nothing happens); the appointment editor books it for the
// current customer, device (with its customer) or work sheet. A booked work
// sheet gets the appointment's start as its deadline ("Kezdés") and the
// employee among its employees, and the list is read again on it. Refused
// with a message without a current row, and for a cancelled ("Sztornó
// munkalap") or invoiced work sheet.
void BookFromMainList(MainContext& main);

void RegisterPlannerRoutes(MainRoutes& routes);

} // namespace kml
