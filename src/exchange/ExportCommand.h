#pragma once

// The command line "KoravelML --export NAME [--db NAME]": runs a saved
// export definition (table csvexp, by its name "Export neve") without a
// window, for a timer or a script: writes its file and, when the definition
// has "FTP küldés?" set, uploads it. The database is the connection entry
// of the ini file whose display name follows --db, else the first one.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QTextStream;

namespace kml {

class Connection;

struct ExportCommand {
    QString name;     // csvexp_nev
    QString database; // display name of the connection entry; empty: the first
};

// Whether the program was started for the export command ("--export").
bool IsExportCommand(const QStringList& arguments);

// The command's arguments (arguments[0] is the program). Gives nothing and
// sets error (Hungarian) when they are not well formed.
std::optional<ExportCommand> ParseExportCommand(const QStringList& arguments, QString& error);

// Opens the session on the connection (settings, entry, schema check) and
// makes it the shared one; throws std::exception with a Hungarian message on
// failure. The program passes the start-up code's OpenBatchSession.
using ExportSessionOpener = std::function<void(Connection& connection, const QString& database)>;

// Runs the command and returns the exit status: 0 only when the whole file
// was written and, for a definition with FTP, uploaded; 1 when the
// connection, the statement, the file or the upload failed (the previous
// file and the previous remote file are then left as they were); 2 for
// wrong arguments; 3 when there is no saved export of that name. Failures
// are explained in Hungarian on err, success named on out.
int RunExportCommand(const QStringList& arguments, const ExportSessionOpener& openSession, QTextStream& out,
                     QTextStream& err);

inline const QString ExportCommandUsage =
    QStringLiteral("Használat: KoravelML --export EXPORTNÉV [--db ADATBÁZIS]");

} // namespace kml
