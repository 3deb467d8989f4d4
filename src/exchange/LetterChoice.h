#pragma once

// The letter-text choice: declared here, below the records that install the
// list window behind it, so that the letters sent from this subsystem can
// ask for one.

#include "foundation/RowKey.h"
#include "foundation/WindowOperation.h"

#include <QString>

namespace kml {

// A letter text chosen.
struct LetterText {
    RowKey letter;
    QString name;    // levelszoveg_nev
    QString subject; // targysor
    QString text;    // szoveg
};
// The letter-text list: the chosen letter (no letter when none was).
inline WindowOperation<LetterText(RowKey select, bool chooser)> ChooseLetterText{"ChooseLetterText"};

} // namespace kml
