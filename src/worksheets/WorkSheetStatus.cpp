#include "worksheets/WorkSheetStatus.h"

#include "components/Connection.h"
#include "components/NumberFormat.h"
#include "components/Query.h"
#include "components/Transaction.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"

#include <functional>

namespace kml {
namespace {

QString Key(qlonglong key) {
    return QString::number(key);
}

// A sheet that no longer holds what the user saw: said so. Nothing when it
// still does.
std::optional<SheetFlow> ChangedSinceSeen(const SheetState& state, const SeenSheet& seen) {
    if (!state.exists) {
        ShowSheetRefusal(worksheet_text::DeletedMeanwhile);
        return SheetFlow::Stale;
    }
    if (!StillAsSeen(state, seen)) {
        ShowSheetRefusal(worksheet_text::ChangedMeanwhile);
        return SheetFlow::Stale;
    }
    return std::nullopt;
}

SheetFlow Refusal(const SheetState& state) {
    RefusedToChange(state);
    return state.exists ? SheetFlow::Refused : SheetFlow::Stale;
}

// The checks every flow makes before its questions: the sheet as the user
// saw it, and (for changes of an open sheet) neither cancelled nor locked.
std::optional<SheetFlow> Precheck(const SeenSheet& seen, bool mustBeOpen) {
    const SheetState state = ReadSheetState(seen.sheet);
    if (const std::optional<SheetFlow> stale = ChangedSinceSeen(state, seen))
        return stale;
    if (state.cancelled || (mustBeOpen && state.refusal()))
        return Refusal(state);
    return std::nullopt;
}

// Runs write in one transaction while the sheet's row, locked first, still
// holds what the user saw (and, when mustBeOpen, is neither cancelled nor
// locked); write says whether it changed what it meant to. Anything else
// rolls back with the message.
SheetFlow WriteAsSeen(const SeenSheet& seen, bool mustBeOpen, const std::function<bool()>& write) {
    Connection& db = SharedConnection();
    std::optional<SheetFlow> outcome;
    SheetState state;
    // One unit of work: a conflict runs it again from the locking read, and
    // it decides again from what the other workstation left.
    RunTransaction(db, [&] {
        outcome.reset();
        state = LockSheetState(seen.sheet);
        if (!StillAsSeen(state, seen))
            outcome = SheetFlow::Stale;
        else if (mustBeOpen && state.refusal())
            outcome = SheetFlow::Refused;
        else if (!write())
            outcome = SheetFlow::Stale;
        return !outcome;
    });
    if (outcome == SheetFlow::Refused)
        RefusedToChange(state);
    else if (outcome && !state.exists)
        ShowSheetRefusal(worksheet_text::DeletedMeanwhile);
    else if (outcome)
        ShowSheetRefusal(worksheet_text::ChangedMeanwhile);
    return outcome.value_or(SheetFlow::Done);
}

// Moves the sheet from the status the user saw to the next one, linking the
// employee chosen for it in the same transaction; nothing stays written when
// the sheet has changed meanwhile.
SheetFlow Step(const SeenSheet& seen, int to, const std::optional<QString>& invoiceNumber = std::nullopt,
               std::optional<qlonglong> employee = std::nullopt) {
    return WriteAsSeen(seen, false, [&] {
        if (employee)
            SharedConnection().exec(LinkEmployeeSql(seen.sheet, *employee));
        const ResultSet rs = SharedConnection().query(
            StatusStepSql(seen.sheet, CurrentUserName(), seen.status, to, invoiceNumber));
        return rs.rowCount() > 0 && rs.value(0, 0).toInt() == 1;
    });
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

SheetFlow AdvanceStatus(const SeenSheet& seen) {
    if (const std::optional<SheetFlow> refused = Precheck(seen, false))
        return *refused;
    switch (seen.status) {
    case 0:
        if (!AskYesNo(worksheet_text::OrderedQuestion, dialog_text::ConfirmCaption))
            return SheetFlow::Nothing;
        return Step(seen, 1);
    case 1: {
        std::optional<qlonglong> employee;
        if (QueryInt(QStringLiteral("SELECT COUNT(*) FROM munkalap_dolgozo WHERE munkalap = ") +
                         Key(seen.sheet) + QLatin1Char(';'),
                     0) == 0) {
            employee = ChooseEmployee();
            if (!employee)
                return SheetFlow::Nothing;
        }
        return Step(seen, 2, std::nullopt, employee);
    }
    case 2:
        if (!AskYesNo(worksheet_text::ReadyQuestion, dialog_text::ConfirmCaption))
            return SheetFlow::Nothing;
        return Step(seen, 3);
    case 3: {
        // The prompt starts from the number the sheet already has, so that OK
        // never wipes it.
        QString number = seen.invoiceNumber;
        if (!AskText(worksheet_text::InvoiceCaption, worksheet_text::InvoicePrompt, number, 0, 50, true))
            return SheetFlow::Nothing;
        return Step(seen, 4, number);
    }
    case 4:
        ShowError(worksheet_text::Closed);
        return SheetFlow::Refused;
    default:
        return SheetFlow::Nothing;
    }
}

SheetFlow MarkReady(const SeenSheet& seen) {
    if (const std::optional<SheetFlow> refused = Precheck(seen, false))
        return *refused;
    if (seen.status != 1 && seen.status != 2)
        return SheetFlow::Nothing;
    return Step(seen, 3);
}

SheetFlow TogglePayment(const SeenSheet& seen) {
    const SheetState state = ReadSheetState(seen.sheet);
    if (const std::optional<SheetFlow> stale = ChangedSinceSeen(state, seen))
        return *stale;
    // A cancelled sheet can still be paid.
    if (seen.paid && !AskYesNo(worksheet_text::UnpayQuestion, dialog_text::ConfirmCaption))
        return SheetFlow::Nothing;
    const SheetFlow flow =
        WriteAsSeen(seen, false, [&] { return QueryInt(PaymentSql(seen.sheet, !seen.paid), 0) == 1; });
    if (flow == SheetFlow::Done)
        ShowInfo(worksheet_text::PaymentDone(FormatNumber(Beall().formatFt, state.payable)));
    return flow;
}

SheetFlow CancelSheet(const SeenSheet& seen) {
    if (const std::optional<SheetFlow> refused = Precheck(seen, false))
        return *refused;
    if (!AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption))
        return SheetFlow::Nothing;
    return WriteAsSeen(seen, false, [&] {
        ExecSql(CancelSheetSql(seen.sheet));
        return SharedConnection().matchedRows() > 0;
    });
}

SheetFlow AddSheetEmployee(const SeenSheet& seen) {
    if (const std::optional<SheetFlow> refused = Precheck(seen, true))
        return *refused;
    const RowKey employee = ChooseEmployee();
    if (!employee)
        return SheetFlow::Nothing;
    return WriteAsSeen(seen, true, [&] {
        ExecSql(LinkEmployeeSql(seen.sheet, *employee));
        return true;
    });
}

SheetFlow RemoveSheetEmployee(const SeenSheet& seen, std::optional<qlonglong> employee) {
    if (const std::optional<SheetFlow> refused = Precheck(seen, true))
        return *refused;
    return WriteAsSeen(seen, true, [&] {
        if (employee)
            ExecSql(UnlinkEmployeeSql(seen.sheet, *employee));
        ExecSql(RebuildEmployeesSql(seen.sheet));
        return true;
    });
}

} // namespace kml
