#pragma once

#include <QImage>
#include <QString>

namespace kml {

// Resizes source into target's size (target must have its size set): both are
// used as 24-bit RGB (target is converted to QImage::Format_RGB888); equal
// sizes are copied; otherwise each target pixel is the bilinear blend of the
// four nearest source pixels, stepping through the source in 16.16 fixed
// point with steps (source width - 1) * 65536 / target width and
// (source height - 1) * 65536 / target height.
void ResampleBitmap(const QImage& source, QImage& target);

// The size a picture takes when fitted into the box: both sides scaled by
// the smaller of maxWidth / width and maxHeight / height and rounded (a
// smaller picture is enlarged); never below 1 x 1.
QSize FittedSize(const QSize& size, int maxWidth, int maxHeight);

// Loads the JPEG sourceFile, fits it into maxWidth x maxHeight with
// ResampleBitmap and saves it as JPEG of quality 99 to targetFile. Throws
// std::runtime_error when the picture cannot be loaded or saved.
void ResizeJpeg(const QString& sourceFile, const QString& targetFile, int maxWidth, int maxHeight);

} // namespace kml
