#include "shell/MainListSearch.h"

namespace kml {

SearchIndex MainListSearchIndex(MainTab tab) {
    const MainListDef def = MainListDefinition(tab);
    switch (tab) {
    case MainTab::WorkSheets:
        return {QStringLiteral("munkalap_kereses"), def.keyField, def.searchFields};
    case MainTab::Customers:
        return {QStringLiteral("ugyfel_kereses"), def.keyField, def.searchFields};
    case MainTab::Devices:
        return {QStringLiteral("keszulek_kereses"), def.keyField, def.searchFields};
    case MainTab::Planner:
        break;
    }
    return {};
}

QString MainListSearchCondition(MainTab tab, const QString& fixedCondition, const QString& text) {
    return fixedCondition + IndexedLikeFilter(MainListSearchIndex(tab), MainListDefinition(tab).searchFields, text, true);
}

QueryPrelude MainListSearchPrelude(MainTab tab, const QStringList& sqlLines, const QString& fixedCondition,
                                   const QString& text) {
    return IndexedSearchPrelude(MainListSearchIndex(tab), MainListDefinition(tab).searchFields, sqlLines,
                                fixedCondition, fixedCondition, text);
}

} // namespace kml
