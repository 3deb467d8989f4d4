#pragma once

// The command line "KoravelML --backup FILE [--db NAME]" for scheduled
// backups: the data script of a database (a ZIP archive when FILE ends in
// ".zip") written without a window. The database is the connection entry
// of the ini file whose display name is NAME, else the first one offered at
// start-up. The exit status is 0 only when the whole file was written.

#include <QString>
#include <QStringList>
#include <optional>

class QTextStream;

namespace kml {

struct BackupCommand {
    QString file;
    QString database; // display name of the connection entry; empty: the first
};

// Whether the program was started for the backup command ("--backup").
bool IsBackupCommand(const QStringList& arguments);

// The command's arguments (arguments[0] is the program). Gives nothing and
// sets error (Hungarian) when they are not well formed.
std::optional<BackupCommand> ParseBackupCommand(const QStringList& arguments, QString& error);

// Runs the command on the ini file IniFilePath() names and returns the exit
// status: 0 the file is complete, 1 the connection, the database or the file
// failed, 2 bad arguments. Failures are explained in Hungarian on err, the
// finished file is named on out.
int RunBackupCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

inline const QString BackupCommandUsage =
    QStringLiteral("Használat: KoravelML --backup FÁJL(.sql|.zip) [--db ADATBÁZIS]");

} // namespace kml
