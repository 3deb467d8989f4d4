// Queries opened with openAsync(): rows arrive in batches on a stream link
// while the event loop runs, end up exactly as a blocking open() reads them,
// and a new opening abandons the running statement on the server without
// letting any of its rows through.
#include "TestDatabase.h"
#include "components/Connection.h"
#include "components/DatasetModel.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/StreamingStatement.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace kml;
using kml::test::TestDatabase;

namespace {

constexpr int kRows = 40000;

class StreamingQuery : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("streaming"), TestDatabase::Contents::Empty);
        // Rows of about a hundred bytes with Hungarian text, NULLs and a
        // number, enough for many batches through the compressed protocol.
        conn().exec("CREATE TABLE sor (sor INT PRIMARY KEY, nev VARCHAR(100), megj TEXT, ertek DOUBLE) "
                    "ENGINE=InnoDB CHARACTER SET latin2 COLLATE latin2_hungarian_ci");
        conn().exec(
            QStringLiteral(
                "INSERT INTO sor SELECT seq, CONCAT('Árvíztűrő tükörfúrógép ', seq), "
                "IF(seq MOD 7 = 0, NULL, REPEAT(CONCAT(CHAR(65 + seq MOD 26), 'ő'), 1 + seq MOD 40)), "
                "seq / 8 FROM seq_1_to_%1")
                .arg(kRows));
        conn().exec(
            "CREATE PROCEDURE sp_sorok(IN pdb INT) SELECT sor, nev FROM sor WHERE sor <= pdb ORDER BY sor");
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    static Connection& conn() { return db->connection(); }
    static inline TestDatabase* db = nullptr;

    // Runs the event loop until done() or the time is up.
    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 60000) {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        }
        return true;
    }

    // The statements of this database the server is running right now.
    static QStringList Running(const QString& marker) {
        const ResultSet rs = conn().query(
            QStringLiteral("SELECT INFO FROM information_schema.PROCESSLIST WHERE INFO LIKE %1 AND ID <> "
                           "CONNECTION_ID()")
                .arg(QuoteSqlText(QLatin1Char('%') + marker + QLatin1Char('%'))));
        QStringList result;
        for (int r = 0; r < rs.rowCount(); ++r)
            result << rs.text(r, 0);
        return result;
    }
};

void ExpectSameRows(const ResultSet& actual, const ResultSet& expected) {
    ASSERT_EQ(actual.columnCount(), expected.columnCount());
    ASSERT_EQ(actual.rowCount(), expected.rowCount());
    for (int c = 0; c < expected.columnCount(); ++c)
        EXPECT_EQ(actual.column(c).name, expected.column(c).name);
    for (int r = 0; r < expected.rowCount(); ++r)
        for (int c = 0; c < expected.columnCount(); ++c)
            if (actual.isNull(r, c) != expected.isNull(r, c) || actual.raw(r, c) != expected.raw(r, c)) {
                ADD_FAILURE() << "row " << r << " column " << c;
                return;
            }
}

TEST_F(StreamingQuery, RowsArriveInBatchesAndEndAsABlockingOpenReadsThem) {
    const QString sql = QStringLiteral("SELECT * FROM sor\nWHERE sor > 0\nORDER BY sor DESC");
    Query blocking;
    blocking.setSql(sql);
    blocking.open();

    Query q;
    q.setSql(sql);
    DatasetModel model(&q);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<std::pair<int, int>> batches;
    QStringList events;
    int modelRowsAtFirstBatch = -1;
    QObject::connect(&q, &Query::opened, [&] { events << QStringLiteral("opened %1").arg(q.recordCount()); });
    QObject::connect(&q, &Query::currentChanged,
                     [&](int row) { events << QStringLiteral("current %1").arg(row); });
    QObject::connect(&q, &Query::rowsArrived, [&](int first, int last) {
        if (batches.empty())
            events << QStringLiteral("rows from %1").arg(first);
        batches.emplace_back(first, last);
    });
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] {
        if (modelRowsAtFirstBatch < 0)
            modelRowsAtFirstBatch = model.rowCount();
    });
    QSignalSpy finished(&q, &Query::finished);

    q.openAsync();
    EXPECT_TRUE(q.isFetching());
    EXPECT_FALSE(q.isActive()); // nothing has arrived yet
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));

    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(q.isComplete());
    ExpectSameRows(q.result(), blocking.result());
    EXPECT_EQ(model.rowCount(), kRows);
    // Opened with its fields before any row, then the first batch and the
    // move to its first row.
    ASSERT_GE(events.size(), 3);
    EXPECT_EQ(events.mid(0, 3), (QStringList{"opened 0", "rows from 0", "current 0"}));
    // The batches follow one another without gap or overlap; the first is a
    // screenful, not the whole result.
    ASSERT_GT(batches.size(), 2u);
    int next = 0;
    for (const auto& [first, last] : batches) {
        EXPECT_EQ(first, next);
        EXPECT_GE(last, first);
        next = last + 1;
    }
    EXPECT_EQ(next, kRows);
    EXPECT_LT(batches.front().second + 1, kRows);
    EXPECT_EQ(modelRowsAtFirstBatch, batches.front().second + 1);
    EXPECT_EQ(q.asInt("sor"), kRows);

    // The same query opened again, blocking, and refreshed: the stream left
    // nothing behind on either connection.
    q.close();
    q.open();
    EXPECT_EQ(q.recordCount(), kRows);
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_EQ(q.recordCount(), kRows);
    EXPECT_EQ(conn().query("SELECT COUNT(*) FROM sor").text(0, 0), QString::number(kRows));
}

TEST_F(StreamingQuery, ANewOpeningAbandonsTheRunningOneAndNoneOfItsRowsAppear) {
    // Each statement marks its rows with its own text, as a search does with
    // the typed text; a slow first one is still running when the next comes.
    Query q;
    std::vector<QString> markersSeen;
    QObject::connect(&q, &Query::rowsArrived, [&](int first, int last) {
        for (int r = first; r <= last; ++r)
            markersSeen.push_back(q.result().text(r, 0));
    });
    QSignalSpy finished(&q, &Query::finished);
    const QStringList typed{"k", "ko", "kov", "kova", "kovác", "kovács"};
    for (const QString& text : typed) {
        markersSeen.clear();
        q.setSql(
            QStringLiteral("SELECT %1 AS jel, sor, nev FROM sor WHERE SLEEP(IF(sor = 1, 0.3, 0)) = 0 AND "
                           "sor <= %2 ORDER BY sor")
                .arg(QuoteSqlText(text))
                .arg(20000 + text.size()));
        q.openAsync();
        // The next keystroke comes before this statement is through.
        QElapsedTimer typing;
        typing.start();
        while (typing.elapsed() < 40)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(q.recordCount(), 20006);
    EXPECT_EQ(q.asString("jel"), QStringLiteral("kovács"));
    for (const QString& marker : markersSeen)
        ASSERT_EQ(marker, QStringLiteral("kovács"));
    // The abandoned statements were stopped on the server, not left to run.
    EXPECT_TRUE(WaitFor([] { return Running(QStringLiteral("AS jel")).isEmpty(); }, 10000));
    EXPECT_LE(conn().streamLinks()->idleCount(), StreamLinks::MaxIdle);
}

TEST_F(StreamingQuery, AnAbandonedLongStatementStopsAtOnce) {
    Query q;
    q.setSql("SELECT SLEEP(20) AS alszik");
    q.openAsync();
    ASSERT_TRUE(WaitFor([] { return !Running(QStringLiteral("SLEEP(20)")).isEmpty(); }, 10000));
    QElapsedTimer timer;
    timer.start();
    q.setSql("SELECT 'ébren' AS allapot");
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }, 15000));
    EXPECT_LT(timer.elapsed(), 15000);
    EXPECT_EQ(q.asString("allapot"), QString::fromUtf8("ébren"));
    EXPECT_TRUE(WaitFor([] { return Running(QStringLiteral("SLEEP(20)")).isEmpty(); }, 10000));

    // Closing, cancelling and destroying a query also stop its statement.
    for (int how = 0; how < 3; ++how) {
        auto query = std::make_unique<Query>();
        query->setSql("SELECT SLEEP(20) AS alszik");
        query->openAsync();
        ASSERT_TRUE(WaitFor([] { return !Running(QStringLiteral("SLEEP(20)")).isEmpty(); }, 10000));
        QSignalSpy finishedSpy(query.get(), &Query::finished);
        if (how == 0)
            query->close();
        else if (how == 1)
            query->cancel();
        else
            query.reset();
        EXPECT_TRUE(WaitFor([] { return Running(QStringLiteral("SLEEP(20)")).isEmpty(); }, 10000)) << how;
        if (query) {
            EXPECT_FALSE(query->isFetching());
            EXPECT_FALSE(query->isActive());
            EXPECT_EQ(finishedSpy.count(), 0);
        }
    }
}

TEST_F(StreamingQuery, CancelKeepsTheRowsReceivedSoFar) {
    Query q;
    // The server stops at row 30000 for a long while; what it sent before
    // arrives in the meantime.
    q.setSql("SELECT sor FROM sor WHERE SLEEP(IF(sor = 30000, 20, 0)) = 0 ORDER BY sor");
    q.stream().setBatching(100, 0);
    QSignalSpy finished(&q, &Query::finished);
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return q.recordCount() >= 20000; }));
    q.cancel();
    EXPECT_FALSE(q.isFetching());
    EXPECT_TRUE(q.isActive());
    EXPECT_FALSE(q.isComplete());
    const int kept = q.recordCount();
    EXPECT_GE(kept, 20000);
    EXPECT_LT(kept, 30000);
    EXPECT_TRUE(WaitFor([] { return Running(QStringLiteral("SLEEP(IF(sor = 30000")).isEmpty(); }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(q.recordCount(), kept);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(q.locate("sor", kept));
    EXPECT_FALSE(q.locate("sor", kept + 1));
}

TEST_F(StreamingQuery, FailuresAreReportedAndTheNextOpeningWorks) {
    Query q;
    QSignalSpy failed(&q, &Query::failed);
    q.setSql("SELECT * FROM nincs_ilyen");
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(1).toUInt(), 1146u);
    EXPECT_TRUE(failed.at(0).at(0).toString().contains("nincs_ilyen"));
    EXPECT_FALSE(q.isActive());

    // A statement that fails halfway through its rows.
    q.setSql("SELECT sor, IF(sor < 5000, sor, (SELECT sor FROM sor)) AS x FROM sor ORDER BY sor");
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(failed.at(1).at(1).toUInt(), 1242u); // subquery returns more than one row
    EXPECT_FALSE(q.isActive());

    // The stream link the server dropped is opened again.
    q.setSql("SELECT CONNECTION_ID() AS szal");
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    const QString thread = q.asString("szal");
    conn().exec(QStringLiteral("KILL CONNECTION %1").arg(thread));
    q.setSql("SELECT sor, nev FROM sor WHERE sor <= 3 ORDER BY sor");
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_EQ(failed.count(), 2);
    EXPECT_EQ(q.recordCount(), 3);
}

TEST_F(StreamingQuery, ProceduresAndStatementsWithoutRows) {
    Query q;
    q.setSql("CALL sp_sorok(1500)");
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_TRUE(q.isComplete());
    EXPECT_EQ(q.recordCount(), 1500);
    EXPECT_EQ(q.fieldCount(), 2);

    q.setSql("UPDATE sor SET ertek = ertek WHERE sor = 1");
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_TRUE(q.isComplete());
    EXPECT_EQ(q.fieldCount(), 0);
    EXPECT_EQ(q.recordCount(), 0);

    // The link went back clean: the next statement on it works.
    q.setSql("CALL sp_sorok(2)");
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_EQ(q.recordCount(), 2);
}

TEST_F(StreamingQuery, APreludeDecidesTheStatementAndIsNotTheQuerysRows) {
    Query q;
    q.setSql("SELECT * FROM sor\nWHERE sor > 0\nORDER BY sor");
    const QStringList design = q.sql();
    std::vector<std::pair<int, int>> batches;
    QObject::connect(&q, &Query::rowsArrived,
                     [&](int first, int last) { batches.emplace_back(first, last); });
    QSignalSpy opened(&q, &Query::opened);
    QSignalSpy failed(&q, &Query::failed);
    QueryPrelude prelude;
    prelude.sql = {"SELECT sor FROM sor WHERE sor MOD 1000 = 0"};
    prelude.statement = [](const ResultSet& keys) {
        QStringList list;
        for (int r = 0; r < keys.rowCount(); ++r)
            list << keys.text(r, 0);
        return QStringList{
            QStringLiteral("SELECT * FROM sor WHERE sor IN (%1) ORDER BY sor DESC").arg(list.join(','))};
    };
    q.openAsync(prelude);
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_EQ(failed.count(), 0);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(q.fieldCount(), 4); // the query's columns, not the prelude's
    EXPECT_EQ(q.recordCount(), kRows / 1000);
    ASSERT_FALSE(batches.empty());
    EXPECT_EQ(batches.front().first, 0);
    EXPECT_EQ(q.asInt("sor"), kRows);
    EXPECT_EQ(q.sql(), design);
    // Read at once the same way, and refreshed keeping the row.
    Query blocking;
    blocking.setSql(design.join('\n'));
    blocking.open(prelude);
    ExpectSameRows(blocking.result(), q.result());
    ASSERT_TRUE(blocking.locate("sor", 39000));
    blocking.refresh("sor", prelude);
    EXPECT_EQ(blocking.recordCount(), kRows / 1000);
    EXPECT_EQ(blocking.asInt("sor"), 39000);

    // A failing prelude fails the opening; a new opening abandons a prelude still running.
    prelude.sql = {"SELECT sor FROM nincs_ilyen"};
    q.openAsync(prelude);
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(1).toUInt(), 1146u);
    EXPECT_FALSE(q.isActive());
    prelude.sql = {"SELECT SLEEP(20) AS sor"};
    q.openAsync(prelude);
    ASSERT_TRUE(WaitFor([] { return !Running(QStringLiteral("SLEEP(20) AS sor")).isEmpty(); }, 10000));
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_EQ(q.recordCount(), kRows);
    EXPECT_TRUE(WaitFor([] { return Running(QStringLiteral("SLEEP(20) AS sor")).isEmpty(); }, 10000));
}

TEST_F(StreamingQuery, APreludesNextPartsAppendTheirRows) {
    // Three parts, the keys from the top down in steps: each part's rows go
    // after the earlier ones', announced once, and the opening ends after
    // the last part; a part naming no key adds nothing.
    Query q;
    q.setSql("SELECT * FROM sor\nWHERE sor > 0\nORDER BY sor DESC");
    std::vector<std::pair<int, int>> batches;
    QObject::connect(&q, &Query::rowsArrived,
                     [&](int first, int last) { batches.emplace_back(first, last); });
    QSignalSpy opened(&q, &Query::opened);
    QSignalSpy finished(&q, &Query::finished);
    std::function<QueryPrelude(int)> part = [&](int below) {
        QueryPrelude p;
        p.sql = QStringList{
            QStringLiteral(
                "SELECT sor FROM sor WHERE sor < %1 AND sor MOD 7 = 0 ORDER BY sor DESC LIMIT 2000")
                .arg(below)};
        p.statement = [](const ResultSet& keys) {
            QStringList list{QStringLiteral("0")};
            for (int r = 0; r < keys.rowCount(); ++r)
                list << keys.text(r, 0);
            return QStringList{
                QStringLiteral("SELECT * FROM sor WHERE sor IN (%1) ORDER BY sor DESC").arg(list.join(','))};
        };
        p.next = [&part](const ResultSet& keys) {
            return keys.rowCount() < 2000 ? QueryPrelude{} : part(keys.value(keys.rowCount() - 1, 0).toInt());
        };
        return p;
    };
    q.openAsync(part(kRows + 1));
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(finished.count(), 1);
    Query blocking;
    blocking.setSql("SELECT * FROM sor WHERE sor MOD 7 = 0 ORDER BY sor DESC");
    blocking.open();
    ExpectSameRows(q.result(), blocking.result());
    EXPECT_EQ(q.recordCount(), blocking.recordCount());
    int next = 0;
    for (const auto& [first, last] : batches) {
        EXPECT_EQ(first, next);
        next = last + 1;
    }
    EXPECT_EQ(next, blocking.recordCount());
    EXPECT_EQ(q.asInt("sor"), blocking.result().value(0, 0).toInt());
}

// The statements of the rows of sor whose numbers are in [from, to) and
// multiples of step, highest first.
QString SorRange(int from, int to, int step, const char* columns = "*") {
    return QStringLiteral(
               "SELECT %1 FROM sor WHERE sor >= %2 AND sor < %3 AND sor MOD %4 = 0 ORDER BY sor DESC")
        .arg(QLatin1String(columns))
        .arg(from)
        .arg(to)
        .arg(step);
}

TEST_F(StreamingQuery, TheStatementsOfAStepRunSideBySideAndKeepTheirOrder) {
    Query q;
    q.setSql("SELECT * FROM sor\nWHERE sor > 0\nORDER BY sor DESC");
    std::vector<std::pair<int, int>> batches;
    QObject::connect(&q, &Query::rowsArrived,
                     [&](int first, int last) { batches.emplace_back(first, last); });
    QSignalSpy opened(&q, &Query::opened);
    QSignalSpy finished(&q, &Query::finished);
    QSignalSpy failed(&q, &Query::failed);

    // The server runs them at the same time; a new opening stops them all.
    QueryPrelude sleeping;
    sleeping.sql = {"SELECT SLEEP(20) AS sor", "SELECT SLEEP(20) + 1 AS sor"};
    q.openAsync(sleeping);
    ASSERT_TRUE(WaitFor([] { return Running(QStringLiteral("SLEEP(20)")).size() == 2; }, 10000));
    q.close();
    EXPECT_TRUE(WaitFor([] { return Running(QStringLiteral("SLEEP(20)")).isEmpty(); }, 10000));
    EXPECT_EQ(failed.count(), 0);

    // Keys in two halves, rows in three statements: every row once, in the
    // order of the statements, announced from the first row on without gaps,
    // the later statements' rows after the earlier ones'.
    QueryPrelude prelude;
    prelude.sql = {SorRange(20000, kRows + 1, 1000, "sor"), SorRange(0, 20000, 1000, "sor")};
    prelude.statement = [](const ResultSet& keys) {
        QStringList thirds[3];
        for (int r = 0; r < keys.rowCount(); ++r)
            thirds[r * 3 / keys.rowCount()] << keys.text(r, 0);
        QStringList statements;
        for (const QStringList& third : thirds)
            statements << QStringLiteral("SELECT * FROM sor WHERE sor IN (%1) ORDER BY sor DESC")
                              .arg(third.join(','));
        return statements;
    };
    q.openAsync(prelude);
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_EQ(failed.count(), 0);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(finished.count(), 1);
    Query blocking;
    blocking.setSql(SorRange(0, kRows + 1, 1000));
    blocking.open();
    ExpectSameRows(q.result(), blocking.result());
    int next = 0;
    for (const auto& [first, last] : batches) {
        EXPECT_EQ(first, next);
        next = last + 1;
    }
    EXPECT_EQ(next, kRows / 1000);
    EXPECT_EQ(q.asInt("sor"), kRows);
    // Read at once, the statements one after the other: the same rows.
    Query inTurn;
    inTurn.setSql(q.sql().join('\n'));
    inTurn.open(prelude);
    ExpectSameRows(inTurn.result(), blocking.result());

    // Enough keys from the first statement: the second is not waited for.
    QueryPrelude enough = prelude;
    enough.sql = {SorRange(0, kRows + 1, 1000, "sor") + " LIMIT 5", "SELECT SLEEP(20) AS sor"};
    enough.rowsWanted = 5;
    q.openAsync(enough);
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }, 15000));
    EXPECT_EQ(failed.count(), 0);
    EXPECT_EQ(q.recordCount(), 5);
    EXPECT_TRUE(WaitFor([] { return Running(QStringLiteral("SLEEP(20)")).isEmpty(); }, 10000));

    // A statement beside the first fails: the opening fails, the first stops.
    QueryPrelude broken;
    broken.sql = {"SELECT 1 AS sor"};
    broken.statement = [](const ResultSet&) {
        return QStringList{"SELECT *, SLEEP(20) AS alszik FROM sor WHERE sor = 1",
                           "SELECT * FROM nincs_ilyen"};
    };
    q.openAsync(broken);
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }, 15000));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(1).toUInt(), 1146u);
    EXPECT_FALSE(q.isActive());
    EXPECT_TRUE(WaitFor([] { return Running(QStringLiteral("SLEEP(20)")).isEmpty(); }, 10000));
}

TEST_F(StreamingQuery, TheEventLoopRunsWhileRowsArrive) {
    // The window must answer while a long list arrives: timers fire between
    // the batches, not only after the last one.
    Query q;
    q.setSql("SELECT * FROM sor WHERE SLEEP(IF(sor MOD 10000 = 0, 0.2, 0)) = 0 ORDER BY sor");
    int ticksWhileFetching = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (q.isFetching() && q.recordCount() > 0)
            ++ticksWhileFetching;
    });
    ticker.start(5);
    q.openAsync();
    ASSERT_TRUE(WaitFor([&] { return !q.isFetching(); }));
    EXPECT_EQ(q.recordCount(), kRows);
    EXPECT_GE(ticksWhileFetching, 10);
}

} // namespace
