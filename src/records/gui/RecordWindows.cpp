#include "records/gui/RecordWindows.h"

#include "records/CustomerWindows.h"
#include "records/gui/Tfrm_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsUgyfel.h"

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
}

} // namespace kml
