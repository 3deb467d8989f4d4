#include "foundation/QueryHelpers.h"

#include "components/Connection.h"
#include "components/MemTable.h"
#include "components/Query.h"
#include "components/Transaction.h"
#include "foundation/TextHelpers.h"

namespace kml {
namespace {

// The first column of the first row, if there is a row.
struct FirstValue {
    bool found = false;
    bool null = false;
    QString text;
};

FirstValue FirstOf(const ResultSet& rs) {
    FirstValue v;
    if (rs.rowCount() == 0 || rs.columnCount() == 0)
        return v;
    v.found = true;
    v.null = rs.isNull(0, 0);
    v.text = rs.text(0, 0);
    return v;
}

FirstValue QueryFirst(const QString& sql) {
    return FirstOf(SharedConnection().query(sql));
}

int IntOf(const FirstValue& v, int defaultValue) {
    if (!v.found)
        return defaultValue;
    bool ok = false;
    const int value = v.text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

bool StartsWithLineBreakText(const QString& sql, qsizetype i) {
    const QStringView rest = QStringView(sql).mid(i);
    return rest.startsWith(QLatin1String("\\r\\n"), Qt::CaseInsensitive) ||
           rest.startsWith(QLatin1String("\\\\r\\\\n"), Qt::CaseInsensitive);
}

} // namespace

QString UnescapeLineBreaksOutsideLiterals(const QString& sql) {
    QString out;
    out.reserve(sql.size());
    QString plain; // statement text outside literals and comments, not yet unescaped
    const auto flush = [&] {
        out += UnescapeLineBreaks(plain);
        plain.clear();
    };
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < n ? sql.at(i + 1) : QChar();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            // A quoted literal or identifier, copied as it stands.
            flush();
            qsizetype j = i + 1;
            while (j < n) {
                const QChar d = sql.at(j);
                if (d == QLatin1Char('\\') && c != QLatin1Char('`')) {
                    j += 2;
                    continue;
                }
                if (d == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            j = qMin(j, n);
            out += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            flush();
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype j = end < 0 ? n : end + 2;
            out += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('#') ||
                   (c == QLatin1Char('-') && next == QLatin1Char('-') &&
                    (i + 2 >= n || sql.at(i + 2).isSpace() || sql.at(i + 2) == QLatin1Char('\\')))) {
            // A comment to the end of the line; a line break written as text
            // ends it too, as it would once unescaped.
            flush();
            qsizetype j = i;
            while (j < n && sql.at(j) != QLatin1Char('\n') && !StartsWithLineBreakText(sql, j))
                ++j;
            out += QStringView(sql).mid(i, j - i);
            i = j;
        } else {
            plain += c;
            ++i;
        }
    }
    flush();
    return out;
}

void ExecSql(const QString& sql) {
    if (sql.trimmed().isEmpty())
        return;
    SharedConnection().exec(UnescapeLineBreaksOutsideLiterals(sql));
}

QString QueryStr(const QString& sql, const QString& defaultValue) {
    const FirstValue v = QueryFirst(sql);
    return v.found ? v.text : defaultValue;
}

int QueryInt(const QString& sql, int defaultValue) {
    return IntOf(QueryFirst(sql), defaultValue);
}

void ExecUnitSql(const QString& sql) {
    if (sql.trimmed().isEmpty())
        return;
    ExecUnit(SharedConnection(), UnescapeLineBreaksOutsideLiterals(sql));
}

int QueryIntUnit(const QString& sql, int defaultValue) {
    return IntOf(FirstOf(QueryUnit(SharedConnection(), sql)), defaultValue);
}

double QueryFloat(const QString& sql, double defaultValue) {
    const FirstValue v = QueryFirst(sql);
    if (!v.found || v.null)
        return defaultValue;
    bool ok = false;
    const double value = v.text.trimmed().toDouble(&ok);
    return ok ? value : defaultValue;
}

QDateTime QueryDate(const QString& sql, const QDateTime& defaultValue) {
    const ResultSet rs = SharedConnection().query(sql);
    if (rs.rowCount() == 0 || rs.columnCount() == 0 || rs.isNull(0, 0))
        return defaultValue;
    const QByteArrayView raw = rs.raw(0, 0);
    QDateTime value = ParseSqlDateTime(raw);
    if (!value.isValid()) {
        const QDate date = ParseSqlDate(raw);
        if (date.isValid())
            value = QDateTime(date, QTime(0, 0));
    }
    return value.isValid() ? value : defaultValue;
}

QDate ServerDate() {
    return QueryDate(QStringLiteral("SELECT CURDATE();")).date();
}

QString ServerMd5(const QString& text) {
    return QueryStr(QStringLiteral("SELECT MD5(") + SqlStr(text) + ");");
}

int NextId(const QString& column, const QString& table) {
    const QString from = table.isEmpty() ? column : table;
    return QueryInt(QStringLiteral("SELECT MAX(%1) AS maxid FROM %2;").arg(column, from), 0) + 1;
}

QString LookupName(int id, const QString& table, const QString& defaultValue) {
    return QueryStr(QStringLiteral("SELECT %1_nev FROM %1 WHERE %1=%2;").arg(table).arg(id), defaultValue);
}

QString CaptionOf(int id, int kind) {
    switch (kind) {
    case 1:
        return QueryStr(QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE ugyfel = %1;").arg(id));
    case 2:
        return QueryStr(QStringLiteral("SELECT mlapcapt FROM vw_mlapcapt WHERE munkalap = %1;").arg(id));
    case 3:
        return QueryStr(
            QStringLiteral("SELECT keszulekcapt FROM vw_keszulekcapt WHERE keszulek = %1;").arg(id));
    default:
        return {};
    }
}

QString DeviceText(int id) {
    return QueryStr(QStringLiteral("SELECT keszulekstr FROM vw_keszulek WHERE keszulek = %1;").arg(id));
}

QString WorkSheetText(int id) {
    return QueryStr(QStringLiteral("SELECT munkalapstr FROM vw_munkalap WHERE munkalap = %1;").arg(id));
}

int EmployeeIdAt(int position) {
    if (position == -1)
        return -1;
    return QueryInt(QStringLiteral("SELECT dolgozo FROM dolgozo WHERE sorszam = %1;").arg(position), -1);
}

QString EmployeeNameAt(int position) {
    if (position == -1)
        return {};
    return QueryStr(QStringLiteral("SELECT dolgozo_nev FROM dolgozo WHERE sorszam = %1;").arg(position));
}

QString NextItemCode() {
    return QueryStr(QStringLiteral("SELECT fn_kovcikkszam();"));
}

void FillList(QStringList& list, const QString& sql) {
    const ResultSet rs = SharedConnection().query(sql);
    if (rs.columnCount() == 0)
        return;
    for (int r = 0; r < rs.rowCount(); ++r)
        list << rs.text(r, 0);
}

void CopyProcRow(Query& dataset, MemTable& table) {
    const bool wasClosed = !dataset.isActive();
    if (wasClosed)
        dataset.open();
    table.append();
    for (int f = 0; f < table.fieldCount(); ++f) {
        const int source = dataset.fieldIndex(table.field(f).name);
        if (source >= 0)
            table.setValue(f, dataset.value(source));
    }
    table.post();
    if (wasClosed)
        dataset.close();
}

QString RecordCounterText(const Query& dataset) {
    return QString::number(dataset.recordCount()) + QLatin1String(": ") + QString::number(dataset.recNo());
}

QString ReplaceOrderBy(QStringList& lines, const QString& sortExpression) {
    for (QString& line : lines) {
        if (line.toUpper().startsWith(QLatin1String("ORDER"))) {
            line = QStringLiteral("ORDER BY ") + sortExpression + QLatin1Char(';');
            break;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString ReplaceWhere(QStringList& lines, const QString& condition, bool firstOnly) {
    for (QString& line : lines) {
        if (line.toUpper().startsWith(QLatin1String("WHERE"))) {
            line = QStringLiteral("WHERE ") + condition;
            if (firstOnly)
                break;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

void ApplyNumberFormats(Query& dataset, bool plain, const QString& moneyFormat,
                        const QString& quantityFormat) {
    for (int i = 0; i < dataset.fieldCount(); ++i) {
        Field& field = dataset.field(i);
        if (!field.isFloat())
            continue;
        QString format;
        switch (qAbs(field.tag)) {
        case 0:
            format = moneyFormat;
            break;
        case 1:
            // A quantity shows its decimals when it has any (1,5 kg), whole
            // ones as the workstation's format writes them.
            format = quantityFormat;
            if (!format.isEmpty() && !format.contains(QLatin1Char('.')))
                format += QStringLiteral(".###");
            break;
        case 2:
            format = QStringLiteral("### ### ##0.000");
            break;
        default:
            continue;
        }
        if (plain)
            format.remove(QLatin1Char(' '));
        field.displayFormat = format;
    }
}

void DatasetToLines(const Query& dataset, QStringList& lines, bool header, bool rowNumbers, bool utf8,
                    QChar separator, const QString& excludedFields) {
    const QString excluded = QLatin1Char(';') + excludedFields + QLatin1Char(';');
    std::vector<int> included;
    for (int f = 0; f < dataset.fieldCount(); ++f)
        if (!excluded.contains(QLatin1Char(';') + dataset.field(f).name + QLatin1Char(';')))
            included.push_back(f);
    const auto append = [&](const QString& line) { lines << (utf8 ? ToUtf8(line) : line); };
    if (header) {
        QString line;
        for (const int f : included)
            line += dataset.field(f).name + separator;
        append(line);
    }
    for (int row = 0; row < dataset.recordCount(); ++row) {
        QString line;
        if (rowNumbers)
            line += QString::number(row + 1) + separator;
        for (const int f : included) {
            QString text = dataset.displayText(row, f);
            text.replace(QLatin1Char(';'), QLatin1Char(','));
            line += text + separator;
        }
        append(line);
    }
}

} // namespace kml
