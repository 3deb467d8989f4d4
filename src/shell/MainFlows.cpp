#include "shell/MainFlows.h"

#include "components/Query.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "patterns/ListSearch.h"
#include "shell/MainLists.h"

namespace kml {

QString DeleteDeviceSql(qlonglong device) {
    return QStringLiteral("UPDATE keszulek SET torolve = 'I' WHERE keszulek=") + QString::number(device) +
           QLatin1Char(';');
}

QString DeleteCustomerDeviceSql(qlonglong device) {
    return QStringLiteral("UPDATE keszulek SET torolve = 'I' WHERE keszulek = ") + QString::number(device) +
           QLatin1Char(';');
}

QString RecalculateWorkSheetSql(qlonglong workSheet) {
    return QStringLiteral("CALL sp_arbeallit(") + QString::number(workSheet) + QStringLiteral(");");
}

bool DeleteDeviceAsked(const QVariant& device, bool fromCustomerPanel, QWidget* owner) {
    if (!device.isValid() || device.isNull())
        return false;
    if (!AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption, owner))
        return false;
    const qlonglong id = device.toLongLong();
    ExecSql(fromCustomerPanel ? DeleteCustomerDeviceSql(id) : DeleteDeviceSql(id));
    return true;
}

void RereadList(Query& query, const QString& keyField, const QVariant& key) {
    if (query.isActive())
        query.refresh(keyField);
    else
        query.open();
    if (key.isValid() && !key.isNull())
        LocateKey(query, keyField, key);
}

void RecalculateAndReread(Query& workSheets) {
    const QString key = MainListDefinition(MainTab::WorkSheets).keyField;
    const qlonglong current = CurrentKey(workSheets, key);
    // An empty list has no work sheet to recalculate.
    if (current != 0)
        ExecSql(RecalculateWorkSheetSql(current));
    RereadList(workSheets, key);
}

} // namespace kml
