#include "shell/MainLists.h"

#include <algorithm>

namespace kml {

DeviceWording DeviceWordingFor(const QString& keszulekstr) {
    DeviceWording w;
    w.panelCaption = keszulekstr;
    w.recordCaption = keszulekstr;
    w.recordHint = keszulekstr + QStringLiteral(" adatlap");
    w.newDeviceCaption = QStringLiteral("Új ") + keszulekstr;
    w.typesCaption = keszulekstr + QStringLiteral(" típusok");
    return w;
}

QString ConnectionLabel(const QString& connectionName) {
    return QStringLiteral("Koravel.ML: ") + connectionName + QStringLiteral("  ");
}

int ItemsPanelHeight(int workSheetAreaHeight) {
    return std::max(workSheetAreaHeight / 3, 240);
}

bool DevicePanelHeightAccepted(int height, int customerPanelHeight) {
    return height > 200 && height < customerPanelHeight / 2;
}

int SteppedFontSize(int size, int step) {
    return std::clamp(size + step, 8, 10);
}

} // namespace kml
