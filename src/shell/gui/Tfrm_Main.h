#pragma once

// The main window: four full-size panels (work sheets, customers, day
// planner, devices) switched by TabControl1 under one search box, the status
// tabs TabControl2 under the work-sheet list, detail panels that follow the
// current row, and the window's table of actions in the menus, the tool bar
// and the grids' context menus.
//
// The window owns the session (the shared connection, the list datasets and
// the routes, MainSession.h) for the whole run. Its creation runs the
// start-up steps (Startup.h); a failed start-up closes the window through
// Timer2 after 100 ms without writing the ini file. The window only routes:
// the lists, their grids and what the record actions do come from the
// subsystems that own them (patterns/MainRoutes.h); the action table is
// MainActions.h. Widgets and actions carry their designed names as object
// names (Label1, Edit1, TabControl1, pMunkalap, DBGrid2, aBezar, ...); the
// window itself is "frm_Main".

#include "shell/MainSession.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <map>
#include <memory>
#include <optional>

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QTableView;
class QToolBar;

namespace kml {

class DayPlannerPanel;
class ListGrid;
class MakerChecks;
class MakerMessagePanel;
class MainActionSet;
class SlotGrid;
class SearchKeyHandover;
class WheelToArrowKeys;

class Tfrm_Main final : public QMainWindow, public MainContext {
    Q_OBJECT
public:
    explicit Tfrm_Main(QWidget* parent = nullptr);
    ~Tfrm_Main() override;

    bool startupFailed() const { return m_startupFailed; }
    MainSession& session() { return m_session; }

    // MainContext: what the actions see of the window.
    MainTab currentTab() const override;
    int statusTab() const override;
    ListController& list(MainTab tab) override { return m_session.list(tab); }
    ListController& detail(MainDetail detail) override { return m_session.detail(detail); }
    QObject* panel(MainTab tab) override;

    // The action of that name ("aUj", ...); throws for an unknown name.
    QAction* action(const QString& name) const;

    // The work-sheet grid of the program type (DBGrid2, DBGrid22 or
    // DBGrid23); null for a program type without one.
    QTableView* workSheetGrid() const;
    // The grid that arrow keys in the search box hand over to: the current
    // tab's list grid; null on the planner tab.
    QTableView* currentListGrid() const;

    // Loading the shop-wide settings: reads vw_beallit into the settings
    // record and adapts the window (device panel, tab and actions, column
    // labels, invoice action, program type's grids).
    void loadShopSettings();
    // The window's side of it alone, for settings already in the record.
    void applyShopSettings();

    // Counts again what falls due this week (the status bar's second panel):
    // at start-up, with "Frissít" and after the due window closes.
    void refreshDueCount();

    // While the week planner window is open the mouse wheel is left alone.
    void setPlannerOpen(bool open);

    // Designed widgets and actions, named as the window's design names them.
    QLabel* Label1 = nullptr;         // "Koravel.ML: " + connection name
    QLineEdit* Edit1 = nullptr;       // the search box over all panels
    QTabBar* TabControl1 = nullptr;   // the four panels
    QStackedWidget* Panels = nullptr; // holds pMunkalap, pUgyfel, pNaptar, pKeszulek
    QWidget* pMunkalap = nullptr;
    QWidget* pUgyfel = nullptr;
    QWidget* pNaptar = nullptr;
    QWidget* pKeszulek = nullptr;
    QToolBar* ToolBar1 = nullptr;

    // Work sheets: one of three grids by program type, status tabs, details.
    QTableView* DBGrid2 = nullptr;
    QTableView* DBGrid22 = nullptr;
    QTableView* DBGrid23 = nullptr;
    QTabBar* TabControl2 = nullptr;
    QWidget* Panel7 = nullptr; // the work sheet's employees (hidden at start)
    QLabel* Panel7Header = nullptr;
    QTableView* DBGrid4 = nullptr;
    QWidget* Panel11 = nullptr; // the work sheet's lines and totals
    QLabel* Panel11Header = nullptr;
    QTableView* DBGrid6 = nullptr;
    QWidget* PanelTotals = nullptr; // QryMLapSum's values, rogzitve, felhasznalo

    // Customers and their devices.
    QTableView* DBGrid1 = nullptr;
    QWidget* Panel16 = nullptr;
    QLabel* Panel16Header = nullptr; // the device word of the settings
    QTableView* DBGrid3 = nullptr;
    QSplitter* Splitter16 = nullptr; // customer list above, devices below

    // Day planner.
    QTableView* DBGrid7 = nullptr;       // employees
    DayPlannerPanel* DayPanel = nullptr; // the chosen employee's day:
    SlotGrid* DBGrid8 = nullptr;         // its slots
    QLabel* Panel17 = nullptr;           // the working date in words
    QDateEdit* DateTimePicker1 = nullptr;

    // Devices and the current device's history.
    QTableView* DBGrid5 = nullptr;
    QTableView* DBGrid51 = nullptr;

    QLabel* StatusPanel0 = nullptr;   // first status-bar panel: row count ": " current row
    QLabel* StatusPanelDue = nullptr; // what falls due this week ("Esedékes a héten: n (lejárt: m)")

    // The maker's message at the bottom (hidden without one), and the
    // version and news checks with their timers TimerVerzio and TimerHirek.
    MakerMessagePanel* pUzenet = nullptr;
    MakerChecks* makerChecks() const { return m_makerChecks.get(); }

    QAction* aBezar = nullptr;

    // Closes the window after a failed start-up (100 ms, enabled only then).
    QTimer Timer2;

signals:
    // The window has closed; the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- Building the window -------------------------------------------
    void registerOwnActions();
    void createActions();
    QWidget* buildTopBar();
    QWidget* buildWorkSheetPanel();
    QWidget* buildTotalsPanel();
    QWidget* buildCustomerPanel();
    QWidget* buildPlannerPanel();
    QWidget* buildDevicePanel();
    void buildStatusBar();
    void connectLists();
    // The grids of a routed list, created and bound to its controller.
    void makeGrids(const MainListRoute& route, ListController& list);
    QTableView* grid(const char* name) const;

    // ---- Start-up and settings ---------------------------------------------
    void startUp();
    void applyProgramType(int programType);
    void relabelDeviceFields();
    void showWorkingDate();
    void onShownFirstTime();
    void applyFontSize();
    void updateActionStates();

    // ---- Lists and their details ---------------------------------------------
    void switchTab(int index);
    void switchStatusTab(int index);
    void searchChanged(const QString& text);
    void showCounter();
    // A tab list's row moved: the details that follow it read the new row's.
    void listMoved(MainTab tab);
    void followRow(MainDetail detail, std::optional<qlonglong> key);
    void showSheetRecord();
    void showTotals(std::optional<qlonglong> workSheet);
    void showDeviceHistory(std::optional<qlonglong> device);
    void layOutPanels();
    void placeDevicePanel();
    void devicePanelMoved();

    // ---- The window's own actions -----------------------------------------
    void toggleEmployeesPanel();
    void toggleItemsPanel();
    void stepFontSize(int step);
    void editSettings();

    MainSession m_session;
    bool m_startupFailed = false;
    bool m_shown = false;

    MainActionSet* m_actions = nullptr;
    std::map<QString, ListGrid*> m_grids; // by object name
    SearchKeyHandover* m_keys = nullptr;
    WheelToArrowKeys* m_wheel = nullptr;
    QSplitter* m_workSheetSplit = nullptr; // work-sheet list above, items below

    // The keys the detail lists and the device history were last read for.
    std::array<std::optional<qlonglong>, MainDetailCount> m_detailKeys;
    std::optional<qlonglong> m_historyDevice;
    bool m_devicePanelPlaced = false;
    std::unique_ptr<MakerChecks> m_makerChecks;
};

} // namespace kml
