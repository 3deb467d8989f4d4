#include "worksheets/gui/Tfrm_Naptar.h"

#include "foundation/QueryHelpers.h"
#include "foundation/gui/WidgetHelpers.h"
#include "worksheets/PlannerSlots.h"
#include "worksheets/gui/PlannerDateBox.h"
#include "worksheets/gui/SlotGrid.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString WindowName = QStringLiteral("frm_Naptar");

// The planner's geometry: the times at x 12 of a 89-pixel column, employees
// every 250 pixels from x 89 in 242-pixel columns, a row every 100 pixels
// from y 32 under their names (y 4, 21 high).
constexpr int TimeColumnWidth = 89;
constexpr int EmployeeColumnPitch = 250;
constexpr int EmployeeColumnWidth = 242;
constexpr int RowPitch = 100;
constexpr int FirstRowTop = 32;

} // namespace

Tfrm_Naptar::Tfrm_Naptar(QWidget* parent) : QDialog(parent) {
    setObjectName(WindowName);
    setWindowTitle(QStringLiteral("Naptár"));
    setSizeGripEnabled(true);
    resize(1000, 700);

    auto* tools = new QToolBar;
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    aFrissit = addDayAction("aFrissit", QStringLiteral("Frissít"), QKeySequence(Qt::Key_F5));
    aTegnap = addDayAction("aTegnap", QStringLiteral("Tegnap"), QKeySequence(Qt::CTRL | Qt::Key_Left));
    aMa = addDayAction("aMa", QStringLiteral("Ma"), QKeySequence(Qt::CTRL | Qt::Key_Space));
    aHolnap = addDayAction("aHolnap", QStringLiteral("Holnap"), QKeySequence(Qt::CTRL | Qt::Key_Right));
    aBezar = addDayAction("aBezar", QStringLiteral("Mégsem"), QKeySequence(Qt::Key_Escape));
    tools->addActions({aFrissit, aTegnap, aMa, aHolnap});
    tools->addSeparator();
    tools->addAction(aBezar);
    connect(aFrissit, &QAction::triggered, this, [this] { showDay(m_grid.day); });
    connect(aTegnap, &QAction::triggered, this, [this] { showDay(m_grid.day.addDays(-1)); });
    connect(aMa, &QAction::triggered, this, [this] { showDay(ServerDate()); });
    connect(aHolnap, &QAction::triggered, this, [this] { showDay(m_grid.day.addDays(1)); });
    connect(aBezar, &QAction::triggered, this, &QDialog::reject);

    DateTimePicker1 = NewPlannerDateBox([this](const QDate& typed) { showDay(typed); });

    edHossz = new QLineEdit;
    edHossz->setObjectName(QStringLiteral("edHossz"));
    edHossz->setReadOnly(true);
    edHossz->setMaximumWidth(50);
    edHossz->setAlignment(Qt::AlignRight);
    btnRovidebb = new QToolButton;
    btnRovidebb->setObjectName(QStringLiteral("btnRovidebb"));
    btnRovidebb->setText(QStringLiteral("−"));
    btnHosszabb = new QToolButton;
    btnHosszabb->setObjectName(QStringLiteral("btnHosszabb"));
    btnHosszabb->setText(QStringLiteral("+"));
    connect(btnRovidebb, &QToolButton::clicked, this, [this] { stepLength(-1); });
    connect(btnHosszabb, &QToolButton::clicked, this, [this] { stepLength(+1); });

    lblNap = new QLabel;
    lblNap->setObjectName(QStringLiteral("lblNap"));
    QFont heading = lblNap->font();
    heading.setBold(true);
    heading.setPointSize(12);
    lblNap->setFont(heading);
    lblRejtett = new QLabel;
    lblRejtett->setObjectName(QStringLiteral("lblRejtett"));
    lblRejtett->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(lblNap, 1);
    top->addWidget(lblRejtett);
    top->addWidget(new QLabel(QStringLiteral("Hossz (óra)")));
    top->addWidget(edHossz);
    top->addWidget(btnRovidebb);
    top->addWidget(btnHosszabb);
    top->addWidget(DateTimePicker1);

    Naptar = new SlotGrid;
    Naptar->setObjectName(QStringLiteral("Naptar"));
    SlotGrid::Metrics metrics;
    metrics.top = FirstRowTop;
    metrics.pitch = RowPitch;
    Naptar->setMetrics(metrics);
    Naptar->setCellSource([this](int row, int column, bool) {
        return column == 0 ? PlannerTimeCell(m_grid.daySlots.at(size_t(row))) : m_grid.cell(row, column - 1);
    });
    connect(Naptar, &SlotGrid::picked, this, &Tfrm_Naptar::pickCell);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addLayout(top);
    layout->addWidget(Naptar, 1);

    ApplyFontSize(this);
    showLength();
}

QAction* Tfrm_Naptar::addDayAction(const char* name, const QString& caption, const QKeySequence& key) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    return action;
}

std::optional<PlannerSlot> Tfrm_Naptar::Run() {
    Tfrm_Naptar window(QApplication::activeWindow());
    window.showDay(ServerDate());
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.picked();
}

void Tfrm_Naptar::showDay(const QDate& day) {
    if (!day.isValid())
        return;
    m_grid = ReadPlannerGrid(day);
    {
        const QSignalBlocker quiet(DateTimePicker1);
        DateTimePicker1->setDate(day);
    }
    lblNap->setText(DayHeading(day));
    lblRejtett->setVisible(m_grid.hiddenEmployees > 0);
    lblRejtett->setText(QStringLiteral("%1 dolgozó nem fér el a naptárban").arg(m_grid.hiddenEmployees));
    m_halfHours = std::min(m_halfHours, PlannerLongestLength(m_grid));
    showGrid();
    showLength();
}

void Tfrm_Naptar::showGrid() {
    std::vector<SlotGrid::Column> columns{{0, TimeColumnWidth, {}, true}};
    for (size_t c = 0; c < m_grid.columns.size(); ++c)
        columns.push_back({TimeColumnWidth + int(c) * EmployeeColumnPitch, EmployeeColumnWidth,
                           m_grid.columns[c].name, false});
    Naptar->setColumns(std::move(columns));
    Naptar->setRowCount(int(m_grid.daySlots.size()));
}

void Tfrm_Naptar::showLength() {
    edHossz->setText(LengthText(m_halfHours));
    btnRovidebb->setEnabled(ShorterLength(m_halfHours) != m_halfHours);
    btnHosszabb->setEnabled(LongerLength(m_halfHours, PlannerLongestLength(m_grid)) != m_halfHours);
}

void Tfrm_Naptar::stepLength(int step) {
    m_halfHours =
        step < 0 ? ShorterLength(m_halfHours) : LongerLength(m_halfHours, PlannerLongestLength(m_grid));
    showLength();
}

void Tfrm_Naptar::pickCell(int row, int column) {
    if (row < 0 || column < 1 || size_t(column - 1) >= m_grid.columns.size())
        return;
    const int value =
        PlannerCellValue(m_grid.columns[size_t(column - 1)].position, m_grid.daySlots.at(size_t(row)));
    m_picked = PickFromGrid(m_grid, value, m_halfHours);
    if (m_picked)
        accept();
}

void Tfrm_Naptar::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowBounds(this, WindowName);
    }
    QDialog::showEvent(event);
}

void Tfrm_Naptar::done(int result) {
    if (m_placed)
        SaveWindowBounds(this, WindowName);
    QDialog::done(result);
}

} // namespace kml
