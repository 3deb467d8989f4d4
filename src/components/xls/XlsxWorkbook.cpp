#include "components/xls/XlsxWorkbook.h"

#include <QFile>
#include <stdexcept>
#include <string>
#include <xlsxwriter.h>

namespace kml::xls {

XlsxWorkbook::XlsxWorkbook(const QString& path) : m_path(path) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE; // large exports may pass the 4 GiB of plain ZIP
    m_book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!m_book)
        throw std::runtime_error("cannot create the workbook " + path.toStdString());
    m_header = workbook_add_format(m_book);
    format_set_bold(m_header);
    m_date = workbook_add_format(m_book);
    format_set_num_format(m_date, "yyyy.mm.dd");
    m_dateTime = workbook_add_format(m_book);
    format_set_num_format(m_dateTime, "yyyy.mm.dd hh:mm:ss");
    m_time = workbook_add_format(m_book);
    format_set_num_format(m_time, "hh:mm:ss");
}

XlsxWorkbook::~XlsxWorkbook() {
    if (m_book) {
        workbook_close(m_book); // frees it; the caller has given up on the file
        QFile::remove(m_path);
    }
}

void XlsxWorkbook::check(int error, const char* what) const {
    if (error != LXW_NO_ERROR)
        throw std::runtime_error(std::string(what) + ": " + lxw_strerror(lxw_error(error)));
}

void XlsxWorkbook::addSheet(const QString& name) {
    QString clean = name.left(31);
    for (QChar& c : clean)
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = QLatin1Char('_');
    m_sheet = workbook_add_worksheet(m_book, clean.isEmpty() ? nullptr : clean.toUtf8().constData());
    if (!m_sheet)
        throw std::runtime_error("cannot add the worksheet " + clean.toStdString());
    ++m_sheets;
}

lxw_worksheet* XlsxWorkbook::sheet() {
    if (!m_sheet)
        addSheet(QString());
    return m_sheet;
}

lxw_format* XlsxWorkbook::format(CellStyle style) const {
    switch (style) {
    case CellStyle::Header:
        return m_header;
    case CellStyle::Date:
        return m_date;
    case CellStyle::DateTime:
        return m_dateTime;
    case CellStyle::Time:
        return m_time;
    case CellStyle::General:
        break;
    }
    return nullptr;
}

void XlsxWorkbook::setColumnWidth(int col, double characters) {
    check(worksheet_set_column(sheet(), lxw_col_t(col), lxw_col_t(col), characters, nullptr), "column width");
}

void XlsxWorkbook::writeNumber(int row, int col, double value, CellStyle style) {
    check(worksheet_write_number(sheet(), lxw_row_t(row), lxw_col_t(col), value, format(style)),
          "number cell");
}

void XlsxWorkbook::writeText(int row, int col, QStringView text, CellStyle style) {
    const QByteArray utf8 = text.left(MaxTextLength).toUtf8();
    check(worksheet_write_string(sheet(), lxw_row_t(row), lxw_col_t(col), utf8.constData(), format(style)),
          "text cell");
}

void XlsxWorkbook::writeDate(int row, int col, const QDateTime& value, CellStyle style) {
    if (HasDayNumber(value))
        writeNumber(row, col, DateCellNumber(value, style), style);
    else
        writeText(row, col, DateCellText(value, style));
}

void XlsxWorkbook::close() {
    if (!m_sheet)
        addSheet(QString()); // a workbook has at least one sheet
    lxw_workbook* book = m_book;
    m_book = nullptr;
    check(workbook_close(book), "writing the workbook");
}

} // namespace kml::xls
