// The history windows and the SQL console over the large shop (bench/console):
//   - the work-sheet browser of the customer with the most sheets and the
//     item history of the device with the most lines: from the call until
//     the window's first screen is painted;
//   - the console's SELECT * FROM vw_munkalap: the first screen, all rows,
//     and the longest time the window's event loop waited meanwhile, against
//     the same statement through the mariadb client.
#include "BenchSupport.h"
#include "ClientTiming.h"
#include "admin/SqlConsole.h"
#include "components/Connection.h"
#include "components/Cp1250.h"
#include "components/Query.h"
#include "foundation/Settings.h"
#include "worksheets/gui/Tfrm_MunkalapBongeszo.h"
#include "worksheets/gui/Tfrm_MunkalapBongeszo2.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTableView>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

using namespace kml;
using namespace kml::bench;

namespace {

QTextStream out(stdout);

int ScalarInt(Connection& c, const QString& sql) {
    return c.query(sql).text(0, 0).toInt();
}

// From constructing the window to its first screen painted.
template <typename W, typename... A> double FirstScreenMs(A... args) {
    QElapsedTimer t;
    t.start();
    W w(args...);
    w.openAt(std::nullopt);
    w.show();
    w.grid()->viewport()->repaint();
    const double ms = ElapsedMs(t);
    w.hide();
    return ms;
}

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
    try {
        Connection db;
        db.open(c);
        SetSharedConnection(&db);

        // A customer with 500 sheets and a device with about 2,000 lines: sheets
        // lent to them inside a transaction of the program's connection (the
        // windows read on it), rolled back at the end.
        db.exec(QStringLiteral("START TRANSACTION"));
        db.exec(
            QStringLiteral("UPDATE munkalap SET ugyfel = (SELECT MIN(ugyfel) FROM ugyfel WHERE ugyfel > 0) "
                           "WHERE munkalap BETWEEN 1001 AND 1500"));
        db.exec(QStringLiteral(
            "UPDATE munkalap SET keszulek = (SELECT MIN(keszulek) FROM keszulek WHERE keszulek > "
            "0) WHERE munkalap BETWEEN 2001 AND 2400"));
        const int customer =
            ScalarInt(db, QStringLiteral("SELECT ugyfel FROM munkalap WHERE ugyfel > 0 GROUP BY "
                                         "ugyfel ORDER BY COUNT(*) DESC LIMIT 1"));
        const int sheets =
            ScalarInt(db, QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE ugyfel = %1").arg(customer));
        const int device =
            ScalarInt(db, QStringLiteral("SELECT m.keszulek FROM munkalap m JOIN munkalap_tetel t ON "
                                         "t.munkalap = m.munkalap WHERE m.keszulek > 0 GROUP BY "
                                         "m.keszulek ORDER BY COUNT(*) DESC LIMIT 1"));
        const int lines =
            ScalarInt(db, QStringLiteral("SELECT COUNT(*) FROM munkalap m JOIN munkalap_tetel t ON "
                                         "t.munkalap = m.munkalap WHERE m.keszulek = %1")
                              .arg(device));
        // One run each to warm up (fonts, the server's buffers), then timed.
        FirstScreenMs<Tfrm_MunkalapBongeszo>(customer, -1);
        FirstScreenMs<Tfrm_MunkalapBongeszo2>(device);
        std::vector<double> b, h;
        for (int i = 0; i < n; ++i) {
            b.push_back(FirstScreenMs<Tfrm_MunkalapBongeszo>(customer, -1));
            h.push_back(FirstScreenMs<Tfrm_MunkalapBongeszo2>(device));
        }
        out << "Work-sheet browser, customer " << customer << " with " << sheets << " sheets: first screen "
            << Ms(Median(b)) << " ms (median of " << n << ")\n";
        out << "Item history, device " << device << " with " << lines << " lines:       first screen "
            << Ms(Median(h)) << " ms\n";
        db.exec(QStringLiteral("ROLLBACK"));

        const QString sql = QStringLiteral("SELECT * FROM vw_munkalap");
        std::vector<double> first, all, gaps;
        int rows = 0;
        for (int i = 0; i < n; ++i) {
            ConsoleSession session(c);
            Query result;
            QEventLoop loop;
            QElapsedTimer t, tick;
            double firstMs = -1;
            double longestGap = 0;
            QTimer ticker;
            ticker.setInterval(5);
            QObject::connect(&ticker, &QTimer::timeout, [&] {
                longestGap = std::max(longestGap, ElapsedMs(tick));
                tick.start();
            });
            QObject::connect(&result, &Query::rowsArrived, [&](int firstRow, int) {
                if (firstRow == 0 && firstMs < 0)
                    firstMs = ElapsedMs(t);
            });
            QObject::connect(&result, &Query::finished, &loop, &QEventLoop::quit);
            QObject::connect(&result, &Query::failed, &loop, &QEventLoop::quit);
            t.start();
            tick.start();
            ticker.start();
            session.openResult(result, sql);
            loop.exec();
            all.push_back(ElapsedMs(t));
            first.push_back(firstMs);
            gaps.push_back(longestGap);
            rows = result.recordCount();
        }
        ClientSetup client;
        client.host = QStringLiteral("127.0.0.1");
        client.port = c.port;
        client.user = c.user;
        client.database = c.database;
        std::vector<double> clientMs;
        for (int i = 0; i < std::min(n, 3); ++i)
            clientMs.push_back(ClientOnceMs(client, ToCp1250(sql), true));
        out << "Console, " << sql << " (" << rows << " rows): first screen " << Ms(Median(first))
            << " ms, all rows " << Ms(Median(all)) << " ms, longest event-loop wait " << Ms(Median(gaps))
            << " ms\n";
        out << "mariadb client, the same statement: " << Ms(Median(clientMs)) << " ms; console / client "
            << Ratio(Median(all), Median(clientMs)) << "\n";
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
