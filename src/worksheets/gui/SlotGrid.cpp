#include "worksheets/gui/SlotGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace kml {
namespace {

QFont FontFor(const QFont& base, int pointSize, bool bold) {
    QFont font = base;
    if (pointSize > 0)
        font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

SlotGrid::SlotGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::NoFocus);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void SlotGrid::setMetrics(const Metrics& metrics) {
    m_metrics = metrics;
    refresh();
}

void SlotGrid::setColumns(std::vector<Column> columns) {
    m_columns = std::move(columns);
    refresh();
}

void SlotGrid::setRowCount(int rows) {
    m_rows = std::max(rows, 0);
    if (m_current >= m_rows)
        m_current = m_rows - 1;
    m_hovered = m_pressed = {-1, -1};
    refresh();
}

void SlotGrid::refresh() {
    const QSize view = viewport()->size();
    verticalScrollBar()->setRange(0, std::max(0, contentHeight() - view.height()));
    verticalScrollBar()->setPageStep(std::max(1, view.height() - m_metrics.top));
    verticalScrollBar()->setSingleStep(std::max(1, m_metrics.pitch / 2));
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth() - view.width()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    horizontalScrollBar()->setSingleStep(20);
    viewport()->update();
}

void SlotGrid::setSelectable(bool on) {
    m_selectable = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    viewport()->update();
}

void SlotGrid::setCurrentRow(int row) {
    const int current = row >= 0 && row < m_rows ? row : -1;
    if (current == m_current)
        return;
    m_current = current;
    if (current >= 0)
        scrollToRow(current);
    viewport()->update();
}

int SlotGrid::contentWidth() const {
    int right = 0;
    for (const Column& column : m_columns)
        right = std::max(right, column.x + column.width);
    return right + m_metrics.margin;
}

int SlotGrid::contentHeight() const {
    return m_metrics.top + m_rows * m_metrics.pitch + m_metrics.margin;
}

int SlotGrid::xOf(const Column& column) const {
    return column.frozen ? column.x : column.x - horizontalScrollBar()->value();
}

QRect SlotGrid::cellRect(int row, int column) const {
    const Column& c = m_columns.at(size_t(column));
    const int inset = m_source ? m_source(row, column, false).inset : 0;
    return QRect(c.x, rowTop(row) + inset, c.width, m_metrics.pitch - 2 * inset);
}

QRect SlotGrid::headerRect(int column) const {
    const Column& c = m_columns.at(size_t(column));
    return QRect(c.x, m_metrics.headerY, c.width, m_metrics.headerHeight);
}

QRect SlotGrid::viewportRect(int row, int column) const {
    QRect r = cellRect(row, column);
    r.moveLeft(xOf(m_columns.at(size_t(column))));
    r.translate(0, -verticalScrollBar()->value());
    return r;
}

std::pair<int, int> SlotGrid::cellAt(const QPoint& at) const {
    if (at.y() < m_metrics.top || m_rows == 0)
        return {-1, -1};
    const int row = (at.y() + verticalScrollBar()->value() - m_metrics.top) / m_metrics.pitch;
    if (row < 0 || row >= m_rows)
        return {-1, -1};
    // Frozen columns lie over the others.
    for (int pass = 0; pass < 2; ++pass)
        for (size_t c = 0; c < m_columns.size(); ++c) {
            if (m_columns[c].frozen != (pass == 0))
                continue;
            if (viewportRect(row, int(c)).contains(at))
                return {row, int(c)};
        }
    return {-1, -1};
}

void SlotGrid::scrollToRow(int row) {
    const int top = rowTop(row) - m_metrics.top;
    QScrollBar* bar = verticalScrollBar();
    const int visible = viewport()->height() - m_metrics.top;
    if (top < bar->value())
        bar->setValue(top);
    else if (top + m_metrics.pitch > bar->value() + visible)
        bar->setValue(top + m_metrics.pitch - visible);
}

bool SlotGrid::pickable(int row, int column) const {
    return row >= 0 && column >= 0 && m_source && m_source(row, column, false).pickable;
}

void SlotGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int scroll = verticalScrollBar()->value();
    const int height = viewport()->height();
    const int first = std::max(0, (scroll) / std::max(1, m_metrics.pitch));
    const int last = std::min(m_rows - 1, (scroll + height) / std::max(1, m_metrics.pitch));

    // The rows, scrolled, below the header band; the frozen columns over them.
    painter.save();
    painter.setClipRect(QRect(0, m_metrics.top, viewport()->width(), height - m_metrics.top));
    for (int pass = 0; pass < 2; ++pass) {
        const bool frozen = pass == 1;
        if (frozen)
            for (const Column& column : m_columns)
                if (column.frozen)
                    painter.fillRect(QRect(column.x, m_metrics.top, column.width, height), palette().base());
        for (int row = first; row <= last; ++row)
            for (size_t c = 0; c < m_columns.size(); ++c)
                if (m_columns[c].frozen == frozen)
                    paintCell(painter, row, int(c));
    }
    painter.restore();

    // The header band stays on top.
    if (m_metrics.top > 0) {
        painter.fillRect(QRect(0, 0, viewport()->width(), m_metrics.top), palette().base());
        painter.setFont(FontFor(font(), m_metrics.headerPointSize, true));
        painter.setPen(palette().color(QPalette::Text));
        for (const Column& column : m_columns)
            if (!column.header.isEmpty())
                painter.drawText(QRect(xOf(column), m_metrics.headerY, column.width, m_metrics.headerHeight),
                                 Qt::AlignCenter | Qt::TextSingleLine, column.header);
    }
}

void SlotGrid::paintCell(QPainter& painter, int row, int column) {
    if (!m_source)
        return;
    const bool selected = m_selectable && row == m_current;
    const SlotCell cell = m_source(row, column, selected);
    const QRect box = viewportRect(row, column);
    const bool pressed = cell.pickable && m_pressed == std::pair(row, column);
    const bool hovered = cell.pickable && m_hovered == std::pair(row, column);

    QColor back = cell.background;
    if (pressed)
        back = PlannerFreePressed;
    else if (hovered)
        back = PlannerFreeHover;
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    if (back.isValid())
        painter.fillRect(box, back);
    if (cell.topRule) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawLine(box.topLeft(), box.topRight());
    }
    const QPoint shift = pressed ? QPoint(2, 2) : QPoint();
    painter.setPen(cell.foreground.isValid() ? cell.foreground : palette().color(QPalette::Text));
    for (const SlotText& text : cell.texts) {
        painter.setFont(FontFor(font(), text.pointSize, text.bold));
        if (text.centred)
            painter.drawText(box.adjusted(2, 0, -2, 0).translated(shift), Qt::AlignCenter | Qt::TextWordWrap,
                             text.text);
        else
            painter.drawText(QRect(box.left() + text.x, box.top() + text.y, box.width() - text.x - 2,
                                   box.height() - text.y)
                                 .translated(shift),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text.text);
    }
    painter.restore();
}

void SlotGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    refresh();
}

void SlotGrid::moveCurrent(int row) {
    if (m_rows == 0)
        return;
    row = std::clamp(row, 0, m_rows - 1);
    if (row == m_current)
        return;
    setCurrentRow(row);
    emit currentRowChanged(row);
}

void SlotGrid::keyPressEvent(QKeyEvent* event) {
    if (!m_selectable || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int page = std::max(1, (viewport()->height() - m_metrics.top) / std::max(1, m_metrics.pitch));
    switch (event->key()) {
    case Qt::Key_Up:
        moveCurrent(m_current - 1);
        break;
    case Qt::Key_Down:
        moveCurrent(m_current + 1);
        break;
    case Qt::Key_PageUp:
        moveCurrent(m_current - page);
        break;
    case Qt::Key_PageDown:
        moveCurrent(m_current + page);
        break;
    case Qt::Key_Home:
        moveCurrent(0);
        break;
    case Qt::Key_End:
        moveCurrent(m_rows - 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void SlotGrid::updateCell(std::pair<int, int> cell) {
    if (cell.first >= 0)
        viewport()->update(viewportRect(cell.first, cell.second));
}

void SlotGrid::setHovered(std::pair<int, int> cell) {
    if (cell == m_hovered)
        return;
    updateCell(m_hovered);
    m_hovered = cell;
    updateCell(m_hovered);
    viewport()->setCursor(cell.first >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void SlotGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const std::pair<int, int> cell = cellAt(event->position().toPoint());
    if (m_selectable && cell.first >= 0) {
        setFocus(Qt::MouseFocusReason);
        moveCurrent(cell.first);
    }
    if (pickable(cell.first, cell.second)) {
        m_pressed = cell;
        updateCell(cell);
    }
}

void SlotGrid::mouseMoveEvent(QMouseEvent* event) {
    const std::pair<int, int> cell = cellAt(event->position().toPoint());
    setHovered(pickable(cell.first, cell.second) ? cell : std::pair(-1, -1));
}

void SlotGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pressed.first < 0)
        return;
    const std::pair<int, int> pressed = m_pressed;
    m_pressed = {-1, -1};
    updateCell(pressed);
    if (cellAt(event->position().toPoint()) == pressed)
        emit picked(pressed.first, pressed.second);
}

void SlotGrid::leaveEvent(QEvent* event) {
    setHovered({-1, -1});
    QAbstractScrollArea::leaveEvent(event);
}

void SlotGrid::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    verticalScrollBar()->setValue(verticalScrollBar()->value() - WheelStep(delta.y()));
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - WheelStep(delta.x()));
    event->accept();
}

} // namespace kml
