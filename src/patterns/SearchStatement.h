#pragma once

// What a list runs for a typed search text, decided in one place: the
// condition of its WHERE line and the statements the server runs first (the
// keys of the matching rows from the list's search table). A pure function
// of the list's definition, its SQL, the condition it keeps, the text and
// the plan; ListController runs what it gives.

#include "components/Query.h"
#include "patterns/ListDefinition.h"

#include <QString>
#include <QStringList>
#include <utility>

namespace kml {

struct SearchStatement {
    QString condition;    // for the WHERE line
    QueryPrelude prelude; // empty: the statement alone
};

// Whether a list searches through its search table: it has one, its search
// is the plain LikeFilter and no search of its own replaces it.
bool SearchesThroughTable(const ListDefinition& definition);

// The search statement for text. sqlLines are the list's SQL as it stands;
// the prelude is the search table's two steps (IndexedSearchPrelude) as the
// plan divides them, none for an empty text or a list without a table. The
// condition through the table is fixedCondition + IndexedLikeFilter; a list
// without one gets its own searchCondition or the filter its searchKind
// names (ListCondition).
SearchStatement BuildSearchStatement(const ListDefinition& definition, const QStringList& sqlLines,
                                     const QString& fixedCondition, const QString& text,
                                     const SearchPlan& plan = {});

// The plan of a streamed search: in parts, the newest first, when the
// search table keeps its keys newest first and the list is in its own order
// (its ORDER line is the definition's); the table's key range lets a long
// key search run as two statements side by side.
SearchPlan StreamedSearchPlan(const ListDefinition& definition, const QStringList& sqlLines,
                              std::pair<qlonglong, qlonglong> keyRange);

} // namespace kml
