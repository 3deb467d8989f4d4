// What the customer's status view costs (bench/run --status):
//
//   * the QR code on a work sheet: the PDF of a sheet with the status link
//     set against the same sheet without it, blank and final, on a demo
//     database of its own (target: the code adds at most 5 ms);
//   * the status feed "Munkalap állapot" of the large shop
//     (bench/make_large_shop) written by the saved export against the
//     mariadb client writing the same statement's rows to a file (target:
//     no slower than the client, ratio at most 1.0x).

#include "BenchSupport.h"
#include "TestDatabase.h"
#include "components/Connection.h"
#include "exchange/SavedExports.h"
#include "exchange/StatusLink.h"
#include "foundation/Folders.h"
#include "reports/WorkSheetPrint.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

using namespace kml;
using namespace kml::bench;

namespace {

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

double ClientToFileMs(const ConnectionOptions& c, const QString& statement, const QString& file) {
    QProcess client;
    client.setStandardOutputFile(file);
    QElapsedTimer timer;
    timer.start();
    client.start(QStringLiteral("mariadb"),
                 {QStringLiteral("--no-defaults"), QStringLiteral("--protocol=tcp"),
                  QStringLiteral("-h") + c.host, QStringLiteral("-P") + QString::number(c.port),
                  QStringLiteral("-u") + c.user, QStringLiteral("--default-character-set=latin2"),
                  QStringLiteral("--compress"), QStringLiteral("-B"), c.database, QStringLiteral("-e"),
                  statement});
    client.waitForFinished(-1);
    if (client.exitCode() != 0)
        throw std::runtime_error("mariadb failed: " + client.readAllStandardError().toStdString());
    return ElapsedMs(timer);
}

void QrCost(int runs, const QString& folder) {
    test::TestDatabase db(QStringLiteral("bench_status"), test::TestDatabase::Contents::Demo);
    const QString pdf = folder + QStringLiteral("/sheet.pdf");
    Out() << "QR code on a work sheet's PDF (demo sheet 12), medians of " << runs << " runs (ms):\n";
    for (const WorkSheetLayout layout : {WorkSheetLayout::qrMunkalap0, WorkSheetLayout::qrMunkalap}) {
        WorkSheetPrintOptions plain;
        plain.programType = 1;
        WorkSheetPrintOptions coded = plain;
        coded.statusLink = QStringLiteral("https://www.huslegklima.hu/allapot.php?id=%id%&key=%key%");
        const auto without =
            TimeRuns(runs, [&] { report::SaveAsPdf(MakeWorkSheetDocument(12, layout, plain), pdf); });
        const auto with =
            TimeRuns(runs, [&] { report::SaveAsPdf(MakeWorkSheetDocument(12, layout, coded), pdf); });
        Out() << "  " << LayoutName(layout).leftJustified(12) << " without " << Ms(Median(without))
              << "   with " << Ms(Median(with)) << "   the code adds " << Ms(Median(with) - Median(without))
              << "   (target: at most 5 ms)\n";
    }
    Out() << '\n';
    Out().flush();
}

void FeedCost(const ConnectionOptions& c, int runs, const QString& folder) {
    Connection connection;
    connection.open(c);
    SetSharedConnection(&connection);
    const std::optional<ExportDefinition> feed = FindExportDefinition(StatusFeedName);
    if (!feed)
        throw std::runtime_error(
            "the large shop has no status feed (made before seed.sql had it: bench/run --fresh)");
    ExportDefinition d = *feed;
    d.ftp = false;
    std::vector<double> client, ours;
    qint64 clientBytes = 0, ourBytes = 0;
    int rows = 0;
    for (int i = 0; i < runs + 1; ++i) { // the first of each warms the server's buffers
        const QString clientFile = folder + QStringLiteral("/client.tsv");
        const double clientMs = ClientToFileMs(c, d.sql, clientFile);
        clientBytes = QFileInfo(clientFile).size();
        QElapsedTimer timer;
        timer.start();
        const SavedExportResult result = RunSavedExport(d, ExportDestination::File);
        const double ourMs = ElapsedMs(timer);
        if (!result.ok)
            throw std::runtime_error(result.error.toStdString());
        rows = result.rows;
        ourBytes = QFileInfo(result.path).size();
        if (i > 0) {
            client.push_back(clientMs);
            ours.push_back(ourMs);
        }
    }
    SetSharedConnection(nullptr);
    Out() << "Status feed \"" << StatusFeedName << "\" of " << c.database << " (" << rows
          << " sheets changed in 90 days) to a file, medians of " << runs << " runs:\n"
          << "  mariadb -B -e ... > file  " << Ms(Median(client)) << " ms   (" << clientBytes / 1024
          << " KiB)\n"
          << "  RunSavedExport            " << Ms(Median(ours)) << " ms   (" << ourBytes / 1024
          << " KiB)   ratio " << Ratio(Median(ours), Median(client)) << "   (target: at most 1.0x)\n";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Server port."),
                                  QStringLiteral("port"), QStringLiteral("3306"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("The large shop."),
                                      QStringLiteral("database"), QStringLiteral("koravel_large"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Timed runs of each."),
                                  QStringLiteral("n"), QStringLiteral("15"));
    parser.addOptions({port, database, runs});
    parser.process(app);

    ConnectionOptions c;
    c.port = parser.value(port).toUInt();
    c.user = QStringLiteral("root");
    c.database = parser.value(database);
    const int n = std::max(1, parser.value(runs).toInt());
    QTemporaryDir dir;
    SetDataFolder(dir.path());
    try {
        QrCost(n, dir.path());
        FeedCost(c, std::max(3, n / 3), dir.path());
    } catch (const std::exception& e) {
        Out() << "failed: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
