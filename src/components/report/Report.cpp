#include "components/report/Report.h"

#include "components/report/RowSource.h"

#include <stdexcept>

namespace kml::report {

namespace {

Element Make(Element::Kind kind, const QRectF& rect, const QString& text = {}, const Font& font = {},
             Qt::Alignment alignment = Qt::AlignLeft) {
    Element e;
    e.kind = kind;
    e.rect = rect;
    e.text = text;
    e.font = font;
    e.alignment = alignment;
    return e;
}

} // namespace

Element& Band::add(Element e) {
    m_elements.push_back(std::move(e));
    return m_elements.back();
}

Element& Band::label(const QRectF& rect, const QString& text, const Font& font, Qt::Alignment alignment) {
    return add(Make(Element::Kind::Label, rect, text, font, alignment));
}

Element& Band::field(const QRectF& rect, const QString& column, const Font& font, Qt::Alignment alignment,
                     const QString& format) {
    Element& e = add(Make(Element::Kind::Field, rect, column, font, alignment));
    e.format = format;
    return e;
}

Element& Band::computed(const QRectF& rect, std::function<QString(const RowRef&)> compute, const Font& font,
                        Qt::Alignment alignment) {
    Element& e = add(Make(Element::Kind::Computed, rect, {}, font, alignment));
    e.compute = std::move(compute);
    return e;
}

Element& Band::memo(const QRectF& rect, const QString& column, const Font& font, Qt::Alignment alignment) {
    return add(Make(Element::Kind::Memo, rect, column, font, alignment));
}

Element& Band::memoText(const QRectF& rect, const QString& text, const Font& font, Qt::Alignment alignment) {
    Element& e = memo(rect, {}, font, alignment);
    e.compute = [text](const RowRef&) { return text; };
    return e;
}

Element& Band::system(const QRectF& rect, SystemValue value, const QString& prefix, const Font& font,
                      Qt::Alignment alignment) {
    Element& e = add(Make(Element::Kind::System, rect, prefix, font, alignment));
    e.system = value;
    return e;
}

Element& Band::sum(const QRectF& rect, const QString& column, Scope scope, const QString& format,
                   const Font& font, Qt::Alignment alignment) {
    Element& e = add(Make(Element::Kind::Aggregate, rect, column, font, alignment));
    e.aggregate = Aggregate::Sum;
    e.scope = scope;
    e.format = format;
    return e;
}

Element& Band::sum(const QRectF& rect, std::function<double(const RowRef&)> amount, Scope scope,
                   const QString& format, const Font& font, Qt::Alignment alignment) {
    Element& e = add(Make(Element::Kind::Aggregate, rect, {}, font, alignment));
    e.aggregate = Aggregate::Sum;
    e.amount = std::move(amount);
    e.scope = scope;
    e.format = format;
    return e;
}

Element& Band::count(const QRectF& rect, Scope scope, const Font& font, Qt::Alignment alignment) {
    Element& e = add(Make(Element::Kind::Aggregate, rect, {}, font, alignment));
    e.aggregate = Aggregate::Count;
    e.scope = scope;
    return e;
}

Element& Band::line(const QPointF& from, const QPointF& to, double width) {
    return add(Make(Element::Kind::Line, QRectF(from, to))).pen(width);
}

Element& Band::box(const QRectF& rect, double width) {
    return add(Make(Element::Kind::Box, rect)).pen(width);
}

Element& Band::image(const QRectF& rect, const QImage& image) {
    Element& e = add(Make(Element::Kind::Image, rect, {}, {}, Qt::AlignCenter));
    e.image = image;
    return e;
}

Element& Band::qrCode(const QRectF& rect, const QString& text, Qt::Alignment alignment) {
    Element& e = add(Make(Element::Kind::QrCode, rect, text, {}, alignment));
    e.qr = std::make_shared<const QrMatrix>(EncodeQr(text.toUtf8()));
    return e;
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

void Report::setPage(const QSizeF& paperMm, const QMarginsF& marginsMm) {
    // A custom size keeps its width and height as given; portrait so that
    // nothing turns it.
    m_pageLayout = QPageLayout(QPageSize(paperMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                               QPageLayout::Portrait, marginsMm, QPageLayout::Millimeter);
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
