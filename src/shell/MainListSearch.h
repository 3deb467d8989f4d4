#pragma once

// How the main window's lists search: through the search tables the server
// keeps for them (db/schema.sql), with exactly the rows their LIKE filters
// over the list's search fields give.
//
// A keystroke in the search box (the work-sheet list on a status tab, the
// customer or the device list):
//
//     ReplaceWhere(query.sql(), MainListSearchCondition(tab, fixed, text), true);
//     query.openAsync(MainListSearchPrelude(tab, query.sql(), fixed, text));
//
// openAsync abandons the search of the previous keystroke (its rows never
// show), the rows arrive while the window goes on (rowsArrived: quick-locate
// the text in the sort column until it is found; finished: the row counter;
// failed: the server's error). A list re-read after an edit searches the
// same way again and locates its key as the rows arrive; a blocking re-read
// passes the prelude too (query.refresh(key, MainListSearchPrelude(...))),
// as the WHERE line alone makes the server read the whole list.

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
