#pragma once

#include <QRect>
#include <QString>

namespace kml {

// The desktop work area (the primary screen without panels and task bars),
// read once from the system on first use. SetWorkArea replaces it (start-up
// on an unusual set-up, tests).
QRect WorkArea();
void SetWorkArea(const QRect& area);

// Moves and shrinks a window's bounds so that the window lies inside the work
// area: a window whose left (top) edge is beyond the area's right (bottom)
// edge goes to the area's left (top); a window that sticks out on the right
// (bottom) is moved back, or, when it is wider (taller) than the area, placed
// at its left (top) and narrowed (shortened) to it.
void FitIntoWorkArea(const QRect& area, int& left, int& top, int& height, int& width);

// Window positions in the ini file: section = the window's name, keys Left,
// Top, Width, Height.
// Whether the ini file remembers a place (Left) for the window.
bool HasStoredPlace(const QString& windowName);
// Left and Top, 10 when absent.
void LoadFormPos(const QString& windowName, int& left, int& top);
// Left and Top (10 when absent), Width and Height (the values passed in when
// absent), then fitted into the work area.
void LoadFormBounds(const QString& windowName, int& left, int& top, int& height, int& width);
// Writes Left and Top; a failure to write is ignored.
void SaveFormPos(const QString& windowName, int left, int top);
// Writes Left, Top, Width and Height; throws std::runtime_error when the file
// cannot be written.
void SaveFormBounds(const QString& windowName, int left, int top, int height, int width);

} // namespace kml
