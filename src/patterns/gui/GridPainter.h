#pragma once

#include "patterns/ListDefinition.h"

#include <QCache>
#include <QFont>
#include <QIcon>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <vector>

namespace kml {

class DatasetModel;

// Draws the cells of a grid over a DatasetModel with a list's row colouring:
// the row colours where the reach lets them into the highlighted (sort)
// column, and the flag columns as pictures in a cleared cell.
class GridPainter final : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridPainter(RowColouring colouring, DatasetModel* model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    // One line of a cell's text as it is drawn at a given width: elided when
    // it does not fit, laid out once and kept for the next paints (a grid
    // paints the same screen again whenever rows arrive or the selection
    // moves).
    struct PreparedLine {
        QStaticText text;
        int width = 0;
    };

    CellIcon iconAt(const QModelIndex& index) const;
    void drawTextCell(QPainter* painter, const QStyleOptionViewItem& cell, const QStyle* style) const;
    const PreparedLine& preparedLine(const QStyleOptionViewItem& cell, int areaWidth) const;

    RowColouring m_colouring;
    DatasetModel* m_model;
    mutable QCache<QString, PreparedLine> m_lines{1500}; // about three screens of cells
    mutable std::vector<QFont> m_lineFonts;              // the fonts m_lines were laid out in, by number
};

// The pictures of the flag columns, 16 x 16.
QIcon CellIconPicture(CellIcon icon);

} // namespace kml
