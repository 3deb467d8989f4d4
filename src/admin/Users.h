#pragma once

// The program's users (table felhasznalo): login code, full name, password
// MD5 and the five rights the users window maintains. The login (shell)
// checks a password as felhasznalo + MD5(password) computed by the server,
// so passwords set here are hashed the same way.

#include "foundation/WindowOperation.h"

#include <QString>
#include <array>
#include <optional>

namespace kml {

class Connection;

// The users window "Felhasználók adatai" (Tfrm_Felhasznalo), modal.
inline WindowOperation<void()> OpenUserList{"OpenUserList"};

// The rights flags of felhasznalo the window edits, in the editor's order.
inline const std::array<const char*, 5> UserRightColumns = {"rendszergazda", "torzsszerkeszt", "nyomtathat",
                                                            "nyeresegnezhet", "excelbe"};

struct UserRecord {
    QString code; // felhasznalo, the login code
    QString name; // felhasznalo_nev
    // The five flags of UserRightColumns; a flag is set only for 'I'.
    std::array<bool, 5> rights{};
    bool administrator() const { return rights[0]; }
};

// The list's statement, ordered by login code.
inline const QString UserListSql = QStringLiteral(
    "SELECT felhasznalo, felhasznalo_nev, rendszergazda, torzsszerkeszt FROM felhasznalo\nWHERE 1=1\n"
    "ORDER BY felhasznalo");

// A user as stored; nothing when the code is not in the table.
std::optional<UserRecord> ReadUser(Connection& connection, const QString& code);

// A fresh initial password for a new or reset account: ten letters and
// digits, no look-alikes (0/O, 1/l/I), from the system's random source.
QString RandomInitialPassword();

// Messages of the users window.
inline const QString IncompleteUserMessage = QStringLiteral("Hiányos adat megadás");
inline const QString LastAdministratorMessage =
    QStringLiteral("Legalább egy rendszergazdának maradnia kell, ezért ez a változtatás nem menthető.");
inline const QString UserChangedMessage =
    QStringLiteral("A felhasználót közben egy másik munkahely törölte vagy átnevezte.");

// Stores a user and returns "" when stored, else the message to show (the
// editor then stays open): an empty login code or one that another user
// already has (the server's comparison: letter case and trailing blanks do
// not count) gives IncompleteUserMessage; a change that would leave no
// administrator gives LastAdministratorMessage; an original row that is
// gone gives UserChangedMessage. original: the code of the row as read,
// empty for a new user. password: a new password to store (its MD5), or
// nothing to keep the stored one. One transaction; the administrator count
// is read locked, so two workstations cannot both remove the last one.
QString SaveUser(Connection& connection, const QString& original, const UserRecord& user,
                 const std::optional<QString>& password);

// Deletes a user and returns "", or LastAdministratorMessage when it is the
// last administrator.
QString DeleteUser(Connection& connection, const QString& code);

} // namespace kml
