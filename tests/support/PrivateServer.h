#pragma once

#include "components/Connection.h"

#include <QString>
#include <QStringList>

namespace kml::test {

// A MariaDB server of one test program's own, which the test stops and
// starts again on the same port: the shop's server restarting under the
// program. It runs through scripts/dbserver on a data folder under the build
// tree (made once, kept between runs) and a free loopback port, and stops
// when the object goes. stop() and start() may be called from any thread.
class PrivateServer final {
public:
    // name: the data folder's name under build/var; serverOptions: further
    // mariadbd options.
    explicit PrivateServer(const QString& name, QStringList serverOptions = {});
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // Stops the server and waits until it has gone.
    void stop();
    // Starts it on the same port and waits until it answers.
    void start();

    unsigned port() const { return m_port; }
    ConnectionOptions options(const QString& database = {}) const;
    // Runs an SQL file through the mariadb command-line client.
    void runFile(const QString& database, const QString& path) const;

private:
    QString m_folder;
    QStringList m_serverOptions;
    unsigned m_port = 0;
};

} // namespace kml::test
