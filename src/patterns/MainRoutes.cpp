#include "patterns/MainRoutes.h"

#include <stdexcept>

namespace kml {

void MainRoutes::setList(MainTab tab, MainListRoute route) {
    m_lists[size_t(tab)] = std::move(route);
}

void MainRoutes::setDetail(MainDetail detail, MainListRoute route, MainDetailLink link) {
    route.link = std::move(link);
    m_details[size_t(detail)] = std::move(route);
}

const MainListRoute& MainRoutes::list(MainTab tab) const {
    if (!m_lists[size_t(tab)])
        throw std::logic_error("no list is registered for main-window tab " + std::to_string(int(tab)));
    return *m_lists[size_t(tab)];
}

const MainListRoute& MainRoutes::detail(MainDetail detail) const {
    if (!m_details[size_t(detail)])
        throw std::logic_error("no detail list is registered: " + std::to_string(int(detail)));
    return *m_details[size_t(detail)];
}

void MainRoutes::setKnownActions(const std::vector<QString>& names) {
    m_known = {names.begin(), names.end()};
}

bool MainRoutes::accepts(const QString& action) {
    if (m_known.empty() || m_known.count(action))
        return true;
    m_unknown.push_back(action);
    return false;
}

void MainRoutes::on(const QString& action, MainHandler handler) {
    if (accepts(action))
        m_everywhere[action] = std::move(handler);
}

void MainRoutes::on(const QString& action, MainTab tab, MainHandler handler) {
    if (accepts(action))
        m_onTab[{action, int(tab)}] = std::move(handler);
}

const MainHandler* MainRoutes::handler(const QString& action, MainTab tab) const {
    if (const auto it = m_onTab.find({action, int(tab)}); it != m_onTab.end())
        return &it->second;
    if (const auto it = m_everywhere.find(action); it != m_everywhere.end())
        return &it->second;
    return nullptr;
}

} // namespace kml
