#pragma once

// A read-only grid showing a list (ListController): a DatasetModel over the
// list's query with the grid's columns, the grid kept on the query's row, the
// list's row colours, a title click that sorts the list by the column (or
// only runs the after-sort callback where the list does not sort), the sort
// column painted light yellow (#FFFFB9) in every grid of the list, and the
// column widths kept at their shares of the grid's width on every resize.
//
//     auto* grid = new ListGrid(DBGrid1, customers, definition.columns, definition.colouring, this);
//     grid->setAfterSort([this] { Edit1->setFocus(); });
//
// The grid of a plain dataset (a detail without a list) uses BindQueryGrid.

#include "patterns/ListDefinition.h"

#include <QObject>
#include <QPointer>
#include <QTableView>
#include <functional>
#include <optional>
#include <vector>

namespace kml {

class DatasetModel;
class ListController;

class ListGrid final : public QObject {
    Q_OBJECT
public:
    ListGrid(QTableView* grid, ListController& list, std::vector<GridColumn> columns, RowColouring colouring,
             QObject* parent = nullptr);

    QTableView* view() const { return m_grid; }
    DatasetModel* model() const { return m_model; }
    ListController& list() const { return m_list; }

    void setSortable(bool on) { m_sortable = on; }
    void setAfterSort(std::function<void()> afterSort) { m_afterSort = std::move(afterSort); }
    void setMovedCallback(std::function<void()> moved);
    // The width shares of the columns (percent; 0 hides the column). With a
    // reserve, the shares divide the grid's width less the reserve; without
    // one, the room inside the frame and the scroll bar.
    void setShares(std::vector<int> percents, std::optional<int> reserve = std::nullopt);
    // Paints the list's sort column (after the columns or the list changed).
    void paintSortColumn();

private:
    void titleClicked(int column);

    QPointer<QTableView> m_grid;
    ListController& m_list;
    DatasetModel* m_model;
    std::function<void()> m_afterSort;
    bool m_sortable = true;
    class QueryGridLink* m_link;
};

// A read-only grid over a plain dataset: the model with the columns, the
// grid kept on the query's row, titles that do not sort, the columns kept at
// their shares of the grid's width. The model is returned (owned by the
// grid).
DatasetModel* BindQueryGrid(QTableView* grid, class Query& query, std::vector<GridColumn> columns,
                            RowColouring colouring = {});

} // namespace kml
