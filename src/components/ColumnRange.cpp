#include "components/ColumnRange.h"

#include <cfloat>
#include <cmath>
#include <mysql.h>

namespace kml {
namespace {

NumberRange WholeNumbers(int bits, bool isUnsigned) {
    const double span = std::ldexp(1.0, bits);
    if (isUnsigned)
        return {0, span - 1, 0};
    return {-span / 2, span / 2 - 1, 0};
}

} // namespace

std::optional<NumberRange> ColumnNumberRange(const ColumnInfo& column) {
    switch (column.serverType) {
    case MYSQL_TYPE_TINY:
        return WholeNumbers(8, column.isUnsigned);
    case MYSQL_TYPE_SHORT:
        return WholeNumbers(16, column.isUnsigned);
    case MYSQL_TYPE_INT24:
        return WholeNumbers(24, column.isUnsigned);
    case MYSQL_TYPE_LONG:
        return WholeNumbers(32, column.isUnsigned);
    case MYSQL_TYPE_LONGLONG:
        return WholeNumbers(64, column.isUnsigned);
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL: {
        // The display width counts the digits, the decimal point when there
        // are decimals, and the sign of a signed column.
        const int scale = int(column.decimals);
        const int precision = int(column.size) - (scale > 0 ? 1 : 0) - (column.isUnsigned ? 0 : 1);
        if (precision <= 0)
            return std::nullopt;
        const double max = std::pow(10.0, precision - scale) - std::pow(10.0, -scale);
        return NumberRange{column.isUnsigned ? 0 : -max, max, scale};
    }
    case MYSQL_TYPE_FLOAT:
        return NumberRange{column.isUnsigned ? 0 : -double(FLT_MAX), double(FLT_MAX), -1};
    case MYSQL_TYPE_DOUBLE:
        return NumberRange{column.isUnsigned ? 0 : -DBL_MAX, DBL_MAX, -1};
    default:
        return std::nullopt;
    }
}

} // namespace kml
