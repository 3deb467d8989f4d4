#include "admin/gui/ConsoleWindows.h"

#include "admin/SqlConsole.h"
#include "admin/gui/Tfrm_SQL.h"

namespace kml {

void InstallConsoleWindows() {
    OpenSqlConsole.install(&Tfrm_SQL::Run);
}

} // namespace kml
