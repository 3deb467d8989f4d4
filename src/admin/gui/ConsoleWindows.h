#pragma once

namespace kml {

// Puts the SQL console behind OpenSqlConsole (admin/SqlConsole.h).
void InstallConsoleWindows();

} // namespace kml
