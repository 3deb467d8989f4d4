#pragma once

// What the main window owns for the whole run apart from its widgets: the
// shared connection and the datasets of its lists and detail panels, each
// with its design SQL (condition on a line beginning with WHERE, sort on a
// line beginning with ORDER, so that filtering and sorting can replace them).

#include "components/Connection.h"
#include "components/Query.h"

namespace kml {

struct MainSession final {
    MainSession();
    ~MainSession();
    MainSession(const MainSession&) = delete;
    MainSession& operator=(const MainSession&) = delete;

    // The one connection every window's statements run on: made the shared
    // connection while it is open, released when the session goes.
    Connection mySQLDatabase1;

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
};

} // namespace kml
