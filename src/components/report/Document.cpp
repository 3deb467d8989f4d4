#include "components/report/Document.h"

#include "components/NumberFormat.h"
#include "components/report/RowSource.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>

namespace kml::report {
namespace {

constexpr double kEps = 0.01;         // mm
constexpr double kUnitsPerMm = 100.0; // text is measured in hundredths of a millimetre
constexpr double kMinProgress = 0.5;  // mm a cut must leave on a page, else the band moves on

bool IsGraphic(const Atom& a) {
    return a.kind == Atom::Kind::Line || a.kind == Atom::Kind::Box;
}

QRectF BoundsOf(const Atom& a) {
    const QRectF r = a.rect.normalized();
    const double half = a.penWidth / 2;
    return IsGraphic(a) ? r.adjusted(-half, -half, half, half) : r;
}

// The dark modules of a symbol drawn into rect (quiet zone included): each
// row's runs of dark modules are single rectangles, so that no seam shows
// between neighbours on any device. Plain rectangles, not one path: a PDF
// takes them as rectangle operators, where a path of hundreds of parts
// costs the PDF engine many times more.
std::vector<QRectF> QrRects(const QrMatrix& qr, const QRectF& rect) {
    std::vector<QRectF> rects;
    const double module = rect.width() / (qr.size + 2 * QrQuietZone);
    const double left = rect.left() + QrQuietZone * module, top = rect.top() + QrQuietZone * module;
    for (int y = 0; y < qr.size; ++y) {
        for (int x = 0; x < qr.size;) {
            if (!qr.at(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < qr.size && qr.at(end, y))
                ++end;
            rects.emplace_back(left + x * module, top + y * module, (end - x) * module, module);
            x = end;
        }
    }
    return rects;
}

// A band laid out for one row: its height and its atoms, y from the band's top.
struct LaidBand {
    double height = 0;
    std::vector<Atom> atoms;
};

// What a band is laid out for.
struct Context {
    const RowSource* rows = nullptr;
    int row = -1;
    int first = 0; // rows of the innermost group (all rows outside groups)
    int last = -1;
};

Font Resolved(Font font, const QString& family) {
    if (font.family.isEmpty())
        font.family = family;
    return font;
}

QString FormatValue(const QVariant& value, const QString& format) {
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(format);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(format);
    default: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        return ok ? FormatNumber(format, d) : value.toString();
    }
    }
}

QString FieldText(const Element& e, const Context& c) {
    const RowRef row(c.rows, c.row);
    if (e.format.isEmpty())
        return row.text(e.text);
    const QVariant v = row.value(e.text);
    if (!v.isValid() || v.isNull())
        return {};
    return FormatValue(v, e.format);
}

QString AggregateText(const Element& e, Context c) {
    if (e.scope == Scope::Report) {
        c.first = 0;
        c.last = c.rows->rowCount() - 1;
    }
    if (e.aggregate == Aggregate::Count) {
        const int n = std::max(0, c.last - c.first + 1);
        return e.format.isEmpty() ? QString::number(n) : FormatNumber(e.format, n);
    }
    const auto amount = [&e](const RowRef& row) { return e.amount ? e.amount(row) : row.number(e.text); };
    double total = 0;
    for (int r = c.first; r <= c.last; ++r)
        total += amount(RowRef(c.rows, r));
    if (c.last < c.first)
        amount(RowRef(c.rows, -1)); // the columns must exist even without rows
    return FormatNumber(e.format, total);
}

// The lines of a wrapped text at the given width (hundredths of a mm).
QStringList WrapLines(const QString& text, const QFont& font, double width) {
    QStringList lines;
    QString body = text;
    while (!body.isEmpty() && body.back().isSpace())
        body.chop(1);
    if (body.isEmpty())
        return lines;
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    for (const QString& paragraph : body.split(breaks)) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return lines;
}

// The font made smaller, down to 5.5 points, until the text fits the width.
Font Fitted(Font font, const QString& text, double width) {
    const double natural = QFontMetricsF(LayoutFont(font)).horizontalAdvance(text) / kUnitsPerMm;
    if (natural > width && natural > 0)
        font.points = std::max(5.5, font.points * width / natural * 0.98);
    return font;
}

Atom TextAtom(const QRectF& rect, const QString& text, const Font& font, Qt::Alignment alignment) {
    Atom a;
    a.kind = Atom::Kind::Text;
    a.rect = rect;
    a.text = text;
    a.font = font;
    a.alignment = alignment;
    return a;
}

LaidBand LayBand(const Band& band, const Context& c, double left, const QString& family) {
    struct Placed {
        const Element* e = nullptr;
        double top = 0, bottom = 0; // original, band coordinates
        double growth = 0;
        QStringList lines; // memo
        double lineHeight = 0;
        QString text;
    };
    std::vector<Placed> placed;
    placed.reserve(band.elements().size());
    const RowRef row(c.rows, c.row);
    for (const Element& e : band.elements()) {
        Placed p;
        p.e = &e;
        p.top = std::min(e.rect.top(), e.rect.bottom());
        p.bottom = std::max(e.rect.top(), e.rect.bottom());
        switch (e.kind) {
        case Element::Kind::Label:
            p.text = e.text;
            break;
        case Element::Kind::Field:
            p.text = FieldText(e, c);
            break;
        case Element::Kind::Computed:
            p.text = e.compute ? e.compute(row) : QString();
            break;
        case Element::Kind::Aggregate:
            p.text = AggregateText(e, c);
            break;
        case Element::Kind::Memo: {
            const QString text = e.compute ? e.compute(row) : row.text(e.text);
            const QFont font = LayoutFont(Resolved(e.font, family));
            p.lines = WrapLines(text, font, e.rect.width() * kUnitsPerMm);
            p.lineHeight = QFontMetricsF(font).lineSpacing() / kUnitsPerMm;
            p.growth = std::max(0.0, p.lines.size() * p.lineHeight - e.rect.height());
            break;
        }
        default:
            break;
        }
        placed.push_back(std::move(p));
    }

    // Push-down: everything that begins at or below a memo's original bottom
    // and shares some of its width moves down by what that memo (and whatever
    // pushed it) grew; a box around a memo grows with it.
    const auto overlaps = [](const Element& a, const Element& b) {
        const QRectF ra = a.rect.normalized(), rb = b.rect.normalized();
        return ra.left() < rb.right() - kEps && rb.left() < ra.right() - kEps;
    };
    const auto encloses = [](const Element& box, const Element& memo) {
        const QRectF rb = box.rect.normalized(), rm = memo.rect.normalized();
        return rb.left() <= rm.left() + kEps && rm.right() <= rb.right() + kEps &&
               rb.top() <= rm.top() + kEps && rm.top() < rb.bottom() - kEps;
    };
    std::vector<double> shift(placed.size(), 0.0);
    std::vector<size_t> order(placed.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return placed[a].top < placed[b].top; });
    for (size_t oi = 0; oi < order.size(); ++oi) {
        const size_t i = order[oi];
        if (placed[i].e->fromBottom)
            continue;
        for (size_t oj = 0; oj < oi; ++oj) {
            const size_t j = order[oj];
            if (placed[j].e->kind == Element::Kind::Memo && !placed[j].e->fromBottom &&
                placed[j].bottom <= placed[i].top + kEps && overlaps(*placed[j].e, *placed[i].e))
                shift[i] = std::max(shift[i], shift[j] + placed[j].growth);
        }
    }

    // Boxes grow by what the memos inside them grew beyond the box's own shift.
    std::vector<double> boxGrowth(placed.size(), 0.0);
    for (size_t i = 0; i < placed.size(); ++i) {
        if (placed[i].e->kind != Element::Kind::Box)
            continue;
        for (size_t j = 0; j < placed.size(); ++j)
            if (placed[j].e->kind == Element::Kind::Memo && encloses(*placed[i].e, *placed[j].e))
                boxGrowth[i] = std::max(boxGrowth[i], shift[j] + placed[j].growth - shift[i]);
    }

    // The band ends below its lowest element as far below as it did before
    // anything grew.
    double originalBottom = 0, shiftedBottom = 0;
    for (size_t i = 0; i < placed.size(); ++i) {
        if (placed[i].e->fromBottom)
            continue;
        const double grown = placed[i].e->kind == Element::Kind::Memo ? placed[i].growth : boxGrowth[i];
        originalBottom = std::max(originalBottom, placed[i].bottom);
        shiftedBottom = std::max(shiftedBottom, placed[i].bottom + shift[i] + grown);
    }
    const double padding = std::max(0.0, band.height() - originalBottom);
    LaidBand out;
    out.height = std::max(band.height(), shiftedBottom + padding);
    for (size_t i = 0; i < placed.size(); ++i) {
        const Placed& p = placed[i];
        const Element& e = *p.e;
        const double dy = e.fromBottom ? out.height : shift[i];
        const QRectF rect = e.rect.translated(left, dy);
        const Font font = Resolved(e.font, family);
        switch (e.kind) {
        case Element::Kind::Label:
        case Element::Kind::Field:
        case Element::Kind::Computed:
        case Element::Kind::Aggregate:
            if (!p.text.isEmpty())
                out.atoms.push_back(TextAtom(
                    rect, p.text, e.shrinkToFit ? Fitted(font, p.text, rect.width()) : font, e.alignment));
            break;
        case Element::Kind::System: {
            Atom a = TextAtom(rect, e.text, font, e.alignment);
            a.system = true;
            a.value = e.system;
            out.atoms.push_back(std::move(a));
            break;
        }
        case Element::Kind::Memo:
            for (qsizetype l = 0; l < p.lines.size(); ++l) {
                if (p.lines.at(l).isEmpty())
                    continue;
                const QRectF lineRect(rect.left(), rect.top() + l * p.lineHeight, rect.width(), p.lineHeight);
                out.atoms.push_back(TextAtom(lineRect, p.lines.at(l), font, e.alignment));
            }
            break;
        case Element::Kind::Line:
        case Element::Kind::Box: {
            Atom a;
            a.kind = e.kind == Element::Kind::Line ? Atom::Kind::Line : Atom::Kind::Box;
            a.rect = rect.adjusted(0, 0, 0, boxGrowth[i]);
            a.penWidth = e.penWidth;
            out.atoms.push_back(std::move(a));
            break;
        }
        case Element::Kind::QrCode:
            if (e.qr) {
                const double side = std::min(rect.width(), rect.height());
                double x = rect.left() + (rect.width() - side) / 2;
                if (e.alignment & Qt::AlignRight)
                    x = rect.right() - side;
                else if (e.alignment & Qt::AlignLeft)
                    x = rect.left();
                Atom a;
                a.kind = Atom::Kind::QrCode;
                a.rect = QRectF(x, rect.top(), side, side);
                a.qr = e.qr;
                out.atoms.push_back(std::move(a));
            }
            break;
        case Element::Kind::Image:
            if (!e.image.isNull()) {
                Atom a;
                a.kind = Atom::Kind::Image;
                a.rect = rect;
                a.alignment = e.alignment;
                a.image = std::make_shared<const QImage>(e.image);
                out.atoms.push_back(std::move(a));
            }
            break;
        }
    }
    return out;
}

// One band instance waiting to be placed.
struct Item {
    std::vector<const Band*> bands; // stacked: laid out one under the other
    Context context;
    bool summary = false;
    bool keepWithNext() const { return bands.size() == 1 && bands.front()->keepsWithNext(); }
};

std::vector<const Band*> All(const std::deque<Band>& bands) {
    std::vector<const Band*> out;
    for (const Band& b : bands)
        out.push_back(&b);
    return out;
}

// Bands laid out one under the other as one.
LaidBand Stack(const std::vector<const Band*>& bands, const Context& c, double left, const QString& family) {
    LaidBand out;
    for (const Band* band : bands) {
        LaidBand one = LayBand(*band, c, left, family);
        for (Atom& a : one.atoms) {
            a.rect.translate(0, out.height);
            out.atoms.push_back(std::move(a));
        }
        out.height += one.height;
    }
    return out;
}

class Paginator final {
public:
    Paginator(const Report& report, const RowSource& rows, Document& doc)
        : m_report(report), m_rows(rows), m_doc(doc) {
        const QRectF paint = report.pageLayout().paintRect(QPageLayout::Millimeter);
        m_left = paint.left();
        m_top = paint.top();
        m_family = report.fontFamily();
        m_footerHeight = 0;
        m_footerHeight = lay(All(report.bands(BandKind::PageFooter)), Context{&rows, -1, 0, -1}).height;
        m_bottom = paint.bottom() - m_footerHeight;
        m_pageBottom = paint.bottom();
        m_headerHeight = 0;
        m_headerHeight = lay(All(report.bands(BandKind::PageHeader)), Context{&rows, -1, 0, -1}).height;
    }

    void run(const std::vector<Item>& items) {
        begin(items);
        while (advance(std::numeric_limits<size_t>::max()))
            ;
    }

    // Laying out in steps: begin, then advance until it says the last item
    // is placed; the finished pages can be taken from the front meanwhile.
    void begin(const std::vector<Item>& items) {
        m_items = &items;
        m_next = 0;
        startPage(items.empty() ? -1 : items.front().context.row);
    }
    // Places items until the document holds at least `pages` pages or every
    // item is placed (then the last page is finished); false in that case.
    bool advance(size_t pages) {
        const std::vector<Item>& items = *m_items;
        while (m_next < items.size() && m_doc.pages.size() < pages) {
            const size_t i = m_next++;
            LaidBand band = lay(items[i].bands, items[i].context);
            if (items[i].keepWithNext() && i + 1 < items.size() && !m_fresh) {
                const double next = lay(items[i + 1].bands, items[i + 1].context).height;
                const double both = band.height + next;
                if (m_y + both > m_bottom + kEps && both <= fullBody() + kEps)
                    startPage(items[i].context.row);
            }
            place(band, items[i]);
        }
        if (m_next < items.size())
            return true;
        finishPage();
        return false;
    }
    // Removes the first page, which must be finished, and gives it.
    Page takeFront() {
        Page page = std::move(m_doc.pages.front());
        m_doc.pages.erase(m_doc.pages.begin());
        if (m_finished > 0)
            --m_finished;
        return page;
    }

private:
    LaidBand lay(const std::vector<const Band*>& bands, const Context& c) const {
        return Stack(bands, c, m_left, m_family);
    }

    double fullBody() const {
        const bool header = !m_report.bands(BandKind::PageHeader).empty();
        return m_bottom - m_top - (header ? m_headerHeight : 0);
    }

    void startPage(int row) {
        if (!m_doc.pages.empty())
            finishPage();
        m_doc.pages.emplace_back();
        ++m_pagesStarted;
        m_y = m_top;
        const auto& header = m_report.bands(BandKind::PageHeader);
        if (!header.empty() && (m_pagesStarted > 1 || m_report.pageHeaderOnFirstPage())) {
            const LaidBand laid = lay(All(header), Context{&m_rows, row, 0, -1});
            put(laid, 0, laid.height, m_y);
            m_y += laid.height;
        }
        m_fresh = true;
        m_lastRow = row;
    }

    void finishPage() {
        if (m_finished == m_doc.pages.size())
            return;
        m_finished = m_doc.pages.size();
        if (!m_report.bands(BandKind::PageFooter).empty()) {
            const LaidBand laid =
                lay(All(m_report.bands(BandKind::PageFooter)), Context{&m_rows, m_lastRow, 0, -1});
            put(laid, 0, laid.height, m_pageBottom - laid.height);
        }
    }

    void place(const LaidBand& band, const Item& item) {
        m_lastRow = item.context.row;
        if (item.summary && m_report.summaryAtBottom() && band.height <= fullBody() + kEps) {
            if (band.height > m_bottom - m_y + kEps)
                startPage(item.context.row);
            put(band, 0, band.height, m_bottom - band.height);
            m_y = m_bottom;
            m_fresh = false;
            return;
        }
        double from = 0; // the part of the band still to place
        for (;;) {
            const double rest = band.height - from;
            const double room = m_bottom - m_y;
            if (rest <= room + kEps) {
                put(band, from, band.height, m_y);
                m_y += rest;
                m_fresh = false;
                return;
            }
            if (!m_fresh && rest <= fullBody() + kEps) {
                startPage(item.context.row);
                continue;
            }
            double cut = findCut(band, from, from + room) - from;
            if (cut < kMinProgress) {
                if (!m_fresh) {
                    startPage(item.context.row);
                    continue;
                }
                cut = std::max(room, kMinProgress); // nothing to cut between: clip
            }
            put(band, from, from + cut, m_y);
            from += cut;
            startPage(item.context.row);
        }
    }

    // The lowest y at or above limit that cuts through no text or picture.
    static double findCut(const LaidBand& band, double from, double limit) {
        double cut = limit;
        bool moved = true;
        while (moved) {
            moved = false;
            for (const Atom& a : band.atoms) {
                if (IsGraphic(a))
                    continue;
                const QRectF r = a.rect.normalized();
                if (r.top() >= from - kEps && r.top() < cut - kEps && r.bottom() > cut + kEps) {
                    cut = r.top();
                    moved = true;
                }
            }
        }
        return cut;
    }

    // Puts the part [from, to) of a band onto the current page at pageY.
    void put(const LaidBand& band, double from, double to, double pageY) {
        Page& page = m_doc.pages.back();
        const double dy = pageY - from;
        const QRectF window(-1e6, from, 2e6, to - from);
        const bool whole = from <= kEps && to >= band.height - kEps;
        for (const Atom& a : band.atoms) {
            const QRectF bounds = BoundsOf(a);
            bool inside;
            if (IsGraphic(a))
                inside = whole || bounds.intersects(window) ||
                         (bounds.height() < kEps && bounds.top() >= from - kEps && bounds.top() < to - kEps);
            else
                inside = whole || (bounds.top() >= from - kEps && bounds.top() < to - kEps);
            if (!inside)
                continue;
            Atom placedAtom = a;
            placedAtom.rect.translate(0, dy);
            if (!whole && (bounds.top() < from - kEps || bounds.bottom() > to + kEps))
                placedAtom.clip = window.translated(0, dy);
            page.atoms.push_back(std::move(placedAtom));
        }
    }

    const Report& m_report;
    const RowSource& m_rows;
    Document& m_doc;
    QString m_family;
    double m_left = 0, m_top = 0, m_bottom = 0, m_pageBottom = 0;
    double m_footerHeight = 0, m_headerHeight = 0;
    double m_y = 0;
    bool m_fresh = true;
    int m_lastRow = -1;
    size_t m_finished = 0;
    size_t m_pagesStarted = 0;
    const std::vector<Item>* m_items = nullptr;
    size_t m_next = 0;
};

// The bands in print order with the row and group each is laid out for.
std::vector<Item> Sequence(const Report& report, const RowSource& rows) {
    std::vector<Item> items;
    const int n = rows.rowCount();
    const Context all{&rows, n > 0 ? 0 : -1, 0, n - 1};
    for (const Band& title : report.bands(BandKind::Title))
        items.push_back({{&title}, all});

    const auto& groups = report.groups();
    const size_t levels = groups.size();
    std::vector<QStringList> keys(levels);
    for (size_t l = 0; l < levels; ++l)
        for (int r = 0; r < n; ++r)
            keys[l] << groups[l].key(RowRef(&rows, r));
    // The level of the outermost key that changes between row r-1 and r.
    const auto changedLevel = [&](int r) -> size_t {
        if (r == 0)
            return 0;
        for (size_t l = 0; l < levels; ++l)
            if (keys[l].at(r) != keys[l].at(r - 1))
                return l;
        return levels;
    };
    std::vector<int> start(levels, 0);
    const auto groupEnd = [&](size_t level, int from) {
        int r = from;
        while (r + 1 < n && changedLevel(r + 1) > level)
            ++r;
        return r;
    };
    const auto context = [&](int row, int lastLevelPlusOne) {
        if (lastLevelPlusOne == 0)
            return Context{&rows, row, 0, n - 1};
        const size_t l = size_t(lastLevelPlusOne - 1);
        return Context{&rows, row, start[l], groupEnd(l, start[l])};
    };
    for (int r = 0; r < n; ++r) {
        const size_t changed = changedLevel(r);
        if (r > 0)
            for (size_t l = levels; l-- > changed;)
                if (const Band* footer = groups[l].footerBand())
                    items.push_back({{footer}, context(r - 1, int(l) + 1)});
        for (size_t l = changed; l < levels; ++l) {
            start[l] = r;
            if (const Band* header = groups[l].headerBand())
                items.push_back({{header}, context(r, int(l) + 1)});
        }
        for (const Band& detail : report.bands(BandKind::Detail)) {
            if (!detail.condition() || detail.condition()(RowRef(&rows, r)))
                items.push_back({{&detail}, context(r, int(levels))});
        }
    }
    if (n > 0)
        for (size_t l = levels; l-- > 0;)
            if (const Band* footer = groups[l].footerBand())
                items.push_back({{footer}, context(n - 1, int(l) + 1)});
    if (!report.bands(BandKind::Summary).empty()) {
        Context c = all;
        c.row = n - 1;
        items.push_back({All(report.bands(BandKind::Summary)), c, true});
    }
    return items;
}

} // namespace

QFont LayoutFont(const Font& font) {
    QFont f(font.family);
    f.setPixelSize(std::max(1, int(std::lround(font.points * 25.4 / 72.0 * kUnitsPerMm))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (font.literal)
        f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

QString Document::textOf(const Atom& atom, int pageIndex) const {
    if (!atom.system)
        return atom.text;
    switch (atom.value) {
    case SystemValue::PageNumber:
        return atom.text + QString::number(pageIndex + 1);
    case SystemValue::PageCount:
        return atom.text + QString::number(pageCount());
    case SystemValue::PrintDateTime:
        return atom.text + printed.toString(QStringLiteral("yyyy.MM.dd. HH:mm:ss"));
    case SystemValue::ReportTitle:
        return atom.text + title;
    }
    return atom.text;
}

QString Document::pageText(int pageIndex) const {
    QStringList texts;
    for (const Atom& a : pages.at(size_t(pageIndex)).atoms)
        if (a.kind == Atom::Kind::Text)
            texts << textOf(a, pageIndex);
    return texts.join(QLatin1Char('\n'));
}

Document Paginate(const Report& report, const RowSource& rows, const QDateTime& printed) {
    Document doc;
    doc.title = report.title();
    doc.pageLayout = report.pageLayout();
    doc.printed = printed;
    Paginator(report, rows, doc).run(Sequence(report, rows));
    return doc;
}

void PaintPage(const Document& document, int pageIndex, QPainter& painter, double pixelsPerMm) {
    PaintPage(document, document.pages.at(size_t(pageIndex)), pageIndex, painter, pixelsPerMm);
}

void PaintPage(const Document& document, const Page& page, int pageIndex, QPainter& painter,
               double pixelsPerMm) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(pixelsPerMm, pixelsPerMm);
    for (const Atom& a : page.atoms) {
        painter.save();
        if (!a.clip.isNull())
            painter.setClipRect(a.clip, Qt::IntersectClip);
        switch (a.kind) {
        case Atom::Kind::Text: {
            Qt::Alignment align = a.alignment;
            if (!(align & Qt::AlignVertical_Mask))
                align |= Qt::AlignVCenter;
            painter.scale(1 / kUnitsPerMm, 1 / kUnitsPerMm);
            painter.setFont(LayoutFont(a.font));
            painter.setPen(Qt::black);
            const QRectF r(a.rect.topLeft() * kUnitsPerMm, a.rect.size() * kUnitsPerMm);
            painter.drawText(r, int(align) | Qt::TextSingleLine, document.textOf(a, pageIndex));
            break;
        }
        case Atom::Kind::Line:
            painter.setPen(QPen(Qt::black, a.penWidth, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(a.rect.topLeft(), a.rect.bottomRight());
            break;
        case Atom::Kind::Box:
            painter.setPen(QPen(Qt::black, a.penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(a.rect);
            break;
        case Atom::Kind::Image: {
            const QSizeF size = QSizeF(a.image->size()).scaled(a.rect.size(), Qt::KeepAspectRatio);
            double x = a.rect.left() + (a.rect.width() - size.width()) / 2;
            if (a.alignment & Qt::AlignRight)
                x = a.rect.right() - size.width();
            else if (a.alignment & Qt::AlignLeft)
                x = a.rect.left();
            painter.drawImage(QRectF(QPointF(x, a.rect.top()), size), *a.image);
            break;
        }
        case Atom::Kind::QrCode:
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::black);
            for (const QRectF& module : QrRects(*a.qr, a.rect))
                painter.drawRect(module);
            break;
        }
        painter.restore();
    }
    painter.restore();
}

namespace {

// Writes the pages that `nextPage` gives (false after the last) as a PDF file
// with the document's title and paper, replacing the file only when every
// page was written.
void WritePdf(const Document& document, const QString& path,
              const std::function<bool(Page& page, int& index)>& nextPage) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(("cannot write " + path + ": " + file.errorString()).toStdString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Koravel.ML"));
        writer.setResolution(600);
        QPageLayout layout = document.pageLayout;
        layout.setMinimumMargins(QMarginsF());
        layout.setMargins(QMarginsF());
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            throw std::runtime_error(("cannot write " + path).toStdString());
        Page page;
        int index = 0;
        for (bool first = true; nextPage(page, index); first = false) {
            if (!first)
                writer.newPage();
            PaintPage(document, page, index, painter, writer.resolution() / 25.4);
        }
        painter.end();
    }
    if (!file.commit())
        throw std::runtime_error(("cannot write " + path + ": " + file.errorString()).toStdString());
}

bool PrintsPageCount(const std::deque<Band>& bands) {
    for (const Band& band : bands)
        for (const Element& e : band.elements())
            if (e.kind == Element::Kind::System && e.system == SystemValue::PageCount)
                return true;
    return false;
}

} // namespace

void SaveAsPdf(const Document& document, const QString& path) {
    int next = 0;
    WritePdf(document, path, [&](Page& page, int& index) {
        if (next >= document.pageCount())
            return false;
        page = document.pages.at(size_t(next));
        index = next++;
        return true;
    });
}

// ---- Page by page ---------------------------------------------------------------

struct PageStream::State {
    State(const Report& report, const RowSource& rows)
        : items(Sequence(report, rows)), paginator(report, rows, doc) {}
    Document doc; // the pages laid out and not taken yet
    std::vector<Item> items;
    Paginator paginator;
    bool more = true;
    int taken = 0;
};

PageStream::PageStream(const Report& report, const RowSource& rows, const QDateTime& printed)
    : m_header{report.title(), report.pageLayout(), printed, {}} {
    m_state = std::make_unique<State>(report, rows);
    m_state->paginator.begin(m_state->items);
}

PageStream::~PageStream() = default;

bool PageStream::next(Page& page, int& index) {
    State& s = *m_state;
    // A page is done once the one after it has begun, or at the end.
    while (s.more && s.doc.pages.size() < 2)
        s.more = s.paginator.advance(2);
    if (s.doc.pages.empty())
        return false;
    page = s.paginator.takeFront();
    index = s.taken++;
    return true;
}

bool UsesPageCount(const Report& report) {
    for (int kind = 0; kind < 7; ++kind)
        if (PrintsPageCount(report.bands(BandKind(kind))))
            return true;
    for (const Group& g : report.groups())
        for (const Band* band : {g.headerBand(), g.footerBand()})
            if (band)
                for (const Element& e : band->elements())
                    if (e.kind == Element::Kind::System && e.system == SystemValue::PageCount)
                        return true;
    return false;
}

void SaveReportAsPdf(const Report& report, const RowSource& rows, const QString& path,
                     const QDateTime& printed) {
    if (UsesPageCount(report)) {
        SaveAsPdf(Paginate(report, rows, printed), path);
        return;
    }
    PageStream stream(report, rows, printed);
    WritePdf(stream.document(), path, [&stream](Page& page, int& index) { return stream.next(page, index); });
}

} // namespace kml::report
