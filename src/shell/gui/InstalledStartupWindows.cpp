#include "shell/gui/InstalledStartupWindows.h"

#include "shell/StartupWindows.h"
#include "shell/gui/Tfrm_AdatbazisNyit.h"
#include "shell/gui/Tfrm_Init.h"
#include "shell/gui/Tfrm_Login.h"

namespace kml {

void InstallGuiStartupWindows() {
    StartupWindows windows;
    windows.chooseDatabase = &ShowDatabaseChoice;
    windows.createConnectionEntry = &ShowInitWindow;
    windows.login = &ShowLoginWindow;
    SetStartupWindows(std::move(windows));
}

} // namespace kml
