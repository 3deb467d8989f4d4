#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// The one lookup list for manufacturers, kinds of device and employees,
// captioned as its caller asks (OpenLookupTable). Everything it does is its
// definition (LookupListDefinition) on the list-window pattern.
class Tfrm_Torzsadat final : public ListWindow {
    Q_OBJECT
public:
    Tfrm_Torzsadat(const QString& table, bool softDelete, const QString& caption, QWidget* parent = nullptr);

    // OpenLookupTable with the real window.
    static ChosenRow Run(RowKey select, bool chooser, const QString& table, bool softDelete,
                         const QString& caption);
};

} // namespace kml
