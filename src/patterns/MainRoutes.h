#pragma once

// How the main window reaches the subsystems. The window itself only routes:
// each subsystem registers the lists it owns (the four tab lists and the
// detail lists under them, with their grids) and the handlers of the actions
// it owns, and the window builds its grids from the lists and runs an action
// through the handler registered for it on the current tab.
//
//     void RegisterRecordRoutes(MainRoutes& routes) {
//         routes.setList(MainTab::Customers, CustomerTabList());
//         routes.setDetail(MainDetail::CustomerDevices, CustomerDevicesList(),
//                          {MainTab::Customers, &CustomerDevicesCondition});
//         routes.on("aUgyfelAdatlap", [](MainContext& main) { ... });
//     }
//
// A tab's panel (the widgets around its list's grids) comes from the panel
// factory its subsystem registers (patterns/gui/MainPanel.h).
//
// An action of the table with no handler for a tab where it acts is not part
// of the program yet: the window shows it disabled as "Hamarosan".

#include "patterns/ListDefinition.h"

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

class QObject;

namespace kml {

class ListController;
class Query;

// The panels of TabControl1, in tab order.
enum class MainTab { WorkSheets = 0, Customers = 1, Planner = 2, Devices = 3 };
inline constexpr int MainTabCount = 4;

// The lists under the tab lists that actions work on.
enum class MainDetail {
    SheetEmployees,  // the current work sheet's employees
    SheetLines,      // the current work sheet's lines
    CustomerDevices, // the current customer's devices
};
inline constexpr int MainDetailCount = 3;

// One grid of the main window over a list.
struct MainGridDefinition {
    MainGridDefinition() = default;
    MainGridDefinition(QString gridName, std::vector<GridColumn> gridColumns)
        : name(std::move(gridName)), columns(std::move(gridColumns)) {}

    QString name;                    // the grid's object name ("DBGrid2")
    std::vector<GridColumn> columns; // widthShare: percent of the grid's width
    // The grid's own colouring; the list's when unset.
    RowColouring colouring;
    // The program types that show this grid; every type when empty.
    std::vector<int> programTypes;
    // Width shares for a program type, one per column, 0 for a hidden
    // column; the columns' own shares when unset.
    std::function<std::vector<int>(int programType)> sharesFor;
    bool sortable = true; // a title click sorts
};

// How a detail list follows the current row of a tab's list: when that row
// changes the detail reopens with condition(key), and closes when there is no
// row. A detail shown by a toggle action (shownWith: "aMLapTetel") is read
// only while the action is checked.
struct MainDetailLink {
    MainTab master = MainTab::WorkSheets;
    std::function<QString(qlonglong key)> condition;
    QString shownWith;
};

// A list of the main window: what it is and the grids that show it.
struct MainListRoute {
    ListDefinition list;
    std::vector<MainGridDefinition> grids;
    // For a detail list: the list it follows.
    MainDetailLink link;
};

// What an action sees of the main window.
class MainContext {
public:
    virtual ~MainContext() = default;
    virtual MainTab currentTab() const = 0;
    // The index of the work-sheet status tab (TabControl2).
    virtual int statusTab() const = 0;
    virtual ListController& list(MainTab tab) = 0;
    virtual ListController& detail(MainDetail detail) = 0;
    ListController& currentList() { return list(currentTab()); }
    // What a tab shows besides its list, as the window's subsystem gave it
    // (the planner tab's day: worksheets/DayPlanner.h); null when nothing.
    virtual QObject* panel([[maybe_unused]] MainTab tab) { return nullptr; }
};

using MainHandler = std::function<void(MainContext& main)>;

class MainRoutes final {
public:
    void setList(MainTab tab, MainListRoute route);
    void setDetail(MainDetail detail, MainListRoute route, MainDetailLink link);
    // The registered list; throws std::logic_error when none was.
    const MainListRoute& list(MainTab tab) const;
    const MainListRoute& detail(MainDetail detail) const;
    bool hasList(MainTab tab) const { return m_lists[size_t(tab)].has_value(); }
    bool hasDetail(MainDetail detail) const { return m_details[size_t(detail)].has_value(); }

    // The handler of an action on every tab, or on one tab (which wins).
    void on(const QString& action, MainHandler handler);
    void on(const QString& action, MainTab tab, MainHandler handler);
    // The handler for the action on the tab; null when none is registered.
    const MainHandler* handler(const QString& action, MainTab tab) const;

    // The names a handler may be registered for (the window's action table).
    // Once they are set, a handler for any other name is a mistake (a typo in
    // a route): it is not kept, and unknownActions() lists its name; the main
    // window's start-up stops on it in debug builds.
    void setKnownActions(const std::vector<QString>& names);
    const std::vector<QString>& unknownActions() const { return m_unknown; }

private:
    bool accepts(const QString& action);

    std::array<std::optional<MainListRoute>, MainTabCount> m_lists;
    std::array<std::optional<MainListRoute>, MainDetailCount> m_details;
    std::map<QString, MainHandler> m_everywhere;
    std::map<std::pair<QString, int>, MainHandler> m_onTab;
    std::set<QString> m_known;
    std::vector<QString> m_unknown;
};

} // namespace kml
