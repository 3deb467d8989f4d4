// The data-access layer against the private server: text through the
// connection, collation, reconnecting, errors, datasets, row editing and the
// grid model.
#include "TestDatabase.h"
#include "components/Cp1250.h"
#include "components/DatasetModel.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <optional>

using namespace kml;
using kml::test::TestDatabase;

namespace {

class DataAccess : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("dataaccess"), TestDatabase::Contents::Empty);
        db->connection().exec(QStringLiteral(
            "CREATE TABLE szoveg (szoveg INT AUTO_INCREMENT PRIMARY KEY, nev VARCHAR(50), ertek DOUBLE, "
            "datum DATE, ido DATETIME, megj TEXT, jel CHAR(1) NOT NULL DEFAULT 'N') "
            "ENGINE=InnoDB CHARACTER SET latin2 COLLATE latin2_hungarian_ci"));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override { conn().exec(QStringLiteral("TRUNCATE szoveg")); }
    static Connection& conn() { return db->connection(); }
    static inline TestDatabase* db = nullptr;
};

TEST_F(DataAccess, HungarianTextRoundTripsByteForByte) {
    const QString text = QStringLiteral("árvíztűrő tükörfúrógép ŐŰ „idézet” €");
    conn().exec(QStringLiteral("INSERT INTO szoveg (nev) VALUES (%1)").arg(SqlLiteral(text)));
    const ResultSet rs = conn().query(QStringLiteral("SELECT nev, HEX(nev) FROM szoveg"));
    ASSERT_EQ(rs.rowCount(), 1);
    EXPECT_EQ(rs.text(0, 0), text);
    EXPECT_EQ(rs.raw(0, 0).toByteArray(), ToCp1250(text));
    EXPECT_EQ(rs.text(0, 1), QString::fromLatin1(ToCp1250(text).toHex().toUpper()));
}

TEST_F(DataAccess, SessionUsesHungarianCollation) {
    const ResultSet rs = conn().query(
        QStringLiteral("SELECT @@character_set_connection, @@collation_connection, @@character_set_results"));
    EXPECT_EQ(rs.text(0, 0), "latin2");
    EXPECT_EQ(rs.text(0, 1), "latin2_hungarian_ci");
    EXPECT_EQ(rs.text(0, 2), "latin2");

    for (const char* name : {"Ödön", "Oszkár", "Zoltán", "Ábel", "Olga"})
        conn().exec(
            QStringLiteral("INSERT INTO szoveg (nev) VALUES (%1)").arg(SqlLiteral(QString::fromUtf8(name))));
    const ResultSet sorted = conn().query(QStringLiteral("SELECT nev FROM szoveg ORDER BY nev"));
    QStringList names;
    for (int r = 0; r < sorted.rowCount(); ++r)
        names << sorted.text(r, 0);
    EXPECT_EQ(names, (QStringList{"Ábel", "Olga", "Oszkár", "Ödön", "Zoltán"}));

    conn().exec(QStringLiteral("INSERT INTO szoveg (nev) VALUES ('árvíztűrő')"));
    const ResultSet like =
        conn().query(QStringLiteral("SELECT COUNT(*) FROM szoveg WHERE nev LIKE '%TŰRŐ%'"));
    EXPECT_EQ(like.value(0, 0).toInt(), 1);
}

TEST_F(DataAccess, KilledConnectionReconnectsWithCollation) {
    auto other = db->connect();
    const unsigned long before = conn().threadId();
    other->exec(QStringLiteral("KILL %1").arg(before));
    // The next statement runs on a new session with the Hungarian collation.
    const ResultSet rs = conn().query(QStringLiteral("SELECT @@collation_connection, CONNECTION_ID()"));
    EXPECT_EQ(rs.text(0, 0), "latin2_hungarian_ci");
    EXPECT_NE(rs.value(0, 1).toULongLong(), before);
    EXPECT_EQ(conn().threadId(), rs.value(0, 1).toULongLong());
}

TEST_F(DataAccess, ServerErrorTextEndsWithNumber) {
    try {
        conn().exec(QStringLiteral("SELECT * FROM nincsilyen"));
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), 1146u);
        EXPECT_TRUE(e.text().endsWith(QStringLiteral(" (1146)"))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("nincsilyen")));
    }
    // The connection goes on working after an error.
    EXPECT_EQ(conn().query(QStringLiteral("SELECT 1")).value(0, 0).toInt(), 1);
}

TEST_F(DataAccess, UnreachableServerFailsWithClientErrorNumber) {
    ConnectionOptions o = db->options();
    o.port = 1; // nothing listens there
    o.connectTimeout = 2;
    Connection c;
    try {
        c.open(o);
        FAIL() << "connected";
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), 2002u) << e.text().toStdString();
    }
    EXPECT_FALSE(c.isOpen());
}

TEST_F(DataAccess, ProcedureResultIsReadAndStatusDrained) {
    conn().exec(QStringLiteral("DROP PROCEDURE IF EXISTS sp_proba"));
    conn().exec(QStringLiteral("CREATE PROCEDURE sp_proba(IN pdb INT) BEGIN SELECT seq AS sor, "
                               "CONCAT('sor ', seq) AS nev FROM seq_1_to_1000 WHERE seq <= pdb; END"));
    Query q(&conn());
    q.setSql(QStringLiteral("CALL sp_proba(:pdb);"));
    q.setParam(QStringLiteral("pdb"), 3);
    q.open();
    EXPECT_EQ(q.recordCount(), 3);
    EXPECT_EQ(q.asString(QStringLiteral("nev")), "sor 1");
    // No "Commands out of sync": the status result was drained.
    EXPECT_EQ(conn().query(QStringLiteral("SELECT 2")).value(0, 0).toInt(), 2);
    conn().exec(QStringLiteral("CALL sp_proba(2)"));
    EXPECT_EQ(conn().query(QStringLiteral("SELECT 3")).value(0, 0).toInt(), 3);
}

TEST_F(DataAccess, QueryBindsParametersAsLiterals) {
    Query q(&conn());
    q.setSql(QStringLiteral("SELECT :ptext AS t, :pint AS i, :pfloat AS f, :pdatum AS d, :pnull AS n,\n"
                            "  ':ptext' AS literal, :pint2 AS i2"));
    const QString tricky = QStringLiteral("O'Brien \\ 100% _x_\r\n„ő”");
    q.setParam(QStringLiteral("ptext"), tricky);
    q.setParam(QStringLiteral("pint"), 42);
    q.setParam(QStringLiteral("pint2"), 7);
    q.setParam(QStringLiteral(":pfloat"), 12.5);
    q.setParam(QStringLiteral("pdatum"), QDate(2026, 12, 10));
    q.setParam(QStringLiteral("pnull"), QVariant());
    q.open();
    EXPECT_EQ(q.asString(QStringLiteral("t")), tricky);
    EXPECT_EQ(q.asInt(QStringLiteral("i")), 42);
    EXPECT_EQ(q.asInt(QStringLiteral("i2")), 7);
    EXPECT_DOUBLE_EQ(q.asFloat(QStringLiteral("f")), 12.5);
    EXPECT_EQ(q.asString(QStringLiteral("d")), "2026-12-10");
    EXPECT_TRUE(q.isNull(QStringLiteral("n")));
    EXPECT_EQ(q.asString(QStringLiteral("literal")), ":ptext");
}

TEST_F(DataAccess, QueryNavigatesLocatesAndRefreshesInPlace) {
    for (const char* name : {"Kovács Anna", "Szabó Béla", "Kiss Ödön", "Nagy Éva"})
        conn().exec(QStringLiteral("INSERT INTO szoveg (nev, ertek, datum) VALUES (%1, 1234.5, '2026-01-31')")
                        .arg(SqlLiteral(QString::fromUtf8(name))));
    Query q(&conn());
    q.setSql(QStringLiteral("SELECT * FROM szoveg\nWHERE szoveg <> 0\nORDER BY nev;"));
    QSignalSpy moved(&q, &Query::currentChanged);
    q.open();
    EXPECT_EQ(q.recordCount(), 4);
    EXPECT_EQ(q.recNo(), 1);
    EXPECT_TRUE(q.bof());
    EXPECT_EQ(q.asString(QStringLiteral("nev")), "Kiss Ödön");

    EXPECT_TRUE(q.locate(QStringLiteral("nev"), QStringLiteral("szab"), true));
    EXPECT_EQ(q.asString(QStringLiteral("nev")), "Szabó Béla");
    EXPECT_FALSE(q.locate(QStringLiteral("nev"), QStringLiteral("zzz"), true));
    EXPECT_EQ(q.asString(QStringLiteral("nev")), "Szabó Béla");
    q.last();
    EXPECT_TRUE(q.eof());
    q.next();
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.recNo(), 4);

    const qlonglong key = q.asInt(QStringLiteral("szoveg"));
    q.first();
    ASSERT_TRUE(q.locate(QStringLiteral("szoveg"), key));
    conn().exec(QStringLiteral("INSERT INTO szoveg (nev) VALUES ('Antal Ádám')"));
    q.refresh(QStringLiteral("szoveg"));
    EXPECT_EQ(q.recordCount(), 5);
    EXPECT_EQ(q.asInt(QStringLiteral("szoveg")), key);
    EXPECT_GT(moved.count(), 0);

    q.fieldByName(QStringLiteral("ertek")).displayFormat = QStringLiteral("### ### ##0.00");
    EXPECT_EQ(q.displayText(q.row(), q.fieldIndex(QStringLiteral("ertek"))), "1 234,50");
    EXPECT_EQ(q.displayText(q.row(), q.fieldIndex(QStringLiteral("datum"))), "2026.01.31");
    // Field settings survive closing and reopening.
    q.close();
    q.open();
    EXPECT_EQ(q.fieldByName(QStringLiteral("ertek")).displayFormat, "### ### ##0.00");
}

TEST_F(DataAccess, TableInsertsUpdatesChangedColumnsAndCancels) {
    Table t(QStringLiteral("szoveg"), &conn());
    t.startNew();
    EXPECT_EQ(t.maxLength(QStringLiteral("nev")), 50);
    t.setValue(QStringLiteral("nev"), QStringLiteral("Első"));
    t.setValue(QStringLiteral("ertek"), 2.5);
    const QVariant key = t.post();
    EXPECT_GT(key.toLongLong(), 0);
    EXPECT_FALSE(t.isNew());
    EXPECT_EQ(t.value(QStringLiteral("jel")).toString(), "N"); // server default read back

    // Another workstation changes a column this editor does not touch.
    conn().exec(
        QStringLiteral("UPDATE szoveg SET megj = 'másik gép' WHERE szoveg = %1").arg(key.toLongLong()));
    t.setValue(QStringLiteral("nev"), QStringLiteral("Második"));
    EXPECT_TRUE(t.isModified(QStringLiteral("nev")));
    EXPECT_FALSE(t.isModified(QStringLiteral("ertek")));
    t.post();
    const ResultSet rs = conn().query(
        QStringLiteral("SELECT nev, megj, ertek FROM szoveg WHERE szoveg = %1").arg(key.toLongLong()));
    EXPECT_EQ(rs.text(0, 0), "Második");
    EXPECT_EQ(rs.text(0, 1), "másik gép");
    EXPECT_DOUBLE_EQ(rs.value(0, 2).toDouble(), 2.5);

    t.setValue(QStringLiteral("nev"), QStringLiteral("Eldobott"));
    t.cancel();
    EXPECT_EQ(t.value(QStringLiteral("nev")).toString(), "Második");
    EXPECT_FALSE(t.isModified());

    Table missing(QStringLiteral("szoveg"), &conn());
    EXPECT_FALSE(missing.load(999999));
}

// Saving over another workstation's work: a row deleted, or the column being
// saved changed meanwhile, is refused and nothing is written; a value read
// back exactly (a double of 17 digits, a NULL) never looks changed.
TEST_F(DataAccess, TableRefusesToSaveARowChangedOrDeletedMeanwhile) {
    const auto other = db->connect();
    struct Case {
        const char* name;
        const char* otherChange; // run on the other connection after loading; %1 the key
        std::optional<StaleRowError::Reason> refused;
    };
    const Case cases[] = {
        {"nothing meanwhile", "", std::nullopt},
        {"another column changed", "UPDATE szoveg SET megj = 'más' WHERE szoveg = %1", std::nullopt},
        {"the same column changed", "UPDATE szoveg SET nev = 'Más' WHERE szoveg = %1",
         StaleRowError::Reason::Changed},
        {"the same column set to what we write", "UPDATE szoveg SET nev = 'Új' WHERE szoveg = %1",
         StaleRowError::Reason::Changed},
        {"deleted", "DELETE FROM szoveg WHERE szoveg = %1", StaleRowError::Reason::Deleted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        conn().exec(QStringLiteral("INSERT INTO szoveg (nev, ertek) VALUES ('Régi', 0.1 + 0.2)"));
        const qlonglong key = qlonglong(conn().lastInsertId());
        Table t(QStringLiteral("szoveg"), &conn());
        ASSERT_TRUE(t.load(key));
        if (*c.otherChange)
            other->exec(QString::fromUtf8(c.otherChange).arg(key));
        t.setValue(QStringLiteral("nev"), QStringLiteral("Új"));
        t.setValue(QStringLiteral("ertek"), t.value(QStringLiteral("ertek")).toDouble() * 2);
        t.setValue(QStringLiteral("megj"), QVariant()); // NULL compared as NULL
        if (!c.refused) {
            EXPECT_NO_THROW(t.post());
            EXPECT_EQ(
                conn().query(QStringLiteral("SELECT nev FROM szoveg WHERE szoveg = %1").arg(key)).text(0, 0),
                "Új");
            continue;
        }
        try {
            t.post();
            ADD_FAILURE() << "saved over the other workstation's change";
        } catch (const StaleRowError& e) {
            EXPECT_EQ(e.reason(), *c.refused);
        }
        const ResultSet rs =
            conn().query(QStringLiteral("SELECT ertek FROM szoveg WHERE szoveg = %1").arg(key));
        if (rs.rowCount() > 0) {
            EXPECT_DOUBLE_EQ(rs.value(0, 0).toDouble(), 0.1 + 0.2) << "nothing of ours was written";
        }
    }
}

TEST_F(DataAccess, ModelPassesTheModelTesterAndFollowsTheQuery) {
    for (int i = 0; i < 30; ++i)
        conn().exec(QStringLiteral("INSERT INTO szoveg (nev, ertek) VALUES ('n%1', %1)").arg(i));
    Query q(&conn());
    q.setSql(QStringLiteral("SELECT szoveg, nev, ertek FROM szoveg\nWHERE szoveg <> 0\nORDER BY szoveg;"));
    DatasetModel model(&q);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    q.open();
    EXPECT_EQ(model.rowCount(), 30);
    EXPECT_EQ(model.columnCount(), 3);
    model.setColumns({{QStringLiteral("nev"), QStringLiteral("Név"), 2}, {QStringLiteral("ertek"), {}, 1}});
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Név");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "ertek");
    EXPECT_EQ(model.data(model.index(3, 0)).toString(), "n3");
    model.setHighlightColumn(1);
    EXPECT_EQ(model.data(model.index(0, 1), Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0xFF, 0xB9));
    model.setRowStyler([](const Query& query, int row) {
        RowStyle s;
        if (query.result().value(row, 0).toInt() % 2 == 0)
            s.background = QColor(1, 2, 3);
        return s;
    });
    const QVariant bg = model.data(model.index(1, 0), Qt::BackgroundRole);
    ASSERT_TRUE(bg.isValid());
    q.sql()[1] = QStringLiteral("WHERE szoveg <= 10");
    q.close();
    q.open();
    EXPECT_EQ(model.rowCount(), 10);
    q.close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(DataAccess, LargeResultIsHeldCompactly) {
    // 200,000 rows shaped like a work-sheet list row.
    const ResultSet rs = conn().query(QStringLiteral(
        "SELECT seq AS munkalap, LPAD(seq, 5, '0') AS munkalapstr, CONCAT('Ügyfél ', seq MOD 5000) AS "
        "ugyfel_nev, "
        "CURDATE() - INTERVAL (seq MOD 365) DAY AS datum, seq MOD 5 AS statusz, seq * 1.5 AS ar_ossz, "
        "IF(seq MOD 3 = 0, NULL, 'Javítás, csere') AS panasz, 'N' AS storno "
        "FROM seq_1_to_200000"));
    ASSERT_EQ(rs.rowCount(), 200000);
    // Bytes as received: the values plus one length byte per field.
    const double received = double(rs.dataBytes()) + 200000.0 * rs.columnCount();
    const double ratio = double(rs.memoryBytes()) / received;
    RecordProperty("memory_bytes", std::to_string(rs.memoryBytes()));
    RecordProperty("data_bytes", std::to_string(rs.dataBytes()));
    std::printf("200,000 rows: %llu bytes held for %llu bytes of values (%.2fx the received size)\n",
                (unsigned long long)rs.memoryBytes(), (unsigned long long)rs.dataBytes(), ratio);
    EXPECT_LT(ratio, 1.3);
    EXPECT_EQ(rs.text(199999, 2), "Ügyfél 0");
    EXPECT_TRUE(rs.isNull(2, 6));
}

} // namespace
