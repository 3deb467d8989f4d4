#include "worksheets/WorkSheetBrowsers.h"

#include "components/Query.h"
#include "exchange/DatasetExport.h"
#include "foundation/Conversions.h"
#include "foundation/DateHelpers.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "reports/PeriodReports.h"
#include "reports/WorkSheetPrint.h"

namespace kml {

QString SameDeviceCondition(int device) {
    const QString n = QString::number(device);
    // The serial number or plate (gysz) and the second number (gysz2, a
    // car's chassis number) each find the device's other registrations;
    // empty numbers find nothing.
    const auto twins = [&n](const char* column) {
        return QStringLiteral(
                   "keszulek IN (SELECT t.keszulek FROM keszulek s JOIN keszulek t ON (t.%1 = s.%1) "
                   "WHERE s.keszulek = %2 AND TRIM(s.%1) <> '')")
            .arg(QLatin1String(column), n);
    };
    return QStringLiteral("(keszulek = ") + n + QStringLiteral(" OR ") + twins("gysz") +
           QStringLiteral(" OR ") + twins("gysz2") + u')';
}

QString SheetBrowserCondition(int customer, int device) {
    if (customer == -1 && device != -1)
        return QStringLiteral("(1 = 1) AND ") + SameDeviceCondition(device);
    QString condition = customer == -1 ? QStringLiteral("(1 = 1)")
                                       : QStringLiteral("(ugyfel = ") + QString::number(customer) + u')';
    if (device != -1)
        condition += QStringLiteral(" AND (keszulek = ") + QString::number(device) + u')';
    return condition;
}

QString SheetBrowserHeading(int customer) {
    if (customer == -1)
        return browser_text::SheetsCaption + QStringLiteral("  ");
    return LookupName(customer, QStringLiteral("ugyfel")) + QStringLiteral("  ");
}

RowStyle SheetBrowserRowStyle(const QVariant& status, const QVariant& cancelled) {
    RowStyle style;
    const int s = VarInt(status);
    if (s == 2)
        style.background = StartedSheetColor;
    else if (s == 3)
        style.background = ReadySheetColor;
    if (cancelled.toString() == u"I") {
        style.background = CancelledSheetColor;
        style.foreground = CancelledSheetText;
    }
    return style;
}

ListDefinition SheetBrowserDefinition(int customer, int device) {
    ListDefinition d;
    d.name = QStringLiteral("frm_MunkalapBongeszo");
    d.caption = browser_text::SheetsCaption;
    d.heading = SheetBrowserHeading(customer);
    d.sql = QStringLiteral("SELECT * FROM vw_munkalap\nWHERE munkalap = 0\nORDER BY 1;");
    d.baseCondition = SheetBrowserCondition(customer, device);
    d.sortField = QStringLiteral("munkalapstr");
    d.searchFields =
        QStringLiteral("CONVERT(munkalapstr USING latin2);ugyfel_nev;CONVERT(irszvaroscim USING latin2);"
                       "CONVERT(tipusstr USING latin2);CONVERT(dolgozostr USING latin2);statusz_nev;"
                       "CONVERT(DATE_FORMAT(datum,'%Y.%m.%d') USING "
                       "latin2);CONVERT(DATE_FORMAT(dat_kesz,'%Y.%m.%d') USING latin2)");
    d.keyField = QStringLiteral("munkalap");
    d.nameField = QStringLiteral("munkalapstr");
    d.columns = {ColumnOf("munkalapstr", "Munkalap", 10),  ColumnOf("datum", "Dátum", 10),
                 ColumnOf("ugyfel_nev", "Ügyfél", 20),     ColumnOf("tipusstr", "Típus", 15),
                 ColumnOf("ar_ossz", "Teljes ár", 10),     ColumnOf("ar_fizetendo", "Ebből utólag", 10),
                 ColumnOf("dolgozostr", "Dolgozó(k)", 15), ColumnOf("statusz_nev", "Státusz", 10)};
    d.widthReserve = 44;
    d.colouring.style = [](const Query& q, int row, bool selected) {
        if (selected)
            return RowStyle{};
        return SheetBrowserRowStyle(ValueAt(q, row, QStringLiteral("statusz")),
                                    ValueAt(q, row, QStringLiteral("storno")));
    };
    d.colouring.reach = ColourReach::RowOnly;
    d.actions = {QString(), QString(), QString(), QString(), QString()};
    d.size = QSize(900, 500);
    return d;
}

QString ItemHistoryCondition(int device) {
    return QStringLiteral("(munkalap.keszulek=") + QString::number(device) + u')';
}

QString ItemHistoryHeading(int device) {
    return browser_text::ItemsCaption + QStringLiteral("  ") + QStringLiteral(" - ") +
           QueryStr(QStringLiteral("SELECT gysz FROM keszulek WHERE keszulek = ") + QString::number(device) +
                    u';');
}

ListDefinition ItemHistoryDefinition(int device) {
    ListDefinition d;
    d.name = QStringLiteral("frm_MunkalapBongeszo2");
    d.caption = browser_text::ItemsCaption;
    d.heading = ItemHistoryHeading(device);
    // The lines of one sheet stay together, in their own order, so that
    // the bands follow the sheets. szin counts the device's earlier sheets
    // (with lines or without), numbered once for the device rather than
    // counted again for every line.
    d.sql = QStringLiteral("SELECT\n"
                           " munkalap.munkalap,\n"
                           " munkalap.keszulek,\n"
                           " CONCAT(LPAD(munkalap.munkalap,5,'0'), mlaptipus.betujel) munkalapstr,\n"
                           " munkalap.datum,\n"
                           " tetel.tetel_kod,\n"
                           " tetel.cikkszam,\n"
                           " tetel.tetel_nev,\n"
                           " munkalap_tetel.db,\n"
                           " munkalap_tetel.ar_teljes,\n"
                           " sorszam.szin\n"
                           "FROM munkalap\n"
                           " JOIN (SELECT munkalap, ROW_NUMBER() OVER (ORDER BY munkalap) - 1 szin FROM "
                           "munkalap WHERE keszulek = %1)"
                           " sorszam ON (sorszam.munkalap = munkalap.munkalap)\n"
                           " JOIN mlaptipus ON (munkalap.mlaptipus = mlaptipus.mlaptipus)\n"
                           " JOIN munkalap_tetel ON (munkalap.munkalap = munkalap_tetel.munkalap)\n"
                           " JOIN tetel ON (munkalap_tetel.tetel = tetel.tetel)\n"
                           "WHERE munkalap.keszulek = 0\n"
                           "ORDER BY munkalap.munkalap, munkalap_tetel.munkalap_tetel;")
                .arg(device);
    d.baseCondition = ItemHistoryCondition(device);
    d.sortField = QStringLiteral("munkalapstr");
    d.searchFields = QStringLiteral(
        "CONVERT(CONCAT(LPAD(munkalap.munkalap,5,'0'), mlaptipus.betujel) USING latin2);tetel_kod;cikkszam;"
        "tetel_nev");
    d.titleClickSorts = false;
    d.columns = {ColumnOf("munkalapstr", "Munkalap", 15), ColumnOf("datum", "Dátum", 15),
                 ColumnOf("tetel_kod", "Tétel kód", 15),  ColumnOf("cikkszam", "Cikkszám", 10),
                 ColumnOf("tetel_nev", "Tétel neve", 25), ColumnOf("db", "Mennyiség", 10),
                 ColumnOf("ar_teljes", "Teljes ár", 10)};
    d.widthReserve = 44;
    d.colouring.style = [](const Query& q, int row, bool selected) {
        RowStyle style;
        if (!selected && VarInt(ValueAt(q, row, QStringLiteral("szin"))) % 2 == 1)
            style.background = ItemBandColor;
        return style;
    };
    d.actions = {QString(), QString(), QString(), QString(), QString()};
    d.size = QSize(900, 500);
    return d;
}

void PrintFromSheetBrowser(int sheet, const Query& list) {
    const int choice = AskRadio(0, browser_text::PrintChoices, browser_text::PrintCaption);
    if (choice == 0) {
        PrintWorkSheet(sheet, false);
    } else if (choice == 1) {
        if (!RequireRight(Beall().nyomtathat))
            return;
        const QDate today = QDate::currentDate();
        PrintWorkSheetList(SheetListGrouping::ByType, list.statement(), Period{today, today});
    }
}

void ExportItemHistory(Query& list) {
    if (!RequireRight(Beall().excelbe))
        return;
    ExportDataset(list, QString());
}

} // namespace kml
