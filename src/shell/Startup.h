#pragma once

// Start-up and shut-down of the program, apart from the main window's
// widgets: the main window runs RunStartup while it is being created, applies
// the outcome to itself, and calls MainWindowShown / MainWindowClosing.

#include <QString>

class QRect;

namespace kml {

class MainSession;

// What the main window shows after start-up. On failure only `failed` counts.
struct StartupOutcome {
    bool failed = false;
    QString caption; // "Koravel - ML: [" + owner + "]"
    QString label;   // Label1: "Koravel.ML: " + connection display name + two blanks
};

// The start-up steps in their order, each only while none has failed:
// the ini location and settings, the database choice (or the first-run
// window), the connection, the schema version check, the working date, the
// shop-wide settings, sp_dolgelofeltolt, the login (or every right without
// one), the caption, the number formats, the work-sheet list and
// sp_gyszstr. A failing step has shown its message; an unexpected error went
// to the application error handler. The session's connection becomes the
// shared connection. The result is also kept in Beall().startupFailed.
StartupOutcome RunStartup(MainSession& session);

// The schema version warning: three lines, the database's and the program's
// version.
QString VersionMismatchMessage(const QString& databaseVersion);

// Showing the main window after a successful start-up: records the time of
// the program's start in beallit.
void MainWindowShown();

// Closing the main window after a successful start-up: writes the
// per-workstation settings back (the window's bounds among them) and closes
// the connection. Does nothing after a failed start-up.
void MainWindowClosing(MainSession& session, const QRect& bounds);

} // namespace kml
