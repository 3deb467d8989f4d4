#pragma once

// Statements whose rows arrive while the program goes on: the statement runs
// on a connection of its own (a "stream link" of the connection that asked
// for it) through the client library's non-blocking calls, watched by socket
// notifiers on the thread's event loop. Rows are appended to a ResultSet as
// they arrive and announced in batches, so a grid can paint the first screen
// long before a large result is complete. Query::openAsync() is built on it.
//
// Threading: everything happens on the thread that owns the objects (the
// user-interface thread); nothing blocks except the connect of a new stream
// link and the KILL QUERY sent when a statement is abandoned (both a round
// trip on the local network).
//
// Connections: the statement borrows a stream link from StreamLinks (opened
// with the control connection's options and MYSQL_OPT_NONBLOCK, kept open
// for the next statement) and gives it back when its result has been read to
// the end. Abandoning a running statement sends "KILL QUERY <link thread>"
// over the control connection; the link then reads what is still on its way
// in the background, throwing it away, and goes back to the pool. Nothing of
// an abandoned statement ever reaches its ResultSet again, and the next
// statement starts at once on another link.

#include "components/Connection.h"
#include "components/DbError.h"
#include "components/ResultSet.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

namespace kml {

// The stream links of one (control) connection: idle links waiting for the
// next streaming statement, opened with the control connection's options.
// Shared by the control connection and the statements running on its links,
// so that a statement still draining when the control connection closes does
// not outlive what it gives its link back to.
class StreamLinks final {
public:
    // Idle links kept: enough for a search whose steps run two statements
    // side by side while links of abandoned ones are still draining.
    static constexpr int MaxIdle = 4;

    explicit StreamLinks(Connection* control);
    StreamLinks(const StreamLinks&) = delete;
    StreamLinks& operator=(const StreamLinks&) = delete;

    // An idle link, checked and reopened when the server closed it, or a new
    // one. Throws DbError when no connection can be made.
    std::unique_ptr<Connection> take();
    // Keeps a link whose last result was read to the end for the next
    // statement (at most MaxIdle are kept; one that the control connection
    // no longer wants is closed).
    void giveBack(std::unique_ptr<Connection> link);
    // Stops the statement running on a link: "KILL QUERY <thread>" over the
    // control connection. False when there is no control connection any
    // more or the statement could not be sent.
    bool killQuery(unsigned long threadId);
    // The control connection closes: idle links are closed, links given back
    // later are closed, no KILL can be sent any more.
    void detach();

    // Makes session the only link: from now on every statement runs on it
    // (the session state of one user: USE, SET, an open transaction), take()
    // lends it out and refuses while it is lent, and giveBack() always keeps
    // it. The SQL console runs its own session this way, with the control
    // connection beside it for KILL QUERY.
    void pin(std::unique_ptr<Connection> session);
    bool isPinned() const { return m_pinned; }

    int idleCount() const { return int(m_idle.size()); }

private:
    Connection* m_control;
    ConnectionOptions m_options;
    std::vector<std::unique_ptr<Connection>> m_idle;
    bool m_pinned = false;
};

class StatementRun;

// One streaming statement at a time: start() a statement, receive its rows,
// start() the next (the running one is abandoned), abandon() it, or let it
// finish. The ResultSet given to start() receives the result's columns and
// then its rows; it must stay alive until finished(), failed() or abandon().
class StreamingStatement final : public QObject {
    Q_OBJECT
public:
    explicit StreamingStatement(std::shared_ptr<StreamLinks> links, QObject* parent = nullptr);
    ~StreamingStatement() override; // abandons a running statement

    // Sends the statement (cp1250 bytes) on a stream link and returns; a
    // running statement is abandoned first. Throws DbError when no link can
    // be had; errors of the statement itself arrive through failed(). No
    // signal comes from inside start(): all of them from the event loop.
    // With append, the rows are added to those target already holds (the
    // statement gives the same columns): no columnsArrived(), and
    // rowsArrived() counts on from target's rows.
    void start(const QByteArray& sql, ResultSet* target, bool append = false);
    // Abandons the running statement: no further signal, no further row.
    void abandon();
    bool isRunning() const { return m_run != nullptr; }

    // Announcements are batched: until a screenful of rows (firstBatchRows)
    // is out, whatever has arrived is announced as soon as nothing more is
    // waiting on the socket or a slice of reading (a few milliseconds) is
    // over; then at most every batchIntervalMs while rows
    // keep coming, and the last ones right before finished().
    void setBatching(int firstBatchRows, int batchIntervalMs);
    int firstBatchRows() const { return m_firstBatchRows; }
    int batchIntervalMs() const { return m_batchIntervalMs; }

    // The server thread the running statement's link talks to (0 when none).
    unsigned long linkThreadId() const;

signals:
    // The result's columns are in the target (no rows yet).
    void columnsArrived();
    // Rows first..last (0-based, inclusive) were appended to the target.
    void rowsArrived(int first, int last);
    // All rows are in the target; the link is free again.
    void finished();
    // The statement failed (the server's error text and number); no rows
    // follow. A statement without a result set (an UPDATE) finishes with an
    // empty target without columns.
    void failed(const QString& message, unsigned code);

private:
    friend class StatementRun;
    std::shared_ptr<StreamLinks> m_links;
    StatementRun* m_run = nullptr; // the running statement; it clears this when it ends
    int m_firstBatchRows = 64;
    int m_batchIntervalMs = 40;
};

} // namespace kml
