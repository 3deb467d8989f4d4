#pragma once

// The database list (Tfrm_Adatbazis, "Tárhelyek"): the connection entries of
// the ini file, tested and backed up on the window's own connection, never
// on the program's shared one.

#include "admin/ConnectionEntries.h"
#include "foundation/WindowOperation.h"

#include <QString>
#include <QStringList>

namespace kml {

class Connection;

// Opens the list modally. editable: "Szerkeszt" and "Töröl" are offered;
// selectable: "Választ" is. Gives the entry chosen with "Választ" as its
// list text (ConnectionEntry::listText), or "" when closed otherwise. The
// list is written back to the ini file whenever the window closes.
inline WindowOperation<QString(bool editable, bool selectable)> OpenDatabaseList{"OpenDatabaseList"};

// A file dialog of the database list: save (a backup) or open (a restore
// or the dump program), with the caption, filters ("SQL file (*.sql)",
// ...) and proposed file; "" when cancelled.
struct FileRequest {
    QString caption;
    QStringList filters;
    QString proposed;
    bool save = true;
};
inline WindowOperation<QString(const FileRequest& request)> AskBackupFile{"AskBackupFile"};

// The dump program's path, ini section frm_Adatbazis, key MysqlDump.
inline const QString DatabaseListSection = QStringLiteral("frm_Adatbazis");
inline const QString DumpProgramKey = QStringLiteral("MysqlDump");

// The result of a connection test.
struct EntryTest {
    bool ok = false;
    QString version; // MAX(verzio) of the database; "" when none
    QString error;   // "Hiba: " + the error text when not ok
};

// Tests the entry on the connection: opens it with the entry (closing it
// first when open), reads "SELECT MAX(verzio) FROM verzio;", closes it
// again. A failure to connect, or a database without the schema's version
// table, gives ok false with "Hiba: " + the error text; the connection is
// closed either way.
EntryTest TestDatabaseEntry(Connection& connection, const ConnectionEntry& entry);

// Opens the connection with the entry for a backup or restore (closed first
// when open); throws DbError or ConversionError.
void OpenEntry(Connection& connection, const ConnectionEntry& entry);

// The question asked before a restore, naming the target database.
QString RestoreQuestion(const ConnectionEntry& entry, const QString& fileName);

} // namespace kml
