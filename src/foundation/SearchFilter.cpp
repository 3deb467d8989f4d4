#include "foundation/SearchFilter.h"

#include "foundation/TextHelpers.h"

#include <QStringList>

namespace kml {
namespace {

constexpr int kMaxFields = 15;
constexpr int kMaxWords = 6;

// "(field LIKE pattern)" for each field of the list, joined by " OR ".
QString AnyField(const QString& fields, const QString& text) {
    const QString pattern = LikeAnywhere(text);
    QStringList parts;
    for (int n = 1; n <= kMaxFields; ++n) {
        const QString field = Token(QStringLiteral(";"), fields, n);
        if (field.isEmpty())
            break;
        parts << QLatin1Char('(') + field + QLatin1String(" LIKE ") + pattern + QLatin1Char(')');
    }
    return parts.join(QLatin1String(" OR "));
}

QString Wrap(const QString& condition, bool withAnd) {
    return (withAnd ? QLatin1String(" AND (") : QLatin1String("(")) + condition + QLatin1Char(')');
}

} // namespace

QString LikeAnywhere(const QString& text) {
    // In a LIKE pattern a backslash escapes the next character: doubled, it
    // matches a backslash.
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return SqlStr(QLatin1Char('%') + escaped + QLatin1Char('%'));
}

QString LikeFilter(const QString& fields, const QString& text, bool withAnd) {
    if (text.isEmpty())
        return {};
    const QString condition = AnyField(fields, text);
    if (condition.isEmpty())
        return {};
    return Wrap(condition, withAnd);
}

QString WordsFilter(const QString& fields, const QString& text, bool withAnd) {
    QString words = text;
    words.replace(QLatin1Char(','), QLatin1Char(' '));
    words.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (words.trimmed().isEmpty())
        return {};
    QStringList conditions;
    for (int n = 1; n <= kMaxWords; ++n) {
        // An empty word (two blanks in a row) uses up its number.
        const QString word = Token(QStringLiteral(" "), words, n);
        if (word.isEmpty())
            continue;
        const QString condition = AnyField(fields, word);
        if (!condition.isEmpty())
            conditions << QLatin1Char('(') + condition + QLatin1Char(')');
    }
    if (conditions.isEmpty())
        return {};
    return Wrap(conditions.join(QLatin1String(" AND ")), withAnd);
}

} // namespace kml
