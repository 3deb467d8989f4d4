#pragma once

// The main window's actions as QActions, built from the action table
// (MainActions.h): one per row, with its caption, shortcut and object name,
// bound into the menu bar, the tool bar and the grids' context menus. Every
// run first records "frm_Main." + the action's name as the last action for
// the error log, then checks the right the action needs on the current tab
// ("Nincs jogosultság a művelethez." and nothing else when it is missing),
// then runs what the routes give for it on the current tab:
//
//     m_actions = new MainActionSet(this, session.routes, *this);
//     m_actions->buildMenus(menuBar());
//     m_actions->applyState(context); // after every tab or settings change

#include "shell/MainActions.h"

#include <QObject>
#include <QPointer>
#include <map>

class QAction;
class QMenuBar;
class QToolBar;
class QWidget;

namespace kml {

class MainActionSet final : public QObject {
    Q_OBJECT
public:
    MainActionSet(QWidget* window, const MainRoutes& routes, MainContext& context);

    // The action of that name; throws std::out_of_range for an unknown one.
    QAction* action(const QString& name) const;
    // The action's hint (its caption by default): its status tip, and its
    // tool tip while it is ready.
    void setHint(const QString& name, const QString& hint);

    void buildMenus(QMenuBar* menuBar) const;
    void fillToolBar(QToolBar* toolBar) const;
    // The grid's context menu: the menu's actions in the table's order.
    void setContextMenu(QWidget* grid, MainContextMenu menu) const;
    // Adds the named actions to a widget (a panel's header tool bar).
    void addTo(QWidget* widget, const QStringList& names) const;

    // Visible, enabled and hint of every action for the context; an action
    // that is not ready yet is disabled with the hint "Hamarosan".
    void applyState(const MainActionContext& context);

private:
    void run(const QString& name);

    QPointer<QWidget> m_window;
    const MainRoutes& m_routes;
    MainContext& m_context;
    std::map<QString, QAction*> m_actions;
    std::map<QString, QString> m_hints;
};

} // namespace kml
