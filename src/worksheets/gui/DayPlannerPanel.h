#pragma once

// The right-hand side of the main window's "Naptár" tab: the working date in
// words (Panel17), the date box (DateTimePicker1: Enter shows the date typed
// there) and the chosen employee's slots (DBGrid8, a SlotGrid over the
// DayPlanner's slots dataset: time; text and work sheet; customer and
// device). The main window puts its day tool bar beside the date.

#include <QWidget>

class QDateEdit;
class QHBoxLayout;
class QLabel;

namespace kml {

class DayPlanner;
class SlotGrid;

class DayPlannerPanel final : public QWidget {
    Q_OBJECT
public:
    explicit DayPlannerPanel(DayPlanner& planner, QWidget* parent = nullptr);

    // Puts the tool bar (Tegnap, Ma, Holnap, Naptárba) between the date in
    // words and the date box.
    void setTools(QWidget* tools);
    // Shows the working date in Panel17 and the date box.
    void showWorkingDate();

    QLabel* Panel17 = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    SlotGrid* DBGrid8 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void slotsChanged();
    void layOutColumns();

    DayPlanner& m_planner;
    QHBoxLayout* m_dateRow = nullptr;
};

} // namespace kml
