#include "worksheets/DayPlanner.h"

#include "components/Query.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "patterns/ListDefinition.h"
#include "worksheets/Appointments.h"
#include "worksheets/PlannerSlots.h"
#include "worksheets/PlannerWindows.h"

namespace kml {

DayPlanner::DayPlanner(Query& slotRows, ListController& employees, QObject* parent)
    : QObject(parent), m_slots(slotRows), m_employees(employees) {
    connect(&m_employees, &ListController::moved, this, &DayPlanner::employeesMoved);
}

QDate DayPlanner::workDate() const {
    return Beall().workDate;
}

void DayPlanner::showDate(const QDate& day) {
    if (!day.isValid())
        return;
    Beall().workDate = day;
    emit workDateChanged(day);
    refresh();
}

void DayPlanner::previousDay() {
    showDate(workDate().addDays(-1));
}

void DayPlanner::nextDay() {
    showDate(workDate().addDays(1));
}

void DayPlanner::today() {
    showDate(QDate::currentDate());
}

std::optional<int> DayPlanner::currentSlot() const {
    if (!m_slots.isActive() || m_slots.row() < 0)
        return std::nullopt;
    return int(m_slots.asInt(QStringLiteral("ora")));
}

void DayPlanner::refresh(std::optional<int> slot) {
    if (!slot)
        slot = currentSlot();
    m_slots.close();
    if (!m_employees.isOpen())
        return;
    m_slots.setParam(QStringLiteral("pdolgozo"), m_employees.currentKey().value_or(0));
    m_slots.setParam(QStringLiteral("pdatum"), workDate());
    m_slots.open();
    if (slot)
        m_slots.locate(QStringLiteral("ora"), *slot);
}

void DayPlanner::employeesMoved() {
    // The list also reports moves that keep its row; the slots stay then.
    const bool sameDay =
        m_slots.isActive() && m_employees.isOpen() &&
        m_slots.param(QStringLiteral("pdolgozo")).toLongLong() == m_employees.currentKey().value_or(0) &&
        m_slots.param(QStringLiteral("pdatum")).toDate() == workDate();
    if (!sameDay)
        refresh();
}

void DayPlanner::newAppointment() {
    const std::optional<qlonglong> employee = m_employees.currentKey();
    const std::optional<int> slot = currentSlot();
    if (!employee || !slot) {
        ShowWarning(list_text::NoRowSelected);
        return;
    }
    if (m_slots.asInt(QStringLiteral("azon")) != 0) {
        ShowWarning(AppointmentTakenMessage);
        refresh();
        return;
    }
    AppointmentRequest request;
    request.employee = int(*employee);
    request.slot = *slot;
    request.hours = 1;
    request.timeText = m_slots.asString(QStringLiteral("ora2"));
    request.day = workDate();
    const std::optional<BookedAppointment> booked = EditAppointment(request);
    refresh();
    if (booked)
        m_slots.locate(QStringLiteral("elojegyzes"), booked->appointment);
}

void DayPlanner::removeAppointment() {
    if (!currentSlot())
        return;
    const int azon = int(m_slots.asInt(QStringLiteral("azon")));
    const int employee = int(m_slots.asInt(QStringLiteral("dolgozo")));
    if (azon <= 0)
        return;
    if (!AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption))
        return;
    ExecUnitSql(DeleteAppointmentSql(azon, employee));
    refresh();
}

} // namespace kml
