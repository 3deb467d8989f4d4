#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// The items catalogue "Tételek": live items by code with their prices in
// the money format, services in blue on light blue, the remark of the
// current item under the grid, and "Export" (Ctrl+E) of the whole catalogue.
// The rest is its definition (CatalogueListDefinition) on the pattern.
class Tfrm_TorzsTetel final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsTetel(QWidget* parent = nullptr);
};

} // namespace kml
