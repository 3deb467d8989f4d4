#include "foundation/Folders.h"

#include "foundation/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kml {
namespace {

QString g_dataFolder;

QString WithoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

QString ProgramFolder() {
    if (!QCoreApplication::instance())
        return WithoutTrailingSlash(QDir::currentPath());
    return WithoutTrailingSlash(QCoreApplication::applicationDirPath());
}

QString ChooseDataFolder(const QString& programFolder, const QString& appDataFolder) {
    if (QFileInfo::exists(programFolder + QLatin1Char('/') + QLatin1String(kIniFileName)))
        return programFolder;
    if (appDataFolder.isEmpty())
        return programFolder;
    return WithoutTrailingSlash(appDataFolder) + QLatin1String("/KoravelML");
}

QString DataFolder() {
    return g_dataFolder.isEmpty() ? ProgramFolder() : g_dataFolder;
}

void SetDataFolder(const QString& folder) {
    g_dataFolder = WithoutTrailingSlash(folder);
}

void InitFolders() {
    SetDataFolder(ChooseDataFolder(ProgramFolder(), CommonAppDataFolder()));
    QDir().mkpath(DataFolder()); // so that the ini file and the working files can be written
    SetIniFilePath(DataFolder() + QLatin1Char('/') + QLatin1String(kIniFileName));
}

QString SpecialFolder(QStandardPaths::StandardLocation location) {
    return WithoutTrailingSlash(QStandardPaths::writableLocation(location));
}

QString CommonAppDataFolder() {
    return SpecialFolder(QStandardPaths::GenericDataLocation);
}

QString DocumentsFolder() {
    return SpecialFolder(QStandardPaths::DocumentsLocation);
}

} // namespace kml
