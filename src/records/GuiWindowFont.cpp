#include "records/GuiWindowFont.h"

#include "foundation/Conversions.h"
#include "shell/Settings.h"

#include <QApplication>
#include <QWidget>

namespace kml {

void ApplyFontSize(QWidget* window) {
    QFont font = QApplication::font();
    font.setPointSize(Clamp(Beall().betumeret, 8, 10));
    window->setFont(font);
}

} // namespace kml
