#include "records/gui/Tfrm_Torzsadat_Szerkeszt.h"

#include "records/LookupTables.h"

#include <QApplication>

namespace kml {

Tfrm_Torzsadat_Szerkeszt::Tfrm_Torzsadat_Szerkeszt(const QString& table, const QString& caption,
                                                   QWidget* parent)
    : FormEditor(LookupRowEditorDefinition(table, caption), parent) {
    resize(380, sizeHint().height());
}

RowKey Tfrm_Torzsadat_Szerkeszt::Run(RowKey key, const QString& table, const QString& caption) {
    Tfrm_Torzsadat_Szerkeszt window(table, caption, QApplication::activeWindow());
    return RunFormEditor(window, key);
}

} // namespace kml
