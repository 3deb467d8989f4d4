#include "patterns/gui/GridLink.h"

#include "components/Query.h"

#include <QEvent>
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

namespace {

class ColumnShareKeeper final : public QObject {
public:
    ColumnShareKeeper(QTableView* grid) : QObject(grid), m_grid(grid) {
        setObjectName(QStringLiteral("ColumnShareKeeper"));
        grid->installEventFilter(this);
        grid->viewport()->installEventFilter(this);
    }
    void setShares(std::vector<int> percents, std::optional<int> reserve) {
        m_shares = std::move(percents);
        m_reserve = reserve;
        fit();
    }
    void fit() {
        for (size_t c = 0; c < m_shares.size(); ++c)
            m_grid->setColumnHidden(int(c), m_shares[c] == 0);
        ApplyColumnShares(m_grid, m_shares,
                          m_reserve ? *m_reserve : m_grid->width() - m_grid->viewport()->width());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize &&
            (m_reserve ? watched == m_grid : watched == m_grid->viewport()))
            fit();
        return QObject::eventFilter(watched, event);
    }

private:
    QTableView* m_grid;
    std::vector<int> m_shares;
    std::optional<int> m_reserve;
};

} // namespace

void KeepColumnShares(QTableView* grid, std::vector<int> percents, std::optional<int> reserve) {
    auto* keeper =
        grid->findChild<ColumnShareKeeper*>(QStringLiteral("ColumnShareKeeper"), Qt::FindDirectChildrenOnly);
    if (!keeper)
        keeper = new ColumnShareKeeper(grid);
    keeper->setShares(std::move(percents), reserve);
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

} // namespace kml
