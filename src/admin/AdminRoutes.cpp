#include "admin/AdminRoutes.h"

#include "admin/DatabaseList.h"
#include "admin/Users.h"

namespace kml {

void RegisterAdminRoutes(MainRoutes& routes) {
    routes.on(QStringLiteral("aAdatbazis"), [](MainContext&) { OpenDatabaseList(true, false); });
    routes.on(QStringLiteral("aFelhasznalo"), [](MainContext&) { OpenUserList(); });
}

} // namespace kml
