#pragma once

// The operations through which the rest of the program opens the customer
// windows: plain values in, a customer number (or nothing for "cancelled")
// out. The real windows are installed at start-up (records/gui/RecordWindows.h).

#include "foundation/RowKey.h"
#include "foundation/WindowOperation.h"

#include <QString>

namespace kml {

inline const QString CustomerChooserCaption = QStringLiteral("Ügyfél választás");

// The customer editor; nothing creates a new customer. The saved customer's
// number, or nothing when the user cancelled.
inline WindowOperation<RowKey(RowKey customer)> EditCustomer{"EditCustomer"};

// The customer list with the given caption, on the customer to select
// first; in chooser mode "Elfogad" returns the chosen customer and its
// ugyfel_nev. No key when closed without a choice.
inline WindowOperation<ChosenRow(RowKey select, bool chooser, const QString& caption)> OpenCustomerList{
    "OpenCustomerList"};

// The customer list as "Ügyfél választás"; the chosen number or nothing.
RowKey ChooseCustomer(RowKey select, bool chooser);

} // namespace kml
