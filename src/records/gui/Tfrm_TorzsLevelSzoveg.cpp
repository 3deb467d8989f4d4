#include "records/gui/Tfrm_TorzsLevelSzoveg.h"

#include "records/Texts.h"

#include <QLineEdit>

namespace kml {

Tfrm_TorzsLevelSzoveg::Tfrm_TorzsLevelSzoveg(QWidget* parent) : ListWindow(LetterListDefinition(), parent) {
    searchBox()->setFocus(Qt::OtherFocusReason);
}

} // namespace kml
