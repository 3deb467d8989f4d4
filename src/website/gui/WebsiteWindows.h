#pragma once

namespace kml {

// Puts the website windows behind their operations: the web texts, banners
// and intro slides with their editors, the picture file dialog and the web
// messages.
void InstallWebsiteWindows();

} // namespace kml
