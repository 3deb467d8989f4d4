#include "worksheets/WorkSheetLists.h"

#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "patterns/ListController.h"
#include "patterns/Palette.h"

namespace kml {
namespace {

bool FlagAt(const Query& query, int row, const char* field) {
    return ValueAt(query, row, QLatin1String(field)).toString() == QLatin1String("I");
}

RowColouring WorkSheetColouring(bool sentMark) {
    RowColouring colouring;
    colouring.style = [sentMark](const Query& query, int row, bool selected) {
        return WorkSheetRowStyle(ValueAt(query, row, QStringLiteral("statusz")).toInt(), FlagAt(query, row, "storno"),
                                 FlagAt(query, row, "kuldve"), sentMark, selected);
    };
    colouring.reach = ColourReach::RowOnly;
    colouring.icon = FlagPictures(QStringLiteral("fizetve"), CellIcon::Paid, CellIcon::Unpaid);
    return colouring;
}

} // namespace

QStringList StatusTabCaptions() {
    return {QStringLiteral("Folyamatban"), QStringLiteral("Összes"),     QStringLiteral("Beérkezett"),
            QStringLiteral("Megkezdve"),   QStringLiteral("Készen van"), QStringLiteral("Számlázva"),
            QStringLiteral("Árajánlat")};
}

QString StatusTabCondition(int statusTab) {
    switch (statusTab) {
    case 1:
        return QStringLiteral("(statusz > 0)");
    case 2:
    case 3:
    case 4:
    case 5:
        return QStringLiteral("(statusz = ") + QString::number(statusTab - 1) + QLatin1Char(')');
    case QuotationStatusTab:
        return QStringLiteral("(statusz = 0)");
    default:
        return QStringLiteral("(statusz BETWEEN 1 AND 2)");
    }
}

bool ReadyActionOnStatusTab(int statusTab) {
    return statusTab != QuotationStatusTab;
}

QString WorkSheetOrder(const QString& field) {
    if (field.compare(QLatin1String("munkalapstr"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("munkalap DESC");
    return field + QStringLiteral(",munkalap");
}

QString WorkSheetDetailCondition(qlonglong workSheet) {
    return QStringLiteral("munkalap = ") + QString::number(workSheet);
}

QString WorkSheetTotalsCondition(qlonglong workSheet) {
    return WorkSheetDetailCondition(workSheet) + QLatin1Char(';');
}

QString RecalculateWorkSheetSql(qlonglong workSheet) {
    return QStringLiteral("CALL sp_arbeallit(") + QString::number(workSheet) + QStringLiteral(");");
}

RowStyle WorkSheetRowStyle(int statusz, bool storno, bool kuldve, bool sentMark, bool selected) {
    RowStyle style;
    if (selected)
        return style;
    switch (statusz) {
    case 2:
        style.background = palette::Started;
        break;
    case 3:
        style.background = palette::Ready;
        break;
    case 4:
        style.background = palette::Invoiced;
        break;
    default:
        break;
    }
    if (storno) {
        style.background = palette::WarningBack;
        style.foreground = palette::CancelledText;
    }
    if (sentMark && kuldve) {
        style.background = palette::Sent;
        style.foreground = QColor(Qt::black);
    }
    return style;
}

RowStyle ItemRowStyle(bool serviceLine, bool selected) {
    RowStyle style;
    if (serviceLine && !selected) {
        style.background = palette::Started;
        style.foreground = palette::BlueText;
    }
    return style;
}

QStringList ItemColumnFields() {
    return {QStringLiteral("tetel_nev"), QStringLiteral("megjegyzes"), QStringLiteral("egyeb"),
            QStringLiteral("db"),        QStringLiteral("ar_teljes"),  QStringLiteral("kedv_kap"),
            QStringLiteral("beszar"),    QStringLiteral("kedv_ad"),    QStringLiteral("egysar"),
            QStringLiteral("osszar")};
}

QStringList HiddenItemColumns(int programType) {
    if (programType == 2)
        return {};
    return {QStringLiteral("egyeb"), QStringLiteral("kedv_kap"), QStringLiteral("beszar"),
            QStringLiteral("kedv_ad")};
}

MainListRoute WorkSheetTabList() {
    MainListRoute route;
    ListDefinition& d = route.list;
    d.sql = QStringLiteral("SELECT * FROM vw_munkalap\nWHERE munkalap <> 0\nORDER BY 1 DESC;");
    d.baseCondition = StatusTabCondition(0);
    d.sortField = QStringLiteral("munkalapstr");
    d.searchFields = QStringLiteral(
        "panasz;vegzett_munka;megjegyzes;CONVERT(munkalapstr USING latin2);"
        "mlaptipus_nev;CONVERT(DATE_FORMAT(datum,'%Y.%m.%d') USING latin2);"
        "CONVERT(DATE_FORMAT(dat_hatid,'%Y.%m.%d') USING latin2);"
        "CONVERT(tipusstr2 USING latin2);"
        "CONVERT(DATE_FORMAT(dat_kesz,'%Y.%m.%d') USING latin2);ugyfel_nev;telefon;"
        "CONVERT(irszvaroscim USING latin2);statusz_nev;CONVERT(tipusstr USING latin2);"
        "gysz");
    d.keyField = QStringLiteral("munkalap");
    // The status tabs' conditions test only the status, which the search
    // table holds as well.
    d.searchIndex = {QStringLiteral("munkalap_kereses"), d.keyField, d.searchFields, true};
    d.orderExpression = &WorkSheetOrder;
    d.colouring = WorkSheetColouring(false);
    // Refreshing recalculates the current work sheet's amounts from its lines.
    d.hooks.refresh = [](ListController& list) {
        if (const std::optional<qlonglong> sheet = list.currentKey())
            ExecSql(RecalculateWorkSheetSql(*sheet));
    };

    MainGridDefinition types14{QStringLiteral("DBGrid2"),
                               {ColumnOf("munkalapstr", "Munkalap", 8), ColumnOf("mlaptipus_nev", "Munkalap típusa", 10),
                                ColumnOf("datum", "Beérkezett", 8), ColumnOf("ugyfel_nev", "Ügyfél", 16),
                                ColumnOf("irszvaroscim", "Cím", 16), ColumnOf("tipusstr", "Típus", 12),
                                ColumnOf("hatidstr", "Kezdés", 10), ColumnOf("ar_teljes", "Teljes ár", 8),
                                ColumnOf("dolgozostr", "Dolgozók", 8), ColumnOf("fizetve", "Fiz?", 4)}};
    types14.programTypes = {1, 4};
    MainGridDefinition type2{QStringLiteral("DBGrid22"),
                             {ColumnOf("munkalapstr", "Munkalap", 8), ColumnOf("datum", "Beérkezett", 8),
                              ColumnOf("statusz_nev", "Státusz", 9), ColumnOf("ugyfel_nev", "Ügyfél", 18),
                              ColumnOf("tipusstr2", "Típus", 22), ColumnOf("kmora", "Km óra", 7),
                              ColumnOf("ar_teljes", "Teljes ár", 9), ColumnOf("dolgozostr", "Dolgozók", 15),
                              ColumnOf("fizetve", "Fiz?", 4)}};
    type2.programTypes = {2};
    type2.colouring = WorkSheetColouring(true);
    MainGridDefinition types35{QStringLiteral("DBGrid23"),
                               {ColumnOf("munkalapstr", "Munkalap", 8), ColumnOf("datum", "Beérkezett", 8),
                                ColumnOf("mlaptipus_nev", "Munkalap típusa", 12), ColumnOf("statusz_nev", "Státusz", 10),
                                ColumnOf("ugyfel_nev", "Ügyfél", 20), ColumnOf("hatidstr", "Kezdés", 11),
                                ColumnOf("ar_teljes", "Teljes ár", 9), ColumnOf("dolgozostr", "Dolgozók", 18),
                                ColumnOf("fizetve", "Fiz?", 4)}};
    types35.programTypes = {3, 5};
    route.grids = {types14, type2, types35};
    return route;
}

MainListRoute SheetEmployeesList() {
    MainListRoute route;
    ListDefinition& d = route.list;
    d.sql = QStringLiteral("SELECT * FROM vw_munkalap_dolgozo\nWHERE munkalap = 0\nORDER BY dolgozo_nev;");
    d.baseCondition = WorkSheetDetailCondition(0);
    d.sortField = QStringLiteral("dolgozo_nev");
    d.keyField = QStringLiteral("dolgozo");
    MainGridDefinition grid{QStringLiteral("DBGrid4"), {ColumnOf("dolgozo_nev", "Dolgozók", 100)}};
    grid.sortable = false;
    route.grids = {grid};
    return route;
}

MainListRoute SheetLinesList() {
    MainListRoute route;
    ListDefinition& d = route.list;
    d.sql = QStringLiteral("SELECT * FROM vw_munkalap_tetel\nWHERE munkalap = 0\nORDER BY munkalap_tetel;");
    d.baseCondition = WorkSheetDetailCondition(0);
    d.keyField = QStringLiteral("munkalap_tetel");
    d.colouring.style = [](const Query& query, int row, bool selected) {
        return ItemRowStyle(FlagAt(query, row, "ezszolg"), selected);
    };
    d.colouring.reach = ColourReach::TextEverywhere;
    MainGridDefinition grid{QStringLiteral("DBGrid6"),
                            {ColumnOf("tetel_nev", "Tétel", 15), ColumnOf("megjegyzes", "Megjegyzés", 10),
                             ColumnOf("egyeb", "Gyári cikkszám", 12), ColumnOf("db", "Mennyiség", 9),
                             ColumnOf("ar_teljes", "Teljes ár", 8), ColumnOf("kedv_kap", "Kapott kedv.%", 11),
                             ColumnOf("beszar", "Besz.ár", 7), ColumnOf("kedv_ad", "Adott kedv.%", 10),
                             ColumnOf("egysar", "Egységár", 9), ColumnOf("osszar", "Össz ár", 9)}};
    grid.sortable = false;
    // The shown columns share the grid's width; the car workshop's ten are the
    // design's, the other trades hide four.
    grid.sharesFor = [](int programType) {
        return HiddenItemColumns(programType).isEmpty() ? std::vector<int>{15, 10, 12, 9, 8, 11, 7, 10, 9, 9}
                                                        : std::vector<int>{30, 25, 0, 10, 12, 0, 0, 0, 11, 12};
    };
    route.grids = {grid};
    return route;
}

MainListRoute PlannerTabList() {
    MainListRoute route;
    ListDefinition& d = route.list;
    d.sql = QStringLiteral("SELECT * FROM dolgozo\nWHERE torolve = 'N'\nORDER BY dolgozo_nev;");
    d.baseCondition = QStringLiteral("torolve = 'N'");
    d.sortField = QStringLiteral("dolgozo_nev");
    d.searchFields = QStringLiteral("dolgozo_nev");
    d.keyField = QStringLiteral("dolgozo");
    MainGridDefinition grid{QStringLiteral("DBGrid7"), {ColumnOf("dolgozo_nev", "Dolgozó", 100)}};
    grid.sortable = false;
    route.grids = {grid};
    return route;
}

std::vector<GridColumn> DeviceHistoryColumns() {
    return {ColumnOf("munkalapstr", "Munkalap", 9), ColumnOf("mlaptipus_nev", "Munkalap típusa", 12),
            ColumnOf("datum", "Dátum", 9),          ColumnOf("dat_kesz", "Elkészült", 9),
            ColumnOf("ar_ossz", "Össz ár", 9),      ColumnOf("ar_kedvezmeny", "Kedvezmény", 9),
            ColumnOf("dolgozostr", "Dolgozók", 16), ColumnOf("szlaszam", "Számlaszám", 13),
            ColumnOf("statusz_nev", "Státusz", 14)};
}

std::vector<GridColumn> PlannerSlotColumns() {
    return {ColumnOf("ora2", "Idő", 8), ColumnOf("szoveg", "Előjegyzés", 40), ColumnOf("munkalapstr", "Munkalap", 12),
            ColumnOf("ugyfelstr", "Ügyfél", 20), ColumnOf("keszulekstr", "Készülék", 20)};
}

void RegisterWorkSheetRoutes(MainRoutes& routes) {
    routes.setList(MainTab::WorkSheets, WorkSheetTabList());
    routes.setList(MainTab::Planner, PlannerTabList());
    routes.setDetail(MainDetail::SheetEmployees, SheetEmployeesList());
    routes.setDetail(MainDetail::SheetLines, SheetLinesList());
}

} // namespace kml
