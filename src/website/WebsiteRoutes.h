#pragma once

#include "patterns/MainRoutes.h"

namespace kml {

// The main window's website actions: "Honlap szövegezése" opens the web
// texts, "Bannerek kezelése" the banners, "Intro beállítása" the intro
// slides (not for choosing; the main window checks the record-maintenance
// right), "Webes üzenetek" the messages not acknowledged yet.
void RegisterWebsiteRoutes(MainRoutes& routes);

} // namespace kml
