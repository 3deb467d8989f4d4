#include "worksheets/WorkSheetState.h"

#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"
#include "components/Transaction.h"
#include "foundation/Dialogs.h"
#include "foundation/Flags.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/EditorDefinition.h"
#include "records/TypeWindows.h"

namespace kml {
namespace {

// The error number of SIGNAL SQLSTATE '45000'.
constexpr unsigned SignalledError = 1644;

QString Key(qlonglong key) {
    return QString::number(key);
}

} // namespace

std::optional<QString> SheetState::refusal() const {
    if (!exists)
        return worksheet_text::DeletedMeanwhile;
    if (cancelled)
        return worksheet_text::Cancelled;
    if (locked())
        return worksheet_text::Locked;
    return std::nullopt;
}

namespace {

SheetState ReadState(qlonglong sheet, bool lockRow) {
    const ResultSet rs = SharedConnection().query(
        QStringLiteral(
            "SELECT m.statusz, m.storno, m.fizetve, m.szlaszam, m.ar_fizetendo, s.keszenvan, m.ugyfel, "
            "m.keszulek, m.mlaptipus FROM munkalap m LEFT JOIN statusz s ON s.statusz = m.statusz "
            "WHERE m.munkalap = %1%2;")
            .arg(sheet)
            .arg(lockRow ? QStringLiteral(" FOR UPDATE") : QString()));
    SheetState state;
    if (rs.rowCount() == 0)
        return state;
    state.exists = true;
    state.status = rs.value(0, 0).toInt();
    state.cancelled = IsFlagSet(rs.text(0, 1));
    state.paid = IsFlagSet(rs.text(0, 2));
    state.invoiceNumber = rs.text(0, 3);
    state.payable = rs.value(0, 4).toDouble();
    state.statusLocks = IsFlagSet(rs.text(0, 5));
    state.customer = rs.value(0, 6).toInt();
    state.device = rs.value(0, 7).toInt();
    state.type = rs.value(0, 8).toInt();
    return state;
}

} // namespace

SheetState ReadSheetState(qlonglong sheet) {
    return ReadState(sheet, false);
}

SeenSheet SeeSheetNow(qlonglong sheet) {
    const SheetState state = ReadSheetState(sheet);
    SeenSheet seen;
    seen.sheet = sheet;
    seen.status = state.status;
    seen.cancelled = state.cancelled;
    seen.paid = state.paid;
    seen.invoiceNumber = state.invoiceNumber;
    return seen;
}

bool StillAsSeen(const SheetState& state, const SeenSheet& seen) {
    return state.exists && state.status == seen.status && state.cancelled == seen.cancelled &&
           state.paid == seen.paid && state.invoiceNumber == seen.invoiceNumber;
}

SheetState LockSheetState(qlonglong sheet) {
    return ReadState(sheet, true);
}

void ShowSheetRefusal(const QString& message) {
    if (message == worksheet_text::Cancelled || message == worksheet_text::Locked)
        ShowError(message);
    else
        ShowWarning(message);
}

bool RefusedToChange(const SheetState& state) {
    const std::optional<QString> refusal = state.refusal();
    if (refusal)
        ShowSheetRefusal(*refusal);
    return refusal.has_value();
}

std::optional<QString> SheetRefusalMessage(const DbError& error) {
    if (error.code() != SignalledError)
        return std::nullopt;
    const QString& text = error.message();
    if (text == worksheet_text::Cancelled || text == worksheet_text::Locked)
        return text;
    if (text == QLatin1String("Nincs ilyen munkalap"))
        return worksheet_text::DeletedMeanwhile;
    if (text == QLatin1String("Nincs ilyen munkalap sor"))
        return worksheet_text::LineDeletedMeanwhile;
    return std::nullopt;
}

SheetWrite WriteOpenSheet(qlonglong sheet, const std::function<void()>& write) {
    try {
        RunTransaction(SharedConnection(), [&] {
            ExecSql(QStringLiteral("CALL sp_mlapnyitott(%1);").arg(sheet));
            write();
            return true;
        });
    } catch (const DbError& e) {
        if (const std::optional<QString> message = SheetRefusalMessage(e)) {
            ShowSheetRefusal(*message);
            return SheetWrite::Refused;
        }
        throw;
    } catch (const StaleRowError& e) {
        if (e.reason() == StaleRowError::Reason::Deleted)
            ShowWarning(worksheet_text::DeletedMeanwhile);
        else
            ShowError(edit_text::RowChanged);
        return SheetWrite::Stale;
    }
    return SheetWrite::Written;
}

QString CurrentUserName() {
    const QString name = Beall().felhasznaloNev;
    return name.isEmpty() ? QStringLiteral("rendszergazda") : name;
}

RowKey ChooseEmployee() {
    const RowKey employee =
        OpenLookupTable(std::nullopt, true, QStringLiteral("dolgozo"), true, worksheet_text::EmployeeCaption)
            .key;
    ExecSql(QStringLiteral("CALL sp_dolgujrasor();"));
    return employee;
}

QString LinkEmployeeSql(qlonglong sheet, qlonglong employee) {
    return QStringLiteral("CALL sp_dolgstr(") + Key(sheet) + QLatin1Char(',') + Key(employee) +
           QStringLiteral(");");
}

QString RebuildEmployeesSql(qlonglong sheet) {
    return QStringLiteral("CALL sp_dolgstr(") + Key(sheet) + QStringLiteral(",-1);");
}

QString UnlinkEmployeeSql(qlonglong sheet, qlonglong employee) {
    return QStringLiteral("DELETE FROM munkalap_dolgozo WHERE (munkalap = ") + Key(sheet) +
           QStringLiteral(") AND (dolgozo = ") + Key(employee) + QStringLiteral(");");
}

} // namespace kml
