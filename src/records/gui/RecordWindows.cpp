#include "records/gui/RecordWindows.h"

#include "records/CustomerWindows.h"
#include "records/gui/Tfrm_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsUgyfel.h"

namespace kml {

void InstallRecordWindows() {
    EditCustomer.install([](int customer) { return Tfrm_Szerkeszt::Run(customer); });
    OpenCustomerList.install([](int select, bool chooser, const QString& caption, QString& name) {
        return Tfrm_TorzsUgyfel::Run(select, chooser, caption, name);
    });
}

} // namespace kml
