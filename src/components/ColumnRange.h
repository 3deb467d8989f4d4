#pragma once

#include "components/ResultSet.h"

#include <optional>

namespace kml {

// The numbers a column can hold, from the type the server declared for it.
struct NumberRange {
    double min = 0;
    double max = 0;
    // Digits kept after the decimal mark: 0 for whole-number columns, s for
    // DECIMAL(p,s), -1 for floating-point columns (any).
    int decimals = 0;
};

// TINYINT, SMALLINT, MEDIUMINT, INT and BIGINT, signed or unsigned;
// DECIMAL(p,s), signed or unsigned; FLOAT and DOUBLE. Empty for a column
// that holds no numbers (and for YEAR and BIT). BIGINT's upper ends are
// given as the nearest double.
std::optional<NumberRange> ColumnNumberRange(const ColumnInfo& column);

} // namespace kml
