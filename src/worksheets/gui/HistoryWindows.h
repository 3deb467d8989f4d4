#pragma once

namespace kml {

// Puts the work-sheet browsers and the notes windows behind
// BrowseWorkSheets, DeviceItemHistory, BrowseNotes, EditNote and
// OpenAttachmentFile. Called once at start-up by shell/gui/Windows.cpp.
void InstallHistoryWindows();

} // namespace kml
