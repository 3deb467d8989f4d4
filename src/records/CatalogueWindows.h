#pragma once

// The operations of the items catalogue.

#include "foundation/WindowOperation.h"

#include <QString>

namespace kml {

// The catalogue list: the chosen item and, through name, its tetel_nev; -1
// (and an empty name) when closed without a choice.
inline WindowOperation<int(int select, bool chooser, QString& name)> ChooseCatalogueItem{
    "ChooseCatalogueItem"};

// The item editor: -1 creates an item. The saved item or -1.
inline WindowOperation<int(int item)> EditCatalogueItem{"EditCatalogueItem"};

} // namespace kml
