#pragma once

// Refusing numbers a row cannot hold before it is written. Every numeric
// column of a table row is checked against what its type can hold (INT,
// TINYINT, SMALLINT, ... signed or unsigned, DECIMAL(p,s), FLOAT/DOUBLE:
// ColumnNumberRange), and a window may narrow a field further (a port
// 1-65535, a percent 0-100). A problem is reported in Hungarian, naming the
// field by the caption the window shows for it, and nothing is written.
//
// The editing-window pattern holds one FieldLimits per window: it asks each
// bound widget's label for the caption and runs check() before posting, so
// every editor gets the column ranges without a line of its own; a window
// adds its narrower limits with setRange().

#include "components/ColumnRange.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <optional>

class QWidget;

namespace kml {

class Table;

namespace limit_text {
// %1 is the field's caption; %2 and %3 the limits.
inline const QString NotANumber = QStringLiteral("%1: a megadott érték nem szám.");
inline const QString NotWhole = QStringLiteral("%1: csak egész szám adható meg.");
inline const QString Between = QStringLiteral("%1: az érték %2 és %3 között lehet.");
inline const QString AtLeast = QStringLiteral("%1: a legkisebb megengedett érték %2.");
inline const QString AtMost = QStringLiteral("%1: a legnagyobb megengedett érték %2.");
inline const QString Decimals = QStringLiteral("%1: legfeljebb %2 tizedesjegy adható meg.");
} // namespace limit_text

// A value as a number-bound field stores what the user typed into it: null
// for empty text; the number read by Hungarian rules (StrFloat: "." and ","
// both mark decimals, blanks and letters dropped), as a whole number when it
// is one and wholeNumber is set; text that is not a number stays text, so
// that the check refuses it by name instead of storing 0.
QVariant NumberFromText(const QString& text, bool wholeNumber);

struct FieldProblem {
    QString field;   // the column
    QString message; // the Hungarian message, naming the field
};

class FieldLimits final {
public:
    using CaptionSource = std::function<QString()>;

    // Where a message finds the caption of a field: the label the window
    // shows beside its widget. A caption given to setRange comes first; the
    // column name is the last resort.
    void setCaptionSource(const QString& field, CaptionSource source);
    // Limits narrower than the column's, both ends included.
    void setRange(const QString& field, double min, double max, const QString& caption = {});

    // The first value, in column order, that the row must not be written
    // with: not a number, not a whole number where one is needed, too many
    // decimals, or out of its range. Only values set since the row was read
    // (every value set, for a new row) are checked: what is stored already
    // was not typed here. Empty when the row may be written.
    std::optional<FieldProblem> firstProblem(const Table& row) const;
    // Shows the first problem's message (ShowError) and says whether the row
    // may be written.
    bool check(const Table& row, QWidget* owner = nullptr) const;

    QString caption(const QString& field) const;

private:
    struct Limit {
        double min;
        double max;
        QString caption;
    };
    std::map<QString, Limit> m_ranges;                 // by lower-cased field
    std::map<QString, CaptionSource> m_captionSources; // by lower-cased field
};

} // namespace kml
