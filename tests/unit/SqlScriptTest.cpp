// Cutting the console's scripts into statements, telling results from
// scripts, and the table mode's first line.
#include "admin/SqlScript.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace kml;

namespace {

QStringList Statements(const QString& script) {
    QStringList out;
    for (const ScriptStatement& s : SplitSqlScript(script))
        out << s.sql;
    return out;
}

struct SplitCase {
    const char* name;
    const char* script;
    QStringList expected;
};

} // namespace

TEST(SqlScript, CutsScriptsAsCommandLineClientsDo) {
    const SplitCase cases[] = {
        {"one per line",
         "INSERT INTO t VALUES (1);\nINSERT INTO t VALUES (2);",
         {"INSERT INTO t VALUES (1)", "INSERT INTO t VALUES (2)"}},
        {"leading blanks and blank lines",
         "   update t set a = 1 ;\n\n\n  delete from t;\n",
         {"update t set a = 1", "delete from t"}},
        {"last statement without terminator runs", "SET @a = 1;\nSELECT @a", {"SET @a = 1", "SELECT @a"}},
        {"two on one line", "SET @a = 1; SET @b = 2;", {"SET @a = 1", "SET @b = 2"}},
        {"statement over lines",
         "UPDATE t\n  SET a = 1\n  WHERE b = 2;",
         {"UPDATE t\nSET a = 1\nWHERE b = 2"}},
        {"terminator inside literals is text",
         "INSERT INTO t VALUES ('a;b', \"c;\", `d;`);",
         {"INSERT INTO t VALUES ('a;b', \"c;\", `d;`)"}},
        {"escaped quote inside literal",
         "INSERT INTO t VALUES ('it\\'s; fine', 'x''y;');",
         {"INSERT INTO t VALUES ('it\\'s; fine', 'x''y;')"}},
        {"multi-line literal untouched",
         "INSERT INTO t VALUES ('first;\n\n   indented  \nlast');",
         {"INSERT INTO t VALUES ('first;\n\n   indented  \nlast')"}},
        {"the currency sign is plain text",
         "INSERT INTO t VALUES ('a¤b');",
         {"INSERT INTO t VALUES ('a¤b')"}},
        {"comments do not end statements",
         "SELECT 1 -- not here;\n, 2;\n# nor; here\nSELECT 3 /* ; */;",
         {"SELECT 1 -- not here;\n, 2", "# nor; here\nSELECT 3 /* ; */"}},
        {"comment-only pieces are not sent", "SELECT 1;\n-- the end;\n/* done */", {"SELECT 1"}},
        {"routine with its own terminator",
         "delimiter $$\nCREATE PROCEDURE p()\nBEGIN\n  SELECT 1;\n  SELECT 2;\nEND$$\ndelimiter ;\nCALL p();",
         {"CREATE PROCEDURE p()\nBEGIN\nSELECT 1;\nSELECT 2;\nEND", "CALL p()"}},
        {"upper-case DELIMITER",
         "DELIMITER //\nSELECT 1;\nSELECT 2//\nDELIMITER ;\nSELECT 3;",
         {"SELECT 1;\nSELECT 2", "SELECT 3"}},
        {"bare delimiter: every line its own statement",
         "delimiter\nSELECT 1\n\nSELECT 2\n",
         {"SELECT 1", "SELECT 2"}},
        {"CR LF line ends", "SELECT 1;\r\nSELECT 2;\r\n", {"SELECT 1", "SELECT 2"}},
        {"nothing", "  \n\n ", {}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(Statements(QString::fromUtf8(c.script)), c.expected) << c.name;
}

TEST(SqlScript, StatementsKnowTheirLines) {
    const std::vector<ScriptStatement> s =
        SplitSqlScript(QStringLiteral("\nSELECT 1;\nUPDATE t\nSET a = 1;\nSELECT 2"));
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].firstLine, 2);
    EXPECT_EQ(s[1].firstLine, 3);
    EXPECT_EQ(s[1].lastLine, 4);
    EXPECT_EQ(s[2].lastLine, 5);
}

TEST(SqlScript, ResultStatementsByTheirFirstWord) {
    for (const char* text : {"  select * from t", "SHOW TABLES", "with x as (select 1) select * from x",
                             "/* c */ EXPLAIN SELECT 1", "-- c\ndescribe t", "DESC t", "VALUES (1)"})
        EXPECT_TRUE(IsResultStatement(QString::fromUtf8(text))) << text;
    for (const char* text : {"UPDATE t SET a = 1", "CALL sp_x()", "selection", "SET @a = 1", ""})
        EXPECT_FALSE(IsResultStatement(QString::fromUtf8(text))) << text;
}

TEST(SqlScript, TableModeFirstLine) {
    TableModeRequest r = ParseTableMode(QStringLiteral("table: ugyfel\nSELECT 1"));
    EXPECT_TRUE(r.tableMode);
    EXPECT_EQ(r.table, QStringLiteral("ugyfel"));
    r = ParseTableMode(QStringLiteral("TABLE:  megj ;"));
    EXPECT_TRUE(r.tableMode);
    EXPECT_EQ(r.table, QStringLiteral("megj"));
    r = ParseTableMode(QStringLiteral("table ugyfel"));
    EXPECT_TRUE(r.tableMode);
    EXPECT_FALSE(r.hasColon);
    EXPECT_TRUE(r.table.isEmpty());
    EXPECT_FALSE(ParseTableMode(QStringLiteral("SELECT * FROM tables")).tableMode);
    EXPECT_EQ(QuoteIdentifier(QStringLiteral("a`b")), QStringLiteral("`a``b`"));
    EXPECT_EQ(QuoteIdentifier(QStringLiteral("db.t")), QStringLiteral("`db`.`t`"));
}
