#include "admin/BackupCommand.h"

#include "admin/Backup.h"
#include "admin/ConnectionEntries.h"
#include "components/Connection.h"
#include "components/DbError.h"
#include "foundation/Conversions.h"

#include <QTextStream>

namespace kml {

bool IsBackupCommand(const QStringList& arguments) {
    return arguments.mid(1).contains(QStringLiteral("--backup"));
}

std::optional<BackupCommand> ParseBackupCommand(const QStringList& arguments, QString& error) {
    BackupCommand command;
    QStringList positional;
    bool backup = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--backup")) {
            backup = true;
        } else if (a == QLatin1String("--db")) {
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("A --db után az adatbázis neve kell.");
                return std::nullopt;
            }
            command.database = arguments.at(++i);
        } else if (a.startsWith(QLatin1String("--"))) {
            error = QStringLiteral("Ismeretlen kapcsoló: ") + a;
            return std::nullopt;
        } else {
            positional << a;
        }
    }
    if (!backup || positional.size() != 1 || positional.first().isEmpty()) {
        error = BackupCommandUsage;
        return std::nullopt;
    }
    command.file = positional.first();
    return command;
}

int RunBackupCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QString error;
    const auto command = ParseBackupCommand(arguments, error);
    if (!command) {
        err << error << Qt::endl;
        return 2;
    }
    std::optional<ConnectionEntry> chosen;
    for (const ConnectionEntry& entry : ReadConnectionEntries()) {
        if (entry.displayName.isEmpty())
            continue;
        if (command->database.isEmpty() || entry.displayName == command->database) {
            chosen = entry;
            break;
        }
    }
    if (!chosen) {
        err << (command->database.isEmpty()
                    ? QStringLiteral("Nincs adatbázis-kapcsolat az ini fájlban.")
                    : QStringLiteral("Nincs ilyen adatbázis-kapcsolat az ini fájlban: ") + command->database)
            << Qt::endl;
        return 1;
    }
    try {
        Connection connection;
        connection.open(EntryOptions(*chosen));
        WriteDataBackup(connection, command->file);
    } catch (const DbError& e) {
        err << QStringLiteral("Hiba: ") << e.text() << Qt::endl;
        return 1;
    } catch (const std::exception& e) {
        err << QStringLiteral("Hiba: ") << QString::fromLocal8Bit(e.what()) << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Mentés kész: ") << command->file << Qt::endl;
    return 0;
}

} // namespace kml
