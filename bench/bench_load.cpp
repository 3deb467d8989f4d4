// A busy shop: workers (processes, each on a connection of its own) doing
// complete work-sheet jobs through the functions the windows call (new
// sheet, lines, discount, the sheet's amounts, employees, the editor's OK,
// ready, invoiced, paid) while one more process keeps searching the main
// window's lists. Afterwards the database is checked: every sheet's totals
// equal the sum of its lines, no sheet or line is lost or duplicated, no
// status went backwards, every deadlock or lock wait was retried or
// reported. With --restart the server is stopped when 40% of the jobs are
// done and started again on the same port a few seconds later; the workers
// carry on through the program's own reconnect; --crash kills it instead.
//
// Runs on its own demo database on the server named by KML_TEST_HOST /
// KML_TEST_PORT (bench/load starts one):
//
//   bench_load [--workers N] [--jobs N] [--restart | --crash] [--server-dir DIR] [--down-seconds S]
//
// (--worker W / --searcher are the processes it starts itself.)

#include "BenchSupport.h"
#include "LoadJobs.h"
#include "TestDatabase.h"
#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <thread>
#include <vector>

using namespace kml;
using namespace kml::bench;

namespace {

struct Options {
    int workers = 8;
    int jobs = 500;
    bool restart = false;
    bool crash = false; // the server killed (SIGKILL) instead of shut down
    bool oneCustomer = false;
    double restartAt = 0.4;
    int downSeconds = 2;
    QString serverDir;
    // The run on the three-node cluster (scripts/cluster, started by
    // bench/load) after the same run on the single server, one node killed
    // and started again on the way.
    bool cluster = false;
    QString clusterDir;
    // Internal roles.
    int worker = -1;
    bool searcher = false;
    QString database;
    QString stopFile;
};

Options ParseOptions(const QStringList& args) {
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == QLatin1String("--workers"))
            o.workers = next.toInt(), ++i;
        else if (a == QLatin1String("--jobs"))
            o.jobs = next.toInt(), ++i;
        else if (a == QLatin1String("--restart"))
            o.restart = true;
        else if (a == QLatin1String("--one-customer"))
            o.oneCustomer = true;
        else if (a == QLatin1String("--crash"))
            o.restart = o.crash = true;
        else if (a == QLatin1String("--down-seconds"))
            o.downSeconds = next.toInt(), ++i;
        else if (a == QLatin1String("--cluster"))
            o.cluster = o.restart = o.crash = true;
        else if (a == QLatin1String("--cluster-dir"))
            o.clusterDir = next, ++i;
        else if (a == QLatin1String("--server-dir"))
            o.serverDir = next, ++i;
        else if (a == QLatin1String("--worker"))
            o.worker = next.toInt(), ++i;
        else if (a == QLatin1String("--searcher"))
            o.searcher = true;
        else if (a == QLatin1String("--database"))
            o.database = next, ++i;
        else if (a == QLatin1String("--stop-file"))
            o.stopFile = next, ++i;
        else
            throw std::runtime_error("unknown option " + a.toStdString());
    }
    if (o.workers < 1 || o.jobs < 1)
        throw std::runtime_error("--workers and --jobs take a positive number");
    if (o.cluster && (o.clusterDir.isEmpty() || qEnvironmentVariable("KML_BENCH_CLUSTER").isEmpty()))
        throw std::runtime_error(
            "--cluster needs the cluster bench/load starts (--cluster-dir, KML_BENCH_CLUSTER)");
    if (o.restart && o.serverDir.isEmpty())
        throw std::runtime_error("--restart needs --server-dir (bench/load gives it)");
    return o;
}

// ---- What the processes reported ------------------------------------------------

struct Slowest {
    double ms = 0;
    int worker = 0;
    int job = 0;
};

struct OpStats {
    std::vector<double> ms;
    Slowest slowest;
};

struct Done {
    int sheet = 0;
    int lines = 0;
    int employees = 0;
};

struct Collected {
    std::map<QString, OpStats> ops;
    std::map<unsigned, int> lockRetries; // by error number
    std::map<QString, int> lockRetriesByKind;
    std::set<std::pair<int, int>> jobsWithLockRetries;
    int losses = 0, lossesMidStatement = 0, foundStored = 0, ranAgain = 0;
    Slowest longestRecovery;
    std::map<std::pair<int, int>, int> created; // (worker, job) -> sheet
    std::vector<int> createdSheets;             // every "sheet" report, duplicates kept
    std::map<std::pair<int, int>, Done> done;
    std::map<std::pair<int, int>, QString> failed;
    std::set<int> ended;
    int searches = 0;
    int jobsDone = 0;
    int unitDeadlocks = 0, unitLockWaits = 0; // run again inside the program's units of work
    QStringList malformed;

    void take(const QString& line) {
        const QStringList f = line.split(QLatin1Char(' '));
        const QString& what = f.value(0);
        auto tail = [&](int fromEnd) { return f.value(f.size() - fromEnd).toInt(); };
        if (what == QLatin1String("op") && f.size() == 5) {
            OpStats& s = ops[f[1]];
            const double ms = f[2].toDouble();
            s.ms.push_back(ms);
            if (ms > s.slowest.ms)
                s.slowest = {ms, tail(2), tail(1)};
            if (f[1] == QLatin1String("search"))
                ++searches;
        } else if (what == QLatin1String("retry") && f.size() == 5) {
            ++lockRetries[f[2].toUInt()];
            ++lockRetriesByKind[f[1]];
            jobsWithLockRetries.insert({tail(2), tail(1)});
        } else if (what == QLatin1String("lost") && f.size() == 6) {
            ++losses;
            lossesMidStatement += f[3].toInt();
        } else if (what == QLatin1String("recovered") && f.size() == 6) {
            (f[3] == QLatin1String("1") ? foundStored : ranAgain)++;
            if (f[2].toDouble() > longestRecovery.ms)
                longestRecovery = {f[2].toDouble(), tail(2), tail(1)};
        } else if (what == QLatin1String("sheet") && f.size() == 4) {
            created[{tail(2), tail(1)}] = f[1].toInt();
            createdSheets.push_back(f[1].toInt());
        } else if (what == QLatin1String("job") && f.size() == 6) {
            done[{tail(2), tail(1)}] = {f[1].toInt(), f[2].toInt(), f[3].toInt()};
            ++jobsDone;
        } else if (what == QLatin1String("failed") && f.size() >= 4) {
            failed[{f[1].toInt(), f[2].toInt()}] = f.mid(3).join(QLatin1Char(' '));
        } else if (what == QLatin1String("conflicts") && f.size() == 5) {
            unitDeadlocks += f[1].toInt();
            unitLockWaits += f[2].toInt();
        } else if (what == QLatin1String("end") && f.size() == 2) {
            ended.insert(f[1].toInt());
        } else {
            malformed << line;
        }
    }
};

// ---- The run ---------------------------------------------------------------------------

class Run final {
public:
    Run(const Options& options, const QString& database) : m_options(options), m_database(database) {}

    // Starts the processes and waits for the workers; the searcher is
    // stopped once they are done. With --restart the server is restarted on
    // the way. The seconds the workers took.
    double go() {
        QTemporaryDir dir;
        const QString stopFile = dir.filePath(QStringLiteral("stop"));
        const QString program = QCoreApplication::applicationFilePath();

        QElapsedTimer clock;
        clock.start();
        auto searcher =
            start(program, {QStringLiteral("--searcher"), QStringLiteral("--stop-file"), stopFile});
        std::vector<std::unique_ptr<QProcess>> workers;
        for (int w = 1; w <= m_options.workers; ++w) {
            QStringList args{QStringLiteral("--worker"), QString::number(w), QStringLiteral("--jobs"),
                             QString::number(m_options.jobs)};
            if (m_options.oneCustomer)
                args << QStringLiteral("--one-customer");
            workers.push_back(start(program, args));
        }
        QEventLoop loop;
        int running = m_options.workers;
        for (auto& w : workers)
            QObject::connect(w.get(), &QProcess::finished, &loop, [&] {
                if (--running == 0)
                    loop.quit();
            });
        loop.exec();
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        if (m_restarter.joinable())
            m_restarter.join();

        QFile(stopFile).open(QIODevice::WriteOnly);
        searcher->waitForFinished(60000);
        m_searchSeconds = double(clock.nsecsElapsed()) / 1e9;
        for (auto& p : workers)
            read(*p);
        read(*searcher);
        for (auto& w : workers)
            if (w->exitStatus() != QProcess::NormalExit)
                m_crashed++;
        return seconds;
    }

    const Collected& collected() const { return m_collected; }
    double searchSeconds() const { return m_searchSeconds; }
    int crashed() const { return m_crashed; }
    bool restarted() const { return m_restartOk; }
    double downSeconds() const { return m_downSeconds; }
    int restartAfterJobs() const { return m_restartAfterJobs; }

private:
    std::unique_ptr<QProcess> start(const QString& program, QStringList args) {
        args << QStringLiteral("--database") << m_database;
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (m_options.cluster) {
            // Each workstation's entry names every node, its own first: worker
            // w starts on node w mod 3, the searcher on the first.
            const int worker = args.indexOf(QStringLiteral("--worker")) >= 0
                                   ? args.value(args.indexOf(QStringLiteral("--worker")) + 1).toInt()
                                   : 0;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            const std::vector<ServerAddress> nodes =
                ServerList(qEnvironmentVariable("KML_BENCH_CLUSTER"), 3306);
            env.insert(QStringLiteral("KML_TEST_HOST"),
                       RotatedHostList(nodes, size_t(worker) % nodes.size()));
            p->setProcessEnvironment(env);
        }
        QProcess* raw = p.get();
        QObject::connect(raw, &QProcess::readyReadStandardOutput, raw, [this, raw] { read(*raw); });
        p->start(program, args);
        if (!p->waitForStarted())
            throw std::runtime_error("cannot start " + program.toStdString());
        return p;
    }

    void read(QProcess& p) {
        while (p.canReadLine())
            m_collected.take(QString::fromUtf8(p.readLine()).trimmed());
        if (m_options.restart && !m_restartBegun &&
            m_collected.jobsDone >= int(m_options.restartAt * m_options.workers * m_options.jobs)) {
            m_restartBegun = true;
            m_restartAfterJobs = m_collected.jobsDone;
            m_restarter = std::thread([this] { restartServer(); });
        }
    }

    // Stops the server (as an administrator would: a clean shutdown that
    // closes every session; with --crash it is killed, as by a power cut of
    // the server alone), waits, and starts it again on the same port.
    void restartServer() {
        if (m_options.cluster) {
            restartNode();
            return;
        }
        const QString script = test::SourcePath(QStringLiteral("scripts/dbserver"));
        const QString port = qEnvironmentVariable("KML_TEST_PORT");
        std::fprintf(stderr, "-- %s the server after %d jobs\n", m_options.crash ? "killing" : "stopping",
                     m_restartAfterJobs);
        QElapsedTimer down;
        down.start();
        int stopped = 0;
        if (m_options.crash) {
            QFile pidFile(m_options.serverDir + QStringLiteral("/mariadb.pid"));
            const qint64 pid =
                pidFile.open(QIODevice::ReadOnly) ? pidFile.readAll().trimmed().toLongLong() : 0;
            stopped = pid > 0 && ::kill(pid_t(pid), SIGKILL) == 0 ? 0 : 1;
            while (pid > 0 && ::kill(pid_t(pid), 0) == 0)
                QThread::msleep(50);
        } else {
            stopped = QProcess::execute(script, {QStringLiteral("stop"), m_options.serverDir});
        }
        QThread::sleep(unsigned(m_options.downSeconds));
        const int started = QProcess::execute(script, {QStringLiteral("start"), m_options.serverDir, port});
        m_downSeconds = double(down.nsecsElapsed()) / 1e9;
        m_restartOk = stopped == 0 && started == 0;
        std::fprintf(stderr, "-- server back after %.1f s\n", m_downSeconds.load());
    }

    // Kills the cluster's second node (SIGKILL), waits, and starts it again;
    // it catches up with what the others stored meanwhile before it takes
    // workstations again.
    void restartNode() {
        const QString script = test::SourcePath(QStringLiteral("scripts/cluster"));
        std::fprintf(stderr, "-- killing cluster node 2 after %d jobs\n", m_restartAfterJobs);
        QElapsedTimer down;
        down.start();
        const int stopped = QProcess::execute(
            script, {QStringLiteral("kill-node"), m_options.clusterDir, QStringLiteral("2")});
        QThread::sleep(unsigned(m_options.downSeconds));
        const int started = QProcess::execute(
            script, {QStringLiteral("start-node"), m_options.clusterDir, QStringLiteral("2")});
        m_downSeconds = double(down.nsecsElapsed()) / 1e9;
        m_restartOk = stopped == 0 && started == 0;
        std::fprintf(stderr, "-- node 2 back after %.1f s\n", m_downSeconds.load());
    }

    Options m_options;
    QString m_database;
    Collected m_collected;
    double m_searchSeconds = 0;
    int m_crashed = 0;
    bool m_restartBegun = false;
    std::atomic<bool> m_restartOk{false};
    std::atomic<double> m_downSeconds{0};
    int m_restartAfterJobs = 0;
    std::thread m_restarter;
};

// ---- The checks ---------------------------------------------------------------------

struct Check {
    QString what;
    bool met = false;
    QString detail;
};

int Int(Connection& db, const QString& sql) {
    const ResultSet rs = db.query(sql);
    return rs.rowCount() == 0 ? 0 : rs.value(0, 0).toInt();
}

// The sheets the workers made, by number, as the server holds them.
const QString OurSheets =
    QStringLiteral("(SELECT munkalap FROM munkalap WHERE felhasznalo LIKE 'Terhelés %')");

std::vector<Check> CheckInvariants(Connection& db, const Options& options, const Run& run) {
    const Collected& c = run.collected();
    std::vector<Check> checks;
    const int asked = options.workers * options.jobs;

    {
        Check k{QStringLiteral("every job done"), false, {}};
        k.met = c.jobsDone == asked && c.failed.empty() && run.crashed() == 0 &&
                int(c.ended.size()) == options.workers + 1 && c.malformed.isEmpty();
        k.detail = QStringLiteral("%1 of %2 done, %3 failed, %4 processes ended")
                       .arg(c.jobsDone)
                       .arg(asked)
                       .arg(c.failed.size())
                       .arg(c.ended.size());
        int shown = 0;
        for (const auto& [job, text] : c.failed)
            if (shown++ < 5)
                k.detail += QStringLiteral("\n         worker %1 job %2: %3")
                                .arg(job.first)
                                .arg(job.second)
                                .arg(text);
        for (const QString& line : c.malformed.mid(0, 3))
            k.detail += QStringLiteral("\n         unreadable report: ") + line;
        checks.push_back(k);
    }

    {
        // Every sheet a worker reported, once, and no other sheet of theirs.
        std::set<int> reported(c.createdSheets.begin(), c.createdSheets.end());
        const ResultSet rs =
            db.query(QStringLiteral("SELECT munkalap FROM munkalap WHERE munkalap IN %1;").arg(OurSheets));
        std::set<int> stored;
        for (int r = 0; r < rs.rowCount(); ++r)
            stored.insert(rs.value(r, 0).toInt());
        int missing = 0, extra = 0;
        for (int s : reported)
            missing += stored.count(s) == 0;
        for (int s : stored)
            extra += reported.count(s) == 0;
        const int twice = int(c.createdSheets.size() - reported.size());
        Check k{QStringLiteral("no sheet lost or duplicated"), false, {}};
        k.met = missing == 0 && extra == 0 && twice == 0 && int(stored.size()) == int(c.created.size());
        k.detail = QStringLiteral(
                       "%1 sheets stored for %2 jobs started; missing %3, not reported %4, reported twice %5")
                       .arg(stored.size())
                       .arg(c.created.size())
                       .arg(missing)
                       .arg(extra)
                       .arg(twice);
        checks.push_back(k);
    }

    {
        // Lines and employees of each finished job, as many as it entered.
        const ResultSet rs = db.query(
            QStringLiteral(
                "SELECT m.munkalap, (SELECT COUNT(*) FROM munkalap_tetel t WHERE t.munkalap = m.munkalap), "
                "(SELECT COUNT(*) FROM munkalap_dolgozo d WHERE d.munkalap = m.munkalap) "
                "FROM munkalap m WHERE m.munkalap IN %1;")
                .arg(OurSheets));
        std::map<int, std::pair<int, int>> stored;
        for (int r = 0; r < rs.rowCount(); ++r)
            stored[rs.value(r, 0).toInt()] = {rs.value(r, 1).toInt(), rs.value(r, 2).toInt()};
        int wrongLines = 0, wrongEmployees = 0, lines = 0;
        QString first;
        for (const auto& [job, d] : c.done) {
            const auto it = stored.find(d.sheet);
            const std::pair<int, int> have = it == stored.end() ? std::pair{-1, -1} : it->second;
            lines += d.lines;
            if (have.first != d.lines) {
                ++wrongLines;
                if (first.isEmpty())
                    first = QStringLiteral("; sheet %1 has %2 lines for %3")
                                .arg(d.sheet)
                                .arg(have.first)
                                .arg(d.lines);
            }
            wrongEmployees += have.second != d.employees;
        }
        Check k{QStringLiteral("no line or employee lost or duplicated"), false, {}};
        k.met = wrongLines == 0 && wrongEmployees == 0;
        k.detail = QStringLiteral("%1 lines entered; sheets with other lines %2, other employees %3%4")
                       .arg(lines)
                       .arg(wrongLines)
                       .arg(wrongEmployees)
                       .arg(first);
        checks.push_back(k);
    }

    {
        const int wrong = Int(
            db,
            QStringLiteral(
                "SELECT COUNT(*) FROM munkalap m LEFT JOIN (SELECT munkalap, SUM(COALESCE(db, 0) * "
                "COALESCE(egysar, 0)) "
                "o, SUM(COALESCE(db, 0) * COALESCE(beszar, 0)) b FROM munkalap_tetel GROUP BY munkalap) t "
                "ON t.munkalap = m.munkalap WHERE m.munkalap IN %1 AND (ABS(m.ar_ossz - COALESCE(t.o, 0)) > "
                "0.005 "
                "OR ABS(m.ar_besz - COALESCE(t.b, 0)) > 0.005 OR ABS(m.ar_fizetendo - (m.ar_ossz - "
                "COALESCE(m.ar_eloleg, 0) - ABS(COALESCE(m.ar_kedvezmeny, 0)))) > 0.005);")
                .arg(OurSheets));
        const int uneven =
            Int(db, QStringLiteral("SELECT COUNT(*) FROM (SELECT munkalap FROM munkalap_tetel WHERE "
                                   "munkalap IN %1 GROUP BY munkalap HAVING COUNT(DISTINCT kedv_ad) > 1) x;")
                        .arg(OurSheets));
        Check k{QStringLiteral("every sheet's totals equal the sum of its lines"), false, {}};
        k.met = wrong == 0 && uneven == 0;
        k.detail = QStringLiteral("sheets out of step %1; sheets whose discount missed a line %2")
                       .arg(wrong)
                       .arg(uneven);
        checks.push_back(k);
    }

    {
        // The records the jobs touched on the way: each device's last sheet
        // is its newest, each customer's last visit no earlier than a sheet
        // of theirs.
        const int devices =
            Int(db, QStringLiteral("SELECT COUNT(*) FROM keszulek k WHERE k.keszulek IN (SELECT keszulek "
                                   "FROM munkalap WHERE munkalap IN %1) AND k.utolso_munkalap <> (SELECT "
                                   "MAX(m.munkalap) FROM munkalap m WHERE m.keszulek = k.keszulek);")
                        .arg(OurSheets));
        const int customers =
            Int(db, QStringLiteral("SELECT COUNT(*) FROM ugyfel u WHERE u.ugyfel IN (SELECT ugyfel FROM "
                                   "munkalap WHERE munkalap IN %1) AND (u.dat_utolso IS NULL OR "
                                   "u.dat_utolso < (SELECT MAX(m.datum) FROM munkalap m WHERE m.ugyfel "
                                   "= u.ugyfel));")
                        .arg(OurSheets));
        Check k{QStringLiteral("devices and customers point to their newest sheet"), false, {}};
        k.met = devices == 0 && customers == 0;
        k.detail =
            QStringLiteral("devices with an older last sheet %1, customers with an earlier last visit %2")
                .arg(devices)
                .arg(customers);
        checks.push_back(k);
    }

    {
        // Status history: each step forward, each step once; the finished
        // sheets invoiced and paid.
        const int backwards = Int(
            db, QStringLiteral(
                    "SELECT COUNT(*) FROM (SELECT statusz, LAG(statusz) OVER (PARTITION BY munkalap ORDER BY "
                    "statuszvaltas) elozo FROM statuszvaltas WHERE munkalap IN %1) x WHERE statusz <= elozo;")
                    .arg(OurSheets));
        std::set<int> finished;
        for (const auto& [job, d] : c.done)
            finished.insert(d.sheet);
        const ResultSet rs = db.query(
            QStringLiteral(
                "SELECT m.munkalap, m.statusz, m.fizetve, COALESCE(m.szlaszam, ''), (SELECT "
                "GROUP_CONCAT(s.statusz ORDER BY s.statuszvaltas) FROM statuszvaltas s WHERE s.munkalap = "
                "m.munkalap) FROM munkalap m WHERE m.munkalap IN %1;")
                .arg(OurSheets));
        int unfinished = 0, history = 0;
        for (int r = 0; r < rs.rowCount(); ++r) {
            if (!finished.count(rs.value(r, 0).toInt()))
                continue;
            unfinished +=
                rs.value(r, 1).toInt() != 4 || rs.text(r, 2) != QLatin1String("I") || rs.text(r, 3).isEmpty();
            history += rs.text(r, 4) != QLatin1String("3,4");
        }
        Check k{QStringLiteral("no status went backwards"), false, {}};
        k.met = backwards == 0 && unfinished == 0 && history == 0;
        k.detail =
            QStringLiteral("steps backwards or repeated %1; finished sheets not invoiced and paid %2, with "
                           "another history than 3,4 %3")
                .arg(backwards)
                .arg(unfinished)
                .arg(history);
        checks.push_back(k);
    }

    {
        // A deadlock victim or lock wait ends as a retried operation of a
        // job that was then done, or as a reported failure. Without a
        // restart the server's count of deadlocks is compared with those the
        // workers saw: a deadlock caught and dropped on the way would show.
        int unsettled = 0;
        for (const auto& job : c.jobsWithLockRetries)
            unsettled += c.done.count(job) == 0 && c.failed.count(job) == 0;
        int seen = c.unitDeadlocks;
        for (const auto& [code, n] : c.lockRetries)
            seen += code == 1213 ? n : 0;
        Check k{QStringLiteral("deadlocks and lock waits retried or reported"), false, {}};
        k.met = unsettled == 0;
        k.detail = QStringLiteral("deadlocks %1, lock waits %2 run again by the jobs, %4 and %5 inside the "
                                  "program's units of work; jobs with neither done nor reported %3")
                       .arg(c.lockRetries.count(1213) ? c.lockRetries.at(1213) : 0)
                       .arg(c.lockRetries.count(1205) ? c.lockRetries.at(1205) : 0)
                       .arg(unsettled)
                       .arg(c.unitDeadlocks)
                       .arg(c.unitLockWaits);
        if (!options.restart) {
            const ResultSet rs = db.query(QStringLiteral("SHOW GLOBAL STATUS LIKE 'Innodb_deadlocks';"));
            const int server = rs.rowCount() ? rs.value(0, 1).toInt() : -1;
            k.met = k.met && server == seen;
            k.detail += QStringLiteral("; the server counted %1 deadlocks").arg(server);
        }
        checks.push_back(k);
    }

    {
        Check k{QStringLiteral("the lists were searched throughout"), false, {}};
        bool failed = false;
        for (const auto& [job, text] : c.failed)
            failed = failed || job.first == 0;
        k.met = c.searches > 0 && !failed && c.ended.count(0);
        k.detail = QStringLiteral("%1 searches").arg(c.searches);
        checks.push_back(k);
    }

    if (options.restart) {
        Check k{QStringLiteral("the work carried on through a server restart"), false, {}};
        k.met = run.restarted() && c.losses > 0;
        k.detail = QStringLiteral("server %1 after %2 jobs, down %3 s; %4 operations met the lost server (%5 "
                                  "mid-statement): %6 found already stored, %7 run again")
                       .arg(run.restarted() ? QStringLiteral("restarted") : QStringLiteral("NOT restarted"))
                       .arg(run.restartAfterJobs())
                       .arg(run.downSeconds(), 0, 'f', 1)
                       .arg(c.losses)
                       .arg(c.lossesMidStatement)
                       .arg(c.foundStored)
                       .arg(c.ranAgain);
        checks.push_back(k);
    }
    return checks;
}

struct RunOutcome {
    double jobsPerSecond = 0;
    std::vector<Check> checks;
};

// What every node of the cluster holds of the run's sheets and lines: one
// line of counts and sums per node, the same on all when nothing was lost
// on the way to any of them.
QString NodeFingerprint(const ServerAddress& node, const QString& database) {
    ConnectionOptions o = test::ServerOptions(database);
    o.host = node.text();
    Connection c;
    c.open(o);
    c.exec(QStringLiteral("SET SESSION wsrep_sync_wait = 1"));
    const ResultSet rs = c.query(QStringLiteral(
        "SELECT (SELECT CONCAT(COUNT(*), '/', COALESCE(SUM(CRC32(CONCAT_WS('|', munkalap, statusz, "
        "fizetve, szlaszam, ar_ossz, ar_fizetendo, dolgozostr))), 0)) FROM munkalap), (SELECT "
        "CONCAT(COUNT(*), '/', COALESCE(SUM(CRC32(CONCAT_WS('|', munkalap_tetel, munkalap, db, "
        "egysar))), 0)) FROM munkalap_tetel), (SELECT COUNT(*) FROM statuszvaltas)"));
    return rs.text(0, 0) + QLatin1Char(' ') + rs.text(0, 1) + QLatin1Char(' ') + rs.text(0, 2);
}

RunOutcome RunOnce(const Options& options) {
    QTextStream out(stdout);
    const ConnectionOptions server = test::ServerOptions();
    out << "Load: " << options.workers << " workers x " << options.jobs << " jobs, 1 searcher, on "
        << (options.cluster ? QStringLiteral("the cluster %1 (workers spread over its nodes)")
                                  .arg(qEnvironmentVariable("KML_BENCH_CLUSTER"))
                            : QStringLiteral("%1:%2").arg(server.host).arg(server.port))
        << (options.cluster   ? ", node 2 killed and started again during the run"
            : options.crash   ? ", server killed and started again during the run"
            : options.restart ? ", server restarted during the run"
                              : "")
        << Qt::endl;

    test::TestDatabase database(QStringLiteral("load"), test::TestDatabase::Contents::Demo);
    Run run(options, database.name());
    const double seconds = run.go();
    const Collected& c = run.collected();

    int operations = 0;
    for (const auto& [kind, s] : c.ops)
        if (kind != QLatin1String("search"))
            operations += int(s.ms.size());
    out << "\nJobs: " << c.jobsDone << " in " << QString::number(seconds, 'f', 1)
        << " s = " << QString::number(c.jobsDone / seconds, 'f', 1) << " jobs/s ("
        << QString::number(operations / seconds, 'f', 0) << " operations/s); searches: " << c.searches << " ("
        << QString::number(c.searches / run.searchSeconds(), 'f', 1) << "/s)\n\n";
    out << "operation      count   median (ms)   max (ms)   slowest at\n";
    const QStringList order{QStringLiteral("new-sheet"), QStringLiteral("line"),
                            QStringLiteral("discount"),  QStringLiteral("amounts"),
                            QStringLiteral("employee"),  QStringLiteral("complete"),
                            QStringLiteral("ready"),     QStringLiteral("invoice"),
                            QStringLiteral("payment"),   QStringLiteral("search")};
    QString slowestKind;
    Slowest slowest;
    for (const QString& kind : order) {
        const auto it = c.ops.find(kind);
        if (it == c.ops.end())
            continue;
        const OpStats& s = it->second;
        out << kind.leftJustified(12) << QString::number(s.ms.size()).rightJustified(8) << "      "
            << Ms(Median(s.ms)) << "   " << Ms(s.slowest.ms) << "   "
            << (kind == QLatin1String("search")
                    ? QStringLiteral("search %1").arg(s.slowest.job)
                    : QStringLiteral("worker %1 job %2").arg(s.slowest.worker).arg(s.slowest.job))
            << '\n';
        if (s.slowest.ms > slowest.ms) {
            slowest = s.slowest;
            slowestKind = kind;
        }
    }
    out << "\nSlowest operation: " << slowestKind << ", " << QString::number(slowest.ms, 'f', 1) << " ms\n";
    out << "Retried after a deadlock: " << (c.lockRetries.count(1213) ? c.lockRetries.at(1213) : 0)
        << ", after a lock wait: " << (c.lockRetries.count(1205) ? c.lockRetries.at(1205) : 0);
    for (const auto& [kind, n] : c.lockRetriesByKind)
        out << (kind == c.lockRetriesByKind.begin()->first ? " (" : ", ") << kind << ' ' << n;
    out << (c.lockRetriesByKind.empty() ? "" : ")") << '\n';
    if (c.losses > 0)
        out << "Lost connection met by " << c.losses << " operations (" << c.lossesMidStatement
            << " mid-statement); already stored " << c.foundStored << ", run again " << c.ranAgain
            << "; longest recovery " << QString::number(c.longestRecovery.ms / 1000, 'f', 1) << " s\n";

    // The checks run on the bench's own connection, which has lived through
    // the restart too.
    if (options.cluster) {
        // Reads wait for everything the cluster committed.
        database.connection().exec(QStringLiteral("SET SESSION wsrep_sync_wait = 1"));
        out << "Conflicts run again inside the program's units of work: " << c.unitDeadlocks
            << " deadlocks or certification conflicts, " << c.unitLockWaits << " lock waits\n";
    }
    RunOutcome outcome;
    outcome.jobsPerSecond = c.jobsDone / seconds;
    outcome.checks = CheckInvariants(database.connection(), options, run);
    if (options.cluster) {
        Check k{QStringLiteral("every node holds the same sheets and lines"), true, {}};
        QStringList prints;
        const std::vector<ServerAddress> nodes = ServerList(qEnvironmentVariable("KML_BENCH_CLUSTER"), 3306);
        for (const ServerAddress& node : nodes) {
            try {
                prints << NodeFingerprint(node, database.name());
            } catch (const DbError& e) {
                prints << e.text();
            }
            k.met = k.met && prints.back() == prints.front();
        }
        k.detail = prints.join(QStringLiteral(" | "));
        outcome.checks.push_back(k);
    }
    out << "\nChecks:\n";
    for (const Check& k : outcome.checks)
        out << (k.met ? "  ok     " : "  MISSED ") << k.what << ": " << k.detail << '\n';
    out.flush();
    return outcome;
}

int Coordinate(const Options& options) {
    QTextStream out(stdout);
    std::vector<Check> checks;
    if (options.cluster) {
        // The same command on the single server first, for the comparison.
        Options single = options;
        single.cluster = false;
        single.restart = single.crash = false;
        out << "== The same run on one server ==" << Qt::endl;
        const RunOutcome reference = RunOnce(single);
        for (Check k : reference.checks) {
            k.what = QStringLiteral("one server: ") + k.what;
            checks.push_back(k);
        }
        // The coordinator makes and checks the database through node 1.
        const std::vector<ServerAddress> nodes = ServerList(qEnvironmentVariable("KML_BENCH_CLUSTER"), 3306);
        qputenv("KML_TEST_HOST", nodes[0].host.toLocal8Bit());
        qputenv("KML_TEST_PORT", QByteArray::number(nodes[0].port));
        out << "\n== On the three-node cluster, node 2 killed and started again ==" << Qt::endl;
        const RunOutcome onCluster = RunOnce(options);
        checks.insert(checks.end(), onCluster.checks.begin(), onCluster.checks.end());
        const double ratio =
            reference.jobsPerSecond > 0 ? onCluster.jobsPerSecond / reference.jobsPerSecond : 0;
        Check k{QStringLiteral("cluster jobs/s at least 0.6 x one server's"), ratio >= 0.6, {}};
        k.detail = QStringLiteral("%1 jobs/s on the cluster, %2 on one server: %3 x")
                       .arg(onCluster.jobsPerSecond, 0, 'f', 1)
                       .arg(reference.jobsPerSecond, 0, 'f', 1)
                       .arg(ratio, 0, 'f', 2);
        out << "\n" << (k.met ? "  ok     " : "  MISSED ") << k.what << ": " << k.detail << '\n';
        checks.push_back(k);
    } else {
        checks = RunOnce(options).checks;
    }
    int missed = 0;
    QStringList names;
    for (const Check& k : checks)
        if (!k.met) {
            ++missed;
            names << k.what;
        }
    out << '\n'
        << (missed == 0 ? QStringLiteral("targets: all met")
                        : QStringLiteral("targets: %1 missed").arg(missed));
    if (missed)
        out << " (" << names.join(QStringLiteral("; ")) << ')';
    out << Qt::endl;
    return missed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        const Options options = ParseOptions(app.arguments());
        if (options.worker > 0) {
            WorkerSetup setup;
            setup.database = options.database;
            setup.worker = options.worker;
            setup.jobs = options.jobs;
            setup.oneCustomer = options.oneCustomer;
            return RunLoadWorker(setup);
        }
        if (options.searcher)
            return RunLoadSearcher(options.database, options.stopFile);
        return Coordinate(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_load: %s\n", e.what());
        return 2;
    }
}
