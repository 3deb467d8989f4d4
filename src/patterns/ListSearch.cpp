#include "patterns/ListSearch.h"

#include "components/Query.h"
#include "foundation/QueryHelpers.h"

namespace kml {

QString ListCondition(const QString& fixedCondition, const QString& searchFields, const QString& text,
                      SearchKind kind) {
    const QString filter = kind == SearchKind::Words ? WordsFilter(searchFields, text, true)
                                                     : LikeFilter(searchFields, text, true);
    return fixedCondition + filter;
}

void ReopenWithCondition(Query& query, const QString& condition) {
    query.close();
    ReplaceWhere(query.sql(), condition, true);
    query.open();
}

void ReopenWithOrder(Query& query, const QString& orderExpression) {
    query.close();
    ReplaceOrderBy(query.sql(), orderExpression);
    query.open();
}

bool QuickLocate(Query& query, const QString& field, const QString& text) {
    return query.isActive() && query.locate(field, text, true);
}

bool LocateKey(Query& query, const QString& keyField, const QVariant& key) {
    if (!query.isActive() || !key.isValid() || key.isNull())
        return false;
    return query.locate(keyField, key);
}

void RereadList(Query& query, const QString& keyField, const QVariant& key) {
    if (query.isActive())
        query.refresh(keyField);
    else
        query.open();
    LocateKey(query, keyField, key);
}

void RunListSearch(Query& query, const QString& condition, const QString& sortField, const QString& text) {
    ReopenWithCondition(query, condition);
    QuickLocate(query, sortField, text);
}

} // namespace kml
