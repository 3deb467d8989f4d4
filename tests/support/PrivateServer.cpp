#include "PrivateServer.h"

#include "Cp1250Sql.h"
#include "TestDatabase.h"

#include <QDir>
#include <QProcess>
#include <cstdlib>
#include <stdexcept>

namespace kml::test {
namespace {

QString Script() {
    return SourcePath(QStringLiteral("scripts/dbserver"));
}

// Runs the server script; std::system, so that any thread may call it.
void RunScript(const QStringList& args, const QString& log) {
    QStringList quoted;
    for (const QString& arg : args)
        quoted << QLatin1Char('\'') + arg + QLatin1Char('\'');
    const QString command = QLatin1Char('\'') + Script() + QStringLiteral("' ") +
                            quoted.join(QLatin1Char(' ')) + QStringLiteral(" >>'%1' 2>&1").arg(log);
    if (std::system(command.toLocal8Bit().constData()) != 0)
        throw std::runtime_error(("server script failed: " + command).toStdString());
}

} // namespace

PrivateServer::PrivateServer(const QString& name, QStringList serverOptions)
    : m_folder(BuildPath(QStringLiteral("var/") + name)), m_serverOptions(std::move(serverOptions)) {
    QDir().mkpath(m_folder);
    QProcess freePort;
    freePort.start(Script(), {QStringLiteral("free-port")});
    if (!freePort.waitForFinished() || freePort.exitCode() != 0)
        throw std::runtime_error("no free port for the private server");
    m_port = QString::fromLatin1(freePort.readAllStandardOutput()).trimmed().toUInt();
    stop(); // a server left behind by an earlier run
    start();
}

PrivateServer::~PrivateServer() {
    try {
        stop();
    } catch (...) {
    }
}

void PrivateServer::stop() {
    RunScript({QStringLiteral("stop"), m_folder}, m_folder + QStringLiteral(".log"));
}

void PrivateServer::start() {
    RunScript(QStringList{QStringLiteral("start"), m_folder, QString::number(m_port)} + m_serverOptions,
              m_folder + QStringLiteral(".log"));
}

ConnectionOptions PrivateServer::options(const QString& database) const {
    ConnectionOptions o;
    o.host = QStringLiteral("127.0.0.1");
    o.port = m_port;
    o.user = QStringLiteral("root");
    o.database = database;
    o.connectTimeout = 5;
    return o;
}

void PrivateServer::runFile(const QString& database, const QString& path) const {
    QProcess client;
    client.setProcessChannelMode(QProcess::MergedChannels);
    const QByteArray sql = SqlFileAsCp1250(path);
    client.start(QStringLiteral("mariadb"),
                 {QStringLiteral("--no-defaults"), QStringLiteral("--protocol=tcp"),
                  QStringLiteral("-h127.0.0.1"), QStringLiteral("-P%1").arg(m_port), QStringLiteral("-uroot"),
                  QStringLiteral("--default-character-set=latin2"), database});
    client.write(sql);
    client.closeWriteChannel();
    if (!client.waitForFinished(600000) || client.exitStatus() != QProcess::NormalExit ||
        client.exitCode() != 0)
        throw std::runtime_error(
            ("mariadb client failed on " + path + ": " + QString::fromUtf8(client.readAll())).toStdString());
}

} // namespace kml::test
