#include "ClientTiming.h"

#include "BenchSupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <stdexcept>
#include <vector>

namespace kml::bench {

double ClientBatchMs(const ClientSetup& setup, const QByteArray& statement, int copies, bool compress) {
    QByteArray input = "SET NAMES 'latin2' COLLATE 'latin2_hungarian_ci';\n";
    QByteArray one = statement.trimmed();
    if (!one.endsWith(';'))
        one += ';';
    one += '\n';
    for (int i = 0; i < copies; ++i)
        input += one;

    QStringList args{QStringLiteral("--no-defaults"),   QStringLiteral("--protocol=tcp"),
                     QStringLiteral("-h") + setup.host, QStringLiteral("-P") + QString::number(setup.port),
                     QStringLiteral("-u") + setup.user, QStringLiteral("--default-character-set=latin2"),
                     QStringLiteral("--batch")};
    if (compress)
        args << QStringLiteral("--compress");
    args << setup.database;

    QProcess client;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!setup.password.isEmpty())
        env.insert(QStringLiteral("MYSQL_PWD"), setup.password);
    client.setProcessEnvironment(env);
    client.setStandardOutputFile(QProcess::nullDevice());

    QElapsedTimer timer;
    timer.start();
    client.start(setup.program, args);
    if (!client.waitForStarted(30000))
        throw std::runtime_error("cannot start " + setup.program.toStdString());
    client.write(input);
    client.closeWriteChannel();
    client.waitForFinished(-1);
    const double ms = ElapsedMs(timer);
    if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0)
        throw std::runtime_error("mariadb client failed: " + client.readAllStandardError().toStdString());
    return ms;
}

double ClientStatementMs(const ClientSetup& setup, const QByteArray& statement, bool compress, int n,
                         int repeats) {
    std::vector<double> samples;
    for (int r = 0; r < repeats; ++r) {
        const double single = ClientBatchMs(setup, statement, 1, compress);
        const double batch = ClientBatchMs(setup, statement, 1 + n, compress);
        samples.push_back((batch - single) / n);
    }
    return Median(samples);
}

double ClientOnceMs(const ClientSetup& setup, const QByteArray& statement, bool compress) {
    const double overhead = ClientBatchMs(setup, QByteArrayLiteral("SELECT 1"), 1, compress);
    return ClientBatchMs(setup, statement, 1, compress) - overhead;
}

} // namespace kml::bench
