#include "patterns/gui/GridPainter.h"

#include "components/DatasetModel.h"
#include "components/Query.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>
#include <QTableView>
#include <algorithm>
#include <map>

namespace kml {

GridPainter::GridPainter(RowColouring colouring, DatasetModel* model, QObject* parent)
    : QStyledItemDelegate(parent), m_colouring(std::move(colouring)), m_model(model) {}

CellIcon GridPainter::iconAt(const QModelIndex& index) const {
    const int field = m_model->fieldIndexOf(index.column());
    const Query* query = m_model->query();
    if (!m_colouring.icon || field < 0 || !query->isActive())
        return CellIcon::None;
    if (index.row() >= query->recordCount())
        return CellIcon::None;
    return m_colouring.icon(query->field(field).name, query->result().value(index.row(), field));
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

namespace {

// A cell that holds one line of text and nothing else: drawn by
// drawTextCell instead of the style's general item drawing, which lays the
// text out two or three times over to allow for wrapping, pictures and
// check boxes; a screen of a grid is hundreds of such cells.
bool IsPlainTextCell(const QStyleOptionViewItem& cell) {
    constexpr auto kExtras = QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator |
                             QStyleOptionViewItem::WrapText;
    if (cell.features & kExtras || cell.state & QStyle::State_Editing)
        return false;
    for (const QChar c : cell.text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return false;
    return true;
}

} // namespace

void GridPainter::paint(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QWidget* widget = cell.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const CellIcon icon = iconAt(index);
    if (icon == CellIcon::None && IsPlainTextCell(cell)) {
        drawTextCell(painter, cell, style);
        return;
    }
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    if (icon != CellIcon::None) {
        const QSize size(16, 16);
        const QRect place = QStyle::alignedRect(cell.direction, Qt::AlignCenter, size, cell.rect);
        CellIconPicture(icon).paint(painter, place);
    }
}

// As the style draws an item: its panel (background and selection), the
// text in the option's colours, alignment and elision, and the focus frame.
void GridPainter::drawTextCell(QPainter* painter, const QStyleOptionViewItem& cell,
                               const QStyle* style) const {
    const QWidget* widget = cell.widget;
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);

    QPalette::ColorGroup group = cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
        group = QPalette::Inactive;
    if (!cell.text.isEmpty()) {
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect area = cell.rect.adjusted(margin, 0, -margin, 0);
        const PreparedLine& line = preparedLine(cell, area.width());
        const QRect place = QStyle::alignedRect(cell.direction, cell.displayAlignment,
                                                QSize(line.width, cell.fontMetrics.height()), area);
        painter->save();
        painter->setClipRect(area, Qt::IntersectClip);
        painter->setFont(cell.font);
        painter->setPen(cell.palette.color(
            group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawStaticText(place.topLeft(), line.text);
        painter->restore();
    }

    if (cell.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(cell);
        focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &cell, widget);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor =
            cell.palette.color(cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                               cell.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

const GridPainter::PreparedLine& GridPainter::preparedLine(const QStyleOptionViewItem& cell,
                                                           int areaWidth) const {
    // A grid uses a font or two (bold rows); should it use many, the lines
    // are laid out afresh.
    auto font = std::find(m_lineFonts.begin(), m_lineFonts.end(), cell.font);
    if (font == m_lineFonts.end()) {
        if (m_lineFonts.size() >= 8) {
            m_lines.clear();
            m_lineFonts.clear();
        }
        m_lineFonts.push_back(cell.font);
        font = m_lineFonts.end() - 1;
    }
    const QString key = QString::number(font - m_lineFonts.begin()) + QChar(0x1F) +
                        QString::number(areaWidth) + QChar(0x1F) + QString::number(int(cell.textElideMode)) +
                        QChar(0x1F) + cell.text;
    if (const PreparedLine* line = m_lines.object(key))
        return *line;
    const QFontMetrics& metrics = cell.fontMetrics;
    QString text = cell.text;
    int width = metrics.horizontalAdvance(text);
    if (width > areaWidth) {
        text = metrics.elidedText(text, cell.textElideMode, areaWidth);
        width = metrics.horizontalAdvance(text);
    }
    auto* line = new PreparedLine{QStaticText(text), width};
    line->text.setTextFormat(Qt::PlainText);
    line->text.prepare(QTransform(), cell.font);
    m_lines.insert(key, line);
    return *line;
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
    case CellIcon::Attachment: {
        // A sheet of paper with a folded corner and lines of text.
        p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(3.5, 1.5), QPointF(9.5, 1.5), QPointF(12.5, 4.5),
                                 QPointF(12.5, 14.5), QPointF(3.5, 14.5)}));
        p.setPen(QPen(QColor(0x2F, 0x5E, 0x9E), 1));
        for (int y = 6; y <= 12; y += 2)
            p.drawLine(QPointF(5.5, y + 0.5), QPointF(10.5, y + 0.5));
        break;
    }
    case CellIcon::NoAttachment: {
        // A faint dash: nothing attached.
        p.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1.5));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
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
