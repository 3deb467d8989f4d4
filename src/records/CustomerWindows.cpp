#include "records/CustomerWindows.h"

namespace kml {

int ChooseCustomer(int select, bool chooser) {
    QString name;
    return OpenCustomerList(select, chooser, CustomerChooserCaption, name);
}

} // namespace kml
