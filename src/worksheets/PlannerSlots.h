#pragma once

// Half-hour slots and appointment lengths: the arithmetic the planner, the
// appointment editor and the main window's day panel share.
//
// Slot n is the half hour that begins at n / 2 hours, 30 minutes when n is
// odd (slot 16 = 08:00, slot 17 = 08:30). The slots of the working day are
// the rows of table ora. A length counts in half hours and is shown in hours
// ("Hossz (óra)": 0.5, 1, 1.5, ...).

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <vector>

namespace kml {

// The planner shows at most this many employees (dolgelo's positions 01-20).
inline constexpr int MaxPlannerPositions = 20;
// The appointment editor's longest appointment: 24 hours.
inline constexpr int MaxAppointmentHalfHours = 48;
// The days the date boxes offer: those the shop's calendar table holds.
inline const QDate FirstPlannerDay{2000, 1, 1};
inline const QDate LastPlannerDay{2099, 12, 31};

// "hh:mm": 17 -> "08:30", 0 -> "00:00", 47 -> "23:30".
QString SlotTimeText(int slot);
// The slot's start on the day (hour slot / 2, minute 30 for odd slots).
QDateTime SlotStart(const QDate& day, int slot);

// A length in hours as whole half hours, rounded (1.5 -> 3, 0.74 -> 1).
int HalfHoursOf(double hours);
double HoursOf(int halfHours);
// The length as the length box shows it: hours with the Hungarian decimal
// comma (3 -> "1,5", 2 -> "1", 1 -> "0,5").
QString LengthText(int halfHours);

// The length boxes' buttons: minus lowers by half an hour while above half an
// hour; plus raises it while below longest. Both stay put at their end.
int ShorterLength(int halfHours);
int LongerLength(int halfHours, int longest);

// How many half hours an appointment from slot may last within the day's
// slots (ascending, as table ora lists them) and the employee's booked slots
// of that day: up to the first slot that is missing from the day or booked,
// at most MaxAppointmentHalfHours. 0 when slot itself is not a slot of the
// day or is booked.
int FreeHalfHoursFrom(int slot, const std::vector<int>& daySlots, const std::vector<int>& bookedSlots);

// The working date in words, with Hungarian names whatever the system's
// locale: "2024 március 5. kedd".
QString DayHeading(const QDate& day);

// The colour of an appointment's slots, by its group number (azon) mod 5: the
// planner's palette (the fifth a light orange) and the day panel's (the fifth
// a light grey).
QColor PlannerAppointmentColour(int azon);
QColor DayPanelAppointmentColour(int azon);

} // namespace kml
