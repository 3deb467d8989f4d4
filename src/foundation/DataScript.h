#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QIODevice;

namespace kml {

class Connection;

// Data scripts: a backup of every table's rows as SQL text, and the runner
// that executes such a script (or any script typed into the SQL console)
// one statement at a time.
//
// A data script restores a database exactly, whatever client runs it (this
// program's restore or the mariadb client): it begins with the comment line
// DataScriptMark and session lines (NAMES latin2, no foreign-key or unique
// checks, a key 0 kept as 0, the search-text triggers standing aside while
// the search tables come back with the rest) and ends putting the session
// back. For each base table (never a view) it holds "TRUNCATE `t`;" and
// plain INSERT statements (an error surfaces instead of dropping a row).
// Values are written once, by the client library's escaping rules (\0 \n
// \r \\ \' \" \Z), so no value holds a real line break and every row
// stands on its own line; binary values are 0x hex literals, numbers
// (doubles included) the server's own text, which reads back to the same
// value. Text crosses as the connection's cp1250 bytes, untouched.

inline constexpr char DataScriptMark[] = "-- Koravel.ML adatmentés";

// Progress of long work: position of maximum; the caller may show it and
// let pending window events run.
using ProgressFn = std::function<void(qint64 position, qint64 maximum)>;

// The INSERT statements that refill a table with its present rows, lines
// joined by CR LF; "" for an empty table. A statement is the line
// "INSERT INTO `t` (`c1`,`c2`,...) VALUES", then one line per row
// "(v1,v2,...),", its last row ending in ");"; a statement is closed after
// RowsPerStatement rows or when it grows past about a megabyte.
inline constexpr int RowsPerStatement = 1000;
QString TableInsertScript(Connection& connection, const QString& table);

// Writes the data script of every base table of the connection's database
// to a cp1250 file with CR LF line ends. The tables are read in one
// consistent snapshot (one transaction), their rows streamed (never more
// than a row held). Reports progress as rows written of the estimated rows
// of the database, often enough for a window to stay answering. Throws
// std::runtime_error when the file cannot be written (an existing file is
// then left as it was) and DbError for a failed statement.
void DumpTablesToFile(Connection& connection, const QString& fileName, const ProgressFn& progress = {});
// The same into an open device.
void DumpTablesToDevice(Connection& connection, QIODevice& device, const ProgressFn& progress = {});

// Restores a data script read from the device (size bytes, for progress)
// into the connection's database: statement by statement, exactly as they
// stand. A script written by the old program (TRUNCATE and INSERT IGNORE
// statements, text escaped twice) is recognised and its values are
// unescaped once before they run; its statements on views are left out,
// and it runs under the same session settings a data script sets. The
// session's sql_mode, checks and character set are the same afterwards,
// whether the run succeeded or not. Returns the statements executed;
// throws DbError for a failing statement (the ones before it stay done).
int RestoreDataScript(Connection& connection, QIODevice& device, qint64 size,
                      const ProgressFn& progress = {});

// Whether the first bytes of a script are those of the old program's data
// script (no DataScriptMark, a TRUNCATE or INSERT IGNORE first).
bool IsOldDataScript(const QByteArray& firstLine);
// The old program's second escaping undone: \\ \r \n back to \ CR LF.
QByteArray UndoOldEscaping(const QByteArray& statement);

// Cuts a script into statements the way the SQL console runs it: each line is
// trimmed and empty lines are skipped; a line beginning with "delimiter"
// (lower case) sets the terminator to its second blank-separated word and is
// not part of any statement; other lines are collected until one ends with
// the terminator, and the collected lines joined by line breaks, trimmed and
// without the terminator, are one statement. The terminator is ";" at first.
class SqlScriptSplitter final {
public:
    // Returns the statement that this line completes, if it completes one.
    std::optional<QString> addLine(const QString& line);
    const QString& terminator() const { return m_terminator; }
    // Lines collected after the last terminator (never executed).
    const QStringList& pendingLines() const { return m_pending; }

private:
    QString m_terminator = QStringLiteral(";");
    QStringList m_pending;
};

// Runs a script statement by statement on the connection, exactly as the
// statements stand. Reports progress per line (line number of line count).
// Returns the number of statements executed. A failing statement throws its
// DbError; the statements before it stay executed. Lines after the last
// terminator are not executed. The session's sql_mode and foreign-key checks
// are the same after the run as before it, whether it succeeded or not, and
// the search-text triggers no longer stand aside (@kml_kereses_ki).
int RunSqlScript(Connection& connection, const QStringList& lines, const ProgressFn& progress = {});
// The same for a cp1250 script file (as DumpTablesToFile writes them).
// Throws std::runtime_error when the file cannot be read.
int RunSqlScriptFile(Connection& connection, const QString& fileName, const ProgressFn& progress = {});

} // namespace kml
