#include "foundation/FieldLimits.h"

#include "components/Table.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kml {
namespace {

QString NumberText(double x) {
    if (std::abs(x) < 1e15 && x == std::trunc(x))
        return QString::number(qlonglong(x));
    return FloatText(QStringLiteral(","), x);
}

// The number a value holds; NaN when it holds none. Text is read as a
// number typed into a field is.
double NumberOf(const QVariant& value) {
    constexpr double None = std::numeric_limits<double>::quiet_NaN();
    if (value.typeId() == QMetaType::QString)
        return StrFloat(value.toString(), None);
    try {
        return VarFloat(value);
    } catch (const ConversionError&) {
        return None;
    }
}

bool HasMoreDecimals(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    // Relative tolerance: 12.34 * 100 is not exactly 1234 in binary.
    return std::abs(scaled - std::round(scaled)) > 1e-9 * std::max(1.0, std::abs(scaled));
}

QString RangeMessage(const QString& caption, double min, double max) {
    const bool lowerKnown = min > -std::numeric_limits<double>::max();
    const bool upperKnown = max < std::numeric_limits<double>::max();
    if (lowerKnown && upperKnown)
        return limit_text::Between.arg(caption, NumberText(min), NumberText(max));
    if (lowerKnown)
        return limit_text::AtLeast.arg(caption, NumberText(min));
    return limit_text::AtMost.arg(caption, NumberText(max));
}

} // namespace

QVariant NumberFromText(const QString& text, bool wholeNumber) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const double x = StrFloat(trimmed, std::numeric_limits<double>::quiet_NaN());
    if (!std::isfinite(x))
        return trimmed;
    if (wholeNumber && x == std::trunc(x) && std::abs(x) < 9e15)
        return qlonglong(x);
    return x;
}

void FieldLimits::setCaptionSource(const QString& field, CaptionSource source) {
    m_captionSources[field.toLower()] = std::move(source);
}

void FieldLimits::setRange(const QString& field, double min, double max, const QString& caption) {
    m_ranges[field.toLower()] = Limit{min, max, caption};
}

QString FieldLimits::caption(const QString& field) const {
    const QString key = field.toLower();
    if (const auto it = m_ranges.find(key); it != m_ranges.end() && !it->second.caption.isEmpty())
        return it->second.caption;
    if (const auto it = m_captionSources.find(key); it != m_captionSources.end() && it->second) {
        const QString shown = it->second();
        if (!shown.isEmpty())
            return shown;
    }
    return field;
}

std::optional<FieldProblem> FieldLimits::firstProblem(const Table& row) const {
    for (const ColumnInfo& column : row.columns()) {
        const std::optional<NumberRange> range = ColumnNumberRange(column);
        if (!range || !row.isModified(column.name))
            continue;
        const QVariant value = row.value(column.name);
        if (!value.isValid() || value.isNull())
            continue;
        auto problem = [&](const QString& message) { return FieldProblem{column.name, message}; };
        const QString name = caption(column.name);
        const double x = NumberOf(value);
        if (!std::isfinite(x))
            return problem(limit_text::NotANumber.arg(name));
        if (range->decimals == 0 && x != std::trunc(x))
            return problem(limit_text::NotWhole.arg(name));
        double min = range->min;
        double max = range->max;
        if (const auto it = m_ranges.find(column.name.toLower()); it != m_ranges.end()) {
            min = std::max(min, it->second.min);
            max = std::min(max, it->second.max);
        }
        if (x < min || x > max)
            return problem(RangeMessage(name, min, max));
        if (range->decimals > 0 && HasMoreDecimals(x, range->decimals))
            return problem(limit_text::Decimals.arg(name, QString::number(range->decimals)));
    }
    return std::nullopt;
}

bool FieldLimits::check(const Table& row, QWidget* owner) const {
    const std::optional<FieldProblem> problem = firstProblem(row);
    if (!problem)
        return true;
    ShowError(problem->message, owner);
    return false;
}

} // namespace kml
