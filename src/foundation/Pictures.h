#pragma once

#include <QImage>
#include <QRect>
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

// Reads a picture file afresh (QImageReader, no cache: a file replaced a
// moment ago shows its new content). A missing or broken file gives a null
// image.
QImage LoadPicture(const QString& file);

// Where a picture is drawn in an area: at its own size when it fits in both
// directions, otherwise fitted (FittedSize); centred in the area.
QRect PicturePlacement(const QSize& picture, const QRect& area);

// Copies source over target, replacing it without asking: written to a
// temporary file beside target and renamed over it, so a failed copy leaves
// the old target whole. When both name the same file (links and "." parts
// resolved) nothing is done. false, with the reason in error when given,
// when the source cannot be read or the target not written.
bool CopyFileOver(const QString& source, const QString& target, QString* error = nullptr);

} // namespace kml
