// Benchmark of the saved exports, run by bench/exports:
//
//   * a stored export of every work sheet of the large shop
//     (bench/make_large_shop) to a local file, against the mariadb client
//     writing the same statement's rows to a file (`mariadb -B -e ... >
//     file`), side by side;
//   * the FTP upload of a 50 MB file to a local server, against `curl -T`
//     to the same server, side by side.

#include "BenchSupport.h"
#include "components/Connection.h"
#include "components/FtpUpload.h"
#include "components/Query.h"
#include "exchange/SavedExports.h"
#include "foundation/Folders.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
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

double CurlUploadMs(int port, const QString& file) {
    QProcess curl;
    QElapsedTimer timer;
    timer.start();
    curl.start(QStringLiteral("curl"),
               {QStringLiteral("-sS"), QStringLiteral("--user"), QStringLiteral("kml:Ti tok:@/#1"),
                QStringLiteral("-T"), file, QStringLiteral("ftp://127.0.0.1:%1/curl.bin").arg(port)});
    curl.waitForFinished(-1);
    if (curl.exitCode() != 0)
        throw std::runtime_error("curl failed: " + curl.readAllStandardError().toStdString());
    return ElapsedMs(timer);
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
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Database."),
                                      QStringLiteral("database"), QStringLiteral("koravel_large"));
    const QCommandLineOption ftpPort(QStringLiteral("ftp-port"), QStringLiteral("Test FTP server port."),
                                     QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Timed runs of each."),
                                  QStringLiteral("n"), QStringLiteral("2"));
    parser.addOptions({port, database, ftpPort, runs});
    parser.process(app);

    ConnectionOptions c;
    c.port = parser.value(port).toUInt();
    c.user = QStringLiteral("root");
    c.database = parser.value(database);
    const int n = std::max(1, parser.value(runs).toInt());
    QTemporaryDir dir;
    SetDataFolder(dir.path());

    try {
        Connection connection;
        connection.open(c);
        SetSharedConnection(&connection);
        ExportDefinition d;
        d.sql = QStringLiteral("SELECT * FROM munkalap");
        d.fileLocal = QStringLiteral("munkalapok.csv");
        std::vector<double> client, ours;
        qint64 clientBytes = 0, ourBytes = 0;
        int rows = 0;
        for (int i = 0; i < n; ++i) {
            const QString clientFile = dir.filePath(QStringLiteral("client.tsv"));
            client.push_back(ClientToFileMs(c, d.sql, clientFile));
            clientBytes = QFileInfo(clientFile).size();
            QElapsedTimer timer;
            timer.start();
            const SavedExportResult result = RunSavedExport(d, ExportDestination::File);
            ours.push_back(ElapsedMs(timer));
            if (!result.ok)
                throw std::runtime_error(result.error.toStdString());
            rows = result.rows;
            ourBytes = QFileInfo(dir.filePath(d.fileLocal)).size();
        }
        Out() << "Stored export \"" << d.sql << "\" (" << rows << " rows) to a file, medians of " << n
              << " runs:\n"
              << "  mariadb -B -e ... > file  " << Ms(Median(client)) << " ms   (" << clientBytes / 1024
              << " KiB)\n"
              << "  RunSavedExport            " << Ms(Median(ours)) << " ms   (" << ourBytes / 1024
              << " KiB)   ratio " << Ratio(Median(ours), Median(client)) << "\n\n";
        Out().flush();

        const int ftp = parser.value(ftpPort).toInt();
        if (ftp > 0) {
            const QString file = dir.filePath(QStringLiteral("nagy.bin"));
            {
                QFile out(file);
                out.open(QIODevice::WriteOnly);
                QByteArray block(1 << 20, Qt::Uninitialized);
                for (int i = 0; i < 50; ++i) {
                    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()),
                                                          block.size() / 4);
                    out.write(block);
                }
            }
            FtpTarget target;
            target.host = QStringLiteral("127.0.0.1");
            target.port = ftp;
            target.user = QStringLiteral("kml");
            target.password = QStringLiteral("Ti tok:@/#1");
            std::vector<double> curl, upload;
            for (int i = 0; i < n; ++i) {
                curl.push_back(CurlUploadMs(ftp, file));
                QElapsedTimer timer;
                timer.start();
                FtpUpload(target, file, QStringLiteral("ours.bin"));
                upload.push_back(ElapsedMs(timer));
            }
            const double mb = 50.0;
            Out() << "FTP upload of a 50 MB file to the local server, medians of " << n << " runs:\n"
                  << "  curl -T        " << Ms(Median(curl)) << " ms   ("
                  << QString::number(mb / Median(curl) * 1000, 'f', 1) << " MB/s)\n"
                  << "  FtpUpload      " << Ms(Median(upload)) << " ms   ("
                  << QString::number(mb / Median(upload) * 1000, 'f', 1) << " MB/s)   speed ratio "
                  << Ratio(Median(curl), Median(upload)) << " of curl\n";
        }
    } catch (const std::exception& e) {
        Out() << "failed: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
