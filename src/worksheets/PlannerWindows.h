#pragma once

// The operations of the appointment planner that the work-sheet editor calls
// (the planner's windows install them).

#include "foundation/WindowOperation.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace kml {

// A free half-hour slot picked in the planner: the employee (dolgozo key),
// the slot number (slot n starts at n div 2 hours, 30 minutes for odd n),
// the length in hours (a multiple of 0.5) and the day.
struct PlannerSlot {
    int employee = -1;
    int slot = -1;
    double hours = 1;
    QDate day;
};

// The planner as a picker: true and the slot when a free slot was clicked,
// false when closed with "Mégsem".
inline WindowOperation<bool(PlannerSlot& slot)> PickPlannerSlot{"PickPlannerSlot"};

// The appointment editor for a new appointment of that length for the
// employee, day and slot, linked to the work sheet, device and customer
// given (-1 or 0: none), showing the time text in "Idő". The new
// appointment's number and, through start, its start (the day at the
// slot's time); -1 when cancelled.
inline WindowOperation<int(int employee, int slot, int sheet, int device, int customer, double hours,
                           const QString& timeText, const QDate& day, QDateTime& start)>
    EditAppointment{"EditAppointment"};

// The time text of a slot: "hh:mm", hour zero-padded (17 gives "08:30").
QString SlotTimeText(int slot);
// The start of a slot on a day.
QDateTime SlotStart(const QDate& day, int slot);

} // namespace kml
