#pragma once

// The command line "KoravelML --pdf SHEET FILE [--blank] [--db NAME]":
// renders a work sheet's printout (final, or blank with --blank) in the
// layout of the shop's trade to a PDF file, without showing a window, for
// scripts that mail or archive sheets. The database is the one the ini file
// names (--db: the connection entry with that display name, else the first).

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QTextStream;

namespace kml {

class Connection;

struct PdfCommand {
    int worksheet = 0;
    QString file;
    bool blank = false;
    QString database; // display name of the connection entry; empty: the first
};

// Whether the program was started for the PDF command (an argument "--pdf").
bool IsPdfCommand(const QStringList& arguments);

// The command's arguments (arguments[0] is the program). Gives nothing and
// sets error (Hungarian) when they are not well formed.
std::optional<PdfCommand> ParsePdfCommand(const QStringList& arguments, QString& error);

// Opens the session a printout needs on the connection: the ini file's
// settings into Beall(), the connection entry, the schema check, the
// shop-wide settings; makes the connection the shared one. Throws with a
// Hungarian message on failure. The program passes the start-up code's
// OpenBatchSession (shell/BatchSession.h).
using SessionOpener = std::function<void(Connection& connection, const QString& database)>;

// Runs the command and returns the process exit code: 0 written, 1 the
// database or the file failed, 2 bad arguments, 3 no such work sheet. Every
// failure is explained in Hungarian on err.
int RunPdfCommand(const QStringList& arguments, const SessionOpener& openSession, QTextStream& err);

inline const QString PdfCommandUsage =
    QStringLiteral("Használat: KoravelML --pdf MUNKALAPSZÁM FÁJL.pdf [--blank] [--db ADATBÁZIS]");

} // namespace kml
