#pragma once

// The operations of the items catalogue.

#include "foundation/RowKey.h"
#include "foundation/WindowOperation.h"

namespace kml {

// The catalogue list: the chosen item and its tetel_nev; no key when closed
// without a choice.
inline WindowOperation<ChosenRow(RowKey select, bool chooser)> ChooseCatalogueItem{"ChooseCatalogueItem"};

// The item editor: nothing creates an item. The saved item or nothing.
inline WindowOperation<RowKey(RowKey item)> EditCatalogueItem{"EditCatalogueItem"};

} // namespace kml
