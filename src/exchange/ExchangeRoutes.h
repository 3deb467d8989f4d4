#pragma once

#include "patterns/MainRoutes.h"

namespace kml {

// The main window's actions the exports own: "Excelbe... (CSV)" exports the
// current tab's list (as "KoravelML.csv" unless the user names another
// file); "Számláz" hands the current work sheet to the invoicing program.
void RegisterExchangeRoutes(MainRoutes& routes);

} // namespace kml
