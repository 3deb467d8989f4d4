#include "patterns/gui/ListGrid.h"

#include "components/DatasetModel.h"
#include "components/Query.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/ListController.h"
#include "patterns/gui/GridLink.h"
#include "patterns/gui/GridPainter.h"

#include <QHeaderView>
#include <QTableView>

namespace kml {

ListGrid::ListGrid(QTableView* grid, ListController& list, std::vector<GridColumn> columns,
                   RowColouring colouring, QObject* parent)
    : QObject(parent), m_grid(grid), m_list(list) {
    std::vector<int> shares;
    for (const GridColumn& column : columns)
        shares.push_back(column.widthShare);
    m_model = new DatasetModel(&list.query(), grid);
    m_model->setColumns(std::move(columns));
    grid->setModel(m_model);
    SetupListGrid(grid);
    if (colouring)
        grid->setItemDelegate(new GridPainter(std::move(colouring), m_model, grid));
    m_link = new QueryGridLink(grid, &list.query(), this);
    connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &ListGrid::titleClicked);
    // The column of a field can change when the query reopens.
    connect(m_model, &QAbstractItemModel::modelReset, this, &ListGrid::paintSortColumn);
    connect(&list, &ListController::sortChanged, this, &ListGrid::paintSortColumn);
    KeepColumnShares(grid, std::move(shares));
    paintSortColumn();
}

void ListGrid::setMovedCallback(std::function<void()> moved) {
    m_link->setMovedCallback(std::move(moved));
}

void ListGrid::setShares(std::vector<int> percents, std::optional<int> reserve) {
    if (m_grid)
        KeepColumnShares(m_grid, std::move(percents), reserve);
}

void ListGrid::paintSortColumn() {
    if (!m_grid)
        return;
    const QString& field = m_list.sortField();
    HighlightSortColumn(m_grid, field.isEmpty() ? -1 : m_model->columnOfField(field));
}

void ListGrid::titleClicked(int column) {
    if (m_sortable && column >= 0 && column < int(m_model->columns().size())) {
        const int field = m_model->fieldIndexOf(column);
        m_list.sortBy(field >= 0 ? m_list.query().field(field).name
                                 : m_model->columns()[size_t(column)].field);
    }
    if (m_afterSort)
        m_afterSort();
}

DatasetModel* BindQueryGrid(QTableView* grid, Query& query, std::vector<GridColumn> columns,
                            RowColouring colouring) {
    auto* model = new DatasetModel(&query, grid);
    model->setColumns(std::move(columns));
    grid->setModel(model);
    SetupListGrid(grid);
    if (colouring)
        grid->setItemDelegate(new GridPainter(std::move(colouring), model, grid));
    new QueryGridLink(grid, &query, grid);
    grid->horizontalHeader()->setSectionsClickable(false);
    std::vector<int> shares;
    for (const GridColumn& column : model->columns())
        shares.push_back(column.widthShare);
    KeepColumnShares(grid, std::move(shares));
    return model;
}

} // namespace kml
