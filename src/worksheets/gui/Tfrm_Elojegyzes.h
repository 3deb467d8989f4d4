#pragma once

// The appointment editor "Előjegyzés szerkesztés": what the new appointment
// will hold (employee, time, day, length, text, customer, device, work
// sheet); OK books it through sp_ujelojegyzes. Behind EditAppointment
// (worksheets/PlannerWindows.h); its logic is worksheets/Appointments.h.

#include "worksheets/Appointments.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kml {

class EditorBehaviour;

class Tfrm_Elojegyzes final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Elojegyzes(const AppointmentDraft& draft, QWidget* parent = nullptr);

    // EditAppointment: the new appointment with its day and slot time, or
    // nothing when cancelled or when the slot was taken (the user is told).
    static std::optional<BookedAppointment> Run(const AppointmentRequest& request);

    const AppointmentDraft& draft() const { return m_draft; }
    int appointment() const { return m_appointment; }

    QLabel* lblDolgozo = nullptr; // the employee's name
    QLineEdit* edIdo = nullptr;
    QLineEdit* edDatum = nullptr;
    QLineEdit* edHossz = nullptr;
    QToolButton* btnRovidebb = nullptr;
    QToolButton* btnHosszabb = nullptr;
    QComboBox* cbSzoveg = nullptr;
    QLineEdit* edUgyfel = nullptr;
    QToolButton* btnUgyfel = nullptr;
    QLabel* lblKeszulek = nullptr;
    QLineEdit* edKeszulek = nullptr;
    QToolButton* btnKeszulek = nullptr;
    QLineEdit* edMunkalap = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnMegsem = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void showDraft();
    void stepLength(int step);
    void chooseCustomer();
    void chooseDevice();
    void book();

    AppointmentDraft m_draft;
    int m_appointment = -1;
    EditorBehaviour* m_behaviour = nullptr;
    bool m_placed = false;
};

} // namespace kml
