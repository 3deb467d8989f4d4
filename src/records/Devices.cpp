#include "records/Devices.h"

#include "components/Table.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "patterns/RowDeletion.h"
#include "records/CustomerWindows.h"
#include "records/DeviceWindows.h"
#include "records/TypeWindows.h"

namespace kml {

QString DeviceBaseCondition(RowKey customer) {
    const QString live = QStringLiteral("(torolve = 'N')");
    if (!customer)
        return live;
    return QStringLiteral("(ugyfel = %1) AND ").arg(*customer) + live;
}

QString DeviceListHeading(RowKey customer, const QString& deviceWord) {
    if (!customer)
        return deviceWord + QStringLiteral("  ");
    return device_text::CustomerHeading + LookupName(int(*customer), QStringLiteral("ugyfel")) +
           QStringLiteral("  ");
}

ListDefinition DeviceListDefinition(RowKey customer, const QString& serialTitle) {
    ListDefinition d;
    d.name = QStringLiteral("frm_TorzsKeszulek");
    d.sql = QStringLiteral("SELECT * FROM vw_keszulek\nWHERE (ugyfel > 0)\nORDER BY gysz;");
    d.baseCondition = DeviceBaseCondition(customer);
    d.sortField = QStringLiteral("gysz");
    d.searchFields =
        QStringLiteral("ugyfel_nev;CONVERT(tipusstr USING latin2);gysz;CONVERT(munkalapstr USING latin2)");
    d.keyField = QStringLiteral("keszulek");
    d.columns = {{QStringLiteral("gysz"), serialTitle, 30},
                 ColumnOf("ugyfel_nev", "Ügyfél", 25),
                 ColumnOf("tipusstr", "Típus", 15),
                 ColumnOf("munkalapstr", "Utolsó munkalap", 15),
                 ColumnOf("keszulektipus_nev", "Típus", 15)};
    d.widthReserve = 36;
    d.size = QSize(860, 480);
    d.hooks.create = [customer](ListController&) { return NewDevice(customer); };
    d.hooks.edit = [](ListController&, qlonglong device) { return EditExistingDevice(device); };
    d.hooks.remove = SoftDeleteHook(QStringLiteral("keszulek"));
    return d;
}

RowKey NewDevice(RowKey customer) {
    if (!customer)
        customer = ChooseCustomer(std::nullopt, true);
    if (!customer)
        return std::nullopt;
    const RowKey type = ChooseDeviceType(std::nullopt, true);
    if (!type)
        return std::nullopt;
    return EditDevice(std::nullopt, type, customer);
}

RowKey EditExistingDevice(qlonglong device) {
    return EditDevice(device, std::nullopt, std::nullopt);
}

std::vector<DevicePage> DevicePagesFor(int programType) {
    switch (programType) {
    case 1:
    case 4:
        return {DevicePage::Device};
    case 2:
        return {DevicePage::Vehicle};
    case 5:
        return {DevicePage::SimCard};
    default:
        return {DevicePage::Device, DevicePage::Vehicle, DevicePage::SimCard};
    }
}

bool AskDeviceDate(Table& device, const QString& field) {
    QDate date = ServerDate();
    if (!AskDate(date))
        return false;
    device.setValue(field, date);
    return true;
}

void ClearDeviceDate(Table& device, const QString& field) {
    device.setValue(field, QVariant());
}

} // namespace kml
