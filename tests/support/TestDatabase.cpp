#include "TestDatabase.h"

#include "Cp1250Sql.h"
#include "components/Cp1250.h"
#include "components/Query.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <stdexcept>

namespace kml::test {

QString SourcePath(const QString& relative) {
    return QStringLiteral(KML_SOURCE_DIR "/") + relative;
}

QString BuildPath(const QString& relative) {
    return QStringLiteral(KML_BUILD_DIR "/") + relative;
}

ConnectionOptions ServerOptions(const QString& database) {
    ConnectionOptions o;
    o.host = qEnvironmentVariable("KML_TEST_HOST", QStringLiteral("127.0.0.1"));
    o.port = qEnvironmentVariableIntValue("KML_TEST_PORT");
    if (o.port == 0)
        throw std::runtime_error("KML_TEST_PORT is not set: run the tests through scripts/test");
    o.user = QStringLiteral("root");
    o.database = database;
    return o;
}

static QStringList ClientArgs(const QString& database, const QStringList& extraArgs) {
    const ConnectionOptions o = ServerOptions();
    QStringList args{QStringLiteral("--no-defaults"), QStringLiteral("--protocol=tcp"),
                     QStringLiteral("-h") + o.host,   QStringLiteral("-P%1").arg(o.port),
                     QStringLiteral("-uroot"),        QStringLiteral("--default-character-set=latin2")};
    args << extraArgs;
    if (!database.isEmpty())
        args << database;
    return args;
}

static QString RunClientWithInput(const QString& database, const QByteArray& input,
                                  const QStringList& extraArgs) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("mariadb"), ClientArgs(database, extraArgs));
    if (!p.waitForStarted())
        throw std::runtime_error("cannot start the mariadb client");
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(600000);
    const QString output = FromCp1250(p.readAll());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error(("mariadb client failed: " + output).toStdString());
    return output;
}

QByteArray SqlAsCp1250(const QString& sql) {
    if (const QString missing = CharactersOutsideCp1250(sql); !missing.isEmpty())
        throw std::runtime_error(("Windows-1250 cannot store " + missing + " of the SQL").toStdString());
    return ToCp1250(sql);
}

QByteArray SqlFileAsCp1250(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + path).toStdString());
    return SqlAsCp1250(QString::fromUtf8(f.readAll()));
}

QString RunClient(const QString& database, const QString& sql, const QStringList& extraArgs) {
    return RunClientWithInput(database, SqlAsCp1250(sql), extraArgs);
}

QString RunClientFile(const QString& database, const QString& path, const QStringList& extraArgs) {
    return RunClientWithInput(database, SqlFileAsCp1250(path), extraArgs);
}

QString RunClientFileAsIs(const QString& database, const QString& path, const QStringList& extraArgs) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + path).toStdString());
    return RunClientWithInput(database, f.readAll(), extraArgs);
}

QStringList SchemaFiles(bool withDemo) {
    QStringList files;
    for (const char* name : {"schema.sql", "views.sql", "routines.sql", "seed.sql"})
        files << SourcePath(QStringLiteral("db/") + QLatin1String(name));
    if (withDemo)
        files << SourcePath(QStringLiteral("db/demo.sql"));
    return files;
}

TestDatabase::TestDatabase(const QString& nameHint, Contents contents) {
    m_name = QStringLiteral("t_%1_%2").arg(nameHint).arg(QCoreApplication::applicationPid());
    RunClient({}, QStringLiteral("DROP DATABASE IF EXISTS %1; CREATE DATABASE %1 CHARACTER SET latin2 "
                                 "COLLATE latin2_hungarian_ci;")
                      .arg(m_name));
    if (contents != Contents::Empty)
        for (const QString& file : SchemaFiles(contents == Contents::Demo))
            RunClientFile(m_name, file);
    m_connection = connect();
    SetSharedConnection(m_connection.get());
}

TestDatabase::~TestDatabase() {
    SetSharedConnection(nullptr);
    m_connection.reset();
    try {
        RunClient({}, QStringLiteral("DROP DATABASE IF EXISTS %1;").arg(m_name));
    } catch (...) {
    }
}

std::unique_ptr<Connection> TestDatabase::connect() const {
    auto c = std::make_unique<Connection>();
    c->open(options());
    return c;
}

} // namespace kml::test
