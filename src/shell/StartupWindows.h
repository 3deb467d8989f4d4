#pragma once

// The windows start-up opens, as window operations (foundation/
// WindowOperation.h): the program installs the real windows
// (shell/gui/Windows.h), tests put stand-ins behind them. The functions below
// keep the logic around the windows (the one-entry shortcut, storing a new
// entry) so that it runs the same with either.

#include "foundation/WindowOperation.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kml {

// Tfrm_AdatbazisNyit with the offered lines and their entries: the chosen
// line (from 0), lines.size() when "Új" created a new entry (the current
// connection entry is then that one), -1 when cancelled.
inline WindowOperation<int(const QStringList& lines, const QStringList& entries, const QString& caption)>
    DatabaseChoiceWindow{"ChooseDatabase"};
// Tfrm_Init: the new entry as typed (six fields joined by ";"), nothing
// when cancelled.
inline WindowOperation<std::optional<QString>()> ConnectionEntryWindow{"CreateConnectionEntry"};
// Tfrm_Login: true when a user logged in (the rights are then loaded).
inline WindowOperation<bool()> LoginWindow{"Login"};

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
