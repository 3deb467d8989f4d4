#pragma once

namespace kml {

// Puts the version notice and the news window behind their operations
// (services/MakerServices.h).
void InstallServiceWindows();

} // namespace kml
