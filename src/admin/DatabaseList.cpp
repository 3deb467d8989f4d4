#include "admin/DatabaseList.h"

#include "components/Connection.h"
#include "components/DbError.h"
#include "foundation/Conversions.h"

#include <QFileInfo>

namespace kml {

void OpenEntry(Connection& connection, const ConnectionEntry& entry) {
    connection.close();
    connection.open(EntryOptions(entry));
}

EntryTest TestDatabaseEntry(Connection& connection, const ConnectionEntry& entry) {
    EntryTest result;
    try {
        OpenEntry(connection, entry);
        const ResultSet rs = connection.query(QStringLiteral("SELECT MAX(verzio) FROM verzio;"));
        if (rs.rowCount() > 0 && !rs.isNull(0, 0))
            result.version = rs.text(0, 0);
        result.ok = true;
    } catch (const DbError& e) {
        result.error = QStringLiteral("Hiba: ") + e.text();
    } catch (const ConversionError& e) {
        result.error = QStringLiteral("Hiba: ") + QString::fromStdString(e.what());
    }
    connection.close();
    return result;
}

QString RestoreQuestion(const ConnectionEntry& entry, const QString& fileName) {
    return QStringLiteral(
               "A(z) \"%1\" adatbázis (%2, %3) minden táblájának tartalmát felülírja a mentés:\r\n%4\r\n"
               "Folytatja a visszatöltést?")
        .arg(entry.database, entry.displayName, entry.host, QFileInfo(fileName).fileName());
}

} // namespace kml
