#pragma once

namespace kml {

// Puts the real record windows behind the record operations (EditCustomer,
// OpenCustomerList, ...). Each operation creates its window with the active
// window as parent, shows it modally and frees it before returning.
void InstallRecordWindows();

} // namespace kml
