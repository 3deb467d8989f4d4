#include "foundation/gui/PictureView.h"

#include "foundation/Pictures.h"

#include <QPainter>

namespace kml {

PictureView::PictureView(QWidget* parent) : QWidget(parent), m_picture(Placeholder()) {
    setMinimumSize(120, 100);
}

QImage PictureView::Placeholder() {
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 2));
    p.drawRect(QRectF(1, 1, 158, 118));
    // A small landscape: a hill and the sun.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC8, 0xC8, 0xC8));
    p.drawPolygon(
        QPolygonF({QPointF(40, 80), QPointF(70, 45), QPointF(95, 70), QPointF(105, 60), QPointF(125, 80)}));
    p.drawEllipse(QPointF(112, 38), 8, 8);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawText(QRect(0, 86, 160, 24), Qt::AlignCenter, QStringLiteral("Nincs kép"));
    return image;
}

void PictureView::showFile(const QString& file) {
    const QImage picture = file.isEmpty() ? QImage() : LoadPicture(file);
    m_placeholder = picture.isNull();
    m_picture = m_placeholder ? Placeholder() : picture;
    update();
}

QRect PictureView::pictureRect() const {
    return PicturePlacement(m_picture.size(), rect().adjusted(0, m_topGap, 0, 0));
}

void PictureView::setTopGap(int pixels) {
    m_topGap = pixels;
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(pictureRect(), m_picture);
}

} // namespace kml
