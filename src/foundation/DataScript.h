#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kml {

class Connection;

// Data scripts: a backup of every table's rows as SQL text, and the runner
// that executes such a script (or any script typed into the SQL console)
// one statement at a time.
//
// A script and its runner agree on one rule: a statement is executed exactly
// as it stands in the script. Text values are written once through SqlStr, so
// every backslash, quote, CR and LF of a value is escaped exactly once and no
// value holds a real line break; a value therefore always stays on its row's
// line, and executing the statement restores it byte for byte.

// Progress of long work: position of maximum; the caller may show it and
// let pending window events run.
using ProgressFn = std::function<void(int position, int maximum)>;

// The "INSERT IGNORE" statements that refill a table with its present rows,
// lines joined by CR LF; "" for an empty table. The first line of each
// statement is "INSERT IGNORE INTO " + table + " (" + lower-cased column
// names joined by "," + ") VALUES", then one line per row "(v1,v2,...),", the
// last row of a statement ending in ");". A statement holds rows 1-99, then
// 100-199, 200-299, ... (99 rows, then 100 each). Values: NULL as NULL, text
// through SqlStr, numbers as the server writes them, dates and date-times
// quoted as the server writes them ('yyyy-mm-dd', 'yyyy-mm-dd hh:mm:ss').
QString TableInsertScript(Connection& connection, const QString& table);

// The same script handed over line by line (without line ends).
void WriteTableInsertScript(Connection& connection, const QString& table,
                            const std::function<void(const QString& line)>& sink);

// Writes a data script of every table of the connection's database (in the
// server's order) to a cp1250 text file with CR LF line ends: for each table
// the line "TRUNCATE " + table + ";" and its TableInsertScript (an empty line
// for an empty table), between session lines that let the rows go in as they
// are (no foreign-key checks, a key 0 kept as 0, the search-text triggers
// standing aside while the search tables come back with the rest) and put the
// session back afterwards. Reports progress (table index of table count) before each table
// and (0, count) at the end. Throws std::runtime_error when the file cannot
// be written (an existing file is then left as it was) and DbError for a
// failed statement.
void DumpTablesToFile(Connection& connection, const QString& fileName, const ProgressFn& progress = {});

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
