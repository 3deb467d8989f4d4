// The shop's server going away under the program, on a private server that
// the test stops and starts again on the same port, and sessions killed with
// KILL: between statements, while a statement runs, while an editor's row is
// being saved and while its COMMIT waits. After each fault the next statement
// runs on a new session with the Hungarian collation, the user is shown the
// lost-connection message (with the may-not-have-run sentence when a
// statement was cut off) and no report question, nothing is stored twice,
// and what the user typed is saved by OK once the server is back.

#include "PrivateServer.h"
#include "ScriptedDialogs.h"
#include "ScriptedSettingsWindow.h"
#include "TestDatabase.h"
#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"
#include "foundation/Folders.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "records/Customers.h"
#include "records/gui/Tfrm_Szerkeszt.h"
#include "shell/AppError.h"
#include "shell/Beallit.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::PrivateServer;

const QString Database = QStringLiteral("hibak");
const QString Lost = LostConnectionMessage;
// What the session shows while the ticket trigger makes an INSERT wait.
const QString SlowInsertMarker = QStringLiteral("@varakozas");
const QString LostAndMaybeRun = LostConnectionMessage + QStringLiteral("\r\n") + InterruptedStatementMessage;

// Runs act on a thread of its own as soon as the session `victim` is seen
// running a statement that contains marker, and joins it when it goes.
class WhileRunning final {
public:
    WhileRunning(const ConnectionOptions& options, unsigned long victim, const QString& marker,
                 std::function<void(Connection& watcher)> act)
        : m_thread([this, options, victim, marker, act = std::move(act)] {
              try {
                  Connection watcher;
                  watcher.open(options);
                  const QString seen =
                      QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE "
                                     "ID = %1 AND INFO LIKE %2;")
                          .arg(victim)
                          .arg(QuoteSqlText(QLatin1Char('%') + marker + QLatin1Char('%')));
                  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
                  while (watcher.query(seen).value(0, 0).toInt() == 0) {
                      if (std::chrono::steady_clock::now() > deadline)
                          return;
                      std::this_thread::sleep_for(std::chrono::milliseconds(20));
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(300));
                  act(watcher);
                  m_acted = true;
              } catch (const std::exception& e) {
                  m_failure = e.what();
              }
          }) {}
    ~WhileRunning() { join(); }
    void join() {
        if (m_thread.joinable())
            m_thread.join();
    }
    bool acted() {
        join();
        return m_acted;
    }
    std::string failure() {
        join();
        return m_failure;
    }

private:
    std::atomic<bool> m_acted{false};
    std::string m_failure;
    std::thread m_thread;
};

// What the user is shown for the error being handled, as the application
// error handler shows it: the texts of its boxes, in order.
QStringList ShownForCurrentError() {
    ScriptedDialogs dialogs;
    HandleAppError(AppErrorText(CurrentExceptionText()));
    QStringList shown;
    for (const DialogCall& call : dialogs.calls())
        shown << QStringLiteral("%1: %2").arg(DialogKindName(call.kind), call.text);
    return shown;
}

QString ErrorBox(const QString& text) {
    return DialogKindName(DialogKind::Error) + QStringLiteral(": ") + text;
}

class ConnectionFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // With the binary log, a COMMIT can be made to wait (group commit),
        // long enough to kill the session in the middle of it.
        s_server = new PrivateServer(QStringLiteral("connection-faults"),
                                     {QStringLiteral("--log-bin=kml-bin"), QStringLiteral("--server-id=1")});
        Connection admin;
        admin.open(s_server->options());
        admin.exec(QStringLiteral("DROP DATABASE IF EXISTS hibak;"));
        admin.exec(QStringLiteral("CREATE DATABASE hibak CHARACTER SET latin2 COLLATE latin2_hungarian_ci;"));
        for (const char* file : {"db/schema.sql", "db/seed.sql"})
            s_server->runFile(Database, test::SourcePath(QLatin1String(file)));
        // A ticket table whose INSERT takes `lassu` seconds when asked to.
        admin.exec(QStringLiteral("CREATE TABLE hibak.jegy (jegy INT NOT NULL AUTO_INCREMENT PRIMARY KEY, "
                                  "nev VARCHAR(50) NULL, lassu INT NOT NULL DEFAULT 0) ENGINE=InnoDB;"));
        admin.exec(
            QStringLiteral("CREATE TRIGGER hibak.jegy_lassu BEFORE INSERT ON hibak.jegy FOR EACH ROW "
                           "BEGIN IF NEW.lassu > 0 THEN SET @varakozas = SLEEP(NEW.lassu); END IF; END"));
    }
    static void TearDownTestSuite() {
        delete s_server;
        s_server = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(m_data.isValid());
        m_oldDataFolder = DataFolder();
        SetDataFolder(m_data.path());
        s_server->start(); // a test that failed half-way may have left it stopped
        Connection admin;
        admin.open(s_server->options(Database));
        admin.exec(QStringLiteral("TRUNCATE jegy;"));
        admin.exec(
            QStringLiteral("SET GLOBAL binlog_commit_wait_count = 0, binlog_commit_wait_usec = 100000;"));
        m_db.open(s_server->options(Database));
        SetSharedConnection(&m_db);
    }
    void TearDown() override {
        SetSharedConnection(nullptr);
        m_db.close();
        SetDataFolder(m_oldDataFolder);
        SetLastAction({});
    }

    // The next statement runs on a new session with the Hungarian collation.
    void expectWorkingSession(unsigned long before) {
        const ResultSet rs = m_db.query(
            QStringLiteral("SELECT @@collation_connection, @@character_set_client, CONNECTION_ID();"));
        EXPECT_EQ(rs.text(0, 0), QStringLiteral("latin2_hungarian_ci"));
        EXPECT_EQ(rs.text(0, 1), QStringLiteral("latin2"));
        EXPECT_NE(rs.value(0, 2).toULongLong(), before) << "a new session";
    }

    int count(const QString& name) {
        Connection other;
        other.open(s_server->options(Database));
        return other
            .query(QStringLiteral("SELECT COUNT(*) FROM jegy WHERE nev = %1;").arg(QuoteSqlText(name)))
            .value(0, 0)
            .toInt();
    }

    static inline PrivateServer* s_server = nullptr;
    Connection m_db;
    QTemporaryDir m_data;
    QString m_oldDataFolder;
};

// ---- Statements --------------------------------------------------------

enum class Fault { StopServer, KillSession };

struct StatementCase {
    const char* name;
    Fault fault;
    bool whileRunning; // during a long INSERT instead of between statements
    QStringList shown; // what the statement that met the fault shows; none: it ran
};

class StatementFaults : public ConnectionFaults, public ::testing::WithParamInterface<StatementCase> {};

TEST_P(StatementFaults, NextStatementRunsOnANewSessionAndNothingIsRepeated) {
    const StatementCase& c = GetParam();
    SetLastAction(QStringLiteral("frm_Main.aFrissit"));
    m_db.exec(QStringLiteral("INSERT INTO jegy (nev) VALUES ('elotte');"));
    const unsigned long before = m_db.threadId();
    const QString statement =
        QStringLiteral("INSERT INTO jegy (nev, lassu) VALUES ('hosszu', %1);").arg(c.whileRunning ? 10 : 0);

    auto act = [&](Connection& watcher) {
        if (c.fault == Fault::StopServer)
            s_server->stop();
        else
            watcher.exec(QStringLiteral("KILL %1;").arg(before));
    };
    QStringList shown;
    if (c.whileRunning) {
        WhileRunning fault(s_server->options(), before, SlowInsertMarker, act);
        try {
            m_db.exec(statement);
        } catch (...) {
            shown = ShownForCurrentError();
        }
        ASSERT_TRUE(fault.acted()) << fault.failure();
    } else {
        Connection watcher;
        watcher.open(s_server->options());
        act(watcher);
        try {
            m_db.exec(statement);
        } catch (...) {
            shown = ShownForCurrentError();
        }
    }
    EXPECT_EQ(shown, c.shown);

    if (c.fault == Fault::StopServer) {
        // However many statements fail while the server is down, each tells
        // the user the same, and none leaves the connection unusable.
        for (int i = 0; i < 3; ++i) {
            try {
                m_db.query(QStringLiteral("SELECT 1;"));
                ADD_FAILURE() << "the server is down";
            } catch (const DbError& e) {
                EXPECT_TRUE(e.connectionLost()) << e.text().toStdString();
                EXPECT_FALSE(e.interrupted()) << "nothing reached the server";
                EXPECT_EQ(ShownForCurrentError(), QStringList{ErrorBox(Lost)});
            }
        }
        s_server->start();
    }
    expectWorkingSession(before);
    EXPECT_EQ(count(QStringLiteral("elotte")), 1);
    // The statement cut off was not sent again on the new session.
    EXPECT_EQ(count(QStringLiteral("hosszu")), c.shown.isEmpty() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Connection, StatementFaults,
    ::testing::Values(
        // Between statements the lost session is noticed before the next one
        // is sent: with the server down it cannot be sent at all...
        StatementCase{"ServerStoppedBetweenStatements", Fault::StopServer, false, {ErrorBox(Lost)}},
        // ...and a killed session is replaced without the user noticing.
        StatementCase{"SessionKilledBetweenStatements", Fault::KillSession, false, {}},
        StatementCase{"ServerStoppedDuringAStatement", Fault::StopServer, true, {ErrorBox(LostAndMaybeRun)}},
        StatementCase{
            "SessionKilledDuringAStatement", Fault::KillSession, true, {ErrorBox(LostAndMaybeRun)}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- An editor's save --------------------------------------------------

enum class SaveFault {
    ServerStoppedBefore,
    ServerStoppedDuringInsert,
    SessionKilledDuringInsert,
    SessionKilledDuringCommit
};

struct SaveCase {
    const char* name;
    SaveFault fault;
    QStringList shown;
};

class SaveFaults : public ConnectionFaults, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveFaults, OkAgainAfterTheServerIsBackStoresTheRowOnce) {
    const SaveCase& c = GetParam();
    Table row(QStringLiteral("jegy"), &m_db);
    row.startNew();
    row.setValue(QStringLiteral("nev"), QStringLiteral("mentett"));
    const bool slowInsert =
        c.fault == SaveFault::ServerStoppedDuringInsert || c.fault == SaveFault::SessionKilledDuringInsert;
    row.setValue(QStringLiteral("lassu"), slowInsert ? 2 : 0);
    const unsigned long before = m_db.threadId();

    QStringList shown;
    auto save = [&] {
        try {
            row.post();
        } catch (...) {
            shown = ShownForCurrentError();
        }
    };
    switch (c.fault) {
    case SaveFault::ServerStoppedBefore:
        s_server->stop();
        save();
        break;
    case SaveFault::ServerStoppedDuringInsert:
    case SaveFault::SessionKilledDuringInsert: {
        WhileRunning fault(s_server->options(), before, SlowInsertMarker, [&](Connection& watcher) {
            if (c.fault == SaveFault::ServerStoppedDuringInsert)
                s_server->stop();
            else
                watcher.exec(QStringLiteral("KILL %1;").arg(before));
        });
        save();
        ASSERT_TRUE(fault.acted()) << fault.failure();
        break;
    }
    case SaveFault::SessionKilledDuringCommit: {
        // The COMMIT waits up to four seconds for a second transaction to
        // join its group; the session is killed meanwhile.
        Connection admin;
        admin.open(s_server->options());
        admin.exec(
            QStringLiteral("SET GLOBAL binlog_commit_wait_count = 2, binlog_commit_wait_usec = 4000000;"));
        WhileRunning fault(s_server->options(), before, QStringLiteral("COMMIT"), [&](Connection& watcher) {
            watcher.exec(QStringLiteral("KILL %1;").arg(before));
        });
        save();
        ASSERT_TRUE(fault.acted()) << fault.failure();
        admin.exec(
            QStringLiteral("SET GLOBAL binlog_commit_wait_count = 0, binlog_commit_wait_usec = 100000;"));
        break;
    }
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_TRUE(row.isActive());
    EXPECT_EQ(row.value(QStringLiteral("nev")).toString(), QStringLiteral("mentett"))
        << "what was typed is kept";
    s_server->start();

    const QVariant key = row.post();
    expectWorkingSession(before);
    EXPECT_EQ(count(QStringLiteral("mentett")), 1);
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT jegy FROM jegy WHERE nev = 'mentett';")), key.toInt());
    EXPECT_FALSE(row.isNew());
    EXPECT_EQ(row.key(), key);
}

INSTANTIATE_TEST_SUITE_P(
    Connection, SaveFaults,
    ::testing::Values(
        SaveCase{"ServerStoppedBeforeOk", SaveFault::ServerStoppedBefore, {ErrorBox(Lost)}},
        // The INSERT runs in a transaction of the row's own: cut off before
        // its COMMIT it certainly stored nothing, so OK again is safe.
        SaveCase{"ServerStoppedDuringTheInsert", SaveFault::ServerStoppedDuringInsert, {ErrorBox(Lost)}},
        SaveCase{"SessionKilledDuringTheInsert", SaveFault::SessionKilledDuringInsert, {ErrorBox(Lost)}},
        // A COMMIT cut off may have stored the row; OK again finds it.
        SaveCase{"SessionKilledDuringTheCommit",
                 SaveFault::SessionKilledDuringCommit,
                 {ErrorBox(LostAndMaybeRun)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectionFaults, ASessionLostInsideATransactionRefusesTheNextStatementOnce) {
    m_db.exec(QStringLiteral("START TRANSACTION;"));
    m_db.exec(QStringLiteral("INSERT INTO jegy (nev) VALUES ('félkész');"));
    ASSERT_TRUE(m_db.inTransaction());
    const unsigned long before = m_db.threadId();
    Connection watcher;
    watcher.open(s_server->options());
    watcher.exec(QStringLiteral("KILL %1;").arg(before));

    // The second half of the transaction must not run on its own.
    try {
        m_db.exec(QStringLiteral("INSERT INTO jegy (nev) VALUES ('másik fele');"));
        ADD_FAILURE() << "ran outside its transaction";
    } catch (...) {
        EXPECT_EQ(ShownForCurrentError(), QStringList{ErrorBox(Lost)});
    }
    EXPECT_FALSE(m_db.inTransaction());
    expectWorkingSession(before);
    EXPECT_EQ(count(QStringLiteral("félkész")) + count(QStringLiteral("másik fele")), 0);
}

// ---- Several servers -----------------------------------------------------

TEST_F(ConnectionFaults, WithSeveralServersTheNextSessionOpensOnTheNextOneThatAnswers) {
    PrivateServer second(QStringLiteral("connection-faults-second"));
    ConnectionOptions both = s_server->options();
    both.host = QStringLiteral("127.0.0.1:%1, 127.0.0.1:%2").arg(s_server->port()).arg(second.port());
    const auto port = [](Connection& c) {
        const ResultSet rs = c.query(QStringLiteral("SELECT @@port, @@collation_connection;"));
        EXPECT_EQ(rs.text(0, 1), QStringLiteral("latin2_hungarian_ci"))
            << "the session settings on every server";
        return rs.value(0, 0).toUInt();
    };
    Connection c;
    c.open(both);
    EXPECT_EQ(port(c), s_server->port()) << "the first server that answers";

    s_server->stop();
    EXPECT_EQ(port(c), second.port()) << "the statement after the loss runs on the next server";
    EXPECT_EQ(c.currentServer().port, second.port());
    {
        Connection late;
        late.open(both);
        EXPECT_EQ(port(late), second.port()) << "opened while the first is down";
    }
    s_server->start();
    second.stop();
    EXPECT_EQ(port(c), s_server->port()) << "and round again to the first";

    // A statement of a transaction lost with its server is refused, not run
    // on the other server on its own; the one after it runs there.
    c.exec(QStringLiteral("START TRANSACTION;"));
    s_server->stop();
    second.start();
    EXPECT_THROW(c.exec(QStringLiteral("SELECT 1;")), DbError);
    EXPECT_EQ(port(c), second.port());
    s_server->start();
}

// ---- The windows -------------------------------------------------------

TEST_F(ConnectionFaults, CustomerEditorStaysOpenWithWhatWasTypedAndOkSavesOnceTheServerIsBack) {
    Tfrm_Szerkeszt w;
    w.startNew();
    SetNewCustomerDefaults(w.table(), {}, QDate(2026, 5, 4));
    w.showValues();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* name = w.findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
    auto* phone = w.findChild<QLineEdit*>(QStringLiteral("DBEdit7"));
    ASSERT_TRUE(name && phone);
    name->setFocus();
    QTest::keyClicks(name, "Lost Server Kft");
    QTest::keyClicks(phone, "06-1-555");

    s_server->stop();
    try {
        w.accept();
        ADD_FAILURE() << "saved without a server";
    } catch (...) {
        EXPECT_EQ(ShownForCurrentError(), QStringList{ErrorBox(Lost)});
    }
    EXPECT_TRUE(w.isVisible()) << "the editor stays open";
    EXPECT_EQ(name->text(), QStringLiteral("Lost Server Kft"));
    EXPECT_EQ(phone->text(), QStringLiteral("06-1-555"));

    s_server->start();
    {
        ScriptedDialogs dialogs; // nothing is asked or shown
        w.accept();
        EXPECT_TRUE(dialogs.calls().empty());
    }
    EXPECT_EQ(w.result(), QDialog::Accepted);
    const int key = int(w.savedKey().value_or(0));
    EXPECT_GT(key, 0);
    EXPECT_EQ(
        QueryStr(QStringLiteral("SELECT CONCAT(COUNT(*), '|', MAX(ugyfel), '|', MAX(telefon)) FROM ugyfel "
                                "WHERE ugyfel_nev = 'Lost Server Kft';")),
        QStringLiteral("1|%1|06-1-555").arg(key));
}

TEST_F(ConnectionFaults, SettingsWindowComesBackWithWhatWasTypedWhenTheServerIsLostOnOk) {
    Beall() = TBeall{};
    Beall().teljesKep = true;
    m_db.exec(QStringLiteral("UPDATE beallit SET mlaphatid = 3, kephost = '';"));
    ScriptedSettingsWindow window;
    window.pressOk([](Table& row, SettingsValues& values) {
        row.setValue(QStringLiteral("mlaphatid"), 14);
        row.setValue(QStringLiteral("kephost"), QStringLiteral("ftp.pelda.hu"));
        values.teljesKep = false;
        s_server->stop();
    });
    // Opened again as the user left it; the server is back by now.
    window.pressOk([](Table& row, SettingsValues& values) {
        EXPECT_EQ(row.value(QStringLiteral("mlaphatid")).toInt(), 14);
        EXPECT_EQ(row.value(QStringLiteral("kephost")).toString(), QStringLiteral("ftp.pelda.hu"));
        EXPECT_FALSE(values.teljesKep);
        EXPECT_TRUE(Beall().teljesKep) << "the record changes only once the row is written";
        s_server->start();
    });

    ScriptedDialogs dialogs;
    EXPECT_TRUE(EditSettings());
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].text, Lost);
    EXPECT_EQ(window.pendingAnswers(), 0);
    EXPECT_EQ(QueryStr(QStringLiteral(
                  "SELECT CONCAT(COUNT(*), '|', MAX(mlaphatid), '|', MAX(kephost)) FROM beallit;")),
              QStringLiteral("1|14|ftp.pelda.hu"));
    EXPECT_FALSE(Beall().teljesKep);
}

} // namespace
} // namespace kml
