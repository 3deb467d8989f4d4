#pragma once

#include "patterns/ListDefinition.h"

#include <QIcon>
#include <QStyledItemDelegate>

namespace kml {

class DatasetModel;

// Draws the cells of a grid over a DatasetModel with a list's row colouring:
// the row colours where the reach lets them into the highlighted (sort)
// column, and the flag columns as pictures in a cleared cell.
class GridPainter final : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridPainter(RowColouring colouring, DatasetModel* model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    CellIcon iconAt(const QModelIndex& index) const;

    RowColouring m_colouring;
    DatasetModel* m_model;
};

// The pictures of the flag columns, 16 x 16.
QIcon CellIconPicture(CellIcon icon);

} // namespace kml
