#include "foundation/DataScript.h"

#include "components/Connection.h"
#include "components/Cp1250.h"
#include "components/DbError.h"
#include "components/ResultSet.h"
#include "foundation/TextHelpers.h"

#include <QDateTime>
#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QSet>
#include <mysql.h>
#include <stdexcept>

namespace kml {
namespace {

constexpr qsizetype kStatementBytes = 1 << 20;

// Session lines around a data script: the rows go in exactly as they were
// (a key 0 is not replaced by the next auto-increment value, no foreign-key
// or unique check depends on the order of the tables or slows the load),
// and the session is put back afterwards, character set included.
const char* const kScriptHead[] = {
    "SET @kml_character_set_client = @@SESSION.character_set_client, "
    "@kml_character_set_results = @@SESSION.character_set_results, "
    "@kml_collation_connection = @@SESSION.collation_connection;",
    "SET @kml_sql_mode = @@SESSION.sql_mode, @kml_foreign_key_checks = @@SESSION.foreign_key_checks, "
    "@kml_unique_checks = @@SESSION.unique_checks;",
    "SET NAMES latin2;",
    "SET SESSION FOREIGN_KEY_CHECKS = 0;",
    "SET SESSION UNIQUE_CHECKS = 0;",
    "SET SESSION SQL_MODE = 'NO_AUTO_VALUE_ON_ZERO';",
    "SET @kml_kereses_ki = 1;",
};
const char* const kScriptTail[] = {
    "SET @kml_kereses_ki = NULL;",
    "SET SESSION SQL_MODE = @kml_sql_mode;",
    "SET SESSION UNIQUE_CHECKS = @kml_unique_checks;",
    "SET SESSION FOREIGN_KEY_CHECKS = @kml_foreign_key_checks;",
    "SET SESSION character_set_client = @kml_character_set_client, "
    "character_set_results = @kml_character_set_results, collation_connection = @kml_collation_connection;",
};

[[noreturn]] void FileError(const QString& what, const QString& path, const QString& reason) {
    throw std::runtime_error(QStringLiteral("%1 %2: %3").arg(what, path, reason).toStdString());
}

QByteArray QuotedName(const QString& name) {
    QByteArray quoted = ToCp1250(name);
    quoted.replace('`', "``");
    return '`' + quoted + '`';
}

// How a column's values are written.
enum class ValueStyle { Number, Hex, Quoted, Escaped };

ValueStyle StyleOf(const ColumnInfo& column) {
    switch (column.serverType) {
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_YEAR:
        return ValueStyle::Number;
    case MYSQL_TYPE_BIT:
    case MYSQL_TYPE_GEOMETRY:
        return ValueStyle::Hex;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
    case MYSQL_TYPE_TIME:
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return ValueStyle::Quoted;
    default:
        return column.binary ? ValueStyle::Hex : ValueStyle::Escaped;
    }
}

// The escaping of mysql_real_escape_string for a single-byte character set.
void AppendEscaped(QByteArray& out, const char* value, unsigned long size) {
    out += '\'';
    for (unsigned long i = 0; i < size; ++i) {
        const char c = value[i];
        switch (c) {
        case '\0':
            out += "\\0";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\'':
            out += "\\'";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\032':
            out += "\\Z";
            break;
        default:
            out += c;
        }
    }
    out += '\'';
}

void AppendValue(QByteArray& out, ValueStyle style, const char* value, unsigned long size) {
    if (!value) {
        out += "NULL";
        return;
    }
    switch (style) {
    case ValueStyle::Number:
        out.append(value, qsizetype(size));
        return;
    case ValueStyle::Hex:
        if (size == 0)
            out += "''";
        else
            out += "0x" + QByteArray::fromRawData(value, qsizetype(size)).toHex();
        return;
    case ValueStyle::Quoted:
        out += '\'';
        out.append(value, qsizetype(size));
        out += '\'';
        return;
    case ValueStyle::Escaped:
        AppendEscaped(out, value, size);
        return;
    }
}

// Streams a table's INSERT statements, line by line (without line ends), to
// sink; calls rowDone after each row. Nothing for an empty table.
void StreamTableInserts(Connection& connection, const QString& table,
                        const std::function<void(const QByteArray& line)>& sink,
                        const std::function<void()>& rowDone) {
    QByteArray head;
    std::vector<ValueStyle> styles;
    QByteArray line;
    bool pending = false; // `line` holds a row not yet handed on
    int rowsInStatement = 0;
    qsizetype statementBytes = 0;
    connection.streamRows(
        QStringLiteral("SELECT * FROM ") + QString::fromLatin1(QuotedName(table)),
        [&](const std::vector<ColumnInfo>& columns) {
            QByteArrayList names;
            for (const ColumnInfo& column : columns) {
                names << QuotedName(column.name.toLower());
                styles.push_back(StyleOf(column));
            }
            head = "INSERT INTO " + QuotedName(table) + " (" + names.join(',') + ") VALUES";
        },
        [&](const char* const* values, const unsigned long* lengths) {
            if (pending) {
                if (rowsInStatement >= RowsPerStatement || statementBytes >= kStatementBytes) {
                    line.back() = ';';
                    sink(line);
                    rowsInStatement = 0;
                    statementBytes = 0;
                } else {
                    sink(line);
                }
            }
            if (rowsInStatement == 0)
                sink(head);
            line = "(";
            for (size_t col = 0; col < styles.size(); ++col) {
                if (col > 0)
                    line += ',';
                AppendValue(line, styles[col], values[col], lengths[col]);
            }
            line += "),";
            pending = true;
            ++rowsInStatement;
            statementBytes += line.size();
            if (rowDone)
                rowDone();
        });
    if (pending) {
        line.back() = ';';
        sink(line);
    }
}

// The estimated rows of each table of the database, for progress.
qint64 EstimatedRows(Connection& connection) {
    const ResultSet rs = connection.query(QStringLiteral(
        "SELECT SUM(TABLE_ROWS) FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() "
        "AND TABLE_TYPE = 'BASE TABLE'"));
    return rs.rowCount() ? qMax<qint64>(1, rs.text(0, 0).toLongLong()) : 1;
}

} // namespace

QString TableInsertScript(Connection& connection, const QString& table) {
    QByteArrayList lines;
    StreamTableInserts(connection, table, [&lines](const QByteArray& line) { lines << line; }, {});
    return FromCp1250(lines.join("\r\n"));
}

void DumpTablesToDevice(Connection& connection, QIODevice& device, const ProgressFn& progress) {
    const auto writeLine = [&device](QByteArrayView line) {
        if (device.write(line.data(), line.size()) != line.size() || device.write("\r\n", 2) != 2)
            throw std::runtime_error(device.errorString().toStdString());
    };
    const QStringList tables = connection.tableNames();
    const qint64 estimate = progress ? EstimatedRows(connection) : 1;
    qint64 rows = 0;
    const auto report = [&] {
        if (progress)
            progress(qMin(rows, estimate), estimate);
    };

    // One snapshot for every table while other workstations go on writing.
    connection.exec(QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
    connection.exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY"));
    try {
        writeLine(QByteArray(DataScriptMark) + ": " + ToCp1250(connection.options().database) + ' ' +
                  QDateTime::currentDateTime().toString(Qt::ISODate).toLatin1());
        for (const char* line : kScriptHead)
            writeLine(line);
        for (const QString& table : tables) {
            report();
            writeLine("TRUNCATE " + QuotedName(table) + ';');
            StreamTableInserts(connection, table, writeLine, [&] {
                if (++rows % 2000 == 0)
                    report();
            });
        }
        for (const char* line : kScriptTail)
            writeLine(line);
        connection.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        connection.rollback();
        throw;
    }
    if (progress)
        progress(estimate, estimate);
}

void DumpTablesToFile(Connection& connection, const QString& fileName, const ProgressFn& progress) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        FileError(QStringLiteral("Cannot create"), fileName, file.errorString());
    DumpTablesToDevice(connection, file, progress);
    if (!file.commit())
        FileError(QStringLiteral("Cannot write"), fileName, file.errorString());
}

bool IsOldDataScript(const QByteArray& firstLine) {
    const QByteArray line = firstLine.trimmed();
    return line.startsWith("TRUNCATE ") || line.startsWith("INSERT IGNORE INTO ");
}

QByteArray UndoOldEscaping(const QByteArray& statement) {
    QByteArray out;
    out.reserve(statement.size());
    const qsizetype n = statement.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = statement.at(i);
        if (c == '\\' && i + 1 < n) {
            const char next = statement.at(i + 1);
            if (next == '\\' || next == 'r' || next == 'n') {
                out += next == '\\' ? '\\' : next == 'r' ? '\r' : '\n';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

namespace {

// The table an old script's statement works on: "TRUNCATE t;" or
// "INSERT IGNORE INTO t (...".
QString OldStatementTable(const QByteArray& statement) {
    QByteArray rest;
    if (statement.startsWith("TRUNCATE "))
        rest = statement.mid(9);
    else if (statement.startsWith("INSERT IGNORE INTO "))
        rest = statement.mid(19);
    else
        return {};
    qsizetype end = 0;
    while (end < rest.size() && rest.at(end) != ' ' && rest.at(end) != ';' && rest.at(end) != '(' &&
           rest.at(end) != '\r' && rest.at(end) != '\n')
        ++end;
    QByteArray name = rest.left(end);
    if (name.startsWith('`') && name.endsWith('`') && name.size() >= 2)
        name = name.mid(1, name.size() - 2);
    return FromCp1250(name).toLower();
}

} // namespace

int RestoreDataScript(Connection& connection, QIODevice& device, qint64 size, const ProgressFn& progress) {
    const ResultSet before = connection.query(
        QStringLiteral("SELECT @@SESSION.sql_mode, @@SESSION.foreign_key_checks, @@SESSION.unique_checks, "
                       "@@SESSION.character_set_client, @@SESSION.character_set_results, "
                       "@@SESSION.collation_connection"));
    const QString restore =
        QStringLiteral(
            "SET SESSION sql_mode = %1, SESSION foreign_key_checks = %2, SESSION unique_checks = %3, "
            "SESSION character_set_client = %4, SESSION character_set_results = %5, "
            "SESSION collation_connection = %6, @kml_kereses_ki = NULL")
            .arg(SqlStr(before.text(0, 0)), before.text(0, 1), before.text(0, 2), SqlStr(before.text(0, 3)),
                 SqlStr(before.text(0, 4)), SqlStr(before.text(0, 5)));
    int executed = 0;
    qint64 done = 0;
    try {
        bool first = true;
        bool old = false;
        QSet<QString> baseTables;
        QByteArray statement;
        int lineNumber = 0;
        while (!device.atEnd()) {
            QByteArray line = device.readLine();
            if (line.isEmpty() && device.atEnd())
                break;
            done += line.size();
            if (progress && ++lineNumber % 500 == 0)
                progress(done, size);
            while (line.endsWith('\n') || line.endsWith('\r'))
                line.chop(1);
            const QByteArray trimmed = line.trimmed();
            if (trimmed.isEmpty())
                continue;
            if (first) {
                first = false;
                old = IsOldDataScript(trimmed);
                if (old) {
                    connection.exec(
                        QStringLiteral("SET SESSION FOREIGN_KEY_CHECKS = 0, SESSION UNIQUE_CHECKS = 0, "
                                       "SESSION SQL_MODE = 'NO_AUTO_VALUE_ON_ZERO', "
                                       "@kml_kereses_ki = 1"));
                    for (const QString& table : connection.tableNames())
                        baseTables.insert(table.toLower());
                }
            }
            if (statement.isEmpty() && trimmed.startsWith("--"))
                continue;
            if (!statement.isEmpty())
                statement += '\n';
            statement += trimmed;
            if (!trimmed.endsWith(';'))
                continue;
            statement.chop(1);
            if (old) {
                const QString table = OldStatementTable(statement);
                if (!table.isEmpty() && !baseTables.contains(table)) {
                    statement.clear(); // a view: the old program wrote those too
                    continue;
                }
                statement = UndoOldEscaping(statement);
            }
            connection.execBytes(statement);
            ++executed;
            statement.clear();
        }
        if (!statement.trimmed().isEmpty()) {
            connection.execBytes(old ? UndoOldEscaping(statement) : statement);
            ++executed;
        }
    } catch (...) {
        try {
            connection.exec(restore);
        } catch (...) {
            // The statement's own error is the one to report.
        }
        throw;
    }
    connection.exec(restore);
    if (progress)
        progress(size, size);
    return executed;
}

std::optional<QString> SqlScriptSplitter::addLine(const QString& rawLine) {
    const QString line = rawLine.trimmed();
    if (line.isEmpty())
        return std::nullopt;
    if (line.startsWith(QLatin1String("delimiter"))) {
        m_terminator = Token(QStringLiteral(" "), line, 2);
        return std::nullopt;
    }
    m_pending << line;
    if (!line.endsWith(m_terminator))
        return std::nullopt;
    QString statement = m_pending.join(QLatin1Char('\n')).trimmed();
    statement.chop(m_terminator.size());
    m_pending.clear();
    return statement;
}

int RunSqlScript(Connection& connection, const QStringList& lines, const ProgressFn& progress) {
    // Put back what a script may change in the session when it stops halfway.
    const ResultSet before =
        connection.query(QStringLiteral("SELECT @@SESSION.sql_mode, @@SESSION.foreign_key_checks"));
    const QString restore =
        QStringLiteral("SET SESSION sql_mode = %1, SESSION foreign_key_checks = %2, @kml_kereses_ki = NULL")
            .arg(SqlStr(before.text(0, 0)), before.text(0, 1));
    SqlScriptSplitter splitter;
    int executed = 0;
    const int count = int(lines.size());
    try {
        for (int i = 0; i < count; ++i) {
            if (progress)
                progress(i + 1, count);
            const std::optional<QString> statement = splitter.addLine(lines.at(i));
            if (statement && !statement->trimmed().isEmpty()) {
                connection.exec(*statement);
                ++executed;
            }
        }
    } catch (...) {
        try {
            connection.exec(restore);
        } catch (...) {
            // The statement's own error is the one to report.
        }
        throw;
    }
    connection.exec(restore);
    return executed;
}

int RunSqlScriptFile(Connection& connection, const QString& fileName, const ProgressFn& progress) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        FileError(QStringLiteral("Cannot read"), fileName, file.errorString());
    QStringList lines = FromCp1250(file.readAll()).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return RunSqlScript(connection, lines, progress);
}

} // namespace kml
