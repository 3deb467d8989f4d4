#pragma once

namespace kml {

// Installs the real start-up windows (Tfrm_AdatbazisNyit, Tfrm_Init,
// Tfrm_Login) behind ChooseDatabase, CreateConnectionEntry and Login.
void InstallGuiStartupWindows();

} // namespace kml
