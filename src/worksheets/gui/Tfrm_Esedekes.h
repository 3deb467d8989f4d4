#pragma once

#include "patterns/gui/ListWindow.h"
#include "worksheets/DueList.h"

class QComboBox;

namespace kml {

// "Esedékes": what falls due in the chosen period (worksheets/DueList.h),
// coloured by days left, searched in names, contact, device, kind, last
// sheet and date. The period box offers "Ez a hét", "Következő 30 nap",
// "Lejártak" and "Időszak..." (the period window). From a row: "Ügyfél"
// (F6), "Készülék" (F7), "Munkalap neki" (F4), "Előzmény" (F9),
// "Elvégezve" (F8), "Levél küldés" (Ctrl+L); for the list: "Nyomtat"
// (Ctrl+P) and "Excelbe..." (Ctrl+E).
class Tfrm_Esedekes final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_Esedekes(QWidget* parent = nullptr);

    // ShowDueList.
    static void Run();

    const DuePeriod& period() const { return m_period; }
    // Shows the period: the list read again with the search kept.
    void setPeriod(const DuePeriod& period);
    QComboBox* periodBox() const { return m_periodBox; }

private:
    void periodChosen(int index);
    void showHeading();
    int currentInt(const char* field) const;

    DuePeriod m_period;
    QComboBox* m_periodBox = nullptr;
};

} // namespace kml
