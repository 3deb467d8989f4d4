#pragma once

// The slots grid: one painted widget for a day of half-hour slots, used by
// the planner (Tfrm_Naptar: a time column and one column per employee, free
// slots to pick) and by the main window's day panel (one employee's day, a
// current row moved by mouse and keys). Only the cells in sight are painted,
// so twenty employees by 48 slots scroll as smoothly as one.
//
// Geometry is in content coordinates, as the owner lays it out: rows begin at
// metrics().top and follow every metrics().pitch pixels; columns stand at their
// x with their width. The band above the first row (column headers) and the
// frozen columns (the times) stay in place while the rest scrolls. What a
// cell shows comes from the owner's cell source (worksheets/SlotCells.h),
// asked while painting, so the grid never holds a stale copy: call refresh()
// after the data changed.

#include "worksheets/SlotCells.h"

#include <QAbstractScrollArea>
#include <QRect>
#include <functional>
#include <vector>

namespace kml {

class SlotGrid final : public QAbstractScrollArea {
    Q_OBJECT
public:
    struct Column {
        int x = 0;
        int width = 0;
        QString header;      // drawn in the band above the rows
        bool frozen = false; // stays in place when the grid scrolls sideways
    };
    struct Metrics {
        int top = 0;    // the first row's y (and the header band's height)
        int pitch = 38; // rows' height
        int headerY = 4;
        int headerHeight = 21;
        int headerPointSize = 11; // bold
        int margin = 8;           // room after the last row and column
    };
    using CellSource = std::function<SlotCell(int row, int column, bool selected)>;

    explicit SlotGrid(QWidget* parent = nullptr);

    void setMetrics(const Metrics& metrics);
    const Metrics& metrics() const { return m_metrics; }
    void setColumns(std::vector<Column> columns);
    const std::vector<Column>& columns() const { return m_columns; }
    void setCellSource(CellSource source) { m_source = std::move(source); }
    void setRowCount(int rows);
    int rowCount() const { return m_rows; }
    // Repaints from the cell source and fits the scroll bars.
    void refresh();

    // The day panel's current row: painted selected, moved by a click and by
    // Up, Down, Page Up, Page Down, Home and End (currentRowChanged). -1: none.
    void setSelectable(bool on);
    int currentRow() const { return m_current; }
    void setCurrentRow(int row); // no signal
    // The rows' y in content coordinates and the cell's box (inset included).
    int rowTop(int row) const { return m_metrics.top + row * m_metrics.pitch; }
    QRect cellRect(int row, int column) const;
    QRect headerRect(int column) const;
    // A cell's box as it stands in the viewport now.
    QRect viewportRect(int row, int column) const;
    // The cell under a viewport point; row -1 when none.
    std::pair<int, int> cellAt(const QPoint& viewportPoint) const;
    void scrollToRow(int row);

    // The mouse wheel scrolls by a fifth of its turn.
    static int WheelStep(int angleDelta) { return angleDelta / 5; }

signals:
    void currentRowChanged(int row);
    // A pickable cell was clicked.
    void picked(int row, int column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int contentWidth() const;
    int contentHeight() const;
    int xOf(const Column& column) const;
    void paintCell(QPainter& painter, int row, int column);
    bool pickable(int row, int column) const;
    void setHovered(std::pair<int, int> cell);
    void moveCurrent(int row);
    void updateCell(std::pair<int, int> cell);

    Metrics m_metrics;
    std::vector<Column> m_columns;
    CellSource m_source;
    int m_rows = 0;
    bool m_selectable = false;
    int m_current = -1;
    std::pair<int, int> m_hovered{-1, -1};
    std::pair<int, int> m_pressed{-1, -1};
};

} // namespace kml
