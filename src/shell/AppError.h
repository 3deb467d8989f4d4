#pragma once

// The application error handler: every error that escapes an event handler of
// any window ends here. It appends a line to the error log, explains the
// common causes in Hungarian and offers to report the others to the maker.
// The operation that failed is abandoned; the program goes on.

#include "foundation/LastAction.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace kml {

// The name of the report preview window: errors raised while it is active
// are printer problems whatever their text.
inline const QString ReportPreviewWindowName = QStringLiteral("QRStandardPreview");
// The page that takes error reports.
inline const QString ErrorReportEndpoint = QStringLiteral("https://www.tarnova.hu/apperr.php");
// The log file in the data folder.
inline const QString ErrorLogFileName = QStringLiteral("KoravelML.log");

// A change refused again and again because other workstations changed the
// same data at the same moment (a database cluster's conflicts): nothing of it
// was stored.
inline const QString ConflictGaveUpMessage =
    QStringLiteral("A módosítást nem sikerült elmenteni, mert egy másik munkaállomás ugyanezeket az adatokat "
                   "módosította ugyanabban a pillanatban. Semmi nem változott, próbálja meg újra.");
// The explanation of an error after which the server could not be reached
// or the session was lost; an interrupted statement (one that reached the
// server before the connection broke) adds the second sentence on a line of
// its own.
inline const QString LostConnectionMessage =
    QStringLiteral("Internet kapcsolat megszakadt. Ellenőrizze, majd a program újraindítása szükséges.");
inline const QString InterruptedStatementMessage =
    QStringLiteral("A megszakadt művelet lehet, hogy nem futott le: ellenőrizze az eredményét, mielőtt "
                   "megismétli.");

// The text the handler works with: last action + "-" + the error's message.
QString AppErrorText(const QString& message);

// The text of the exception being handled; call inside a catch block. A
// database error keeps its number in brackets; an exception of no known
// kind is "Ismeretlen hiba".
QString CurrentExceptionText();

// What the handler does with an error, decided from its text and the name of
// the active window.
struct AppErrorReaction {
    bool ignored = false;   // only logged
    QString message;        // shown in an error box first; empty: none
    bool askReport = false; // then the report question
};
AppErrorReaction ReactToAppError(const QString& errorText, const QString& activeWindow);

// One line of the error log: the workstation's date and time (the locale's
// short date and long time), " : ", the active window, " - ", the error text.
QString AppErrorLogLine(const QDateTime& when, const QString& activeWindow, const QString& errorText);

// The question that offers the report.
QString ReportQuestion(const QString& errorText);

// The address of an error report. Every value is percent-encoded (UTF-8), so
// an error text holding "&", "#", "?", blanks or line breaks arrives whole.
struct ErrorReport {
    QString programFile; // the program file's name without its folder
    QString windowName;  // the active window
    QString database;    // first field of the current connection entry
    QString client;      // the owner name (ini Tulajdonos)
    QString errorText;
};
QString ErrorReportAddress(const ErrorReport& report);

// What the handler needs from the windowing side. The GUI installs the real
// ones at program start; tests install their own. Unset members fall back to
// "no active window" and "do not open anything".
struct AppErrorEnvironment {
    std::function<QString()> activeWindowName;
    std::function<void(const QString& address)> openAddress;
};
// Installs the environment and returns the one it replaces.
AppErrorEnvironment SetAppErrorEnvironment(AppErrorEnvironment environment);

// Handles one error (errorText as AppErrorText builds it): logs it, shows the
// explanation and the report question through the dialog functions, and
// opens the report address when the user agrees. Never throws.
void HandleAppError(const QString& errorText) noexcept;

} // namespace kml
