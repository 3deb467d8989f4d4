#pragma once

#include "components/Connection.h"
#include "components/ResultSet.h"

#include <QString>
#include <functional>

namespace kml {

// Units of work that survive a conflict with another workstation.
//
// On a database cluster every node takes writes; two workstations that change
// the same rows on different nodes at the same time are not made to wait for
// each other as on one server: the one whose transaction is certified second
// is refused at COMMIT as a deadlock (1213). On one server a deadlock (1213)
// or a lock wait that ran out (1205) refuses a transaction the same way.
// Nothing of a refused transaction stays, so the whole unit of work may run
// again, from its first statement, and then decides from what the winner
// wrote (a refusal that the user would have got on one server comes the
// same way). A single statement is never sent again on its own.
//
// After ConflictAttempts refusals in a row the unit gives up: the error is
// thrown with ConflictGaveUpMark at the front of its message, nothing of the
// unit is stored, and the application error handler tells the user so.

inline constexpr int ConflictAttempts = 6;
inline const QString ConflictGaveUpMark = QStringLiteral("Write conflict, given up after repeated attempts:");

// Runs unit as one transaction: START TRANSACTION, unit, then COMMIT when
// unit returns true and ROLLBACK when it returns false; the result is
// unit's. Refused by a conflict (in any of its statements or at COMMIT), the
// transaction is rolled back and unit runs again from the start. Any other
// error rolls back and is thrown; a lost session among them, as everywhere:
// the user is told, and the next statement opens a new session (on a
// cluster, on the next node). unit must do nothing but run statements on db
// (no dialog, no state kept outside its own locals) and must not commit.
bool RunTransaction(Connection& db, const std::function<bool()>& unit);

// Runs a statement that is a whole unit of work by itself: a CALL of a
// routine that keeps its work in one transaction of its own, or one
// autocommitted statement. Refused by a conflict it runs again as a whole.
// Inside an open transaction it is part of a larger unit and runs once (the
// larger unit's RunTransaction runs it again).
void ExecUnit(Connection& db, const QString& sql);
ResultSet QueryUnit(Connection& db, const QString& sql);

// Conflicts retried by this process so far (the benchmarks report them):
// all of them, and the deadlocks (1213) among them.
quint64 RetriedConflicts();
quint64 RetriedDeadlocks();

} // namespace kml
