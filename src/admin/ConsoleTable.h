#pragma once

// The console's table mode: a whole table in an editable grid. An edited
// cell is written at once with an UPDATE of that one column of that one
// row, found by its primary key and by the value the user saw in the cell,
// inside a transaction that is committed only when exactly one row matched
// (within a transaction the user opened in the console, the change stays
// in it). Every other column of the row is left as the server holds it. A
// table without a primary key opens read-only.

#include <QAbstractTableModel>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

namespace kml {

class ConsoleSession;
class Query;

class ConsoleTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Reads the whole table on the session into rows (a Query the caller
    // owns, for the export too) and its primary key. Throws DbError.
    ConsoleTableModel(ConsoleSession& session, Query& rows, const QString& table, QObject* parent = nullptr);

    const QString& table() const { return m_table; }
    const QStringList& primaryKey() const { return m_key; }
    bool isEditable() const { return !m_key.isEmpty(); }

    // Reads the table again (the edits are then in the rows).
    void reload();

    // Writes one cell; false, with the reason in lastError(), when nothing
    // was written: the row was changed or deleted meanwhile, or the server
    // refused the value.
    bool writeCell(int row, int column, const QString& text);
    const QString& lastError() const { return m_lastError; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A write was refused (the reason as text).
    void writeFailed(const QString& message);

private:
    std::optional<QString> cell(int row, int column) const; // nullopt: NULL
    QString literal(const std::optional<QString>& value) const;
    QString rowCondition(int row) const;

    ConsoleSession& m_session;
    Query& m_rows;
    QString m_table;
    QStringList m_key;
    std::vector<int> m_keyColumns;
    // Rows written since the table was read, as the server holds them now.
    std::map<int, std::vector<std::optional<QString>>> m_written;
    QString m_lastError;
};

} // namespace kml
