#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringView>
#include <vector>

namespace kml::xls {

// How a cell is shown: plain, as a column title (bold), or as a date,
// date-time or time of day (yyyy.mm.dd, yyyy.mm.dd hh:mm:ss, hh:mm:ss).
enum class CellStyle { General, Header, Date, DateTime, Time };

// The spreadsheet day number of a moment in the 1900 date system (days since
// 1899-12-30, the time of day as the fraction); right from 1900-03-01 on.
double DayNumber(const QDateTime& value);
// Whether a date cell can hold the value as a day number (valid, and from
// 1900-03-01 on); the value of that cell (only the fraction for Time); and
// the text written instead when it cannot ("" for no date).
bool HasDayNumber(const QDateTime& value);
double DateCellNumber(const QDateTime& value, CellStyle style);
QString DateCellText(const QDateTime& value, CellStyle style);

// An Excel 97-2003 workbook (.xls, BIFF8 records in a compound file) built in
// memory: worksheets of number, text and date cells.
//
//     XlsWorkbook book;
//     book.addSheet("Munka1");
//     book.writeText(0, 0, u"Név", CellStyle::Header);
//     book.writeNumber(1, 0, 12.5);
//     book.writeDate(1, 1, QDateTime(QDate(2024, 3, 5), QTime()), CellStyle::Date);
//     const QByteArray file = book.toBytes();
//
// Cells go to the sheet added last, row by row and left to right within a
// row (the order spreadsheet programs expect). Text is stored as Unicode in
// the shared string table, so every character keeps its identity; a text
// longer than a cell can hold (MaxTextLength) is cut to it; an empty text
// leaves the cell empty. Rows and columns
// outside the sheet's limits are refused with std::out_of_range: callers
// split long data over several sheets themselves.
class XlsWorkbook final {
public:
    static constexpr int MaxRows = 65536;
    static constexpr int MaxColumns = 256;
    static constexpr int MaxTextLength = 32767;
    static constexpr int MaxSheetNameLength = 31;

    XlsWorkbook();

    // A new worksheet; the name is cut to 31 characters and characters that
    // sheet names cannot hold ([ ] : * ? / \) become "_".
    void addSheet(const QString& name);
    int sheetCount() const { return int(m_sheets.size()); }

    // Width of a column of the current sheet, in characters.
    void setColumnWidth(int col, double characters);

    void writeNumber(int row, int col, double value, CellStyle style = CellStyle::General);
    void writeText(int row, int col, QStringView text, CellStyle style = CellStyle::General);
    // A date, date-time or time of day as the spreadsheet's day number with
    // a matching display format (Date: yyyy.mm.dd, DateTime: yyyy.mm.dd
    // hh:mm:ss, Time: hh:mm:ss). Dates before 1900-03-01 cannot be day
    // numbers in the 1900 system: they are written as text.
    void writeDate(int row, int col, const QDateTime& value, CellStyle style);

    // The whole workbook file.
    QByteArray toBytes() const;

private:
    struct Sheet {
        QString name;
        QByteArray cells; // cell records in row order
        int lastRow = -1;
        int lastCol = -1;
        std::vector<quint16> widths; // 1/256 of a character; 0: default
    };
    Sheet& current();
    void checkCell(int row, int col);
    quint16 xfOf(CellStyle style) const;
    QByteArray globals(const std::vector<Sheet>& sheets, const std::vector<quint32>& sheetOffsets) const;
    QByteArray sheetStream(const Sheet& sheet, bool first) const;

    std::vector<Sheet> m_sheets;
    std::vector<QString> m_strings; // shared string table, in first-use order
    QHash<QString, quint32> m_stringIndex;
    quint32 m_stringRefs = 0;
};

} // namespace kml::xls
