#pragma once

// The SQL console's work apart from its window (admin/gui/Tfrm_SQL.h).
//
// The console runs everything on a session of its own (ConsoleSession),
// opened with the options of the program's connection and closed with the
// window: USE, SET NAMES, SET autocommit, an open transaction or LOCK TABLES
// typed there never reach the session the rest of the program works on.
// Every result of every statement is read, so the session stays usable
// after a CALL that returns rows or several result sets; statements are
// sent one at a time (multi-statement mode stays off).

#include "admin/SqlScript.h"
#include "components/Connection.h"
#include "components/Query.h"
#include "foundation/WindowOperation.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace kml {

class StreamLinks;

namespace console_text {
inline const QString Caption = QStringLiteral("SQL lekérdezés");
inline const QString ScriptDone = QStringLiteral("SQL futtatás kész.");
inline const QString QueryErrorPrefix = QStringLiteral("SQL hiba:\r\n");
inline const QString ScriptErrorPrefix = QStringLiteral("Hiba: ");
inline const QString RowsChanged =
    QStringLiteral("Az utasítás nem adott vissza sorokat; módosított sorok: %1.");
inline const QString NothingToRun = QStringLiteral("Nincs futtatható utasítás.");
inline const QString NoTableName =
    QStringLiteral("Hiányzik a tábla neve. Táblát így lehet megnyitni: table: táblanév");
inline const QString NoPrimaryKey =
    QStringLiteral("A táblának nincs elsődleges kulcsa, ezért csak megtekinthető, nem szerkeszthető.");
inline const QString RowNotWritten =
    QStringLiteral("A sort közben módosították vagy törölték, ezért a változás nem lett mentve.");
inline const QString Running = QStringLiteral("Az SQL futása közben az ablak nem zárható be.");
inline const QString OpenTitle = QStringLiteral("SQL megnyitás");
inline const QString OpenFilter = QStringLiteral("SQL állományok (*.sql)");
inline const QString SaveTitle = QStringLiteral("SQL mentése");
inline const QString SaveFilter = QStringLiteral("SQL file-ok (*.sql)");
} // namespace console_text

// The folder the open and save dialogs start in: data folder + "/SQL"
// (created when missing).
QString SqlScriptFolder();

// The console's session. Statements run either blocking (exec, query, a
// script) or streamed into a Query whose rows arrive while the window
// answers (openResult). Throws DbError when it cannot connect.
class ConsoleSession final {
public:
    explicit ConsoleSession(const ConnectionOptions& options);
    ~ConsoleSession();
    ConsoleSession(const ConsoleSession&) = delete;
    ConsoleSession& operator=(const ConsoleSession&) = delete;

    // The connection a result Query runs on: its streaming statements go to
    // the console's session (the connection itself only sends KILL QUERY).
    Connection& control() { return m_control; }
    // The session, for what reads its state (thread id, affected rows);
    // statements go through exec/query.
    Connection& session() { return *m_session; }

    // Whether a streamed result is still being read on the session.
    bool isBusy() const;
    // Waits (letting events run) until the session is free; false when it
    // was not free within the time given.
    bool waitUntilFree(int milliseconds = 10000);

    // One statement on the session; every result read.
    void exec(const QString& sql);
    ResultSet query(const QString& sql);
    // The rows the last exec changed (affected rows) and matched.
    quint64 affectedRows() const { return m_affected; }
    quint64 matchedRows() const { return m_matched; }

    // Streams a statement's rows into result (Query::openAsync).
    void openResult(Query& result, const QString& sql);
    // The same, waiting until every row is there; throws DbError.
    void openResultAndWait(Query& result, const QString& sql);
    // After a streamed statement without rows: the rows it changed.
    quint64 streamedAffectedRows() const;

    // Runs the statements one after the other; progress gets the line the
    // next statement ends on before it runs. Stops at the first failure:
    // the statements before it stay done.
    struct ScriptOutcome {
        int executed = 0;
        std::optional<QString> error; // the server's text with its number
        int failedLine = 0;
    };
    ScriptOutcome runScript(const std::vector<ScriptStatement>& statements,
                            const std::function<void(int line)>& progress = {});

private:
    template <typename F> auto onSession(F&& work);

    Connection m_control;
    Connection* m_session = nullptr; // owned by the control connection's stream links
    std::shared_ptr<StreamLinks> m_links;
    quint64 m_affected = 0;
    quint64 m_matched = 0;
};

// The console window for administrators; other users get
// "Nincs jogosultság a művelethez." and no window.
inline WindowOperation<void()> OpenSqlConsole{"OpenSqlConsole"};
void RunSqlConsole();

} // namespace kml
