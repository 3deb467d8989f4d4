#include "SpreadsheetReaders.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <freexl.h>
#include <stdexcept>

namespace kml::test {
namespace {

// Prints the workbook as JSON: [{"name": ..., "rows": [[[type, text, number], ...], ...]}, ...].
const char* kXlrdScript = R"(
import json, sys, xlrd
book = xlrd.open_workbook(sys.argv[1])
out = []
for sheet in book.sheets():
    rows = []
    for r in range(sheet.nrows):
        row = []
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_EMPTY:
                row.append(["empty", "", 0])
            elif cell.ctype == xlrd.XL_CELL_TEXT:
                row.append(["text", cell.value, 0])
            elif cell.ctype == xlrd.XL_CELL_NUMBER:
                row.append(["number", "", cell.value])
            elif cell.ctype == xlrd.XL_CELL_DATE:
                if cell.value < 1:
                    t = xlrd.xldate.xldate_as_datetime(cell.value, book.datemode)
                    row.append(["time", t.strftime("%H:%M:%S"), cell.value])
                else:
                    t = xlrd.xldate.xldate_as_datetime(cell.value, book.datemode)
                    text = t.strftime("%Y-%m-%d") if t.hour == t.minute == t.second == 0 else t.strftime("%Y-%m-%d %H:%M:%S")
                    row.append(["date", text, cell.value])
            else:
                row.append(["other", str(cell.value), 0])
        rows.append(row)
    out.append({"name": sheet.name, "rows": rows})
sys.stdout.write(json.dumps(out, ensure_ascii=False))
)";

const char* kOpenpyxlScript = R"(
import datetime, json, sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1], read_only=True)
out = []
for sheet in book.worksheets:
    rows = []
    for cells in sheet.iter_rows():
        row = []
        for cell in cells:
            v = cell.value
            if v is None:
                row.append(["empty", "", 0])
            elif isinstance(v, str):
                row.append(["text", v, 0])
            elif isinstance(v, bool):
                row.append(["other", str(v), 0])
            elif isinstance(v, (int, float)):
                row.append(["number", "", v])
            elif isinstance(v, datetime.datetime):
                text = v.strftime("%Y-%m-%d") if v.hour == v.minute == v.second == 0 else v.strftime("%Y-%m-%d %H:%M:%S")
                row.append(["date", text, 0])
            elif isinstance(v, datetime.time):
                row.append(["time", v.strftime("%H:%M:%S"), 0])
            else:
                row.append(["other", str(v), 0])
        rows.append(row)
    out.append({"name": sheet.title, "rows": rows})
sys.stdout.write(json.dumps(out, ensure_ascii=False))
)";

ReadBook FromJson(const QByteArray& json) {
    ReadBook book;
    const QJsonArray sheets = QJsonDocument::fromJson(json).array();
    for (const QJsonValue& s : sheets) {
        ReadSheet sheet;
        sheet.name = s[QStringLiteral("name")].toString();
        for (const QJsonValue& r : s[QStringLiteral("rows")].toArray()) {
            std::vector<ReadCell> row;
            for (const QJsonValue& c : r.toArray()) {
                const QJsonArray cell = c.toArray();
                row.push_back(ReadCell{cell.at(0).toString(), cell.at(1).toString(), cell.at(2).toDouble()});
            }
            sheet.rows.push_back(std::move(row));
        }
        book.push_back(std::move(sheet));
    }
    return book;
}

void Check(int status, const char* what) {
    if (status != FREEXL_OK)
        throw std::runtime_error(std::string("freexl ") + what + " failed: " + std::to_string(status));
}

} // namespace

const ReadCell& ReadSheet::at(int row, int col) const {
    static const ReadCell empty{QStringLiteral("empty"), {}, 0};
    if (row < 0 || size_t(row) >= rows.size() || col < 0 || size_t(col) >= rows[size_t(row)].size())
        return empty;
    return rows[size_t(row)][size_t(col)];
}

QByteArray RunPython(const QString& script, const QStringList& args) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + args);
    if (!python.waitForFinished(600000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0)
        throw std::runtime_error("python failed: " + python.readAllStandardError().toStdString());
    return python.readAllStandardOutput();
}

ReadBook ReadXlsWithXlrd(const QString& path) {
    return FromJson(RunPython(QString::fromLatin1(kXlrdScript), {path}));
}

ReadBook ReadXlsxWithOpenpyxl(const QString& path) {
    return FromJson(RunPython(QString::fromLatin1(kOpenpyxlScript), {path}));
}

ReadBook ReadXlsWithFreexl(const QString& path) {
    const void* handle = nullptr;
    Check(freexl_open(path.toLocal8Bit().constData(), &handle), "open");
    ReadBook book;
    try {
        unsigned int sheets = 0;
        Check(freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets), "sheet count");
        for (unsigned short s = 0; s < sheets; ++s) {
            ReadSheet sheet;
            const char* name = nullptr;
            Check(freexl_get_worksheet_name(handle, s, &name), "sheet name");
            sheet.name = QString::fromUtf8(name);
            Check(freexl_select_active_worksheet(handle, s), "select sheet");
            unsigned int rows = 0;
            unsigned short columns = 0;
            Check(freexl_worksheet_dimensions(handle, &rows, &columns), "dimensions");
            for (unsigned int r = 0; r < rows; ++r) {
                std::vector<ReadCell> row;
                for (unsigned short c = 0; c < columns; ++c) {
                    FreeXL_CellValue value;
                    Check(freexl_get_cell_value(handle, r, c, &value), "cell");
                    ReadCell cell;
                    switch (value.type) {
                    case FREEXL_CELL_NULL:
                        cell.type = QStringLiteral("empty");
                        break;
                    case FREEXL_CELL_INT:
                        cell.type = QStringLiteral("number");
                        cell.number = value.value.int_value;
                        break;
                    case FREEXL_CELL_DOUBLE:
                        cell.type = QStringLiteral("number");
                        cell.number = value.value.double_value;
                        break;
                    case FREEXL_CELL_TEXT:
                    case FREEXL_CELL_SST_TEXT:
                        cell.type = QStringLiteral("text");
                        cell.text = QString::fromUtf8(value.value.text_value);
                        break;
                    case FREEXL_CELL_DATE:
                    case FREEXL_CELL_DATETIME:
                        cell.type = QStringLiteral("date");
                        cell.text = QString::fromUtf8(value.value.text_value);
                        break;
                    case FREEXL_CELL_TIME:
                        cell.type = QStringLiteral("time");
                        cell.text = QString::fromUtf8(value.value.text_value);
                        break;
                    default:
                        cell.type = QStringLiteral("other");
                        break;
                    }
                    row.push_back(cell);
                }
                sheet.rows.push_back(std::move(row));
            }
            book.push_back(std::move(sheet));
        }
    } catch (...) {
        freexl_close(handle);
        throw;
    }
    freexl_close(handle);
    return book;
}

} // namespace kml::test
