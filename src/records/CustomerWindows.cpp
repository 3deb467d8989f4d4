#include "records/CustomerWindows.h"

namespace kml {

RowKey ChooseCustomer(RowKey select, bool chooser) {
    return OpenCustomerList(select, chooser, CustomerChooserCaption).key;
}

} // namespace kml
