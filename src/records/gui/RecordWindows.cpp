#include "records/gui/RecordWindows.h"

#include "records/CustomerWindows.h"
#include "records/DeviceTypes.h"
#include "records/DeviceWindows.h"
#include "records/TypeWindows.h"
#include "records/gui/Tfrm_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsKeszulek.h"
#include "records/gui/Tfrm_TorzsKeszulek_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsTipus.h"
#include "records/gui/Tfrm_TorzsTipus_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsUgyfel.h"
#include "records/gui/Tfrm_Torzsadat.h"
#include "records/gui/Tfrm_Torzsadat_Szerkeszt.h"

#include <QApplication>

namespace kml {

void InstallRecordWindows() {
    EditCustomer.install([](int customer) { return Tfrm_Szerkeszt::Run(customer); });
    OpenCustomerList.install([](int select, bool chooser, const QString& caption, QString& name) {
        Tfrm_TorzsUgyfel window(QApplication::activeWindow());
        const ChosenRow chosen = window.choose(select, chooser, caption);
        name = chosen.name;
        return chosen.key;
    });
    // Device types, lookup tables and devices.
    OpenDeviceTypeList.install(&Tfrm_TorzsTipus::Run);
    ChoosePictureFile.install(&Tfrm_TorzsTipus::ChoosePicture);
    EditDeviceType.install(&Tfrm_TorzsTipus_Szerkeszt::Run);
    OpenLookupTable.install(&Tfrm_Torzsadat::Run);
    EditLookupRow.install(&Tfrm_Torzsadat_Szerkeszt::Run);
    ChooseDevice.install(&Tfrm_TorzsKeszulek::Run);
    EditDevice.install(&Tfrm_TorzsKeszulek_Szerkeszt::Run);
}

} // namespace kml
