#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace kml {

// What a column holds, as far as the program cares.
enum class FieldKind { Text, Memo, Integer, Float, Date, DateTime, Time, Other };

struct ColumnInfo {
    QString name;
    FieldKind kind = FieldKind::Text;
    int serverType = 0; // enum_field_types of the client library
    unsigned size = 0;  // declared width in characters (text) or display width (numbers)
    unsigned decimals = 0;
    bool isUnsigned = false;
    bool autoIncrement = false;
    bool primaryKey = false;
    bool binary = false; // of the binary character set: a BLOB, not a long text
    QString table;       // the table (or view) the column comes from
};

// The rows of one result, held compactly: each row is stored as its fields one
// after another in large shared byte chunks, each field as a length prefix
// (a 7-bit varint of length + 1, 0 for NULL) followed by the bytes exactly as
// the server sent them. A row costs its bytes plus about one byte per field
// plus eight bytes; values are converted to QString/numbers only when asked.
class ResultSet final {
public:
    ResultSet() = default;
    explicit ResultSet(std::vector<ColumnInfo> columns) : m_columns(std::move(columns)) {}

    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return int(m_columns.size()); }
    const std::vector<ColumnInfo>& columns() const { return m_columns; }
    const ColumnInfo& column(int index) const { return m_columns.at(size_t(index)); }
    // -1 when there is no such column; names compare case-insensitively.
    int columnIndex(QStringView name) const;

    // Raw access: the bytes of a field as received (cp1250 text, digits, dates).
    bool isNull(int row, int col) const;
    QByteArrayView raw(int row, int col) const;

    // Converted access. Text is decoded from cp1250; numbers and dates are
    // parsed from the server's text form; NULL gives an invalid QVariant.
    QVariant value(int row, int col) const;
    QString text(int row, int col) const; // "" for NULL

    // Building (used by the connection while reading a result).
    void appendRow(const char* const* fields, const unsigned long* lengths);
    void finish(); // releases spare capacity
    // Takes over the rows of another result of the same columns, after this
    // one's (its bytes are moved, not copied); other is left empty.
    void append(ResultSet&& other);

    // Memory held for the rows (chunk capacity + row index), and the bytes of
    // the field values themselves, for comparing storage against the data.
    quint64 memoryBytes() const;
    quint64 dataBytes() const { return m_dataBytes; }

private:
    const char* rowStart(int row) const;

    std::vector<ColumnInfo> m_columns;
    std::vector<QByteArray> m_chunks;
    std::vector<std::uint64_t> m_rows; // chunk index << 32 | offset in chunk
    quint64 m_dataBytes = 0;
};

// Parsing of the server's text forms, shared with the other readers.
QDate ParseSqlDate(QByteArrayView text);         // invalid for 0000-00-00 or garbage
QDateTime ParseSqlDateTime(QByteArrayView text); // invalid for zero dates or garbage
QVariant ConvertField(FieldKind kind, QByteArrayView raw);

} // namespace kml
