// The data-script backup and restore of the large shop, side by side with
// mariadb-dump --single-transaction and the mariadb client's restore of that
// dump, in one run (bench/backup). Prints the times, their ratios and the
// peak memory of the backup, which must stay flat (rows are streamed).

#include "BenchSupport.h"
#include "admin/Backup.h"
#include "components/Connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <iostream>

using namespace kml;
using namespace kml::bench;

namespace {

QString g_port = QStringLiteral("3306");

QStringList ClientArgs() {
    return {"--no-defaults", "--protocol=tcp", "-h127.0.0.1", "-P" + g_port, "-uroot"};
}

void Client(const QString& database, const QString& sql, const QString& inputFile = {}) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!inputFile.isEmpty())
        p.setStandardInputFile(inputFile);
    QStringList args = ClientArgs();
    if (!sql.isEmpty())
        args << "-e" << sql;
    if (!database.isEmpty())
        args << database;
    p.start("mariadb", args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        throw std::runtime_error(("mariadb failed: " + sql).toStdString());
}

void FreshSchema(const QString& database) {
    Client({}, QStringLiteral("DROP DATABASE IF EXISTS %1; CREATE DATABASE %1 CHARACTER SET latin2 COLLATE "
                              "latin2_hungarian_ci")
                   .arg(database));
    for (const char* file : {"db/schema.sql", "db/views.sql", "db/routines.sql"})
        Client(database, {}, QStringLiteral(KML_SOURCE_DIR "/") + QLatin1String(file));
}

double TimeMs(const std::function<void()>& work) {
    QElapsedTimer t;
    t.start();
    work();
    return ElapsedMs(t);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString database = QStringLiteral("koravel_large");
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--port")
            g_port = args[i + 1];
        else if (args[i] == "--database")
            database = args[i + 1];
    }
    ConnectionOptions options;
    options.host = "127.0.0.1";
    options.port = g_port.toUInt();
    options.user = "root";
    options.database = database;

    QTemporaryDir dir(QStringLiteral(KML_BUILD_DIR "/bench-backup-XXXXXX"));
    const QString script = dir.filePath("adat.sql");
    const QString dump = dir.filePath("dump.sql");
    QTextStream out(stdout);

    // Backups: ours, then mariadb-dump.
    Connection connection;
    connection.open(options);
    const quint64 rssBefore = ResidentBytes();
    quint64 rssPeak = rssBefore;
    const double ours = TimeMs([&] {
        WriteDataBackup(connection, script,
                        [&](qint64, qint64) { rssPeak = qMax(rssPeak, ResidentBytes()); });
    });
    const double theirs = TimeMs([&] {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start("mariadb-dump", ClientArgs() << "--single-transaction"
                                             << "--default-character-set=latin2"
                                             << "--result-file=" + dump << database);
        if (!p.waitForFinished(-1) || p.exitCode() != 0)
            throw std::runtime_error("mariadb-dump failed");
    });

    // Restores into fresh copies of the schema.
    const QString scratch = database + "_bk_ours";
    const QString scratch2 = database + "_bk_client";
    FreshSchema(scratch);
    FreshSchema(scratch2);
    Connection target;
    ConnectionOptions targetOptions = options;
    targetOptions.database = scratch;
    target.open(targetOptions);
    const double oursRestore = TimeMs([&] { RestoreDataBackup(target, script); });
    const double theirsRestore = TimeMs([&] { Client(scratch2, {}, dump); });
    Client({}, QStringLiteral("DROP DATABASE %1; DROP DATABASE %2").arg(scratch, scratch2));

    out << "Large shop " << database << " (the machine is shared: figures are noisy)\n";
    out << "                                  ms      ratio   file\n";
    out << "backup  data script        " << Ms(ours) << "  " << Ratio(ours, theirs) << "  "
        << MiB(quint64(QFileInfo(script).size())) << "\n";
    out << "backup  mariadb-dump       " << Ms(theirs) << "  1.00x  " << MiB(quint64(QFileInfo(dump).size()))
        << "\n";
    out << "restore data script        " << Ms(oursRestore) << "  " << Ratio(oursRestore, theirsRestore)
        << "\n";
    out << "restore mariadb client     " << Ms(theirsRestore) << "  1.00x\n";
    out << "backup memory: resident " << MiB(rssBefore) << " before, peak " << MiB(rssPeak) << " during\n";
    return 0;
}
