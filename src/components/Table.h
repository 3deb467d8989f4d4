#pragma once

#include "components/ResultSet.h"

#include <QString>
#include <QVariant>
#include <stdexcept>
#include <vector>

namespace kml {

class Connection;

// Saving a row that another workstation deleted, or whose columns being
// saved it changed, since the row was read: nothing is written.
class StaleRowError final : public std::runtime_error {
public:
    enum class Reason { Deleted, Changed };
    StaleRowError(Reason reason, const QString& table);
    Reason reason() const { return m_reason; }

private:
    Reason m_reason;
};

// Editing of one row of one table, for the editor windows.
//
// load() reads the row with the given key; startNew() begins a row that does
// not exist yet (columns known, values null). setValue() changes values in
// memory; post() writes them: a new row with an INSERT of the columns that
// were set (the others take the server's defaults) and the row is read back
// under its new key, an existing row with an UPDATE of the changed columns
// only, so that an editor never overwrites what another workstation changed
// in other columns. The UPDATE writes only while those columns still hold
// what was read: a row deleted (or, in a table with a torolve column, marked
// deleted) or changed meanwhile throws StaleRowError and nothing is written. cancel() forgets the changes. A
// field name the table does not have is a programming error (std::logic_error).
//
// A failed post keeps every value, so the editor can post again once the
// server is back. Posting again never stores a new row twice: the INSERT
// runs in a transaction of its own (unless the connection already has one
// open), so a connection lost before the COMMIT leaves nothing stored, and
// when the COMMIT itself (or reading the row back) broke, the next post
// first looks for the row under the key the INSERT gave it and, when it was
// stored after all, updates it with what changed since instead.
class Table final {
public:
    explicit Table(const QString& tableName, Connection* connection = nullptr);

    const QString& tableName() const { return m_table; }
    // The key column; by the schema's convention it is named like the table.
    void setKeyField(const QString& name) { m_keyField = name; }
    const QString& keyField() const { return m_keyField; }

    // Returns false when there is no such row (the table is then inactive).
    bool load(const QVariant& key);
    void startNew();
    bool isActive() const { return m_active; }
    bool isNew() const { return m_new; }
    bool isModified() const;

    const std::vector<ColumnInfo>& columns() const { return m_columns; }
    int fieldIndex(const QString& name) const; // -1 when absent
    QVariant value(const QString& name) const;
    void setValue(const QString& name, const QVariant& value);
    bool isModified(const QString& name) const;
    // The declared width of a text column (0 when not a text column).
    int maxLength(const QString& name) const;

    // Writes the changes; returns the row's key (the new key after an INSERT).
    QVariant post();
    void cancel();

    // The key of the current row.
    QVariant key() const { return value(m_keyField); }

private:
    Connection& connection() const;
    void loadRow(const QVariant& key);
    QVariant postNew(Connection& db);
    QVariant postChanges(Connection& db);
    bool adoptStoredRow(Connection& db, const QVariant& key);
    int checkedIndex(const QString& name) const;
    void readColumns(const ResultSet& rs);

    QString m_table;
    QString m_keyField;
    Connection* m_connection;
    std::vector<ColumnInfo> m_columns;
    std::vector<QVariant> m_original;
    std::vector<QVariant> m_values;
    std::vector<bool> m_changed;
    bool m_active = false;
    bool m_new = false;
    // The key an INSERT of this row was given while its outcome is not yet
    // confirmed (a lost COMMIT, or a failed read back).
    QVariant m_pendingKey;
};

} // namespace kml
