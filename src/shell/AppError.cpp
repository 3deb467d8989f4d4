#include "shell/AppError.h"

#include "components/Cp1250.h"
#include "components/DbError.h"
#include "components/Transaction.h"
#include "foundation/Dialogs.h"
#include "foundation/Folders.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "shell/Version.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QUrl>

namespace kml {
namespace {

AppErrorEnvironment g_environment;

bool ContainsAny(const QString& text, std::initializer_list<const char*> parts) {
    for (const char* part : parts)
        if (text.contains(QLatin1String(part)))
            return true;
    return false;
}

// The locale's long time format without the time zone, which the log line
// never carried.
QString LongTimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    format.remove(zone);
    return format.trimmed();
}

QString Encoded(const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

void AppendLogLine(const QString& line) {
    QFile file(DataFolder() + QLatin1Char('/') + ErrorLogFileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(line.toUtf8());
    file.write("\n");
}

// The server cannot be reached or the session is gone: every error number
// the connection treats so, as the data-access layer words it.
bool MentionsLostConnection(const QString& text) {
    for (const unsigned code : LostConnectionErrors)
        if (text.contains(QStringLiteral("(%1)").arg(code)))
            return true;
    return false;
}

} // namespace

QString AppErrorText(const QString& message) {
    return LastAction() + QLatin1Char('-') + message;
}

QString CurrentExceptionText() {
    try {
        throw;
    } catch (const DbError& e) {
        return e.text();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Ismeretlen hiba");
    }
}

AppErrorReaction ReactToAppError(const QString& text, const QString& activeWindow) {
    AppErrorReaction r;
    if (ContainsAny(text, {"List index out of bounds", "Cannot focus", "Cannot open clipboard"})) {
        r.ignored = true;
        return r;
    }
    if (activeWindow == ReportPreviewWindowName)
        r.message =
            QStringLiteral("Nyomtatási probléma, vagy érvénytelen nyomtató: Rendszer menü / Beállítások "
                           "alatt válasszon ki érvényes nyomtatót, és indítsa újra a programot.");
    else if (ContainsAny(text, {"Printer index out of range", "Printer selected is not valid",
                                "There is no default printer currently selected"}))
        r.message = QStringLiteral(
            "Érvénytelen nyomtató, válasszon ki érvényes nyomtatót, és indítsa újra a programot.");
    else if (text.contains(QLatin1String("A component named qr")))
        r.message = QStringLiteral("Nyomtatási probléma: indítsa újra a programot.");
    else if (text.contains(QLatin1String("not a valid")))
        r.message =
            QStringLiteral("Adat beviteli probléma: érvénytelen dátum, vagy idő formátum, nyomja meg az ESC "
                           "gombot, vagy javítsa.");
    else if (text.contains(QLatin1String("Access violation at address")))
        r.message = QStringLiteral("Szoftver probléma: lehet, hogy újra kell indítani a programot.");
    else if (ContainsAny(text, {"not a valid floating point value for", "Invalid input value"}))
        r.message = QStringLiteral("Érvénytelen érték megadás, ESC, majd add meg az újat.");
    else if (text.contains(ConflictGaveUpMark))
        r.message = ConflictGaveUpMessage;
    else if (MentionsLostConnection(text)) {
        r.message = LostConnectionMessage;
        if (text.contains(DbError::InterruptedStatementMark))
            r.message += QStringLiteral("\r\n") + InterruptedStatementMessage;
    } else if (text.contains(QLatin1String("(1213)")))
        r.message =
            QStringLiteral("Adatbázis elérés probléma (1213 - Deadlock found...), a program újraindítása "
                           "szükséges.");
    else if (text.contains(QLatin1String("(1040)")))
        r.message =
            QStringLiteral("Adatbázis elérés probléma (1040 - Túl sok felhasználói kapcsolat), a program "
                           "újraindítása szükséges.");
    else if (text.contains(QLatin1String("(1205)")))
        r.message = QStringLiteral("Adatbázis elérés probléma (1205 - Lock wait timeout exceeded), hívja "
                                   "rendszergazdáját.");
    else if (const qsizetype mark = text.indexOf(UnstorableTextMark);
             mark >= 0 && text.endsWith(QStringLiteral(" (%1)").arg(UnstorableTextError)))
        r.message = text.mid(mark).chopped(QStringLiteral(" (%1)").arg(UnstorableTextError).size());
    else if (text.contains(QLatin1String("(1267)"))) {
        r.message =
            QStringLiteral("Helytelen adatbázis kódlap beállítás (1267). Jelezze rendszergazdájának.");
        r.askReport = true;
    } else
        r.askReport = true;
    return r;
}

QString AppErrorLogLine(const QDateTime& when, const QString& activeWindow, const QString& errorText) {
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), LongTimeFormat(locale)) + QStringLiteral(" : ") + activeWindow +
           QStringLiteral(" - ") + errorText;
}

QString ReportQuestion(const QString& errorText) {
    return QStringLiteral("Kérem, az alábbi hibaüzenetet az OK gombra kattintva küldje el nekünk:\r\n") +
           errorText + QStringLiteral("\r\nNyomja meg az OK gombot!");
}

QString ErrorReportAddress(const ErrorReport& report) {
    return ErrorReportEndpoint + QStringLiteral("?app=") + Encoded(ApplicationNumber) +
           QStringLiteral("&appnev=") + Encoded(QStringLiteral("KoravelML-") + report.programFile) +
           QStringLiteral("&ver=") + Encoded(ProgramVersion) + QStringLiteral("&form=") +
           Encoded(report.windowName) + QStringLiteral("&database=") + Encoded(report.database) +
           QStringLiteral("&client=") + Encoded(report.client) + QStringLiteral("&err=") +
           Encoded(report.errorText);
}

AppErrorEnvironment SetAppErrorEnvironment(AppErrorEnvironment environment) {
    std::swap(g_environment, environment);
    return environment;
}

void HandleAppError(const QString& errorText) noexcept {
    try {
        const QString window = g_environment.activeWindowName ? g_environment.activeWindowName() : QString();
        AppendLogLine(AppErrorLogLine(QDateTime::currentDateTime(), window, errorText));

        const AppErrorReaction reaction = ReactToAppError(errorText, window);
        if (reaction.ignored)
            return;
        if (!reaction.message.isEmpty())
            ShowError(reaction.message);
        if (!reaction.askReport)
            return;
        if (!AskYesNo(ReportQuestion(errorText), dialog_text::ErrorCaption, nullptr, MessageIcon::Error))
            return;
        ErrorReport report;
        report.programFile = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        report.windowName = window;
        report.database = Token(QStringLiteral(";"), Beall().connectionEntry, 1);
        report.client = Beall().tulajdonos;
        report.errorText = errorText;
        if (g_environment.openAddress)
            g_environment.openAddress(ErrorReportAddress(report));
    } catch (...) {
        // The handler is the last stop: an error inside it is not reported.
    }
}

} // namespace kml
