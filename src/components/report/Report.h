#pragma once

// A banded report described as data: the page, the bands and what stands on
// them. Layouts are written once as such a description and then laid out
// over a row source (Layout.h) into pages that paint identically on the
// preview, a printer and a PDF file.
//
//     Report r(QStringLiteral("Ügyféllista"));
//     Band& title = r.band(BandKind::Title, 12);
//     title.label({0, 0, 190, 8}, QStringLiteral("Ügyfelek"), Bold(14), Qt::AlignHCenter);
//     Band& detail = r.band(BandKind::Detail, 5);
//     detail.field({0, 0, 80, 5}, QStringLiteral("ugyfel_nev"));
//     detail.field({150, 0, 40, 5}, QStringLiteral("egyenleg"), {}, Qt::AlignRight, QStringLiteral("###
//     ##0")); Group& town = r.group(QStringLiteral("cim_varos")); town.header(6).field({0, 0, 100, 6},
//     QStringLiteral("cim_varos"), Bold()); town.footer(6).sum({150, 0, 40, 6}, QStringLiteral("egyenleg"),
//     Scope::Group, QStringLiteral("### ##0"));
//
// Units: millimetres, measured from a band's top-left corner; the band's
// left edge is the page's left margin. Fonts are sized in points.

#include "components/QrCode.h"

#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace kml::report {

class RowRef;

enum class BandKind { Title, PageHeader, GroupHeader, Detail, GroupFooter, Summary, PageFooter };

struct Font {
    QString family; // empty: the report's family
    double points = 9;
    bool bold = false;
    bool italic = false;
    // Every letter as typed, no ligatures ("ff" stays two letters): for
    // addresses and codes that people type in or copy from the PDF.
    bool literal = false;
};

inline Font Regular(double points = 9) {
    return {{}, points, false, false};
}
inline Font Bold(double points = 9) {
    return {{}, points, true, false};
}
inline Font Italic(double points = 9) {
    return {{}, points, false, true};
}

// Values known only when a page is painted.
enum class SystemValue { PageNumber, PageCount, PrintDateTime, ReportTitle };

enum class Aggregate { Sum, Count };
// The rows an aggregate runs over: those of the innermost group around the
// band (the whole report outside groups), or all rows.
enum class Scope { Group, Report };

struct Element {
    enum class Kind { Label, Field, Computed, Memo, System, Aggregate, Line, Box, Image, QrCode };
    Kind kind = Kind::Label;
    QRectF rect;  // Line: from topLeft to bottomRight
    QString text; // Label: the text; Field/Memo/Aggregate: the column; System: a prefix
    Font font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QString format; // number pattern (FormatNumber) or date pattern; empty: the source's text
    std::function<QString(const RowRef&)> compute; // Computed, and Memo over computed text
    std::function<double(const RowRef&)> amount;   // Aggregate: what a row adds; unset: the column
    SystemValue system = SystemValue::PageNumber;
    Aggregate aggregate = Aggregate::Sum;
    Scope scope = Scope::Group;
    double penWidth = 0.2; // mm, for lines and boxes
    QImage image;
    std::shared_ptr<const QrMatrix> qr; // QrCode: the symbol
    // Measured from the band's final bottom edge instead of its top (a rule
    // under a line that grew); rect.y() is then usually negative or 0.
    bool fromBottom = false;
    // A one-line text that would not fit its width is printed in a smaller
    // font (down to 5.5 points) instead of being cut off.
    bool shrinkToFit = false;

    // Settings that read well in a layout.
    Element& align(Qt::Alignment a) {
        alignment = a;
        return *this;
    }
    Element& pen(double width) {
        penWidth = width;
        return *this;
    }
    Element& shrinking() {
        shrinkToFit = true;
        return *this;
    }
    Element& anchoredToBottom() {
        fromBottom = true;
        return *this;
    }
};

// One band: a fixed height that memos stretch. A memo grows by the lines its
// text needs beyond its own height and pushes down everything that begins
// below its original bottom edge; an empty memo of height 0 takes no room.
class Band final {
public:
    Band(BandKind kind, double height) : m_kind(kind), m_height(height) {}

    BandKind kind() const { return m_kind; }
    double height() const { return m_height; }
    // For bands whose height is known once their elements are placed.
    void setHeight(double height) { m_height = height; }
    const std::deque<Element>& elements() const { return m_elements; }

    // A fixed text.
    Element& label(const QRectF& rect, const QString& text, const Font& font = {},
                   Qt::Alignment alignment = Qt::AlignLeft);
    // A column of the current row on one line, clipped to its rect.
    Element& field(const QRectF& rect, const QString& column, const Font& font = Bold(),
                   Qt::Alignment alignment = Qt::AlignLeft, const QString& format = {});
    // A text computed from the current row on one line.
    Element& computed(const QRectF& rect, std::function<QString(const RowRef&)> compute,
                      const Font& font = Bold(), Qt::Alignment alignment = Qt::AlignLeft);
    // A column's text word-wrapped over the rect's width, growing the band.
    // Line breaks in the text (CR LF, LF) are kept.
    Element& memo(const QRectF& rect, const QString& column, const Font& font = Regular(),
                  Qt::Alignment alignment = Qt::AlignLeft);
    // A fixed text word-wrapped like a memo.
    Element& memoText(const QRectF& rect, const QString& text, const Font& font = Regular(),
                      Qt::Alignment alignment = Qt::AlignLeft);
    // Page number, page count, date and time of printing, report title;
    // after an optional prefix ("oldal: ").
    Element& system(const QRectF& rect, SystemValue value, const QString& prefix = {},
                    const Font& font = Regular(), Qt::Alignment alignment = Qt::AlignLeft);
    // The sum of a column over the rows of the scope, through a number
    // pattern; NULL counts as 0, and no rows give 0.
    Element& sum(const QRectF& rect, const QString& column, Scope scope, const QString& format,
                 const Font& font = Bold(), Qt::Alignment alignment = Qt::AlignRight);
    // The sum of what each row of the scope adds (a column's value only on
    // the rows that count, for example); no rows give 0. The function is
    // also called once for an empty dataset (row -1, NULL everywhere) so
    // that a column it names must exist.
    Element& sum(const QRectF& rect, std::function<double(const RowRef&)> amount, Scope scope,
                 const QString& format, const Font& font = Bold(), Qt::Alignment alignment = Qt::AlignRight);
    // The number of rows of the scope.
    Element& count(const QRectF& rect, Scope scope, const Font& font = Bold(),
                   Qt::Alignment alignment = Qt::AlignRight);
    Element& line(const QPointF& from, const QPointF& to, double width = 0.2);
    Element& hline(double y, double x1, double x2, double width = 0.2) {
        return line({x1, y}, {x2, y}, width);
    }
    Element& box(const QRectF& rect, double width = 0.2);
    // A picture scaled into the rect, keeping its proportions; a null image
    // prints nothing.
    Element& image(const QRectF& rect, const QImage& image);
    // A QR code of the text (UTF-8, error correction M, EncodeQr): the
    // largest square that fits the rect, at its top and placed across it by
    // the alignment (centred unless told), holds the symbol with its quiet
    // zone, the dark modules filled black. Throws QrError when the text is
    // too long for a QR code.
    Element& qrCode(const QRectF& rect, const QString& text, Qt::Alignment alignment = Qt::AlignHCenter);

    // The band prints for a row only when the condition holds (detail lines
    // of rows that carry no line, for example).
    Band& printWhen(std::function<bool(const RowRef&)> condition) {
        m_condition = std::move(condition);
        return *this;
    }
    const std::function<bool(const RowRef&)>& condition() const { return m_condition; }
    // Moves to a new page instead of ending a page with this band alone
    // (a group header without its first line).
    Band& keepWithNext(bool keep = true) {
        m_keepWithNext = keep;
        return *this;
    }
    bool keepsWithNext() const { return m_keepWithNext; }

private:
    Element& add(Element e);

    BandKind m_kind;
    double m_height;
    std::deque<Element> m_elements; // stable addresses for the fluent setters
    std::function<bool(const RowRef&)> m_condition;
    bool m_keepWithNext = false;
};

// A grouping level: a new group begins with the first row and with every row
// whose key differs from the row before. The rows must come sorted by the
// key (the query's ORDER BY).
class Group final {
public:
    explicit Group(std::function<QString(const RowRef&)> key) : m_key(std::move(key)) {}
    Band& header(double height);
    Band& footer(double height);
    const Band* headerBand() const { return m_header.get(); }
    const Band* footerBand() const { return m_footer.get(); }
    QString key(const RowRef& row) const { return m_key(row); }

private:
    std::function<QString(const RowRef&)> m_key;
    std::unique_ptr<Band> m_header;
    std::unique_ptr<Band> m_footer;
};

class Report final {
public:
    // A4 portrait with 10 mm margins unless told otherwise.
    explicit Report(const QString& title = {});
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // The title: document name of the print job, the PDF and the preview,
    // and what SystemValue::ReportTitle prints.
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    // Paper, orientation and margins (millimetres).
    const QPageLayout& pageLayout() const { return m_pageLayout; }
    void setPage(QPageSize::PageSizeId size, QPageLayout::Orientation orientation,
                 const QMarginsF& marginsMm);
    // A paper of its own (an envelope, a pre-printed form), its width and
    // height in millimetres as the page stands.
    void setPage(const QSizeF& paperMm, const QMarginsF& marginsMm);
    // The font family of elements that name none.
    QString fontFamily() const { return m_fontFamily; }
    void setFontFamily(const QString& family) { m_fontFamily = family; }
    // The width between the margins, in millimetres.
    double contentWidth() const;

    // The first band of a kind (Title, PageHeader, Detail, Summary,
    // PageFooter); asking again gives the same band, its height unchanged.
    // Group headers and footers belong to groups.
    Band& band(BandKind kind, double height);
    // A further band of the kind, printed after the ones before it: title
    // sections one under the other (a page may break between them), detail
    // bands each for every row, summary and page header and footer bands
    // stacked and kept together. Each band pushes down only its own
    // elements, so sections side by side stay independent.
    Band& addBand(BandKind kind, double height);
    const std::deque<Band>& bands(BandKind kind) const { return m_bands[int(kind)]; }
    const Band* bandOf(BandKind kind) const;

    // Grouping levels, outermost first.
    Group& group(const QString& keyColumn);
    Group& group(std::function<QString(const RowRef&)> key);
    const std::deque<Group>& groups() const { return m_groups; }

    // The summary band at the bottom of the last page (on a page of its own
    // when the last page has no room for it).
    bool summaryAtBottom() const { return m_summaryAtBottom; }
    void setSummaryAtBottom(bool atBottom) { m_summaryAtBottom = atBottom; }
    // The page header also on the first page (below the title).
    bool pageHeaderOnFirstPage() const { return m_pageHeaderOnFirstPage; }
    void setPageHeaderOnFirstPage(bool on) { m_pageHeaderOnFirstPage = on; }

private:
    QString m_title;
    QPageLayout m_pageLayout;
    QString m_fontFamily = QStringLiteral("DejaVu Sans");
    std::deque<Band> m_bands[7];
    std::deque<Group> m_groups;
    bool m_summaryAtBottom = false;
    bool m_pageHeaderOnFirstPage = true;
};

} // namespace kml::report
