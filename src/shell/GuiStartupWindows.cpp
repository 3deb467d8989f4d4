#include "shell/GuiStartupWindows.h"

#include "shell/StartupWindows.h"
#include "shell/Tfrm_AdatbazisNyit.h"
#include "shell/Tfrm_Init.h"
#include "shell/Tfrm_Login.h"

namespace kml {

void InstallGuiStartupWindows() {
    StartupWindows windows;
    windows.chooseDatabase = &ShowDatabaseChoice;
    windows.createConnectionEntry = &ShowInitWindow;
    windows.login = &ShowLoginWindow;
    SetStartupWindows(std::move(windows));
}

} // namespace kml
