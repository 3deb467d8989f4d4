#include "components/report/Report.h"

#include "components/report/RowSource.h"

#include <stdexcept>

namespace kml::report {

Element& Band::add(Element e) {
    m_elements.push_back(std::move(e));
    return m_elements.back();
}

Element& Band::label(const QRectF& rect, const QString& text, const Font& font, Qt::Alignment alignment) {
    Element e;
    e.kind = Element::Kind::Label;
    e.rect = rect;
    e.text = text;
    e.font = font;
    e.alignment = alignment;
    return add(std::move(e));
}

Element& Band::field(const QRectF& rect, const QString& column, const Font& font, Qt::Alignment alignment,
                     const QString& format) {
    Element e;
    e.kind = Element::Kind::Field;
    e.rect = rect;
    e.text = column;
    e.font = font;
    e.alignment = alignment;
    e.format = format;
    return add(std::move(e));
}

Element& Band::computed(const QRectF& rect, std::function<QString(const RowRef&)> compute, const Font& font,
                        Qt::Alignment alignment) {
    Element e;
    e.kind = Element::Kind::Computed;
    e.rect = rect;
    e.compute = std::move(compute);
    e.font = font;
    e.alignment = alignment;
    return add(std::move(e));
}

Element& Band::memo(const QRectF& rect, const QString& column, const Font& font, Qt::Alignment alignment) {
    Element e;
    e.kind = Element::Kind::Memo;
    e.rect = rect;
    e.text = column;
    e.font = font;
    e.alignment = alignment;
    return add(std::move(e));
}

Element& Band::memoText(const QRectF& rect, const QString& text, const Font& font, Qt::Alignment alignment) {
    Element& e = memo(rect, {}, font, alignment);
    e.compute = [text](const RowRef&) { return text; };
    return e;
}

Element& Band::system(const QRectF& rect, SystemValue value, const QString& prefix, const Font& font,
                      Qt::Alignment alignment) {
    Element e;
    e.kind = Element::Kind::System;
    e.rect = rect;
    e.system = value;
    e.text = prefix;
    e.font = font;
    e.alignment = alignment;
    return add(std::move(e));
}

Element& Band::sum(const QRectF& rect, const QString& column, Scope scope, const QString& format,
                   const Font& font, Qt::Alignment alignment) {
    Element e;
    e.kind = Element::Kind::Aggregate;
    e.aggregate = Aggregate::Sum;
    e.rect = rect;
    e.text = column;
    e.scope = scope;
    e.format = format;
    e.font = font;
    e.alignment = alignment;
    return add(std::move(e));
}

Element& Band::count(const QRectF& rect, Scope scope, const Font& font, Qt::Alignment alignment) {
    Element e;
    e.kind = Element::Kind::Aggregate;
    e.aggregate = Aggregate::Count;
    e.rect = rect;
    e.scope = scope;
    e.font = font;
    e.alignment = alignment;
    return add(std::move(e));
}

Element& Band::line(const QPointF& from, const QPointF& to, double width) {
    Element e;
    e.kind = Element::Kind::Line;
    e.rect = QRectF(from, to);
    e.penWidth = width;
    return add(std::move(e));
}

Element& Band::box(const QRectF& rect, double width) {
    Element e;
    e.kind = Element::Kind::Box;
    e.rect = rect;
    e.penWidth = width;
    return add(std::move(e));
}

Element& Band::image(const QRectF& rect, const QImage& image) {
    Element e;
    e.kind = Element::Kind::Image;
    e.rect = rect;
    e.image = image;
    return add(std::move(e));
}

Band& Group::header(double height) {
    if (!m_header)
        m_header = std::make_unique<Band>(BandKind::GroupHeader, height);
    return *m_header;
}

Band& Group::footer(double height) {
    if (!m_footer)
        m_footer = std::make_unique<Band>(BandKind::GroupFooter, height);
    return *m_footer;
}

Report::Report(const QString& title)
    : m_title(title), m_pageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                   QPageLayout::Millimeter) {}

void Report::setPage(QPageSize::PageSizeId size, QPageLayout::Orientation orientation,
                     const QMarginsF& marginsMm) {
    m_pageLayout = QPageLayout(QPageSize(size), orientation, marginsMm, QPageLayout::Millimeter);
    // QPageLayout refuses margins beyond its own minimum of zero only; keep
    // exactly what the layout asked for.
    m_pageLayout.setMinimumMargins(QMarginsF());
    m_pageLayout.setMargins(marginsMm);
}

double Report::contentWidth() const {
    return m_pageLayout.paintRect(QPageLayout::Millimeter).width();
}

Band& Report::band(BandKind kind, double height) {
    auto& list = m_bands[int(kind)];
    return list.empty() ? addBand(kind, height) : list.front();
}

Band& Report::addBand(BandKind kind, double height) {
    if (kind == BandKind::GroupHeader || kind == BandKind::GroupFooter)
        throw std::logic_error("report: group bands belong to a group");
    m_bands[int(kind)].emplace_back(kind, height);
    return m_bands[int(kind)].back();
}

const Band* Report::bandOf(BandKind kind) const {
    const auto& list = m_bands[int(kind)];
    return list.empty() ? nullptr : &list.front();
}

Group& Report::group(const QString& keyColumn) {
    return group([keyColumn](const RowRef& row) { return row.value(keyColumn).toString(); });
}

Group& Report::group(std::function<QString(const RowRef&)> key) {
    m_groups.emplace_back(std::move(key));
    return m_groups.back();
}

} // namespace kml::report
