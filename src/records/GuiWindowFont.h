#pragma once

class QWidget;

namespace kml {

// The font of every record window: the application font at the size setting
// Betumeret (Beall().betumeret, kept within 8 to 10). Child widgets inherit it.
void ApplyFontSize(QWidget* window);

} // namespace kml
