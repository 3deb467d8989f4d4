#pragma once

#include "components/Query.h"

#include <QString>
#include <QStringList>

namespace kml {

// Search conditions for the search boxes of list windows. fields is a list of
// SQL column expressions separated by ";" (at most 15 are used; an
// expression may be anything without ";"). The result is one bracketed
// condition, or "" when there is nothing to search for; with withAnd it
// begins with " AND " so that it can follow a list's fixed condition.
//
// The typed text is matched anywhere in a field with LIKE: "%" and "_" keep
// their LIKE meaning, every other character (quotes, backslashes, line
// breaks, brackets) is searched for as it stands.

// The whole text in any of the fields:
// LikeFilter("ugyfel_nev;telefon", "kov", false) ==
//   "((ugyfel_nev LIKE '%kov%') OR (telefon LIKE '%kov%'))"
QString LikeFilter(const QString& fields, const QString& text, bool withAnd);

// Up to six words ("," and ";" count as blanks), each in one of the fields:
// WordsFilter("nev;varos", "kis pest", false) ==
//   "(((nev LIKE '%kis%') OR (varos LIKE '%kis%')) AND ((nev LIKE '%pest%') OR (varos LIKE '%pest%')))"
QString WordsFilter(const QString& fields, const QString& text, bool withAnd);

// A list's search table (db/schema.sql: munkalap_kereses, ugyfel_kereses,
// keszulek_kereses): one row per row of the list's view, with the same key
// and the columns the list's fixed conditions test, holding the values of
// the list's search fields folded to collation weights:
// szoveg_hu those compared under latin2_hungarian_ci, szoveg_alt those under
// latin2_general_ci (the CONVERT(... USING latin2) fields), szoveg_hosszu a
// Hungarian text too long for szoveg_hu.
struct SearchIndex {
    QString table;    // e.g. "munkalap_kereses"; empty: the list has none
    QString keyField; // the key of the table and of the list's rows
    QString fields;   // the field list the table holds, exactly as the list searches it
    // The list's fixed conditions test only columns the table holds too (the
    // status, the key), so the key search is narrowed by them as well.
    bool holdsFixedCondition = false;
    // The list's own order (the ORDER line of its SQL) is by the key,
    // highest first, so a streaming search can bring the newest rows first.
    bool newestFirst = false;
};

// The most matching keys a search names in its statement; beyond them the
// statement joins the search table instead.
inline constexpr int MaxNamedSearchKeys = 20000;

// The rows of LikeFilter(fields, text, withAnd), found through the list's
// search table when it holds exactly these fields (LikeFilter itself when
// not): the server scans one narrow row per list row with a byte search
// instead of a LIKE per field over the joined view, and the result is the
// same set of rows.
//
//   text without "%", "_" and the byte 0x02:
//     " AND (key IN (SELECT key FROM table WHERE <the folded text is in
//      szoveg_hu, szoveg_alt or szoveg_hosszu>))"
//   otherwise the same test for each piece between the wildcards (a row can
//   only match when all of them are in one column), followed by the exact
//   LikeFilter condition " AND ((field LIKE ...) OR ...)"; a text of
//   wildcards only gives LikeFilter alone.
QString IndexedLikeFilter(const SearchIndex& index, const QString& fields, const QString& text, bool withAnd);

// How IndexedSearchPrelude divides the work of a search.
struct SearchPlan {
    int maxKeys = MaxNamedSearchKeys;
    // > 0: in parts, the highest firstKeys matching keys first.
    int firstKeys = 0;
    // The search table's lowest and highest key (equal when not known). With
    // them, a key search over a range of at least splitKeys keys runs as two
    // statements side by side: the upper half of the range and the lower.
    qlonglong lowKey = 0;
    qlonglong highKey = 0;
    int splitKeys = 10000;
    // In parts, a statement naming at least splitRows keys runs as two side
    // by side: the higher half of the keys and the lower.
    int splitRows = 1000;
};

// The same search in two steps for Query::openAsync, much faster when few
// rows match: first the keys of at most maxKeys + 1 matching rows, the
// highest first, read from the search table alone (narrowed by
// tableCondition, the part of the fixed condition the search table can test
// by itself, "" for none); then the list's statement (sqlLines, its first
// WHERE line replaced) with the condition fixedCondition + " AND (key IN
// (those keys))", LikeFilter's condition added when the text needs it,
// " AND (1 = 0)" for none. When more rows match, the list's statement with
// fixedCondition + IndexedLikeFilter. Empty (nothing to run first) when
// IndexedLikeFilter would be LikeFilter itself. With the table's key range
// in the plan, a long key search is two statements (see SearchPlan), their
// rows the keys in the same order.
//
// With plan.firstKeys > 0 (for Query::openAsync, on a list whose rows are
// ordered by the key, highest first) the search comes in parts so that the
// first screen does not wait for the whole table: the first part names the
// highest firstKeys matching keys only; when it found that many, its next
// part is the search as above restricted to the keys below the lowest of
// them (key < that one, in the search table and in the statement), whose
// rows follow, in two statements when it names many keys. Together the
// parts give the same rows in the same order.
QueryPrelude IndexedSearchPrelude(const SearchIndex& index, const QString& fields,
                                  const QStringList& sqlLines, const QString& fixedCondition,
                                  const QString& tableCondition, const QString& text,
                                  const SearchPlan& plan = {});

// The SQL literal of a LIKE pattern that finds text anywhere:
// '%' + text + '%', a backslash in text standing for itself.
QString LikeAnywhere(const QString& text);

} // namespace kml
