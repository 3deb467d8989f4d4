#include "worksheets/WorkSheetLists.h"

#include "components/Query.h"
#include "foundation/Flags.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "patterns/Palette.h"
#include "records/Catalogue.h"
#include "records/CustomerWindows.h"
#include "records/TextWindows.h"
#include "worksheets/WorkSheetStatus.h"
#include "worksheets/WorkSheetWindows.h"

namespace kml {
namespace {

bool FlagAt(const Query& query, int row, const char* field) {
    return IsFlagSet(ValueAt(query, row, QLatin1String(field)));
}

RowColouring WorkSheetColouring(bool sentMark) {
    RowColouring colouring;
    colouring.style = [sentMark](const Query& query, int row, bool selected) {
        return WorkSheetRowStyle(ValueAt(query, row, QStringLiteral("statusz")).toInt(),
                                 FlagAt(query, row, "storno"), FlagAt(query, row, "kuldve"), sentMark,
                                 selected);
    };
    colouring.reach = ColourReach::RowOnly;
    colouring.icon = FlagPictures(QStringLiteral("fizetve"), CellIcon::Paid, CellIcon::Unpaid);
    return colouring;
}

MainGridDefinition Grid(const char* name, std::vector<GridColumn> columns) {
    MainGridDefinition grid;
    grid.name = QLatin1String(name);
    grid.columns = std::move(columns);
    return grid;
}

// The key of a list's current row when it is a real row (never 0).
RowKey CurrentRealKey(const ListController& list) {
    const std::optional<qlonglong> key = list.currentKey();
    return key && *key > 0 ? key : std::nullopt;
}

// A work-sheet type chosen for a new sheet; nothing when none was.
RowKey ChosenSheetType() {
    return ChooseWorkSheetType(std::nullopt, true).key;
}

// The current work sheet as its row in the list shows it.
SeenSheet SheetAsListed(const ListController& list, qlonglong sheet) {
    SeenSheet seen;
    seen.sheet = sheet;
    seen.status = list.currentValue(QStringLiteral("statusz")).toInt();
    seen.cancelled = list.currentValue(QStringLiteral("storno")).toString() == QLatin1String("I");
    seen.paid = list.currentValue(QStringLiteral("fizetve")).toString() == QLatin1String("I");
    seen.invoiceNumber = list.currentValue(QStringLiteral("szlaszam")).toString();
    return seen;
}

// A flow on the current work sheet, from what its row shows; the list is
// read again after it (which also reads its employees and lines again).
void OnCurrentSheet(MainContext& main, SheetFlow (*flow)(const SeenSheet& seen)) {
    ListController& list = main.list(MainTab::WorkSheets);
    if (const std::optional<qlonglong> sheet = CurrentRealKey(list))
        if (ListNeedsReading(flow(SheetAsListed(list, *sheet))))
            list.reread();
}

// aUj on the work-sheet tab: the customer service chooses the customer
// first; then the type; a quotation on the "Árajánlat" status tab.
void NewWorkSheet(MainContext& main) {
    RowKey customer;
    if (Beall().prgtipus == 5) {
        customer = ChooseCustomer(std::nullopt, true);
        if (!customer)
            return;
    }
    const RowKey type = ChosenSheetType();
    if (!type)
        return;
    const RowKey sheet =
        EditWorkSheet(std::nullopt, customer, type, main.statusTab() == QuotationStatusTab, std::nullopt);
    // Read again even when cancelled: a printed new sheet stays.
    main.list(MainTab::WorkSheets).reread(sheet);
}

// aMLapNeki: a new sheet for the current customer, or for the current device
// and its customer.
void NewWorkSheetFor(MainContext& main) {
    ListController& list = main.currentList();
    const std::optional<qlonglong> key = CurrentRealKey(list);
    if (!key)
        return;
    const bool onDevice = main.currentTab() == MainTab::Devices;
    const RowKey customer = onDevice ? KeyOf(list.currentValue(QStringLiteral("ugyfel"))) : key;
    const RowKey type = ChosenSheetType();
    if (!type)
        return;
    EditWorkSheet(std::nullopt, customer, type, false, onDevice ? key : std::nullopt);
    if (onDevice)
        list.reread();
    else
        main.detail(MainDetail::CustomerDevices).reread();
}

// aMLapKeszulek: a new sheet for the current customer and the device chosen
// in the customer's device panel (the editor asks for one when none is).
void NewWorkSheetForPanelDevice(MainContext& main) {
    const std::optional<qlonglong> customer = CurrentRealKey(main.list(MainTab::Customers));
    if (!customer)
        return;
    ListController& devices = main.detail(MainDetail::CustomerDevices);
    const std::optional<qlonglong> device = CurrentRealKey(devices);
    const RowKey type = ChosenSheetType();
    if (!type)
        return;
    EditWorkSheet(std::nullopt, customer, type, false, device);
    devices.reread();
}

// aTorolDolgozo: the employee chosen in the sheet's employees panel
// unlinked (none chosen: the names are only rebuilt).
void RemoveEmployeeOfPanel(MainContext& main) {
    ListController& list = main.list(MainTab::WorkSheets);
    const std::optional<qlonglong> sheet = CurrentRealKey(list);
    if (!sheet)
        return;
    if (ListNeedsReading(RemoveSheetEmployee(SheetAsListed(list, *sheet),
                                             CurrentRealKey(main.detail(MainDetail::SheetEmployees)))))
        list.reread();
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
    d.searchFields =
        QStringLiteral("panasz;vegzett_munka;megjegyzes;CONVERT(munkalapstr USING latin2);"
                       "mlaptipus_nev;CONVERT(DATE_FORMAT(datum,'%Y.%m.%d') USING latin2);"
                       "CONVERT(DATE_FORMAT(dat_hatid,'%Y.%m.%d') USING latin2);"
                       "CONVERT(tipusstr2 USING latin2);"
                       "CONVERT(DATE_FORMAT(dat_kesz,'%Y.%m.%d') USING latin2);ugyfel_nev;telefon;"
                       "CONVERT(irszvaroscim USING latin2);statusz_nev;CONVERT(tipusstr USING latin2);"
                       "gysz");
    d.keyField = QStringLiteral("munkalap");
    // The status tabs' conditions test only the status, which the search
    // table holds as well.
    d.searchIndex = {QStringLiteral("munkalap_kereses"), d.keyField, d.searchFields, true, true};
    d.orderExpression = &WorkSheetOrder;
    d.colouring = WorkSheetColouring(false);
    // "Szerkeszt": the editor itself refuses a cancelled sheet.
    d.hooks.edit = [](ListController& list, qlonglong sheet) {
        return EditWorkSheet(sheet, std::nullopt, KeyOf(list.currentValue(QStringLiteral("mlaptipus"))),
                             false, std::nullopt);
    };
    // "Töröl" cancels the sheet; it stays in the list, coloured as cancelled.
    d.hooks.remove = [](ListController& list, qlonglong sheet) {
        return ListNeedsReading(CancelSheet(SheetAsListed(list, sheet)));
    };
    // Refreshing recalculates the current work sheet's amounts from its lines.
    d.hooks.refresh = [](ListController& list) {
        if (const std::optional<qlonglong> sheet = CurrentRealKey(list))
            ExecSql(RecalculateWorkSheetSql(*sheet));
    };

    MainGridDefinition types14 = Grid(
        "DBGrid2", {ColumnOf("munkalapstr", "Munkalap", 8), ColumnOf("mlaptipus_nev", "Munkalap típusa", 10),
                    ColumnOf("datum", "Beérkezett", 8), ColumnOf("ugyfel_nev", "Ügyfél", 16),
                    ColumnOf("irszvaroscim", "Cím", 16), ColumnOf("tipusstr", "Típus", 12),
                    ColumnOf("hatidstr", "Kezdés", 10), ColumnOf("ar_teljes", "Teljes ár", 8),
                    ColumnOf("dolgozostr", "Dolgozók", 8), ColumnOf("fizetve", "Fiz?", 4)});
    types14.programTypes = {1, 4};
    MainGridDefinition type2 =
        Grid("DBGrid22", {ColumnOf("munkalapstr", "Munkalap", 8), ColumnOf("datum", "Beérkezett", 8),
                          ColumnOf("statusz_nev", "Státusz", 9), ColumnOf("ugyfel_nev", "Ügyfél", 18),
                          ColumnOf("tipusstr2", "Típus", 22), ColumnOf("kmora", "Km óra", 7),
                          ColumnOf("ar_teljes", "Teljes ár", 9), ColumnOf("dolgozostr", "Dolgozók", 15),
                          ColumnOf("fizetve", "Fiz?", 4)});
    type2.programTypes = {2};
    type2.colouring = WorkSheetColouring(true);
    MainGridDefinition types35 =
        Grid("DBGrid23", {ColumnOf("munkalapstr", "Munkalap", 8), ColumnOf("datum", "Beérkezett", 8),
                          ColumnOf("mlaptipus_nev", "Munkalap típusa", 12),
                          ColumnOf("statusz_nev", "Státusz", 10), ColumnOf("ugyfel_nev", "Ügyfél", 20),
                          ColumnOf("hatidstr", "Kezdés", 11), ColumnOf("ar_teljes", "Teljes ár", 9),
                          ColumnOf("dolgozostr", "Dolgozók", 18), ColumnOf("fizetve", "Fiz?", 4)});
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
    MainGridDefinition grid = Grid("DBGrid4", {ColumnOf("dolgozo_nev", "Dolgozók", 100)});
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
    d.colouring.style = &ServiceLineStyle;
    d.colouring.reach = ColourReach::TextEverywhere;
    MainGridDefinition grid =
        Grid("DBGrid6", {ColumnOf("tetel_nev", "Tétel", 15), ColumnOf("megjegyzes", "Megjegyzés", 10),
                         ColumnOf("egyeb", "Gyári cikkszám", 12), ColumnOf("db", "Mennyiség", 9),
                         ColumnOf("ar_teljes", "Teljes ár", 8), ColumnOf("kedv_kap", "Kapott kedv.%", 11),
                         ColumnOf("beszar", "Besz.ár", 7), ColumnOf("kedv_ad", "Adott kedv.%", 10),
                         ColumnOf("egysar", "Egységár", 9), ColumnOf("osszar", "Össz ár", 9)});
    grid.sortable = false;
    // The shown columns share the grid's width; the car workshop's ten are the
    // design's, the other trades hide four.
    grid.sharesFor = [](int programType) {
        return HiddenItemColumns(programType).isEmpty()
                   ? std::vector<int>{15, 10, 12, 9, 8, 11, 7, 10, 9, 9}
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
    MainGridDefinition grid = Grid("DBGrid7", {ColumnOf("dolgozo_nev", "Dolgozó", 100)});
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
    return {ColumnOf("ora2", "Idő", 8), ColumnOf("szoveg", "Előjegyzés", 40),
            ColumnOf("munkalapstr", "Munkalap", 12), ColumnOf("ugyfelstr", "Ügyfél", 20),
            ColumnOf("keszulekstr", "Készülék", 20)};
}

void RegisterWorkSheetRoutes(MainRoutes& routes) {
    routes.setList(MainTab::WorkSheets, WorkSheetTabList());
    routes.setList(MainTab::Planner, PlannerTabList());
    routes.setDetail(MainDetail::SheetEmployees, SheetEmployeesList(),
                     {MainTab::WorkSheets, &WorkSheetDetailCondition, QStringLiteral("aMLapDolgozo")});
    routes.setDetail(MainDetail::SheetLines, SheetLinesList(),
                     {MainTab::WorkSheets, &WorkSheetDetailCondition, QStringLiteral("aMLapTetel")});

    routes.on(QStringLiteral("aUj"), MainTab::WorkSheets, &NewWorkSheet);
    routes.on(QStringLiteral("aStatusz"), MainTab::WorkSheets,
              [](MainContext& main) { OnCurrentSheet(main, &AdvanceStatus); });
    routes.on(QStringLiteral("aKesz"), MainTab::WorkSheets,
              [](MainContext& main) { OnCurrentSheet(main, &MarkReady); });
    routes.on(QStringLiteral("aKifizet"), MainTab::WorkSheets,
              [](MainContext& main) { OnCurrentSheet(main, &TogglePayment); });
    routes.on(QStringLiteral("aUjDolgozo"), MainTab::WorkSheets,
              [](MainContext& main) { OnCurrentSheet(main, &AddSheetEmployee); });
    routes.on(QStringLiteral("aTorolDolgozo"), MainTab::WorkSheets, &RemoveEmployeeOfPanel);
    routes.on(QStringLiteral("aMLapNeki"), MainTab::Customers, &NewWorkSheetFor);
    routes.on(QStringLiteral("aMLapNeki"), MainTab::Devices, &NewWorkSheetFor);
    routes.on(QStringLiteral("aMLapKeszulek"), MainTab::Customers, &NewWorkSheetForPanelDevice);
}

} // namespace kml
