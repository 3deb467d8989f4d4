#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <functional>
#include <vector>

namespace kml {

class Query;

// One grid column: the field it shows and how.
struct GridColumn {
    QString field;
    QString title;      // the field's display label when empty
    int widthShare = 0; // relative width; grids spread the window width by it
};

// How one row is painted, as a window's colouring rules decide.
struct RowStyle {
    QColor background; // invalid: the grid's own
    QColor foreground;
    bool bold = false;
    QIcon icon; // shown in the first column
};

// A read-only table model over a Query, reused by every grid. Cells are
// converted to text only when the view asks for them, so a grid over a very
// large result costs no more than the result itself. The model follows the
// query: opening or closing it resets the model, and the rows of a query
// opened with openAsync() are inserted batch by batch as they arrive.
class DatasetModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(Query* query, QObject* parent = nullptr);

    Query* query() const { return m_query; }
    // The columns to show; all visible fields of the query when none are set.
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return m_columns; }
    using RowStyler = std::function<RowStyle(const Query& query, int row)>;
    void setRowStyler(RowStyler styler);
    // The column painted with the highlight colour (the sort column); -1 none.
    void setHighlightColumn(int column);
    int highlightColumn() const { return m_highlight; }
    void setHighlightColor(const QColor& color) { m_highlightColor = color; }

    // The query's field index shown in a grid column (-1 when absent).
    int fieldIndexOf(int column) const;
    int columnOfField(const QString& field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rebuild();

    Query* m_query;
    std::vector<GridColumn> m_columns;
    std::vector<int> m_fieldIndex; // per grid column
    RowStyler m_styler;
    int m_highlight = -1;
    QColor m_highlightColor{0xFF, 0xFF, 0xB9};
    int m_rows = 0;
};

} // namespace kml
