#pragma once

// A report laid out over its rows: a list of pages, each a list of things to
// paint at fixed places. Pagination happens once (Paginate); the pages then
// paint onto any device, so the preview, the printer and a PDF file show the
// same page breaks, lines and texts.

#include "components/report/Report.h"

#include <QDateTime>
#include <QPageLayout>
#include <QString>
#include <memory>
#include <vector>

class QPainter;

namespace kml::report {

class RowSource;

// One thing painted on a page. Coordinates are millimetres from the page's
// top-left corner (margins included).
struct Atom {
    enum class Kind { Text, Line, Box, Image, QrCode };
    Kind kind = Kind::Text;
    QRectF rect;  // Line: from topLeft to bottomRight; QrCode: the symbol with its quiet zone
    QRectF clip;  // painted only inside, when not null (a box cut by a page break)
    QString text; // Text: the text, or the prefix of a system value
    Font font;    // family resolved
    Qt::Alignment alignment = Qt::AlignLeft;
    bool system = false;
    SystemValue value = SystemValue::PageNumber;
    double penWidth = 0.2;
    std::shared_ptr<const QImage> image;
    std::shared_ptr<const QrMatrix> qr; // QrCode: the modules, painted as filled squares
};

struct Page {
    std::vector<Atom> atoms;
};

struct Document {
    QString title;
    QPageLayout pageLayout;
    QDateTime printed; // what SystemValue::PrintDateTime prints
    std::vector<Page> pages;

    int pageCount() const { return int(pages.size()); }
    // The text a text atom prints on the given page (system values filled in).
    QString textOf(const Atom& atom, int pageIndex) const;
    // Every text of a page, in painting order, one per line (tests, search).
    QString pageText(int pageIndex) const;
};

// Lays the report out over the rows. The title band prints once at the top of
// the first page (below the page header when that prints there), the page
// header at the top and the page footer at the bottom of every page, group
// headers and footers around their groups, one detail band per row whose
// condition holds, and the summary after the last row. A band that does not
// fit in the rest of the page begins a new page; a band taller than a whole
// page is cut between its lines of text and continues on the next pages.
// An empty source still gives one page with the title and the summary.
// Throws std::logic_error when an element names a column the source lacks.
Document Paginate(const Report& report, const RowSource& rows,
                  const QDateTime& printed = QDateTime::currentDateTime());

// Paints one page with the painter, whose device shows pixelsPerMm pixels per
// millimetre, its origin at the page's top-left corner. Paints nothing
// outside the page, no background.
void PaintPage(const Document& document, int pageIndex, QPainter& painter, double pixelsPerMm);
// The same for a page held apart from the document (PageStream); pageIndex
// is its place in the document, for the page number.
void PaintPage(const Document& document, const Page& page, int pageIndex, QPainter& painter,
               double pixelsPerMm);

// Writes every page to a PDF file (replacing it) whose title is the
// document's title. Throws std::runtime_error naming the file when it cannot
// be written.
void SaveAsPdf(const Document& document, const QString& path);

// Lays a report out one page at a time: the pages Paginate gives, in order,
// without holding more than two of them, so that a long list costs memory
// for its rows and not for its pages. document() has the title, paper and
// time of printing and no pages; SystemValue::PageCount is not known while
// the pages come (UsesPageCount). The report and the rows must outlive the
// stream.
class PageStream final {
public:
    PageStream(const Report& report, const RowSource& rows,
               const QDateTime& printed = QDateTime::currentDateTime());
    ~PageStream();
    PageStream(const PageStream&) = delete;
    PageStream& operator=(const PageStream&) = delete;

    const Document& document() const { return m_header; }
    // The next page and its index; false after the last page.
    bool next(Page& page, int& index);

private:
    struct State;
    Document m_header;
    std::unique_ptr<State> m_state;
};

// Whether an element of the report prints the page count.
bool UsesPageCount(const Report& report);

// Writes the report over the rows as a PDF file (replacing it), page by page
// through a PageStream, or laid out whole when it prints the page count.
// Throws as SaveAsPdf.
void SaveReportAsPdf(const Report& report, const RowSource& rows, const QString& path,
                     const QDateTime& printed = QDateTime::currentDateTime());

// The font of an element at the layout's size: pixel size in hundredths of a
// millimetre, the same on every device.
QFont LayoutFont(const Font& font);

} // namespace kml::report
