#include "reports/PeriodReports.h"

#include "components/Query.h"
#include "components/report/RowSource.h"
#include "exchange/DatasetExport.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "reports/ReportWindows.h"

namespace kml {

// ---- Presets ----------------------------------------------------------------

QString PresetCaption(PeriodPreset preset) {
    switch (preset) {
    case PeriodPreset::ThisWeek:
        return QStringLiteral("Ez a hét");
    case PeriodPreset::ThisMonth:
        return QStringLiteral("Ez a hónap");
    case PeriodPreset::LastMonth:
        return QStringLiteral("Múlt hónap");
    case PeriodPreset::ThisYear:
        return QStringLiteral("Idén");
    case PeriodPreset::Today:
        return QStringLiteral("Csak a mai nap");
    case PeriodPreset::LastYear:
        return QStringLiteral("Tavaly");
    }
    return {};
}

namespace {

Period WholeMonth(const QDate& day) {
    const QDate first(day.year(), day.month(), 1);
    return {first, first.addDays(first.daysInMonth() - 1)};
}

Period WholeYear(int year) {
    return {QDate(year, 1, 1), QDate(year, 12, 31)};
}

} // namespace

Period PresetPeriod(PeriodPreset preset, const QDate& today) {
    switch (preset) {
    case PeriodPreset::ThisWeek: {
        // The ISO week is counted from its Monday; around New Year that
        // Monday or the Sunday after it may fall into the other year.
        const QDate monday = today.addDays(1 - today.dayOfWeek());
        return {monday, monday.addDays(6)};
    }
    case PeriodPreset::ThisMonth:
        return WholeMonth(today);
    case PeriodPreset::LastMonth:
        return WholeMonth(QDate(today.year(), today.month(), 1).addMonths(-1));
    case PeriodPreset::ThisYear:
        return WholeYear(today.year());
    case PeriodPreset::Today:
        return {today, today};
    case PeriodPreset::LastYear:
        return WholeYear(today.year() - 1);
    }
    return {today, today};
}

Period DefaultReportPeriod(const QDate& today) {
    return {today.addMonths(-1), today}; // addMonths clamps 31 March to the end of February
}

// ---- Queries ----------------------------------------------------------------

QString PeriodReportTitle(PeriodReport kind) {
    switch (kind) {
    case PeriodReport::WorkSheetList:
        return QStringLiteral("Munkalapok listája");
    case PeriodReport::Revenue:
        return QStringLiteral("Árbevétel");
    case PeriodReport::Profit:
        return QStringLiteral("Árbevétel - Nyereség");
    case PeriodReport::Consumption:
        return QStringLiteral("Fogyások");
    case PeriodReport::Comebacks:
        return QStringLiteral("Visszatérő javítások dolgozónként");
    }
    return {};
}

QString PeriodReportLayoutName(PeriodReport kind) {
    switch (kind) {
    case PeriodReport::WorkSheetList:
        return QStringLiteral("qrMLapLista");
    case PeriodReport::Revenue:
        return QStringLiteral("qrArbevetel");
    case PeriodReport::Profit:
        return QStringLiteral("qrNyereseg");
    case PeriodReport::Consumption:
        return QStringLiteral("qrFogyas");
    case PeriodReport::Comebacks:
        return QStringLiteral("qrVisszatero");
    }
    return {};
}

namespace {

// One half of the consumption statement: the lines of the sheets received
// in the period that were really taken in (not quotations) and not
// cancelled, summed per catalogue item. Items that share a name stay apart.
QStringList ConsumptionPart(const QString& label, const QString& from, const QString& to, bool services) {
    return {QStringLiteral("SELECT"),
            QLatin1Char(' ') + QuoteSqlText(label) + QStringLiteral(" sorrend,"),
            QStringLiteral(" tetel.tetel_kod,"),
            QStringLiteral(" tetel.tetel_nev,"),
            QStringLiteral(" SUM(munkalap_tetel.db) db,"),
            QStringLiteral(" SUM(munkalap_tetel.egysar * munkalap_tetel.db) ar"),
            QStringLiteral("FROM munkalap"),
            QStringLiteral(" JOIN munkalap_tetel ON (munkalap.munkalap = munkalap_tetel.munkalap)"),
            QStringLiteral(" JOIN tetel ON (munkalap_tetel.tetel = tetel.tetel)"),
            QStringLiteral("WHERE (munkalap.datum BETWEEN %1 AND %2) AND (munkalap.storno = 'N')"
                           " AND (munkalap.statusz >= 1) AND (tetel.ezszolg %3 'I')")
                .arg(from, to, services ? QStringLiteral("=") : QStringLiteral("<>")),
            QStringLiteral("GROUP BY tetel.tetel, tetel.tetel_kod, tetel.tetel_nev")};
}

} // namespace

void PreparePeriodQuery(Query& dataset, const PeriodReportRequest& request) {
    dataset.close();
    QStringList lines;
    switch (request.kind) {
    case PeriodReport::WorkSheetList:
        if (!request.sql.isEmpty()) {
            dataset.setSql(request.sql);
            return;
        }
        lines = {QStringLiteral("SELECT * FROM vw_munkalap"),
                 QStringLiteral("WHERE (datum BETWEEN :d1 AND :d2)"),
                 QStringLiteral("ORDER BY mlaptipus, munkalap;")};
        // Each grouping sorts by its own group key, so that a group is never
        // split: two manufacturers of the same name stay two groups.
        if (request.grouping == SheetListGrouping::ByEmployee)
            ReplaceOrderBy(lines, QStringLiteral("dolgozostr, munkalap"));
        else if (request.grouping == SheetListGrouping::ByManufacturer)
            ReplaceOrderBy(lines, QStringLiteral("gyarto_nev, gyarto, munkalap"));
        break;
    case PeriodReport::Revenue:
        lines = {QStringLiteral("SELECT * FROM vw_arbevetel"),
                 QStringLiteral("WHERE (dat BETWEEN :d1 AND :d2)"), QStringLiteral("ORDER BY 1, 2;")};
        break;
    case PeriodReport::Profit:
        lines = {QStringLiteral("SELECT * FROM vw_nyereseg"),
                 QStringLiteral("WHERE (datum BETWEEN :d1 AND :d2)"), QStringLiteral("ORDER BY munkalap;")};
        break;
    case PeriodReport::Consumption:
        lines = ConsumptionPart(QStringLiteral("Felhasznált anyagok"), QStringLiteral(":d1"),
                                QStringLiteral(":d2"), false);
        lines << QString() << QStringLiteral("UNION ALL") << QString();
        lines << ConsumptionPart(QStringLiteral("Szolgáltatások"), QStringLiteral(":d3"),
                                 QStringLiteral(":d4"), true);
        lines << QStringLiteral("ORDER BY 1, 2, 3;");
        dataset.setParam(QStringLiteral("d3"), request.period.first);
        dataset.setParam(QStringLiteral("d4"), request.period.last);
        break;
    case PeriodReport::Comebacks:
        lines = {
            QStringLiteral(
                "SELECT COALESCE(md.dolgozo, 0) dolgozo, COALESCE(NULLIF(TRIM(d.dolgozo_nev), ''), "
                "'(nincs megadva)') dolgozo_nev,"),
            QStringLiteral(" CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), "
                           "COALESCE(mt.betujel, '')) munkalapstr,"),
            QStringLiteral(" m.munkalap, m.datum, u.ugyfel_nev,"),
            QStringLiteral(" CONCAT(LEFT(LPAD(e.munkalap, GREATEST(CHAR_LENGTH(e.munkalap), 5), '0'), 10), "
                           "COALESCE(et.betujel, '')) korabbi,"),
            QStringLiteral(" 1.0 darab,"),
            QStringLiteral(
                " COALESCE((SELECT SUM(COALESCE(t.beszar, 0) * COALESCE(t.db, 0)) FROM munkalap_tetel t "
                "WHERE t.munkalap = m.munkalap), 0) koltseg"),
            QStringLiteral("FROM munkalap m"),
            QStringLiteral(" JOIN munkalap e ON (e.munkalap = m.visszatero_munkalap)"),
            QStringLiteral(" LEFT JOIN mlaptipus mt ON (mt.mlaptipus = m.mlaptipus)"),
            QStringLiteral(" LEFT JOIN mlaptipus et ON (et.mlaptipus = e.mlaptipus)"),
            QStringLiteral(" LEFT JOIN ugyfel u ON (u.ugyfel = m.ugyfel)"),
            QStringLiteral(" LEFT JOIN munkalap_dolgozo md ON (md.munkalap = e.munkalap)"),
            QStringLiteral(" LEFT JOIN dolgozo d ON (d.dolgozo = md.dolgozo)"),
            QStringLiteral("WHERE (m.datum BETWEEN :d1 AND :d2) AND (m.storno = 'N')"),
            QStringLiteral("ORDER BY dolgozo_nev, dolgozo, m.munkalap;")};
        break;
    }
    dataset.setSql(lines.join(QLatin1Char('\n')));
    dataset.setParam(QStringLiteral("d1"), request.period.first);
    dataset.setParam(QStringLiteral("d2"), request.period.last);
}

void OpenPeriodQuery(Query& dataset, const QString& moneyFormat, const QString& quantityFormat) {
    dataset.fieldSettings(QStringLiteral("db")).tag = 1; // the quantity mark
    dataset.open();
    ApplyNumberFormats(dataset, false, moneyFormat, quantityFormat);
    ShowQuantityFractions(dataset, QStringLiteral("db"));
}

report::Document MakePeriodReportDocument(const PeriodReportRequest& request, const Query& dataset,
                                          const ShopTexts& shop, const QString& moneyFormat,
                                          const QDateTime& printed) {
    const auto layout = BuildPeriodReport(request, shop, moneyFormat);
    const report::QueryRows rows(dataset);
    return report::Paginate(*layout, rows, printed);
}

// ---- Running them -----------------------------------------------------------

void RunPeriodReport(const PeriodReportRequest& request) {
    const TBeall& settings = Beall();
    Query dataset;
    PreparePeriodQuery(dataset, request);
    OpenPeriodQuery(dataset, settings.formatFt, settings.formatDb);
    const ShopTexts shop = ReadShopTexts();

    QString printer = settings.alapNyomtato; // handed back for this report only
    switch (AskPrintMode(printer)) {
    case print_choice::Preview: {
        const report::Document document = MakePeriodReportDocument(request, dataset, shop, settings.formatFt);
        ShowReportPreview(document, printer);
        break;
    }
    case print_choice::Print: {
        const report::Document document = MakePeriodReportDocument(request, dataset, shop, settings.formatFt);
        PrintReport(document, printer);
        break;
    }
    case print_choice::Export:
        // The report's rows leave the program like any list: only with the
        // export right.
        if (RequireRight(Beall().excelbe))
            ExportDataset(dataset, QString());
        break;
    default:
        break;
    }
}

void RunPeriodReportAction(PeriodReport kind, SheetListGrouping grouping) {
    Period period = DefaultReportPeriod(QDate::currentDate());
    if (!AskPeriod(period, QString()))
        return;
    PeriodReportRequest request;
    request.kind = kind;
    request.grouping = grouping;
    request.period = period;
    RunPeriodReport(request);
}

void PrintWorkSheetList(SheetListGrouping grouping, const QString& sql, const Period& period) {
    RunPeriodReport({PeriodReport::WorkSheetList, grouping, sql, period});
}

void PrintRevenueReport(const Period& period) {
    RunPeriodReport({PeriodReport::Revenue, SheetListGrouping::ByType, {}, period});
}

void PrintProfitReport(const Period& period) {
    RunPeriodReport({PeriodReport::Profit, SheetListGrouping::ByType, {}, period});
}

void PrintConsumptionReport(const Period& period) {
    RunPeriodReport({PeriodReport::Consumption, SheetListGrouping::ByType, {}, period});
}

} // namespace kml
