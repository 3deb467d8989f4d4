#include "worksheets/WorkSheetState.h"

#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"
#include "foundation/Dialogs.h"
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

SheetState ReadSheetState(qlonglong sheet) {
    const ResultSet rs = SharedConnection().query(
        QStringLiteral(
            "SELECT m.statusz, m.storno, m.fizetve, m.szlaszam, m.ar_fizetendo, s.keszenvan, m.ugyfel, "
            "m.keszulek, m.mlaptipus FROM munkalap m LEFT JOIN statusz s ON s.statusz = m.statusz "
            "WHERE m.munkalap = %1;")
            .arg(sheet));
    SheetState state;
    if (rs.rowCount() == 0)
        return state;
    state.exists = true;
    state.status = rs.value(0, 0).toInt();
    state.cancelled = rs.text(0, 1) == QLatin1String("I");
    state.paid = rs.text(0, 2) == QLatin1String("I");
    state.invoiceNumber = rs.text(0, 3);
    state.payable = rs.value(0, 4).toDouble();
    state.statusLocks = rs.text(0, 5) == QLatin1String("I");
    state.customer = rs.value(0, 6).toInt();
    state.device = rs.value(0, 7).toInt();
    state.type = rs.value(0, 8).toInt();
    return state;
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
    Connection& db = SharedConnection();
    db.exec(QStringLiteral("START TRANSACTION;"));
    try {
        db.exec(QStringLiteral("CALL sp_mlapnyitott(%1);").arg(sheet));
        write();
        db.exec(QStringLiteral("COMMIT;"));
    } catch (const DbError& e) {
        db.rollback();
        if (const std::optional<QString> message = SheetRefusalMessage(e)) {
            ShowSheetRefusal(*message);
            return SheetWrite::Refused;
        }
        throw;
    } catch (const StaleRowError& e) {
        db.rollback();
        if (e.reason() == StaleRowError::Reason::Deleted)
            ShowWarning(worksheet_text::DeletedMeanwhile);
        else
            ShowError(edit_text::RowChanged);
        return SheetWrite::Stale;
    } catch (...) {
        db.rollback();
        throw;
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
