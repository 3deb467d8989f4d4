#pragma once

// What every change of a work sheet shares, whoever makes it (the main
// window's status actions, the work-sheet editor, the line editor): the
// sheet's state read fresh from the server, the messages shown when a
// change is refused, and the one way a change is written under the lock.
//
// Several workstations work on the same sheets. A change is decided from
// the state read immediately before it (never from a list row read minutes
// ago) and written only while that state still holds: either by a routine
// that takes the expected old state (sp_statuszlepes, sp_fizetes) or inside
// WriteOpenSheet, which locks the sheet's row and refuses a sheet that has
// been cancelled or locked meanwhile.

#include "foundation/RowKey.h"

#include <QString>
#include <functional>
#include <optional>

namespace kml {

class DbError;

namespace worksheet_text {
inline const QString Cancelled = QStringLiteral("Sztornó munkalap");
inline const QString Closed = QStringLiteral("Ez a munkalap már le lett zárva.");
inline const QString Locked = QStringLiteral("Lezárt munkalap");
inline const QString ChangedMeanwhile = QStringLiteral(
    "A munkalapot közben egy másik munkaállomáson módosították, ezért a művelet nem történt meg.");
inline const QString DeletedMeanwhile =
    QStringLiteral("A munkalapot közben egy másik munkaállomáson törölték.");
inline const QString LineDeletedMeanwhile =
    QStringLiteral("A tételt közben egy másik munkaállomáson törölték.");
inline const QString EmployeeCaption = QStringLiteral("Dolgozó");
} // namespace worksheet_text

// A sheet as the server holds it now.
struct SheetState {
    bool exists = false;
    int status = 0;
    bool cancelled = false;
    bool paid = false;
    QString invoiceNumber;
    double payable = 0;       // ar_fizetendo
    bool statusLocks = false; // the status's keszenvan flag
    int customer = 0;
    int device = 0;
    int type = 0;

    // A quotation (status 0) is never locked.
    bool locked() const { return exists && status != 0 && statusLocks; }
    // Why the sheet may not be changed: "Sztornó munkalap", "Lezárt
    // munkalap", the deleted-meanwhile message; nothing when it may.
    std::optional<QString> refusal() const;
};

// A sheet as the user saw it when choosing an action: its row in the list,
// however long ago that was read. An action decides from it and is carried
// out only while the server still holds the same.
struct SeenSheet {
    qlonglong sheet = 0;
    int status = 0;
    bool cancelled = false;
    bool paid = false;
    QString invoiceNumber;
};

// Reads the sheet's state on the shared connection.
SheetState ReadSheetState(qlonglong sheet);
// The sheet as the server holds it now, as if the user had just seen it.
SeenSheet SeeSheetNow(qlonglong sheet);
// Whether the sheet still holds what the user saw (it exists, with the same
// status, paid mark, cancel mark and invoice number).
bool StillAsSeen(const SheetState& state, const SeenSheet& seen);
// The sheet's state read with its row locked: inside a transaction that then
// writes, nothing can come between this read and the write.
SheetState LockSheetState(qlonglong sheet);

// How a guarded change ended.
enum class SheetWrite {
    Written, // the change is committed
    Refused, // cancelled, locked or deleted meanwhile: the reason was shown, nothing written
    Stale,   // a value being saved was changed meanwhile: said so, nothing written
};

// Runs write in one transaction on the shared connection after locking the
// sheet's row and checking that it may still be changed (sp_mlapnyitott).
// A refusal (by that check or by a routine inside write) rolls everything
// back and shows its message; so does a row being saved that another
// workstation changed meanwhile (StaleRowError). Other errors roll back and
// rise. write must not open windows: the row stays locked while it runs.
SheetWrite WriteOpenSheet(qlonglong sheet, const std::function<void()>& write);

// Shows why a change was not made: a sheet or line deleted or changed
// meanwhile as a warning, a cancelled or locked sheet as an error.
void ShowSheetRefusal(const QString& message);
// Shows the refusal of a sheet in that state (SheetState::refusal) and says
// whether there was one.
bool RefusedToChange(const SheetState& state);

// The message to show for an error a work-sheet routine raised on purpose
// (a cancelled, locked or missing sheet or line); nothing for other errors.
std::optional<QString> SheetRefusalMessage(const DbError& error);

// The name recorded with the changes: the logged-in user's display name,
// "rendszergazda" when there is none.
QString CurrentUserName();

// The employee chooser (the lookup window on "dolgozo", captioned
// "Dolgozó", as a chooser); the planner positions are renumbered afterwards
// whatever the choice ("CALL sp_dolgujrasor();"). The chosen employee, or
// nothing.
RowKey ChooseEmployee();

// Statements on a sheet's employees.
QString LinkEmployeeSql(qlonglong sheet, qlonglong employee);   // "CALL sp_dolgstr(s,e);"
QString RebuildEmployeesSql(qlonglong sheet);                   // "CALL sp_dolgstr(s,-1);"
QString UnlinkEmployeeSql(qlonglong sheet, qlonglong employee); // "DELETE FROM munkalap_dolgozo ..."

} // namespace kml
