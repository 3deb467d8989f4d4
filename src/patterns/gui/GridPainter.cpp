#include "patterns/gui/GridPainter.h"

#include "components/DatasetModel.h"
#include "components/Query.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QTableView>
#include <map>

namespace kml {

GridPainter::GridPainter(RowColouring colouring, DatasetModel* model, QObject* parent)
    : QStyledItemDelegate(parent), m_colouring(std::move(colouring)), m_model(model) {}

CellIcon GridPainter::iconAt(const QModelIndex& index) const {
    const int field = m_model->fieldIndexOf(index.column());
    const Query* query = m_model->query();
    if (!m_colouring.icon || field < 0 || !query->isActive())
        return CellIcon::None;
    const QString name = query->field(field).name;
    return m_colouring.icon(name, ValueAt(*query, index.row(), name));
}

void GridPainter::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (iconAt(index) != CellIcon::None) {
        // The flag's picture alone, on the cell's own background.
        option->text.clear();
        option->features &= ~QStyleOptionViewItem::HasDisplay;
        return;
    }
    if (!m_colouring.style)
        return;
    const bool selected = option->state & QStyle::State_Selected;
    const bool highlighted = index.column() == m_model->highlightColumn();
    const RowStyle row = m_colouring.style(*m_model->query(), index.row(), selected);
    const RowStyle cell = CellStyle(m_colouring.reach, row, highlighted);
    if (cell.background.isValid())
        option->backgroundBrush = cell.background;
    if (cell.foreground.isValid()) {
        option->palette.setColor(QPalette::Text, cell.foreground);
        option->palette.setColor(QPalette::HighlightedText, cell.foreground);
    }
}

void GridPainter::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const CellIcon icon = iconAt(index);
    if (icon == CellIcon::None) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    const QSize size(16, 16);
    const QRect place = QStyle::alignedRect(cell.direction, Qt::AlignCenter, size, cell.rect);
    CellIconPicture(icon).paint(painter, place);
}

// ---- Pictures of the flag columns ----------------------------------------------------

namespace {

QPixmap DrawIcon(CellIcon icon) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case CellIcon::Paid: {
        // A green disc with a white tick.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2E, 0x9E, 0x44));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        QPen tick(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(tick);
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5.5)}));
        break;
    }
    case CellIcon::Unpaid: {
        // A red ring with a bar: money still due.
        p.setPen(QPen(QColor(0xC0, 0x39, 0x2B), 1.6));
        p.setBrush(QColor(0xFF, 0xF4, 0xF2));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        break;
    }
    case CellIcon::Private: {
        // A person: head and shoulders.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2F, 0x5E, 0x9E));
        p.drawEllipse(QRectF(5, 1.5, 6, 6));
        QPainterPath body;
        body.moveTo(2, 15);
        body.cubicTo(2, 8.5, 14, 8.5, 14, 15);
        body.closeSubpath();
        p.drawPath(body);
        break;
    }
    case CellIcon::Company: {
        // A building with rows of windows.
        p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
        p.setBrush(QColor(0xB8, 0xC2, 0xCC));
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2F, 0x5E, 0x9E));
        for (int y = 3; y <= 9; y += 3)
            for (int x = 5; x <= 9; x += 4)
                p.drawRect(QRectF(x, y, 2, 2));
        p.setBrush(QColor(0x55, 0x55, 0x55));
        p.drawRect(QRectF(7, 12, 2, 3));
        break;
    }
    case CellIcon::None:
        break;
    }
    return pixmap;
}

} // namespace

QIcon CellIconPicture(CellIcon icon) {
    // Drawn once; user-interface thread only.
    static std::map<CellIcon, QIcon> cache;
    auto it = cache.find(icon);
    if (it == cache.end())
        it = cache.emplace(icon, QIcon(DrawIcon(icon))).first;
    return it->second;
}

} // namespace kml
