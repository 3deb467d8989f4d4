#pragma once

#include "foundation/Settings.h"

#include <QColor>
#include <QString>

class QAbstractItemView;
class QComboBox;
class QWidget;

namespace kml {

// Light yellow: marks the sort column (and the first column) of grids.
inline const QColor kHighlightColor{0xFF, 0xFF, 0xB9};

// Gives a window (and every child widget that inherits its font) the font
// size setting. A widget with a font of its own (a bold heading) keeps its
// face and takes only the size.
void ApplyFontSize(QWidget* window);

// Paints the given column of the grid in the highlight colour and every
// other column in the grid's own background. The grid must show a
// DatasetModel (directly or through proxy models); otherwise nothing happens.
void HighlightSortColumn(QAbstractItemView* grid, int column);

// The character to put into a name-like field for a typed key: while the
// field's text is empty, a..z become A..Z (other characters, accented
// letters included, stay). The text is that of a line edit or a combo box;
// any other control counts as empty.
QChar UpcaseFirstKey(const QWidget* control, QChar key);

// Fills the combo box from the first column of a statement's rows (NULL as
// ""), after the optional first item. The items are replaced; an editable
// combo box keeps the text it shows, a pick-only one with items selects the
// first. Reads through its own result, so fillers may run inside one another.
void FillCombo(QComboBox* combo, const QString& sql, const QString& firstItem = {});

// The caption a window shows for a field: the text of the label whose buddy
// it is, or a check box's own text; without the shortcut mark "&" and a
// trailing colon. Empty when there is none.
QString FieldCaption(const QWidget* field);

// A window's position (and size) kept in the ini file under the window's
// name (LoadFormPos / LoadFormBounds / SaveFormPos / SaveFormBounds).
//
// The values are those of the window's client area (QWidget::geometry), not
// of its frame, both when they are restored and when they are saved: the
// frame is the window manager's, its size is known only after the window
// has been mapped, and on X11 a position set while a window is being shown
// places the client area. So a window closed and opened again stands where
// it stood. Restoring works before and while the window is shown (the
// patterns restore in showEvent); saving works while it is visible and after
// it was hidden. A window without a remembered place opens centred over
// the window it belongs to (CentreOnOwner).
void LoadWindowPos(QWidget* window, const QString& windowName);
void LoadWindowBounds(QWidget* window, const QString& windowName);
void SaveWindowPos(const QWidget* window, const QString& windowName);
void SaveWindowBounds(const QWidget* window, const QString& windowName);
// Moves a window (at its current size) centred over the window it belongs to:
// its parent's window, else the active window, else the work area; kept
// inside the work area.
void CentreOnOwner(QWidget* window);

} // namespace kml
