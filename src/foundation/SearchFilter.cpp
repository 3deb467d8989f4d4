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
        alternatives << (tests.size() == 1
                             ? tests.first()
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
std::optional<TableSearch> SearchThroughTable(const SearchIndex& index, const QString& fields,
                                              const QString& text) {
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

QString IndexedLikeFilter(const SearchIndex& index, const QString& fields, const QString& text,
                          bool withAnd) {
    const std::optional<TableSearch> search = SearchThroughTable(index, fields, text);
    if (!search)
        return LikeFilter(fields, text, withAnd);
    const QString candidates = index.keyField + QStringLiteral(" IN (SELECT k.") + index.keyField +
                               QStringLiteral(" FROM ") + index.table + QStringLiteral(" k WHERE ") +
                               search->matches + QLatin1Char(')');
    return Wrap(AndExact(candidates, *search), withAnd);
}

namespace {

// "(key < below)", "(key >= from)": a bound on the keys.
QString KeyBound(const QString& key, const char* op, qlonglong bound) {
    return QLatin1Char('(') + key + QLatin1Char(' ') + QLatin1String(op) + QLatin1Char(' ') +
           QString::number(bound) + QLatin1Char(')');
}

// The statement of the list for the named keys (none: no row).
QString NamedKeysStatement(const SearchIndex& index, const QStringList& sqlLines, const QString& condition,
                           const TableSearch& search, const QStringList& keys) {
    const QString named = keys.isEmpty() ? QStringLiteral("1 = 0")
                                         : index.keyField + QStringLiteral(" IN (") +
                                               keys.join(QLatin1Char(',')) + QLatin1Char(')');
    QStringList lines = sqlLines;
    ReplaceWhere(lines, condition + Wrap(AndExact(named, search), true), true);
    return lines.join(QLatin1Char('\n'));
}

// One part of a search through the search table: the keys below below (all
// when none), at most limit of them, highest first; see IndexedSearchPrelude.
QueryPrelude SearchPart(const SearchIndex& index, const QString& fields, const QStringList& sqlLines,
                        const QString& fixedCondition, const QString& tableCondition, const QString& text,
                        const TableSearch& search, const SearchPlan& plan, std::optional<qlonglong> below) {
    const bool inParts = plan.firstKeys > 0;
    const bool firstPart = inParts && !below;
    const int limit = firstPart ? plan.firstKeys : plan.maxKeys + 1;
    const QString tableKey = QStringLiteral("k.") + index.keyField;
    QStringList tableTests;
    if (!tableCondition.isEmpty())
        tableTests << tableCondition;
    if (below)
        tableTests << KeyBound(tableKey, "<", *below);
    // Newest first: a list shows them first, and a text found in many rows
    // (a date of this year) reaches the limit without reading the rest.
    const auto keySearch = [&](const QString& range) {
        QStringList tests = tableTests;
        if (!range.isEmpty())
            tests << range;
        tests << QLatin1Char('(') + search.matches + QLatin1Char(')');
        return QStringLiteral("SELECT ") + tableKey + QStringLiteral(" FROM ") + index.table +
               QStringLiteral(" k WHERE ") + tests.join(QStringLiteral(" AND ")) +
               QStringLiteral(" ORDER BY ") + tableKey + QStringLiteral(" DESC LIMIT ") +
               QString::number(limit) + QLatin1Char(';');
    };
    QueryPrelude prelude;
    const qlonglong top = below ? *below - 1 : plan.highKey;
    if (plan.highKey > plan.lowKey && top - plan.lowKey + 1 >= plan.splitKeys) {
        // A long range of keys is searched in two halves side by side, the
        // upper one first; keys above the highest known fall in the upper.
        const qlonglong middle = plan.lowKey + (top - plan.lowKey + 1) / 2;
        prelude.sql = QStringList{keySearch(KeyBound(tableKey, ">=", middle)),
                                  keySearch(KeyBound(tableKey, "<", middle))};
        prelude.rowsWanted = limit;
    } else {
        prelude.sql = QStringList{keySearch(QString())};
    }
    // The halves' rows together are the highest matching keys when no more
    // than limit of them are taken.
    const auto found = [limit](const ResultSet& rows) { return std::min(rows.rowCount(), limit); };
    prelude.statement = [=](const ResultSet& rows) -> QStringList {
        QString condition = fixedCondition;
        if (below)
            condition += QStringLiteral(" AND ") + KeyBound(index.keyField, "<", *below);
        const int n = found(rows);
        if (n > plan.maxKeys) {
            // Too many to name: the search table joined in the statement.
            QStringList lines = sqlLines;
            ReplaceWhere(lines, condition + IndexedLikeFilter(index, fields, text, true), true);
            return {lines.join(QLatin1Char('\n'))};
        }
        QStringList keys;
        keys.reserve(n);
        for (int r = 0; r < n; ++r)
            keys << QString::number(rows.value(r, 0).toLongLong());
        if (!inParts || n < plan.splitRows)
            return {NamedKeysStatement(index, sqlLines, condition, search, keys)};
        // The list is in the order of the keys: the rows of the higher half
        // of them, then those of the lower half, read side by side.
        const qsizetype half = n / 2;
        return {NamedKeysStatement(index, sqlLines, condition, search, keys.mid(0, half)),
                NamedKeysStatement(index, sqlLines, condition, search, keys.mid(half))};
    };
    if (firstPart)
        prelude.next = [=](const ResultSet& rows) -> QueryPrelude {
            // Fewer than asked for: the first part read the whole table.
            const int n = found(rows);
            if (n < plan.firstKeys)
                return {};
            return SearchPart(index, fields, sqlLines, fixedCondition, tableCondition, text, search, plan,
                              rows.value(n - 1, 0).toLongLong());
        };
    return prelude;
}

} // namespace

QueryPrelude IndexedSearchPrelude(const SearchIndex& index, const QString& fields,
                                  const QStringList& sqlLines, const QString& fixedCondition,
                                  const QString& tableCondition, const QString& text,
                                  const SearchPlan& plan) {
    const std::optional<TableSearch> search = SearchThroughTable(index, fields, text);
    if (!search)
        return {};
    return SearchPart(index, fields, sqlLines, fixedCondition, tableCondition, text, *search, plan,
                      std::nullopt);
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
