#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// The work-sheet types "Munkalap típusok" of the current program type, the
// remark of the current one under the grid. Everything it does is its
// definition (WorkSheetTypeListDefinition) on the list-window pattern.
class Tfrm_TorzsMlapTipus final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsMlapTipus(QWidget* parent = nullptr);
};

} // namespace kml
