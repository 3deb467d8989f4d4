#pragma once

namespace kml {

// Puts the real windows and printing behind the report operations
// (PrintWorkSheet, ShowReportPreview, PrintReport, AskPrintMode,
// AskPrintModeIndex, AskPeriod). Each window is created over the active
// window, shown modally and freed before the operation returns.
void InstallReportWindows();

} // namespace kml
