#pragma once

#include "components/ResultSet.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace kml {
class Query;
}

namespace kml::report {

// The rows a report is bound to. Columns are found by name (letter case
// ignored); a value is an invalid QVariant for NULL. text() is what a field
// prints when its element has no number or date pattern of its own.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int rowCount() const = 0;
    virtual int columnIndex(QStringView name) const = 0; // -1 when absent
    virtual QVariant value(int row, int column) const = 0;
    virtual QString text(int row, int column) const = 0;
};

// The rows of an open dataset, printed through the display formats of its
// fields (ApplyNumberFormats, date patterns). The dataset must outlive the
// source and stay open while a report is laid out over it.
class QueryRows final : public RowSource {
public:
    explicit QueryRows(const Query& query) : m_query(query) {}
    int rowCount() const override;
    int columnIndex(QStringView name) const override;
    QVariant value(int row, int column) const override;
    QString text(int row, int column) const override;

private:
    const Query& m_query;
};

// Rows held in memory: for reports over computed data and for tests. Values
// print as the program shows them (numbers with a decimal comma, dates as
// yyyy.MM.dd).
class MemoryRows final : public RowSource {
public:
    explicit MemoryRows(QStringList columns) : m_columns(std::move(columns)) {}
    MemoryRows& add(QVariantList values);
    int rowCount() const override { return int(m_rows.size()); }
    int columnIndex(QStringView name) const override;
    QVariant value(int row, int column) const override;
    QString text(int row, int column) const override;

private:
    QStringList m_columns;
    std::vector<QVariantList> m_rows;
};

// One row of a source as the elements of a band see it; row -1 (an empty
// dataset) gives NULL everywhere. Asking for a column the source does not
// have throws std::logic_error naming it, so that a layout's typo fails
// loudly instead of printing nothing.
class RowRef final {
public:
    RowRef(const RowSource* source, int row) : m_source(source), m_row(row) {}
    int row() const { return m_row; }
    const RowSource* source() const { return m_source; }
    QVariant value(QStringView column) const;
    QString text(QStringView column) const;
    bool isNull(QStringView column) const { return !value(column).isValid() || value(column).isNull(); }
    // The column's value as a number; NULL and text that is not a number
    // count as 0.
    double number(QStringView column) const;

private:
    int column(QStringView name) const;
    const RowSource* m_source;
    int m_row;
};

} // namespace kml::report
