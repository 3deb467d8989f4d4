#pragma once

// What one cell of a slots grid shows, apart from the widget that paints it
// (worksheets/gui/SlotGrid.h): the planner's cells (one employee's half hour)
// and the main window's day panel's cells (one column of one employee's half
// hour) are described here and tested without widgets.

#include <QColor>
#include <QString>
#include <vector>

namespace kml {

class Query;

// A text of a cell: drawn at (x, y) from the cell's top-left corner, or
// centred and word-wrapped in the cell.
struct SlotText {
    QString text;
    int pointSize = 0; // 0: the grid's font size
    bool bold = false;
    int x = 2;
    int y = 2;
    bool centred = false;
};

struct SlotCell {
    std::vector<SlotText> texts;
    QColor background;    // invalid: nothing painted (the grid's own background shows)
    QColor foreground;    // invalid: the window's text colour
    bool topRule = false; // a line along the cell's top edge
    // A free planner slot: lighter under the mouse, darker and its text
    // shifted while pressed; a click on it picks it.
    bool pickable = false;
    int inset = 0; // pixels left free above and below inside the row
};

// The day panel's slots: the row of the dataset (QryNaptar: ora, ora2, azon,
// szoveg, munkalapstr, ugyfelstr, keszulekstr) as its three cells, time,
// text with the work sheet under it, and customer with the device under it.
// The selected row is white on #0080C0; an appointment (azon not 0) has its
// colour by azon mod 5, a free slot none; a slot with a text has a line
// along its top.
std::vector<SlotCell> DayPanelCells(const Query& slotRows, int row, bool selected);
inline const QColor DayPanelSelection{0x00, 0x80, 0xC0};

// The planner's looks: the time at the left of a row; an occupied slot (its
// text, centred, 9 points, in its appointment's colour, the full row high);
// a free slot (its time, centred, grey, 4 pixels in from the row's edges,
// pickable).
SlotCell PlannerTimeCell(int slot);
SlotCell PlannerOccupiedCell(int azon, const QString& text);
SlotCell PlannerFreeCell(int slot);
inline const QColor PlannerFree{233, 233, 233};
inline const QColor PlannerFreeHover{201, 201, 201};
inline const QColor PlannerFreePressed{192, 192, 192};

} // namespace kml
