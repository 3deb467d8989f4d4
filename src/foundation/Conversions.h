#pragma once

#include <QString>
#include <QVariant>
#include <stdexcept>

namespace kml {

// A value that cannot be converted to the type asked for. The text follows the
// wording the application error handler recognises ("... is not a valid ...").
class ConversionError final : public std::runtime_error {
public:
    explicit ConversionError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Field values (a null or invalid QVariant is a database NULL) to text and
// numbers. Floating-point values print with the decimal comma, dates as
// yyyy.MM.dd, date-times as yyyy.MM.dd HH:mm:ss, as the program shows them.
QString VarStr(const QVariant& value, const QString& defaultText = {});
// Throws ConversionError for a text that is not a whole number.
int VarInt(const QVariant& value, int defaultValue = 0);
// Throws ConversionError for a text that is not a number ("." or "," marks
// the decimals).
double VarFloat(const QVariant& value, double defaultValue = 0);
// The integer value as decimal text, "0" for NULL: keys put into SQL text.
QString VarIntStr(const QVariant& value);

template <typename T> T VarIf(bool flag, const T& a, const T& b) {
    return flag ? a : b;
}
inline QString VarIf(bool flag, const QString& a, const QString& b) {
    return flag ? a : b;
}

// A number as a user types it, whatever decimal mark and clutter it holds
// ("12,5 Ft", "12.5", "1 234"): blanks, letters and signs other than a
// leading "-" are dropped, "." and "," both mark the decimals. The text is
// read by Hungarian rules whatever the machine's locale, so a thousands mark
// together with a decimal mark ("1.234,5") is not a number. Empty text or
// not a number: the default.
double StrFloat(const QString& text, double defaultValue = 0);
// A whole number as a user types it: NumberChars, then parsed; 0 when empty,
// not a whole number (a decimal mark included) or out of range.
int StrInt(const QString& text);

// dividend / divisor, 0 when the divisor is 0 (note the order).
double SafeDiv(double divisor, double dividend);

template <typename T> T Clamp(T value, T low, T high) {
    if (value < low)
        value = low;
    if (value > high)
        value = high;
    return value;
}

// The shortest text of x (up to fifteen significant digits), with "." as
// decimal mark when mark is "." and "," otherwise. FloatText(".", x) is how
// numbers are written into SQL.
QString FloatText(const QString& mark, double x);
// n in decimal, fill characters put in front up to width (never cut).
QString PadInt(qlonglong n, int width, QChar fill = QLatin1Char('0'));

} // namespace kml
