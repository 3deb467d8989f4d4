#pragma once

// A main-window list as its search box drives it, for timing: the query of
// the session, a read-only grid over it (the shared list-grid set-up, the
// grid-query link and the main window's cell painter), shown offscreen. The
// fixed conditions, search fields, sort columns, grid columns and colours are
// the main window's own (the routes its subsystems register).
//
// Two ways of answering a keystroke are timed side by side:
//
// ListBench, the list as it was searched before the search tables
// ("before"):
//   ListCondition (the fixed condition + LikeFilter of the list's fields),
//   ReopenWithCondition (close, ReplaceWhere on the first WHERE line, open:
//     the statement runs and every row is read, the dataset model resets),
//   QuickLocate of the text in the sort column (the grid follows the row),
//   the grid laying out the new rows and painting them.
//
// StreamingListBench, the session's own list controller, as the main
// window's search box calls it ("after"): ListController::search (the
// condition through the list's search table on the WHERE line; the key
// search first, then the list's rows for those keys, streamed on a stream
// link while the event loop runs; the quick-locate tried on every batch),
//   first screen: the grid painted once it holds a screenful of rows (or the
//     whole result, when that is shorter);
//   complete: the controller's completed(), the status bar's counter text
//     and the grid painted again.

#include "components/DatasetModel.h"
#include "components/Query.h"
#include "patterns/ListController.h"
#include "patterns/MainRoutes.h"

#include <QString>
#include <functional>
#include <memory>
#include <set>
#include <vector>

class QTableView;

namespace kml {
class MainSession;
}

namespace kml::bench {

// The fixed conditions of the work-sheet status tabs used here.
extern const QString InProgressCondition; // "Folyamatban"
extern const QString AllSheetsCondition;  // "Összes"

struct ListBenchDefinition {
    QString name;
    MainTab tab = MainTab::WorkSheets;
    ListController* list = nullptr; // the session's controller of the tab
    Query* query = nullptr;         // its query
    QString fixedCondition;
    QString searchFields;
    QString sortField;
    QString keyField;
    std::vector<GridColumn> columns;
    RowColouring colouring;
};

// The work-sheet list of program type 1 (DBGrid2), the customer list
// (DBGrid1) and the device list (DBGrid5) over the session's QryMLap, QryU
// and QryKesz. A view name other than the standard one replaces the list's
// FROM (for trying a changed view).
ListBenchDefinition WorkSheetList(MainSession& session, const QString& viewName = {});
ListBenchDefinition CustomerList(MainSession& session, const QString& viewName = {});
ListBenchDefinition DeviceList(MainSession& session);

struct KeystrokeTimes {
    double firstMs = 0;  // the first screen of matching rows painted
    double totalMs = 0;  // complete: every row there, the counter right, the grid painted
    double openMs = 0;   // blocking: condition, close, ReplaceWhere, open (statement + rows + model reset)
    double locateMs = 0; // blocking: quick-locate and the grid following the row
    double gridMs = 0;   // blocking: the grid laying out and painting the new rows
    double maxStallMs =
        0; // streaming: the longest wait of the event loop between the first screen and complete
    int rows = 0;
};

// Something a search text can be typed into: a list of the components
// (ListBench, StreamingListBench) or the real main window (MainWindowBench).
class SearchTarget {
public:
    virtual ~SearchTarget() = default;
    // One keystroke leaving `text` in the search box, timed to completion.
    virtual KeystrokeTimes type(const QString& text) = 0;
    // The statement of the last search, as sent.
    virtual QString statement() const = 0;
};

// A grid over a list's query, shown offscreen as the window shows it.
class ListGrid {
public:
    explicit ListGrid(const ListBenchDefinition& definition);
    ~ListGrid();
    QTableView& view() const { return *m_view; }
    DatasetModel& model() const { return *m_model; }
    // The rows the viewport shows at once.
    int screenRows() const;
    // Lays out what changed and paints the viewport now.
    void paint() const;
    // Shown grids lay out and paint on every turn of the event loop: only the
    // one being timed is shown.
    void setVisible(bool visible) const;

private:
    std::unique_ptr<QTableView> m_view;
    DatasetModel* m_model = nullptr;
};

class ListBench final : public SearchTarget {
public:
    explicit ListBench(ListBenchDefinition definition);
    ~ListBench() override;

    const ListBenchDefinition& definition() const { return m_definition; }
    void setFixedCondition(const QString& condition) { m_definition.fixedCondition = condition; }

    KeystrokeTimes type(const QString& text) override;
    QString statement() const override { return m_definition.query->statement(); }

    QTableView& view() const { return m_grid.view(); }
    const ListGrid& grid() const { return m_grid; }
    Query& query() const { return *m_definition.query; }

private:
    ListBenchDefinition m_definition;
    ListGrid m_grid;
};

// What typing a word letter by letter faster than the searches finish costs.
struct BurstFigures {
    int keystrokes = 0;
    int completed = 0;           // statements whose rows all arrived (finished())
    int abandoned = 0;           // statements abandoned by the next keystroke
    int foreignRows = 0;         // rows shown that the text in the box at that moment does not find
    bool finalRowsRight = false; // the last text's rows, in the same order as a search of its own
    double lastToCompleteMs = 0; // from the last keystroke to its search complete
};

class StreamingListBench final : public SearchTarget {
public:
    explicit StreamingListBench(ListBenchDefinition definition);
    ~StreamingListBench() override;

    void setFixedCondition(const QString& condition) { m_definition.fixedCondition = condition; }
    const ListBenchDefinition& definition() const { return m_definition; }
    // Notes the event loop's longest wait while rows arrive (maxStallMs): a
    // timer due every two milliseconds, which costs a little itself.
    void setStallProbe(bool on) { m_stallProbe = on; }

    KeystrokeTimes type(const QString& text) override;
    // The statements of the last search as sent: the key search and the
    // list's statement for its keys (run again, blocking, to know them), or
    // the list's statement alone.
    QString statement() const override;

    // Types each text in turn, the next one intervalMs after the one before
    // (whether its search finished or not), and checks every batch of rows
    // shown against the keys a blocking search of the text in the box finds
    // (keysOf: the key field's values, in the list's order).
    BurstFigures typeQuickly(const QStringList& texts, int intervalMs,
                             const std::vector<QStringList>& keysOf);

    Query& query() const { return *m_definition.query; }
    const ListGrid& grid() const { return m_grid; }

private:
    void start(const QString& text);

    ListBenchDefinition m_definition;
    ListGrid m_grid;
    bool m_stallProbe = false;
};

// The statements a search of the list for text sends, as the mariadb client
// would run them: the key search and the list's statement for its keys (the
// key search run once more, blocking, to know them), or the list's statement
// alone.
QString SearchStatements(const ListController& list, const QString& text);

// The keys the list finds for a text, in its order (blocking, on the shared
// connection): the yardstick of the burst.
QStringList SearchKeys(const ListBenchDefinition& list, const QString& text);

// Reopening the work-sheet detail panels shown at start (the sheet's lines
// and its totals) for one sheet, as the main window does after every move of
// the work-sheet list; milliseconds.
double RefreshWorkSheetDetails(MainSession& session, int sheet);

// What a list's result costs in memory.
struct MemoryFigures {
    int rows = 0;
    int columns = 0;
    quint64 fieldBytes = 0;    // the values' own bytes
    quint64 protocolBytes = 0; // the rows as the protocol sends them: length prefixes + values
    quint64 packetBytes = 0;   // the same plus the 4-byte packet header of each row
    quint64 resultBytes = 0;   // ResultSet::memoryBytes()
    quint64 rssBefore = 0;     // the process before the list opened
    quint64 rssAfterOpen = 0;  // after the statement and the model reset
    quint64 rssAfterGrid = 0;  // after the grid painted
};

// Opens the list with an empty search box and measures it: blocking
// (streaming false) or through openAsync (streaming true).
MemoryFigures MeasureListMemory(Query& query, const ListGrid& grid, const QString& condition, bool streaming);

// Runs the event loop until done() (or the time is up: false).
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 600000);

} // namespace kml::bench
