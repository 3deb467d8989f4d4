#include "admin/ConsoleRoutes.h"

#include "admin/SqlConsole.h"

namespace kml {

void RegisterConsoleRoutes(MainRoutes& routes) {
    routes.on(QStringLiteral("aSQL"), [](MainContext&) { RunSqlConsole(); });
}

} // namespace kml
