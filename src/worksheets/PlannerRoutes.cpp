#include "worksheets/PlannerRoutes.h"

#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"
#include "patterns/ListController.h"
#include "worksheets/DayPlanner.h"
#include "worksheets/PlannerSlots.h"
#include "worksheets/PlannerWindows.h"

namespace kml {
namespace {

void OnDayPlanner(MainRoutes& routes, const char* action, void (DayPlanner::*run)()) {
    routes.on(QString::fromLatin1(action), MainTab::Planner, [run](MainContext& main) {
        if (DayPlanner* day = DayPlannerOf(main))
            (day->*run)();
    });
}

// Whether the current work sheet may get an appointment; tells the user why not.
bool SheetTakesAppointment(const ListController& sheets) {
    if (sheets.currentValue(QStringLiteral("storno")).toString() == QLatin1String("I")) {
        ShowError(QStringLiteral("Sztornó munkalap"));
        return false;
    }
    if (sheets.currentValue(QStringLiteral("statusz")).toInt() >= 4) {
        ShowError(QStringLiteral("Ez a munkalap már le lett zárva."));
        return false;
    }
    return true;
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
    if (tab == MainTab::WorkSheets && !SheetTakesAppointment(list))
        return;

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
        request.workSheet = int(*key);
        break;
    case MainTab::Planner:
        break;
    }
    const std::optional<BookedAppointment> booked = EditAppointment(request);
    if (!booked || tab != MainTab::WorkSheets)
        return;
    ExecSql(SheetDeadlineSql(request.workSheet, booked->start));
    ExecSql(QStringLiteral("CALL sp_dolgstr(") + VarIntStr(request.workSheet) + QStringLiteral(", ") +
            VarIntStr(request.employee) + QStringLiteral(");"));
    list.reread(*key);
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
