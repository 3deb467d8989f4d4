#include "admin/ConsoleTable.h"

#include "admin/SqlConsole.h"
#include "components/Query.h"

namespace kml {

ConsoleTableModel::ConsoleTableModel(ConsoleSession& session, Query& rows, const QString& table,
                                     QObject* parent)
    : QAbstractTableModel(parent), m_session(session), m_rows(rows), m_table(table) {
    const ResultSet keys = m_session.query(QStringLiteral("SHOW KEYS FROM ") + QuoteIdentifier(table) +
                                           QStringLiteral(" WHERE Key_name = 'PRIMARY'"));
    const int columnName = keys.columnIndex(u"Column_name");
    for (int r = 0; r < keys.rowCount(); ++r)
        m_key << keys.text(r, columnName);
    reload();
}

void ConsoleTableModel::reload() {
    beginResetModel();
    m_written.clear();
    m_session.openResultAndWait(m_rows, QStringLiteral("SELECT * FROM ") + QuoteIdentifier(m_table));
    m_keyColumns.clear();
    for (const QString& name : m_key)
        m_keyColumns.push_back(m_rows.result().columnIndex(name));
    endResetModel();
}

std::optional<QString> ConsoleTableModel::cell(int row, int column) const {
    const auto written = m_written.find(row);
    if (written != m_written.end())
        return written->second.at(size_t(column));
    if (m_rows.result().isNull(row, column))
        return std::nullopt;
    return m_rows.result().text(row, column);
}

QString ConsoleTableModel::literal(const std::optional<QString>& value) const {
    return value ? QuoteSqlText(*value) : QStringLiteral("NULL");
}

QString ConsoleTableModel::rowCondition(int row) const {
    QStringList parts;
    for (size_t k = 0; k < m_keyColumns.size(); ++k)
        parts << QuoteIdentifier(m_key.at(qsizetype(k))) + QStringLiteral(" <=> ") +
                     literal(cell(row, m_keyColumns[k]));
    return parts.join(QStringLiteral(" AND "));
}

bool ConsoleTableModel::writeCell(int row, int column, const QString& text) {
    m_lastError.clear();
    const std::optional<QString> old = cell(row, column);
    if (old && *old == text)
        return true;
    const QString columnName = m_rows.result().column(column).name;
    const QString condition = rowCondition(row);
    const QString update = QStringLiteral("UPDATE ") + QuoteIdentifier(m_table) + QStringLiteral(" SET ") +
                           QuoteIdentifier(columnName) + QStringLiteral(" = ") + QuoteSqlText(text) +
                           QStringLiteral(" WHERE ") + condition + QStringLiteral(" AND ") +
                           QuoteIdentifier(columnName) + QStringLiteral(" <=> ") + literal(old);
    // Within a transaction the user opened, the change belongs to it.
    const bool ownTransaction = m_session.query(QStringLiteral("SELECT @@in_transaction")).text(0, 0) == u"0";
    try {
        if (ownTransaction)
            m_session.exec(QStringLiteral("START TRANSACTION"));
        m_session.exec(update);
        if (m_session.matchedRows() != 1) {
            if (ownTransaction)
                m_session.exec(QStringLiteral("ROLLBACK"));
            m_lastError = console_text::RowNotWritten;
            return false;
        }
        // The row as the server holds it now (a value it converted shows so).
        const ResultSet now = m_session.query(QStringLiteral("SELECT * FROM ") + QuoteIdentifier(m_table) +
                                              QStringLiteral(" WHERE ") + condition);
        if (ownTransaction)
            m_session.exec(QStringLiteral("COMMIT"));
        if (now.rowCount() == 1 && now.columnCount() == columnCount()) {
            std::vector<std::optional<QString>> values;
            for (int c = 0; c < now.columnCount(); ++c)
                values.push_back(now.isNull(0, c) ? std::nullopt : std::optional<QString>(now.text(0, c)));
            m_written[row] = std::move(values);
        }
    } catch (const DbError& error) {
        if (ownTransaction) {
            try {
                m_session.exec(QStringLiteral("ROLLBACK"));
            } catch (const DbError&) {
            }
        }
        m_lastError = console_text::ScriptErrorPrefix + error.text();
        return false;
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    return true;
}

int ConsoleTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.recordCount();
}

int ConsoleTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.result().columnCount();
}

QVariant ConsoleTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const std::optional<QString> value = cell(index.row(), index.column());
    return value ? *value : QString();
}

QVariant ConsoleTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return m_rows.result().column(section).name;
}

Qt::ItemFlags ConsoleTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (isEditable())
        f |= Qt::ItemIsEditable;
    return f;
}

bool ConsoleTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !isEditable())
        return false;
    if (writeCell(index.row(), index.column(), value.toString()))
        return true;
    emit writeFailed(m_lastError);
    return false;
}

} // namespace kml
