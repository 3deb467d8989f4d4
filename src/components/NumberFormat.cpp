#include "components/NumberFormat.h"

#include <cmath>

namespace kml {

QString FormatNumber(const QString& pattern, double value) {
    if (pattern.isEmpty()) {
        QString text = QString::number(value, 'g', 15);
        text.replace(QLatin1Char('.'), QLatin1Char(','));
        return text;
    }
    // Split the pattern: prefix literals, integer section, decimal section, suffix.
    qsizetype firstPlace = -1, lastPlace = -1, point = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('#') || c == QLatin1Char('0')) {
            if (firstPlace < 0)
                firstPlace = i;
            lastPlace = i;
        } else if (c == QLatin1Char('.') && point < 0 && firstPlace >= 0) {
            point = i;
        }
    }
    if (firstPlace < 0)
        return pattern;
    if (point > lastPlace)
        point = -1;
    const qsizetype intEnd = point >= 0 ? point : lastPlace + 1;
    const QString prefix = pattern.left(firstPlace);
    const QString intPattern = pattern.mid(firstPlace, intEnd - firstPlace);
    const QString decPattern = point >= 0 ? pattern.mid(point + 1, lastPlace - point) : QString();
    const QString suffix = pattern.mid(lastPlace + 1);

    int decimals = 0, minDecimals = 0;
    for (qsizetype i = 0; i < decPattern.size(); ++i) {
        if (decPattern[i] == QLatin1Char('0')) {
            ++decimals;
            minDecimals = decimals;
        } else if (decPattern[i] == QLatin1Char('#')) {
            ++decimals;
        }
    }
    const bool negative = value < 0;
    const double scaled = std::round(std::fabs(value) * std::pow(10.0, decimals));
    QString digits = QString::number(scaled, 'f', 0);
    while (digits.size() <= decimals)
        digits.prepend(QLatin1Char('0'));
    QString intDigits = digits.left(digits.size() - decimals);
    QString decDigits = digits.right(decimals);
    while (decDigits.size() > minDecimals && decDigits.endsWith(QLatin1Char('0')))
        decDigits.chop(1);
    if (intDigits == QLatin1String("0") && !intPattern.contains(QLatin1Char('0')))
        intDigits.clear();

    // Fill the integer places from the right.
    QString intText;
    qsizetype d = intDigits.size() - 1;
    for (qsizetype i = intPattern.size() - 1; i >= 0; --i) {
        const QChar c = intPattern[i];
        if (c == QLatin1Char('#') || c == QLatin1Char('0')) {
            if (d >= 0) {
                intText.prepend(intDigits[d--]);
            } else if (c == QLatin1Char('0')) {
                intText.prepend(QLatin1Char('0'));
            }
        } else {
            intText.prepend(c);
        }
    }
    // Digits beyond the pattern's places go in front.
    if (d >= 0)
        intText.prepend(intDigits.left(d + 1));
    // Drop literals left of the leftmost digit.
    qsizetype start = 0;
    while (start < intText.size() && !intText[start].isDigit())
        ++start;
    intText = intText.mid(start);

    QString result = prefix;
    if (negative && scaled != 0)
        result += QLatin1Char('-');
    result += intText;
    if (!decDigits.isEmpty()) {
        if (intText.isEmpty())
            result += QLatin1Char('0');
        result += QLatin1Char(',') + decDigits;
    }
    return result + suffix;
}

} // namespace kml
