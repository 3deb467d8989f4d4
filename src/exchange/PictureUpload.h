#pragma once

// The website pictures: a picture copied (or fitted into 640 x 480) into the
// local picture file and, when the shop uploads pictures (kepftp), stored on
// the picture server under the same file name.
//
// The picture server's settings come from the settings record: kephost,
// kepuser, keppwd, kepport (0 or unset: 21), kepfolder (empty: the login
// folder, no change of folder). Uploads go as components/FtpUpload.h says.

#include "components/FtpUpload.h"

#include <QString>

class QWidget;

namespace kml {

// The picture server from the settings record (Beall()).
FtpTarget PictureFtpTarget();

// Copies source over target (replacing it; choosing the target file itself
// leaves it untouched), then uploads target when kepftp is set. A failed
// copy shows "Hiba: ..." and gives false (nothing is uploaded); a failed
// upload shows "Hiba: ..." in the error box with owner and gives true: the
// local picture is in place.
bool CopyAndUploadPicture(const QString& source, const QString& target, QWidget* owner = nullptr);

// The same with the source fitted into 640 x 480 (ResizeJpeg, quality 99)
// instead of copied; the picture is written to a temporary file and renamed
// over target, so a source that is the target itself is read whole first.
bool ResizeAndUploadPicture(const QString& source, const QString& target, QWidget* owner = nullptr);

// Uploads target to the picture server when kepftp is set; the error text
// (without "Hiba: ") when it failed, empty otherwise.
QString UploadPicture(const QString& target, const FtpProgress& progress = {});

} // namespace kml
