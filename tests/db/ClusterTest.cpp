// The program on a three-node database cluster (MariaDB Galera) that
// scripts/test starts beside the single server: the db/ files loaded through
// one node and fit for the cluster on all three; two workstations on
// different nodes paying, invoicing and booking the same sheet and slot at
// the same moment; sheet numbers with the cluster's gaps; a workstation whose
// node stops going on through another node.
#include "ClusterFitness.h"
#include "TestDatabase.h"
#include "components/Connection.h"
#include "components/DbError.h"
#include "components/StreamingStatement.h"
#include "components/Transaction.h"
#include "foundation/Conversions.h"
#include "foundation/DateHelpers.h"
#include "worksheets/Appointments.h"
#include "worksheets/WorkSheetEditing.h"
#include "worksheets/WorkSheetLists.h"
#include "worksheets/WorkSheetStatus.h"

#include <QCoreApplication>
#include <QDate>
#include <barrier>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

using namespace kml;
using namespace kml::test;

namespace {

const char* const NoCluster = "no local Galera cluster: scripts/test starts one (KML_TEST_CLUSTER) when the "
                              "galera-4 and rsync packages can be installed";

std::vector<ServerAddress> Nodes() {
    return ServerList(qEnvironmentVariable("KML_TEST_CLUSTER"), 3306);
}

QString Text(Connection& c, const QString& sql) {
    const ResultSet rs = c.query(sql);
    return rs.rowCount() > 0 ? rs.text(0, 0) : QStringLiteral("<no row>");
}

int Int(Connection& c, const QString& sql) {
    return Text(c, sql).toInt();
}

void ClusterScript(const QString& command, int node) {
    const QString line = QStringLiteral("'%1' %2 '%3' %4 >/dev/null 2>&1")
                             .arg(SourcePath(QStringLiteral("scripts/cluster")), command,
                                  qEnvironmentVariable("KML_TEST_CLUSTER_DIR"))
                             .arg(node);
    if (std::system(line.toLocal8Bit().constData()) != 0)
        throw std::runtime_error(("cluster script failed: " + line).toStdString());
}

class Cluster : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (Nodes().size() != 3)
            return;
        database = QStringLiteral("t_cluster_%1").arg(QCoreApplication::applicationPid());
        const QStringList first{QStringLiteral("-h") + Nodes()[0].host,
                                QStringLiteral("-P%1").arg(Nodes()[0].port)};
        RunClient(
            {},
            QStringLiteral("DROP DATABASE IF EXISTS %1; CREATE DATABASE %1 CHARACTER SET latin2 COLLATE "
                           "latin2_hungarian_ci;")
                .arg(database),
            first);
        for (const QString& file : SchemaFiles(true))
            RunClientFile(database, file, first);
    }
    static void TearDownTestSuite() {
        if (database.isEmpty())
            return;
        try {
            Connection c;
            c.open(options(0));
            c.exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(database));
        } catch (...) {
        }
    }
    void SetUp() override {
        if (database.isEmpty())
            GTEST_SKIP() << NoCluster;
    }

    // A workstation's connection entry: every node, node `first` first.
    static ConnectionOptions options(int first) {
        ConnectionOptions o;
        o.host = RotatedHostList(Nodes(), size_t(first));
        o.user = QStringLiteral("root");
        o.database = database;
        o.connectTimeout = 5;
        return o;
    }
    // A connection to one node alone, reading everything the cluster has
    // committed so far (wsrep_sync_wait).
    static std::unique_ptr<Connection> onlyNode(int node) {
        ConnectionOptions o = options(0);
        o.host = Nodes()[size_t(node)].text();
        auto c = std::make_unique<Connection>();
        c->open(o);
        c->exec(QStringLiteral("SET SESSION wsrep_sync_wait = 1"));
        return c;
    }
    // New sheets for the demo's first device, moved to "Készen van" (3).
    static std::vector<int> readySheets(Connection& c, int count) {
        const ResultSet device = c.query(
            QStringLiteral("SELECT ugyfel, keszulek FROM keszulek WHERE torolve = 'N' ORDER BY keszulek "
                           "LIMIT 1"));
        const int type = Int(c, QStringLiteral("SELECT MIN(mlaptipus) FROM mlaptipus WHERE mlaptipus > 0"));
        std::vector<int> sheets;
        for (int i = 0; i < count; ++i) {
            const int sheet = Int(c, CreateSheetSql(device.text(0, 0).toInt(), type,
                                                    device.text(0, 1).toInt(), QStringLiteral("Teszt")));
            for (int to = 2; to <= 3; ++to)
                c.query(StatusStepSql(sheet, QStringLiteral("Teszt"), to - 1, to));
            sheets.push_back(sheet);
        }
        return sheets;
    }

    static inline QString database;
};

TEST_F(Cluster, ScriptsLoadedThroughOneNodeAreOnAllThreeAndFitForTheCluster) {
    std::vector<QString> shapes;
    for (int node = 0; node < 3; ++node) {
        auto c = onlyNode(node);
        EXPECT_EQ(c->query(QStringLiteral("SHOW STATUS LIKE 'wsrep_cluster_size'")).text(0, 1),
                  QStringLiteral("3"));
        EXPECT_EQ(ClusterUnfitObjects(*c), QStringList()) << "node " << node + 1;
        shapes.push_back(Text(
            *c, QStringLiteral("SELECT CONCAT((SELECT COUNT(*) FROM information_schema.TABLES WHERE "
                               "TABLE_SCHEMA = DATABASE()), '/', (SELECT COUNT(*) FROM "
                               "information_schema.ROUTINES WHERE ROUTINE_SCHEMA = DATABASE()), '/', "
                               "(SELECT COUNT(*) FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA = "
                               "DATABASE()), '/', (SELECT COUNT(*) FROM munkalap), '/', (SELECT COUNT(*) "
                               "FROM ugyfel), '/', (SELECT SUM(ar_fizetendo) FROM munkalap))")));
    }
    EXPECT_EQ(shapes[1], shapes[0]);
    EXPECT_EQ(shapes[2], shapes[0]);
    EXPECT_EQ(ClusterUnfitScriptLines(), QStringList());
}

TEST_F(Cluster, SheetNumbersWithTheClustersGapsPrintAndSortRight) {
    // Each node hands out its own numbers (1, 4, 7 ... on one, 2, 5, 8 ... on
    // the next); past 99999 the number text grows a digit.
    auto first = onlyNode(0);
    first->exec(QStringLiteral("ALTER TABLE munkalap AUTO_INCREMENT = 99995"));
    std::vector<int> sheets;
    for (int i = 0; i < 6; ++i) {
        Connection ws;
        ws.open(options(i % 2));
        const std::vector<int> one = readySheets(ws, 1);
        sheets.push_back(one[0]);
    }
    ASSERT_GT(sheets.back(), 99999);
    for (size_t i = 1; i < sheets.size(); ++i)
        EXPECT_GT(sheets[i], sheets[i - 1]);
    auto third = onlyNode(2);
    QStringList numbersShown, expected;
    for (const int sheet : sheets) {
        numbersShown << Text(
            *third, QStringLiteral("SELECT munkalapstr FROM vw_munkalap WHERE munkalap = %1").arg(sheet));
        expected << QStringLiteral("%1").arg(sheet, 5, 10, QLatin1Char('0')) +
                        Text(*third,
                             QStringLiteral("SELECT mt.betujel FROM munkalap m JOIN mlaptipus mt USING "
                                            "(mlaptipus) WHERE m.munkalap = %1")
                                 .arg(sheet));
    }
    EXPECT_EQ(numbersShown, expected);
    // The list sorted by its number column: newest first, by number.
    QStringList listed, byNumber;
    const QString keys = [&] {
        QStringList k;
        for (const int sheet : sheets)
            k << QString::number(sheet);
        return k.join(QLatin1Char(','));
    }();
    const ResultSet rs =
        third->query(QStringLiteral("SELECT munkalap FROM vw_munkalap WHERE munkalap IN (%1) ORDER BY %2")
                         .arg(keys, WorkSheetOrder(QStringLiteral("munkalapstr"))));
    for (int r = 0; r < rs.rowCount(); ++r)
        listed << rs.text(r, 0);
    for (auto it = sheets.rbegin(); it != sheets.rend(); ++it)
        byNumber << QString::number(*it);
    EXPECT_EQ(listed, byNumber);
}

TEST_F(Cluster, TwoWorkstationsOnDifferentNodesPayInvoiceAndBookTheSameSheetAndSlot) {
    constexpr int Rounds = 10;
    std::vector<int> sheets;
    {
        Connection setup;
        setup.open(options(0));
        sheets = readySheets(setup, Rounds);
    }
    const int employee = [&] {
        auto c = onlyNode(0);
        return Int(*c,
                   QStringLiteral("SELECT MIN(dolgozo) FROM dolgozo WHERE dolgozo > 0 AND torolve = 'N'"));
    }();
    const QDate day(2031, 3, 4);

    struct Outcome {
        int paid = 0, invoiced = 0, booked = 0, slotTaken = 0;
        QStringList errors;
    };
    Outcome outcomes[2];
    std::barrier together(2);
    const quint64 retriedBefore = RetriedConflicts();
    auto workstation = [&](int index) {
        Outcome& out = outcomes[index];
        try {
            Connection db;
            db.open(options(index)); // workstation 0 on node 1, workstation 1 on node 2
            for (int round = 0; round < Rounds; ++round) {
                const int sheet = sheets[size_t(round)];
                together.arrive_and_wait();
                // "Kifizet": the one that does not get there first is told the
                // sheet changed meanwhile (valtozott 0), as on one server.
                if (QueryUnit(db, PaymentSql(sheet, true)).value(0, 0).toInt() == 1)
                    ++out.paid;
                together.arrive_and_wait();
                // The invoice number and "Számlázva" in one transaction.
                const QString invoice = QStringLiteral("SZ-%1-%2").arg(index).arg(round);
                if (RunTransaction(db, [&] {
                        return db.query(StatusStepSql(sheet, QStringLiteral("Munkaállomás %1").arg(index), 3,
                                                      4, invoice))
                                   .value(0, 0)
                                   .toInt() == 1;
                    }))
                    ++out.invoiced;
                together.arrive_and_wait();
                AppointmentDraft draft;
                draft.employee = employee;
                draft.day = day;
                draft.slot = 16 + round;
                draft.halfHours = 1;
                draft.workSheet = sheet;
                draft.text = QStringLiteral("Foglalás %1").arg(index);
                try {
                    QueryUnit(db, NewAppointmentSql(draft));
                    ++out.booked;
                } catch (const DbError& e) {
                    if (!IsAppointmentTaken(e))
                        throw;
                    ++out.slotTaken;
                }
            }
        } catch (const std::exception& e) {
            out.errors << QString::fromUtf8(e.what());
        }
    };
    std::thread second(workstation, 1);
    workstation(0);
    second.join();
    const int retried = int(RetriedConflicts() - retriedBefore);
    RecordProperty("conflicts_retried", retried);
    std::printf("conflicts retried as whole units: %d\n", retried);

    for (const Outcome& out : outcomes)
        ASSERT_EQ(out.errors, QStringList());
    EXPECT_EQ(outcomes[0].paid + outcomes[1].paid, Rounds);
    EXPECT_EQ(outcomes[0].invoiced + outcomes[1].invoiced, Rounds);
    EXPECT_EQ(outcomes[0].booked + outcomes[1].booked, Rounds);
    EXPECT_EQ(outcomes[0].slotTaken + outcomes[1].slotTaken, Rounds);

    // Every node holds the same, and nothing twice.
    QStringList keys;
    for (const int sheet : sheets)
        keys << QString::number(sheet);
    const QString in = keys.join(QLatin1Char(','));
    std::vector<QString> states;
    for (int node = 0; node < 3; ++node) {
        auto c = onlyNode(node);
        EXPECT_EQ(
            Int(*c, QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE munkalap IN (%1) AND fizetve = 'I' "
                                   "AND statusz = 4 AND szlaszam LIKE 'SZ-%'")
                        .arg(in)),
            Rounds)
            << "node " << node + 1;
        EXPECT_EQ(Int(*c, QStringLiteral(
                              "SELECT COUNT(*) FROM statuszvaltas WHERE munkalap IN (%1) AND statusz = 4")
                              .arg(in)),
                  Rounds)
            << "one change to \"Számlázva\" a sheet, node " << node + 1;
        EXPECT_EQ(
            Int(*c, QStringLiteral("SELECT COUNT(*) FROM elojegyzes WHERE dolgozo = %1 AND datum = '%2'")
                        .arg(employee)
                        .arg(day.toString(Qt::ISODate))),
            Rounds)
            << "one booking a slot, node " << node + 1;
        states.push_back(
            Text(*c, QStringLiteral("SELECT GROUP_CONCAT(munkalap, szlaszam, dat_fizetve ORDER BY "
                                    "munkalap) FROM munkalap WHERE munkalap IN (%1)")
                         .arg(in)));
    }
    EXPECT_EQ(states[1], states[0]);
    EXPECT_EQ(states[2], states[0]);
}

TEST_F(Cluster, AWorkstationGoesOnThroughAnotherNodeWhenItsNodeStops) {
    Connection ws;
    ws.open(options(2)); // node 3 first
    ASSERT_EQ(ws.currentServer(), Nodes()[2]);
    const int sheets = Int(ws, QStringLiteral("SELECT COUNT(*) FROM munkalap"));
    auto links = ws.streamLinks();
    {
        std::unique_ptr<Connection> link = links->take();
        EXPECT_EQ(link->currentServer(), Nodes()[2]) << "a stream link opens where its connection is";
        links->giveBack(std::move(link));
    }
    // A transaction open while the node goes.
    ws.exec(QStringLiteral("START TRANSACTION"));
    const int first = Int(ws, QStringLiteral("SELECT MIN(munkalap) FROM munkalap"));
    ws.exec(QStringLiteral("UPDATE munkalap SET megjegyzes = 'félbe' WHERE munkalap = %1").arg(first));

    ClusterScript(QStringLiteral("stop-node"), 3);
    struct Restart {
        ~Restart() {
            try {
                ClusterScript(QStringLiteral("start-node"), 3);
            } catch (...) {
            }
        }
    } restart;

    // The statement after the loss is refused rather than run outside the
    // transaction, as on one server; the one after it runs on another node.
    try {
        ws.exec(QStringLiteral("COMMIT"));
        ADD_FAILURE() << "the COMMIT of a transaction whose node stopped was accepted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.connectionLost()) << e.text().toStdString();
    }
    EXPECT_EQ(Int(ws, QStringLiteral("SELECT COUNT(*) FROM munkalap")), sheets);
    EXPECT_NE(ws.currentServer(), Nodes()[2]);
    EXPECT_EQ(Int(ws, QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE megjegyzes = 'félbe'")), 0)
        << "the transaction went with its node";
    // Writes go on through the node it uses now, and its stream links follow.
    const std::vector<int> made = readySheets(ws, 1);
    EXPECT_EQ(QueryUnit(ws, PaymentSql(made[0], true)).value(0, 0).toInt(), 1);
    std::unique_ptr<Connection> link = links->take();
    EXPECT_EQ(link->currentServer(), ws.currentServer());
    EXPECT_EQ(
        Int(*link, QStringLiteral("SELECT fizetve = 'I' FROM munkalap WHERE munkalap = %1").arg(made[0])), 1);
    links->giveBack(std::move(link));
}

} // namespace
