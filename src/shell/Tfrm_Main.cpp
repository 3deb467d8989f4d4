#include "shell/Tfrm_Main.h"

#include "components/DatasetModel.h"
#include "foundation/GuiHelpers.h"
#include "foundation/QueryHelpers.h"
#include "foundation/WindowPlacement.h"
#include "shell/AppError.h"
#include "shell/Settings.h"
#include "shell/Startup.h"
#include "shell/Tfrm_Logo.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <map>

namespace kml {
namespace {

const QString MainWindowName = QStringLiteral("frm_Main");

// Titles of the work-sheet fields, shared by the three work-sheet grids.
GridColumn WorkSheetColumn(const char* field) {
    static const std::map<QString, QString> titles{
        {QStringLiteral("munkalapstr"), QStringLiteral("Munkalap")},
        {QStringLiteral("mlaptipus_nev"), QStringLiteral("Munkalap típusa")},
        {QStringLiteral("datum"), QStringLiteral("Beérkezett")},
        {QStringLiteral("statusz_nev"), QStringLiteral("Státusz")},
        {QStringLiteral("ugyfel_nev"), QStringLiteral("Ügyfél")},
        {QStringLiteral("irszvaroscim"), QStringLiteral("Cím")},
        {QStringLiteral("tipusstr"), QStringLiteral("Típus")},
        {QStringLiteral("tipusstr2"), QStringLiteral("Típus")},
        {QStringLiteral("kmora"), QStringLiteral("Km óra")},
        {QStringLiteral("hatidstr"), QStringLiteral("Kezdés")},
        {QStringLiteral("ar_teljes"), QStringLiteral("Teljes ár")},
        {QStringLiteral("dolgozostr"), QStringLiteral("Dolgozók")},
        {QStringLiteral("fizetve"), QStringLiteral("Fiz?")},
    };
    const QString name = QString::fromLatin1(field);
    const auto title = titles.find(name);
    return GridColumn{name, title != titles.end() ? title->second : QString(), 0};
}

std::vector<GridColumn> WorkSheetColumns(std::initializer_list<const char*> fields) {
    std::vector<GridColumn> columns;
    for (const char* field : fields)
        columns.push_back(WorkSheetColumn(field));
    return columns;
}

GridColumn Column(const char* field, const char* title = "") {
    return GridColumn{QString::fromLatin1(field), QString::fromUtf8(title), 0};
}

QWidget* Named(QWidget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace

Tfrm_Main::Tfrm_Main(QWidget* parent) : QMainWindow(parent) {
    setObjectName(MainWindowName);
    setWindowTitle(QStringLiteral("Koravel - Munkalap"));

    createActions();
    buildMenus();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(buildTopBar());
    Panels = new QStackedWidget;
    Panels->setObjectName(QStringLiteral("Panels"));
    pMunkalap = buildWorkSheetPanel();
    pUgyfel = buildCustomerPanel();
    pNaptar = buildPlannerPanel();
    pKeszulek = buildDevicePanel();
    for (QWidget* panel : {pMunkalap, pUgyfel, pNaptar, pKeszulek})
        Panels->addWidget(panel);
    layout->addWidget(Panels, 1);
    setCentralWidget(central);
    buildStatusBar();

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

QAction* Tfrm_Main::makeAction(const QString& name, const QString& caption, void (Tfrm_Main::*handler)(),
                               const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, name, handler] {
        SetLastAction(MainWindowName + QLatin1Char('.') + name);
        (this->*handler)();
    });
    addAction(action);
    return action;
}

void Tfrm_Main::createActions() {
    aBezar = makeAction(QStringLiteral("aBezar"), QStringLiteral("Bezár"), &Tfrm_Main::onBezar);
}

void Tfrm_Main::buildMenus() {
    QMenu* records = menuBar()->addMenu(QStringLiteral("Rekordok"));
    records->setObjectName(QStringLiteral("mnuRekordok"));
    records->addAction(aBezar);
}

QWidget* Tfrm_Main::buildTopBar() {
    auto* bar = Named(new QWidget, QStringLiteral("pTop"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    TabControl1 = new QTabBar;
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    for (const char* caption : {"Munkalapok", "Ügyfelek", "Naptár", "Készülék"})
        TabControl1->addTab(QString::fromUtf8(caption));
    connect(TabControl1, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < Panels->count())
            Panels->setCurrentIndex(index);
    });

    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setPlaceholderText(QStringLiteral("Keresés"));
    Edit1->setClearButtonEnabled(true);

    Label1 = new QLabel;
    Label1->setObjectName(QStringLiteral("Label1"));

    row->addWidget(TabControl1);
    row->addWidget(Edit1, 1);
    row->addWidget(Label1);
    return bar;
}

QTableView* Tfrm_Main::makeGrid(const QString& name, Query& query, std::vector<GridColumn> columns) {
    auto* grid = new QTableView;
    grid->setObjectName(name);
    auto* model = new DatasetModel(&query, grid);
    model->setColumns(std::move(columns));
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QWidget* Tfrm_Main::buildWorkSheetPanel() {
    Query& mlap = m_session.QryMLap;
    DBGrid2 =
        makeGrid(QStringLiteral("DBGrid2"), mlap,
                 WorkSheetColumns({"munkalapstr", "mlaptipus_nev", "datum", "ugyfel_nev", "irszvaroscim",
                                   "tipusstr", "hatidstr", "ar_teljes", "dolgozostr", "fizetve"}));
    DBGrid22 = makeGrid(QStringLiteral("DBGrid22"), mlap,
                        WorkSheetColumns({"munkalapstr", "datum", "statusz_nev", "ugyfel_nev", "tipusstr2",
                                          "kmora", "ar_teljes", "dolgozostr", "fizetve"}));
    DBGrid23 = makeGrid(QStringLiteral("DBGrid23"), mlap,
                        WorkSheetColumns({"munkalapstr", "datum", "mlaptipus_nev", "statusz_nev",
                                          "ugyfel_nev", "hatidstr", "ar_teljes", "dolgozostr", "fizetve"}));

    TabControl2 = new QTabBar;
    TabControl2->setObjectName(QStringLiteral("TabControl2"));
    TabControl2->setShape(QTabBar::RoundedSouth);
    for (const char* caption :
         {"Folyamatban", "Összes", "Beérkezett", "Megkezdve", "Készen van", "Számlázva", "Árajánlat"})
        TabControl2->addTab(QString::fromUtf8(caption));

    auto* list = new QWidget;
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    for (QTableView* grid : {DBGrid2, DBGrid22, DBGrid23})
        listLayout->addWidget(grid, 1);
    listLayout->addWidget(TabControl2);

    Panel7 = Named(new QWidget, QStringLiteral("Panel7"));
    DBGrid4 = makeGrid(QStringLiteral("DBGrid4"), m_session.QryDolg, {Column("dolgozo_nev", "Dolgozók")});
    (new QVBoxLayout(Panel7))->addWidget(DBGrid4);
    Panel7->layout()->setContentsMargins(0, 0, 0, 0);
    Panel7->hide();

    Panel11 = Named(new QWidget, QStringLiteral("Panel11"));
    DBGrid6 = makeGrid(QStringLiteral("DBGrid6"), m_session.QryTetel,
                       {Column("tetel_nev", "Tétel"), Column("megjegyzes", "Megjegyzés"),
                        Column("egyeb", "Gyári cikkszám"), Column("db", "Mennyiség"),
                        Column("ar_teljes", "Teljes ár"), Column("kedv_kap", "Kapott kedv.%"),
                        Column("beszar", "Besz.ár"), Column("kedv_ad", "Adott kedv.%"),
                        Column("egysar", "Egységár"), Column("osszar", "Össz ár")});
    (new QVBoxLayout(Panel11))->addWidget(DBGrid6);
    Panel11->layout()->setContentsMargins(0, 0, 0, 0);

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(list);
    top->addWidget(Panel7);
    top->setStretchFactor(0, 4);
    top->setStretchFactor(1, 1);

    auto* panel = new QSplitter(Qt::Vertical);
    panel->setObjectName(QStringLiteral("pMunkalap"));
    panel->addWidget(top);
    panel->addWidget(Panel11);
    panel->setStretchFactor(0, 2);
    panel->setStretchFactor(1, 1);
    return panel;
}

QWidget* Tfrm_Main::buildCustomerPanel() {
    DBGrid1 = makeGrid(QStringLiteral("DBGrid1"), m_session.QryU,
                       {Column("ugyfel_nev", "Ügyfél"), Column("kapcsolat", "Kapcsolat"),
                        Column("telefon", "Telefon"), Column("irszvaroscim", "Cím"), Column("emil", "E-mail"),
                        Column("dat_figyelmeztet", "Figyelmeztetés"), Column("maganszemely", "Magán?")});
    Panel16 = Named(new QWidget, QStringLiteral("Panel16"));
    DBGrid3 = makeGrid(QStringLiteral("DBGrid3"), m_session.QryKeszulek,
                       {Column("tipusstr"), Column("gysz"), Column("munkalapstr")});
    (new QVBoxLayout(Panel16))->addWidget(DBGrid3);
    Panel16->layout()->setContentsMargins(0, 0, 0, 0);

    auto* panel = new QSplitter(Qt::Vertical);
    panel->setObjectName(QStringLiteral("pUgyfel"));
    panel->addWidget(DBGrid1);
    panel->addWidget(Panel16);
    panel->setStretchFactor(0, 3);
    panel->setStretchFactor(1, 1);
    return panel;
}

QWidget* Tfrm_Main::buildPlannerPanel() {
    DBGrid7 = makeGrid(QStringLiteral("DBGrid7"), m_session.QryDolgozo, {Column("dolgozo_nev", "Dolgozó")});
    DBGrid8 = makeGrid(QStringLiteral("DBGrid8"), m_session.QryNaptar,
                       {Column("ora2"), Column("szoveg"), Column("munkalapstr"), Column("ugyfelstr"),
                        Column("keszulekstr")});
    DBGrid8->horizontalHeader()->hide();

    Panel17 = new QLabel;
    Panel17->setObjectName(QStringLiteral("Panel17"));
    DateTimePicker1 = new QDateEdit;
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));

    auto* day = new QWidget;
    auto* dayLayout = new QVBoxLayout(day);
    dayLayout->setContentsMargins(0, 0, 0, 0);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(Panel17, 1);
    dateRow->addWidget(DateTimePicker1);
    dayLayout->addLayout(dateRow);
    dayLayout->addWidget(DBGrid8, 1);

    auto* panel = new QSplitter(Qt::Horizontal);
    panel->setObjectName(QStringLiteral("pNaptar"));
    panel->addWidget(DBGrid7);
    panel->addWidget(day);
    panel->setStretchFactor(0, 1);
    panel->setStretchFactor(1, 3);
    return panel;
}

QWidget* Tfrm_Main::buildDevicePanel() {
    DBGrid5 = makeGrid(QStringLiteral("DBGrid5"), m_session.QryKesz,
                       {Column("gysz", "Gyárt.szám"), Column("ugyfel_nev", "Ügyfél"),
                        Column("evjarat", "Gyártás éve"), Column("tipusstr", "Gyártmány / Típus"),
                        Column("munkalapstr", "Utolsó munkalap"), Column("dat_muszaki", "Bevizsgálás"),
                        Column("keszulektipus_nev", "Típus")});
    DBGrid51 = makeGrid(QStringLiteral("DBGrid51"), m_session.QryElozmeny,
                        {Column("munkalapstr"), Column("mlaptipus_nev"), Column("datum", "Dátum"),
                         Column("dat_kesz", "Elkészült"), Column("ar_ossz", "Össz ár"),
                         Column("ar_kedvezmeny", "Kedvezmény"), Column("dolgozostr", "Dolgozók"),
                         Column("szlaszam", "Számlaszám"), Column("statusz_nev")});

    auto* panel = new QSplitter(Qt::Vertical);
    panel->setObjectName(QStringLiteral("pKeszulek"));
    panel->addWidget(DBGrid5);
    panel->addWidget(DBGrid51);
    panel->setStretchFactor(0, 2);
    panel->setStretchFactor(1, 1);
    return panel;
}

void Tfrm_Main::buildStatusBar() {
    StatusPanel0 = new QLabel;
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusPanel0);
}

// ---- Start-up and its effects on the window ------------------------------

void Tfrm_Main::startUp() {
    const StartupOutcome outcome = RunStartup(m_session);
    const TBeall& s = Beall();
    setGeometry(s.bal, s.felul, s.szeles, s.magas);
    m_startupFailed = outcome.failed;
    if (m_startupFailed) {
        Timer2.start();
        return;
    }
    showWorkingDate();
    setWindowTitle(outcome.caption);
    Label1->setText(outcome.label);
    chooseWorkSheetGrid(s.prgtipus);
    TabControl1->setCurrentIndex(TabMunkalap);
    Panels->setCurrentWidget(pMunkalap);
    showWorkSheetCounter();
    connect(&m_session.QryMLap, &Query::currentChanged, this, &Tfrm_Main::showWorkSheetCounter);
}

void Tfrm_Main::chooseWorkSheetGrid(int programType) {
    for (QTableView* grid : {DBGrid2, DBGrid22, DBGrid23}) {
        grid->hide();
        grid->setEnabled(false);
    }
    QTableView* shown = nullptr;
    switch (programType) {
    case 1:
    case 4:
        shown = DBGrid2;
        break;
    case 2:
        shown = DBGrid22;
        break;
    case 3:
    case 5:
        shown = DBGrid23;
        break;
    default:
        break;
    }
    if (shown) {
        shown->setEnabled(true);
        shown->show();
    }
}

QTableView* Tfrm_Main::workSheetGrid() const {
    for (QTableView* grid : {DBGrid2, DBGrid22, DBGrid23})
        if (grid->isEnabled())
            return grid;
    return nullptr;
}

void Tfrm_Main::showWorkingDate() {
    const QDate date = Beall().workDate;
    DateTimePicker1->setDate(date);
    Panel17->setText(QLocale(QLocale::Hungarian).toString(date, QStringLiteral("yyyy MMMM d. dddd")));
}

void Tfrm_Main::showWorkSheetCounter() {
    StatusPanel0->setText(RecordCounterText(m_session.QryMLap));
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
    QFont f = font();
    f.setPointSize(s.betumeret);
    setFont(f);
    for (QTableView* grid : {DBGrid1, DBGrid2, DBGrid22, DBGrid23, DBGrid3, DBGrid4, DBGrid5, DBGrid8})
        HighlightSortColumn(grid, 0);

    // The maker's messages panel and its timers come with the online
    // services.
    Tfrm_Logo::Splash();
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

// ---- Actions ------------------------------------------------------------------

void Tfrm_Main::onBezar() {
    close();
}

} // namespace kml
