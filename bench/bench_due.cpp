// What falls due over the large shop (bench/run --due):
//   - the "Esedékes" window's first screen for every period: from choosing
//     the period until the grid is painted, against the same statement
//     through the mariadb client (target 150 ms);
//   - the main window's count of the week (target 50 ms), against the
//     client;
//   - the comeback check that opening a new sheet runs for a device with a
//     recently finished sheet: the shop's days and the device's last
//     finished sheet (target 10 ms).
#include "BenchSupport.h"
#include "ClientTiming.h"
#include "components/Connection.h"
#include "components/Cp1250.h"
#include "components/Query.h"
#include "foundation/Settings.h"
#include "worksheets/Comebacks.h"
#include "worksheets/DueList.h"
#include "worksheets/gui/Tfrm_Esedekes.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTableView>
#include <QTextStream>
#include <cstdio>

using namespace kml;
using namespace kml::bench;

namespace {

QTextStream out(stdout);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Server port."),
                                  QStringLiteral("port"), QStringLiteral("3306"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Database."),
                                      QStringLiteral("database"), QStringLiteral("koravel_large"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Timed runs."), QStringLiteral("n"),
                                  QStringLiteral("5"));
    parser.addOptions({port, database, runs});
    parser.process(app);
    ConnectionOptions c;
    c.port = parser.value(port).toUInt();
    c.user = QStringLiteral("root");
    c.database = parser.value(database);
    const int n = std::max(1, parser.value(runs).toInt());
    ClientSetup client;
    client.host = QStringLiteral("127.0.0.1");
    client.port = c.port;
    client.user = c.user;
    client.database = c.database;
    try {
        Connection db;
        db.open(c);
        SetSharedConnection(&db);
        Beall().muszakistr = QStringLiteral("Éves karbantartás");
        const QDate today = db.query(QStringLiteral("SELECT CURDATE()")).value(0, 0).toDate();

        out << "What falls due, " << db.query(QStringLiteral("SELECT COUNT(*) FROM ugyfel")).text(0, 0)
            << " customers, " << db.query(QStringLiteral("SELECT COUNT(*) FROM keszulek")).text(0, 0)
            << " devices; medians of " << n << " runs\n";
        out << "Target: first screen <= 150 ms for every period; count <= 50 ms; comeback check <= 10 ms\n\n";

        Tfrm_Esedekes w;
        w.openAt(std::nullopt);
        w.resize(1100, 700);
        w.show();
        const struct {
            const char* name;
            DuePeriod period;
        } periods[] = {
            {"Ez a hét        ", {DuePreset::ThisWeek, {}, {}}},
            {"Következő 30 nap", {DuePreset::Next30Days, {}, {}}},
            {"Lejártak        ", {DuePreset::Overdue, {}, {}}},
            {"Időszak (90 nap)", {DuePreset::Custom, today, today.addDays(90)}},
        };
        for (const auto& p : periods) {
            const std::vector<double> ms = TimeRuns(n, [&] {
                w.setPeriod(p.period);
                w.grid()->viewport()->repaint();
            });
            const QByteArray sql = ToCp1250(DueListSql(p.period, Beall().muszakistr));
            const double clientMs = ClientOnceMs(client, sql, true);
            out << QString::fromUtf8(p.name) << ": " << w.list().rowCount() << " rows, first screen "
                << Ms(Median(ms)) << " ms; mariadb client " << Ms(clientMs) << " ms; window / client "
                << Ratio(Median(ms), clientMs) << "\n";
        }
        w.hide();

        const std::vector<double> count = TimeRuns(n, [&] { CountDue(db); });
        const DueCount due = CountDue(db);
        const double countClient = ClientStatementMs(client, ToCp1250(DueCountSql()), true, 5, 3);
        out << "\nStatus-bar count (" << DueCountText(due) << "): " << Ms(Median(count))
            << " ms; mariadb client " << Ms(countClient) << " ms; program / client "
            << Ratio(Median(count), countClient) << "\n";

        // A device whose last sheet was finished lately, as the check finds it.
        const int device =
            db.query(QStringLiteral("SELECT keszulek FROM munkalap WHERE keszulek > 0 AND storno = 'N' AND "
                                    "dat_kesz >= CURDATE() - INTERVAL 20 DAY ORDER BY munkalap DESC LIMIT 1"))
                .text(0, 0)
                .toInt();
        bool found = false;
        const std::vector<double> check =
            TimeRuns(n * 4, [&] { found = FindComebackCandidate(device, ComebackDays()).has_value(); });
        out << "Comeback check, device " << device << (found ? " (a comeback)" : " (none found)") << ": "
            << Ms(Median(check)) << " ms\n";
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
