#pragma once

#include <QString>

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

// The SQL literal of a LIKE pattern that finds text anywhere:
// '%' + text + '%', a backslash in text standing for itself.
QString LikeAnywhere(const QString& text);

} // namespace kml
