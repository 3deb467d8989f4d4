#include "records/TypeWindows.h"

namespace kml {

int ChooseDeviceType(int select, bool chooser) {
    QString text;
    return OpenDeviceTypeList(select, chooser, text);
}

} // namespace kml
