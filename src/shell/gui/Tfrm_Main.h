#pragma once

// The main window: four full-size panels (work sheets, customers, day
// planner, devices) switched by TabControl1 under one search box, the status
// tabs TabControl2 under the work-sheet list, detail panels that follow the
// current row, and the window's table of actions in the menus, the tool bar
// and the grids' context menus.
//
// The window owns the session (the shared connection and the list datasets,
// MainSession.h) for the whole run. Its creation runs the start-up steps
// (Startup.h); a failed start-up closes the window through Timer2 after
// 100 ms without writing the ini file. The window routes: each tab's list
// behaviour lives in a MainList (GuiMainLists.h), what the lists compute in
// MainLists.h, the actions' table in MainActions.h, and what the record
// actions do with the data in MainFlows.h. Widgets and actions carry their
// designed names as object names (Label1, Edit1, TabControl1, pMunkalap,
// DBGrid2, aBezar, ...); the window itself is "frm_Main".

#include "shell/MainLists.h"
#include "shell/MainSession.h"

#include <QMainWindow>
#include <QTimer>
#include <vector>

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

struct GridColumn;
class MainActionSet;
class MainList;
class SearchKeyHandover;
class WheelToArrowKeys;

class Tfrm_Main final : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfrm_Main(QWidget* parent = nullptr);
    ~Tfrm_Main() override;

    bool startupFailed() const { return m_startupFailed; }
    MainSession& session() { return m_session; }

    // Panels of TabControl1, in tab order.
    enum Tab { TabMunkalap = 0, TabUgyfel = 1, TabNaptar = 2, TabKeszulek = 3 };

    MainTab currentTab() const;
    // The list of a tab (its query, fixed condition, sort column, grids).
    MainList& list(MainTab tab) const;
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
    QTableView* DBGrid7 = nullptr; // employees
    QTableView* DBGrid8 = nullptr; // slots
    QLabel* Panel17 = nullptr;     // the working date in words
    QDateEdit* DateTimePicker1 = nullptr;

    // Devices and the current device's history.
    QTableView* DBGrid5 = nullptr;
    QTableView* DBGrid51 = nullptr;

    QLabel* StatusPanel0 = nullptr; // first status-bar panel: row count ": " current row

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
    void createActions();
    QWidget* buildTopBar();
    QWidget* buildWorkSheetPanel();
    QWidget* buildTotalsPanel();
    QWidget* buildCustomerPanel();
    QWidget* buildPlannerPanel();
    QWidget* buildDevicePanel();
    void buildStatusBar();
    void createLists();
    // A read-only grid over a dataset of the session; columns' widthShare
    // are percents of the grid's width, kept on every resize.
    QTableView* makeGrid(const QString& name, Query& query, std::vector<GridColumn> columns);
    void colourGrid(QTableView* grid, ColouredGrid rule);
    void fitColumns(QTableView* grid, const std::vector<int>& shares);

    // ---- Start-up and settings ---------------------------------------------
    void startUp();
    void chooseWorkSheetGrid(int programType);
    void showItemColumns(int programType);
    void relabelDeviceFields();
    void showWorkingDate();
    void onShownFirstTime();
    void applyFontSize();
    void updateActionStates();

    // ---- Lists and their details ---------------------------------------------
    MainList& currentList() const;
    void switchTab(int index);
    void switchStatusTab(int index);
    void searchChanged(const QString& text);
    void showCounter();
    void workSheetMoved();
    void customerMoved();
    void deviceMoved();
    void reloadWorkSheetDetails(qlonglong workSheet);
    void showTotals();
    void layOutPanels();
    void placeDevicePanel();
    void devicePanelMoved();

    // ---- Actions -------------------------------------------------------------
    void onUj();
    void onSzerkeszt();
    void onTorol();
    void onUgyfelAdatlap();
    void onFrissit();
    void onTorolKeszulek();
    void onMLapDolgozo();
    void onMLapTetel();
    void onFontStep(int step);
    void onBeallit();
    void onNevjegy();

    MainSession m_session;
    bool m_startupFailed = false;
    bool m_shown = false;

    MainActionSet* m_actions = nullptr;
    MainList* m_workSheets = nullptr;
    MainList* m_customers = nullptr;
    MainList* m_planner = nullptr;
    MainList* m_devices = nullptr;
    SearchKeyHandover* m_keys = nullptr;
    WheelToArrowKeys* m_wheel = nullptr;
    QSplitter* m_workSheetSplit = nullptr; // work-sheet list above, items below

    // The keys the detail lists were last read for (-1: none).
    qlonglong m_detailWorkSheet = -1;
    qlonglong m_detailCustomer = -1;
    qlonglong m_detailDevice = -1;
    bool m_devicePanelPlaced = false;

    std::vector<std::pair<QTableView*, std::vector<int>>> m_columnShares;
};

} // namespace kml
