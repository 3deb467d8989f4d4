// The SQL console against the private server: scripts with the database
// state after each, results read on the console's own session, the
// program's session untouched by what is typed in the console, and the
// table mode writing one column of one row by its key.
#include "admin/SqlConsole.h"

#include "TestDatabase.h"
#include "admin/ConsoleTable.h"
#include "components/Connection.h"
#include "components/Cp1250.h"
#include "components/Query.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

using namespace kml;
using kml::test::TestDatabase;

namespace {

class SqlConsole : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new TestDatabase(QStringLiteral("sqlconsole")); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        db().exec(QStringLiteral("DROP TABLE IF EXISTS console_t"));
        db().exec(QStringLiteral("DROP PROCEDURE IF EXISTS console_p"));
        db().exec(
            QStringLiteral("CREATE TABLE console_t (id INT PRIMARY KEY, v VARCHAR(40)) CHARSET latin2"));
        m_console = std::make_unique<ConsoleSession>(s_db->options());
    }
    void TearDown() override { m_console.reset(); }

    static Connection& db() { return s_db->connection(); }
    // The rows of console_t as "id=v", read on the program's connection.
    static QStringList Rows() {
        const ResultSet rs = db().query(QStringLiteral("SELECT id, v FROM console_t ORDER BY id"));
        QStringList rows;
        for (int r = 0; r < rs.rowCount(); ++r)
            rows << rs.text(r, 0) + u'=' + rs.text(r, 1);
        return rows;
    }

    static inline TestDatabase* s_db = nullptr;
    std::unique_ptr<ConsoleSession> m_console;
};

struct ScriptCase {
    const char* name;
    const char* script;
    QStringList rows;   // console_t afterwards
    int executed;       // statements run
    bool fails = false; // stopped with "Hiba: ..."
};

} // namespace

TEST_F(SqlConsole, ScriptsLeaveTheDatabaseAsClientsWould) {
    const ScriptCase cases[] = {
        {"plain statements",
         "insert into console_t values (1, 'a');\n  INSERT INTO console_t VALUES (2, 'b');",
         {"1=a", "2=b"},
         2},
        {"last statement without terminator",
         "INSERT INTO console_t VALUES (1, 'a');\nINSERT INTO console_t VALUES (2, 'b')",
         {"1=a", "2=b"},
         2},
        {"routine with its own terminator",
         "delimiter $$\nCREATE PROCEDURE console_p()\nBEGIN\n  INSERT INTO console_t VALUES (1, 'x;y');\n"
         "  INSERT INTO console_t VALUES (2, 'z');\nEND$$\ndelimiter ;\nCALL console_p();",
         {"1=x;y", "2=z"},
         2},
        {"upper-case DELIMITER",
         "DELIMITER //\nCREATE PROCEDURE console_p()\nBEGIN\n  INSERT INTO console_t VALUES (3, "
         "'c');\nEND//\n"
         "DELIMITER ;\nCALL console_p();",
         {"3=c"},
         2},
        {"bare delimiter",
         "delimiter\nINSERT INTO console_t VALUES (1, 'a')\nINSERT INTO console_t VALUES (2, 'b')",
         {"1=a", "2=b"},
         2},
        {"error in the middle keeps what ran before",
         "INSERT INTO console_t VALUES (1, 'a');\nINSERT INTO no_such_table VALUES (1);\n"
         "INSERT INTO console_t VALUES (2, 'b');",
         {"1=a"},
         1,
         true},
        {"multi-line literal and the currency sign kept",
         "INSERT INTO console_t VALUES (1, 'első;\n\n  második ¤');",
         {QString::fromUtf8("1=első;\n\n  második ¤")},
         1},
        {"CALL returning rows inside a script",
         "delimiter $$\nCREATE PROCEDURE console_p()\nBEGIN\n  SELECT 1;\n  SELECT 2, 3;\nEND$$\ndelimiter "
         ";\n"
         "CALL console_p();\nSELECT * FROM console_t;\nINSERT INTO console_t VALUES (5, 'e');",
         {"5=e"},
         4},
        {"WITH and EXPLAIN in a script are read and dropped",
         "WITH x AS (SELECT 1 n) SELECT * FROM x;\nEXPLAIN SELECT * FROM console_t;\n"
         "INSERT INTO console_t VALUES (6, 'f');",
         {"6=f"},
         3},
    };
    for (const ScriptCase& c : cases) {
        SCOPED_TRACE(c.name);
        db().exec(QStringLiteral("DELETE FROM console_t"));
        db().exec(QStringLiteral("DROP PROCEDURE IF EXISTS console_p"));
        const ConsoleSession::ScriptOutcome outcome =
            m_console->runScript(SplitSqlScript(QString::fromUtf8(c.script)));
        EXPECT_EQ(outcome.executed, c.executed);
        EXPECT_EQ(outcome.error.has_value(), c.fails);
        if (outcome.error) {
            EXPECT_TRUE(outcome.error->endsWith(QStringLiteral("(1146)"))) << outcome.error->toStdString();
            EXPECT_EQ(outcome.failedLine, 2);
        }
        EXPECT_EQ(Rows(), c.rows);
        // The session answers the next statement (nothing left unread).
        EXPECT_EQ(m_console->query(QStringLiteral("SELECT 7")).text(0, 0), QStringLiteral("7"));
    }
    // The routine's body as it was typed, statements and all.
    db().exec(QStringLiteral("DROP PROCEDURE IF EXISTS console_p"));
    m_console->runScript(SplitSqlScript(QStringLiteral(
        "delimiter $$\nCREATE PROCEDURE console_p()\nBEGIN\n  SELECT 1;\n  SELECT 2;\nEND$$\ndelimiter ;")));
    const QString body = db().query(QStringLiteral("SHOW CREATE PROCEDURE console_p")).text(0, 2);
    EXPECT_TRUE(body.contains(QStringLiteral("SELECT 1;\nSELECT 2;"))) << body.toStdString();
}

TEST_F(SqlConsole, ResultsStreamOnTheConsoleSession) {
    db().exec(QStringLiteral("INSERT INTO console_t VALUES (1, 'a'), (2, 'b')"));
    Query result;
    // The session's own state is what the result sees: a variable set there.
    m_console->exec(QStringLiteral("SET @console = 'saját'"));
    m_console->openResultAndWait(result,
                                 QStringLiteral("  select id, v, @console w from console_t order by id"));
    ASSERT_EQ(result.recordCount(), 2);
    result.moveTo(1);
    EXPECT_EQ(result.asString(QStringLiteral("v")), QStringLiteral("b"));
    EXPECT_EQ(result.asString(QStringLiteral("w")), QStringLiteral("saját"));

    // Several result sets: the first is the result, the rest are read.
    m_console->exec(QStringLiteral("CREATE PROCEDURE console_p() BEGIN SELECT 10 a; SELECT 20 b, 30 c; END"));
    m_console->openResultAndWait(result, QStringLiteral("CALL console_p()"));
    EXPECT_EQ(result.asString(QStringLiteral("a")), QStringLiteral("10"));
    EXPECT_EQ(m_console->query(QStringLiteral("SELECT 1")).text(0, 0), QStringLiteral("1"));

    // A statement without rows: how many rows it changed.
    m_console->openResultAndWait(result, QStringLiteral("UPDATE console_t SET v = 'c'"));
    EXPECT_EQ(result.fieldCount(), 0);
    EXPECT_EQ(m_console->streamedAffectedRows(), 2u);

    // A failure comes as DbError with its number; the session goes on.
    EXPECT_THROW(m_console->openResultAndWait(result, QStringLiteral("SELECT * FROM no_such_table")),
                 DbError);
    EXPECT_EQ(m_console->query(QStringLiteral("SELECT 2")).text(0, 0), QStringLiteral("2"));
}

TEST_F(SqlConsole, SessionStateTypedThereNeverReachesTheProgram) {
    const QString dbName = s_db->name();
    const ConsoleSession::ScriptOutcome outcome = m_console->runScript(SplitSqlScript(
        QStringLiteral("USE mysql;\nSET NAMES utf8mb4;\nSET autocommit = 0;\nSTART TRANSACTION;\n"
                       "LOCK TABLES db READ;")));
    ASSERT_FALSE(outcome.error) << outcome.error->toStdString();
    const ResultSet state =
        m_console->query(QStringLiteral("SELECT DATABASE(), @@character_set_client, @@in_transaction"));
    EXPECT_EQ(state.text(0, 0), QStringLiteral("mysql"));
    EXPECT_EQ(state.text(0, 1), QStringLiteral("utf8mb4"));

    // The program's next write: into the shop database, in latin2, committed.
    const QString text = QString::fromUtf8("Árvíztűrő „tükör” – 100 €");
    db().exec(QStringLiteral("INSERT INTO console_t VALUES (9, ") + QuoteSqlText(text) + u')');
    EXPECT_EQ(db().query(QStringLiteral("SELECT DATABASE()")).text(0, 0), dbName);
    EXPECT_FALSE(db().inTransaction());
    std::unique_ptr<Connection> other = s_db->connect();
    const ResultSet seen = other->query(QStringLiteral("SELECT HEX(v), v FROM console_t WHERE id = 9"));
    ASSERT_EQ(seen.rowCount(), 1);
    EXPECT_EQ(seen.text(0, 0), QString::fromLatin1(ToCp1250(text).toHex().toUpper()));
    EXPECT_EQ(seen.text(0, 1), text);

    // Closing the console ends its session (its locks and transaction with it).
    m_console.reset();
    other->exec(QStringLiteral("INSERT INTO console_t VALUES (10, 'x')"));
    EXPECT_EQ(Rows().size(), 2);
}

TEST_F(SqlConsole, TableModeWritesOneColumnOfOneRowByItsKey) {
    db().exec(QStringLiteral("SET SESSION sql_mode = ''"));
    db().exec(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, dat_utolso, kedvezmeny) VALUES (901, "
                             "'Teszt Elek', '0000-00-00', "
                             "0.1), (902, 'Másik', NULL, 2.5)"));
    const auto bytes = [] {
        return db().query(
            QStringLiteral("SELECT HEX(CONCAT_WS('|', ugyfel, dat_utolso, kedvezmeny, ugyfel_nev)) "
                           "FROM ugyfel WHERE ugyfel IN (901, 902) ORDER BY ugyfel"));
    };
    const ResultSet before = bytes();

    Query rows;
    ConsoleTableModel table(*m_console, rows, QStringLiteral("ugyfel"));
    EXPECT_TRUE(table.isEditable());
    EXPECT_EQ(table.primaryKey(), QStringList{QStringLiteral("ugyfel")});
    int row = -1;
    for (int r = 0; r < table.rowCount(); ++r)
        if (table.index(r, rows.fieldIndex(QStringLiteral("ugyfel"))).data().toString() == u"901")
            row = r;
    ASSERT_GE(row, 0);
    const int name = rows.fieldIndex(QStringLiteral("ugyfel_nev"));
    ASSERT_TRUE(table.setData(table.index(row, name), QString::fromUtf8("Teszt Előd")));
    EXPECT_EQ(table.index(row, name).data().toString(), QString::fromUtf8("Teszt Előd"));

    const ResultSet after = bytes();
    EXPECT_EQ(after.text(1, 0), before.text(1, 0)); // the other row untouched
    // Key, zero date and double byte for byte; only the name changed.
    const QByteArray was = QByteArray::fromHex(before.text(0, 0).toLatin1());
    const QByteArray now = QByteArray::fromHex(after.text(0, 0).toLatin1());
    EXPECT_EQ(now.left(now.lastIndexOf('|')), was.left(was.lastIndexOf('|')));
    EXPECT_EQ(FromCp1250(now.mid(now.lastIndexOf('|') + 1)), QString::fromUtf8("Teszt Előd"));

    // Another workstation changed the cell meanwhile: nothing is written.
    db().exec(QStringLiteral("UPDATE ugyfel SET ugyfel_nev = 'Közben' WHERE ugyfel = 901"));
    EXPECT_FALSE(table.writeCell(row, name, QStringLiteral("Harmadik")));
    EXPECT_EQ(table.lastError(), console_text::RowNotWritten);
    EXPECT_EQ(db().query(QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE ugyfel = 901")).text(0, 0),
              QString::fromUtf8("Közben"));
    EXPECT_EQ(m_console->query(QStringLiteral("SELECT @@in_transaction")).text(0, 0), QStringLiteral("0"));

    // A table without a primary key opens read-only.
    db().exec(QStringLiteral("CREATE TABLE IF NOT EXISTS console_nokey (a INT, b VARCHAR(5))"));
    db().exec(QStringLiteral("INSERT INTO console_nokey VALUES (1, 'a')"));
    Query other;
    ConsoleTableModel nokey(*m_console, other, QStringLiteral("console_nokey"));
    EXPECT_FALSE(nokey.isEditable());
    EXPECT_FALSE(nokey.flags(nokey.index(0, 0)) & Qt::ItemIsEditable);

    // A table that does not exist: the server's error.
    Query missing;
    EXPECT_THROW(ConsoleTableModel(*m_console, missing, QStringLiteral("no_such_table")), DbError);
    db().exec(QStringLiteral("DELETE FROM ugyfel WHERE ugyfel IN (901, 902)"));
    db().exec(QStringLiteral("SET SESSION sql_mode = DEFAULT"));
}
