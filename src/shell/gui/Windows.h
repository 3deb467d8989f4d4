#pragma once

namespace kml {

// Puts the real windows behind every window operation of the program (the
// start-up windows, the settings window and each subsystem's windows). The
// program calls it once before the main window opens; window tests call it
// too and put stand-ins over the operations they script.
void InstallWindows();

} // namespace kml
