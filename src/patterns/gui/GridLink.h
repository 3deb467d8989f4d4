#pragma once

// Grids over list queries: the pieces every grid of a list shares
// (ListGrid.h puts them together for a list's grid).
//
// QueryGridLink keeps a read-only grid and its query on the same row: a click
// or key in the grid moves the query, and a move of the query (open, locate,
// refresh) selects and shows that row in the grid. After every move it calls
// the moved callback.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QTableView;

namespace kml {

class Query;

// Sets the grid's columns to whole-pixel shares of its width: column i gets
// trunc(percents[i] / 100 * (grid width - reserve)). Columns beyond the
// list keep their width.
void ApplyColumnShares(QTableView* grid, const std::vector<int>& percents, int reserve);

// Keeps the grid's columns at whole-pixel shares of its width on every
// resize: with a reserve, of the grid's width less the reserve; without one,
// of the room inside the frame and the scroll bar. A share of 0 hides its
// column. Calling it again replaces the shares.
void KeepColumnShares(QTableView* grid, std::vector<int> percents, std::optional<int> reserve = std::nullopt);

// Sets the usual read-only list look: whole-row single selection, no editing,
// no row numbers, the last column not stretched.
void SetupListGrid(QTableView* grid);

class QueryGridLink final : public QObject {
    Q_OBJECT
public:
    // The grid must already show a DatasetModel over query.
    QueryGridLink(QTableView* grid, Query* query, QObject* parent = nullptr);

    void setMovedCallback(std::function<void()> moved) { m_moved = std::move(moved); }

private:
    void gridMoved(int row);
    void queryMoved(int row);

    QPointer<QTableView> m_grid;
    Query* m_query;
    std::function<void()> m_moved;
    bool m_syncing = false;
};

} // namespace kml
