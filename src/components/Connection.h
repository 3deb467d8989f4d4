#pragma once

#include "components/ResultSet.h"

#include <QString>
#include <QStringList>

struct st_mysql;

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
};

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
// The rows an UPDATE matched, from the client library's info text.
quint64 MatchedRows(const char* info, quint64 affectedRows);

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
    // The rows the last UPDATE's condition matched, changed or not (for
    // other statements the affected rows).
    quint64 matchedRows() const { return m_matchedRows; }
    unsigned long threadId() const;
    QString serverVersion() const;
    // The tables (not views) of the current database, in the server's order.
    QStringList tableNames();

    // The client library's handle, for the few callers that need it.
    st_mysql* handle() const { return m_mysql; }

private:
    void connect();
    void setNames();
    void ensureAlive();
    bool socketClosedByServer() const;
    void send(const QByteArray& sql);
    ResultSet readResults(bool wantRows);
    [[noreturn]] void fail();

    ConnectionOptions m_options;
    st_mysql* m_mysql = nullptr;
    bool m_broken = false;
    quint64 m_affectedRows = 0;
    quint64 m_matchedRows = 0;
};

} // namespace kml
