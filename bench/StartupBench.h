#pragma once

// Start-up of the real main window, from starting the program to the
// work-sheet list shown.
//
// The benchmark starts itself again with --startup-child for every run: the
// child writes a portable KoravelML.ini beside itself holding one connection
// entry for the shop (so start-up picks it without showing the database
// choice), builds Tfrm_Main (which runs every start-up step), shows it,
// paints the work-sheet grid and reports on its standard output. The parent
// times the child from its start to that report.

#include "components/Connection.h"

#include <QString>
#include <QStringList>

namespace kml::bench {

// Writes a portable KoravelML.ini beside the program holding one connection
// entry for the shop, so that start-up picks it without showing the database
// choice, and points the ini file at it.
void WriteIniFile(const ConnectionOptions& options);

struct StartupFigures {
    int runs = 0;
    double sinceStartMs = 0; // median: process start to the list painted (measured by the parent)
    double constructMs = 0;  // median: building Tfrm_Main, the start-up steps included
    double showMs = 0;       // median: showing the window and painting the work-sheet grid
    int rows = 0;            // rows of the work-sheet list
    quint64 rssBytes = 0;    // the child's resident memory at that moment (median)
    QString failure;         // why start-up failed; empty when it did not
};

// Runs the child `runs` times with childArguments (connection options).
StartupFigures MeasureStartup(const QString& program, const QStringList& childArguments, int runs);

// The child's work; returns the process exit code. mainTimerNs is the
// nanosecond reading of a timer started at the top of main().
int RunStartupChild(const ConnectionOptions& options, qint64 mainTimerNs);

} // namespace kml::bench
