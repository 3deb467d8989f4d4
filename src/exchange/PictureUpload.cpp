#include "exchange/PictureUpload.h"

#include "exchange/SavedExports.h"
#include "foundation/Dialogs.h"
#include "foundation/Pictures.h"
#include "foundation/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace kml {

FtpTarget PictureFtpTarget() {
    const TBeall& s = Beall();
    FtpTarget target;
    target.host = s.kephost;
    target.port = s.kepport > 0 ? s.kepport : 21;
    target.user = s.kepuser;
    target.password = s.keppwd;
    target.folder = s.kepfolder.trimmed();
    target.activeMode = FtpActiveModeSetting();
    return target;
}

QString UploadPicture(const QString& target, const FtpProgress& progress) {
    if (!Beall().kepftp)
        return {};
    try {
        FtpUpload(PictureFtpTarget(), target, QFileInfo(target).fileName(), progress);
    } catch (const FtpError& e) {
        return e.message();
    }
    return {};
}

namespace {

bool UploadAndReport(const QString& target, QWidget* owner) {
    const QString error = UploadPicture(target);
    if (!error.isEmpty())
        ShowError(csvexp_text::ErrorPrefix + error, owner);
    return true;
}

} // namespace

bool CopyAndUploadPicture(const QString& source, const QString& target, QWidget* owner) {
    QString error;
    if (!CopyFileOver(source, target, &error)) {
        ShowError(csvexp_text::ErrorPrefix + error, owner);
        return false;
    }
    return UploadAndReport(target, owner);
}

bool ResizeAndUploadPicture(const QString& source, const QString& target, QWidget* owner) {
    // Written beside the target and renamed over it: the source may be the
    // target itself, and a failed resize keeps the old picture.
    const QFileInfo info(target);
    const QString temporary =
        info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".tmp.jpg");
    try {
        ResizeJpeg(source, temporary, 640, 480);
    } catch (const std::exception& e) {
        QFile::remove(temporary);
        ShowError(csvexp_text::ErrorPrefix + QString::fromStdString(e.what()), owner);
        return false;
    }
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temporary);
        ShowError(csvexp_text::ErrorPrefix +
                      QStringLiteral("%1: nem írható").arg(QDir::toNativeSeparators(target)),
                  owner);
        return false;
    }
    return UploadAndReport(target, owner);
}

} // namespace kml
