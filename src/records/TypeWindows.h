#pragma once

// The operations of the device-type list and the generic lookup tables
// (manufacturers, kinds of device, employees).

#include "foundation/RowKey.h"
#include "foundation/WindowOperation.h"

#include <QString>

namespace kml {

// The device-type list ("Típusok"): the chosen type and, as its name, the
// trimmed manufacturer name, a blank and the type name; no key (and an
// empty name) when closed without a choice.
inline WindowOperation<ChosenRow(RowKey select, bool chooser)> OpenDeviceTypeList{"OpenDeviceTypeList"};
// The same without the name.
RowKey ChooseDeviceType(RowKey select, bool chooser);

// The type editor: nothing creates a type of the manufacturer. The saved
// type or nothing.
inline WindowOperation<RowKey(RowKey type, RowKey manufacturer)> EditDeviceType{"EditDeviceType"};

// The lookup window over table (gyarto, keszulektipus, dolgozo) with the
// caption; soft delete marks rows deleted and hides them. The chosen key
// and the row's name text; no key when closed without a choice.
inline WindowOperation<ChosenRow(RowKey select, bool chooser, const QString& table, bool softDelete,
                                 const QString& caption)>
    OpenLookupTable{"OpenLookupTable"};

// The row editor of a lookup table, captioned like its list: nothing creates
// a row. The saved key or nothing.
inline WindowOperation<RowKey(RowKey key, const QString& table, const QString& caption)> EditLookupRow{
    "EditLookupRow"};

} // namespace kml
