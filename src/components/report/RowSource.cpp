#include "components/report/RowSource.h"

#include "components/Query.h"

#include <stdexcept>

namespace kml::report {

int QueryRows::rowCount() const {
    return m_query.recordCount();
}

int QueryRows::columnIndex(QStringView name) const {
    return m_query.fieldIndex(name.toString());
}

QVariant QueryRows::value(int row, int column) const {
    if (row < 0 || row >= m_query.recordCount())
        return {};
    return m_query.result().value(row, column);
}

QString QueryRows::text(int row, int column) const {
    return m_query.displayText(row, column);
}

MemoryRows& MemoryRows::add(QVariantList values) {
    while (values.size() < m_columns.size())
        values.append(QVariant());
    m_rows.push_back(std::move(values));
    return *this;
}

int MemoryRows::columnIndex(QStringView name) const {
    for (int i = 0; i < m_columns.size(); ++i)
        if (name.compare(m_columns.at(i), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant MemoryRows::value(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns.size())
        return {};
    return m_rows[size_t(row)].at(column);
}

QString MemoryRows::text(int row, int column) const {
    const QVariant v = value(row, column);
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return DisplayText(v, FieldKind::Float, {});
    case QMetaType::QDate:
        return DisplayText(v, FieldKind::Date, {});
    case QMetaType::QDateTime:
        return DisplayText(v, FieldKind::DateTime, {});
    default:
        return v.isNull() ? QString() : v.toString();
    }
}

int RowRef::column(QStringView name) const {
    const int index = m_source ? m_source->columnIndex(name) : -1;
    if (index < 0)
        throw std::logic_error("report: no column named " + name.toString().toStdString());
    return index;
}

QVariant RowRef::value(QStringView name) const {
    const int c = column(name);
    return m_row < 0 ? QVariant() : m_source->value(m_row, c);
}

QString RowRef::text(QStringView name) const {
    const int c = column(name);
    return m_row < 0 ? QString() : m_source->text(m_row, c);
}

double RowRef::number(QStringView name) const {
    const QVariant v = value(name);
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d : 0.0;
}

} // namespace kml::report
