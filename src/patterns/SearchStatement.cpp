#include "patterns/SearchStatement.h"

namespace kml {
namespace {

// How many of the newest matching rows a streamed search reads first:
// enough for a screen, few enough to be found in a fraction of the table.
constexpr int kFirstPartKeys = 100;

QString OrderLine(const QStringList& lines) {
    for (const QString& line : lines)
        if (line.trimmed().startsWith(QLatin1String("ORDER"), Qt::CaseInsensitive))
            return line.trimmed();
    return {};
}

} // namespace

bool SearchesThroughTable(const ListDefinition& definition) {
    return !definition.searchIndex.table.isEmpty() && !definition.searchCondition &&
           definition.searchKind == SearchKind::Like;
}

SearchStatement BuildSearchStatement(const ListDefinition& definition, const QStringList& sqlLines,
                                     const QString& fixedCondition, const QString& text,
                                     const SearchPlan& plan) {
    SearchStatement statement;
    if (definition.searchCondition) {
        statement.condition = definition.searchCondition(fixedCondition, text);
    } else if (SearchesThroughTable(definition)) {
        const SearchIndex& index = definition.searchIndex;
        statement.condition = fixedCondition + IndexedLikeFilter(index, definition.searchFields, text, true);
        statement.prelude =
            IndexedSearchPrelude(index, definition.searchFields, sqlLines, fixedCondition,
                                 index.holdsFixedCondition ? fixedCondition : QString(), text, plan);
    } else {
        statement.condition =
            ListCondition(fixedCondition, definition.searchFields, text, definition.searchKind);
    }
    return statement;
}

SearchPlan StreamedSearchPlan(const ListDefinition& definition, const QStringList& sqlLines,
                              std::pair<qlonglong, qlonglong> keyRange) {
    SearchPlan plan;
    if (definition.searchIndex.newestFirst &&
        OrderLine(sqlLines) == OrderLine(definition.sql.split(QLatin1Char('\n'))))
        plan.firstKeys = kFirstPartKeys;
    plan.lowKey = keyRange.first;
    plan.highKey = keyRange.second;
    return plan;
}

} // namespace kml
