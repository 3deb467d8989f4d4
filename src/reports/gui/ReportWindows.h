#pragma once

namespace kml {

// Puts the real windows and printing behind the report operations
// (PrintWorkSheet, ShowReportPreview, PrintReport, AskPrintMode,
// AskPrintModeIndex). Each window is created over the active window, shown
// modally and freed before the operation returns.
void InstallReportWindows();

} // namespace kml
