#pragma once

// The colours that carry meaning in the program's grids (RGB as the shop's
// users know them), shared by the lists that use them.

#include <QColor>

namespace kml::palette {

inline const QColor Highlight{0xFF, 0xFF, 0xB9};   // the sort column
inline const QColor Started{0xC4, 0xE0, 0xFF};     // statusz 2; service lines
inline const QColor Ready{0xFF, 0xD2, 0xFF};       // statusz 3
inline const QColor Invoiced{0xC1, 0xFF, 0xE0};    // statusz 4
inline const QColor WarningBack{0xFF, 0xDD, 0xDD}; // cancelled, warned, device due
inline const QColor CancelledText{0x80, 0x00, 0x00};
inline const QColor Sent{0xFF, 0xE1, 0xD5}; // kuldve on the car workshop's grid
inline const QColor BlueText{0x00, 0x00, 0xFF};
inline const QColor SelectedWarningText{0xFF, 0xFF, 0x00};

} // namespace kml::palette
