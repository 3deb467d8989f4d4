#pragma once

#include <QString>
#include <functional>

namespace kml {

class ListWindow;

// "Másol" (Ctrl+C) of the website lists: with the focus in the grid the
// current row's value of the column column() names goes to the clipboard;
// in the search box or a memo, the text selected there.
void AddCopyAction(ListWindow& window, std::function<QString()> column);

// The column a list's "Másol" copies: the last one clicked in the grid, at
// first the sort column.
std::function<QString()> LastClickedColumn(ListWindow& window);

} // namespace kml
