#include "worksheets/LineItems.h"

#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"
#include "foundation/Conversions.h"
#include "foundation/FieldLimits.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"
#include "records/CatalogueWindows.h"
#include "worksheets/WorkSheetState.h"

#include <cmath>
#include <stdexcept>

namespace kml {
namespace {

QString Number(double value) {
    return FloatText(QStringLiteral("."), value);
}

std::optional<LineSource> ReadSource(const QString& sql) {
    const ResultSet rs = SharedConnection().query(sql);
    if (rs.rowCount() == 0)
        return std::nullopt;
    const auto text = [&rs](const char* name) {
        const int col = rs.columnIndex(QString::fromLatin1(name));
        return col < 0 ? QString() : rs.text(0, col);
    };
    const auto number = [&rs](const char* name, double empty) {
        const int col = rs.columnIndex(QString::fromLatin1(name));
        return col < 0 || rs.isNull(0, col) ? empty : rs.value(0, col).toDouble();
    };
    LineSource source;
    source.tetel = int(number("tetel", 0));
    source.tetel_kod = text("tetel_kod");
    source.tetel_nev = text("tetel_nev");
    source.ar_elad = number("ar_elad", 0);
    source.ar_teljes = number("ar_teljes", 0);
    source.ar_besz = number("ar_besz", 0);
    source.kedv_kap = number("kedv_kap", 0);
    source.kedv_ad = number("kedv_ad", 0);
    source.megjegyzes = text("megjegyzes");
    source.egyeb = text("egyeb");
    source.db = number("db", 0);
    return source;
}

} // namespace

std::optional<LineSource> ReadCatalogueItem(int item) {
    return ReadSource(QStringLiteral("SELECT * FROM tetel WHERE tetel = ") + QString::number(item) +
                      QLatin1Char(';'));
}

std::optional<LineSource> ReadStoredLine(int line) {
    return ReadSource(QStringLiteral("SELECT * FROM vw_mlaptetel WHERE munkalap_tetel = ") +
                      QString::number(line) + QLatin1Char(';'));
}

double CustomerDiscount(int sheet) {
    return QueryFloat(QStringLiteral("SELECT kedvezmeny FROM munkalap JOIN ugyfel ON (munkalap.ugyfel = "
                                     "ugyfel.ugyfel) WHERE munkalap = ") +
                          QString::number(sheet) + QLatin1Char(';'),
                      0);
}

LineRecord NewLineRecord(const LineSource& item, double customerDiscount, int programType) {
    LineRecord line;
    line.tetel = item.tetel;
    line.tetel_kod = item.tetel_kod;
    line.tetel_nev = item.tetel_nev;
    line.kedv_ad = customerDiscount == 0 ? item.kedv_ad : customerDiscount;
    if (programType == 2) {
        // An item without a list price is priced from its sale price, not
        // given away.
        line.ar_teljes = item.ar_teljes != 0 ? item.ar_teljes : item.ar_elad;
        line.egysar = line.ar_teljes * (1 - line.kedv_ad / 100);
    } else {
        line.egysar = item.ar_elad;
        line.ar_teljes = item.ar_elad;
    }
    line.beszar = item.ar_besz;
    line.kedv_kap = item.kedv_kap;
    line.megjegyzes = item.megjegyzes;
    line.egyeb = item.egyeb;
    line.db = 1;
    RecalculateTotal(line);
    return line;
}

LineRecord StoredLineRecord(const LineSource& stored) {
    LineRecord line;
    line.tetel = stored.tetel;
    line.tetel_kod = stored.tetel_kod;
    line.tetel_nev = stored.tetel_nev;
    line.db = stored.db;
    line.egysar = stored.ar_elad;
    line.ar_teljes = stored.ar_teljes;
    line.kedv_ad = stored.kedv_ad;
    line.beszar = stored.ar_besz;
    line.kedv_kap = stored.kedv_kap;
    line.megjegyzes = stored.megjegyzes;
    line.egyeb = stored.egyeb;
    RecalculateTotal(line);
    return line;
}

void RecalculateTotal(LineRecord& line) {
    line.osszar = line.db * line.egysar;
}

void DiscountFromUnitPrice(LineRecord& line) {
    line.kedv_ad = line.ar_teljes == 0 ? 0 : (line.ar_teljes - line.egysar) / line.ar_teljes * 100;
}

void PurchaseFromReceivedDiscount(LineRecord& line) {
    line.beszar = line.ar_teljes * (1 - line.kedv_kap / 100);
}

void UnitPriceFromGivenDiscount(LineRecord& line) {
    line.egysar = line.ar_teljes * (1 - line.kedv_ad / 100);
    RecalculateTotal(line);
}

double RoundHalfToEven(double value) {
    const double whole = std::trunc(value);
    if (std::fabs(value - whole) == 0.5)
        return 2 * std::round(value / 2);
    return std::round(value);
}

void GrossUp(LineRecord& line, double vatPercent) {
    const double factor = vatPercent / 100 + 1;
    for (double* value : {&line.ar_teljes, &line.egysar, &line.beszar, &line.osszar})
        *value = RoundHalfToEven(*value * factor);
}

std::optional<QString> DiscountProblem(double percent, const QString& caption) {
    if (std::isfinite(percent) && percent >= 0 && percent <= 100)
        return std::nullopt;
    return limit_text::Between.arg(caption, QStringLiteral("0"), QStringLiteral("100"));
}

std::optional<QString> LineProblem(const LineRecord& line) {
    if (auto problem = DiscountProblem(line.kedv_kap, QStringLiteral("Kapott kedv%")))
        return problem;
    return DiscountProblem(line.kedv_ad, QStringLiteral("Adott kedv%"));
}

QString SaveLineSql(int sheet, int line, const LineRecord& r) {
    const bool isNew = line < 0;
    const QStringList arguments{QString::number(isNew ? sheet : line),
                                QString::number(r.tetel),
                                Number(r.db),
                                Number(r.egysar),
                                Number(r.beszar),
                                Number(r.kedv_kap),
                                Number(r.kedv_ad),
                                Number(r.ar_teljes),
                                SqlStr(r.megjegyzes),
                                SqlStr(r.egyeb)};
    return (isNew ? QStringLiteral("CALL sp_munkalap_ujsor(")
                  : QStringLiteral("CALL sp_munkalap_szerkesztsor(")) +
           arguments.join(QLatin1Char(',')) + QStringLiteral(");");
}

QString RemarkListSql(int item) {
    return QStringLiteral("SELECT DISTINCT megjegyzes FROM munkalap_tetel WHERE tetel = ") +
           QString::number(item) + QLatin1Char(';');
}

std::optional<LineRecord> StartLineEdit(qlonglong sheet, RowKey line, int programType) {
    if (line) {
        const std::optional<LineSource> stored = ReadStoredLine(int(*line));
        if (!stored) {
            ShowSheetRefusal(worksheet_text::LineDeletedMeanwhile);
            return std::nullopt;
        }
        return StoredLineRecord(*stored);
    }
    const RowKey item = ChooseCatalogueItem(std::nullopt, true).key;
    if (!item)
        return std::nullopt;
    const std::optional<LineSource> source = ReadCatalogueItem(int(*item));
    if (!source)
        return std::nullopt;
    return NewLineRecord(*source, CustomerDiscount(int(sheet)), programType);
}

bool ChangeLineItem(LineRecord& line) {
    const ChosenRow item = ChooseCatalogueItem(KeyOf(line.tetel), true);
    if (!item.key)
        return false;
    line.tetel = int(*item.key);
    line.tetel_nev = item.name;
    line.tetel_kod = QueryStr(QStringLiteral("SELECT tetel_kod FROM tetel WHERE tetel = ") +
                              QString::number(*item.key) + QLatin1Char(';'));
    return true;
}

bool SameStoredValues(const LineRecord& a, const LineRecord& b) {
    return a.tetel == b.tetel && a.db == b.db && a.egysar == b.egysar && a.beszar == b.beszar &&
           a.kedv_kap == b.kedv_kap && a.kedv_ad == b.kedv_ad && a.ar_teljes == b.ar_teljes &&
           a.megjegyzes == b.megjegyzes && a.egyeb == b.egyeb;
}

SheetWrite SaveLine(int sheet, int line, const LineRecord& record, const std::optional<LineRecord>& read) {
    if (line >= 0 && !read)
        throw std::logic_error("SaveLine: a stored line is saved only against the values read");
    return WriteOpenSheet(sheet, [&] {
        if (line >= 0) {
            // The sheet's row is locked first (as every change of the sheet
            // does), then the line's, then compared with what was read. A
            // line gone meanwhile is left to the routine, which says so.
            SharedConnection().exec(
                QStringLiteral(
                    "SELECT munkalap_tetel FROM munkalap_tetel WHERE munkalap_tetel = %1 FOR UPDATE;")
                    .arg(line));
            const std::optional<LineSource> stored = ReadStoredLine(line);
            if (stored && !SameStoredValues(StoredLineRecord(*stored), *read))
                throw StaleRowError(StaleRowError::Reason::Changed, QStringLiteral("munkalap_tetel"));
        }
        ExecSql(SaveLineSql(sheet, line, record));
    });
}

QString LinePageCaption(int programType) {
    switch (programType) {
    case 1:
        return QStringLiteral("Klíma szerelő");
    case 2:
        return QStringLiteral("Autószerelő");
    case 3:
        return QStringLiteral("Grafika stúdió");
    case 4:
        return QStringLiteral("Gázszerelő");
    case 5:
        return QStringLiteral("Ügyfélszolgálat");
    default:
        return QStringLiteral("Tétel");
    }
}

} // namespace kml
