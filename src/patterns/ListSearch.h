#pragma once

// What a list window does with its query when the user searches or sorts,
// apart from the widgets: the list windows and the main window's lists call
// these, so a search or a sort behaves the same everywhere.
//
// A list query keeps its condition on a line that begins with "WHERE" and its
// sort on a line that begins with "ORDER"; searching rewrites the first,
// sorting the second.

#include <QString>
#include <QVariant>

namespace kml {

class Query;

// Which search-filter builder a list uses for its search box.
enum class SearchKind {
    Like,  // LikeFilter: the whole text anywhere in any field
    Words, // WordsFilter: up to six words, each somewhere in the fields
};

// The condition of a list's WHERE line for a typed search text: the fixed
// condition followed by the filter in its " AND (...)" form; the fixed
// condition alone for an empty text.
QString ListCondition(const QString& fixedCondition, const QString& searchFields, const QString& text,
                      SearchKind kind);

// Closes the query, puts "WHERE " + condition on its first WHERE line and
// opens it again.
void ReopenWithCondition(Query& query, const QString& condition);

// Closes the query, puts "ORDER BY " + orderExpression + ";" on its ORDER line
// and opens it again.
void ReopenWithOrder(Query& query, const QString& orderExpression);

// Moves to the first row whose field begins with text, compared without
// regard to letter case. No such row, or a closed query, leaves the query
// where it was and returns false. A field the query does not have is a
// fault of the list's definition and throws std::logic_error.
bool QuickLocate(Query& query, const QString& field, const QString& text);

// Moves to the row whose key field equals key; false (and no move) when
// there is none or key is invalid. A missing key field throws
// std::logic_error.
bool LocateKey(Query& query, const QString& keyField, const QVariant& key);

// Runs a list again: refreshed on the row it was on when open, opened when
// closed; then moves to the row with key when one is given and found.
void RereadList(Query& query, const QString& keyField, const QVariant& key = {});

// The search of a list: reopen with the condition for text, then quick-locate
// the text in the sort column.
void RunListSearch(Query& query, const QString& condition, const QString& sortField, const QString& text);

} // namespace kml
