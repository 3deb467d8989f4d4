#include "reports/PdfCommand.h"

#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "reports/WorkSheetPrint.h"

#include <QTextStream>

namespace kml {

bool IsPdfCommand(const QStringList& arguments) {
    return arguments.mid(1).contains(QStringLiteral("--pdf"));
}

std::optional<PdfCommand> ParsePdfCommand(const QStringList& arguments, QString& error) {
    PdfCommand command;
    QStringList positional;
    bool pdf = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--pdf")) {
            pdf = true;
        } else if (a == QLatin1String("--blank")) {
            command.blank = true;
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
    if (!pdf || positional.size() != 2) {
        error = PdfCommandUsage;
        return std::nullopt;
    }
    bool ok = false;
    command.worksheet = positional.at(0).toInt(&ok);
    if (!ok || command.worksheet <= 0) {
        error = QStringLiteral("Érvénytelen munkalapszám: ") + positional.at(0);
        return std::nullopt;
    }
    command.file = positional.at(1);
    return command;
}

int RunPdfCommand(const QStringList& arguments, const SessionOpener& openSession, QTextStream& err) {
    QString error;
    const auto command = ParsePdfCommand(arguments, error);
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
    try {
        openSession(connection, command->database);
        if (QueryInt(QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE munkalap = ") +
                     QString::number(command->worksheet) + QLatin1Char(';')) == 0) {
            err << QStringLiteral("Nincs ilyen munkalap: ") << command->worksheet << Qt::endl;
            return 3;
        }
        if (IsCancelledWorkSheet(command->worksheet))
            err << QStringLiteral("A munkalap sztornózott: a PDF minden oldalán „%1” jelzés áll.")
                       .arg(CancelledMark)
                << Qt::endl;
        const WorkSheetPrintOptions options = CurrentWorkSheetPrintOptions();
        const report::Document document = MakeWorkSheetDocument(
            command->worksheet, ChooseWorkSheetLayout(options.programType, command->blank), options);
        try {
            report::SaveAsPdf(document, command->file);
        } catch (const std::runtime_error&) {
            err << QStringLiteral("A PDF fájl nem írható: ") << command->file << Qt::endl;
            return 1;
        }
    } catch (const DbError& e) {
        err << QStringLiteral("Adatbázis hiba: ") << e.text() << Qt::endl;
        return 1;
    } catch (const std::exception& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace kml
