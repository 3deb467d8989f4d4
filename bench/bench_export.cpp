// Benchmark of the export window's work over the large shop
// (bench/make_large_shop), run by `bench/run --export`:
//
//   * the work-sheet list "Összes" (every sheet) to a delimited file, against
//     the mariadb client writing the same statement's rows to a file
//     (`mariadb -B -e ... > file`), side by side, medians of several runs;
//   * 100,000 rows of it to .xlsx: time and peak memory;
//   * while each export runs, the longest stretch between two moments when
//     the window would let events run (so "Megállít" is answered in time).

#include "BenchSupport.h"
#include "ListBench.h"
#include "components/Connection.h"
#include "components/Cp1250.h"
#include "exchange/DelimitedExport.h"
#include "exchange/SpreadsheetExport.h"
#include "patterns/ListSearch.h"
#include "shell/MainSession.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

using namespace kml;
using namespace kml::bench;

namespace {

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

// The peak resident memory of this process so far (VmHWM), in bytes.
quint64 PeakBytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toULongLong() * 1024;
    return 0;
}

// The progress the export window gives: events every 50 ms; notes the
// longest gap between two chances to answer "Megállít".
struct WindowLikeProgress {
    QElapsedTimer sinceEvents;
    double longestGapMs = 0;
    ExportProgress function() {
        sinceEvents.start();
        return [this](int, int) {
            if (sinceEvents.elapsed() >= 50) {
                longestGapMs = std::max(longestGapMs, ElapsedMs(sinceEvents));
                QCoreApplication::processEvents();
                sinceEvents.restart();
            }
            return true;
        };
    }
};

double ClientToFileMs(const ConnectionOptions& c, const QString& statement, const QString& file) {
    QProcess client;
    QStringList args{QStringLiteral("--no-defaults"),
                     QStringLiteral("--protocol=tcp"),
                     QStringLiteral("-h") + c.host,
                     QStringLiteral("-P") + QString::number(c.port),
                     QStringLiteral("-u") + c.user,
                     QStringLiteral("--default-character-set=latin2"),
                     QStringLiteral("--compress"),
                     QStringLiteral("-B"),
                     c.database,
                     QStringLiteral("-e"),
                     QStringLiteral("SET NAMES 'latin2' COLLATE 'latin2_hungarian_ci'; ") + statement};
    client.setStandardOutputFile(file);
    QElapsedTimer timer;
    timer.start();
    client.start(QStringLiteral("mariadb"), args);
    client.waitForFinished(-1);
    if (client.exitCode() != 0)
        throw std::runtime_error("mariadb failed: " + client.readAllStandardError().toStdString());
    return ElapsedMs(timer);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Server host."),
                                  QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Server port."),
                                  QStringLiteral("port"), QStringLiteral("3306"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Database."),
                                      QStringLiteral("database"), QStringLiteral("koravel_large"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Timed runs of each."),
                                  QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption xlsxRows(QStringLiteral("xlsx-rows"),
                                      QStringLiteral("Rows of the .xlsx export."), QStringLiteral("n"),
                                      QStringLiteral("100000"));
    parser.addOptions({host, port, database, runs, xlsxRows});
    parser.process(app);

    ConnectionOptions c;
    c.host = parser.value(host);
    c.port = parser.value(port).toUInt();
    c.user = QStringLiteral("root");
    c.database = parser.value(database);
    c.compress = true;
    const int n = std::max(1, parser.value(runs).toInt());
    QTemporaryDir dir;

    try {
        MainSession session;
        session.mySQLDatabase1.open(c);
        SetSharedConnection(&session.mySQLDatabase1);
        ListBenchDefinition list = WorkSheetList(session);
        Query& q = *list.query;
        QElapsedTimer openTimer;
        openTimer.start();
        ReopenWithCondition(q, AllSheetsCondition);
        const double openMs = ElapsedMs(openTimer);
        const QString statement = q.statement();

        std::vector<double> client, ours;
        double longestGap = 0;
        qint64 ourBytes = 0, clientBytes = 0;
        for (int i = 0; i < n; ++i) {
            const QString clientFile = dir.filePath(QStringLiteral("client.tsv"));
            client.push_back(ClientToFileMs(c, statement, clientFile));
            clientBytes = QFileInfo(clientFile).size();
            const QString ourFile = dir.filePath(QStringLiteral("ours.csv"));
            WindowLikeProgress progress;
            QElapsedTimer timer;
            timer.start();
            WriteDelimitedFile(ExportRows(q, {}), ourFile, DelimitedOptions{}, progress.function());
            ours.push_back(ElapsedMs(timer));
            longestGap = std::max(longestGap, progress.longestGapMs);
            ourBytes = QFileInfo(ourFile).size();
        }
        Out() << "Delimited export of the work-sheet list \"Összes\" (" << q.recordCount() << " rows x "
              << q.fieldCount() << " columns), medians of " << n << " runs:\n"
              << "  mariadb -B -e ... > file     " << Ms(Median(client)) << " ms   (" << clientBytes / 1024
              << " KiB)\n"
              << "  ours, the list already open  " << Ms(Median(ours)) << " ms   (" << ourBytes / 1024
              << " KiB)   ratio " << Ratio(Median(ours), Median(client)) << "\n"
              << "  ours with opening the list   " << Ms(openMs + Median(ours)) << " ms   (open "
              << Ms(openMs).trimmed() << " ms, once)   ratio " << Ratio(openMs + Median(ours), Median(client))
              << "\n"
              << "  longest stretch without letting events run: " << Ms(longestGap).trimmed() << " ms\n\n";
        Out().flush();

        const int rows = parser.value(xlsxRows).toInt();
        Query limited;
        limited.setSql(statement.trimmed().chopped(statement.trimmed().endsWith(QLatin1Char(';')) ? 1 : 0) +
                       QStringLiteral(" LIMIT %1").arg(rows));
        limited.open();
        const quint64 before = ResidentBytes();
        const quint64 peakBefore = PeakBytes();
        std::vector<double> xlsx;
        double xlsxGap = 0;
        qint64 xlsxBytes = 0;
        for (int i = 0; i < std::min(n, 3); ++i) {
            const QString file = dir.filePath(QStringLiteral("lista.xlsx"));
            WindowLikeProgress progress;
            QElapsedTimer timer;
            timer.start();
            WriteSpreadsheet(ExportRows(limited, {}), file, SpreadsheetFormat::Xlsx, progress.function());
            xlsx.push_back(ElapsedMs(timer));
            xlsxGap = std::max(xlsxGap, progress.longestGapMs);
            xlsxBytes = QFileInfo(file).size();
        }
        const quint64 peakAfter = PeakBytes();
        Out() << ".xlsx export of " << limited.recordCount() << " rows x " << limited.fieldCount()
              << " columns (median of " << xlsx.size() << "): " << Ms(Median(xlsx)).trimmed() << " ms, file "
              << xlsxBytes / 1024 << " KiB\n"
              << "  process RSS before " << MiB(before).trimmed() << ", peak before "
              << MiB(peakBefore).trimmed() << ", peak after " << MiB(peakAfter).trimmed()
              << " (the export's own peak: at most "
              << MiB(peakAfter > before ? peakAfter - before : 0).trimmed() << ")\n"
              << "  longest stretch without letting events run: " << Ms(xlsxGap).trimmed() << " ms\n";
        Out().flush();
    } catch (const std::exception& e) {
        Out() << "failed: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
