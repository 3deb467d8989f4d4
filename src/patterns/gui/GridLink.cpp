#include "patterns/gui/GridLink.h"

#include "components/DatasetModel.h"
#include "components/Query.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/ListSearch.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>

namespace kml {

void ApplyColumnShares(QTableView* grid, const std::vector<int>& percents, int reserve) {
    const int available = grid->width() - reserve;
    for (size_t i = 0; i < percents.size(); ++i)
        grid->setColumnWidth(int(i), std::max(0, int(double(percents[i]) * available / 100.0)));
}

void SetupListGrid(QTableView* grid) {
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setSortingEnabled(false);
}

QueryGridLink::QueryGridLink(QTableView* grid, Query* query, QObject* parent)
    : QObject(parent), m_grid(grid), m_query(query) {
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    gridMoved(current.row());
            });
    connect(query, &Query::currentChanged, this, &QueryGridLink::queryMoved);
    connect(query, &Query::closed, this, [this] {
        if (m_moved)
            m_moved();
    });
}

void QueryGridLink::gridMoved(int row) {
    if (m_syncing)
        return;
    m_syncing = true;
    if (row != m_query->row())
        m_query->moveTo(row);
    m_syncing = false;
    if (m_moved)
        m_moved();
}

void QueryGridLink::queryMoved(int row) {
    if (m_grid && !m_syncing) {
        m_syncing = true;
        QAbstractItemModel* model = m_grid->model();
        if (row >= 0 && row < model->rowCount()) {
            const int column = std::max(0, m_grid->currentIndex().column());
            const QModelIndex index = model->index(row, std::min(column, model->columnCount() - 1));
            m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
            m_grid->scrollTo(index);
        } else {
            m_grid->selectionModel()->clear();
        }
        m_syncing = false;
    }
    if (m_moved)
        m_moved();
}

TitleClickSorter::TitleClickSorter(QTableView* grid, DatasetModel* model, Query* query, QObject* parent)
    : QObject(parent), m_grid(grid), m_model(model), m_query(query) {
    grid->horizontalHeader()->setSectionsClickable(true);
    connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TitleClickSorter::titleClicked);
    // The model forgets nothing on reopening, but the column of a field can
    // change when the columns are set after the sort field.
    connect(model, &QAbstractItemModel::modelReset, this, &TitleClickSorter::paint);
}

void TitleClickSorter::setOrderExpression(std::function<QString(const QString&)> expression) {
    m_expression = std::move(expression);
}

void TitleClickSorter::setSortField(const QString& field) {
    m_sortField = field;
    paint();
}

void TitleClickSorter::paint() {
    if (m_grid)
        HighlightSortColumn(m_grid, m_sortField.isEmpty() ? -1 : m_model->columnOfField(m_sortField));
}

void TitleClickSorter::sortBy(const QString& field) {
    if (m_sorting && !field.isEmpty()) {
        m_sortField = field;
        ReopenWithOrder(*m_query, m_expression ? m_expression(field) : field);
        paint();
    }
    if (m_afterSort)
        m_afterSort();
}

void TitleClickSorter::titleClicked(int column) {
    const int field = m_model->fieldIndexOf(column);
    QString name;
    if (field >= 0)
        name = m_query->field(field).name;
    else if (column >= 0 && column < int(m_model->columns().size()))
        name = m_model->columns()[size_t(column)].field;
    sortBy(name);
}

} // namespace kml
