#pragma once

#include <QString>

namespace kml {

// Formats a number with a display pattern of the kind users write in the ini
// file ("### ### ##0", "### ### ##0.000", "0.00 Ft"): '0' is a digit always
// shown, '#' a digit shown when significant, '.' marks the decimals (printed
// as the decimal comma), any other character is printed as it stands; a
// literal between integer digit places appears only when a digit stands left
// of it, so 1234 with "### ### ##0" gives "1 234" and 5 gives "5". The value
// is rounded half away from zero to the pattern's decimals. An empty pattern
// gives the shortest text of the number with a decimal comma.
QString FormatNumber(const QString& pattern, double value);

} // namespace kml
