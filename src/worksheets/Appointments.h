#pragma once

// Booking appointments, apart from the windows: what the appointment editor
// (Tfrm_Elojegyzes) shows and writes, the customer and device it may choose,
// and how a booking that another workstation beat is told apart from a fault.
//
//     AppointmentDraft draft = NewAppointmentDraft(request); // reads the texts and the free length
//     if (draft.longest == 0) ...                            // the slot is taken already
//     ... the user edits draft.text / draft.halfHours, chooses a customer ...
//     const Booking booked = BookAppointment(draft);
//     if (booked.taken) ShowWarning(AppointmentTakenMessage);
//
// Every statement runs on the shared connection; server errors other than a
// taken slot rise as DbError.

#include "worksheets/PlannerSlots.h"
#include "worksheets/PlannerWindows.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace kml {

inline const QString AppointmentTakenMessage =
    QStringLiteral("Az időpont már foglalt: a dolgozónak ebben az időben már van előjegyzése.");
// The longest text an appointment's "Szöveg" takes.
inline constexpr int AppointmentTextLength = 50;

// The new appointment as the editor holds it before OK.
struct AppointmentDraft {
    int employee = 0;
    QString employeeName;
    int slot = 0;
    QString timeText; // "Idő": as the caller gave it (may be empty)
    QDate day;
    int workSheet = -1; // -1: none
    int customer = 0;   // 0: none
    int device = 0;     // 0: none
    QString workSheetText;
    QString customerText;
    QString deviceText;
    QString text;      // "Szöveg", at most AppointmentTextLength characters
    int halfHours = 2; // "Hossz (óra)" in half hours
    // The longest the appointment may be from its slot: up to the day's last
    // slot or the employee's next booked slot, at most 24 hours; 0 when the
    // slot itself is taken or not a slot of the day.
    int longest = 0;
};

// The draft for a request: with a work sheet its customer and device (and
// its complaint as the text, cut to 50 characters) replace the request's;
// -1 (or 0) for customer and device means none; the texts are looked up; the
// length is the request's, limited to the free length from the slot.
AppointmentDraft NewAppointmentDraft(const AppointmentRequest& request);

// The employee's free half hours from slot on day (see FreeHalfHoursFrom).
int FreeHalfHours(int employee, const QDate& day, int slot);

// The texts of earlier appointments for the "Szöveg" pick list, in order.
QStringList EarlierAppointmentTexts();

// The customer button: the customer list as a chooser ("Ügyfél választás");
// a choice sets the customer and its name, and forgets a device of another
// customer. False when the user closed the list without a choice.
bool ChooseAppointmentCustomer(AppointmentDraft& draft);
// The device button: without a customer the customer chooser first (closing
// it stops); then the customer's devices as a chooser: a device, or none
// after "Tovább". False when the user stopped.
bool ChooseAppointmentDevice(AppointmentDraft& draft);

// "CALL sp_ujelojegyzes(employee,'yyyy-mm-dd',slot,halfHours,sheet,customer,device,'text');"
QString NewAppointmentSql(const AppointmentDraft& draft);

// The question asked before booking a slot whose start has passed (earlier
// today, or an earlier day): "" when the slot is still ahead of now.
QString PassedSlotQuestion(const QDate& day, int slot, const QDateTime& now);

class DbError;

// Whether a failed booking failed because another booking holds one of its
// slots (sp_elojegyzesfoglal's check, or the unique key behind it).
bool IsAppointmentTaken(const DbError& error);

struct Booking {
    int appointment = -1; // the number of the appointment's last row
    bool taken = false;   // another booking holds one of its slots: nothing was written
};
// Books the draft through sp_ujelojegyzes; its number is the one the
// procedure returns on this connection.
Booking BookAppointment(const AppointmentDraft& draft);

// "CALL sp_elojegyzestorol(azon,employee);"
QString DeleteAppointmentSql(int azon, int employee);

} // namespace kml
