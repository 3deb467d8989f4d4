#include "exchange/SpreadsheetExport.h"

#include "components/Cp1250.h"
#include "components/xls/XlsWorkbook.h"
#include "components/xls/XlsxWorkbook.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

namespace kml {
namespace {

using xls::CellStyle;

// What a cell of the export holds.
struct Cell {
    enum class Kind { Empty, Number, Text, Date } kind = Kind::Empty;
    double number = 0;
    QString text;
    QDateTime date;
    CellStyle style = CellStyle::General;
};

bool ParseNumber(QByteArrayView raw, double& value) {
    const auto [end, error] = std::from_chars(raw.data(), raw.data() + raw.size(), value);
    return error == std::errc() && end == raw.data() + raw.size();
}

Cell CellOf(const ExportRows& rows, int row, int col) {
    Cell cell;
    const ResultSet& result = rows.rows();
    if (result.isNull(row, col))
        return cell;
    if (rows.isBinary(col)) {
        cell.kind = Cell::Kind::Text;
        cell.text = QStringLiteral("BLOB");
        return cell;
    }
    const QByteArrayView raw = result.raw(row, col);
    switch (rows.field(col).kind) {
    case FieldKind::Integer:
    case FieldKind::Float:
        if (ParseNumber(raw, cell.number)) {
            cell.kind = Cell::Kind::Number;
            return cell;
        }
        break;
    case FieldKind::Date:
    case FieldKind::DateTime: {
        const bool dateOnly = rows.field(col).kind == FieldKind::Date;
        const QDateTime moment = dateOnly ? QDateTime(ParseSqlDate(raw), QTime(0, 0)) : ParseSqlDateTime(raw);
        if (!moment.isValid())
            return cell; // a zero date
        cell.kind = Cell::Kind::Date;
        cell.date = moment;
        cell.style = dateOnly ? CellStyle::Date : CellStyle::DateTime;
        return cell;
    }
    case FieldKind::Time: {
        const QTime time = QTime::fromString(QString::fromLatin1(raw), QStringLiteral("HH:mm:ss"));
        if (time.isValid()) {
            cell.kind = Cell::Kind::Number;
            cell.number = time.msecsSinceStartOfDay() / 86400000.0;
            cell.style = CellStyle::Time;
            return cell;
        }
        break;
    }
    default:
        break;
    }
    cell.kind = Cell::Kind::Text;
    cell.text = FromCp1250(raw.data(), raw.size());
    return cell;
}

double ColumnWidth(const Field& field) {
    const double wanted =
        std::max<double>(field.label().size(), field.kind == FieldKind::Memo ? 40 : field.size);
    return std::clamp(wanted + 2, 8.0, 50.0);
}

// The two writers behind one face.
template <typename Book> void WriteCell(Book& book, int row, int col, const Cell& cell) {
    switch (cell.kind) {
    case Cell::Kind::Empty:
        break;
    case Cell::Kind::Number:
        book.writeNumber(row, col, cell.number, cell.style);
        break;
    case Cell::Kind::Text:
        book.writeText(row, col, cell.text);
        break;
    case Cell::Kind::Date:
        book.writeDate(row, col, cell.date, cell.style);
        break;
    }
}

template <typename Book>
ExportOutcome FillBook(Book& book, const ExportRows& rows, int sheetRows, const ExportProgress& progress) {
    ExportOutcome outcome;
    const std::vector<int>& columns = rows.columns();
    const int total = rows.rowCount();
    int sheetRow = sheetRows; // begins a sheet at the first row
    for (int row = 0; row < total || row == 0; ++row) {
        if (sheetRow == sheetRows) {
            book.addSheet(QStringLiteral("Munka%1").arg(book.sheetCount() + 1));
            for (int c = 0; c < int(columns.size()); ++c) {
                const Field& field = rows.field(columns[size_t(c)]);
                book.setColumnWidth(c, ColumnWidth(field));
                book.writeText(0, c, field.label(), CellStyle::Header);
            }
            sheetRow = 1;
        }
        if (row >= total)
            break;
        if (progress && !progress(row, total)) {
            outcome.stopped = true;
            break;
        }
        for (int c = 0; c < int(columns.size()); ++c)
            WriteCell(book, sheetRow, c, CellOf(rows, row, columns[size_t(c)]));
        ++sheetRow;
        ++outcome.rows;
    }
    if (progress && !outcome.stopped)
        progress(total, total);
    return outcome;
}

// XlsxWorkbook with a sheet count, like XlsWorkbook.
class XlsxBook final {
public:
    explicit XlsxBook(const QString& path) : m_book(path) {}
    int sheetCount() const { return m_sheets; }
    void addSheet(const QString& name) {
        m_book.addSheet(name);
        ++m_sheets;
    }
    void setColumnWidth(int col, double width) { m_book.setColumnWidth(col, width); }
    void writeNumber(int row, int col, double v, CellStyle s) { m_book.writeNumber(row, col, v, s); }
    void writeText(int row, int col, QStringView t, CellStyle s = CellStyle::General) {
        m_book.writeText(row, col, t, s);
    }
    void writeDate(int row, int col, const QDateTime& v, CellStyle s) { m_book.writeDate(row, col, v, s); }
    void close() { m_book.close(); }

private:
    xls::XlsxWorkbook m_book;
    int m_sheets = 0;
};

QString CannotWrite(const QString& path, const QString& why) {
    return QStringLiteral("A file nem írható: %1 (%2)").arg(path, why);
}

ExportOutcome WriteXls(const ExportRows& rows, const QString& path, const ExportProgress& progress) {
    xls::XlsWorkbook book;
    const ExportOutcome outcome = FillBook(book, rows, xls::XlsWorkbook::MaxRows, progress);
    const QByteArray bytes = book.toBytes();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ExportError(CannotWrite(path, file.errorString()));
    return outcome;
}

ExportOutcome WriteXlsx(const ExportRows& rows, const QString& path, const ExportProgress& progress) {
    // libxlsxwriter writes the file itself: give it a fresh name in the
    // target's folder and move the finished file over the target.
    const QFileInfo target(path);
    QString temporary;
    {
        QTemporaryFile reserve(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                               QStringLiteral(".XXXXXX"));
        if (!reserve.open())
            throw ExportError(CannotWrite(path, reserve.errorString()));
        reserve.setAutoRemove(false);
        temporary = reserve.fileName();
    }
    try {
        ExportOutcome outcome;
        {
            XlsxBook book(temporary);
            outcome = FillBook(book, rows, xls::XlsxWorkbook::MaxRows, progress);
            book.close();
        }
        QFile::setPermissions(temporary,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0)
            throw ExportError(CannotWrite(path, QString::fromLocal8Bit(std::strerror(errno))));
        return outcome;
    } catch (const ExportError&) {
        QFile::remove(temporary);
        throw;
    } catch (const std::exception& e) {
        QFile::remove(temporary);
        throw ExportError(CannotWrite(path, QString::fromUtf8(e.what())));
    }
}

} // namespace

int SpreadsheetSheetRows(SpreadsheetFormat format) {
    return format == SpreadsheetFormat::Xls ? xls::XlsWorkbook::MaxRows : xls::XlsxWorkbook::MaxRows;
}

int SpreadsheetMaxColumns(SpreadsheetFormat format) {
    return format == SpreadsheetFormat::Xls ? xls::XlsWorkbook::MaxColumns : xls::XlsxWorkbook::MaxColumns;
}

ExportOutcome WriteSpreadsheet(const ExportRows& rows, const QString& path, SpreadsheetFormat format,
                               const ExportProgress& progress) {
    const int maxColumns = SpreadsheetMaxColumns(format);
    if (int(rows.columns().size()) > maxColumns)
        throw ExportError(
            QStringLiteral("Egy munkalapon legfeljebb %1 oszlop fér el, de %2 oszlop van kijelölve.")
                .arg(maxColumns)
                .arg(rows.columns().size()));
    return format == SpreadsheetFormat::Xls ? WriteXls(rows, path, progress)
                                            : WriteXlsx(rows, path, progress);
}

} // namespace kml
