#include "components/Table.h"

#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Transaction.h"

#include <stdexcept>

namespace kml {

namespace {

// A value's literal for comparing with what the server holds: numbers with
// every digit a double has, so that a value read back compares equal.
QString ComparableLiteral(const QVariant& value) {
    if (!value.isNull() && (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float))
        return QString::number(value.toDouble(), 'g', 17);
    return SqlLiteral(value);
}

} // namespace

StaleRowError::StaleRowError(Reason reason, const QString& table)
    : std::runtime_error(
          (table + (reason == Reason::Deleted ? QStringLiteral(": the row was deleted meanwhile")
                                              : QStringLiteral(": the row was changed meanwhile")))
              .toStdString()),
      m_reason(reason) {}

Table::Table(const QString& tableName, Connection* connection)
    : m_table(tableName), m_keyField(tableName), m_connection(connection) {}

Connection& Table::connection() const {
    return m_connection ? *m_connection : SharedConnection();
}

void Table::readColumns(const ResultSet& rs) {
    m_columns = rs.columns();
    const size_t n = m_columns.size();
    m_original.assign(n, QVariant());
    m_values.assign(n, QVariant());
    m_changed.assign(n, false);
}

bool Table::load(const QVariant& key) {
    m_pendingKey = QVariant();
    loadRow(key);
    return m_active;
}

void Table::loadRow(const QVariant& key) {
    const ResultSet rs = connection().query(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = %3;").arg(m_table, m_keyField, SqlLiteral(key)));
    readColumns(rs);
    m_new = false;
    m_active = rs.rowCount() > 0;
    if (!m_active)
        return;
    for (int c = 0; c < rs.columnCount(); ++c)
        m_original[size_t(c)] = m_values[size_t(c)] = rs.value(0, c);
}

void Table::startNew() {
    m_pendingKey = QVariant();
    readColumns(connection().query(QStringLiteral("SELECT * FROM %1 LIMIT 0;").arg(m_table)));
    m_new = true;
    m_active = true;
}

bool Table::isModified() const {
    for (bool changed : m_changed)
        if (changed)
            return true;
    return false;
}

int Table::fieldIndex(const QString& name) const {
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int Table::checkedIndex(const QString& name) const {
    const int index = fieldIndex(name);
    if (index < 0)
        throw std::logic_error(QStringLiteral("field '%1' not found in %2").arg(name, m_table).toStdString());
    return index;
}

QVariant Table::value(const QString& name) const {
    return m_values[size_t(checkedIndex(name))];
}

void Table::setValue(const QString& name, const QVariant& value) {
    const size_t i = size_t(checkedIndex(name));
    m_values[i] = value;
    // Compare by literal, so that 5 and 5.0 or "" and a null text differ
    // exactly when they would write differently.
    m_changed[i] = m_new ? true : SqlLiteral(value) != SqlLiteral(m_original[i]);
}

bool Table::isModified(const QString& name) const {
    return m_changed[size_t(checkedIndex(name))];
}

int Table::maxLength(const QString& name) const {
    const ColumnInfo& c = m_columns[size_t(checkedIndex(name))];
    return c.kind == FieldKind::Text ? int(c.size) : 0;
}

QVariant Table::post() {
    if (!m_active)
        throw std::logic_error(QStringLiteral("%1: no row to post").arg(m_table).toStdString());
    Connection& db = connection();
    return m_new ? postNew(db) : postChanges(db);
}

QVariant Table::postNew(Connection& db) {
    if (m_pendingKey.isValid()) {
        if (adoptStoredRow(db, m_pendingKey))
            return postChanges(db);
        m_pendingKey = QVariant();
    }
    QStringList names, values;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (!m_changed[i])
            continue;
        names << m_columns[i].name;
        values << SqlLiteral(m_values[i]);
    }
    const QString sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 () VALUES ();").arg(m_table)
                                        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3);")
                                              .arg(m_table, names.join(QStringLiteral(", ")),
                                                   values.join(QStringLiteral(", ")));
    const bool ownTransaction = !db.inTransaction();
    const int keyIndex = fieldIndex(m_keyField);
    const auto insert = [&] {
        db.exec(sql);
        return keyIndex >= 0 && m_changed[size_t(keyIndex)] ? m_values[size_t(keyIndex)]
                                                            : QVariant(qlonglong(db.lastInsertId()));
    };
    QVariant newKey;
    if (!ownTransaction) {
        newKey = insert();
    } else {
        // The INSERT is a unit of work of its own: refused by a conflict it
        // runs again as a whole (RunTransaction). The key is remembered
        // before the COMMIT goes out: when the COMMIT itself broke, the row
        // may be stored, and the next post finds it under that key.
        try {
            RunTransaction(db, [&] {
                newKey = QVariant();
                newKey = insert();
                return true;
            });
        } catch (const DbError& e) {
            if (e.connectionLost() && newKey.isValid()) {
                m_pendingKey = newKey; // the COMMIT broke
                throw;
            }
            // Nothing was committed: the row is certainly not stored.
            if (e.interrupted())
                throw DbError(e.message(), e.code());
            throw;
        }
    }
    m_pendingKey = newKey;
    loadRow(newKey);
    m_pendingKey = QVariant();
    return newKey;
}

bool Table::adoptStoredRow(Connection& db, const QVariant& key) {
    // A locking read waits for a transaction still writing that row (the
    // lost session's COMMIT may still be running on the server) and then
    // sees whether it was stored.
    const ResultSet rs = db.query(QStringLiteral("SELECT * FROM %1 WHERE %2 = %3 LOCK IN SHARE MODE;")
                                      .arg(m_table, m_keyField, SqlLiteral(key)));
    if (rs.rowCount() == 0 || size_t(rs.columnCount()) != m_columns.size())
        return false;
    // The stored row becomes the original; of the values this row holds,
    // those set by the user and different from the stored ones are written.
    for (size_t c = 0; c < m_columns.size(); ++c) {
        m_original[c] = rs.value(0, int(c));
        if (m_changed[c])
            m_changed[c] = SqlLiteral(m_values[c]) != SqlLiteral(m_original[c]);
        else
            m_values[c] = m_original[c];
    }
    m_new = false;
    m_pendingKey = QVariant();
    return true;
}

QVariant Table::postChanges(Connection& db) {
    const int keyIndex = checkedIndex(m_keyField);
    QStringList assignments;
    // The row is written only if the columns being changed still hold what
    // was read; another workstation's changes to other columns stay.
    QStringList unchanged{m_keyField + QStringLiteral(" = ") + SqlLiteral(m_original[size_t(keyIndex)])};
    // Master data is deleted by marking it (torolve = 'I'): a row marked
    // meanwhile is as gone as a row deleted, unless this edit sets the mark.
    const int deletedMark = fieldIndex(QStringLiteral("torolve"));
    if (deletedMark >= 0 && !m_changed[size_t(deletedMark)] &&
        m_original[size_t(deletedMark)].toString() != QLatin1String("I"))
        unchanged.first() += QStringLiteral(" AND torolve <> 'I'");
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_changed[i]) {
            assignments << m_columns[i].name + QStringLiteral(" = ") + SqlLiteral(m_values[i]);
            unchanged << m_columns[i].name + QStringLiteral(" <=> ") + ComparableLiteral(m_original[i]);
        }
    if (!assignments.isEmpty()) {
        // One UPDATE is a unit of work of its own (unless a transaction is
        // open): refused by a conflict it runs again, and then finds the
        // row as the other workstation left it.
        ExecUnit(db, QStringLiteral("UPDATE %1 SET %2 WHERE %3;")
                         .arg(m_table, assignments.join(QStringLiteral(", ")),
                              unchanged.join(QStringLiteral(" AND "))));
        if (db.matchedRows() == 0) {
            const ResultSet found =
                db.query(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2;").arg(m_table, unchanged.first()));
            const bool gone = found.rowCount() == 0 || found.value(0, 0).toLongLong() == 0;
            throw StaleRowError(gone ? StaleRowError::Reason::Deleted : StaleRowError::Reason::Changed,
                                m_table);
        }
        m_original = m_values;
        m_changed.assign(m_columns.size(), false);
    }
    return m_values[size_t(keyIndex)];
}

void Table::cancel() {
    if (m_new) {
        m_values.assign(m_columns.size(), QVariant());
    } else {
        m_values = m_original;
    }
    m_changed.assign(m_columns.size(), false);
}

} // namespace kml
