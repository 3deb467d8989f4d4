#pragma once

// The logged-in user's rights, held in the settings record (TBeall). Five of
// them guard operations; insert, edit and delete are loaded but consulted
// nowhere.

#include <QString>

namespace kml {

class Query;

inline const QString NoRightMessage = QStringLiteral("Nincs jogosultság a művelethez.");

// Guards an operation: true when the right is granted; otherwise shows
// "Nincs jogosultság a művelethez." and gives false, and the caller does
// nothing else.
//
//     if (!RequireRight(Beall().rendszergazda))
//         return;
bool RequireRight(bool right);

// No login required: user "rendszergazda" with every right.
void GrantAllRights();

// The rights and display name from the current row of a felhasznalo query;
// a right holds exactly when its column is "I".
void LoadRights(const Query& user);

} // namespace kml
