#pragma once

#include "components/DbError.h"
#include "components/ResultSet.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

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

// The rows an UPDATE matched, from the client library's info text.
quint64 MatchedRows(const char* info, quint64 affectedRows);

// One MySQL-protocol connection. Text crosses it as cp1250 bytes; the session
// runs "SET NAMES '<charset>' COLLATE '<collation>'" after every connect and
// after every reconnect, so sorting and LIKE always follow the Hungarian
// collation. Every failure is thrown as DbError.
//
// Surviving a lost server. Once open() has succeeded the connection stays
// open until close(), whatever happens to the server: a session the server
// has closed (KILL, restart, idle timeout), or that broke, is replaced by a
// new one, with the same options, when the next statement is about to run.
// While the server cannot be reached every statement fails with the client
// library's error (2002, 2003, ...); the first statement after the server is
// back runs on a new session. No failure leaves the object unusable.
//
// No statement is sent twice. A statement that did not reach the server (the
// session was found closed before it was sent, or sending failed) runs on a
// new session. A statement that reached the server before the connection
// broke is not repeated: its error is thrown as interrupted (it may or may
// not have run) and the next statement reconnects.
//
// Transactions: a session lost while a transaction is open takes the
// transaction with it (the server rolls it back). When that is noticed
// before a statement is sent, the statement is refused with a lost-connection
// error instead of running outside the transaction; the statement after it
// reconnects. Session state other than the character set (user variables,
// LAST_INSERT_ID()) does not survive a reconnect: code that relies on it
// compares threadId() before and after.
class Connection final {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects; throws DbError (and stays closed) when that fails.
    void open(const ConnectionOptions& options);
    void close();
    // Opened and not closed, whether or not the server can be reached now.
    bool isOpen() const { return m_open; }
    const ConnectionOptions& options() const { return m_options; }

    // Runs one statement and discards whatever it returns (a CALL's result
    // sets and its status result included).
    void exec(const QString& sql);
    // Runs one statement and returns its first result set; further results
    // (the status result of a CALL) are drained. A statement without rows
    // gives an empty result without columns.
    ResultSet query(const QString& sql);

    // exec() for a statement that is already cp1250 bytes (a script read
    // from a file), sent exactly as it stands.
    void execBytes(const QByteArray& sql);
    // Runs one statement and hands its rows over one at a time as they
    // arrive (the server's values as raw bytes, a null pointer for NULL),
    // never holding more than one row: for reading whole tables. `columns`
    // is called once before the first row. An exception thrown by a callback
    // stops the reading (the rest of the result is discarded) and goes on.
    using ColumnsSink = std::function<void(const std::vector<ColumnInfo>& columns)>;
    using RowSink = std::function<void(const char* const* values, const unsigned long* lengths)>;
    void streamRows(const QString& sql, const ColumnsSink& columns, const RowSink& row);

    // Whether the session has a transaction open (as the server reported it
    // after the last statement).
    bool inTransaction() const { return m_inTransaction; }
    // Ends the open transaction without keeping its changes: ROLLBACK on a
    // live session; on a lost one there is nothing left to roll back. Never
    // throws.
    void rollback() noexcept;

    quint64 lastInsertId() const;
    quint64 affectedRows() const { return m_affectedRows; }
    // The rows the last UPDATE's condition matched, changed or not (for
    // other statements the affected rows).
    quint64 matchedRows() const { return m_matchedRows; }
    // The server's number of the current session; changes with a reconnect.
    unsigned long threadId() const;
    QString serverVersion() const;
    // The tables (not views) of the current database, in the server's order.
    QStringList tableNames();

    // The client library's handle, for the few callers that need it; null
    // while the server cannot be reached.
    st_mysql* handle() const { return m_mysql; }

    // Opens the session again when the server has closed it, as every
    // statement does before it is sent; for callers that send statements
    // through the handle themselves (StreamingStatement).
    void ensureAlive();
    // The client library's current error as a DbError. A lost session is
    // remembered, so that the next statement opens a new one; lost after the
    // statement was sent (afterSend), the error says it was interrupted.
    DbError lastError(bool afterSend = false);

    // The further connections streaming statements run on while this one
    // stays free for other statements (StreamingStatement, Query::openAsync),
    // opened with this connection's options on demand. They are closed with
    // this connection.
    std::shared_ptr<StreamLinks> streamLinks();

private:
    void connect();
    void setNames();
    void dropSession();
    bool socketClosedByServer() const;
    ResultSet readResults(bool wantRows);
    // Throws the client library's error; one met after the statement was
    // sent that lost the session is thrown as interrupted.
    [[noreturn]] void fail(bool afterSend);
    // Sends a statement on a live session (see the reconnect rules above).
    void run(const QByteArray& sql);

    ConnectionOptions m_options;
    st_mysql* m_mysql = nullptr;
    bool m_open = false;
    bool m_broken = false;
    bool m_inTransaction = false;
    quint64 m_affectedRows = 0;
    quint64 m_matchedRows = 0;
    std::shared_ptr<StreamLinks> m_streamLinks;
};

} // namespace kml
