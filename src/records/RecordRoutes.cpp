#include "records/RecordRoutes.h"

#include "components/Query.h"
#include "foundation/Conversions.h"
#include "foundation/DateHelpers.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "patterns/ListController.h"
#include "patterns/Palette.h"
#include "patterns/RowDeletion.h"
#include "records/Catalogue.h"
#include "records/CatalogueWindows.h"
#include "records/CustomerWindows.h"
#include "records/Customers.h"
#include "records/DeletedRecords.h"
#include "records/DeviceTypes.h"
#include "records/Devices.h"
#include "records/LookupTables.h"
#include "records/TextWindows.h"
#include "records/Texts.h"
#include "records/TypeWindows.h"

namespace kml {
namespace {

// aUgyfelAdatlap: the customer of the current row in the editor; the list is
// read again (on the customer tab also moved to the customer saved).
void EditCustomerOfRow(MainContext& main) {
    ListController& list = main.currentList();
    const RowKey customer = KeyOf(list.currentValue(QStringLiteral("ugyfel")));
    if (!customer)
        return;
    const RowKey saved = EditCustomer(customer);
    if (main.currentTab() == MainTab::Customers)
        list.reread(saved ? saved : customer);
    else
        list.reread();
}

// After a master-data window: the tab's list shows the names as they are now.
void RereadIfOpen(MainContext& main) {
    if (main.currentList().isOpen())
        main.currentList().reread();
}

// aUjKeszulek: a new device (type, then editor) of the current customer; the
// panel moves to it.
void NewDeviceOfCustomer(MainContext& main) {
    const std::optional<qlonglong> customer = main.list(MainTab::Customers).currentKey();
    if (!customer)
        return ShowError(list_text::NoRowSelected);
    if (const std::optional<qlonglong> device = NewDevice(customer))
        main.detail(MainDetail::CustomerDevices).reread(device);
}

// aKeszulekAdatlap: the current work sheet's device in the editor.
void EditDeviceOfSheet(MainContext& main) {
    ListController& sheets = main.currentList();
    const std::optional<qlonglong> sheet = sheets.currentKey();
    if (!sheet)
        return ShowError(list_text::NoRowSelected);
    const int device = VarInt(sheets.currentValue(QStringLiteral("keszulek")));
    if (device <= 0)
        return ShowInfo(device_text::NoDeviceOnSheet);
    if (EditExistingDevice(device))
        sheets.reread(sheet);
}

} // namespace

QString CustomerDevicesCondition(qlonglong customer) {
    return QStringLiteral("ugyfel = ") + QString::number(customer);
}

RowStyle CustomerRowStyle(const QVariant& warningDate, const QDate& today, bool selected) {
    RowStyle style;
    if (!warningDate.isValid() || warningDate.isNull())
        return style;
    const QDate date = warningDate.toDate();
    if (!date.isValid() || date > today)
        return style;
    if (selected) {
        style.foreground = palette::SelectedWarningText;
    } else {
        style.background = palette::WarningBack;
        style.foreground = palette::BlueText;
    }
    return style;
}

RowStyle DeviceRowStyle(const QVariant& daysLeft, bool selected) {
    RowStyle style;
    if (selected || !daysLeft.isValid() || daysLeft.isNull())
        return style;
    if (daysLeft.toLongLong() < 30)
        style.background = palette::WarningBack;
    return style;
}

MainListRoute CustomerTabList() {
    MainListRoute route;
    ListDefinition& d = route.list;
    d.sql = QStringLiteral("SELECT * FROM vw_ugyfel\nWHERE ugyfel > 0\nORDER BY ugyfel_nev;");
    d.baseCondition = QStringLiteral("(ugyfel > 0)");
    d.sortField = QStringLiteral("ugyfel_nev");
    d.searchFields = QStringLiteral("ugyfel_nev;kapcsolat;telefon;emil;irszvaroscim;gyszstr;"
                                    "CONVERT(DATE_FORMAT(dat_figyelmeztet,'%Y.%m.%d') USING latin2)");
    d.keyField = QStringLiteral("ugyfel");
    d.searchIndex = {QStringLiteral("ugyfel_kereses"), d.keyField, d.searchFields, true};
    d.nameField = QStringLiteral("ugyfel_nev");
    d.hooks = CustomerHooks();
    d.colouring.style = [](const Query& query, int row, bool selected) {
        return CustomerRowStyle(ValueAt(query, row, QStringLiteral("dat_figyelmeztet")), Today(), selected);
    };
    d.colouring.reach = ColourReach::TextEverywhere;
    d.colouring.icon = FlagPictures(QStringLiteral("maganszemely"), CellIcon::Private, CellIcon::Company);
    route.grids = {{QStringLiteral("DBGrid1"),
                    {ColumnOf("ugyfel_nev", "Ügyfél", 22), ColumnOf("kapcsolat", "Kapcsolat", 14),
                     ColumnOf("telefon", "Telefon", 12), ColumnOf("irszvaroscim", "Cím", 24),
                     ColumnOf("emil", "E-mail", 15), ColumnOf("dat_figyelmeztet", "Figyelmeztetés", 9),
                     ColumnOf("maganszemely", "Magán?", 4)}}};
    return route;
}

MainListRoute DeviceTabList() {
    MainListRoute route;
    ListDefinition& d = route.list;
    d.sql = QStringLiteral("SELECT * FROM vw_keszulek\nWHERE ugyfel > 0\nORDER BY gysz;");
    d.baseCondition = QStringLiteral("(keszulek > 0)");
    d.sortField = QStringLiteral("gysz");
    d.searchFields = QStringLiteral("gysz;gysz2;gysz3;ugyfel_nev;CONVERT(tipusstr USING latin2)");
    d.keyField = QStringLiteral("keszulek");
    d.searchIndex = {QStringLiteral("keszulek_kereses"), d.keyField, d.searchFields, true};
    d.hooks.create = [](ListController&) { return NewDevice(std::nullopt); };
    d.hooks.edit = [](ListController&, qlonglong device) { return EditExistingDevice(device); };
    d.hooks.remove = SoftDeleteHook(QStringLiteral("keszulek"));
    d.colouring.style = [](const Query& query, int row, bool selected) {
        return DeviceRowStyle(ValueAt(query, row, QStringLiteral("hatravan")), selected);
    };
    // gysz and dat_muszaki take their titles from the fields' labels.
    route.grids = {{QStringLiteral("DBGrid5"),
                    {ColumnOf("gysz", "", 14), ColumnOf("ugyfel_nev", "Ügyfél", 22),
                     ColumnOf("evjarat", "Gyártás éve", 8), ColumnOf("tipusstr", "Gyártmány / Típus", 20),
                     ColumnOf("munkalapstr", "Utolsó munkalap", 14), ColumnOf("dat_muszaki", "", 10),
                     ColumnOf("keszulektipus_nev", "Típus", 12)}}};
    return route;
}

MainListRoute CustomerDevicesList() {
    MainListRoute route;
    ListDefinition& d = route.list;
    d.sql = QStringLiteral("SELECT * FROM vw_keszulek\nWHERE ugyfel = 0\nORDER BY keszulek;");
    d.baseCondition = CustomerDevicesCondition(0);
    d.keyField = QStringLiteral("keszulek");
    d.hooks.edit = [](ListController&, qlonglong device) { return EditExistingDevice(device); };
    d.hooks.remove = SoftDeleteHook(QStringLiteral("keszulek"));
    // gysz takes its title from the field's label: the settings name it.
    MainGridDefinition grid{QStringLiteral("DBGrid3"),
                            {ColumnOf("tipusstr", "Gyártmány / Típus", 45), ColumnOf("gysz", "", 25),
                             ColumnOf("munkalapstr", "Utolsó munkalap", 30)}};
    grid.sortable = false;
    route.grids = {grid};
    return route;
}

std::vector<ListDefinition> RecordListWindows() {
    return {CustomerListDefinition(),
            TypeListDefinition(),
            DeviceListDefinition(std::nullopt, QStringLiteral("Gy.szám")),
            LookupListDefinition(lookup::Manufacturers),
            LookupListDefinition(lookup::DeviceKinds),
            LookupListDefinition(lookup::Employees),
            DictionaryListDefinition(),
            WorkSheetTypeListDefinition(1),
            LetterListDefinition(),
            CatalogueListDefinition()};
}

void RegisterRecordRoutes(MainRoutes& routes) {
    routes.setList(MainTab::Customers, CustomerTabList());
    routes.setList(MainTab::Devices, DeviceTabList());
    routes.setDetail(MainDetail::CustomerDevices, CustomerDevicesList(),
                     {MainTab::Customers, &CustomerDevicesCondition, QString()});
    routes.on(QStringLiteral("aUgyfelAdatlap"), &EditCustomerOfRow);
    // The master-data lists for maintenance (the action table checks the rights).
    routes.on(QStringLiteral("aSzotar"), [](MainContext&) { ChooseDictionaryText(QString(), false); });
    routes.on(QStringLiteral("aMLapTipus"), [](MainContext&) { ChooseWorkSheetType(std::nullopt, false); });
    routes.on(QStringLiteral("aTorzslevelSzoveg"),
              [](MainContext&) { ChooseLetterText(std::nullopt, false); });
    routes.on(QStringLiteral("aTetel"), [](MainContext&) { ChooseCatalogueItem(std::nullopt, false); });
    routes.on(QStringLiteral("aGyarto"), [](MainContext& main) {
        OpenLookup(lookup::Manufacturers, std::nullopt, false);
        RereadIfOpen(main);
    });
    routes.on(QStringLiteral("aTipus"), [](MainContext& main) {
        ChooseDeviceType(std::nullopt, false);
        RereadIfOpen(main);
    });
    routes.on(QStringLiteral("aDolgozo"), [](MainContext& main) {
        OpenLookup(lookup::Employees, std::nullopt, false);
        ExecSql(QStringLiteral("CALL sp_dolgujrasor();"));
        RereadIfOpen(main);
    });
    routes.on(QStringLiteral("aToroltRekordok"), [](MainContext& main) {
        ShowDeletedRecords();
        RereadIfOpen(main);
    });
    routes.on(QStringLiteral("aUjKeszulek"), MainTab::Customers, &NewDeviceOfCustomer);
    routes.on(QStringLiteral("aKeszulekAdatlap"), MainTab::WorkSheets, &EditDeviceOfSheet);
}

} // namespace kml
