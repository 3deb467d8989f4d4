#pragma once

// What the main window's record actions do with the data, apart from the
// widgets: the statements of deleting a device and recalculating a work
// sheet, and re-reading a list onto a key. The window's handlers call these
// with the current row's key; tests run them against the server.

#include <QString>
#include <QVariant>

class QWidget;

namespace kml {

class Query;

// aTorol on the device tab: "UPDATE keszulek SET torolve = 'I' WHERE keszulek=" + id + ";"
QString DeleteDeviceSql(qlonglong device);
// aTorolKeszulek on the customer's device panel:
// "UPDATE keszulek SET torolve = 'I' WHERE keszulek = " + id + ";"
QString DeleteCustomerDeviceSql(qlonglong device);
// "CALL sp_arbeallit(" + id + ");": the work sheet's amounts from its lines.
QString RecalculateWorkSheetSql(qlonglong workSheet);

// Asks "Valóban töröljem a sort?" and on Yes marks the device deleted (with
// the panel's statement when fromCustomerPanel). No device (invalid or null
// key) asks nothing. Returns whether the device was deleted.
bool DeleteDeviceAsked(const QVariant& device, bool fromCustomerPanel, QWidget* owner = nullptr);

// Runs a list again: refreshed on the row it was on when open, opened when
// closed; then moves to the row with key when one is given and found.
void RereadList(Query& query, const QString& keyField, const QVariant& key = {});

// aFrissit on the work-sheet tab: recalculates the current work sheet (when
// there is one) and re-reads the list on it.
void RecalculateAndReread(Query& workSheets);

} // namespace kml
