#include "foundation/DataScript.h"

#include "components/Connection.h"
#include "components/Cp1250.h"
#include "components/ResultSet.h"
#include "foundation/TextHelpers.h"

#include <QFile>
#include <QSaveFile>
#include <stdexcept>

namespace kml {
namespace {

constexpr int kRowsPerStatement = 100;

// Session lines around a data script: the rows go in exactly as they were
// (a key 0 is not replaced by the next auto-increment value, no foreign-key
// check depends on the order of the tables), and the session is put back.
// The search tables of the lists come back from the script like every other
// table, so their triggers stand aside while it runs (@kml_kereses_ki).
const char* const kScriptHead[] = {
    "SET @kml_sql_mode = @@SESSION.sql_mode;",
    "SET @kml_foreign_key_checks = @@SESSION.foreign_key_checks;",
    "SET SESSION sql_mode = 'NO_AUTO_VALUE_ON_ZERO';",
    "SET SESSION foreign_key_checks = 0;",
    "SET @kml_kereses_ki = 1;",
};
const char* const kScriptTail[] = {
    "SET @kml_kereses_ki = NULL;",
    "SET SESSION foreign_key_checks = @kml_foreign_key_checks;",
    "SET SESSION sql_mode = @kml_sql_mode;",
};

bool LooksNumeric(QByteArrayView raw) {
    if (raw.isEmpty())
        return false;
    for (const char c : raw)
        if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'))
            return false;
    return true;
}

QString ValueLiteral(const ResultSet& rs, int row, int col) {
    if (rs.isNull(row, col))
        return QStringLiteral("NULL");
    const QByteArrayView raw = rs.raw(row, col);
    switch (rs.column(col).kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::Time:
        return SqlStr(rs.text(row, col));
    case FieldKind::Integer:
    case FieldKind::Float: {
        QString number = rs.text(row, col);
        number.replace(QLatin1Char(','), QLatin1Char('.'));
        return number;
    }
    case FieldKind::Date:
    case FieldKind::DateTime:
        return QLatin1Char('\'') + rs.text(row, col) + QLatin1Char('\'');
    case FieldKind::Other:
        break;
    }
    return LooksNumeric(raw) ? rs.text(row, col) : SqlStr(rs.text(row, col));
}

[[noreturn]] void FileError(const QString& what, const QString& path, const QString& reason) {
    throw std::runtime_error(QStringLiteral("%1 %2: %3").arg(what, path, reason).toStdString());
}

} // namespace

void WriteTableInsertScript(Connection& connection, const QString& table,
                            const std::function<void(const QString& line)>& sink) {
    const ResultSet rs = connection.query(QStringLiteral("SELECT * FROM ") + table);
    if (rs.rowCount() == 0)
        return;
    QStringList names;
    for (const ColumnInfo& column : rs.columns())
        names << column.name.toLower();
    const QString head = QStringLiteral("INSERT IGNORE INTO ") + table + QLatin1String(" (") +
                         names.join(QLatin1Char(',')) + QLatin1String(") VALUES");
    sink(head);
    QString line;
    bool pending = false; // `line` holds a row that is not yet handed on
    for (int row = 0; row < rs.rowCount(); ++row) {
        const int count = row + 1;
        if (count % kRowsPerStatement == 0 && pending) {
            line.back() = QLatin1Char(';');
            sink(line);
            pending = false;
            sink(head);
        }
        if (pending)
            sink(line);
        line = QStringLiteral("(");
        for (int col = 0; col < rs.columnCount(); ++col) {
            if (col > 0)
                line += QLatin1Char(',');
            line += ValueLiteral(rs, row, col);
        }
        line += QLatin1String("),");
        pending = true;
    }
    line.back() = QLatin1Char(';');
    sink(line);
}

QString TableInsertScript(Connection& connection, const QString& table) {
    QStringList lines;
    WriteTableInsertScript(connection, table, [&lines](const QString& line) { lines << line; });
    return lines.join(QLatin1String("\r\n"));
}

void DumpTablesToFile(Connection& connection, const QString& fileName, const ProgressFn& progress) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        FileError(QStringLiteral("Cannot create"), fileName, file.errorString());
    const auto writeLine = [&file](const QString& line) {
        file.write(ToCp1250(line));
        file.write("\r\n", 2);
    };

    const QStringList tables = connection.tableNames();
    const int count = int(tables.size());
    for (const char* line : kScriptHead)
        writeLine(QLatin1String(line));
    for (int i = 0; i < count; ++i) {
        if (progress)
            progress(i, count);
        const QString& table = tables.at(i);
        writeLine(QStringLiteral("TRUNCATE ") + table + QLatin1Char(';'));
        bool empty = true;
        WriteTableInsertScript(connection, table, [&](const QString& line) {
            empty = false;
            writeLine(line);
        });
        if (empty)
            writeLine(QString());
    }
    for (const char* line : kScriptTail)
        writeLine(QLatin1String(line));
    if (progress)
        progress(0, count);
    if (!file.commit())
        FileError(QStringLiteral("Cannot write"), fileName, file.errorString());
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
