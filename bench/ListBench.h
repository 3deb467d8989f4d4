#pragma once

// A main-window list as its search box drives it, for timing: the query of
// the session, a read-only grid over it (the shared list-grid set-up, the
// grid-query link and the main window's cell painter), shown offscreen. The
// fixed conditions, search fields, sort columns, grid columns and colours are
// the main window's own (the routes of its lists).
//
// One keystroke in the search box is, in order:
//   ListCondition (the fixed condition + LikeFilter of the list's fields),
//   ReopenWithCondition (close, ReplaceWhere on the first WHERE line, open:
//     the statement runs and the dataset model resets),
//   QuickLocate of the text in the sort column (the grid follows the row),
//   the grid laying out the new rows and painting them.

#include "components/DatasetModel.h"
#include "components/Query.h"
#include "patterns/ListDefinition.h"

#include <QString>

#include <memory>
#include <vector>

class QTableView;

namespace kml {
struct MainSession;
}

namespace kml::bench {

// The fixed conditions of the work-sheet status tabs used here.
extern const QString InProgressCondition; // "Folyamatban"
extern const QString AllSheetsCondition;  // "Összes"

struct ListBenchDefinition {
    QString name;
    Query* query = nullptr;
    QString fixedCondition;
    QString searchFields;
    QString sortField;
    std::vector<GridColumn> columns;
    RowColouring colouring;
};

// The work-sheet list of program type 1 (DBGrid2) and the customer list
// (DBGrid1) over the session's QryMLap and QryU. A view name other than the
// standard one replaces the list's FROM (for trying a changed view).
ListBenchDefinition WorkSheetList(MainSession& session, const QString& viewName = {});
ListBenchDefinition CustomerList(MainSession& session, const QString& viewName = {});

struct KeystrokeTimes {
    double totalMs = 0;
    double openMs = 0;   // building the condition, close, ReplaceWhere, open (statement + rows + model reset)
    double locateMs = 0; // quick-locate and the grid following the row
    double gridMs = 0;   // the grid laying out and painting the new rows
    int rows = 0;
};

// Something a search text can be typed into: a list of the components
// (ListBench) or the real main window (MainWindowBench).
class SearchTarget {
public:
    virtual ~SearchTarget() = default;
    // One keystroke leaving `text` in the search box.
    virtual KeystrokeTimes type(const QString& text) = 0;
    // The statement of the last search, as sent.
    virtual QString statement() const = 0;
};

class ListBench final : public SearchTarget {
public:
    explicit ListBench(ListBenchDefinition definition);
    ~ListBench() override;

    const ListBenchDefinition& definition() const { return m_definition; }
    void setFixedCondition(const QString& condition) { m_definition.fixedCondition = condition; }

    KeystrokeTimes type(const QString& text) override;
    QString statement() const override { return m_definition.query->statement(); }

    QTableView& view() const { return *m_view; }
    Query& query() const { return *m_definition.query; }

private:
    ListBenchDefinition m_definition;
    std::unique_ptr<QTableView> m_view;
    DatasetModel* m_model = nullptr;
};

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

// Opens the list with an empty search box and measures it.
MemoryFigures MeasureListMemory(ListBench& list);

} // namespace kml::bench
