#pragma once

#include "components/DbError.h"
#include "components/ResultSet.h"

#include <QString>
#include <QStringList>

#include <memory>

struct st_mysql;
struct st_mysql_res;

namespace kml {

struct ConnectionOptions {
    QString host = QStringLiteral("127.0.0.1");
    unsigned port = 3306;
    QString user;
    QString password;
    QString database;
    bool compress = true;
    unsigned connectTimeout = 30; // seconds
    QString charset = QStringLiteral("latin2");
    QString collation = QStringLiteral("latin2_hungarian_ci");
    // Lets the client library's non-blocking calls run on the connection as
    // well (MYSQL_OPT_NONBLOCK); set for the stream links of StreamLinks.
    bool nonBlocking = false;
};

class StreamLinks;

// The columns of a result as the client library describes them.
std::vector<ColumnInfo> ResultColumns(st_mysql_res* result);

// One MySQL-protocol connection. Text crosses it as cp1250 bytes; the session
// runs "SET NAMES '<charset>' COLLATE '<collation>'" after every connect and
// after every reconnect, so sorting and LIKE always follow the Hungarian
// collation. Every failure is thrown as DbError.
//
// Reconnecting: a connection the server has closed (KILL, restart, idle
// timeout) is noticed before the next statement is sent and opened again with
// the same options; the statement then runs on the new session. A statement
// whose connection broke while the server was executing it is not repeated:
// its error is thrown, and the next statement reconnects.
class Connection final {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void open(const ConnectionOptions& options);
    void close();
    bool isOpen() const { return m_mysql != nullptr; }
    const ConnectionOptions& options() const { return m_options; }

    // Runs one statement and discards whatever it returns (a CALL's result
    // sets and its status result included).
    void exec(const QString& sql);
    // Runs one statement and returns its first result set; further results
    // (the status result of a CALL) are drained. A statement without rows
    // gives an empty result without columns.
    ResultSet query(const QString& sql);

    quint64 lastInsertId() const;
    quint64 affectedRows() const { return m_affectedRows; }
    unsigned long threadId() const;
    QString serverVersion() const;
    // The tables (not views) of the current database, in the server's order.
    QStringList tableNames();

    // The client library's handle, for the few callers that need it.
    st_mysql* handle() const { return m_mysql; }

    // Opens the session again when the server has closed it, as every
    // statement does before it is sent; for callers that send statements
    // through the handle themselves (StreamingStatement).
    void ensureAlive();
    // The client library's current error as a DbError. A lost session is
    // remembered, so that the next statement opens a new one.
    DbError lastError();

    // The further connections streaming statements run on while this one
    // stays free for other statements (StreamingStatement, Query::openAsync),
    // opened with this connection's options on demand. They are closed with
    // this connection.
    std::shared_ptr<StreamLinks> streamLinks();

private:
    void connect();
    void setNames();
    bool socketClosedByServer() const;
    void send(const QByteArray& sql);
    ResultSet readResults(bool wantRows);
    [[noreturn]] void fail();

    ConnectionOptions m_options;
    st_mysql* m_mysql = nullptr;
    bool m_broken = false;
    quint64 m_affectedRows = 0;
    std::shared_ptr<StreamLinks> m_streamLinks;
};

} // namespace kml
