#pragma once

// The windows start-up opens, behind a replaceable door (like the dialog
// backend): the program installs the real windows (GuiStartupWindows.h),
// tests install functions that answer as a user would. The functions below
// keep the logic around the windows (the one-entry shortcut, storing a new
// entry) so that it runs the same with either.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kml {

struct StartupWindows {
    // Tfrm_AdatbazisNyit with the offered lines and their entries: the chosen
    // line (from 0), lines.size() when "Új" created a new entry (the current
    // connection entry is then that one), -1 when cancelled.
    std::function<int(const QStringList& lines, const QStringList& entries, const QString& caption)>
        chooseDatabase;
    // Tfrm_Init: the new entry as typed (six fields joined by ";"), nothing
    // when cancelled.
    std::function<std::optional<QString>()> createConnectionEntry;
    // Tfrm_Login: true when a user logged in (the rights are then loaded).
    std::function<bool()> login;
};

// Installs the windows and returns the ones they replace. Calling an
// operation that is not installed throws std::logic_error.
StartupWindows SetStartupWindows(StartupWindows windows);

inline const QString ChooseDatabaseCaption = QStringLiteral("Koravel.ML adatbázis választás");

// The database choice. With exactly one line its entry is tested first and,
// when the server answers, chosen without showing the window (0). Otherwise
// the window's answer.
int ChooseDatabase(const QStringList& lines, const QStringList& entries, const QString& caption);

// The first-run window. On confirmation the entry is stored in the ini file
// (first free ConStr number) and becomes the current connection entry; true.
// False when cancelled.
bool CreateConnectionEntry();

// The login window: true when a user logged in. False when the window was
// closed without a login; start-up then fails, which ends the program.
bool Login();

} // namespace kml
