#pragma once

// The main window's table of actions apart from the widgets: one row per
// action with its caption, shortcut, the right that guards it, when it is
// visible, on which tabs it acts and, for the record actions, which list
// hook it runs. The menus, the tool bar and the context menus name actions
// of the table. What an action does is registered by the subsystem that
// owns it (patterns/MainRoutes.h); an action that acts on a tab where
// nothing is registered is not part of the program yet and is disabled
// with the hint "Hamarosan".

#include "patterns/MainRoutes.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>
#include <vector>

namespace kml {

struct TBeall;

// The rights of the settings record that guard actions.
enum class MainRight { None, Administrator, RecordMaintenance, Printing, ProfitView, Export };

// When an action is shown.
enum class MainVisibility {
    Always,
    WithDevices,       // the shop records devices (vankeszulek)
    WithInvoicing,     // the invoicing program is set up (VanPennart)
    NotOnQuotationTab, // every status tab but "Árajánlat"
};

// A set of tabs.
class TabSet final {
public:
    constexpr TabSet() = default;
    TabSet(std::initializer_list<MainTab> tabs) {
        for (MainTab tab : tabs)
            m_bits |= 1u << unsigned(tab);
    }
    static TabSet all() {
        return TabSet({MainTab::WorkSheets, MainTab::Customers, MainTab::Planner, MainTab::Devices});
    }
    bool contains(MainTab tab) const { return m_bits & (1u << unsigned(tab)); }

private:
    unsigned m_bits = 0;
};

// The standard action of a list that an action runs when no handler is
// registered for it on the tab.
enum class ListHook { None, Create, Edit, Remove, Refresh };

struct MainActionDefinition {
    QString name;     // "aUj"
    QString caption;  // "Új"
    QString shortcut; // portable key-sequence text ("Ctrl+Del"); empty: none
    MainRight right = MainRight::None;
    TabSet rightTabs = TabSet::all(); // the tabs on which the right is needed
    MainVisibility visibility = MainVisibility::Always;
    TabSet tabs = TabSet::all(); // where it acts; elsewhere it does nothing
    ListHook hook = ListHook::None;
    std::optional<MainDetail> detail; // the hook's list: a detail instead of the tab's list
};

// Every action of the window, in the table's order.
const std::vector<MainActionDefinition>& MainActionTable();
// The definition of one action; throws std::out_of_range for an unknown name.
const MainActionDefinition& MainActionByName(const QString& name);

// A menu of the menu bar: its caption and actions (an empty name is a
// separator).
struct MainMenuDefinition {
    QString caption;
    QStringList actions;
};
const std::vector<MainMenuDefinition>& MainMenus();
// The everyday actions on the tool bar (an empty name is a separator).
QStringList MainToolBarActions();

// The grids with a context menu of their own.
enum class MainContextMenu { Customers, WorkSheets, CustomerDevices, Devices };
QStringList ContextMenuActions(MainContextMenu menu);

// The right an action needs on a tab; None when it needs none there (the
// print actions need the printing right only over the customer list).
MainRight RequiredRight(const QString& action, MainTab tab);
// Whether the settings record holds a right.
bool HasRight(const TBeall& settings, MainRight right);

// What decides an action's state besides the action itself.
struct MainActionContext {
    MainTab tab = MainTab::WorkSheets;
    int statusTab = 0;
    bool vankeszulek = false; // the shop records devices
    bool vanPennart = false;  // the invoicing program is present
};

// Whether the action can run on the tab: it does nothing there, or a
// handler is registered for it there, or the list its hook runs on has that
// hook.
bool ActionReady(const MainActionDefinition& action, MainTab tab, const MainRoutes& routes);

inline const QString SoonHint = QStringLiteral("Hamarosan");

// An action is enabled when visible, ready and meant for the current tab.
struct MainActionState {
    bool visible = true;
    bool enabled = true;
    bool soon = false; // disabled because it is not ready yet
};
MainActionState ActionStateFor(const QString& action, const MainActionContext& context,
                               const MainRoutes& routes);

// Runs an action on the current tab: its registered handler, or else its
// list hook on the tab's list (or its detail). Nothing when neither exists.
void RunMainAction(const QString& action, MainContext& main, const MainRoutes& routes);

// The maker's pages the help actions hand to the shell.
inline const QString HelpAddress = QStringLiteral("https://www.tarnova.hu/koravelml/sugo");
inline const QString HomeAddress = QStringLiteral("https://www.tarnova.hu");
inline const QString MailAddress = QStringLiteral("mailto:info@tarnova.hu?subject=Koravel.ML%20program");

} // namespace kml
