#include "foundation/Pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <cmath>
#include <stdexcept>

namespace kml {

void ResampleBitmap(const QImage& source, QImage& target) {
    const QImage src = source.convertToFormat(QImage::Format_RGB888);
    const int sw = src.width();
    const int sh = src.height();
    const int tw = target.width();
    const int th = target.height();
    if (src.size() == target.size()) {
        target = src;
        return;
    }
    target = QImage(tw, th, QImage::Format_RGB888);
    if (tw <= 0 || th <= 0 || sw <= 0 || sh <= 0)
        return;

    const qint64 stepX = qint64(sw - 1) * 65536 / tw;
    const qint64 stepY = qint64(sh - 1) * 65536 / th;
    qint64 sy = 0;
    for (int y = 0; y < th; ++y, sy += stepY) {
        const int y1 = int(sy >> 16);
        const int y2 = qMin(y1 + 1, sh - 1);
        const qint64 fy = sy & 0xFFFF;
        const uchar* row1 = src.constScanLine(y1);
        const uchar* row2 = src.constScanLine(y2);
        uchar* out = target.scanLine(y);
        qint64 sx = 0;
        for (int x = 0; x < tw; ++x, sx += stepX) {
            const int x1 = int(sx >> 16);
            const int x2 = qMin(x1 + 1, sw - 1);
            const qint64 fx = sx & 0xFFFF;
            for (int c = 0; c < 3; ++c) {
                const qint64 p1 = row1[x1 * 3 + c];
                const qint64 p2 = row1[x2 * 3 + c];
                const qint64 p3 = row2[x1 * 3 + c];
                const qint64 p4 = row2[x2 * 3 + c];
                const qint64 upper = (p1 << 16) + (p2 - p1) * fx;
                const qint64 lower = (p3 << 16) + (p4 - p3) * fx;
                const qint64 value = (upper * 65536 + (lower - upper) * fy) >> 32;
                out[x * 3 + c] = uchar(value < 0 ? 0 : value > 255 ? 255 : value);
            }
        }
    }
}

QSize FittedSize(const QSize& size, int maxWidth, int maxHeight) {
    if (size.width() <= 0 || size.height() <= 0)
        return QSize(1, 1);
    double scale = double(maxWidth) / size.width();
    const double heightScale = double(maxHeight) / size.height();
    if (heightScale < scale)
        scale = heightScale;
    return QSize(qMax(1, int(std::lround(size.width() * scale))),
                 qMax(1, int(std::lround(size.height() * scale))));
}

void ResizeJpeg(const QString& sourceFile, const QString& targetFile, int maxWidth, int maxHeight) {
    // A camera's picture can be larger than Qt's default allocation limit
    // (256 MB: 10000 x 8000 is 320 MB); a limit of 1 GB still refuses
    // absurd sizes.
    if (QImageReader::allocationLimit() < 1024)
        QImageReader::setAllocationLimit(1024);
    QImage picture;
    if (!picture.load(sourceFile, "JPEG") && !picture.load(sourceFile))
        throw std::runtime_error(QStringLiteral("Cannot load the picture %1").arg(sourceFile).toStdString());
    QImage target(FittedSize(picture.size(), maxWidth, maxHeight), QImage::Format_RGB888);
    ResampleBitmap(picture, target);
    if (!target.save(targetFile, "JPEG", 99))
        throw std::runtime_error(QStringLiteral("Cannot save the picture %1").arg(targetFile).toStdString());
}

QImage LoadPicture(const QString& file) {
    if (file.isEmpty())
        return {};
    QImageReader reader(file);
    reader.setAutoTransform(true);
    return reader.read();
}

QRect PicturePlacement(const QSize& picture, const QRect& area) {
    QSize size = picture;
    if (size.width() > area.width() || size.height() > area.height())
        size = FittedSize(picture, area.width(), area.height());
    return QRect(area.left() + (area.width() - size.width()) / 2,
                 area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

bool CopyFileOver(const QString& source, const QString& target, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QString sourcePath = QFileInfo(source).canonicalFilePath();
    if (sourcePath.isEmpty())
        return fail(source);
    if (sourcePath == QFileInfo(target).canonicalFilePath())
        return true;
    QFile in(sourcePath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(in.errorString());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return fail(out.errorString());
    char buffer[65536];
    for (qint64 n; (n = in.read(buffer, sizeof buffer)) > 0;)
        if (out.write(buffer, n) != n)
            return fail(out.errorString());
    if (in.error() != QFileDevice::NoError)
        return fail(in.errorString());
    if (!out.commit())
        return fail(out.errorString());
    return true;
}

} // namespace kml
