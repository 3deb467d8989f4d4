#pragma once

// The operations through which the rest of the program opens the work-sheet
// editor and the line editor. The real windows are installed at start-up
// (worksheets/gui/WorkSheetWindows.h, InstallWorkSheetWindows).

#include "foundation/WindowOperation.h"

namespace kml {

// The work-sheet editor. sheet -1 makes a new sheet (or a quotation) for the
// customer, type and device given (-1 where the caller has none: the editor
// asks for them); an existing sheet is edited with its own type. The saved
// sheet's number when the user closed with OK, otherwise -1.
inline WindowOperation<int(int sheet, int customer, int type, bool quotation, int device)> EditWorkSheet{
    "EditWorkSheet"};

// The line editor for a line of the sheet (line -1: a new line from an item
// chosen first). True when the line was handed to the server, false when the
// user cancelled (the item choice included) or the server refused it.
inline WindowOperation<bool(int sheet, int line)> EditWorkSheetLine{"EditWorkSheetLine"};

} // namespace kml
