#include "records/TypeWindows.h"

namespace kml {

RowKey ChooseDeviceType(RowKey select, bool chooser) {
    return OpenDeviceTypeList(select, chooser).key;
}

} // namespace kml
