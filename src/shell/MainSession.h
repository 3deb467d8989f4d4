#pragma once

// What the main window owns for the whole run apart from its widgets: the
// shared connection, the datasets of its lists and detail panels, the routes
// every subsystem registered (their lists and action handlers) and a list
// controller over each tab's and detail's dataset.

#include "components/Connection.h"
#include "components/Query.h"
#include "patterns/ListController.h"
#include "patterns/MainRoutes.h"
#include "worksheets/DayPlanner.h"

#include <array>
#include <memory>

namespace kml {

// Every subsystem's lists and actions on the main window. Handlers may be
// registered only for actions of the action table (MainActions.h).
void RegisterMainRoutes(MainRoutes& routes);
// Stops a debug build when a route named an action the table lacks (a typo
// in routes.on(...)); a release build warns.
void CheckRouteNames(const MainRoutes& routes);

class MainSession final {
public:
    MainSession();
    ~MainSession();
    MainSession(const MainSession&) = delete;
    MainSession& operator=(const MainSession&) = delete;

    // The one connection every window's statements run on: made the shared
    // connection while it is open, released when the session goes.
    Connection mySQLDatabase1;

    MainRoutes routes;

    // A list's dataset is its controller's query (list(tab).query()).
    ListController& list(MainTab tab) { return *m_lists[size_t(tab)]; }
    ListController& detail(MainDetail detail) { return *m_details[size_t(detail)]; }
    // The current work sheet's totals (vw_mlapsum).
    Query& sheetTotals() { return QryMLapSum; }
    // The current device's history (sp_elozmeny).
    Query& deviceHistory() { return QryElozmeny; }
    // The tab lists that have a search table (work sheets, customers,
    // devices), which may hold a shop's whole history, stream their rows as
    // the main window shows them: the first screen at once, the rest as it
    // arrives (ListController::setStreaming). Until then every list reads
    // all its rows before it returns, as flows and their tests expect.
    void streamLists();
    // The planner tab's day: the current employee's slots (daySlots()).
    DayPlanner& dayPlanner() { return *m_dayPlanner; }
    Query& daySlots() { return QryNaptar; }

private:
    Query QryMLap;     // work sheets (tab "Munkalapok")
    Query QryDolg;     // the current work sheet's employees
    Query QryTetel;    // the current work sheet's lines
    Query QryMLapSum;  // the current work sheet's totals
    Query QryU;        // customers (tab "Ügyfelek")
    Query QryKeszulek; // the current customer's devices
    Query QryDolgozo;  // employees of the day planner (tab "Naptár")
    Query QryNaptar;   // the planner's slots of one employee and day
    Query QryKesz;     // devices (tab "Készülék")
    Query QryElozmeny; // the current device's history (sp_elozmeny)

    std::array<std::unique_ptr<ListController>, MainTabCount> m_lists;
    std::array<std::unique_ptr<ListController>, MainDetailCount> m_details;
    std::unique_ptr<DayPlanner> m_dayPlanner;
};

} // namespace kml
