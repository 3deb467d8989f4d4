#pragma once

#include "patterns/gui/FormEditor.h"

namespace kml {

// The type editor "Típus szerkesztés": the type name, its manufacturer and
// its kind of device chosen from their lookup lists (TypeEditorDefinition).
class Tfrm_TorzsTipus_Szerkeszt final : public FormEditor {
    Q_OBJECT
public:
    explicit Tfrm_TorzsTipus_Szerkeszt(RowKey manufacturer, QWidget* parent = nullptr);

    // EditDeviceType with the real window: no type creates a type of the
    // manufacturer. The saved type or nothing.
    static RowKey Run(RowKey type, RowKey manufacturer);
};

} // namespace kml
