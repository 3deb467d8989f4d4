#pragma once

// The list-window pattern: every record list (customers, devices, types,
// lookup tables, items, dictionary, work-sheet types, letter texts, ...) is
// a ListWindow over a ListDefinition (patterns/ListDefinition.h), plus the
// window's own actions where it has any.
//
// What every list gets from here:
//   - a read-only grid (ListGrid over the list's ListController) whose
//     columns take the definition's percentages of the grid width less a
//     reserve, with the list's row colours;
//   - a search box above it: every change searches the list (its base
//     condition and filter) and quick-locates the text in the sort column;
//   - the keyboard hand-over between grid and search box and the wheel as
//     arrow keys (ListKeys.h); title-click sorting with the light-yellow
//     sort column;
//   - the status bar's first panel: RecordCounterText, "rows: current";
//   - the standard actions from the definition: "Frissítés" (F5), "Új"
//     (Insert), "Szerkeszt" (F2), "Töröl" (Ctrl+Del), "Kereső" (Ctrl+F) when
//     the definition has them, then the window's own actions, "Elfogad"
//     (Enter; chooser mode only) and "Bezár" (Esc); all on the tool bar and
//     in the grid's pop-up menu, each first recording "<window name>.<action
//     name>" for the error handler. An action that needs a row says
//     "Nincs sor kiválasztva." ("Elfogad": "Nincs kiválasztott sor.") on an
//     empty list and does nothing;
//   - double-click: "Elfogad" in chooser mode, otherwise "Szerkeszt";
//   - the definition's memo field in a read-only box under the grid,
//     following the current row;
//   - for master data (maintenanceNeedsRight), a chooser offers a user
//     without the master-data right no action that changes rows;
//   - position and size restored from and saved to the ini section named
//     after the window; font size Betumeret.
//
// An operation opens a list window like this:
//
//     ListWindow w(CustomerListDefinition());
//     const ChosenRow chosen = w.choose(select, chooser, caption);
//     return chosen.key;   // nothing when closed without a choice

#include "patterns/ListController.h"

#include <QDialog>
#include <QKeySequence>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QAction;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStatusBar;
class QTableView;
class QToolBar;
class QVBoxLayout;

namespace kml {

class DatasetModel;
class ListGrid;
class SearchKeyHandover;
class WheelToArrowKeys;

class ListWindow : public QDialog {
    Q_OBJECT
public:
    explicit ListWindow(ListDefinition definition, QWidget* parent = nullptr);
    ~ListWindow() override;

    const ListDefinition& definition() const { return m_list.definition(); }
    ListController& list() { return m_list; }
    const ListController& list() const { return m_list; }
    Query& query() const { return m_list.query(); }

    void setChooser(bool chooser);
    bool isChooser() const { return m_chooser; }
    void setBaseCondition(const QString& condition) { m_list.setFixedCondition(condition); }
    const QString& sortField() const { return m_list.sortField(); }

    // Opens the list with its base condition and moves to the row with the
    // key (the first row when there is none).
    void openAt(std::optional<qlonglong> key);
    // Opens at select (-1: none), runs the window modally with the caption,
    // in chooser mode when chooser, and returns the row "Elfogad" closed it on.
    ChosenRow choose(RowKey select, bool chooser, const QString& caption);

    DatasetModel* model() const;
    QTableView* grid() const { return m_grid; }
    QLineEdit* searchBox() const { return m_search; }
    QLabel* heading() const { return m_heading; }
    QLabel* counter() const { return m_counter; }
    QPlainTextEdit* memoBox() const { return m_memo; } // null without a memo field
    QToolBar* toolBar() const { return m_toolBar; }
    SearchKeyHandover* keys() const { return m_keys; }

    bool hasCurrentRow() const { return m_list.hasRow(); }
    std::optional<qlonglong> currentKey() const { return m_list.currentKey(); }
    QVariant currentValue(const QString& field) const { return m_list.currentValue(field); }

    // Re-reads the list; moves to key when given and found.
    void reread(std::optional<qlonglong> key = std::nullopt);
    // Runs the search for the search box's text again.
    void search();
    // Empties the search box and reopens with the base condition alone.
    void resetSearch();

    // A window action: on the tool bar and in the grid's pop-up menu (before
    // "Elfogad" and "Bezár"), with a shortcut for the whole window;
    // triggering it records the action and runs the handler.
    QAction* addListAction(const QString& name, const QString& caption, const QKeySequence& shortcut,
                           std::function<void()> handler);
    // An action on the current row: on an empty list it says "Nincs sor
    // kiválasztva." and the handler does not run.
    QAction* addRowAction(const QString& name, const QString& caption, const QKeySequence& shortcut,
                          std::function<void(qlonglong key)> handler);
    QAction* listAction(const QString& name) const;
    // Marks a window action as one that changes rows: hidden with "Új",
    // "Szerkeszt" and "Töröl" where the definition's maintenanceNeedsRight
    // says so.
    void markMaintenance(QAction* action);
    // Whether the row-changing actions are offered now.
    bool maintenanceAllowed() const;
    // Records "<window name>.<action name>" as the last action.
    void recordAction(const QString& actionName) const;

    void done(int result) override;

protected:
    // "Elfogad": whether the window may close with the current row (there
    // is one when this is asked).
    virtual bool canAccept() { return true; }
    // Double-click on a row.
    virtual void rowActivated();
    // After every move of the list (a window's picture panel follows it).
    virtual void rowChanged() {}

    // Room for a window's own widgets: under the grid, right of it.
    void addBelowGrid(QWidget* widget, int stretch = 0);
    void addBesideGrid(QWidget* widget, int stretch = 0);

    void showEvent(QShowEvent* event) override;

private:
    void addStandardActions();
    void updateCounter();
    void showMaintenance();

    ListController m_list;
    bool m_chooser = false;
    bool m_placed = false;
    ListGrid* m_listGrid = nullptr;
    QTableView* m_grid = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_heading = nullptr;
    QLabel* m_counter = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QToolBar* m_toolBar = nullptr;
    QVBoxLayout* m_below = nullptr;
    QHBoxLayout* m_body = nullptr;
    SearchKeyHandover* m_keys = nullptr;
    WheelToArrowKeys* m_wheel = nullptr;
    std::map<QString, QAction*> m_actions;
    std::vector<QAction*> m_maintenance;
};

} // namespace kml
