#include "exchange/ExportCommand.h"

#include "components/Connection.h"
#include "components/DbError.h"
#include "exchange/SavedExports.h"

#include <QDir>
#include <QTextStream>

namespace kml {

bool IsExportCommand(const QStringList& arguments) {
    return arguments.mid(1).contains(QStringLiteral("--export"));
}

std::optional<ExportCommand> ParseExportCommand(const QStringList& arguments, QString& error) {
    ExportCommand command;
    QStringList positional;
    bool exportGiven = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--export")) {
            exportGiven = true;
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
    if (!exportGiven || positional.size() != 1 || positional.first().trimmed().isEmpty()) {
        error = ExportCommandUsage;
        return std::nullopt;
    }
    command.name = positional.first().trimmed();
    return command;
}

int RunExportCommand(const QStringList& arguments, const ExportSessionOpener& openSession, QTextStream& out,
                     QTextStream& err) {
    QString error;
    const auto command = ParseExportCommand(arguments, error);
    if (!command) {
        err << error << Qt::endl;
        return 2;
    }
    Connection connection;
    // The session's connection is shared only while the command runs.
    Connection* previous = nullptr;
    try {
        previous = &SharedConnection();
    } catch (const std::logic_error&) {
    }
    struct Restore {
        Connection* previous;
        ~Restore() { SetSharedConnection(previous); }
    } restore{previous};

    std::optional<ExportDefinition> definition;
    try {
        openSession(connection, command->database);
        definition = FindExportDefinition(command->name);
    } catch (const DbError& e) {
        err << QStringLiteral("Adatbázis hiba: ") << e.text() << Qt::endl;
        return 1;
    } catch (const std::exception& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    if (!definition) {
        err << QStringLiteral("Nincs ilyen mentett export: ") << command->name << Qt::endl;
        return 3;
    }
    const ExportDestination destination = definition->ftp ? ExportDestination::Ftp : ExportDestination::File;
    const SavedExportResult result = RunSavedExport(*definition, destination);
    if (!result.ok) {
        err << csvexp_text::ErrorPrefix << result.error << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Export kész: %1 (%2 sor)")
               .arg(QDir::toNativeSeparators(result.path))
               .arg(result.rows);
    if (destination == ExportDestination::Ftp)
        out << QStringLiteral(", feltöltve: ") << FtpHostAndPort(definition->host, 0).host;
    out << Qt::endl;
    return 0;
}

} // namespace kml
