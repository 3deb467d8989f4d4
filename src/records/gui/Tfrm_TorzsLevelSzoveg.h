#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// The notification letter texts "Levélszövegek", the body of the current
// one under the grid; the search box has the focus when it opens. The rest
// is its definition (LetterListDefinition) on the list-window pattern.
class Tfrm_TorzsLevelSzoveg final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsLevelSzoveg(QWidget* parent = nullptr);
};

} // namespace kml
