#include "shell/Startup.h"

#include "admin/ConnectionEntries.h"
#include "components/DbError.h"
#include "foundation/Conversions.h"
#include "foundation/DateHelpers.h"
#include "foundation/Dialogs.h"
#include "foundation/Folders.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "shell/AppError.h"
#include "shell/MainLists.h"
#include "shell/MainSession.h"
#include "shell/Rights.h"
#include "shell/ShopSettings.h"
#include "shell/StartupWindows.h"
#include "shell/Version.h"
#include "shell/WorkstationSettings.h"

#include <QRect>

namespace kml {
namespace {

// Reading the ini file: the offered entries and the choice among them, then
// the per-workstation settings. False when the choice was cancelled.
bool ReadIniFile(TBeall& s) {
    const OfferedEntries offered = ReadOfferedEntries();
    bool chosen = true;
    if (!offered.lines.isEmpty()) {
        const int line = ChooseDatabase(offered.lines, offered.entries, ChooseDatabaseCaption);
        if (line < 0)
            chosen = false;
        else if (line < offered.entries.size())
            s.connectionEntry = offered.entries.at(line);
        // line == count: "Új" created the entry and made it current.
    }
    ReadWorkstationSettings(s);
    return chosen;
}

// Opens the shared connection with the current entry; shows why it failed.
bool Connect(MainSession& session, TBeall& s) {
    Connection& db = session.mySQLDatabase1;
    db.close();
    const ConnectionEntry entry = ConnectionEntry::parse(s.connectionEntry);
    s.connectionName = entry.displayName;
    try {
        db.open(EntryOptions(entry));
    } catch (const DbError& e) {
        ShowError(QStringLiteral("Sikertelen kapcsolódás: ") + e.text());
        return false;
    } catch (const ConversionError& e) {
        ShowError(QStringLiteral("Sikertelen kapcsolódás: ") + QString::fromUtf8(e.what()));
        return false;
    }
    SetSharedConnection(&db);
    return true;
}

bool VersionMatches() {
    QString version;
    try {
        version = QueryStr(QStringLiteral("SELECT MAX(verzio) FROM verzio;"), {});
    } catch (const DbError&) {
        // No verzio table: the empty text differs like any other.
    }
    if (version == ProgramVersion)
        return true;
    ShowWarning(VersionMismatchMessage(version));
    return false;
}

bool LogIn() {
    try {
        return Login();
    } catch (...) {
        ShowError(QStringLiteral("Ismeretlen hiba, indítsa újra a programot.\r\n") + CurrentExceptionText());
        return false;
    }
}

// Money and quantity formats on the work-sheet datasets. The detail datasets
// are opened once on their empty design condition so that they know their
// fields; the formats stay with them.
void ApplyMainNumberFormats(MainSession& session, const TBeall& s) {
    for (Query* q : {&session.QryTetel, &session.QryMLapSum}) {
        const bool wasActive = q->isActive();
        q->open();
        ApplyNumberFormats(*q, false, s.formatFt, s.formatDb);
        if (!wasActive)
            q->close();
    }
}

StartupOutcome RunSteps(MainSession& session, TBeall& s) {
    StartupOutcome out;
    out.failed = true;

    InitFolders();
    const bool chosen = ReadIniFile(s);

    // The work-sheet list opens on its first status tab.
    ReplaceWhere(session.QryMLap.sql(), session.list(MainTab::WorkSheets).fixedCondition(), true);

    // Not skipped after a cancelled choice: the first-run window still
    // comes, and an entry confirmed there stays in the ini file.
    if (s.connectionEntry.isEmpty() && !CreateConnectionEntry())
        return out;
    if (!chosen)
        return out;

    if (!Connect(session, s))
        return out;
    if (!VersionMatches())
        return out;

    s.workDate = ServerDate();
    LoadShopSettings(s);
    ExecSql(QStringLiteral("CALL sp_dolgelofeltolt(") + SqlDate(false, s.workDate) + QStringLiteral(");"));

    if (s.vanbelep) {
        if (!LogIn())
            return out;
    } else
        GrantAllRights();

    out.caption = QStringLiteral("Koravel - ML: [") +
                  QueryStr(QStringLiteral("SELECT tulajdonos FROM tulajdonos;"), {}) + QStringLiteral("]");
    out.label = ConnectionLabel(s.connectionName);

    ApplyMainNumberFormats(session, s);

    session.QryMLap.open();
    ApplyNumberFormats(session.QryMLap, false, s.formatFt, s.formatDb);
    session.QryNaptar.setParam(QStringLiteral("pdatum"), s.workDate);
    ExecSql(QStringLiteral("CALL sp_gyszstr ();"));

    out.failed = false;
    return out;
}

} // namespace

QString VersionMismatchMessage(const QString& databaseVersion) {
    return QStringLiteral(
               "Eltérő verziók, hiba lehetséges, frissítse programját, adatbázisát\r\nadatbázis : ") +
           databaseVersion + QStringLiteral("\r\nprogram: ") + ProgramVersion;
}

StartupOutcome RunStartup(MainSession& session) {
    TBeall& s = Beall();
    s = TBeall{}; // the record lives exactly as long as the main window
    StartupOutcome out;
    try {
        out = RunSteps(session, s);
    } catch (...) {
        // Anything the steps do not expect goes to the error handler, and the
        // program does not start.
        HandleAppError(AppErrorText(CurrentExceptionText()));
        out = StartupOutcome{};
        out.failed = true;
    }
    s.startupFailed = out.failed;
    return out;
}

void MainWindowShown() {
    if (Beall().startupFailed)
        return;
    ExecSql(QStringLiteral("UPDATE beallit SET utbelep = NOW();"));
}

void MainWindowClosing(MainSession& session, const QRect& bounds) {
    if (Beall().startupFailed)
        return;
    WriteWorkstationSettings(Beall(), bounds);
    session.mySQLDatabase1.close();
}

} // namespace kml
