#include "foundation/Conversions.h"

#include "foundation/TextHelpers.h"

#include <QDate>
#include <QDateTime>
#include <cmath>
#include <limits>

namespace kml {
namespace {

bool IsNull(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

// Digits with at most one decimal mark and an optional leading "-"; at least
// one digit. Returns false for anything else.
bool ParseDecimal(const QString& text, QChar mark, double& result) {
    QString normal;
    normal.reserve(text.size());
    bool digit = false;
    bool decimals = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digit = true;
            normal += c;
        } else if (c == QLatin1Char('-') && i == 0) {
            normal += c;
        } else if (c == mark && !decimals) {
            decimals = true;
            normal += QLatin1Char('.');
        } else {
            return false;
        }
    }
    if (!digit)
        return false;
    bool ok = false;
    result = normal.toDouble(&ok); // QString::toDouble always reads the C locale
    return ok && std::isfinite(result);
}

bool ParseInt(const QString& text, int& result) {
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    result = int(v);
    return true;
}

} // namespace

QString VarStr(const QVariant& value, const QString& defaultText) {
    if (IsNull(value))
        return defaultText;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatText(QStringLiteral(","), value.toDouble());
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy.MM.dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
    default:
        return value.toString();
    }
}

int VarInt(const QVariant& value, int defaultValue) {
    if (IsNull(value))
        return defaultValue;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::Double:
    case QMetaType::Float:
        return int(std::llround(value.toDouble()));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        return int(value.toLongLong());
    default:
        break;
    }
    const QString text = value.toString();
    int result = 0;
    if (!ParseInt(text.trimmed(), result))
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return result;
}

double VarFloat(const QVariant& value, double defaultValue) {
    if (IsNull(value))
        return defaultValue;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        return value.toDouble();
    default:
        break;
    }
    const QString text = value.toString();
    const QString trimmed = text.trimmed();
    double result = 0;
    if (!ParseDecimal(trimmed, QLatin1Char(','), result) && !ParseDecimal(trimmed, QLatin1Char('.'), result))
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return result;
}

QString VarIntStr(const QVariant& value) {
    return QString::number(VarInt(value, 0));
}

double StrFloat(const QString& text, double defaultValue) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return defaultValue;
    QString number = KeepNumberChars(trimmed);
    number.replace(QLatin1Char('.'), QLatin1Char(','));
    double result = 0;
    return ParseDecimal(number, QLatin1Char(','), result) ? result : defaultValue;
}

int StrInt(const QString& text) {
    int result = 0;
    return ParseInt(NumberChars(text).trimmed(), result) ? result : 0;
}

double SafeDiv(double divisor, double dividend) {
    return divisor == 0 ? 0.0 : dividend / divisor;
}

QString FloatText(const QString& mark, double x) {
    QString text = QString::number(x, 'g', 15);
    if (mark != QLatin1String("."))
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString PadInt(qlonglong n, int width, QChar fill) {
    return QString::number(n).rightJustified(width, fill);
}

} // namespace kml
