#pragma once

// The record lists of the main window, apart from the widgets: the customer
// and device tabs, the current customer's devices, their colours, and the
// record actions the records own (RegisterRecordRoutes).

#include "patterns/MainRoutes.h"

#include <QDate>
#include <QVariant>

namespace kml {

// The customer tab (DBGrid1): vw_ugyfel searched in seven fields, by name.
MainListRoute CustomerTabList();
// The device tab (DBGrid5): vw_keszulek by serial number.
MainListRoute DeviceTabList();
// The current customer's devices (DBGrid3).
MainListRoute CustomerDevicesList();

// The condition of the customer's device list: "ugyfel = " + id.
QString CustomerDevicesCondition(qlonglong customer);

// A customer warned for today or earlier: blue on light red, or yellow text
// on the selection colour when selected. today is the workstation's date.
RowStyle CustomerRowStyle(const QVariant& warningDate, const QDate& today, bool selected);
// A device whose inspection is less than 30 days away (or overdue): light
// red when not selected.
RowStyle DeviceRowStyle(const QVariant& daysLeft, bool selected);

// Every list window of the records, by its definition (a test opens each
// against the schema).
std::vector<ListDefinition> RecordListWindows();

// The lists and actions the records own on the main window.
void RegisterRecordRoutes(MainRoutes& routes);

} // namespace kml
