#pragma once

// What the main window computes for itself apart from the widgets and the
// lists (which their subsystems define): the device word of the settings in
// the device actions, the connection label, and the few layout numbers.

#include <QString>

namespace kml {

// The device word of the settings in the device actions' captions and hints.
struct DeviceWording {
    QString panelCaption;     // Panel16: keszulekstr
    QString recordCaption;    // aKeszulekAdatlap: keszulekstr
    QString recordHint;       //   keszulekstr + " adatlap"
    QString newDeviceCaption; // aUjKeszulek: "Új " + keszulekstr (also its hint)
    QString typesCaption;     // aTipus: keszulekstr + " típusok" (also its hint)
};
DeviceWording DeviceWordingFor(const QString& keszulekstr);

// Label1 after the settings are loaded: "Koravel.ML: " + display name + two blanks.
QString ConnectionLabel(const QString& connectionName);

// The items panel: a third of the work-sheet area, at least 240 pixels.
int ItemsPanelHeight(int workSheetAreaHeight);
// The customer's device panel may be set to a height above 200 pixels and
// below half the customer panel's height.
bool DevicePanelHeightAccepted(int height, int customerPanelHeight);

// Font size actions: one step up or down, within 8 to 10.
int SteppedFontSize(int size, int step);

} // namespace kml
