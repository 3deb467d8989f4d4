#include "worksheets/gui/DayPlannerPanel.h"

#include "components/Query.h"
#include "worksheets/DayPlanner.h"
#include "worksheets/PlannerSlots.h"
#include "worksheets/SlotCells.h"
#include "worksheets/gui/PlannerDateBox.h"
#include "worksheets/gui/SlotGrid.h"

#include <QDateEdit>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace kml {
namespace {

constexpr int TimeColumnWidth = 56;

} // namespace

DayPlannerPanel::DayPlannerPanel(DayPlanner& planner, QWidget* parent) : QWidget(parent), m_planner(planner) {
    Panel17 = new QLabel;
    Panel17->setObjectName(QStringLiteral("Panel17"));
    QFont bold = Panel17->font();
    bold.setBold(true);
    Panel17->setFont(bold);

    DateTimePicker1 = NewPlannerDateBox([this](const QDate& typed) { m_planner.showDate(typed); });

    DBGrid8 = new SlotGrid;
    DBGrid8->setObjectName(QStringLiteral("DBGrid8"));
    DBGrid8->setSelectable(true);
    Query& rows = m_planner.slotRows();
    DBGrid8->setCellSource([&rows](int row, int column, bool selected) {
        const std::vector<SlotCell> cells = DayPanelCells(rows, row, selected);
        return size_t(column) < cells.size() ? cells[size_t(column)] : SlotCell{};
    });
    DBGrid8->installEventFilter(this);
    DBGrid8->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_dateRow = new QHBoxLayout;
    m_dateRow->addWidget(Panel17, 1);
    m_dateRow->addWidget(DateTimePicker1);
    layout->addLayout(m_dateRow);
    layout->addWidget(DBGrid8, 1);

    connect(&m_planner, &DayPlanner::workDateChanged, this, &DayPlannerPanel::showWorkingDate);
    connect(&rows, &Query::opened, this, &DayPlannerPanel::slotsChanged);
    connect(&rows, &Query::closed, this, &DayPlannerPanel::slotsChanged);
    connect(&rows, &Query::currentChanged, DBGrid8, &SlotGrid::setCurrentRow);
    connect(DBGrid8, &SlotGrid::currentRowChanged, &rows, [&rows](int row) { rows.moveTo(row); });
    layOutColumns();
    slotsChanged();
    showWorkingDate();
}

void DayPlannerPanel::setTools(QWidget* tools) {
    m_dateRow->insertWidget(1, tools);
}

void DayPlannerPanel::showWorkingDate() {
    const QDate day = m_planner.workDate();
    if (day.isValid()) {
        const QSignalBlocker quiet(DateTimePicker1);
        DateTimePicker1->setDate(day);
    }
    Panel17->setText(day.isValid() ? DayHeading(day) : QString());
}

void DayPlannerPanel::slotsChanged() {
    const Query& rows = m_planner.slotRows();
    DBGrid8->setRowCount(rows.isActive() ? rows.recordCount() : 0);
    DBGrid8->setCurrentRow(rows.isActive() ? rows.row() : -1);
    DBGrid8->refresh();
}

void DayPlannerPanel::layOutColumns() {
    // Two lines a slot: the text (or time) on top, the small second line at 20.
    const int pitch = 20 + QFontMetrics(QFont(font().family(), 8)).height() + 4;
    SlotGrid::Metrics metrics;
    metrics.top = 0;
    metrics.pitch = pitch;
    metrics.margin = 0;
    DBGrid8->setMetrics(metrics);
    const int rest = std::max(0, DBGrid8->viewport()->width() - TimeColumnWidth);
    const int text = rest * 55 / 100;
    DBGrid8->setColumns({{0, TimeColumnWidth, {}, false},
                         {TimeColumnWidth, text, {}, false},
                         {TimeColumnWidth + text, rest - text, {}, false}});
}

bool DayPlannerPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == DBGrid8->viewport() && event->type() == QEvent::Resize) ||
        (watched == DBGrid8 && event->type() == QEvent::FontChange))
        layOutColumns();
    return QWidget::eventFilter(watched, event);
}

} // namespace kml
