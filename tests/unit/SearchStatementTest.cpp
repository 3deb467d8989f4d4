// What a list runs for a typed text, from its definition alone: the WHERE
// condition and the statements before it, for lists with and without a
// search table, blocking and streamed.
#include "patterns/SearchStatement.h"

#include "foundation/SearchFilter.h"

#include <gtest/gtest.h>

using namespace kml;

namespace {

const QString Sql = QStringLiteral("SELECT * FROM vw_munkalap\nWHERE 1 = 0\nORDER BY munkalap DESC;");
const QString Fields = QStringLiteral("munkalapstr;ugyfel_nev");
const QString Fixed = QStringLiteral("(statusz BETWEEN 1 AND 2)");

ListDefinition Plain(SearchKind kind = SearchKind::Like) {
    ListDefinition d;
    d.sql = Sql;
    d.searchFields = Fields;
    d.keyField = QStringLiteral("munkalap");
    d.searchKind = kind;
    return d;
}

ListDefinition Indexed(bool holdsFixed = true, bool newestFirst = true) {
    ListDefinition d = Plain();
    d.searchIndex = {QStringLiteral("munkalap_kereses"), d.keyField, Fields, holdsFixed, newestFirst};
    return d;
}

QStringList Lines(const QString& sql) {
    return sql.split(QLatin1Char('\n'));
}

TEST(SearchStatement, ConditionAndPreludeForEachKindOfList) {
    ListDefinition own = Indexed();
    own.searchCondition = [](const QString& base, const QString& text) { return base + " AND x = " + text; };
    SearchPlan parts;
    parts.firstKeys = 100;
    SearchPlan split;
    split.lowKey = 1;
    split.highKey = 50000;
    const struct {
        const char* what;
        ListDefinition definition;
        const char* text;
        SearchPlan plan;
        QString condition;
        int preludeStatements; // 0: none
        bool inParts;
    } cases[] = {
        {"plain LIKE list", Plain(), "kov", {}, Fixed + LikeFilter(Fields, "kov", true), 0, false},
        {"words list",
         Plain(SearchKind::Words),
         "kov ber",
         {},
         Fixed + WordsFilter(Fields, "kov ber", true),
         0,
         false},
        {"a search of its own wins over the table", own, "7", {}, Fixed + " AND x = 7", 0, false},
        {"empty text: the fixed condition alone", Indexed(), "", {}, Fixed, 0, false},
        {"through the table",
         Indexed(),
         "kov",
         {},
         Fixed + IndexedLikeFilter(Indexed().searchIndex, Fields, "kov", true),
         1,
         false},
        {"wildcards only: nothing to look up",
         Indexed(),
         "%_",
         {},
         Fixed + LikeFilter(Fields, "%_", true),
         0,
         false},
        {"quote and backslash",
         Indexed(),
         "O'B\\",
         {},
         Fixed + IndexedLikeFilter(Indexed().searchIndex, Fields, "O'B\\", true),
         1,
         false},
        {"a date typed as shown",
         Indexed(),
         "2026.0",
         {},
         Fixed + IndexedLikeFilter(Indexed().searchIndex, Fields, "2026.0", true),
         1,
         false},
        {"streamed in parts", Indexed(), "kov", parts,
         Fixed + IndexedLikeFilter(Indexed().searchIndex, Fields, "kov", true), 1, true},
        {"a long key range in two halves", Indexed(), "kov", split,
         Fixed + IndexedLikeFilter(Indexed().searchIndex, Fields, "kov", true), 2, false},
    };
    for (const auto& c : cases) {
        const SearchStatement s =
            BuildSearchStatement(c.definition, Lines(Sql), Fixed, QString::fromUtf8(c.text), c.plan);
        EXPECT_EQ(s.condition, c.condition) << c.what;
        EXPECT_EQ(s.prelude.sql.size(), c.preludeStatements) << c.what;
        EXPECT_EQ(bool(s.prelude.statement), c.preludeStatements > 0) << c.what;
        EXPECT_EQ(bool(s.prelude.next), c.inParts) << c.what;
    }
}

TEST(SearchStatement, KeySearchTestsTheFixedConditionOnlyWhenTheTableHoldsIt) {
    for (const bool holds : {true, false}) {
        const SearchStatement s = BuildSearchStatement(Indexed(holds), Lines(Sql), Fixed, "kov");
        ASSERT_EQ(s.prelude.sql.size(), 1);
        EXPECT_TRUE(s.prelude.sql.first().startsWith("SELECT k.munkalap FROM munkalap_kereses k WHERE "));
        EXPECT_EQ(s.prelude.sql.first().contains(Fixed), holds) << s.prelude.sql.first().toStdString();
    }
}

TEST(SearchStatement, StreamedPlanReadsTheNewestFirstOnlyInTheListsOwnOrder) {
    const struct {
        const char* what;
        ListDefinition definition;
        QString sql;
        int firstKeys;
    } cases[] = {
        {"own order", Indexed(), Sql, 100},
        {"sorted by a title click", Indexed(),
         QString(Sql).replace("ORDER BY munkalap DESC;", "ORDER BY ugyfel_nev;"), 0},
        {"table not newest first", Indexed(true, false), Sql, 0},
    };
    for (const auto& c : cases) {
        const SearchPlan plan = StreamedSearchPlan(c.definition, Lines(c.sql), {3, 900});
        EXPECT_EQ(plan.firstKeys, c.firstKeys) << c.what;
        EXPECT_EQ(plan.lowKey, 3) << c.what;
        EXPECT_EQ(plan.highKey, 900) << c.what;
    }
    EXPECT_TRUE(SearchesThroughTable(Indexed()));
    EXPECT_FALSE(SearchesThroughTable(Plain()));
    ListDefinition words = Indexed();
    words.searchKind = SearchKind::Words;
    EXPECT_FALSE(SearchesThroughTable(words));
}

} // namespace
