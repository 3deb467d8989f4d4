#pragma once

// The devices apart from the widgets: the device list of one customer or of
// all, the new-device flow (customer, type, editor), the editor's pages by
// program type and its dates. The windows (Tfrm_TorzsKeszulek,
// Tfrm_TorzsKeszulek_Szerkeszt) and the main window's device actions call
// these.

#include "patterns/ListDefinition.h"

#include <QString>
#include <optional>
#include <vector>

namespace kml {

class Table;

namespace device_text {
inline const QString CustomerHeading = QStringLiteral("Készülékek: ");
inline const QString EditorCaptionSuffix = QStringLiteral(" adatlap");
inline const QString GoOn = QStringLiteral("Tovább");
inline const QString SetDate = QStringLiteral("Dátum beállítás");
inline const QString ClearDate = QStringLiteral("Dátum törlés");
inline const QString NoDeviceOnSheet = QStringLiteral("A munkalaphoz nem tartozik készülék.");
} // namespace device_text

// The list's condition: a customer's live devices, or every live device
// without a customer.
QString DeviceBaseCondition(RowKey customer);
// The heading before the search box: "Készülékek: " + the customer's name,
// or the shop's device word, each followed by two blanks.
QString DeviceListHeading(RowKey customer, const QString& deviceWord);

// The device list (Tfrm_TorzsKeszulek) of one customer (nothing: all) over
// vw_keszulek: serial number (titled with the shop's word for it),
// customer, type, last work sheet, kind; "Új sor" (NewDevice), "Szerkeszt"
// (EditDevice), "Sor törlése" (marks the device deleted).
ListDefinition DeviceListDefinition(RowKey customer, const QString& serialTitle);

// A new device: the customer given, or chosen when none is (ChooseCustomer);
// then its type (ChooseDeviceType); then the editor (EditDevice). The saved
// device, nothing when any step was cancelled.
RowKey NewDevice(RowKey customer);
// The editor for a device; the saved device or nothing.
RowKey EditExistingDevice(qlonglong device);

// The editor's pages, in their order on the window.
enum class DevicePage { Device, Vehicle, SimCard };
// The pages a program type shows: 1 and 4 the device page, 2 the vehicle
// page, 5 the SIM-card page, any other all three.
std::vector<DevicePage> DevicePagesFor(int programType);

// The dated columns of a device, each with its set and clear buttons.
inline const QStringList DeviceDateFields{QStringLiteral("dat_garilejar"), QStringLiteral("dat_vasarol"),
                                          QStringLiteral("dat_uzembe"), QStringLiteral("dat_muszaki")};

// "Dátum beállítás": asks a date (AskDate) starting at the server's date and
// stores it; false when the user cancelled.
bool AskDeviceDate(Table& device, const QString& field);
// "Dátum törlés": the column becomes NULL (no date).
void ClearDeviceDate(Table& device, const QString& field);

} // namespace kml
