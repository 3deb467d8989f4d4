#pragma once

// The per-workstation settings of the ini file KoravelML.ini: read into the
// settings record at start-up, written back when the main window closes.

#include <QRect>

namespace kml {

struct TBeall;

// Reads every per-workstation key (defaults when absent, Betumeret outside
// 8..10 replaced by 9) and creates the picture folder when it is missing
// (a failure to create it is ignored). The main window's bounds land in
// bal, felul, magas and szeles.
void ReadWorkstationSettings(TBeall& settings);

// Writes every per-workstation key back, the main window's bounds from its
// current geometry.
void WriteWorkstationSettings(const TBeall& settings, const QRect& mainWindowBounds);

// The font size stored in the ini file as the program uses it: 9 unless it
// lies within 8..10.
int ValidFontSize(int stored);

} // namespace kml
