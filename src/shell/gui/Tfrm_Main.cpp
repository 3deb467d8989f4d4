#include "shell/gui/Tfrm_Main.h"

#include "components/DatasetModel.h"
#include "components/DbError.h"
#include "foundation/Folders.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/ShellOpener.h"
#include "foundation/WindowPlacement.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/ListSearch.h"
#include "patterns/gui/ListGrid.h"
#include "patterns/gui/ListKeys.h"
#include "records/RecordRoutes.h"
#include "services/MakerServices.h"
#include "services/gui/MakerMessagePanel.h"
#include "shell/AppError.h"
#include "shell/Beallit.h"
#include "shell/MainLists.h"
#include "shell/ShopSettings.h"
#include "shell/Startup.h"
#include "shell/Version.h"
#include "shell/gui/MainActionSet.h"
#include "shell/gui/Tfrm_Logo.h"
#include "shell/gui/Tfrm_Nevjegy.h"
#include "worksheets/DueList.h"
#include "worksheets/SlotCells.h"
#include "worksheets/WorkSheetLists.h"
#include "worksheets/gui/DayPlannerPanel.h"
#include "worksheets/gui/SlotGrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kml {
namespace {

const QString MainWindowName = QStringLiteral("frm_Main");
constexpr int EmployeePanelWidth = 190;

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A detail panel's heading: its caption, on the right a tool bar of the
// panel's own (`tools`) and a small button that closes the panel through its
// toggle action, and under them the buttons of further actions.
QWidget* PanelHeader(QLabel*& caption, const char* name, const QString& text, QAction* toggle,
                     const QList<QAction*>& actions = {}, QWidget* tools = nullptr) {
    auto* header = new QWidget;
    auto* rows = new QVBoxLayout(header);
    rows->setContentsMargins(4, 2, 2, 2);
    rows->setSpacing(0);
    auto* row = new QHBoxLayout;
    caption = Named(new QLabel(text), name);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    row->addWidget(caption, 1);
    if (tools)
        row->addWidget(tools);
    if (toggle) {
        auto* close = new QToolButton;
        close->setObjectName(QString::fromLatin1(name) + QStringLiteral("Close"));
        close->setText(QStringLiteral("✕"));
        close->setToolTip(toggle->text());
        close->setAutoRaise(true);
        QObject::connect(close, &QToolButton::clicked, toggle, &QAction::trigger);
        row->addWidget(close);
    }
    rows->addLayout(row);
    if (!actions.isEmpty()) {
        auto* buttons = new QHBoxLayout;
        for (QAction* action : actions) {
            auto* button = new QToolButton;
            button->setDefaultAction(action);
            button->setAutoRaise(true);
            buttons->addWidget(button);
        }
        buttons->addStretch(1);
        rows->addLayout(buttons);
    }
    return header;
}

QWidget* Stack(QWidget* header, QWidget* body) {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(body, 1);
    return panel;
}

// Gives a field of a query the label its grid column shows (the query may be
// open or closed) and tells the grid's header.
void Relabel(Query& query, const char* field, const QString& label, QTableView* grid) {
    query.fieldSettings(QString::fromLatin1(field)).displayLabel = label;
    if (grid && grid->model() && grid->model()->columnCount() > 0)
        emit grid->model()->headerDataChanged(Qt::Horizontal, 0, grid->model()->columnCount() - 1);
}

} // namespace

Tfrm_Main::Tfrm_Main(QWidget* parent) : QMainWindow(parent) {
    setObjectName(MainWindowName);
    setWindowTitle(QStringLiteral("Koravel - Munkalap"));

    registerOwnActions();
    createActions();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(buildTopBar());
    Panels = Named(new QStackedWidget, "Panels");
    pMunkalap = buildWorkSheetPanel();
    pUgyfel = buildCustomerPanel();
    pNaptar = buildPlannerPanel();
    pKeszulek = buildDevicePanel();
    for (QWidget* panel : {pMunkalap, pUgyfel, pNaptar, pKeszulek})
        Panels->addWidget(panel);
    layout->addWidget(Panels, 1);
    pUzenet = new MakerMessagePanel;
    layout->addWidget(pUzenet);
    setCentralWidget(central);
    buildStatusBar();
    connectLists();

    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setInterval(100);
    connect(&Timer2, &QTimer::timeout, this, [this] {
        Timer2.stop();
        close();
    });

    startUp();
}

Tfrm_Main::~Tfrm_Main() = default;

// ---- Building the window ----------------------------------------------------

void Tfrm_Main::registerOwnActions() {
    MainRoutes& routes = m_session.routes;
    const auto own = [&routes](const char* name, std::function<void()> handler) {
        routes.on(QString::fromLatin1(name), [handler = std::move(handler)](MainContext&) { handler(); });
    };
    own("aBezar", [this] { close(); });
    own("aNovel", [this] { stepFontSize(+1); });
    own("aCsokkent", [this] { stepFontSize(-1); });
    own("aSugo", [] { OpenInShell(HelpAddress); });
    own("aHonlap", [] { OpenInShell(HomeAddress); });
    own("aLevel", [] { OpenInShell(MailAddress); });
    own("aNevjegy", [this] { Tfrm_Nevjegy::ShowAbout(this); });
    own("aBeallit", [this] { editSettings(); });
    own("aMLapDolgozo", [this] { toggleEmployeesPanel(); });
    own("aMLapTetel", [this] { toggleItemsPanel(); });
    CheckRouteNames(routes);
}

void Tfrm_Main::createActions() {
    m_actions = new MainActionSet(this, m_session.routes, *this);
    aBezar = action(QStringLiteral("aBezar"));

    for (const char* toggle : {"aMLapDolgozo", "aMLapTetel"})
        action(QString::fromLatin1(toggle))->setCheckable(true);
    action(QStringLiteral("aMLapTetel"))->setChecked(true);

    // After the actions' own handlers: the count follows what they changed.
    for (const char* name : {"aFrissit", "aEsedekes"})
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, [this] { refreshDueCount(); });

    m_actions->buildMenus(menuBar());
    ToolBar1 = Named(new QToolBar(QStringLiteral("Eszköztár")), "ToolBar1");
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBar1->setMovable(false);
    m_actions->fillToolBar(ToolBar1);
    addToolBar(ToolBar1);
}

QWidget* Tfrm_Main::buildTopBar() {
    auto* bar = Named(new QWidget, "pTop");
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    TabControl1 = Named(new QTabBar, "TabControl1");
    for (const char* caption : {"Munkalapok", "Ügyfelek", "Naptár", "Készülék"})
        TabControl1->addTab(QString::fromUtf8(caption));
    TabControl1->setFocusPolicy(Qt::NoFocus);
    TabControl1->setExpanding(false);

    Edit1 = Named(new QLineEdit, "Edit1");
    Edit1->setPlaceholderText(QStringLiteral("Keresés"));
    Edit1->setClearButtonEnabled(true);
    // The window's shortcuts come before the search box's own editing keys
    // (Ctrl+K, Ctrl+Del, ...), as the menus promise them.
    Edit1->installEventFilter(this);

    Label1 = Named(new QLabel, "Label1");

    row->addWidget(TabControl1);
    row->addWidget(Edit1, 1);
    row->addWidget(Label1);
    return bar;
}

void Tfrm_Main::makeGrids(const MainListRoute& route, ListController& list) {
    for (const MainGridDefinition& definition : route.grids) {
        auto* view = new QTableView;
        view->setObjectName(definition.name);
        auto* grid = new ListGrid(view, list, definition.columns,
                                  definition.colouring ? definition.colouring : route.list.colouring, this);
        grid->setSortable(definition.sortable);
        if (definition.sortable)
            grid->setAfterSort([this] { Edit1->setFocus(Qt::OtherFocusReason); });
        else
            view->horizontalHeader()->setSectionsClickable(false);
        m_grids[definition.name] = grid;
    }
}

QTableView* Tfrm_Main::grid(const char* name) const {
    const auto it = m_grids.find(QString::fromLatin1(name));
    return it == m_grids.end() ? nullptr : it->second->view();
}

QWidget* Tfrm_Main::buildWorkSheetPanel() {
    makeGrids(m_session.routes.list(MainTab::WorkSheets), list(MainTab::WorkSheets));
    DBGrid2 = grid("DBGrid2");
    DBGrid22 = grid("DBGrid22");
    DBGrid23 = grid("DBGrid23");

    TabControl2 = Named(new QTabBar, "TabControl2");
    TabControl2->setShape(QTabBar::RoundedSouth);
    TabControl2->setFocusPolicy(Qt::NoFocus);
    TabControl2->setExpanding(false);
    for (const QString& caption : StatusTabCaptions())
        TabControl2->addTab(caption);

    // Under the list: the status tabs, and the buttons of the two detail panels.
    auto* strip = new QWidget;
    auto* stripRow = new QHBoxLayout(strip);
    stripRow->setContentsMargins(0, 0, 0, 0);
    stripRow->addWidget(TabControl2);
    stripRow->addStretch(1);
    for (const char* name : {"aMLapDolgozo", "aMLapTetel"}) {
        auto* button = new QToolButton;
        button->setObjectName(QStringLiteral("btn") + QString::fromLatin1(name + 1));
        button->setDefaultAction(action(QString::fromLatin1(name)));
        stripRow->addWidget(button);
    }

    auto* listPanel = new QWidget;
    auto* listLayout = new QVBoxLayout(listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    for (QTableView* view : {DBGrid2, DBGrid22, DBGrid23})
        listLayout->addWidget(view, 1);
    listLayout->addWidget(strip);

    makeGrids(m_session.routes.detail(MainDetail::SheetEmployees), detail(MainDetail::SheetEmployees));
    DBGrid4 = grid("DBGrid4");
    Panel7 = Named(
        Stack(PanelHeader(Panel7Header, "Panel7Header", QStringLiteral("Dolgozók"),
                          action(QStringLiteral("aMLapDolgozo")),
                          {action(QStringLiteral("aUjDolgozo")), action(QStringLiteral("aTorolDolgozo"))}),
              DBGrid4),
        "Panel7");
    Panel7->setFixedWidth(EmployeePanelWidth);
    Panel7->hide();

    makeGrids(m_session.routes.detail(MainDetail::SheetLines), detail(MainDetail::SheetLines));
    DBGrid6 = grid("DBGrid6");
    auto* itemsBody = new QWidget;
    auto* itemsRow = new QHBoxLayout(itemsBody);
    itemsRow->setContentsMargins(0, 0, 0, 0);
    itemsRow->addWidget(DBGrid6, 1);
    itemsRow->addWidget(buildTotalsPanel());
    Panel11 = Named(Stack(PanelHeader(Panel11Header, "Panel11Header", QStringLiteral("Tételek"),
                                      action(QStringLiteral("aMLapTetel"))),
                          itemsBody),
                    "Panel11");

    auto* top = new QWidget;
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(0, 0, 0, 0);
    topRow->addWidget(listPanel, 1);
    topRow->addWidget(Panel7);

    m_workSheetSplit = Named(new QSplitter(Qt::Vertical), "pMunkalap");
    m_workSheetSplit->addWidget(top);
    m_workSheetSplit->addWidget(Panel11);
    m_workSheetSplit->setChildrenCollapsible(false);
    m_workSheetSplit->installEventFilter(this);
    return m_workSheetSplit;
}

QWidget* Tfrm_Main::buildTotalsPanel() {
    PanelTotals = Named(new QWidget, "PanelTotals");
    auto* grid = new QGridLayout(PanelTotals);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(12);
    auto label = [](const QString& text, const char* name, bool bold, Qt::Alignment align) {
        auto* l = Named(new QLabel(text), name);
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
        l->setAlignment(align | Qt::AlignVCenter);
        return l;
    };
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    grid->addWidget(label(QStringLiteral("Besz.érték"), "lblBeszErtek", true, right), 0, 1);
    grid->addWidget(label(QStringLiteral("Elad.érték"), "lblEladErtek", true, right), 0, 2);
    grid->addWidget(label(QStringLiteral("Haszon"), "lblHaszon", true, right), 0, 3);
    grid->addWidget(label(QStringLiteral("Szolgáltatás"), "lblSzolgaltatas", true, left), 1, 0);
    grid->addWidget(label({}, "szolgbesz", false, right), 1, 1);
    grid->addWidget(label({}, "szolgelad", false, right), 1, 2);
    grid->addWidget(label({}, "szolghaszon", false, right), 1, 3);
    grid->addWidget(label(QStringLiteral("Áru"), "lblAru", true, left), 2, 0);
    grid->addWidget(label({}, "termbesz", false, right), 2, 1);
    grid->addWidget(label({}, "termelad", false, right), 2, 2);
    grid->addWidget(label({}, "termhaszon", false, right), 2, 3);
    grid->addWidget(label(QStringLiteral("Teljes haszon"), "lblTeljesHaszon", true, left), 3, 0, 1, 3);
    grid->addWidget(label({}, "osszhaszon", false, right), 3, 3);
    grid->addWidget(label(QStringLiteral("Rögzítve:"), "lblRogzitve", true, left), 4, 0);
    grid->addWidget(label({}, "rogzitve", false, left), 4, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Felhasználó:"), "lblFelhasznalo", true, left), 5, 0);
    grid->addWidget(label({}, "felhasznalo", false, left), 5, 1, 1, 3);
    grid->setRowStretch(6, 1);
    for (int column = 1; column <= 3; ++column)
        grid->setColumnMinimumWidth(column, 80);
    return PanelTotals;
}

QWidget* Tfrm_Main::buildCustomerPanel() {
    makeGrids(m_session.routes.list(MainTab::Customers), list(MainTab::Customers));
    DBGrid1 = grid("DBGrid1");
    makeGrids(m_session.routes.detail(MainDetail::CustomerDevices), detail(MainDetail::CustomerDevices));
    DBGrid3 = grid("DBGrid3");
    auto* deviceTools = Named(new QToolBar, "ToolBar16");
    deviceTools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    deviceTools->setIconSize(QSize(0, 0));
    m_actions->addTo(deviceTools, {QStringLiteral("aUjKeszulek"), QStringLiteral("aSzerkesztKeszulek"),
                                   QStringLiteral("aTorolKeszulek"), QStringLiteral("aMLapKeszulek")});
    QWidget* header =
        PanelHeader(Panel16Header, "Panel16Header", QStringLiteral("Készülékek"), nullptr, {}, deviceTools);
    Panel16 = Named(Stack(header, DBGrid3), "Panel16");

    Splitter16 = Named(new QSplitter(Qt::Vertical), "pUgyfel");
    Splitter16->addWidget(DBGrid1);
    Splitter16->addWidget(Panel16);
    Splitter16->setChildrenCollapsible(false);
    Splitter16->installEventFilter(this);
    connect(Splitter16, &QSplitter::splitterMoved, this, &Tfrm_Main::devicePanelMoved);
    return Splitter16;
}

QWidget* Tfrm_Main::buildPlannerPanel() {
    makeGrids(m_session.routes.list(MainTab::Planner), list(MainTab::Planner));
    DBGrid7 = grid("DBGrid7");
    // The chosen employee stands out as the day panel's current slot does.
    QPalette employees = DBGrid7->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        employees.setColor(group, QPalette::Highlight, DayPanelSelection);
    DBGrid7->setPalette(employees);
    DayPanel = Named(new DayPlannerPanel(m_session.dayPlanner()), "DayPanel");
    DBGrid8 = DayPanel->DBGrid8;
    Panel17 = DayPanel->Panel17;
    DateTimePicker1 = DayPanel->DateTimePicker1;
    auto* dayTools = Named(new QToolBar, "ToolBar17");
    dayTools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_actions->addTo(dayTools, {QStringLiteral("aTegnap"), QStringLiteral("aMa"), QStringLiteral("aHolnap"),
                                QStringLiteral("aNaptarba")});
    DayPanel->setTools(dayTools);

    auto* panel = Named(new QSplitter(Qt::Horizontal), "pNaptar");
    panel->addWidget(DBGrid7);
    panel->addWidget(DayPanel);
    panel->setStretchFactor(0, 1);
    panel->setStretchFactor(1, 3);
    return panel;
}

QWidget* Tfrm_Main::buildDevicePanel() {
    makeGrids(m_session.routes.list(MainTab::Devices), list(MainTab::Devices));
    DBGrid5 = grid("DBGrid5");
    DBGrid51 = Named(new QTableView, "DBGrid51");
    BindQueryGrid(DBGrid51, m_session.deviceHistory(), DeviceHistoryColumns());
    for (Query* q :
         {&m_session.list(MainTab::Devices).query(), &m_session.detail(MainDetail::CustomerDevices).query()})
        q->fieldSettings(QStringLiteral("gysz")).displayLabel = QStringLiteral("Gyárt.szám");
    m_session.list(MainTab::Devices).query().fieldSettings(QStringLiteral("dat_muszaki")).displayLabel =
        QStringLiteral("Bevizsgálás");

    QLabel* historyCaption = nullptr;
    QWidget* history =
        Stack(PanelHeader(historyCaption, "Panel51Header", QStringLiteral("Előzmények"), nullptr), DBGrid51);
    auto* panel = Named(new QSplitter(Qt::Vertical), "pKeszulek");
    panel->addWidget(DBGrid5);
    panel->addWidget(history);
    panel->setStretchFactor(0, 2);
    panel->setStretchFactor(1, 1);
    panel->setChildrenCollapsible(false);
    return panel;
}

void Tfrm_Main::buildStatusBar() {
    StatusPanel0 = Named(new QLabel, "StatusPanel0");
    StatusPanel0->setMinimumWidth(120);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusPanel0);
    StatusPanelDue = Named(new QLabel, "StatusPanelDue");
    StatusPanelDue->setToolTip(QStringLiteral("Esedékes emlékeztetők, vizsgák és garanciák (Ctrl+D)"));
    statusBar()->addWidget(StatusPanelDue);
}

void Tfrm_Main::refreshDueCount() {
    if (m_startupFailed || !m_session.mySQLDatabase1.isOpen())
        return;
    StatusPanelDue->setText(DueCountText(CountDue(m_session.mySQLDatabase1)));
}

void Tfrm_Main::connectLists() {
    m_session.streamLists();
    for (const MainTab tab : {MainTab::WorkSheets, MainTab::Customers, MainTab::Planner, MainTab::Devices}) {
        connect(&list(tab), &ListController::moved, this, [this, tab] { listMoved(tab); });
        // A streaming list's counter is final once its last rows are there.
        connect(&list(tab), &ListController::completed, this, [this, tab] {
            if (currentTab() == tab)
                showCounter();
        });
        // A search the server refused arrives from the event loop, not as
        // an exception: it goes to the error handler all the same.
        connect(&list(tab), &ListController::failed, this, [](const QString& message, unsigned code) {
            HandleAppError(AppErrorText(DbError(message, code).text()));
        });
    }

    m_keys = new SearchKeyHandover(Edit1, this);
    for (QTableView* view : {DBGrid2, DBGrid22, DBGrid23, DBGrid1, DBGrid7, DBGrid5})
        m_keys->addGrid(view);
    m_keys->setHandoverResolver([this] { return static_cast<QAbstractItemView*>(currentListGrid()); });
    m_wheel = new WheelToArrowKeys(this);

    m_actions->setContextMenu(DBGrid1, MainContextMenu::Customers);
    for (QTableView* view : {DBGrid2, DBGrid22, DBGrid23})
        m_actions->setContextMenu(view, MainContextMenu::WorkSheets);
    m_actions->setContextMenu(DBGrid3, MainContextMenu::CustomerDevices);
    m_actions->setContextMenu(DBGrid5, MainContextMenu::Devices);

    for (QTableView* view : {DBGrid2, DBGrid22, DBGrid23, DBGrid1, DBGrid5})
        connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            if (index.isValid())
                action(QStringLiteral("aSzerkeszt"))->trigger();
        });
    connect(DBGrid3, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            action(QStringLiteral("aSzerkesztKeszulek"))->trigger();
    });

    connect(TabControl1, &QTabBar::currentChanged, this, &Tfrm_Main::switchTab);
    connect(TabControl2, &QTabBar::currentChanged, this, &Tfrm_Main::switchStatusTab);
    connect(Edit1, &QLineEdit::textChanged, this, &Tfrm_Main::searchChanged);
}

// ---- Start-up and settings -------------------------------------------------------

void Tfrm_Main::startUp() {
    const StartupOutcome outcome = RunStartup(m_session);
    const TBeall& s = Beall();
    setGeometry(s.bal, s.felul, s.szeles, s.magas);
    m_startupFailed = outcome.failed;
    if (m_startupFailed) {
        updateActionStates();
        Timer2.start();
        return;
    }
    showWorkingDate();
    setWindowTitle(outcome.caption);
    applyShopSettings();
    TabControl1->setCurrentIndex(int(MainTab::WorkSheets));
    Panels->setCurrentWidget(pMunkalap);
    listMoved(MainTab::WorkSheets);
    refreshDueCount();
}

void Tfrm_Main::loadShopSettings() {
    LoadShopSettings(Beall());
    applyShopSettings();
}

void Tfrm_Main::applyShopSettings() {
    const TBeall& s = Beall();
    Label1->setText(ConnectionLabel(s.connectionName));
    if (TabControl1->count() < MainTabCount)
        TabControl1->addTab(QStringLiteral("Készülék"));

    const DeviceWording wording = DeviceWordingFor(s.keszulekstr);
    Panel16->setVisible(s.vankeszulek);
    if (s.vankeszulek) {
        Panel16Header->setText(wording.panelCaption);
        action(QStringLiteral("aKeszulekAdatlap"))->setText(wording.recordCaption);
        m_actions->setHint(QStringLiteral("aKeszulekAdatlap"), wording.recordHint);
        action(QStringLiteral("aUjKeszulek"))->setText(wording.newDeviceCaption);
        m_actions->setHint(QStringLiteral("aUjKeszulek"), wording.newDeviceCaption);
        action(QStringLiteral("aTipus"))->setText(wording.typesCaption);
        m_actions->setHint(QStringLiteral("aTipus"), wording.typesCaption);
        relabelDeviceFields();
    } else if (TabControl1->count() >= MainTabCount) {
        TabControl1->removeTab(int(MainTab::Devices));
    }

    // The program type's grids (also when the settings window changed it).
    applyProgramType(s.prgtipus);
    updateActionStates();
}

void Tfrm_Main::relabelDeviceFields() {
    const TBeall& s = Beall();
    // An empty caption in the settings keeps the design's title.
    if (!s.gyszstr.isEmpty()) {
        Relabel(m_session.detail(MainDetail::CustomerDevices).query(), "gysz", s.gyszstr, DBGrid3);
        Relabel(m_session.list(MainTab::WorkSheets).query(), "gysz", s.gyszstr, workSheetGrid());
        Relabel(m_session.list(MainTab::Devices).query(), "gysz", s.gyszstr, DBGrid5);
    }
    if (!s.muszakistr.isEmpty())
        Relabel(m_session.list(MainTab::Devices).query(), "dat_muszaki", s.muszakistr, DBGrid5);
}

void Tfrm_Main::applyProgramType(int programType) {
    // A grid shows in the program types its list names (all when none), and
    // takes the column set of the type.
    for (const MainListRoute* route :
         {&m_session.routes.list(MainTab::WorkSheets), &m_session.routes.detail(MainDetail::SheetLines)})
        for (const MainGridDefinition& definition : route->grids) {
            ListGrid* grid = m_grids.at(definition.name);
            const bool shown = definition.programTypes.empty() ||
                               std::find(definition.programTypes.begin(), definition.programTypes.end(),
                                         programType) != definition.programTypes.end();
            grid->view()->setVisible(shown);
            grid->view()->setEnabled(shown);
            if (definition.sharesFor)
                grid->setShares(definition.sharesFor(programType));
        }
}

void Tfrm_Main::showWorkingDate() {
    DayPanel->showWorkingDate();
}

void Tfrm_Main::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown || m_startupFailed)
        return;
    m_shown = true;
    onShownFirstTime();
}

void Tfrm_Main::onShownFirstTime() {
    MainWindowShown();

    const TBeall& s = Beall();
    if (s.teljesKep) {
        setGeometry(QRect(QPoint(0, 0), WorkArea().size()));
    } else {
        int left = 0, top = 0, height = s.magas, width = s.szeles;
        LoadFormBounds(MainWindowName, left, top, height, width);
        setGeometry(left, top, width, height);
    }

    Edit1->setFocus();
    applyFontSize();
    for (auto& [name, grid] : m_grids)
        grid->paintSortColumn();

    Tfrm_Logo::Splash();

    // The maker's message first, then the timers of the version and news
    // checks, which ask the maker's server off this thread.
    pUzenet->showMakerMessage();
    m_makerChecks = std::make_unique<MakerChecks>(
        MakerCheckSettings{ProgramVersion, CurrentMakerEndpoint(), DataFolder()});
    m_makerChecks->start();
}

void Tfrm_Main::applyFontSize() {
    ApplyFontSize(this);
    // Labels with a face of their own (the panel headings, the totals) take
    // the size as well.
    for (QLabel* label : findChildren<QLabel*>())
        if (label->testAttribute(Qt::WA_SetFont))
            ApplyFontSize(label);
    for (QTableView* view : findChildren<QTableView*>())
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
}

void Tfrm_Main::updateActionStates() {
    MainActionContext context;
    context.tab = currentTab();
    context.statusTab = TabControl2->currentIndex();
    context.vankeszulek = Beall().vankeszulek;
    context.vanPennart = Beall().vanPennart;
    m_actions->applyState(context);
}

void Tfrm_Main::setPlannerOpen(bool open) {
    m_wheel->setSuspended(open);
}

// ---- Lists and their details ---------------------------------------------------------

MainTab Tfrm_Main::currentTab() const {
    const int index = TabControl1->currentIndex();
    return index >= 0 && index < MainTabCount ? MainTab(index) : MainTab::WorkSheets;
}

int Tfrm_Main::statusTab() const {
    return TabControl2->currentIndex();
}

QObject* Tfrm_Main::panel(MainTab tab) {
    return tab == MainTab::Planner ? &m_session.dayPlanner() : nullptr;
}

QAction* Tfrm_Main::action(const QString& name) const {
    return m_actions->action(name);
}

QTableView* Tfrm_Main::workSheetGrid() const {
    for (QTableView* view : {DBGrid2, DBGrid22, DBGrid23})
        if (view->isEnabled())
            return view;
    return nullptr;
}

QTableView* Tfrm_Main::currentListGrid() const {
    switch (currentTab()) {
    case MainTab::WorkSheets:
        return workSheetGrid();
    case MainTab::Customers:
        return DBGrid1;
    case MainTab::Devices:
        return DBGrid5;
    case MainTab::Planner:
        break;
    }
    return nullptr;
}

void Tfrm_Main::switchTab(int index) {
    if (index < 0)
        return;
    // Every tab list closes (the details following them close with them) and
    // the new tab's list reads what the search box holds.
    for (int tab = 0; tab < MainTabCount; ++tab)
        list(MainTab(tab)).close();
    m_session.daySlots().close();
    Panels->setCurrentIndex(index);
    updateActionStates();
    // The search box keeps its text, and the tab's list shows what it finds.
    currentList().search(Edit1->text());
    showCounter();
}

void Tfrm_Main::switchStatusTab(int index) {
    list(MainTab::WorkSheets).setFixedCondition(StatusTabCondition(index));
    updateActionStates();
    const bool hadText = !Edit1->text().isEmpty();
    {
        const QSignalBlocker quiet(Edit1);
        Edit1->clear();
    }
    if (currentTab() == MainTab::WorkSheets)
        list(MainTab::WorkSheets).search({});
    else if (hadText)
        currentList().search({});
}

void Tfrm_Main::searchChanged(const QString& text) {
    currentList().search(text);
    showCounter();
}

void Tfrm_Main::showCounter() {
    const Query& q = currentList().query();
    StatusPanel0->setText(q.isActive() ? RecordCounterText(q) : QString());
}

void Tfrm_Main::listMoved(MainTab tab) {
    if (currentTab() == tab)
        showCounter();
    const std::optional<qlonglong> key = list(tab).currentKey();
    for (int i = 0; i < MainDetailCount; ++i) {
        const auto d = MainDetail(i);
        if (m_session.routes.detail(d).link.master == tab && key != m_detailKeys[size_t(i)])
            followRow(d, key);
    }
    if (tab == MainTab::WorkSheets)
        showSheetRecord();
    else if (tab == MainTab::Devices && key != m_historyDevice)
        showDeviceHistory(key);
}

void Tfrm_Main::followRow(MainDetail which, std::optional<qlonglong> key) {
    m_detailKeys[size_t(which)] = key;
    const MainDetailLink& link = m_session.routes.detail(which).link;
    ListController& details = detail(which);
    const bool shown = link.shownWith.isEmpty() || action(link.shownWith)->isChecked();
    if (key && shown) {
        details.setFixedCondition(link.condition(*key));
        details.open();
    } else {
        details.close();
    }
    if (which == MainDetail::SheetLines)
        showTotals(details.query().isActive() ? key : std::nullopt);
}

void Tfrm_Main::showSheetRecord() {
    const Query& mlap = m_session.list(MainTab::WorkSheets).query();
    for (const char* field : {"rogzitve", "felhasznalo"})
        if (auto* label = PanelTotals->findChild<QLabel*>(QString::fromLatin1(field))) {
            const int col = mlap.isActive() ? mlap.fieldIndex(QString::fromLatin1(field)) : -1;
            label->setText(col >= 0 && mlap.row() >= 0 ? mlap.displayText(mlap.row(), col) : QString());
        }
}

void Tfrm_Main::showTotals(std::optional<qlonglong> workSheet) {
    Query& sum = m_session.sheetTotals();
    if (workSheet)
        ReopenWithCondition(sum, WorkSheetTotalsCondition(*workSheet));
    else
        sum.close();
    for (const char* field :
         {"szolgbesz", "szolgelad", "szolghaszon", "termbesz", "termelad", "termhaszon", "osszhaszon"}) {
        auto* label = PanelTotals->findChild<QLabel*>(QString::fromLatin1(field));
        const int col = sum.isActive() ? sum.fieldIndex(QString::fromLatin1(field)) : -1;
        label->setText(col >= 0 && sum.row() >= 0 ? sum.displayText(sum.row(), col) : QString());
    }
}

void Tfrm_Main::showDeviceHistory(std::optional<qlonglong> device) {
    m_historyDevice = device;
    Query& history = m_session.deviceHistory();
    history.close();
    if (device) {
        history.setParam(QStringLiteral("pkeszulek"), *device);
        history.open();
        // Its amounts read like those of the work-sheet list.
        ApplyNumberFormats(history, false, Beall().formatFt, Beall().formatDb);
    }
}

void Tfrm_Main::layOutPanels() {
    // The items panel takes a third of the work-sheet area, at least 240 pixels.
    if (!Panel11->isHidden()) {
        const int h = m_workSheetSplit->height();
        const int items = std::min(ItemsPanelHeight(h), std::max(0, h - 80));
        m_workSheetSplit->setSizes({h - m_workSheetSplit->handleWidth() - items, items});
    }
}

void Tfrm_Main::placeDevicePanel() {
    // The device panel starts at a third of the customer panel, within the
    // heights the splitter accepts.
    const int h = Splitter16->height();
    if (m_devicePanelPlaced || h <= 0)
        return;
    m_devicePanelPlaced = true;
    const int device = std::clamp(h / 3, std::min(201, h / 2), std::max(201, h / 2 - 1));
    Splitter16->setSizes({h - device - Splitter16->handleWidth(), device});
}

void Tfrm_Main::devicePanelMoved() {
    // A drag beyond the accepted heights stops at the nearest one; a panel
    // too low for any keeps what the drag gave.
    const QList<int> sizes = Splitter16->sizes();
    const int h = Splitter16->height();
    if (sizes.size() != 2 || DevicePanelHeightAccepted(sizes[1], h) || h / 2 - 1 < 201)
        return;
    const int device = std::clamp(sizes[1], 201, h / 2 - 1);
    Splitter16->setSizes({sizes[0] + sizes[1] - device, device});
}

bool Tfrm_Main::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == m_workSheetSplit)
            layOutPanels();
        else if (watched == Splitter16)
            placeDevicePanel();
    } else if (event->type() == QEvent::ShortcutOverride && watched == Edit1) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            const QKeySequence typed(key->keyCombination());
            for (QAction* a : actions())
                if (a->isEnabled() && a->isVisible() && a->shortcut() == typed) {
                    event->ignore();
                    return true; // the window's shortcut runs
                }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- The window's own actions ------------------------------------------------------

void Tfrm_Main::toggleEmployeesPanel() {
    const bool show = Panel7->isHidden();
    Panel7->setVisible(show);
    action(QStringLiteral("aMLapDolgozo"))->setChecked(show);
    followRow(MainDetail::SheetEmployees, m_detailKeys[size_t(MainDetail::SheetEmployees)]);
}

void Tfrm_Main::toggleItemsPanel() {
    const bool show = Panel11->isHidden();
    Panel11->setVisible(show);
    action(QStringLiteral("aMLapTetel"))->setChecked(show);
    followRow(MainDetail::SheetLines, m_detailKeys[size_t(MainDetail::SheetLines)]);
    layOutPanels();
}

void Tfrm_Main::stepFontSize(int step) {
    Beall().betumeret = SteppedFontSize(WindowFontSize(), step);
    applyFontSize();
}

void Tfrm_Main::editSettings() {
    EditSettings();
    loadShopSettings();
}

void Tfrm_Main::closeEvent(QCloseEvent* event) {
    try {
        MainWindowClosing(m_session, geometry());
    } catch (...) {
        // An ini file that cannot be written is reported, but the program
        // still ends.
        HandleAppError(AppErrorText(CurrentExceptionText()));
    }
    QMainWindow::closeEvent(event);
    emit closed();
}

} // namespace kml
