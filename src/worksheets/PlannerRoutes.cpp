#include "worksheets/PlannerRoutes.h"

#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/Flags.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"
#include "patterns/ListController.h"
#include "worksheets/DayPlanner.h"
#include "worksheets/PlannerSlots.h"
#include "worksheets/PlannerWindows.h"
#include "worksheets/WorkSheetEditing.h"

namespace kml {
namespace {

void OnDayPlanner(MainRoutes& routes, const char* action, void (DayPlanner::*run)()) {
    routes.on(QString::fromLatin1(action), MainTab::Planner, [run](MainContext& main) {
        if (DayPlanner* day = DayPlannerOf(main))
            (day->*run)();
    });
}

} // namespace

DayPlanner* DayPlannerOf(MainContext& main) {
    return qobject_cast<DayPlanner*>(main.panel(MainTab::Planner));
}

QString SheetDeadlineSql(int workSheet, const QDateTime& start) {
    return QStringLiteral("UPDATE munkalap SET dat_hatid = ") +
           SqlStr(start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) +
           QStringLiteral(" WHERE munkalap = ") + VarIntStr(workSheet) + QLatin1Char(';');
}

void BookFromMainList(MainContext& main) {
    const MainTab tab = main.currentTab();
    if (tab == MainTab::Planner)
        return;
    ListController& list = main.currentList();
    const std::optional<qlonglong> key = list.currentKey();
    if (!key) {
        ShowWarning(list_text::NoRowSelected);
        return;
    }
    if (tab == MainTab::WorkSheets) {
        // The sheet is read again: one cancelled or locked on another
        // workstation since the list was read is refused, as the editor does;
        // the deadline and the employee are written under its lock.
        const int sheet = int(*key);
        BookInPlanner(sheet, [sheet](const PlannerBooking& booking) {
            ExecSql(SheetDeadlineSql(sheet, booking.start));
        });
        list.reread(*key);
        return;
    }

    const std::optional<PlannerSlot> picked = PickPlannerSlot();
    if (!picked)
        return;
    AppointmentRequest request;
    request.employee = picked->employee;
    request.slot = picked->slot;
    request.hours = picked->hours;
    request.timeText = SlotTimeText(picked->slot);
    request.day = picked->day;
    switch (tab) {
    case MainTab::Customers:
        request.customer = int(*key);
        break;
    case MainTab::Devices:
        request.device = int(*key);
        request.customer = list.currentValue(QStringLiteral("ugyfel")).toInt();
        break;
    case MainTab::WorkSheets:
    case MainTab::Planner:
        break;
    }
    EditAppointment(request);
}

void RegisterPlannerRoutes(MainRoutes& routes) {
    OnDayPlanner(routes, "aTegnap", &DayPlanner::previousDay);
    OnDayPlanner(routes, "aMa", &DayPlanner::today);
    OnDayPlanner(routes, "aHolnap", &DayPlanner::nextDay);
    OnDayPlanner(routes, "aUj", &DayPlanner::newAppointment);
    OnDayPlanner(routes, "aTorol", &DayPlanner::removeAppointment);
    for (MainTab tab : {MainTab::WorkSheets, MainTab::Customers, MainTab::Devices})
        routes.on(QStringLiteral("aNaptarba"), tab, &BookFromMainList);
}

} // namespace kml
