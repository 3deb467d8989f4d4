#pragma once

// The main window's actions that open a record's history and notes and the
// SQL console: "Előzmény" (aMlapjai), "Anyagok" (aAnyagok), "Megjegyzés"
// (aMegjegyzes), and what falls due: "Esedékes" (aEsedekes).

#include "patterns/MainRoutes.h"

namespace kml {

void RegisterHistoryRoutes(MainRoutes& routes);

} // namespace kml
