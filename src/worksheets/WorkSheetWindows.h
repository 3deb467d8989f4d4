#pragma once

// The operations through which the rest of the program opens the work-sheet
// editor and the line editor. The real windows are installed at start-up
// (worksheets/gui/WorkSheetWindows.h, InstallWorkSheetWindows).

#include "foundation/RowKey.h"
#include "foundation/WindowOperation.h"

namespace kml {

// The work-sheet editor. No sheet makes a new sheet (or a quotation) for the
// customer, type and device given (nothing where the caller has none: the
// editor asks for them); an existing sheet is edited with its own type. The
// saved sheet's number when the user closed with OK, otherwise nothing.
inline WindowOperation<RowKey(RowKey sheet, RowKey customer, RowKey type, bool quotation, RowKey device)>
    EditWorkSheet{"EditWorkSheet"};

// The line editor for a line of the sheet (no line: a new line from an item
// chosen first). True when the line was handed to the server, false when the
// user cancelled (the item choice included) or the server refused it.
inline WindowOperation<bool(qlonglong sheet, RowKey line)> EditWorkSheetLine{"EditWorkSheetLine"};

} // namespace kml
