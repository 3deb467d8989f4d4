#include "worksheets/WorkSheetStatus.h"

#include "components/Connection.h"
#include "components/NumberFormat.h"
#include "components/Query.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"

namespace kml {
namespace {

QString Key(qlonglong key) {
    return QString::number(key);
}

SheetFlow FlowOf(SheetWrite written) {
    switch (written) {
    case SheetWrite::Written:
        return SheetFlow::Done;
    case SheetWrite::Refused:
        return SheetFlow::Refused;
    case SheetWrite::Stale:
        break;
    }
    return SheetFlow::Stale;
}

SheetFlow Refusal(const SheetState& state) {
    RefusedToChange(state);
    return state.exists ? SheetFlow::Refused : SheetFlow::Stale;
}

// Moves the sheet from the status the user saw to the next one, linking the
// employee chosen for it in the same transaction; nothing stays written when
// the sheet has moved on meanwhile.
SheetFlow Step(qlonglong sheet, int from, int to, const std::optional<QString>& invoiceNumber = std::nullopt,
               std::optional<qlonglong> employee = std::nullopt) {
    Connection& db = SharedConnection();
    db.exec(QStringLiteral("START TRANSACTION;"));
    bool moved = false;
    try {
        if (employee)
            db.exec(LinkEmployeeSql(sheet, *employee));
        const ResultSet rs = db.query(StatusStepSql(sheet, CurrentUserName(), from, to, invoiceNumber));
        moved = rs.rowCount() > 0 && rs.value(0, 0).toInt() == 1;
        db.exec(moved ? QStringLiteral("COMMIT;") : QStringLiteral("ROLLBACK;"));
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!moved) {
        ShowSheetRefusal(worksheet_text::ChangedMeanwhile);
        return SheetFlow::Stale;
    }
    return SheetFlow::Done;
}

} // namespace

QString worksheet_text::PaymentDone(const QString& amount) {
    return QStringLiteral("Munkalap kifizetés (") + amount + QStringLiteral(") kész.");
}

QString StatusStepSql(qlonglong sheet, const QString& user, int from, int to,
                      const std::optional<QString>& invoiceNumber) {
    return QStringLiteral("CALL sp_statuszlepes(") + Key(sheet) + QLatin1Char(',') + SqlStr(user) +
           QLatin1Char(',') + QString::number(from) + QLatin1Char(',') + QString::number(to) +
           QLatin1Char(',') + (invoiceNumber ? SqlStr(*invoiceNumber) : QStringLiteral("NULL")) +
           QStringLiteral(");");
}

QString PaymentSql(qlonglong sheet, bool paid) {
    return QStringLiteral("CALL sp_fizetes(") + Key(sheet) +
           (paid ? QStringLiteral(",'I');") : QStringLiteral(",'N');"));
}

QString CancelSheetSql(qlonglong sheet) {
    return QStringLiteral("UPDATE munkalap SET storno = 'I' WHERE munkalap = ") + Key(sheet) +
           QStringLiteral(" AND storno = 'N';");
}

SheetFlow AdvanceStatus(qlonglong sheet) {
    const SheetState state = ReadSheetState(sheet);
    if (!state.exists || state.cancelled)
        return Refusal(state);
    switch (state.status) {
    case 0:
        if (!AskYesNo(worksheet_text::OrderedQuestion, dialog_text::ConfirmCaption))
            return SheetFlow::Nothing;
        return Step(sheet, 0, 1);
    case 1: {
        std::optional<qlonglong> employee;
        if (QueryInt(QStringLiteral("SELECT COUNT(*) FROM munkalap_dolgozo WHERE munkalap = ") + Key(sheet) +
                         QLatin1Char(';'),
                     0) == 0) {
            employee = ChooseEmployee();
            if (!employee)
                return SheetFlow::Nothing;
        }
        return Step(sheet, 1, 2, std::nullopt, employee);
    }
    case 2:
        if (!AskYesNo(worksheet_text::ReadyQuestion, dialog_text::ConfirmCaption))
            return SheetFlow::Nothing;
        return Step(sheet, 2, 3);
    case 3: {
        // The prompt starts from the number the sheet already has, so that OK
        // never wipes it.
        QString number = state.invoiceNumber;
        if (!AskText(worksheet_text::InvoiceCaption, worksheet_text::InvoicePrompt, number, 0, 50, true))
            return SheetFlow::Nothing;
        return Step(sheet, 3, 4, number);
    }
    case 4:
        ShowError(worksheet_text::Closed);
        return SheetFlow::Refused;
    default:
        return SheetFlow::Nothing;
    }
}

SheetFlow MarkReady(qlonglong sheet) {
    const SheetState state = ReadSheetState(sheet);
    if (!state.exists || state.cancelled)
        return Refusal(state);
    if (state.status != 1 && state.status != 2)
        return SheetFlow::Nothing;
    return Step(sheet, state.status, 3);
}

SheetFlow TogglePayment(qlonglong sheet) {
    const SheetState state = ReadSheetState(sheet);
    if (!state.exists)
        return Refusal(state);
    if (state.paid && !AskYesNo(worksheet_text::UnpayQuestion, dialog_text::ConfirmCaption))
        return SheetFlow::Nothing;
    if (QueryInt(PaymentSql(sheet, !state.paid), 0) != 1) {
        ShowSheetRefusal(worksheet_text::ChangedMeanwhile);
        return SheetFlow::Stale;
    }
    ShowInfo(worksheet_text::PaymentDone(FormatNumber(Beall().formatFt, state.payable)));
    return SheetFlow::Done;
}

SheetFlow CancelSheet(qlonglong sheet) {
    const SheetState state = ReadSheetState(sheet);
    if (!state.exists || state.cancelled)
        return Refusal(state);
    if (!AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption))
        return SheetFlow::Nothing;
    ExecSql(CancelSheetSql(sheet));
    if (SharedConnection().matchedRows() == 0) {
        ShowSheetRefusal(worksheet_text::ChangedMeanwhile);
        return SheetFlow::Stale;
    }
    return SheetFlow::Done;
}

SheetFlow AddSheetEmployee(qlonglong sheet) {
    const SheetState state = ReadSheetState(sheet);
    if (state.refusal())
        return Refusal(state);
    const RowKey employee = ChooseEmployee();
    if (!employee)
        return SheetFlow::Nothing;
    return FlowOf(WriteOpenSheet(sheet, [&] { ExecSql(LinkEmployeeSql(sheet, *employee)); }));
}

SheetFlow RemoveSheetEmployee(qlonglong sheet, std::optional<qlonglong> employee) {
    const SheetState state = ReadSheetState(sheet);
    if (state.refusal())
        return Refusal(state);
    return FlowOf(WriteOpenSheet(sheet, [&] {
        if (employee)
            ExecSql(UnlinkEmployeeSql(sheet, *employee));
        ExecSql(RebuildEmployeesSql(sheet));
    }));
}

} // namespace kml
