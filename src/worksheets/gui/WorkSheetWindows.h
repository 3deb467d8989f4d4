#pragma once

namespace kml {

// Puts the work-sheet editor and the line editor behind EditWorkSheet and
// EditWorkSheetLine (worksheets/WorkSheetWindows.h). Called once at start-up
// by shell/gui/Windows.cpp.
void InstallWorkSheetWindows();

} // namespace kml
