#pragma once

// The list-window pattern: every record list (customers, devices, types,
// lookup tables, items, dictionary, work-sheet types, letter texts, ...) is
// a ListWindow configured by a ListDefinition plus its own actions.
//
// What every list gets from here:
//   - a read-only grid (QTableView over a DatasetModel over one Query) whose
//     columns take the definition's percentages of the grid width less a reserve;
//   - a search box above it: every change reopens the query with the WHERE
//     line "WHERE " + searchCondition(text) (by default the base condition
//     followed by LikeFilter/WordsFilter of the search fields in its AND
//     form) and quick-locates the text in the sort column, a failed locate
//     being ignored (ListSearch.h);
//   - the keyboard hand-over between grid and search box and the wheel as
//     arrow keys (GuiListKeys.h); title-click sorting with the light-yellow
//     sort column (GuiGridLink.h);
//   - the status bar's first panel: RecordCounterText, "rows: current";
//   - the actions "Elfogad" (Enter; enabled and visible only in chooser
//     mode; closes with Accepted) and "Bezár" (Esc; closes with Rejected),
//     plus the window's own actions added with addListAction(), all on the
//     tool bar and in the grid's pop-up menu; each action first records
//     "<window name>.<action name>" for the error handler;
//   - double-click: "Elfogad" in chooser mode, otherwise the action
//     "aSzerkeszt" when the window has one;
//   - position and size restored from and saved to the ini section named
//     after the window (LoadFormBounds/SaveFormBounds); font size Betumeret.
//
// A list window is created, opened with openAt(key) and run with exec()
// by its operation (OpenCustomerList, ...), which reads the chosen row from
// currentKey()/currentValue() when exec() returned Accepted:
//
//     Tfrm_TorzsUgyfel w(parent);
//     w.setWindowTitle(caption);
//     w.setChooser(chooser);
//     w.openAt(select);
//     if (w.exec() == QDialog::Accepted) return w.currentKey().toInt();
//
// A window with a search of its own (the device types' three-word filter)
// overrides searchCondition(); one that does more before accepting (an
// empty-list message) overrides canAccept().

#include "components/DatasetModel.h"
#include "components/Query.h"
#include "patterns/ListSearch.h"

#include <QDialog>
#include <QKeySequence>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QStatusBar;
class QTableView;
class QToolBar;
class QVBoxLayout;

namespace kml {

class SearchKeyHandover;
class TitleClickSorter;
class WheelToArrowKeys;

struct ListDefinition {
    QString name;          // window name: ini section, prefix of the recorded actions
    QString caption;       // window caption
    QString heading;       // caption of the panel that holds the search box
    QString sql;           // the query's lines, joined by "\n"
    QString baseCondition; // fixed part of the WHERE line
    QString sortField;     // initial sort and quick-locate column
    QString searchFields;  // "f1;f2;..." for the search filter
    SearchKind searchKind = SearchKind::Like;
    QString keyField;                // the key returned by a chooser
    QString nameField;               // the name returned beside it
    std::vector<GridColumn> columns; // widthShare: percent of (grid width - widthReserve)
    int widthReserve = 40;
    bool titleClickSorts = true; // false: a title click only focuses the search box
    QSize size{720, 460};        // size before any was saved
};

class ListWindow : public QDialog {
    Q_OBJECT
public:
    explicit ListWindow(ListDefinition definition, QWidget* parent = nullptr);
    ~ListWindow() override;

    const ListDefinition& definition() const { return m_definition; }

    void setChooser(bool chooser);
    bool isChooser() const { return m_chooser; }
    void setBaseCondition(const QString& condition) { m_baseCondition = condition; }
    const QString& baseCondition() const { return m_baseCondition; }
    const QString& sortField() const;

    // Puts the base condition on the WHERE line, opens the query and moves
    // to the row with that key (no move when there is none).
    void openAt(const QVariant& key);

    Query& query() { return m_query; }
    const Query& query() const { return m_query; }
    DatasetModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    QLineEdit* searchBox() const { return m_search; }
    QLabel* heading() const { return m_heading; }
    QLabel* counter() const { return m_counter; }
    QToolBar* toolBar() const { return m_toolBar; }
    SearchKeyHandover* keys() const { return m_keys; }
    TitleClickSorter* sorter() const { return m_sorter; }

    bool hasCurrentRow() const { return m_query.isActive() && m_query.row() >= 0; }
    // The current row's key / a field of it; invalid when there is no row.
    QVariant currentKey() const;
    QVariant currentValue(const QString& field) const;

    // Re-reads the query; moves to key when given and found, otherwise stays
    // on the row it was on.
    void reread(const QVariant& key = {});
    // Runs the search for the search box's text again.
    void search();
    // Empties the search box and reopens with the base condition alone.
    void resetSearch();

    // A window action: on the tool bar and in the grid's pop-up menu, with a
    // shortcut for the whole window; triggering it records the action and
    // runs the handler.
    QAction* addListAction(const QString& name, const QString& caption, const QKeySequence& shortcut,
                           std::function<void()> handler);
    QAction* listAction(const QString& name) const;
    // Records "<window name>.<action name>" as the last action.
    void recordAction(const QString& actionName) const;

    void done(int result) override;

protected:
    // The condition of the WHERE line for a search text.
    virtual QString searchCondition(const QString& text) const;
    // "Elfogad": whether the window may close with the current row.
    virtual bool canAccept() { return true; }
    // Double-click on a row.
    virtual void rowActivated();

    // Room for a window's own widgets: under the grid, right of it.
    void addBelowGrid(QWidget* widget, int stretch = 0);
    void addBesideGrid(QWidget* widget, int stretch = 0);

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateCounter();
    std::vector<int> columnShares() const;

    ListDefinition m_definition;
    QString m_baseCondition;
    bool m_chooser = false;
    bool m_placed = false;
    Query m_query;
    DatasetModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_heading = nullptr;
    QLabel* m_counter = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QToolBar* m_toolBar = nullptr;
    QVBoxLayout* m_below = nullptr;
    QHBoxLayout* m_body = nullptr;
    SearchKeyHandover* m_keys = nullptr;
    TitleClickSorter* m_sorter = nullptr;
    WheelToArrowKeys* m_wheel = nullptr;
    std::map<QString, QAction*> m_actions;
};

} // namespace kml
