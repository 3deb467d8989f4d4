#pragma once

#include "components/Connection.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace kml::test {

// The private server that scripts/test started (KML_TEST_HOST/KML_TEST_PORT).
ConnectionOptions ServerOptions(const QString& database = {});

// Runs SQL through the mariadb command-line client (the way shops load the
// db/ files); returns its combined output. Throws std::runtime_error when the
// client fails.
QString RunClient(const QString& database, const QString& sql, const QStringList& extraArgs = {});
QString RunClientFile(const QString& database, const QString& path, const QStringList& extraArgs = {});
// The same with the file's bytes sent unchanged: files the program wrote (backups) hold Windows-1250 already.
QString RunClientFileAsIs(const QString& database, const QString& path, const QStringList& extraArgs = {});

// The db/*.sql files in load order.
QStringList SchemaFiles(bool withDemo);

// A database of its own for one test program: created fresh (empty, from the
// db/ files, or from the db/ files with the demo shop), dropped when the
// object goes. connection() is open on it and is also the shared connection.
class TestDatabase final {
public:
    enum class Contents { Empty, Schema, Demo };
    explicit TestDatabase(const QString& nameHint, Contents contents = Contents::Schema);
    ~TestDatabase();

    const QString& name() const { return m_name; }
    ConnectionOptions options() const { return ServerOptions(m_name); }
    Connection& connection() { return *m_connection; }
    // A further connection to the same database.
    std::unique_ptr<Connection> connect() const;

private:
    QString m_name;
    std::unique_ptr<Connection> m_connection;
};

// Path of a file under the source tree / build tree.
QString SourcePath(const QString& relative);
QString BuildPath(const QString& relative);

} // namespace kml::test
