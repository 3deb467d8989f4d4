#include "foundation/SearchFilter.h"

#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

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

namespace {

// The byte that separates the fields in a search table's text: equal to no
// other character under either collation, so a text without it and without
// wildcards can only be found inside one field.
constexpr QChar kFieldSeparator(0x02);

// "the piece is in the column": a byte search of its weights, as the search
// table holds the values folded by the column's collation.
QString PieceInColumn(const QString& column, const char* collation, const QString& piece) {
    return QStringLiteral("INSTR(k.") + column + QStringLiteral(", WEIGHT_STRING(_latin2") + SqlStr(piece) +
           QStringLiteral(" COLLATE ") + QLatin1String(collation) + QStringLiteral(")) > 0");
}

// Every piece in one column, for each of the three columns.
QString PiecesInAnyColumn(const QStringList& pieces) {
    struct Column {
        const char* name;
        const char* collation;
    };
    static const Column kColumns[] = {{"szoveg_hu", "latin2_hungarian_ci"},
                                      {"szoveg_alt", "latin2_general_ci"},
                                      {"szoveg_hosszu", "latin2_hungarian_ci"}};
    QStringList alternatives;
    for (const Column& column : kColumns) {
        QStringList tests;
        for (const QString& piece : pieces)
            tests << PieceInColumn(QLatin1String(column.name), column.collation, piece);
        alternatives << (tests.size() == 1 ? tests.first()
                                           : QLatin1Char('(') + tests.join(QLatin1String(" AND ")) + QLatin1Char(')'));
    }
    return alternatives.join(QLatin1String(" OR "));
}

// What a search through a search table needs of a typed text.
struct TableSearch {
    QString matches; // the search table's rows that may match ("k." columns)
    QString exact;   // LikeFilter's condition, when the matches only narrow the rows; else empty
};

// Nothing when the search table cannot serve (another field list, nothing to
// look up in it): LikeFilter alone decides then.
std::optional<TableSearch> SearchThroughTable(const SearchIndex& index, const QString& fields, const QString& text) {
    if (index.table.isEmpty() || fields != index.fields || text.isEmpty())
        return std::nullopt;
    static const QRegularExpression kWildcards(QStringLiteral("[%_]"));
    const QStringList pieces = text.split(kWildcards, Qt::SkipEmptyParts);
    if (pieces.isEmpty())
        return std::nullopt;
    // Without wildcards or separator bytes the byte search finds exactly the
    // rows with a field that holds the text; otherwise it only narrows them.
    const bool plain = pieces.size() == 1 && pieces.first() == text && !text.contains(kFieldSeparator);
    return TableSearch{PiecesInAnyColumn(pieces), plain ? QString() : LikeFilter(fields, text, false)};
}

QString AndExact(const QString& condition, const TableSearch& search) {
    return search.exact.isEmpty() ? condition : condition + QStringLiteral(" AND ") + search.exact;
}

} // namespace

QString IndexedLikeFilter(const SearchIndex& index, const QString& fields, const QString& text, bool withAnd) {
    const std::optional<TableSearch> search = SearchThroughTable(index, fields, text);
    if (!search)
        return LikeFilter(fields, text, withAnd);
    const QString candidates = index.keyField + QStringLiteral(" IN (SELECT k.") + index.keyField +
                               QStringLiteral(" FROM ") + index.table + QStringLiteral(" k WHERE ") + search->matches +
                               QLatin1Char(')');
    return Wrap(AndExact(candidates, *search), withAnd);
}

namespace {

// One part of a search through the search table: the keys below below (all
// when none), at most limit of them, highest first; see IndexedSearchPrelude.
QueryPrelude SearchPart(const SearchIndex& index, const QString& fields, const QStringList& sqlLines,
                        const QString& fixedCondition, const QString& tableCondition, const QString& text,
                        const TableSearch& search, int maxKeys, int firstKeys, std::optional<qlonglong> below) {
    const auto keyBelow = [below](const QString& key) {
        return QLatin1Char('(') + key + QStringLiteral(" < ") + QString::number(*below) + QLatin1Char(')');
    };
    QStringList tableTests;
    if (!tableCondition.isEmpty())
        tableTests << tableCondition;
    if (below)
        tableTests << keyBelow(QStringLiteral("k.") + index.keyField);
    tableTests << QLatin1Char('(') + search.matches + QLatin1Char(')');
    const int limit = firstKeys > 0 ? firstKeys : maxKeys + 1;
    QueryPrelude prelude;
    // Newest first: a list shows them first, and a text found in many rows
    // (a date of this year) reaches the limit without reading the rest.
    prelude.sql = QStringLiteral("SELECT k.") + index.keyField + QStringLiteral(" FROM ") + index.table +
                  QStringLiteral(" k WHERE ") + tableTests.join(QStringLiteral(" AND ")) + QStringLiteral(" ORDER BY k.") +
                  index.keyField + QStringLiteral(" DESC LIMIT ") + QString::number(limit) + QLatin1Char(';');
    prelude.statement = [=](const ResultSet& rows) {
        QString condition = fixedCondition;
        if (below)
            condition += QStringLiteral(" AND ") + keyBelow(index.keyField);
        if (rows.rowCount() > maxKeys) {
            // Too many to name: the search table joined in the statement.
            condition += IndexedLikeFilter(index, fields, text, true);
        } else {
            QStringList keys;
            keys.reserve(rows.rowCount());
            for (int r = 0; r < rows.rowCount(); ++r)
                keys << QString::number(rows.value(r, 0).toLongLong());
            const QString named = keys.isEmpty() ? QStringLiteral("1 = 0")
                                                 : index.keyField + QStringLiteral(" IN (") +
                                                       keys.join(QLatin1Char(',')) + QLatin1Char(')');
            condition += Wrap(AndExact(named, search), true);
        }
        QStringList lines = sqlLines;
        ReplaceWhere(lines, condition, true);
        return lines.join(QLatin1Char('\n'));
    };
    if (firstKeys > 0)
        prelude.next = [=](const ResultSet& rows) -> QueryPrelude {
            // Fewer than asked for: the first part read the whole table.
            if (rows.rowCount() < firstKeys)
                return {};
            return SearchPart(index, fields, sqlLines, fixedCondition, tableCondition, text, search, maxKeys, 0,
                              rows.value(rows.rowCount() - 1, 0).toLongLong());
        };
    return prelude;
}

} // namespace

QueryPrelude IndexedSearchPrelude(const SearchIndex& index, const QString& fields, const QStringList& sqlLines,
                                  const QString& fixedCondition, const QString& tableCondition, const QString& text,
                                  int maxKeys, int firstKeys) {
    const std::optional<TableSearch> search = SearchThroughTable(index, fields, text);
    if (!search)
        return {};
    return SearchPart(index, fields, sqlLines, fixedCondition, tableCondition, text, *search, maxKeys,
                      std::max(0, firstKeys), std::nullopt);
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
