#include "records/gui/Tfrm_TorzsTipus_Szerkeszt.h"

#include "records/DeviceTypes.h"

#include <QApplication>

namespace kml {

Tfrm_TorzsTipus_Szerkeszt::Tfrm_TorzsTipus_Szerkeszt(int manufacturer, QWidget* parent)
    : FormEditor(TypeEditorDefinition(manufacturer), parent) {
    resize(440, sizeHint().height());
}

int Tfrm_TorzsTipus_Szerkeszt::Run(int type, int manufacturer) {
    Tfrm_TorzsTipus_Szerkeszt window(manufacturer, QApplication::activeWindow());
    const auto saved = RunFormEditor(window, type == -1 ? std::nullopt : std::optional<qlonglong>(type));
    return saved ? int(*saved) : -1;
}

} // namespace kml
