#pragma once

#include "patterns/MainRoutes.h"

namespace kml {

// The main window's administration actions: "Adatbázisok" opens the
// database list (editable, not for choosing), "Felhasználók" the users.
// Both are for administrators only; the main window checks the right.
void RegisterAdminRoutes(MainRoutes& routes);

} // namespace kml
