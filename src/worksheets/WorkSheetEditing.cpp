#include "worksheets/WorkSheetEditing.h"

#include "components/Connection.h"
#include "components/Query.h"
#include "components/Table.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/Flags.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "records/CustomerWindows.h"
#include "records/DeviceWindows.h"
#include "records/TextWindows.h"
#include "worksheets/PlannerSlots.h"
#include "worksheets/PlannerWindows.h"
#include "worksheets/WorkSheetStatus.h"
#include "worksheets/WorkSheetWindows.h"

#include <cmath>
#include <stdexcept>

namespace kml {
namespace {

QString Key(qlonglong key) {
    return QString::number(key);
}

QString Number(double value) {
    return FloatText(QStringLiteral("."), value);
}

double NumberOrZero(const QVariant& value) {
    return value.isValid() && !value.isNull() ? value.toDouble() : 0;
}

SheetWrite RunGuarded(qlonglong sheet, const QString& sql) {
    return WriteOpenSheet(sheet, [&sql] { ExecSql(sql); });
}

} // namespace

// ---- Opening ----------------------------------------------------------------------

QString CreateSheetSql(int customer, int type, int device, const QString& user) {
    return QStringLiteral("CALL sp_ujmunkalap(") + Key(customer) + QStringLiteral(", ") + Key(type) +
           QStringLiteral(", ") + Key(device) + QStringLiteral(", ") + SqlStr(user) + QStringLiteral(");");
}

QString QuotationSql(int sheet) {
    return QStringLiteral("UPDATE munkalap SET statusz = 0 WHERE munkalap = ") + Key(sheet) +
           QLatin1Char(';');
}

std::optional<SheetOpening> BeginSheetEdit(RowKey sheet, RowKey customer, RowKey type, bool quotation,
                                           RowKey device) {
    SheetOpening opening;
    if (sheet) {
        const SheetState state = ReadSheetState(*sheet);
        if (!state.exists)
            return std::nullopt;
        if (state.cancelled) {
            ShowError(worksheet_text::Cancelled);
            return std::nullopt;
        }
        opening.sheet = int(*sheet);
        opening.customer = state.customer;
        opening.type = state.type;
        opening.device = state.device;
        return opening;
    }
    if (!customer) {
        customer = ChooseCustomer(std::nullopt, true);
        if (!customer || *customer <= 0)
            return std::nullopt;
    }
    if (!Beall().vankeszulek) {
        device = std::nullopt;
    } else if (!device) {
        device = ChooseDevice(std::nullopt, true, customer);
        if (!device) // 0 is "Tovább": no device
            return std::nullopt;
    }
    if (!type) {
        type = ChooseWorkSheetType(std::nullopt, true).key;
        if (!type || *type <= 0) // a chooser accepted on an empty list
            return std::nullopt;
    }
    // The number comes back from the call itself: the newest sheet may
    // already be another workstation's.
    const int deviceKey = device.value_or(-1);
    const QString createSql = CreateSheetSql(int(*customer), int(*type), deviceKey, CurrentUserName());
    const int created = QueryIntUnit(createSql, 0);
    if (created <= 0)
        throw std::runtime_error("sp_ujmunkalap gave no sheet number");
    if (quotation)
        ExecUnitSql(QuotationSql(created));
    opening.sheet = created;
    opening.customer = int(*customer);
    opening.type = int(*type);
    opening.device = deviceKey;
    opening.created = true;
    return opening;
}

// ---- What the window shows ---------------------------------------------------

bool StatusLocks(int status) {
    return status != 0 &&
           IsFlagSet(QueryStr(QStringLiteral("SELECT keszenvan FROM statusz WHERE statusz = ") + Key(status) +
                              QLatin1Char(';')));
}

bool GarmentPageVisible(int programType, int type) {
    return programType == 3 &&
           QueryStr(QStringLiteral("SELECT betujel FROM mlaptipus WHERE (prgtipus = 3) and (mlaptipus = ") +
                    Key(type) + QStringLiteral(");")) == QLatin1String("P");
}

bool GasPageVisible(int programType) {
    return programType == 4;
}

QString TypePanelText(int status, int type) {
    return status == 0 ? worksheet_text::QuotationTitle : LookupName(type, QStringLiteral("mlaptipus"));
}

QString SheetDeviceText(int device) {
    if (device <= 0)
        return {};
    return QueryStr(QStringLiteral("SELECT keszulekstr FROM vw_keszulek WHERE keszulek = ") + Key(device) +
                    QLatin1Char(';'));
}

double AmountPayable(const QVariant& total, const QVariant& advance, const QVariant& discount) {
    return (NumberOrZero(total) - NumberOrZero(advance)) - std::fabs(NumberOrZero(discount));
}

QDateTime DeadlineShown(const QVariant& stored, const QDateTime& now) {
    const QDateTime value = stored.toDateTime();
    if (!stored.isValid() || stored.isNull() || !value.isValid())
        return now;
    return value;
}

QString GarmentChoicesSql(const QString& column, int type) {
    return QStringLiteral("SELECT DISTINCT ") + column + QStringLiteral(" FROM munkalap WHERE mlaptipus = ") +
           Key(type) + QLatin1Char(';');
}

QStringList GarmentChoices(GarmentSide side) {
    if (side == GarmentSide::Side)
        return {QStringLiteral("Nincs kép"), QStringLiteral("Kép középen")};
    return {QStringLiteral("Nincs kép"), QStringLiteral("Kis kép jobb oldalon"),
            QStringLiteral("Kis kép bal oldalon"), QStringLiteral("Kép középen")};
}

std::optional<GarmentMarker> GarmentMarkerFor(GarmentSide side, const QString& code) {
    const QString c = code.trimmed();
    switch (side) {
    case GarmentSide::Side:
        if (c == QLatin1String("1"))
            return GarmentMarker::SideCentre;
        return std::nullopt;
    case GarmentSide::Front:
    case GarmentSide::Back: {
        const bool front = side == GarmentSide::Front;
        if (c == QLatin1String("1"))
            return front ? GarmentMarker::FrontRight : GarmentMarker::BackRight;
        if (c == QLatin1String("2"))
            return front ? GarmentMarker::FrontLeft : GarmentMarker::BackLeft;
        if (c == QLatin1String("3"))
            return front ? GarmentMarker::FrontCentre : GarmentMarker::BackCentre;
        return std::nullopt;
    }
    }
    return std::nullopt;
}

// ---- Changes ----------------------------------------------------------------------

SheetWrite PostSheet(qlonglong sheet, Table& row) {
    if (!row.isActive() || !row.isModified())
        return SheetWrite::Written;
    const bool amounts =
        row.isModified(QStringLiteral("ar_eloleg")) || row.isModified(QStringLiteral("ar_kedvezmeny"));
    return WriteOpenSheet(sheet, [&] {
        row.post();
        if (amounts)
            ExecSql(QStringLiteral("CALL sp_arbeallit(") + Key(sheet) + QStringLiteral(");"));
    });
}

QString LinePriceSql(int line, double price) {
    return QStringLiteral("CALL sp_munkalap_sorar(") + Key(line) + QLatin1Char(',') + Number(price) +
           QStringLiteral(",NULL);");
}

QString LineDiscountSql(int line, double discount) {
    return QStringLiteral("CALL sp_munkalap_sorar(") + Key(line) + QStringLiteral(",NULL,") +
           Number(discount) + QStringLiteral(");");
}

QString SheetDiscountSql(qlonglong sheet, double discount) {
    return QStringLiteral("CALL sp_munkalap_kedvezmeny(") + Key(sheet) + QLatin1Char(',') + Number(discount) +
           QStringLiteral(");");
}

QString DeleteLineSql(int line) {
    return QStringLiteral("CALL sp_munkalap_torolsor(") + Key(line) + QStringLiteral(");");
}

SheetWrite SetLinePrice(qlonglong sheet, int line, double price) {
    return RunGuarded(sheet, LinePriceSql(line, price));
}

SheetWrite SetLineDiscount(qlonglong sheet, int line, double discount) {
    return RunGuarded(sheet, LineDiscountSql(line, discount));
}

SheetWrite SetSheetDiscount(qlonglong sheet, double discount) {
    return RunGuarded(sheet, SheetDiscountSql(sheet, discount));
}

SheetWrite DeleteLine(qlonglong sheet, int line) {
    return RunGuarded(sheet, DeleteLineSql(line));
}

SheetWrite LinkSheetEmployee(qlonglong sheet, int employee) {
    return RunGuarded(sheet, LinkEmployeeSql(sheet, employee));
}

SheetWrite UnlinkSheetEmployee(qlonglong sheet, int employee) {
    return WriteOpenSheet(sheet, [&] {
        ExecSql(UnlinkEmployeeSql(sheet, employee));
        ExecSql(RebuildEmployeesSql(sheet));
    });
}

int AddLinesUntilCancelled(qlonglong sheet, const std::function<void()>& afterEach) {
    int saved = 0;
    while (EditWorkSheetLine(sheet, std::nullopt)) {
        ++saved;
        afterEach();
    }
    return saved;
}

std::optional<PlannerBooking> BookInPlanner(qlonglong sheet,
                                            const std::function<void(const PlannerBooking&)>& alsoWrite) {
    if (RefusedToChange(ReadSheetState(sheet)))
        return std::nullopt;
    const std::optional<PlannerSlot> picked = PickPlannerSlot();
    if (!picked)
        return std::nullopt;
    const PlannerSlot& slot = *picked;
    PlannerBooking booking;
    AppointmentRequest request;
    request.employee = slot.employee;
    request.slot = slot.slot;
    request.workSheet = int(sheet);
    request.hours = slot.hours;
    request.timeText = SlotTimeText(slot.slot);
    request.day = slot.day;
    const std::optional<BookedAppointment> appointment = EditAppointment(request);
    if (!appointment)
        return std::nullopt;
    booking.start = appointment->start;
    if (!booking.start.isValid())
        booking.start = SlotStart(slot.day, slot.slot);
    booking.employee = slot.employee;
    const SheetWrite written = WriteOpenSheet(sheet, [&] {
        ExecSql(LinkEmployeeSql(sheet, booking.employee));
        if (alsoWrite)
            alsoWrite(booking);
    });
    if (written != SheetWrite::Written)
        return std::nullopt;
    return booking;
}

void CompleteSheet(qlonglong sheet) {
    ExecUnitSql(QStringLiteral("CALL sp_munkalapkesz(") + Key(sheet) + QStringLiteral(");"));
}

bool NewSheetRemovable(qlonglong sheet) {
    return QueryInt(QStringLiteral("SELECT MAX(munkalap) FROM munkalap;"), 0) == sheet;
}

bool NewSheetHasContent(qlonglong sheet) {
    return QueryInt(QStringLiteral("SELECT (SELECT COUNT(*) FROM munkalap_tetel WHERE munkalap = %1) + "
                                   "(SELECT COUNT(*) FROM munkalap_dolgozo WHERE munkalap = %1);")
                        .arg(sheet),
                    0) > 0;
}

void RemoveNewSheet(qlonglong sheet) {
    ExecUnitSql(QStringLiteral("CALL sp_mlaptorol(") + Key(sheet) + QStringLiteral(");"));
}

NewSheetDiscard DiscardNewSheet(qlonglong sheet) {
    if (NewSheetHasContent(sheet) &&
        !AskYesNo(worksheet_text::DiscardNewSheetQuestion, dialog_text::ConfirmCaption))
        return NewSheetDiscard::Kept;
    Connection& db = SharedConnection();
    bool newest = false;
    db.exec(QStringLiteral("START TRANSACTION;"));
    try {
        // The locking read of the highest number also holds back a sheet
        // another workstation is inserting after it until this is decided.
        newest = QueryInt(QStringLiteral(
                              "SELECT munkalap FROM munkalap ORDER BY munkalap DESC LIMIT 1 FOR UPDATE;"),
                          0) == sheet;
        if (newest)
            RemoveNewSheet(sheet);
        else
            ExecSql(CancelSheetSql(sheet));
        db.exec(QStringLiteral("COMMIT;"));
    } catch (...) {
        db.rollback();
        throw;
    }
    if (newest)
        return NewSheetDiscard::Removed;
    ShowWarning(worksheet_text::NewSheetKeptCancelled);
    return NewSheetDiscard::Cancelled;
}

} // namespace kml
