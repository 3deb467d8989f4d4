// Units of work refused by a conflict (deadlock 1213, lock wait 1205) run
// again as a whole, a bounded number of times; a final refusal stores
// nothing and says so; other errors, a lost session among them, are never
// retried.
#include "TestDatabase.h"
#include "components/DbError.h"
#include "components/Transaction.h"

#include <QThread>
#include <gtest/gtest.h>
#include <thread>

using namespace kml;
using kml::test::TestDatabase;

namespace {

class TransactionRetry : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("retry"), TestDatabase::Contents::Empty);
        db->connection().exec(QStringLiteral(
            "CREATE TABLE szamla (szamla INT NOT NULL PRIMARY KEY, egyenleg INT NOT NULL) ENGINE=InnoDB"));
        db->connection().exec(
            QStringLiteral("CREATE TABLE naplo (naplo INT NOT NULL AUTO_INCREMENT PRIMARY KEY, "
                           "szoveg VARCHAR(50)) ENGINE=InnoDB"));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override {
        conn().exec(QStringLiteral("DELETE FROM naplo"));
        conn().exec(QStringLiteral("DELETE FROM szamla"));
        conn().exec(QStringLiteral("INSERT INTO szamla VALUES (1, 100), (2, 100)"));
    }
    static Connection& conn() { return db->connection(); }
    static int Count(Connection& c, const QString& sql) { return c.query(sql).text(0, 0).toInt(); }
    static inline TestDatabase* db = nullptr;
};

struct RefusalCase {
    const char* name;
    unsigned code; // thrown by the unit's first `refusals` attempts
    int refusals;
    int attemptsRun; // how often the unit ran
    int rowsStored;  // rows of the unit in the end (one a successful run)
    bool thrown;
    bool gaveUp; // the error carries ConflictGaveUpMark
};

class RetryTable : public TransactionRetry, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RetryTable, RunsTheWholeUnitAgainOnlyForConflicts) {
    const RefusalCase& c = GetParam();
    int attempts = 0;
    bool thrown = false, gaveUp = false;
    try {
        RunTransaction(conn(), [&] {
            ++attempts;
            conn().exec(QStringLiteral("INSERT INTO naplo (szoveg) VALUES ('egység')"));
            if (attempts <= c.refusals)
                throw DbError(QStringLiteral("refused"), c.code);
            return true;
        });
    } catch (const DbError& e) {
        thrown = true;
        gaveUp = e.message().startsWith(ConflictGaveUpMark);
        EXPECT_EQ(e.code(), c.code);
    }
    EXPECT_EQ(attempts, c.attemptsRun);
    EXPECT_EQ(thrown, c.thrown);
    EXPECT_EQ(gaveUp, c.gaveUp);
    EXPECT_EQ(Count(conn(), QStringLiteral("SELECT COUNT(*) FROM naplo")), c.rowsStored);
    EXPECT_FALSE(conn().inTransaction());
}

INSTANTIATE_TEST_SUITE_P(
    Transaction, RetryTable,
    ::testing::Values(RefusalCase{"DeadlockOnceThenStored", 1213, 1, 2, 1, false, false},
                      RefusalCase{"LockWaitTwiceThenStored", 1205, 2, 3, 1, false, false},
                      RefusalCase{"AlwaysRefusedGivesUpStoringNothing", 1213, 99, ConflictAttempts, 0, true,
                                  true},
                      RefusalCase{"DuplicateKeyIsNotRetried", 1062, 99, 1, 0, true, false},
                      RefusalCase{"SignalledRefusalIsNotRetried", 1644, 99, 1, 0, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransactionRetry, UnitReturningFalseIsRolledBack) {
    EXPECT_FALSE(RunTransaction(conn(), [&] {
        conn().exec(QStringLiteral("UPDATE szamla SET egyenleg = 0"));
        return false;
    }));
    EXPECT_EQ(Count(conn(), QStringLiteral("SELECT SUM(egyenleg) FROM szamla")), 200);
}

TEST_F(TransactionRetry, RealDeadlockBetweenTwoWorkstationsEndsWithBothTransfersStored) {
    // Two transfers that lock the two accounts in opposite order, each
    // pausing between its two rows: the server refuses one of them (1213);
    // it runs again and both end up stored, once each.
    const quint64 before = RetriedConflicts();
    auto transfer = [](int from, int to, QString* error) {
        try {
            auto c = db->connect();
            RunTransaction(*c, [&] {
                c->exec(
                    QStringLiteral("UPDATE szamla SET egyenleg = egyenleg - 10 WHERE szamla = %1").arg(from));
                QThread::msleep(300);
                c->exec(
                    QStringLiteral("UPDATE szamla SET egyenleg = egyenleg + 10 WHERE szamla = %1").arg(to));
                c->exec(QStringLiteral("INSERT INTO naplo (szoveg) VALUES ('%1->%2')").arg(from).arg(to));
                return true;
            });
        } catch (const std::exception& e) {
            *error = QString::fromUtf8(e.what());
        }
    };
    QString error1, error2;
    std::thread other(transfer, 2, 1, &error2);
    transfer(1, 2, &error1);
    other.join();
    EXPECT_EQ(error1, QString());
    EXPECT_EQ(error2, QString());
    EXPECT_GE(RetriedConflicts() - before, 1u);
    EXPECT_EQ(Count(conn(), QStringLiteral("SELECT COUNT(*) FROM naplo")), 2);
    EXPECT_EQ(Count(conn(),
                    QStringLiteral("SELECT GROUP_CONCAT(egyenleg ORDER BY szamla) = '100,100' FROM szamla")),
              1);
}

TEST_F(TransactionRetry, ASessionLostOnTheWayIsNotAConflictTheUnitEndsAndTheNextRunsOnANewSession) {
    auto ws = db->connect();
    int attempts = 0;
    const auto unit = [&] {
        ++attempts;
        ws->exec(QStringLiteral("INSERT INTO naplo (szoveg) VALUES ('elveszett munkamenet')"));
        if (attempts == 1) {
            // Another workstation's administrator ends the session.
            conn().exec(QStringLiteral("KILL %1").arg(ws->threadId()));
            QThread::msleep(100);
            ws->exec(QStringLiteral("UPDATE szamla SET egyenleg = egyenleg + 1 WHERE szamla = 1"));
        }
        return true;
    };
    try {
        RunTransaction(*ws, unit);
        ADD_FAILURE() << "the lost session went unnoticed";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.connectionLost()) << e.text().toStdString();
    }
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(Count(conn(), QStringLiteral("SELECT COUNT(*) FROM naplo")), 0);
    RunTransaction(*ws, unit);
    EXPECT_EQ(Count(conn(), QStringLiteral("SELECT COUNT(*) FROM naplo")), 1);
    EXPECT_EQ(Count(conn(), QStringLiteral("SELECT egyenleg FROM szamla WHERE szamla = 1")), 100);
}

TEST_F(TransactionRetry, AStatementInsideAnOpenTransactionIsNeverSentAgainOnItsOwn) {
    // ExecUnit inside a larger unit: a refusal goes to the larger unit.
    auto holder = db->connect();
    holder->exec(QStringLiteral("START TRANSACTION"));
    holder->exec(QStringLiteral("UPDATE szamla SET egyenleg = 1 WHERE szamla = 2"));
    auto ws = db->connect();
    ws->exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout = 1"));
    ws->exec(QStringLiteral("START TRANSACTION"));
    const quint64 before = RetriedConflicts();
    try {
        ExecUnit(*ws, QStringLiteral("UPDATE szamla SET egyenleg = 2 WHERE szamla = 2"));
        ADD_FAILURE() << "the locked row was written";
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), 1205u);
        EXPECT_FALSE(e.message().startsWith(ConflictGaveUpMark));
    }
    EXPECT_EQ(RetriedConflicts(), before);
    ws->rollback();
    holder->rollback();
}

} // namespace
