#pragma once

#include <QString>

namespace kml {

// The last action the user started, as "<window name>.<action name>"
// ("frm_Main.aUj"): every window action records itself before it runs, so
// that an error that escapes it can be logged and reported with it. Empty
// until the first action. User-interface thread only.
void SetLastAction(const QString& name);
QString LastAction();

} // namespace kml
