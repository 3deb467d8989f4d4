#pragma once

// The logged-in user's rights, held in the settings record (TBeall). Five of
// them guard operations (RequireRight, foundation/Settings.h); insert, edit
// and delete are loaded but consulted nowhere.

#include "foundation/Settings.h"

#include <QString>

namespace kml {

class Query;

// No login required: user "rendszergazda" with every right.
void GrantAllRights();

// The rights and display name from the current row of a felhasznalo query;
// a right holds exactly when its column is "I".
void LoadRights(const Query& user);

} // namespace kml
