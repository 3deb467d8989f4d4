#pragma once

// The operations through which the rest of the program opens the device
// windows: plain values in, a device number (or nothing for "cancelled") out.

#include "foundation/RowKey.h"
#include "foundation/WindowOperation.h"

namespace kml {

// The device editor. Without a device it creates one of the given type for
// the given customer; otherwise it edits that device and ignores the other
// two (callers pass nothing). The saved device's number, or nothing.
inline WindowOperation<RowKey(RowKey device, RowKey type, RowKey customer)> EditDevice{"EditDevice"};

// The device list, limited to a customer's devices (no customer: all), as a
// chooser when chooser: the chosen device, 0 for "Tovább" (go on without a
// device), nothing when closed otherwise.
inline WindowOperation<RowKey(RowKey select, bool chooser, RowKey customer)> ChooseDevice{"ChooseDevice"};

} // namespace kml
