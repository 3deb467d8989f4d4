#pragma once

// Checking a login against table felhasznalo and changing a password. The
// window (Tfrm_Login) only gathers the typed texts and calls these.

#include <QString>

namespace kml {

inline const QString LoginCaption = QStringLiteral("Belépés azonosítás");

// The user name and the MD5 of the password must give exactly (letter case
// included) the stored CONCAT(felhasznalo, jelszomd5). On success the rights
// and the display name are loaded into the settings record and the result is
// true; otherwise "Érvénytelen felhasználó, vagy jelszó" is shown and the
// result is false. A server error is thrown.
bool CheckLogin(const QString& user, const QString& password);

// "Új jelszó": checks the user with the current password, asks the new one
// twice and stores its MD5 when both entries agree. True when the password
// was changed.
bool ChangePassword(const QString& user, const QString& password);

} // namespace kml
