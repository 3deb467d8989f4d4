#include "components/StreamingStatement.h"

#include "components/Cp1250.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <mysql.h>
#include <mysqld_error.h>
#include <sys/socket.h>

namespace kml {

// ---- StreamLinks ------------------------------------------------------------------

namespace {

// The longest stretch of rows read in one go before the event loop gets its
// turn, so that the window keeps answering while a large result arrives.
constexpr int kSliceMs = 12;

} // namespace

StreamLinks::StreamLinks(Connection* control) : m_control(control), m_options(control->options()) {
    m_options.nonBlocking = true;
}

std::unique_ptr<Connection> StreamLinks::take() {
    while (!m_idle.empty()) {
        std::unique_ptr<Connection> link = std::move(m_idle.back());
        m_idle.pop_back();
        link->ensureAlive(); // reopens a session the server closed; throws when it cannot
        return link;
    }
    if (!m_control)
        throw DbError(QStringLiteral("Nincs adatbázis kapcsolat"), 2006);
    if (m_pinned)
        throw DbError(QStringLiteral("A kapcsolaton még fut egy utasítás"), 2014);
    auto link = std::make_unique<Connection>();
    link->open(m_options);
    return link;
}

void StreamLinks::giveBack(std::unique_ptr<Connection> link) {
    if (m_control && link && link->isOpen() && (m_pinned || int(m_idle.size()) < MaxIdle))
        m_idle.push_back(std::move(link));
}

void StreamLinks::pin(std::unique_ptr<Connection> session) {
    m_idle.clear();
    m_pinned = true;
    m_idle.push_back(std::move(session));
}

bool StreamLinks::killQuery(unsigned long threadId) {
    if (!m_control || threadId == 0)
        return false;
    try {
        m_control->exec(QStringLiteral("KILL QUERY %1").arg(threadId));
        return true;
    } catch (const DbError&) {
        // The thread may be gone already (1094), or the control connection
        // broke; either way the link is not to be trusted with more work.
        return false;
    }
}

void StreamLinks::detach() {
    m_control = nullptr;
    m_idle.clear();
}

// ---- StatementRun ----------------------------------------------------------------------

// The protocol of one statement on one link, stepped by socket notifiers and
// timers: send and execute, read the result's rows, free it, read any further
// results (a CALL's status), give the link back. While it has an owner the
// rows go into the owner's target and are announced through the owner's
// signals; abandoned, it reads to the end throwing everything away and then
// deletes itself.
class StatementRun final : public QObject {
    Q_OBJECT
public:
    StatementRun(StreamingStatement* owner, std::shared_ptr<StreamLinks> links,
                 std::unique_ptr<Connection> link, ResultSet* target, bool append);
    ~StatementRun() override;

    void start(const QByteArray& sql);
    void abandon();
    unsigned long threadId() const { return m_link ? m_link->threadId() : 0; }

private:
    enum class Phase { Executing, Fetching, Freeing, NextResult, Done };
    enum class Outcome { None, Finished, Failed };

    void step(int readyStatus);
    // The calls of one phase; each returns the wait status the library asked
    // for (0: the phase is over).
    int executeDone(int result);
    int continueFetching(int status, QElapsedTimer& slice, bool& sliceOver);
    int startFreeing();
    int checkNextResult();
    int nextResultDone(int result);
    void finishWith(Outcome outcome);
    void waitFor(int status);
    void onSocket(QSocketDescriptor, QSocketNotifier::Type type);
    void deliver();
    void release();

    QPointer<StreamingStatement> m_owner;
    std::shared_ptr<StreamLinks> m_links;
    std::unique_ptr<Connection> m_link;
    st_mysql* m_mysql = nullptr;
    MYSQL_RES* m_res = nullptr;
    ResultSet* m_target;
    bool m_append = false; // the rows go after those m_target holds
    QByteArray m_sql;
    Phase m_phase = Phase::Executing;
    bool m_abandoned = false;
    bool m_sliceTimerArmed = false;

    // What the owner has yet to hear.
    bool m_columnsDue = false;
    int m_announced = 0; // rows announced so far
    QElapsedTimer m_sinceAnnounce;
    Outcome m_outcome = Outcome::None;
    QString m_errorMessage;
    unsigned m_errorCode = 0;

    QSocketNotifier* m_read = nullptr;
    QSocketNotifier* m_write = nullptr;
    QTimer m_continue; // the next slice, or the library's own timeout
    QTimer m_announce; // rows waiting while the socket is quiet
};

StatementRun::StatementRun(StreamingStatement* owner, std::shared_ptr<StreamLinks> links,
                           std::unique_ptr<Connection> link, ResultSet* target, bool append)
    : m_owner(owner), m_links(std::move(links)), m_link(std::move(link)), m_mysql(m_link->handle()),
      m_target(target), m_append(append && target), m_announced(m_append ? target->rowCount() : 0) {
    const int fd = int(mysql_get_socket(m_mysql));
    m_read = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    m_write = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_read->setEnabled(false);
    m_write->setEnabled(false);
    connect(m_read, &QSocketNotifier::activated, this, &StatementRun::onSocket);
    connect(m_write, &QSocketNotifier::activated, this, &StatementRun::onSocket);
    m_continue.setSingleShot(true);
    connect(&m_continue, &QTimer::timeout, this, [this] {
        const bool slice = m_sliceTimerArmed;
        m_sliceTimerArmed = false;
        step(slice ? 0 : MYSQL_WAIT_TIMEOUT);
    });
    m_announce.setSingleShot(true);
    connect(&m_announce, &QTimer::timeout, this, &StatementRun::deliver);
}

StatementRun::~StatementRun() {
    // A run is deleted once it is over. Should one go in the middle of a
    // result (the program ending), its link is closed, never reused.
    if (m_link && m_phase != Phase::Done) {
        ::shutdown(int(mysql_get_socket(m_mysql)), SHUT_RDWR);
        m_link.reset();
    }
}

void StatementRun::start(const QByteArray& sql) {
    m_sql = sql;
    m_phase = Phase::Executing;
    int result = 0;
    const int status =
        mysql_real_query_start(&result, m_mysql, m_sql.constData(), (unsigned long)m_sql.size());
    if (status) {
        waitFor(status);
        return;
    }
    // Answered at once: what follows comes from the event loop all the same,
    // never from inside start().
    const int next = executeDone(result);
    if (next) {
        waitFor(next);
    } else {
        m_sliceTimerArmed = true;
        m_continue.start(0);
    }
}

void StatementRun::abandon() {
    if (m_abandoned)
        return;
    m_abandoned = true;
    m_owner = nullptr;
    m_target = nullptr;
    m_announce.stop();
    if (m_phase == Phase::Done) {
        deleteLater();
        return;
    }
    // While the server is still executing or sending, stop it. What is on its
    // way is read and thrown away by the steps that follow; when no KILL can
    // be sent the statement is simply read to its end.
    if (m_phase == Phase::Executing || m_phase == Phase::Fetching)
        m_links->killQuery(threadId());
}

void StatementRun::waitFor(int status) {
    m_read->setEnabled(status & (MYSQL_WAIT_READ | MYSQL_WAIT_EXCEPT));
    m_write->setEnabled(status & MYSQL_WAIT_WRITE);
    if (status & MYSQL_WAIT_TIMEOUT) {
        m_sliceTimerArmed = false;
        m_continue.start(int(mysql_get_timeout_value_ms(m_mysql)));
    }
}

void StatementRun::onSocket(QSocketDescriptor, QSocketNotifier::Type type) {
    // The notifiers stay as they are while the next step waits for the same
    // (a long result waits for reading again and again; switching a
    // notifier off and on costs the event loop more than the rows do).
    m_continue.stop();
    step(type == QSocketNotifier::Write ? MYSQL_WAIT_WRITE : MYSQL_WAIT_READ);
}

int StatementRun::executeDone(int result) {
    if (result != 0) {
        finishWith(Outcome::Failed);
        return 0;
    }
    m_res = mysql_use_result(m_mysql);
    if (!m_res) {
        if (mysql_field_count(m_mysql) != 0) {
            finishWith(Outcome::Failed);
            return 0;
        }
        // A statement without rows: nothing to read but further results.
        if (m_target && !m_append) {
            *m_target = ResultSet();
            m_columnsDue = true;
        }
        return checkNextResult();
    }
    if (m_target && !m_append) {
        *m_target = ResultSet(ResultColumns(m_res));
        m_columnsDue = true;
    }
    m_phase = Phase::Fetching;
    return 0;
}

void StatementRun::step(int readyStatus) {
    QElapsedTimer slice;
    slice.start();
    bool sliceOver = false;
    int wait = 0;
    while (!wait && !sliceOver && m_phase != Phase::Done) {
        switch (m_phase) {
        case Phase::Executing: {
            int result = 0;
            const int status = mysql_real_query_cont(&result, m_mysql, readyStatus);
            readyStatus = 0;
            wait = status ? status : executeDone(result);
            break;
        }
        case Phase::Fetching:
            wait = continueFetching(readyStatus, slice, sliceOver);
            readyStatus = 0;
            break;
        case Phase::Freeing: {
            const int status = mysql_free_result_cont(m_res, readyStatus);
            readyStatus = 0;
            if (status) {
                wait = status;
            } else {
                m_res = nullptr;
                wait = checkNextResult();
            }
            break;
        }
        case Phase::NextResult: {
            // Only reached while mysql_next_result waits for the server.
            int result = 0;
            const int status = mysql_next_result_cont(&result, m_mysql, readyStatus);
            readyStatus = 0;
            wait = status ? status : nextResultDone(result);
            break;
        }
        case Phase::Done:
            break;
        }
    }
    if (m_phase == Phase::Done) {
        m_read->setEnabled(false);
        m_write->setEnabled(false);
        m_continue.stop();
    } else if (wait) {
        waitFor(wait);
    } else if (sliceOver) {
        // Nothing is awaited until the timer steps on.
        m_read->setEnabled(false);
        m_write->setEnabled(false);
        m_sliceTimerArmed = true;
        m_continue.start(0);
    }
    deliver();
}

int StatementRun::continueFetching(int status, QElapsedTimer& slice, bool& sliceOver) {
    for (;;) {
        MYSQL_ROW row = nullptr;
        const int wait =
            status ? mysql_fetch_row_cont(&row, m_res, status) : mysql_fetch_row_start(&row, m_res);
        status = 0;
        if (wait)
            return wait;
        if (!row) {
            if (mysql_errno(m_mysql) != 0) {
                // An abandoned statement ends with the server's "interrupted".
                finishWith(Outcome::Failed);
                return 0;
            }
            if (m_target)
                m_target->finish();
            return startFreeing();
        }
        // Rows already waiting on the socket are read before any goes out,
        // within one slice: a result that comes in one go is announced (and
        // painted) once, and the first screen waits at most a slice.
        if (m_target)
            m_target->appendRow(row, mysql_fetch_lengths(m_res));
        if (slice.elapsed() >= kSliceMs) {
            sliceOver = true;
            return 0;
        }
    }
}

int StatementRun::startFreeing() {
    m_phase = Phase::Freeing;
    const int wait = mysql_free_result_start(m_res);
    if (wait)
        return wait;
    m_res = nullptr;
    return checkNextResult();
}

// After a result: the statement is over unless the server sends more (the
// status result of a CALL), which is read and dropped.
int StatementRun::checkNextResult() {
    if (!mysql_more_results(m_mysql)) {
        finishWith(Outcome::Finished);
        return 0;
    }
    m_phase = Phase::NextResult;
    int result = 0;
    const int wait = mysql_next_result_start(&result, m_mysql);
    return wait ? wait : nextResultDone(result);
}

// result: 0 another result is there, -1 there is none, > 0 an error.
int StatementRun::nextResultDone(int result) {
    if (result > 0) {
        finishWith(Outcome::Failed);
        return 0;
    }
    if (result < 0) {
        finishWith(Outcome::Finished);
        return 0;
    }
    if (MYSQL_RES* extra = mysql_use_result(m_mysql)) {
        // Rows nobody asked for (a second result set of a procedure): small
        // in practice, read at once.
        while (mysql_fetch_row(extra)) {
        }
        const bool failed = mysql_errno(m_mysql) != 0;
        mysql_free_result(extra);
        if (failed) {
            finishWith(Outcome::Failed);
            return 0;
        }
    }
    return checkNextResult();
}

void StatementRun::finishWith(Outcome outcome) {
    m_phase = Phase::Done;
    if (outcome == Outcome::Failed) {
        const DbError error = m_link->lastError();
        m_errorMessage = error.message();
        m_errorCode = error.code();
        if (m_res) {
            mysql_free_result(m_res); // after an error there is nothing left to read
            m_res = nullptr;
        }
        // An interrupted or failed statement leaves the session usable; a
        // lost one is reopened by the next take().
    }
    if (!m_abandoned)
        m_outcome = outcome;
    release();
}

void StatementRun::release() {
    if (m_link)
        m_links->giveBack(std::move(m_link));
    if (m_abandoned)
        deleteLater();
}

void StatementRun::deliver() {
    m_announce.stop();
    // Each announcement is taken off the list before it is made: a receiver
    // may start the next statement, abandon this one or throw.
    if (!m_owner || m_abandoned)
        return;
    QPointer<StatementRun> self(this);
    if (m_columnsDue) {
        m_columnsDue = false;
        emit m_owner->columnsArrived();
        if (!self || !m_owner || m_abandoned)
            return;
    }
    const int rows = m_target ? m_target->rowCount() : 0;
    if (rows > m_announced) {
        // Until a screenful is out, whatever has arrived goes out at once.
        const bool due = m_outcome != Outcome::None || m_announced < m_owner->firstBatchRows() ||
                         m_sinceAnnounce.elapsed() >= m_owner->batchIntervalMs();
        if (due) {
            const int first = m_announced;
            m_announced = rows;
            m_sinceAnnounce.start();
            emit m_owner->rowsArrived(first, rows - 1);
            if (!self || !m_owner || m_abandoned)
                return;
        } else {
            m_announce.start(
                int(std::max<qint64>(1, m_owner->batchIntervalMs() - m_sinceAnnounce.elapsed())));
        }
    }
    if (m_outcome != Outcome::None) {
        const Outcome outcome = m_outcome;
        m_outcome = Outcome::None;
        StreamingStatement* owner = m_owner;
        // The run is over: the owner no longer holds it.
        owner->m_run = nullptr;
        m_abandoned = true;
        m_owner = nullptr;
        deleteLater();
        if (outcome == Outcome::Finished)
            emit owner->finished();
        else
            emit owner->failed(m_errorMessage, m_errorCode);
    }
}

// ---- StreamingStatement ------------------------------------------------------------------

StreamingStatement::StreamingStatement(std::shared_ptr<StreamLinks> links, QObject* parent)
    : QObject(parent), m_links(std::move(links)) {}

StreamingStatement::~StreamingStatement() {
    abandon();
}

void StreamingStatement::start(const QByteArray& sql, ResultSet* target, bool append) {
    abandon();
    auto* run = new StatementRun(this, m_links, m_links->take(), target, append);
    m_run = run;
    run->start(sql);
}

void StreamingStatement::abandon() {
    if (StatementRun* run = m_run) {
        m_run = nullptr;
        run->abandon();
    }
}

void StreamingStatement::setBatching(int firstBatchRows, int batchIntervalMs) {
    m_firstBatchRows = std::max(1, firstBatchRows);
    m_batchIntervalMs = std::max(0, batchIntervalMs);
}

unsigned long StreamingStatement::linkThreadId() const {
    return m_run ? m_run->threadId() : 0;
}

} // namespace kml

#include "StreamingStatement.moc"
