#pragma once

#include "patterns/MainRoutes.h"

namespace kml {

// "Szabad lekérdezés" (aSQL): the SQL console, for administrators.
void RegisterConsoleRoutes(MainRoutes& routes);

} // namespace kml
