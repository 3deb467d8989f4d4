#pragma once

#include "patterns/gui/FormEditor.h"

namespace kml {

// The row editor of the lookup tables: the name, captioned like its list,
// and the key beside it (LookupRowEditorDefinition).
class Tfrm_Torzsadat_Szerkeszt final : public FormEditor {
    Q_OBJECT
public:
    Tfrm_Torzsadat_Szerkeszt(const QString& table, const QString& caption, QWidget* parent = nullptr);

    // EditLookupRow with the real window: nothing creates a row. The saved
    // key or nothing.
    static RowKey Run(RowKey key, const QString& table, const QString& caption);
};

} // namespace kml
