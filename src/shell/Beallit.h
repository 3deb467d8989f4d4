#pragma once

// The settings window "Beállítások" without its widgets: what EditSettings
// opens, what the window shows, and what OK and Mégsem do.
//
// The window edits two kinds of settings at once: the single row of table
// beallit (shop-wide; edited in place, OK posts the changed columns only) and
// per-workstation values held in the settings record (TBeall), which reach
// the ini file when the main window closes. The window itself is a window
// operation (SettingsWindow): the program installs Tfrm_Beallit, tests put a
// stand-in behind it that changes fields and presses OK or Mégsem as a user
// would.
//
// EditSettings neither checks the administrator right nor reloads the
// shop-wide settings; its caller (the main window's aBeallit) does both:
//
//     if (!RequireRight(Beall().rendszergazda))
//         return;
//     EditSettings();
//     LoadShopSettings(Beall()); ...

#include "components/Table.h"
#include "foundation/FieldLimits.h"
#include "foundation/WindowOperation.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace kml {

struct TBeall;

namespace settings_text {
inline const QString WindowCaption = QStringLiteral("Beállítások");
inline const QString ProgramTypeNamesSql =
    QStringLiteral("SELECT prgtipus_nev FROM prgtipus ORDER BY prgtipus;");
inline const QString ProgramTypeKeysSql = QStringLiteral("SELECT prgtipus FROM prgtipus ORDER BY prgtipus;");
} // namespace settings_text

// What the window shows beside the beallit row.
struct SettingsValues {
    // Per-workstation settings, from and back into the settings record.
    bool vanPennart = false; // Pennart/VanPennart
    QString pennart;         // Pennart/Pennart
    bool teljesKep = true;   // Alapertek/TeljesKep
    QString alapNyomtato;    // Nyomtato/AlapNyomtato
    QString formatDb;        // Alapertek/FormatDb
    QString formatFt;        // Alapertek/FormatFt
    QString kepek;           // Defaults/Kepek

    // The program-type choice: the names of table prgtipus in the order of
    // their numbers, the numbers beside them, and the chosen item (-1: none).
    QStringList programTypeNames;
    QList<int> programTypes;
    int programType = -1;
};

// The limits of the settings row's numbers beyond their columns' ranges,
// with the captions the window shows: "Munkalap hatidő (nap)" 0-3650 days,
// "Cikkszám hossza (max 15)" 1-15, "Áfa kulcs" 0-100 percent, "Port"
// 1-65535 (empty is allowed: no port).
void SetSettingsLimits(FieldLimits& limits);

// Opens the first row of beallit (ordered by beallit) for editing. A table
// without a row gives a new row, which OK then inserts with the server's
// defaults for what was not set.
void OpenSettingsRow(Table& row);

// The values the window starts with: the per-workstation ones from the
// settings record, the program types from table prgtipus, and as chosen item
// the row's program type; none when that type has no row in prgtipus.
SettingsValues ReadSettingsValues(const TBeall& settings, const Table& row);

// The chosen item's program number; 0 when nothing is chosen.
int ChosenProgramType(const SettingsValues& values);

// OK: the chosen program type into the row; the row posted (changed columns
// only; a server error rises to the caller, and the settings record is then
// untouched); then the invoicing-program flag and path, the full-screen
// flag, the default printer, the quantity and money formats and the picture
// folder into the settings record (a picture folder that does not exist is
// created, a failure to create it ignored, as at start-up).
void AcceptSettings(Table& row, const SettingsValues& values, TBeall& settings);

// Mégsem: the row's changes are forgotten; the settings record is untouched.
void CancelSettings(Table& row);

// The window: shows the row (open for editing) and the values, lets the user
// change both, and gives true for OK, false for Mégsem or closing. It writes
// nothing itself; EditSettings does, once it has closed.
inline WindowOperation<bool(Table& row, SettingsValues& values)> SettingsWindow{"EditSettings"};

// The settings window, modal: opens the row and the values, shows the window,
// then runs AcceptSettings (OK) or CancelSettings (Mégsem) on the process's
// settings record. True for OK. Throws std::logic_error while no window is
// installed.
//
// Nothing typed is lost and nothing out of range is stored: when the row
// holds a value out of its limits (SetSettingsLimits) its message is shown,
// and when the connection to the server is lost while the row is written
// the lost-connection message is shown (through the application error
// handler, which also logs it); either way the window opens again with
// everything as the user left it, and the settings record is unchanged
// until the row has been written. Other server errors rise to the caller.
bool EditSettings();

} // namespace kml
