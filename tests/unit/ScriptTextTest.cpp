// How script text is cut into statements and what ExecSql sends: the rules
// that decide whether a data script restores its values unchanged.
#include "foundation/DataScript.h"
#include "foundation/QueryHelpers.h"

#include <gtest/gtest.h>
#include <vector>

using namespace kml;

namespace {

std::vector<QString> Split(const QStringList& lines, QStringList* pending = nullptr) {
    SqlScriptSplitter splitter;
    std::vector<QString> statements;
    for (const QString& line : lines)
        if (auto statement = splitter.addLine(line))
            statements.push_back(*statement);
    if (pending)
        *pending = splitter.pendingLines();
    return statements;
}

TEST(SqlScriptSplitter, StatementsEndWithTheTerminator) {
    QStringList pending;
    const auto statements =
        Split({"  TRUNCATE ugyfel;  ", "", "INSERT IGNORE INTO ugyfel (ugyfel,nev) VALUES", "(1,'a;b'),",
               "(2,'c');", "SELECT 1", "FROM dual"},
              &pending);
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_EQ(statements[0], "TRUNCATE ugyfel");
    EXPECT_EQ(statements[1], "INSERT IGNORE INTO ugyfel (ugyfel,nev) VALUES\n(1,'a;b'),\n(2,'c')");
    // The last statement lacks its terminator: it is not run.
    EXPECT_EQ(pending, (QStringList{"SELECT 1", "FROM dual"}));
}

TEST(SqlScriptSplitter, DelimiterLines) {
    const auto statements = Split({"delimiter $$", "CREATE PROCEDURE p()", "BEGIN", "  SELECT 1;", "END $$",
                                   "delimiter ;", "CALL p();"});
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_EQ(statements[0], "CREATE PROCEDURE p()\nBEGIN\nSELECT 1;\nEND ");
    EXPECT_EQ(statements[1], "CALL p()");

    // Upper case is not a terminator change: the line joins the statement.
    const auto upper = Split({"DELIMITER $$", "SELECT 1;"});
    ASSERT_EQ(upper.size(), 1u);
    EXPECT_EQ(upper[0], "DELIMITER $$\nSELECT 1");

    // A bare "delimiter" makes every following line a statement.
    const auto bare = Split({"delimiter", "SELECT 1", "SELECT 2"});
    EXPECT_EQ(bare, (std::vector<QString>{"SELECT 1", "SELECT 2"}));
}

TEST(ExecSqlText, LineBreaksAsTextBecomeLineBreaksOutsideLiterals) {
    EXPECT_EQ(UnescapeLineBreaksOutsideLiterals("UPDATE t SET a = 1\\r\\nWHERE b = 2"),
              "UPDATE t SET a = 1\r\nWHERE b = 2");
    EXPECT_EQ(UnescapeLineBreaksOutsideLiterals("SELECT 1\\\\r\\\\nFROM dual"), "SELECT 1\r\nFROM dual");
}

TEST(ExecSqlText, LiteralsAndCommentsPassUntouched) {
    const QString cases[] = {
        // A value holding the characters \ r \ n, as SqlStr writes it.
        "INSERT INTO t VALUES ('a\\\\r\\\\nb')",
        // A value holding CR LF, as SqlStr writes it.
        "INSERT INTO t VALUES ('a\\r\\nb')",
        // A backslash, R and LF: the tail looks like \R\n once the doubled backslash is split.
        "INSERT INTO t VALUES ('x\\\\R\\n')",
        "INSERT INTO t VALUES (\"q\\r\\n\", 'it''s \\r\\n', `c\\r\\n`)",
        "UPDATE t SET a = 'don''t \\\\r\\\\n' WHERE b = 'x'",
        "/* keep \\r\\n */ SELECT '\\r\\n'",
        "SELECT 1 -- it's a comment\nFROM t WHERE a = '\\\\r\\\\n'",
        "SELECT 1 # it's a comment\nFROM t WHERE a = '\\\\r\\\\n'",
        "SELECT 'unterminated \\r\\n",
    };
    for (const QString& sql : cases)
        EXPECT_EQ(UnescapeLineBreaksOutsideLiterals(sql), sql) << sql.toStdString();
}

TEST(ExecSqlText, ACommentEndsAtALineBreakWrittenAsText) {
    EXPECT_EQ(UnescapeLineBreaksOutsideLiterals("SELECT 1 -- note\\r\\nFROM t WHERE a = 'it''s'"),
              "SELECT 1 -- note\r\nFROM t WHERE a = 'it''s'");
}

} // namespace
