#include "worksheets/Appointments.h"

#include "components/DbError.h"
#include "foundation/Conversions.h"
#include "foundation/DateHelpers.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"
#include "records/CustomerWindows.h"
#include "records/DeviceWindows.h"

#include <algorithm>

namespace kml {
namespace {

std::vector<int> IntList(const QString& sql) {
    QStringList texts;
    FillList(texts, sql);
    std::vector<int> values;
    values.reserve(size_t(texts.size()));
    for (const QString& text : texts)
        values.push_back(text.toInt());
    return values;
}

QString SheetColumnSql(const char* column, int sheet) {
    return QStringLiteral("SELECT %1 FROM munkalap WHERE munkalap = ").arg(QLatin1String(column)) +
           VarIntStr(sheet) + QLatin1Char(';');
}

} // namespace

bool IsAppointmentTaken(const DbError& error) {
    constexpr unsigned DuplicateKey = 1062, SignalledByRoutine = 1644;
    return error.code() == DuplicateKey || (error.code() == SignalledByRoutine &&
                                            error.message() == QStringLiteral("Az időpont már foglalt"));
}

int FreeHalfHours(int employee, const QDate& day, int slot) {
    const std::vector<int> daySlots = IntList(QStringLiteral("SELECT ora FROM ora ORDER BY ora;"));
    const std::vector<int> booked =
        IntList(QStringLiteral("SELECT ora FROM elojegyzes WHERE dolgozo = ") + VarIntStr(employee) +
                QStringLiteral(" AND datum = ") + SqlDate(false, day) + QLatin1Char(';'));
    return FreeHalfHoursFrom(slot, daySlots, booked);
}

AppointmentDraft NewAppointmentDraft(const AppointmentRequest& request) {
    AppointmentDraft draft;
    draft.employee = request.employee;
    draft.employeeName = LookupName(request.employee, QStringLiteral("dolgozo"));
    draft.slot = request.slot;
    draft.timeText = request.timeText;
    draft.day = request.day;
    draft.workSheet = request.workSheet > 0 ? request.workSheet : -1;
    draft.customer = std::max(request.customer, 0);
    draft.device = std::max(request.device, 0);
    if (draft.workSheet > 0) {
        draft.customer = QueryInt(SheetColumnSql("ugyfel", draft.workSheet), 0);
        draft.device = QueryInt(SheetColumnSql("keszulek", draft.workSheet), 0);
        draft.text = QueryStr(SheetColumnSql("panasz", draft.workSheet)).left(AppointmentTextLength);
        draft.workSheetText = WorkSheetText(draft.workSheet);
    }
    if (draft.customer > 0)
        draft.customerText = LookupName(draft.customer, QStringLiteral("ugyfel"));
    if (draft.device > 0)
        draft.deviceText = DeviceText(draft.device);
    draft.longest = FreeHalfHours(draft.employee, draft.day, draft.slot);
    draft.halfHours = std::clamp(HalfHoursOf(request.hours), 1, std::max(draft.longest, 1));
    return draft;
}

QStringList EarlierAppointmentTexts() {
    QStringList texts;
    FillList(texts, QStringLiteral("SELECT DISTINCT szoveg FROM elojegyzes ORDER BY 1;"));
    return texts;
}

bool ChooseAppointmentCustomer(AppointmentDraft& draft) {
    const ChosenRow customer = OpenCustomerList(KeyOf(draft.customer), true, CustomerChooserCaption);
    if (!customer.key)
        return false;
    const int chosen = int(*customer.key);
    if (draft.device > 0 && chosen != draft.customer &&
        QueryInt(QStringLiteral("SELECT ugyfel FROM keszulek WHERE keszulek = ") + VarIntStr(draft.device) +
                     QLatin1Char(';'),
                 0) != chosen) {
        draft.device = 0;
        draft.deviceText.clear();
    }
    draft.customer = chosen;
    draft.customerText = customer.name;
    return true;
}

bool ChooseAppointmentDevice(AppointmentDraft& draft) {
    if (draft.customer <= 0 && !ChooseAppointmentCustomer(draft))
        return false;
    const RowKey chosen = ChooseDevice(KeyOf(draft.device), true, draft.customer);
    if (!chosen) // 0 is "Tovább": no device
        return false;
    draft.device = int(*chosen);
    draft.deviceText = *chosen > 0 ? DeviceText(draft.device) : QString();
    return true;
}

QString NewAppointmentSql(const AppointmentDraft& draft) {
    const QLatin1Char comma(',');
    return QStringLiteral("CALL sp_ujelojegyzes(") + VarIntStr(draft.employee) + comma +
           SqlDate(false, draft.day) + comma + VarIntStr(draft.slot) + comma + VarIntStr(draft.halfHours) +
           comma + VarIntStr(draft.workSheet) + comma + VarIntStr(draft.customer) + comma +
           VarIntStr(draft.device) + comma + SqlStr(draft.text.left(AppointmentTextLength)) +
           QStringLiteral(");");
}

QString PassedSlotQuestion(const QDate& day, int slot, const QDateTime& now) {
    const QDateTime start = SlotStart(day, slot);
    if (!start.isValid() || start >= now)
        return {};
    const QString when = day == now.date()
                             ? QStringLiteral("ma ") + SlotTimeText(slot)
                             : day.toString(QStringLiteral("yyyy.MM.dd. ")) + SlotTimeText(slot);
    return QStringLiteral("Ez az időpont (%1) már elmúlt. Biztosan erre az időre jegyzed elő?").arg(when);
}

Booking BookAppointment(const AppointmentDraft& draft) {
    try {
        return {QueryIntUnit(NewAppointmentSql(draft), -1), false};
    } catch (const DbError& error) {
        if (IsAppointmentTaken(error))
            return {-1, true};
        throw;
    }
}

QString DeleteAppointmentSql(int azon, int employee) {
    return QStringLiteral("CALL sp_elojegyzestorol(") + VarIntStr(azon) + QLatin1Char(',') +
           VarIntStr(employee) + QStringLiteral(");");
}

} // namespace kml
