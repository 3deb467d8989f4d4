#include "worksheets/PlannerGrid.h"

#include "components/Connection.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "worksheets/PlannerSlots.h"

#include <algorithm>

namespace kml {
namespace {

QString Position(int position) {
    return QStringLiteral("%1").arg(position, 2, 10, QLatin1Char('0'));
}

// Runs the reads in one read-only snapshot, so that the columns and the
// day's rows agree with each other.
template <typename Read> void InOneSnapshot(Read read) {
    Connection& db = SharedConnection();
    db.exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY;"));
    try {
        read();
        db.exec(QStringLiteral("COMMIT;"));
    } catch (...) {
        db.rollback();
        throw;
    }
}

} // namespace

int PlannerGridData::rowOf(int slot) const {
    const auto it = std::find(daySlots.begin(), daySlots.end(), slot);
    return it == daySlots.end() ? -1 : int(it - daySlots.begin());
}

SlotCell PlannerGridData::cell(int row, int column) const {
    if (row < 0 || size_t(row) >= entries.size() || column < 0 ||
        size_t(column) >= entries[size_t(row)].size())
        return {};
    const PlannerEntry& entry = entries[size_t(row)][size_t(column)];
    return entry.elojegyzes != 0 ? PlannerOccupiedCell(entry.azon, entry.text)
                                 : PlannerFreeCell(daySlots[size_t(row)]);
}

PlannerGridData ReadPlannerGrid(const QDate& day) {
    PlannerGridData grid;
    grid.day = day;
    InOneSnapshot([&] {
        Connection& db = SharedConnection();
        const ResultSet range = db.query(QStringLiteral("SELECT MIN(ora), MAX(ora) FROM ora;"));
        if (range.rowCount() > 0 && !range.isNull(0, 0))
            for (int slot = range.value(0, 0).toInt(); slot <= range.value(0, 1).toInt(); ++slot)
                grid.daySlots.push_back(slot);

        const ResultSet employees = db.query(QStringLiteral(
            "SELECT sorszam, dolgozo, dolgozo_nev FROM dolgozo WHERE torolve = 'N' AND sorszam > 0 "
            "ORDER BY sorszam, dolgozo;"));
        for (int r = 0; r < employees.rowCount(); ++r) {
            const int position = employees.value(r, 0).toInt();
            if (position > MaxPlannerPositions)
                ++grid.hiddenEmployees;
            else if (grid.columns.empty() || grid.columns.back().position != position)
                grid.columns.push_back({position, employees.value(r, 1).toInt(), employees.text(r, 2)});
        }

        Query rows;
        rows.setSql(
            QStringLiteral("SELECT dolgelo.*,CONCAT(LPAD(ora DIV 2,2,'0'),':',IF(ora MOD 2 = 0,'00','30')) "
                           "ora2\nFROM dolgelo\nWHERE datum = :pdatum\nORDER BY datum,ora;"));
        rows.setParam(QStringLiteral("pdatum"), day);
        rows.open();
        grid.entries.resize(grid.daySlots.size());
        std::vector<int> elojegyzes, azon, text;
        for (const PlannerColumn& column : grid.columns) {
            elojegyzes.push_back(rows.fieldIndex(QStringLiteral("elojegyzes") + Position(column.position)));
            azon.push_back(rows.fieldIndex(QStringLiteral("azon") + Position(column.position)));
            text.push_back(rows.fieldIndex(QStringLiteral("szoveg") + Position(column.position)));
        }
        const ResultSet& result = rows.result();
        const int ora = rows.fieldIndex(QStringLiteral("ora"));
        for (int r = 0; r < result.rowCount(); ++r) {
            const int row = grid.rowOf(result.value(r, ora).toInt());
            if (row < 0)
                continue;
            std::vector<PlannerEntry>& entries = grid.entries[size_t(row)];
            entries.clear();
            for (size_t c = 0; c < grid.columns.size(); ++c)
                entries.push_back({result.value(r, elojegyzes[c]).toInt(), result.value(r, azon[c]).toInt(),
                                   result.text(r, text[c])});
        }
    });
    return grid;
}

int PlannerCellValue(int position, int slot) {
    return slot + position * 100;
}

std::optional<PlannerSlot> PickFromGrid(const PlannerGridData& grid, int value, int halfHours) {
    const int position = value / 100;
    const int slot = value % 100;
    const auto column = std::find_if(grid.columns.begin(), grid.columns.end(),
                                     [position](const PlannerColumn& c) { return c.position == position; });
    const int row = grid.rowOf(slot);
    if (column == grid.columns.end() || row < 0)
        return std::nullopt;
    const size_t c = size_t(column - grid.columns.begin());
    if (grid.entries[size_t(row)].size() <= c || grid.entries[size_t(row)][c].elojegyzes != 0)
        return std::nullopt;

    // The free run from the slot, as the grid shows it.
    std::vector<int> daySlots, booked;
    for (size_t r = 0; r < grid.daySlots.size(); ++r) {
        if (grid.entries[r].size() <= c)
            continue; // no row for the slot: not a slot of the day
        daySlots.push_back(grid.daySlots[r]);
        if (grid.entries[r][c].elojegyzes != 0)
            booked.push_back(grid.daySlots[r]);
    }
    const int freeRun = FreeHalfHoursFrom(slot, daySlots, booked);
    PlannerSlot picked;
    picked.employee = column->employee;
    picked.slot = slot;
    picked.hours = HoursOf(std::clamp(halfHours, 1, std::max(freeRun, 1)));
    picked.day = grid.day;
    return picked;
}

int PlannerLongestLength(const PlannerGridData& grid) {
    return std::clamp(int(grid.daySlots.size()), 1, MaxAppointmentHalfHours);
}

} // namespace kml
