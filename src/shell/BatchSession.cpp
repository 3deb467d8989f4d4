#include "shell/BatchSession.h"

#include "admin/ConnectionEntries.h"
#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "shell/Rights.h"
#include "shell/ShopSettings.h"
#include "shell/Startup.h"
#include "shell/Version.h"
#include "shell/WorkstationSettings.h"

#include <stdexcept>

namespace kml {
namespace {

[[noreturn]] void Fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

} // namespace

void OpenBatchSession(Connection& connection, const QString& database) {
    InitFolders();
    OpenSessionFromIni(connection, database);
}

void OpenSessionFromIni(Connection& connection, const QString& database) {
    TBeall& s = Beall();
    s = TBeall{};
    ReadWorkstationSettings(s);

    const OfferedEntries offered = ReadOfferedEntries();
    QString entryText;
    for (const QString& entry : offered.entries) {
        if (database.isEmpty() || ConnectionEntry::parse(entry).displayName == database) {
            entryText = entry;
            break;
        }
    }
    if (entryText.isEmpty())
        Fail(database.isEmpty()
                 ? QStringLiteral("Nincs adatbázis-kapcsolat az ini fájlban: ") + IniFilePath()
                 : QStringLiteral("Nincs ilyen adatbázis-kapcsolat az ini fájlban: ") + database);
    s.connectionEntry = entryText;
    const ConnectionEntry entry = ConnectionEntry::parse(entryText);
    s.connectionName = entry.displayName;
    try {
        connection.open(EntryOptions(entry));
    } catch (const DbError& e) {
        Fail(QStringLiteral("Sikertelen kapcsolódás: ") + e.text());
    }
    SetSharedConnection(&connection);

    QString version;
    try {
        version = QueryStr(QStringLiteral("SELECT MAX(verzio) FROM verzio;"), {});
    } catch (const DbError&) {
    }
    if (version != ProgramVersion)
        Fail(VersionMismatchMessage(version));
    s.workDate = ServerDate();
    LoadShopSettings(s);
    GrantAllRights();
}

} // namespace kml
