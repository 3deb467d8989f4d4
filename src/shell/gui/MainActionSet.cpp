#include "shell/gui/MainActionSet.h"

#include "foundation/LastAction.h"
#include "foundation/Settings.h"
#include "shell/Rights.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>
#include <stdexcept>

namespace kml {
namespace {

const QString WindowName = QStringLiteral("frm_Main");

} // namespace

MainActionSet::MainActionSet(QWidget* window, const MainRoutes& routes, MainContext& context)
    : QObject(window), m_window(window), m_routes(routes), m_context(context) {
    for (const MainActionDefinition& definition : MainActionTable()) {
        auto* action = new QAction(definition.caption, window);
        action->setObjectName(definition.name);
        if (!definition.shortcut.isEmpty())
            action->setShortcut(QKeySequence(definition.shortcut, QKeySequence::PortableText));
        action->setShortcutContext(Qt::WindowShortcut);
        const QString name = definition.name;
        connect(action, &QAction::triggered, this, [this, name] { run(name); });
        window->addAction(action);
        action->setStatusTip(definition.caption);
        m_actions[definition.name] = action;
        m_hints[definition.name] = definition.caption;
    }
}

QAction* MainActionSet::action(const QString& name) const {
    const auto it = m_actions.find(name);
    if (it == m_actions.end())
        throw std::out_of_range("no main-window action " + name.toStdString());
    return it->second;
}

void MainActionSet::setHint(const QString& name, const QString& hint) {
    QAction* a = action(name);
    m_hints[name] = hint;
    a->setStatusTip(hint);
    if (a->toolTip() != SoonHint)
        a->setToolTip(hint);
}

void MainActionSet::run(const QString& name) {
    SetLastAction(WindowName + QLatin1Char('.') + name);
    if (!RequireRight(HasRight(Beall(), RequiredRight(name, m_context.currentTab()))))
        return;
    RunMainAction(name, m_context, m_routes);
}

void MainActionSet::buildMenus(QMenuBar* menuBar) const {
    for (const MainMenuDefinition& definition : MainMenus()) {
        QMenu* menu = menuBar->addMenu(definition.caption);
        menu->setObjectName(QStringLiteral("mnu") + QString(definition.caption).remove(QLatin1Char(' ')));
        menu->setToolTipsVisible(true);
        addTo(menu, definition.actions);
    }
}

void MainActionSet::fillToolBar(QToolBar* toolBar) const {
    addTo(toolBar, MainToolBarActions());
}

void MainActionSet::setContextMenu(QWidget* grid, MainContextMenu menu) const {
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    addTo(grid, ContextMenuActions(menu));
}

void MainActionSet::addTo(QWidget* widget, const QStringList& names) const {
    for (const QString& name : names) {
        if (name.isEmpty()) {
            auto* separator = new QAction(widget);
            separator->setSeparator(true);
            widget->addAction(separator);
        } else {
            widget->addAction(action(name));
        }
    }
}

void MainActionSet::applyState(const MainActionContext& context) {
    for (auto& [name, action] : m_actions) {
        const MainActionState state = ActionStateFor(name, context, m_routes);
        action->setVisible(state.visible);
        action->setEnabled(state.enabled);
        action->setToolTip(state.soon ? SoonHint : m_hints[name]);
    }
}

} // namespace kml
