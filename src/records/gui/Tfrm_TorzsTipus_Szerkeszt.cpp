#include "records/gui/Tfrm_TorzsTipus_Szerkeszt.h"

#include "records/DeviceTypes.h"

#include <QApplication>

namespace kml {

Tfrm_TorzsTipus_Szerkeszt::Tfrm_TorzsTipus_Szerkeszt(RowKey manufacturer, QWidget* parent)
    : FormEditor(TypeEditorDefinition(manufacturer), parent) {
    resize(440, sizeHint().height());
}

RowKey Tfrm_TorzsTipus_Szerkeszt::Run(RowKey type, RowKey manufacturer) {
    Tfrm_TorzsTipus_Szerkeszt window(manufacturer, QApplication::activeWindow());
    return RunFormEditor(window, type);
}

} // namespace kml
