#pragma once

// The operations through which the rest of the program opens the device
// windows: plain values in, a device number (or -1 for "cancelled") out.

#include "foundation/WindowOperation.h"

namespace kml {

// The device editor. With device -1 it creates a device of the given type
// for the given customer; otherwise it edits that device and ignores the
// other two (callers pass -1). The saved device's number, or -1.
inline WindowOperation<int(int device, int type, int customer)> EditDevice{"EditDevice"};

// The device list, limited to a customer's devices (customer -1: all), as a
// chooser when chooser: the chosen device, 0 for "Tovább" (go on without a
// device), -1 when closed otherwise.
inline WindowOperation<int(int select, bool chooser, int customer)> ChooseDevice{"ChooseDevice"};

} // namespace kml
