#pragma once

// The operations of the device-type list and the generic lookup tables
// (manufacturers, kinds of device, employees).

#include "foundation/WindowOperation.h"

#include <QString>

namespace kml {

// The device-type list ("Típusok"): the chosen type and, through text, the
// trimmed manufacturer name, a blank and the type name; -1 (and an empty
// text) when closed without a choice.
inline WindowOperation<int(int select, bool chooser, QString& text)> OpenDeviceTypeList{"OpenDeviceTypeList"};
// The same without the text.
int ChooseDeviceType(int select, bool chooser);

// The type editor: -1 creates a type of the manufacturer. The saved type or -1.
inline WindowOperation<int(int type, int manufacturer)> EditDeviceType{"EditDeviceType"};

// The lookup window over table (gyarto, keszulektipus, dolgozo) with the
// caption; soft delete marks rows deleted and hides them. The chosen key
// and, through name, the row's name text; -1 (and an empty name) when
// closed without a choice.
inline WindowOperation<int(int select, bool chooser, const QString& table, bool softDelete,
                           const QString& caption, QString& name)>
    OpenLookupTable{"OpenLookupTable"};

// The row editor of a lookup table, captioned like its list: -1 creates a
// row. The saved key or -1.
inline WindowOperation<int(int key, const QString& table, const QString& caption)> EditLookupRow{
    "EditLookupRow"};

} // namespace kml
