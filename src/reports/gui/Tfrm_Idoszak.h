#pragma once

// The period window "Időszak megadása": the first and the last day in two
// date pickers, six buttons that set both to a usual period, OK and
// "Mégsem" (Esc). Enter moves to the next control, Ctrl+Enter confirms; the
// picker with the focus is painted light blue. The window stands where it
// stood last time (ini section frm_Idoszak). It does not insist that the
// first day comes before the last: such a period simply holds no day.
//
// Widgets by object name: grpIdoszak holding eAlso and eFelso, grpIntervallum
// holding btnPreset0..btnPreset5 (in the order of AllPeriodPresets), btnOk,
// btnCancel.

#include "reports/PeriodReports.h"

#include <QDialog>

class QDateEdit;

namespace kml {

class EditorBehaviour;

class Tfrm_Idoszak final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Idoszak(QWidget* parent = nullptr);

    Period period() const;
    void setPeriod(const Period& period);
    // Sets both pickers to the preset's period around today.
    void applyPreset(PeriodPreset preset);

    // The AskPeriod operation's window, modal over the active window.
    static bool Ask(Period& period, const QString& caption);

private:
    QDateEdit* m_first = nullptr;
    QDateEdit* m_last = nullptr;
    EditorBehaviour* m_behaviour = nullptr;
};

} // namespace kml
