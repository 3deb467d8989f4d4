#include "components/ResultSet.h"

#include "components/Cp1250.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>

namespace kml {
namespace {

constexpr qsizetype kChunkSize = 1 << 20;

inline const char* ReadVarint(const char* p, std::uint64_t& value) {
    value = 0;
    int shift = 0;
    for (;;) {
        const auto byte = static_cast<unsigned char>(*p++);
        value |= std::uint64_t(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return p;
        shift += 7;
    }
}

inline char* WriteVarint(char* p, std::uint64_t value) {
    while (value >= 0x80) {
        *p++ = char((value & 0x7F) | 0x80);
        value >>= 7;
    }
    *p++ = char(value);
    return p;
}

inline int VarintSize(std::uint64_t value) {
    int n = 1;
    while (value >= 0x80) {
        value >>= 7;
        ++n;
    }
    return n;
}

int TwoDigits(const char* p) {
    return (p[0] - '0') * 10 + (p[1] - '0');
}

bool AllDigits(const char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i] < '0' || p[i] > '9')
            return false;
    return true;
}

} // namespace

QDate ParseSqlDate(QByteArrayView text) {
    const char* p = text.data();
    if (text.size() < 10 || !AllDigits(p, 4) || p[4] != '-' || !AllDigits(p + 5, 2) || p[7] != '-' ||
        !AllDigits(p + 8, 2))
        return {};
    const int year = TwoDigits(p) * 100 + TwoDigits(p + 2);
    return QDate(year, TwoDigits(p + 5), TwoDigits(p + 8)); // invalid for zero dates
}

QDateTime ParseSqlDateTime(QByteArrayView text) {
    const QDate date = ParseSqlDate(text);
    if (!date.isValid())
        return {};
    QTime time(0, 0);
    const char* p = text.data();
    if (text.size() >= 19 && p[10] == ' ' && AllDigits(p + 11, 2) && p[13] == ':' && AllDigits(p + 14, 2) &&
        p[16] == ':' && AllDigits(p + 17, 2))
        time = QTime(TwoDigits(p + 11), TwoDigits(p + 14), TwoDigits(p + 17));
    return QDateTime(date, time);
}

QVariant ConvertField(FieldKind kind, QByteArrayView raw) {
    const char* first = raw.data();
    const char* last = first + raw.size();
    switch (kind) {
    case FieldKind::Integer: {
        qlonglong v = 0;
        const auto [ptr, ec] = std::from_chars(first, last, v);
        if (ec == std::errc() && ptr == last)
            return v;
        return FromCp1250(first, raw.size());
    }
    case FieldKind::Float: {
        double v = 0;
        const auto [ptr, ec] = std::from_chars(first, last, v);
        if (ec == std::errc() && ptr == last)
            return v;
        return FromCp1250(first, raw.size());
    }
    case FieldKind::Date: {
        const QDate d = ParseSqlDate(raw);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldKind::DateTime: {
        const QDateTime dt = ParseSqlDateTime(raw);
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case FieldKind::Time:
        return QTime::fromString(QString::fromLatin1(first, raw.size()), QStringLiteral("HH:mm:ss"));
    default:
        return FromCp1250(first, raw.size());
    }
}

int ResultSet::columnIndex(QStringView name) const {
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

const char* ResultSet::rowStart(int row) const {
    const std::uint64_t pos = m_rows[size_t(row)];
    return m_chunks[size_t(pos >> 32)].constData() + (pos & 0xFFFFFFFFu);
}

bool ResultSet::isNull(int row, int col) const {
    const char* p = rowStart(row);
    std::uint64_t len = 0;
    for (int c = 0;; ++c) {
        p = ReadVarint(p, len);
        if (c == col)
            return len == 0;
        if (len)
            p += len - 1;
    }
}

QByteArrayView ResultSet::raw(int row, int col) const {
    const char* p = rowStart(row);
    std::uint64_t len = 0;
    for (int c = 0;; ++c) {
        p = ReadVarint(p, len);
        if (c == col)
            return len ? QByteArrayView(p, qsizetype(len - 1)) : QByteArrayView();
        if (len)
            p += len - 1;
    }
}

QVariant ResultSet::value(int row, int col) const {
    if (isNull(row, col))
        return {};
    return ConvertField(m_columns[size_t(col)].kind, raw(row, col));
}

QString ResultSet::text(int row, int col) const {
    const QByteArrayView bytes = raw(row, col);
    return FromCp1250(bytes.data(), bytes.size());
}

void ResultSet::appendRow(const char* const* fields, const unsigned long* lengths) {
    const size_t n = m_columns.size();
    qsizetype size = 0;
    for (size_t i = 0; i < n; ++i) {
        const std::uint64_t code = fields[i] ? std::uint64_t(lengths[i]) + 1 : 0;
        size += VarintSize(code) + (fields[i] ? qsizetype(lengths[i]) : 0);
    }
    if (m_chunks.empty() || m_chunks.back().capacity() - m_chunks.back().size() < size) {
        QByteArray chunk;
        chunk.reserve(std::max(kChunkSize, size));
        m_chunks.push_back(std::move(chunk));
    }
    QByteArray& chunk = m_chunks.back();
    const qsizetype offset = chunk.size();
    chunk.resize(offset + size); // within capacity: no reallocation
    char* p = chunk.data() + offset;
    for (size_t i = 0; i < n; ++i) {
        if (!fields[i]) {
            *p++ = 0;
            continue;
        }
        p = WriteVarint(p, std::uint64_t(lengths[i]) + 1);
        std::memcpy(p, fields[i], lengths[i]);
        p += lengths[i];
        m_dataBytes += lengths[i];
    }
    m_rows.push_back(std::uint64_t(m_chunks.size() - 1) << 32 | std::uint64_t(offset));
}

void ResultSet::finish() {
    if (!m_chunks.empty())
        m_chunks.back().squeeze();
    m_rows.shrink_to_fit();
}

void ResultSet::append(ResultSet&& other) {
    if (m_columns.empty())
        m_columns = other.m_columns;
    // Row positions name their chunk by number: the moved chunks come after
    // this result's own.
    const std::uint64_t shift = std::uint64_t(m_chunks.size()) << 32;
    m_rows.reserve(m_rows.size() + other.m_rows.size());
    for (const std::uint64_t pos : other.m_rows)
        m_rows.push_back(pos + shift);
    std::move(other.m_chunks.begin(), other.m_chunks.end(), std::back_inserter(m_chunks));
    m_dataBytes += other.m_dataBytes;
    other = ResultSet();
}

quint64 ResultSet::memoryBytes() const {
    quint64 total = m_rows.capacity() * sizeof(std::uint64_t) + m_chunks.capacity() * sizeof(QByteArray);
    for (const QByteArray& chunk : m_chunks)
        total += quint64(chunk.capacity());
    return total;
}

} // namespace kml
