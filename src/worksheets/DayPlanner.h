#pragma once

// The main window's day panel (the "Naptár" tab) apart from its widgets: the
// chosen employee's slots on the working date, the date actions, and the new
// and deleted appointments of the current slot.
//
// It runs on the main window's datasets: the employees list of the tab
// (QryDolgozo, through its ListController) and the slots dataset QryNaptar
// ("... FROM ora LEFT JOIN elojegyzes ON ... :pdolgozo ... :pdatum ..."). The
// slots follow the employees list: whenever it opens or moves, the current
// employee's day is read again on the same slot; when it closes (another
// tab in front) the slots close too. The working date is the settings
// record's (Beall().workDate).
//
// The main window hands the object to its actions (MainContext::panel of
// the planner tab); the day panel's widget (gui/DayPlannerPanel.h) shows it.
// User-interface thread only; server errors rise as DbError.

#include <QDate>
#include <QObject>
#include <optional>

namespace kml {

class ListController;
class Query;

class DayPlanner final : public QObject {
    Q_OBJECT
public:
    DayPlanner(Query& slotRows, ListController& employees, QObject* parent = nullptr);

    Query& slotRows() const { return m_slots; }
    ListController& employees() const { return m_employees; }

    // The working date; showing a day makes it the working date and reads
    // the current employee's slots of it again, on the same slot.
    QDate workDate() const;
    void showDate(const QDate& day);
    void previousDay(); // "Tegnap"
    void nextDay();     // "Holnap"
    void today();       // "Ma": the workstation's date, not the server's

    // The slot of the current row; nothing without one.
    std::optional<int> currentSlot() const;
    // Reads the day again (the employees list open), on the given slot or
    // the current one.
    void refresh(std::optional<int> slot = std::nullopt);

    // "Új" (Ins): a new appointment of the current employee from the current
    // slot, through the appointment editor; refused with a message when
    // there is no employee or slot, or the slot is taken. The day is read
    // again afterwards, on the new appointment when one was booked.
    void newAppointment();
    // "Töröl" (Ctrl+Del): on a slot that holds an appointment, asks "Valóban
    // töröljem a sort?" and deletes every slot of that appointment of that
    // employee. On a free slot nothing happens.
    void removeAppointment();

signals:
    // The working date changed (also when shown again unchanged).
    void workDateChanged(const QDate& day);

private:
    void employeesMoved();

    Query& m_slots;
    ListController& m_employees;
};

} // namespace kml
