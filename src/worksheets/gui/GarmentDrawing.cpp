#include "worksheets/gui/GarmentDrawing.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace kml {
namespace {

// A shirt in a unit box (0..1 both ways) seen from the front or the back.
QPainterPath ShirtOutline() {
    QPainterPath path;
    path.moveTo(0.36, 0.06);
    path.quadTo(0.5, 0.16, 0.64, 0.06); // neckline
    path.lineTo(0.86, 0.14);
    path.lineTo(1.0, 0.36); // sleeve
    path.lineTo(0.86, 0.44);
    path.lineTo(0.8, 0.34);
    path.lineTo(0.8, 0.96); // body
    path.lineTo(0.2, 0.96);
    path.lineTo(0.2, 0.34);
    path.lineTo(0.14, 0.44);
    path.lineTo(0.0, 0.36);
    path.lineTo(0.14, 0.14);
    path.closeSubpath();
    return path;
}

// The same shirt from its side: the body and one sleeve.
QPainterPath SideOutline() {
    QPainterPath path;
    path.moveTo(0.3, 0.08);
    path.lineTo(0.7, 0.08);
    path.lineTo(0.74, 0.96);
    path.lineTo(0.26, 0.96);
    path.closeSubpath();
    path.moveTo(0.38, 0.14);
    path.lineTo(0.66, 0.14);
    path.lineTo(0.7, 0.42);
    path.lineTo(0.42, 0.42);
    path.closeSubpath();
    return path;
}

// Where each marker sits in the unit box of its view. The wearer's right is
// the viewer's left from the front and the viewer's right from the back.
QRectF MarkerBox(GarmentMarker marker) {
    switch (marker) {
    case GarmentMarker::FrontRight:
        return {0.27, 0.26, 0.16, 0.12};
    case GarmentMarker::FrontLeft:
        return {0.57, 0.26, 0.16, 0.12};
    case GarmentMarker::FrontCentre:
    case GarmentMarker::BackCentre:
        return {0.3, 0.36, 0.4, 0.3};
    case GarmentMarker::SideCentre:
        return {0.41, 0.2, 0.22, 0.14};
    case GarmentMarker::BackRight:
        return {0.57, 0.22, 0.16, 0.12};
    case GarmentMarker::BackLeft:
        return {0.27, 0.22, 0.16, 0.12};
    }
    return {};
}

int ViewOf(GarmentMarker marker) {
    switch (marker) {
    case GarmentMarker::FrontRight:
    case GarmentMarker::FrontLeft:
    case GarmentMarker::FrontCentre:
        return 0;
    case GarmentMarker::SideCentre:
        return 1;
    default:
        return 2;
    }
}

} // namespace

GarmentDrawing::GarmentDrawing(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void GarmentDrawing::setPositions(const QString& front, const QString& side, const QString& back) {
    m_shown.clear();
    for (const auto& [garmentSide, code] :
         {std::pair{GarmentSide::Front, front}, std::pair{GarmentSide::Side, side},
          std::pair{GarmentSide::Back, back}})
        if (const std::optional<GarmentMarker> marker = GarmentMarkerFor(garmentSide, code))
            m_shown.insert(*marker);
    update();
}

void GarmentDrawing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QStringList titles{QStringLiteral("Elöl"), QStringLiteral("Oldal"), QStringLiteral("Hátul")};
    const int caption = fontMetrics().height() + 4;
    const qreal width = qreal(this->width()) / 3;
    const qreal side = std::min(width - 12, qreal(height() - caption - 8));
    for (int view = 0; view < 3; ++view) {
        const QRectF box(view * width + (width - side) / 2, caption, side, side);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRectF(view * width, 0, width, caption), Qt::AlignCenter, titles[view]);
        QTransform toBox;
        toBox.translate(box.left(), box.top());
        toBox.scale(box.width(), box.height());
        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
        painter.setBrush(QColor(0xF4, 0xF4, 0xF0));
        painter.drawPath(toBox.map(view == 1 ? SideOutline() : ShirtOutline()));
        painter.setBrush(QColor(0x1E, 0x6F, 0xD0));
        painter.setPen(Qt::NoPen);
        for (GarmentMarker marker : m_shown)
            if (ViewOf(marker) == view)
                painter.drawRect(toBox.mapRect(MarkerBox(marker)));
    }
}

} // namespace kml
