#include "records/gui/Tfrm_TorzsMlapTipus.h"

#include "foundation/Settings.h"
#include "records/Texts.h"

namespace kml {

Tfrm_TorzsMlapTipus::Tfrm_TorzsMlapTipus(QWidget* parent)
    : ListWindow(WorkSheetTypeListDefinition(Beall().prgtipus), parent) {}

} // namespace kml
