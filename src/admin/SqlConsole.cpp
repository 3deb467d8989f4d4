#include "admin/SqlConsole.h"

#include "components/StreamingStatement.h"
#include "foundation/Folders.h"
#include "foundation/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <mysql.h>

namespace kml {

QString SqlScriptFolder() {
    const QString folder = DataFolder() + QStringLiteral("/SQL");
    QDir().mkpath(folder);
    return folder;
}

ConsoleSession::ConsoleSession(const ConnectionOptions& options) {
    m_control.open(options);
    ConnectionOptions sessionOptions = options;
    sessionOptions.nonBlocking = true;
    auto session = std::make_unique<Connection>();
    session->open(sessionOptions);
    m_session = session.get();
    m_links = m_control.streamLinks();
    m_links->pin(std::move(session));
}

ConsoleSession::~ConsoleSession() {
    // Closing the control connection closes the session (or, while a
    // statement still streams on it, drops it when that run ends).
    m_control.close();
}

bool ConsoleSession::isBusy() const {
    return m_links->idleCount() == 0;
}

bool ConsoleSession::waitUntilFree(int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (isBusy() && waited.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return !isBusy();
}

template <typename F> auto ConsoleSession::onSession(F&& work) {
    std::unique_ptr<Connection> session = m_links->take();
    struct GiveBack {
        StreamLinks& links;
        std::unique_ptr<Connection>& session;
        ~GiveBack() { links.giveBack(std::move(session)); }
    } giveBack{*m_links, session};
    return work(*session);
}

void ConsoleSession::exec(const QString& sql) {
    onSession([&](Connection& s) {
        s.exec(sql);
        m_affected = s.affectedRows();
        m_matched = s.matchedRows();
    });
}

ResultSet ConsoleSession::query(const QString& sql) {
    return onSession([&](Connection& s) { return s.query(sql); });
}

void ConsoleSession::openResult(Query& result, const QString& sql) {
    result.close();
    result.setConnection(&m_control);
    result.setSql(sql);
    result.openAsync();
}

void ConsoleSession::openResultAndWait(Query& result, const QString& sql) {
    QEventLoop loop;
    QString message;
    unsigned code = 0;
    bool failed = false;
    const auto done = QObject::connect(&result, &Query::finished, &loop, &QEventLoop::quit);
    const auto fail = QObject::connect(&result, &Query::failed, &loop, [&](const QString& m, unsigned c) {
        failed = true;
        message = m;
        code = c;
        loop.quit();
    });
    openResult(result, sql);
    if (result.isFetching())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    QObject::disconnect(done);
    QObject::disconnect(fail);
    if (failed)
        throw DbError(message, code);
}

quint64 ConsoleSession::streamedAffectedRows() const {
    if (!m_session->handle())
        return 0;
    const my_ulonglong rows = mysql_affected_rows(m_session->handle());
    return rows == my_ulonglong(-1) ? 0 : quint64(rows);
}

ConsoleSession::ScriptOutcome ConsoleSession::runScript(const std::vector<ScriptStatement>& statements,
                                                        const std::function<void(int line)>& progress) {
    ScriptOutcome outcome;
    for (const ScriptStatement& statement : statements) {
        if (progress)
            progress(statement.lastLine);
        try {
            exec(statement.sql);
        } catch (const DbError& error) {
            outcome.error = error.text();
            outcome.failedLine = statement.firstLine;
            return outcome;
        }
        ++outcome.executed;
    }
    return outcome;
}

void RunSqlConsole() {
    if (!RequireRight(Beall().rendszergazda))
        return;
    OpenSqlConsole();
}

} // namespace kml
