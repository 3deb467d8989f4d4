#pragma once

#include "components/ResultSet.h"

#include <QString>
#include <QVariant>
#include <vector>

namespace kml {

// A small in-memory table: named, typed fields and rows of values, filled
// the way a dataset is: append() starts a new row whose values are all null,
// setValue() fills it, post() adds it to the rows and cancel() forgets it.
// Values are stored converted to their field's kind (Integer as qlonglong,
// Float as double, Date as QDate, DateTime as QDateTime, Time as QTime, Text
// and Memo as QString); a null value stays null. A value that cannot be
// converted throws std::invalid_argument.
class MemTable final {
public:
    struct FieldDef {
        QString name;
        FieldKind kind = FieldKind::Text;
        int size = 0; // declared width of a text field, 0 when free
    };

    // Fields are defined before the first row; names compare without regard
    // to letter case. Throws std::logic_error once rows exist or for a name
    // that is already taken.
    void addField(const QString& name, FieldKind kind, int size = 0);
    int fieldCount() const { return int(m_fields.size()); }
    const FieldDef& field(int index) const { return m_fields.at(size_t(index)); }
    int fieldIndex(const QString& name) const; // -1 when absent

    void append();
    bool isAppending() const { return m_appending; }
    // Sets a value of the row being appended (throws std::logic_error when
    // none is, std::out_of_range for an unknown field).
    void setValue(const QString& name, const QVariant& value);
    void setValue(int field, const QVariant& value);
    QVariant pendingValue(int field) const;
    // Adds the appended row; returns its row number.
    int post();
    void cancel();

    int rowCount() const { return int(m_rows.size()); }
    QVariant value(int row, int field) const;
    QVariant value(int row, const QString& name) const;
    // Changes a stored row.
    void setValue(int row, int field, const QVariant& value);
    void removeRow(int row);
    // Removes every row (the fields stay).
    void clear();

private:
    int checkedIndex(const QString& name) const;
    QVariant converted(int field, const QVariant& value) const;

    std::vector<FieldDef> m_fields;
    std::vector<std::vector<QVariant>> m_rows;
    std::vector<QVariant> m_pending;
    bool m_appending = false;
};

} // namespace kml
