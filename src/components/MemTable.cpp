#include "components/MemTable.h"

#include <stdexcept>

namespace kml {

void MemTable::addField(const QString& name, FieldKind kind, int size) {
    if (!m_rows.empty() || m_appending)
        throw std::logic_error("fields must be defined before the first row");
    if (fieldIndex(name) >= 0)
        throw std::logic_error(("duplicate field " + name).toStdString());
    m_fields.push_back(FieldDef{name, kind, size});
}

int MemTable::fieldIndex(const QString& name) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int MemTable::checkedIndex(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        throw std::out_of_range(("no field " + name).toStdString());
    return i;
}

QVariant MemTable::converted(int field, const QVariant& value) const {
    if (!value.isValid() || value.isNull())
        return {};
    QMetaType type;
    switch (m_fields.at(size_t(field)).kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
        type = QMetaType::fromType<QString>();
        break;
    case FieldKind::Integer:
        type = QMetaType::fromType<qlonglong>();
        break;
    case FieldKind::Float:
        type = QMetaType::fromType<double>();
        break;
    case FieldKind::Date:
        type = QMetaType::fromType<QDate>();
        break;
    case FieldKind::DateTime:
        type = QMetaType::fromType<QDateTime>();
        break;
    case FieldKind::Time:
        type = QMetaType::fromType<QTime>();
        break;
    case FieldKind::Other:
        return value;
    }
    QVariant result = value;
    if (result.metaType() != type && !result.convert(type))
        throw std::invalid_argument(QStringLiteral("'%1' is not a valid value for %2")
                                        .arg(value.toString(), m_fields[size_t(field)].name)
                                        .toStdString());
    return result;
}

void MemTable::append() {
    m_pending.assign(m_fields.size(), QVariant());
    m_appending = true;
}

void MemTable::setValue(const QString& name, const QVariant& value) {
    setValue(checkedIndex(name), value);
}

void MemTable::setValue(int field, const QVariant& value) {
    if (!m_appending)
        throw std::logic_error("no row is being appended");
    m_pending.at(size_t(field)) = converted(field, value);
}

QVariant MemTable::pendingValue(int field) const {
    return m_appending ? m_pending.at(size_t(field)) : QVariant();
}

int MemTable::post() {
    if (!m_appending)
        throw std::logic_error("no row is being appended");
    m_rows.push_back(std::move(m_pending));
    m_pending.clear();
    m_appending = false;
    return int(m_rows.size()) - 1;
}

void MemTable::cancel() {
    m_pending.clear();
    m_appending = false;
}

QVariant MemTable::value(int row, int field) const {
    return m_rows.at(size_t(row)).at(size_t(field));
}

QVariant MemTable::value(int row, const QString& name) const {
    return value(row, checkedIndex(name));
}

void MemTable::setValue(int row, int field, const QVariant& value) {
    m_rows.at(size_t(row)).at(size_t(field)) = converted(field, value);
}

void MemTable::removeRow(int row) {
    if (row < 0 || row >= rowCount())
        throw std::out_of_range("no such row");
    m_rows.erase(m_rows.begin() + row);
}

void MemTable::clear() {
    m_rows.clear();
    cancel();
}

} // namespace kml
