#pragma once

// What the SQL console does with the text in its editor, apart from running
// it: cutting a script into statements, telling a query from a script, and
// recognising the table mode ("table: name").

#include <QString>
#include <vector>

namespace kml {

// One statement of a script: its text without the terminator, and the
// lines (1-based) it starts and ends on.
struct ScriptStatement {
    QString sql;
    int firstLine = 0;
    int lastLine = 0;
};

// Cuts a script into statements the way command-line clients do:
//   - the terminator is ";" at first; a line "delimiter X" (the word in any
//     letter case, outside a statement's quoted text) makes X the terminator
//     and is not sent; a bare "delimiter" line makes it empty, so that every
//     further non-empty line is a statement of its own;
//   - a terminator ends a statement wherever it stands outside quoted text
//     ('...', "...", `...`) and comments (-- , #, /* */), so two statements
//     on one line are two statements and a ";" inside a literal is text;
//   - lines inside a quoted literal pass through untouched (blank lines and
//     indentation kept); elsewhere lines are trimmed and blank ones dropped;
//   - text left after the last terminator is the last statement;
//   - a statement holding nothing but comments is not sent.
std::vector<ScriptStatement> SplitSqlScript(const QString& text);

// Whether the text holds nothing but blanks and comments.
bool IsBlankSql(const QString& text);

// The first word of a statement, past blanks and comments, upper-cased.
QString LeadingKeyword(const QString& statement);

// Whether a statement is read as a result (shown in the grid) rather than
// run as a script: it begins with SELECT, SHOW, WITH, EXPLAIN, DESCRIBE,
// DESC or VALUES.
bool IsResultStatement(const QString& statement);

// The table mode: the editor's first line begins with "table" (any letter
// case). The table is the text after the first ":" on that line, trimmed;
// empty when the line has no ":" (the caller says so).
struct TableModeRequest {
    bool tableMode = false;
    bool hasColon = false;
    QString table;
};
TableModeRequest ParseTableMode(const QString& text);

// A table name as a quoted identifier: `name`, or `db`.`name` for a name
// with one dot; backticks inside are doubled.
QString QuoteIdentifier(const QString& name);

} // namespace kml
