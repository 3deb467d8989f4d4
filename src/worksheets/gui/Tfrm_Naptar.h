#pragma once

// The planner "Naptár" as a picker (PickPlannerSlot): one day, the time of
// every slot at the left, one column per employee position with the
// employee's name above it, appointments in their colours and free slots to
// click; the length box "Hossz (óra)", the day actions (Frissít F5, Tegnap
// Ctrl+Left, Ma Ctrl+Space, Holnap Ctrl+Right, Mégsem Esc) and the date box
// (Enter shows the date typed there). A click on a free slot closes the
// window with that slot; its logic is worksheets/PlannerGrid.h.

#include "worksheets/PlannerGrid.h"

#include <QDialog>
#include <optional>

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kml {

class SlotGrid;

class Tfrm_Naptar final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Naptar(QWidget* parent = nullptr);

    // PickPlannerSlot: true and the pick when a free slot was clicked.
    static std::optional<PlannerSlot> Run();

    // Shows a day (read again from the server).
    void showDay(const QDate& day);
    const PlannerGridData& grid() const { return m_grid; }
    // The pick of the click that closed the window.
    const std::optional<PlannerSlot>& picked() const { return m_picked; }
    int lengthHalfHours() const { return m_halfHours; }
    // What a click on a cell does: picks it when it is a free slot.
    void pickCell(int row, int column);

    QLabel* lblNap = nullptr; // the day in words
    QDateEdit* DateTimePicker1 = nullptr;
    QLineEdit* edHossz = nullptr;
    QToolButton* btnRovidebb = nullptr;
    QToolButton* btnHosszabb = nullptr;
    QLabel* lblRejtett = nullptr; // employees beyond the 20 columns
    SlotGrid* Naptar = nullptr;
    QAction* aFrissit = nullptr;
    QAction* aTegnap = nullptr;
    QAction* aMa = nullptr;
    QAction* aHolnap = nullptr;
    QAction* aBezar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void showGrid();
    void showLength();
    void stepLength(int step);
    QAction* addDayAction(const char* name, const QString& caption, const QKeySequence& key);

    PlannerGridData m_grid;
    int m_halfHours = 2;
    std::optional<PlannerSlot> m_picked;
    bool m_placed = false;
};

} // namespace kml
