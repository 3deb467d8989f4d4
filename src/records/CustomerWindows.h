#pragma once

// The operations through which the rest of the program opens the customer
// windows: plain values in, a customer number (or -1 for "cancelled") out.
// The real windows are installed at start-up (records/gui/RecordWindows.h).

#include "foundation/WindowOperation.h"

#include <QString>

namespace kml {

inline const QString CustomerChooserCaption = QStringLiteral("Ügyfél választás");

// The customer editor; -1 creates a new customer. The saved customer's
// number, or -1 when the user cancelled.
inline WindowOperation<int(int customer)> EditCustomer{"EditCustomer"};

// The customer list with the given caption, on the customer to select
// first; in chooser mode "Elfogad" returns the chosen customer and, through
// name, its ugyfel_nev. -1 and an empty name when closed without a choice.
inline WindowOperation<int(int select, bool chooser, const QString& caption, QString& name)> OpenCustomerList{
    "OpenCustomerList"};

// The customer list as "Ügyfél választás"; the chosen number or -1.
int ChooseCustomer(int select, bool chooser);

} // namespace kml
