#pragma once

// The main window: four full-size panels (work sheets, customers, day
// planner, devices) switched by TabControl1 under one search box, the status
// tabs TabControl2 under the work-sheet list, and the window's actions.
//
// The window owns the session (the shared connection and the list datasets,
// MainSession.h) for the whole run. Its creation runs the start-up steps
// (Startup.h); a failed start-up closes the window through Timer2 after
// 100 ms without writing the ini file. Widgets and actions carry their
// designed names as object names (Label1, Edit1, TabControl1, pMunkalap,
// DBGrid2, aBezar, ...); the window itself is "frm_Main".

#include "shell/MainSession.h"

#include <QMainWindow>
#include <QTimer>
#include <vector>

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace kml {

struct GridColumn;

class Tfrm_Main final : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfrm_Main(QWidget* parent = nullptr);
    ~Tfrm_Main() override;

    bool startupFailed() const { return m_startupFailed; }
    MainSession& session() { return m_session; }

    // Panels of TabControl1, in tab order.
    enum Tab { TabMunkalap = 0, TabUgyfel = 1, TabNaptar = 2, TabKeszulek = 3 };

    // The work-sheet grid of the program type (DBGrid2, DBGrid22 or
    // DBGrid23); null for a program type without one.
    QTableView* workSheetGrid() const;

    // Designed widgets and actions, named as the window's design names them.
    QLabel* Label1 = nullptr;         // "Koravel.ML: " + connection name
    QLineEdit* Edit1 = nullptr;       // the search box over all panels
    QTabBar* TabControl1 = nullptr;   // the four panels
    QStackedWidget* Panels = nullptr; // holds pMunkalap, pUgyfel, pNaptar, pKeszulek
    QWidget* pMunkalap = nullptr;
    QWidget* pUgyfel = nullptr;
    QWidget* pNaptar = nullptr;
    QWidget* pKeszulek = nullptr;

    // Work sheets: one of three grids by program type, status tabs, details.
    QTableView* DBGrid2 = nullptr;
    QTableView* DBGrid22 = nullptr;
    QTableView* DBGrid23 = nullptr;
    QTabBar* TabControl2 = nullptr;
    QWidget* Panel7 = nullptr; // the work sheet's employees (hidden at start)
    QTableView* DBGrid4 = nullptr;
    QWidget* Panel11 = nullptr; // the work sheet's lines and totals
    QTableView* DBGrid6 = nullptr;

    // Customers and their devices.
    QTableView* DBGrid1 = nullptr;
    QWidget* Panel16 = nullptr;
    QTableView* DBGrid3 = nullptr;

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

private:
    // ---- Building the window -------------------------------------------
    void createActions();
    void buildMenus();
    QWidget* buildTopBar();
    QWidget* buildWorkSheetPanel();
    QWidget* buildCustomerPanel();
    QWidget* buildPlannerPanel();
    QWidget* buildDevicePanel();
    void buildStatusBar();
    // A read-only grid over a dataset of the session.
    QTableView* makeGrid(const QString& name, Query& query, std::vector<GridColumn> columns);
    // An action of the window: every run first records "frm_Main." + its
    // name as the last action for the error log, then calls the handler.
    QAction* makeAction(const QString& name, const QString& caption, void (Tfrm_Main::*handler)(),
                        const QKeySequence& shortcut = {});

    // ---- Start-up and its effects on the window ------------------------
    void startUp();
    void chooseWorkSheetGrid(int programType);
    void showWorkingDate();
    void showWorkSheetCounter();
    void onShownFirstTime();

    // ---- Actions ---------------------------------------------------------
    void onBezar();

    MainSession m_session;
    bool m_startupFailed = false;
    bool m_shown = false;
};

} // namespace kml
