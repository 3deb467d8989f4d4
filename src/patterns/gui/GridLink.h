#pragma once

// Grids over list queries: the pieces that the list windows (ListWindow)
// and the main window's lists share.
//
// QueryGridLink keeps a read-only grid and its query on the same row: a click
// or key in the grid moves the query, and a move of the query (open, locate,
// refresh) selects and shows that row in the grid. After every move it calls
// the moved callback (the status bar's "rows: current" text, detail lists).
//
// TitleClickSorter makes a click on a column title sort the list by that
// column: it closes the query, rewrites the ORDER line with the column's
// order expression, reopens it, paints the column with the highlight colour
// (#FFFFB9) and runs the after-sort callback (the list windows put the focus
// back into the search box). The sorted column is the list's sort column, the
// one the search quick-locates in. The main window's work-sheet grids give
// their own order expression ("munkalap DESC" for the number column, the
// field + ",munkalap" for the others):
//
//     auto* sorter = new TitleClickSorter(DBGrid2, QryMLap, this);
//     sorter->setOrderExpression([](const QString& f) { return f == "munkalapstr" ? ... : f + ",munkalap";
//     }); sorter->setAfterSort([this] { Edit1->setFocus(); });
//
// With sorting switched off (setSorting(false)) a title click only runs the
// after-sort callback, as in the dictionary-like lists.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class QTableView;

namespace kml {

class DatasetModel;
class Query;

// Sets the grid's columns to whole-pixel shares of its width: column i gets
// trunc(percents[i] / 100 * (viewport width - reserve)). Columns beyond the
// list keep their width.
void ApplyColumnShares(QTableView* grid, const std::vector<int>& percents, int reserve);

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

class TitleClickSorter final : public QObject {
    Q_OBJECT
public:
    // The grid must already show model, a DatasetModel over query.
    TitleClickSorter(QTableView* grid, DatasetModel* model, Query* query, QObject* parent = nullptr);

    // The ORDER BY expression for a column's field; the field itself by default.
    void setOrderExpression(std::function<QString(const QString& field)> expression);
    void setAfterSort(std::function<void()> afterSort) { m_afterSort = std::move(afterSort); }
    void setSorting(bool on) { m_sorting = on; }

    // The sort column's field (the quick-locate column).
    const QString& sortField() const { return m_sortField; }
    // Makes field the sort column and paints it, without touching the query
    // (the list's initial sort, already in its SQL).
    void setSortField(const QString& field);
    // What a title click on the column of field does.
    void sortBy(const QString& field);

private:
    void titleClicked(int column);
    void paint();

    QPointer<QTableView> m_grid;
    DatasetModel* m_model;
    Query* m_query;
    std::function<QString(const QString&)> m_expression;
    std::function<void()> m_afterSort;
    QString m_sortField;
    bool m_sorting = true;
};

} // namespace kml
