#pragma once

// The main window's table of actions apart from the widgets: every action's
// name, caption and shortcut, the menus and context menus that carry it, the
// right that guards it, and whether it can run on a tab yet. The window
// builds its QActions, menus, tool bar and context menus from this table and
// asks MainActionState whenever the tab, the status tab or the settings
// change.

#include "shell/MainLists.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kml {

struct TBeall;

// The rights of the settings record that guard actions.
enum class MainRight { None, Administrator, RecordMaintenance, Printing, ProfitView, Export };

struct MainActionSpec {
    QString name;     // "aUj"
    QString caption;  // "Új"
    QString shortcut; // portable key-sequence text ("Ctrl+Del"); empty: none
};

// Every action of the window, in the table's order.
const std::vector<MainActionSpec>& MainActionTable();
// The definition of one action; throws std::out_of_range for an unknown name.
const MainActionSpec& MainActionByName(const QString& name);

// A menu of the menu bar: its caption and actions (an empty name is a
// separator).
struct MainMenuSpec {
    QString caption;
    QStringList actions;
};
const std::vector<MainMenuSpec>& MainMenus();
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

// Whether an action can run on a tab in this build: false while the window
// or flow it opens is not part of the program yet (it is then disabled with
// the hint "Hamarosan"). An action that works on some tabs counts as ready
// on the tabs where it does nothing.
bool ActionReady(const QString& action, MainTab tab);

inline const QString SoonHint = QStringLiteral("Hamarosan");

struct MainActionState {
    bool visible = true;
    bool enabled = true;
    bool soon = false; // disabled because it is not ready yet
};
MainActionState ActionStateFor(const QString& action, const MainActionContext& context);

// The maker's pages the help actions hand to the shell.
inline const QString HelpAddress = QStringLiteral("https://www.tarnova.hu/koravelml/sugo");
inline const QString HomeAddress = QStringLiteral("https://www.tarnova.hu");
inline const QString MailAddress = QStringLiteral("mailto:info@tarnova.hu?subject=Koravel.ML%20program");

} // namespace kml
