#pragma once

#include "components/xls/XlsWorkbook.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace kml::xls {

// An Office Open XML workbook (.xlsx) written through libxlsxwriter in its
// constant-memory mode: each row goes to a temporary file as soon as the next
// row begins, so the memory does not grow with the number of rows. Cells are
// written row by row, left to right, on the sheet added last; numbers are
// number cells, texts are text cells (never formulas, whatever they begin
// with), dates are day numbers with a date format, as in XlsWorkbook.
//
// The file is written to path by close(); a workbook destroyed without
// close() leaves whatever libxlsxwriter wrote there. Errors throw
// std::runtime_error with libxlsxwriter's explanation.
class XlsxWorkbook final {
public:
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;
    static constexpr int MaxTextLength = 32767;

    explicit XlsxWorkbook(const QString& path);
    ~XlsxWorkbook();
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    void addSheet(const QString& name);
    void setColumnWidth(int col, double characters);
    void writeNumber(int row, int col, double value, CellStyle style = CellStyle::General);
    void writeText(int row, int col, QStringView text, CellStyle style = CellStyle::General);
    void writeDate(int row, int col, const QDateTime& value, CellStyle style);
    void close();

private:
    lxw_worksheet* sheet();
    lxw_format* format(CellStyle style) const;
    void check(int error, const char* what) const;

    QString m_path;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    int m_sheets = 0;
    lxw_format* m_header = nullptr;
    lxw_format* m_date = nullptr;
    lxw_format* m_dateTime = nullptr;
    lxw_format* m_time = nullptr;
};

} // namespace kml::xls
