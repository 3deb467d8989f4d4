#include "components/xls/XlsWorkbook.h"

#include "components/xls/CompoundFile.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kml::xls {
namespace {

// Record types.
constexpr quint16 kBof = 0x0809, kEof = 0x000A, kCodePage = 0x0042, kWindow1 = 0x003D, kDateMode = 0x0022,
                  kFont = 0x0031, kFormat = 0x041E, kXf = 0x00E0, kStyle = 0x0293, kBoundSheet = 0x0085,
                  kSst = 0x00FC, kExtSst = 0x00FF, kContinue = 0x003C, kDimensions = 0x0200,
                  kColInfo = 0x007D, kWindow2 = 0x023E, kNumber = 0x0203, kLabelSst = 0x00FD;
constexpr int kMaxRecordData = 8224;

// Number formats of our own (the first free custom index is 164).
constexpr quint16 kDateFormat = 164, kDateTimeFormat = 165, kTimeFormat = 166;
// Cell formats: 15 style formats and the default cell format come first.
constexpr quint16 kXfGeneral = 15, kXfHeader = 16, kXfDate = 17, kXfDateTime = 18, kXfTime = 19;

class Bytes {
public:
    Bytes& u8(quint8 v) {
        m_data.append(char(v));
        return *this;
    }
    Bytes& u16(quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        m_data.append(b, 2);
        return *this;
    }
    Bytes& u32(quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        m_data.append(b, 4);
        return *this;
    }
    Bytes& f64(double v) {
        char b[8];
        qToLittleEndian(v, b);
        m_data.append(b, 8);
        return *this;
    }
    Bytes& raw(const QByteArray& v) {
        m_data.append(v);
        return *this;
    }
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

bool Wide(QStringView text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
}

// Characters of a string, one byte each (all below 256) or UTF-16LE.
QByteArray CharBytes(QStringView text, bool wide) {
    QByteArray out(text.size() * (wide ? 2 : 1), Qt::Uninitialized);
    char* p = out.data();
    for (const QChar c : text) {
        if (wide) {
            qToLittleEndian(c.unicode(), p);
            p += 2;
        } else {
            *p++ = char(c.unicode());
        }
    }
    return out;
}

// ShortXLUnicodeString (8-bit length) and XLUnicodeString (16-bit length).
QByteArray ShortString(QStringView text) {
    const bool wide = Wide(text);
    return Bytes().u8(quint8(text.size())).u8(wide ? 1 : 0).raw(CharBytes(text, wide)).data();
}
QByteArray LongString(QStringView text) {
    const bool wide = Wide(text);
    return Bytes().u16(quint16(text.size())).u8(wide ? 1 : 0).raw(CharBytes(text, wide)).data();
}

void AddRecord(QByteArray& stream, quint16 type, const QByteArray& body) {
    if (body.size() > kMaxRecordData)
        throw std::logic_error("BIFF record too long");
    Bytes header;
    header.u16(type).u16(quint16(body.size()));
    stream.append(header.data());
    stream.append(body);
}

QByteArray Bof(quint16 kind) {
    return Bytes().u16(0x0600).u16(kind).u16(0x0DBB).u16(0x07CC).u32(0).u32(0x00000006).data();
}

QByteArray Font(bool bold) {
    return Bytes()
        .u16(200) // 10 points
        .u16(0)
        .u16(0x7FFF) // automatic colour
        .u16(bold ? 700 : 400)
        .u16(0)
        .u8(0)
        .u8(0)
        .u8(0)
        .u8(0)
        .raw(ShortString(u"Arial"))
        .data();
}

QByteArray Xf(quint16 font, quint16 format, bool style, quint8 usedAttributes) {
    return Bytes()
        .u16(font)
        .u16(format)
        .u16(style ? 0xFFF5 : 0x0001) // locked; a style format has no parent
        .u8(0x20)                     // bottom aligned
        .u8(0)
        .u8(0)
        .u8(usedAttributes)
        .u32(0)
        .u32(0)      // no borders
        .u16(0x20C0) // default pattern colours
        .data();
}

} // namespace

bool HasDayNumber(const QDateTime& value) {
    return value.isValid() && value.date() >= QDate(1900, 3, 1);
}

double DateCellNumber(const QDateTime& value, CellStyle style) {
    const double day = DayNumber(value);
    return style == CellStyle::Time ? day - double(qint64(day)) : day;
}

QString DateCellText(const QDateTime& value, CellStyle style) {
    if (!value.isValid())
        return {};
    return style == CellStyle::Date ? value.date().toString(QStringLiteral("yyyy.MM.dd"))
                                    : value.toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
}

double DayNumber(const QDateTime& value) {
    static const qint64 base = QDate(1899, 12, 30).toJulianDay();
    const QTime t = value.time().isValid() ? value.time() : QTime(0, 0);
    return double(value.date().toJulianDay() - base) + t.msecsSinceStartOfDay() / 86400000.0;
}

XlsWorkbook::XlsWorkbook() = default;

void XlsWorkbook::addSheet(const QString& name) {
    QString clean = name.left(MaxSheetNameLength);
    for (QChar& c : clean)
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = QLatin1Char('_');
    if (clean.isEmpty())
        clean = QStringLiteral("Munka%1").arg(m_sheets.size() + 1);
    m_sheets.push_back(Sheet{clean, {}, -1, -1, {}});
}

XlsWorkbook::Sheet& XlsWorkbook::current() {
    if (m_sheets.empty())
        addSheet(QString());
    return m_sheets.back();
}

void XlsWorkbook::checkCell(int row, int col) {
    if (row < 0 || row >= MaxRows || col < 0 || col >= MaxColumns)
        throw std::out_of_range("cell outside an .xls sheet");
    Sheet& sheet = current();
    sheet.lastRow = std::max(sheet.lastRow, row);
    sheet.lastCol = std::max(sheet.lastCol, col);
}

void XlsWorkbook::setColumnWidth(int col, double characters) {
    if (col < 0 || col >= MaxColumns)
        throw std::out_of_range("column outside an .xls sheet");
    Sheet& sheet = current();
    if (sheet.widths.size() <= size_t(col))
        sheet.widths.resize(size_t(col) + 1, 0);
    sheet.widths[size_t(col)] = quint16(std::clamp(characters, 1.0, 255.0) * 256);
}

quint16 XlsWorkbook::xfOf(CellStyle style) const {
    switch (style) {
    case CellStyle::Header:
        return kXfHeader;
    case CellStyle::Date:
        return kXfDate;
    case CellStyle::DateTime:
        return kXfDateTime;
    case CellStyle::Time:
        return kXfTime;
    case CellStyle::General:
        break;
    }
    return kXfGeneral;
}

void XlsWorkbook::writeNumber(int row, int col, double value, CellStyle style) {
    checkCell(row, col);
    Bytes body;
    body.u16(quint16(row)).u16(quint16(col)).u16(xfOf(style)).f64(value);
    AddRecord(current().cells, kNumber, body.data());
}

void XlsWorkbook::writeText(int row, int col, QStringView text, CellStyle style) {
    checkCell(row, col);
    if (text.isEmpty())
        return; // an empty cell: spreadsheet programs keep no empty strings
    const QString cell = text.left(MaxTextLength).toString();
    auto found = m_stringIndex.constFind(cell);
    quint32 index = 0;
    if (found == m_stringIndex.constEnd()) {
        index = quint32(m_strings.size());
        m_strings.push_back(cell);
        m_stringIndex.insert(cell, index);
    } else {
        index = *found;
    }
    ++m_stringRefs;
    Bytes body;
    body.u16(quint16(row)).u16(quint16(col)).u16(xfOf(style)).u32(index);
    AddRecord(current().cells, kLabelSst, body.data());
}

void XlsWorkbook::writeDate(int row, int col, const QDateTime& value, CellStyle style) {
    if (HasDayNumber(value))
        writeNumber(row, col, DateCellNumber(value, style), style);
    else
        writeText(row, col, DateCellText(value, style));
}

QByteArray XlsWorkbook::globals(const std::vector<Sheet>& sheets,
                                const std::vector<quint32>& sheetOffsets) const {
    QByteArray s;
    AddRecord(s, kBof, Bof(0x0005));
    AddRecord(s, kCodePage, Bytes().u16(1200).data()); // Unicode
    AddRecord(
        s, kWindow1,
        Bytes().u16(0).u16(0).u16(0x4000).u16(0x2000).u16(0x0038).u16(0).u16(0).u16(1).u16(0x0258).data());
    AddRecord(s, kDateMode, Bytes().u16(0).data());
    for (int i = 0; i < 4; ++i)
        AddRecord(s, kFont, Font(false));
    AddRecord(s, kFont, Font(true)); // font index 5 (index 4 is never used)
    AddRecord(s, kFormat, Bytes().u16(kDateFormat).raw(LongString(u"yyyy.mm.dd")).data());
    AddRecord(s, kFormat, Bytes().u16(kDateTimeFormat).raw(LongString(u"yyyy.mm.dd hh:mm:ss")).data());
    AddRecord(s, kFormat, Bytes().u16(kTimeFormat).raw(LongString(u"hh:mm:ss")).data());
    AddRecord(s, kXf, Xf(0, 0, true, 0x00));
    for (int i = 1; i < 15; ++i)
        AddRecord(s, kXf, Xf(i <= 2 ? 1 : i <= 4 ? 2 : 0, 0, true, 0xF4));
    AddRecord(s, kXf, Xf(0, 0, false, 0x00));               // 15: general
    AddRecord(s, kXf, Xf(5, 0, false, 0x08));               // 16: header, bold
    AddRecord(s, kXf, Xf(0, kDateFormat, false, 0x04));     // 17
    AddRecord(s, kXf, Xf(0, kDateTimeFormat, false, 0x04)); // 18
    AddRecord(s, kXf, Xf(0, kTimeFormat, false, 0x04));     // 19
    AddRecord(s, kStyle, Bytes().u16(0x8000).u8(0).u8(0xFF).data());
    for (size_t i = 0; i < sheets.size(); ++i)
        AddRecord(s, kBoundSheet,
                  Bytes().u32(sheetOffsets[i]).u8(0).u8(0).raw(ShortString(sheets[i].name)).data());

    // Shared strings: SST and CONTINUE records. A string's length and flags
    // never straddle two records; its characters may, and the part in the
    // next record begins with the flags byte again. Every dsst-th string's
    // place is noted for EXTSST.
    const quint32 dsst = std::max<quint32>(8, quint32((m_strings.size() + 127) / 128));
    Bytes ext;
    ext.u16(quint16(dsst));
    QByteArray record = Bytes().u32(m_stringRefs).u32(quint32(m_strings.size())).data();
    quint16 recordType = kSst;
    auto flush = [&] {
        AddRecord(s, recordType, record);
        record.clear();
        recordType = kContinue;
    };
    for (size_t i = 0; i < m_strings.size(); ++i) {
        const QString& text = m_strings[i];
        const bool wide = Wide(text);
        const int charSize = wide ? 2 : 1;
        if (record.size() + 3 + (text.isEmpty() ? 0 : charSize) > kMaxRecordData)
            flush();
        if (i % dsst == 0)
            ext.u32(quint32(s.size() + 4 + record.size())).u16(quint16(4 + record.size())).u16(0);
        record.append(Bytes().u16(quint16(text.size())).u8(wide ? 1 : 0).data());
        const QByteArray chars = CharBytes(text, wide);
        qsizetype done = 0;
        for (;;) {
            const qsizetype room = (kMaxRecordData - record.size()) / charSize * charSize;
            const qsizetype part = std::min(room, chars.size() - done);
            record.append(chars.constData() + done, part);
            done += part;
            if (done == chars.size())
                break;
            flush();
            record.append(char(wide ? 1 : 0));
        }
    }
    flush();
    AddRecord(s, kExtSst, ext.data());
    AddRecord(s, kEof, {});
    return s;
}

QByteArray XlsWorkbook::sheetStream(const Sheet& sheet, bool first) const {
    QByteArray s;
    AddRecord(s, kBof, Bof(0x0010));
    for (size_t col = 0; col < sheet.widths.size(); ++col)
        if (sheet.widths[col])
            AddRecord(s, kColInfo,
                      Bytes()
                          .u16(quint16(col))
                          .u16(quint16(col))
                          .u16(sheet.widths[col])
                          .u16(kXfGeneral)
                          .u16(0)
                          .u16(0)
                          .data());
    const bool empty = sheet.lastRow < 0;
    AddRecord(s, kDimensions,
              Bytes()
                  .u32(0)
                  .u32(empty ? 0 : quint32(sheet.lastRow + 1))
                  .u16(0)
                  .u16(empty ? 0 : quint16(sheet.lastCol + 1))
                  .u16(0)
                  .data());
    s.append(sheet.cells);
    AddRecord(
        s, kWindow2,
        Bytes().u16(first ? 0x06B6 : 0x00B6).u16(0).u16(0).u16(0x40).u16(0).u16(0).u16(0).u32(0).data());
    AddRecord(s, kEof, {});
    return s;
}

QByteArray XlsWorkbook::toBytes() const {
    // A workbook has at least one sheet.
    const std::vector<Sheet> none{Sheet{QStringLiteral("Munka1"), {}, -1, -1, {}}};
    const std::vector<Sheet>& sheets = m_sheets.empty() ? none : m_sheets;
    std::vector<QByteArray> streams;
    for (size_t i = 0; i < sheets.size(); ++i)
        streams.push_back(sheetStream(sheets[i], i == 0));
    // The globals' size does not depend on the offsets written into them.
    std::vector<quint32> offsets(sheets.size(), 0);
    quint32 at = quint32(globals(sheets, offsets).size());
    for (size_t i = 0; i < streams.size(); ++i) {
        offsets[i] = at;
        at += quint32(streams[i].size());
    }
    QByteArray stream = globals(sheets, offsets);
    stream.reserve(at);
    for (const QByteArray& sheet : streams)
        stream.append(sheet);
    return CompoundFile(QStringLiteral("Workbook"), std::move(stream));
}

} // namespace kml::xls
