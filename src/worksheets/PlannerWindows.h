#pragma once

// The operations of the planner and the appointment editor: the work-sheet
// editor's planner button and the main window's day panel book employees'
// half-hour slots through them.

#include "foundation/RowKey.h"
#include "foundation/WindowOperation.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace kml {

// A free slot picked in the planner.
struct PlannerSlot {
    int employee = 0; // dolgozo key
    int slot = 0;     // slot number: slot / 2 hours, 30 minutes when odd
    double hours = 1; // the length chosen, in hours
    QDate day;
};

// The planner as a picker: the slot when a free slot was clicked, nothing
// when the window was closed with "Mégsem".
inline WindowOperation<std::optional<PlannerSlot>()> PickPlannerSlot{"PickPlannerSlot"};

// What the appointment editor is opened with: -1 (or 0 for device and
// customer) means none; timeText is shown in "Idő" (may be empty).
struct AppointmentRequest {
    int employee = 0;
    int slot = 0;
    int workSheet = -1;
    int device = -1;
    int customer = -1;
    double hours = 1;
    QString timeText;
    QDate day;
};

// An appointment the editor saved: its number, its day and slot time.
struct BookedAppointment {
    qlonglong appointment = 0;
    QDateTime start;
};

// The appointment editor: the new appointment, or nothing when cancelled.
inline WindowOperation<std::optional<BookedAppointment>(const AppointmentRequest& request)> EditAppointment{
    "EditAppointment"};

// The time text of a slot: "hh:mm", hour zero-padded (17 gives "08:30").
QString SlotTimeText(int slot);
// The start of a slot on a day.
QDateTime SlotStart(const QDate& day, int slot);

} // namespace kml
