#pragma once

// The main window's lists on the screen: one MainList per tab binds the tab's
// query to its grid(s) with the shared list pieces (QueryGridLink,
// TitleClickSorter, ListSearch), and MainGridPainter draws a grid's rows with
// the colouring rules of MainLists.h.
//
//     auto* customers = new MainList(MainTab::Customers, session.QryU, this);
//     customers->addGrid(DBGrid1, true);
//     customers->setAfterSort([this] { Edit1->setFocus(); });
//     connect(customers, &MainList::moved, this, ...); // counter, detail lists
//     customers->search(Edit1->text());

#include "shell/MainLists.h"

#include <QObject>
#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

class QTableView;

namespace kml {

class DatasetModel;
class Query;
class TitleClickSorter;

class MainList final : public QObject {
    Q_OBJECT
public:
    MainList(MainTab tab, Query& query, QObject* parent = nullptr);

    MainTab tab() const { return m_tab; }
    Query& query() const { return m_query; }
    const QString& keyField() const { return m_def.keyField; }

    // A grid over the list's query (a DatasetModel over it): kept on the
    // query's row; with sortable, a title click sorts by the column.
    void addGrid(QTableView* grid, bool sortable);
    // The ORDER expression of a title click (the field itself by default).
    void setOrderExpression(std::function<QString(const QString& field)> expression);
    // Runs after every title click (the window focuses the search box).
    void setAfterSort(std::function<void()> afterSort);
    // The grid the user sees (the work sheets have three, one per program
    // type); it keeps the sort column when the shown grid changes.
    void setShownGrid(QTableView* grid);
    QTableView* shownGrid() const;

    void setFixedCondition(const QString& condition) { m_fixed = condition; }
    const QString& fixedCondition() const { return m_fixed; }
    // The quick-locate column: the sort column of the shown grid.
    QString sortField() const;
    // The WHERE condition for a search text: the fixed condition, then the
    // list's LIKE filter in its AND form; the fixed condition alone for "".
    QString condition(const QString& searchText) const;

    // Reopens the query for the search text and quick-locates it in the sort
    // column (a failed locate is ignored).
    void search(const QString& text);
    // Runs the query again keeping its row, or moving to key when given.
    void reread(const QVariant& key = {});
    void close();

    // The current row's key; 0 when there is none.
    qlonglong currentKey() const;
    // A field of the current row; invalid when there is no row.
    QVariant currentValue(const QString& field) const;

signals:
    // The query opened, closed or moved to another row.
    void moved();

private:
    TitleClickSorter* sorterOf(const QTableView* grid) const;

    MainTab m_tab;
    Query& m_query;
    MainListDef m_def;
    QString m_fixed;
    QPointer<QTableView> m_shown;
    std::vector<std::pair<QPointer<QTableView>, TitleClickSorter*>> m_grids;
    std::function<QString(const QString&)> m_expression;
    std::function<void()> m_afterSort;
};

// Draws the cells of a grid over a DatasetModel: the row colours of the
// grid's rule (selection and highlighted column as MainLists.h says) and the
// flag columns fizetve and maganszemely as pictures in a cleared cell.
class MainGridPainter final : public QStyledItemDelegate {
    Q_OBJECT
public:
    MainGridPainter(ColouredGrid grid, DatasetModel* model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    CellIcon iconAt(const QModelIndex& index) const;

    ColouredGrid m_grid;
    DatasetModel* m_model;
};

// The pictures of the flag columns (drawn once, 16 x 16).
QIcon CellIconPicture(CellIcon icon);

} // namespace kml
