#pragma once

// The planner's day (Tfrm_Naptar) apart from the window: the slots of the
// working day, one column per employee position and what occupies each slot,
// read from the day grid dolgelo; and turning a click on a free slot into
// the employee, slot, length and day picked.
//
// The columns and the day's slots are read together, in one consistent
// snapshot, every time a day is shown, and each column keeps its employee's
// key: a click books the employee whose name heads the column, even when the
// positions were renumbered in the meantime.

#include "worksheets/PlannerWindows.h"
#include "worksheets/SlotCells.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace kml {

// One column: the live employee at a planner position (1 to 20).
struct PlannerColumn {
    int position = 0;
    int employee = 0; // dolgozo key
    QString name;
};

// What one employee's slot holds on the day.
struct PlannerEntry {
    int elojegyzes = 0; // 0: free
    int azon = 0;
    QString text;
};

struct PlannerGridData {
    QDate day;
    // The rows: every slot from the day's first to its last (table ora).
    std::vector<int> daySlots;
    std::vector<PlannerColumn> columns;
    // entries[row][column]; a row whose slot has no dolgelo row (a slot
    // missing from ora, or a day the calendar does not hold) has none.
    std::vector<std::vector<PlannerEntry>> entries;
    // Live employees whose position is beyond the 20 the planner can show.
    int hiddenEmployees = 0;

    int rowOf(int slot) const; // -1 when the slot is not a row
    // The cell's look: occupied, free (pickable) or, without an entry, empty.
    SlotCell cell(int row, int column) const;
};

// Reads the day: the slots, the columns and the day's rows of dolgelo
// ("SELECT dolgelo.*,... FROM dolgelo WHERE datum = :pdatum ORDER BY datum,ora;").
PlannerGridData ReadPlannerGrid(const QDate& day);

// The value a free slot carries: slot + position * 100 (position 3, slot 20
// gives 320).
int PlannerCellValue(int position, int slot);

// The pick from a clicked value: the employee of that position's column (as
// read with the day), the slot, the day, and the length, limited to the free
// half hours from the slot (to the day's last slot or the employee's next
// appointment). Nothing when the value names no free slot of the grid.
std::optional<PlannerSlot> PickFromGrid(const PlannerGridData& grid, int value, int halfHours);

// The longest length the planner's length box offers: the day's slots.
int PlannerLongestLength(const PlannerGridData& grid);

} // namespace kml
