#pragma once

#include <QStandardPaths>
#include <QString>

namespace kml {

// The per-workstation folders. Paths are joined with "/" and carry no
// trailing separator.

inline constexpr const char* kIniFileName = "KoravelML.ini";

// The folder of the program file, as the system spells it (paths are
// case-sensitive here).
QString ProgramFolder();

// The data folder: the program folder when it holds KoravelML.ini (a
// portable set-up), otherwise the user's application-data folder +
// "/KoravelML"; the program folder when that cannot be found.
QString ChooseDataFolder(const QString& programFolder, const QString& appDataFolder);
QString DataFolder();
void SetDataFolder(const QString& folder);

// Start-up: decides the data folder by the rule above and points the ini
// file (IniFile.h) at data folder + "/KoravelML.ini"; creates the data
// folder when it is missing (ignoring failure). May be called again;
// the rule is applied afresh.
void InitFolders();

// A standard folder of the desktop, "" when the system has none.
QString SpecialFolder(QStandardPaths::StandardLocation location);
// The application-data folder that the program's data folder lives in.
QString CommonAppDataFolder();
QString DocumentsFolder();

} // namespace kml
