#pragma once

// How the main window's lists search: through the search tables the server
// keeps for them (db/schema.sql), with exactly the rows their LIKE filters
// over the list's search fields give.

#include "foundation/SearchFilter.h"
#include "shell/MainLists.h"

namespace kml {

// The search table of a main list: work sheets munkalap_kereses, customers
// ugyfel_kereses, devices keszulek_kereses; the planner's employees have none.
SearchIndex MainListSearchIndex(MainTab tab);

// The condition of a main list's WHERE line for a typed text: the fixed
// condition followed by the search filter in its " AND (...)" form
// (IndexedLikeFilter); the fixed condition alone for an empty text. The same
// rows as fixedCondition + LikeFilter(searchFields, text, true).
QString MainListSearchCondition(MainTab tab, const QString& fixedCondition, const QString& text);

// The same search for Query::openAsync in two statements (IndexedSearchPrelude):
// the keys of the matching rows first, then the list's statement (sqlLines)
// for those keys. The fixed conditions of the main lists (status tabs, key
// above 0) test only columns their search tables hold, so the keys are
// narrowed by them too. Empty for an empty text or a list without a search
// table.
QueryPrelude MainListSearchPrelude(MainTab tab, const QStringList& sqlLines, const QString& fixedCondition,
                                   const QString& text);

} // namespace kml
