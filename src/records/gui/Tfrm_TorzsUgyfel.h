#pragma once

#include "patterns/gui/ListWindow.h"
#include "records/Customers.h"

namespace kml {

// The customer list "Ügyfelek" over vw_ugyfel, opened by every caller as the
// chooser "Ügyfél választás" (OpenCustomerList). Everything it does is its
// definition (CustomerListDefinition) on the list-window pattern.
class Tfrm_TorzsUgyfel final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsUgyfel(QWidget* parent = nullptr);
};

} // namespace kml
