// The banded report engine on small fixtures: page breaks, growing memos,
// groups and sums, empty data, the bottom-aligned summary, read back from
// the PDF it writes.

#include "PdfText.h"
#include "components/NumberFormat.h"
#include "components/report/Document.h"
#include "components/report/RowSource.h"

#include <QDate>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace kml::report;
using kml::test::ReadPdfInfo;
using kml::test::ReadPdfPages;
using kml::test::Squeezed;

namespace {

// A4 with 10 mm margins: 277 mm between the margins; the page footer takes
// 7 mm, the title 10 mm, so 52 detail lines of 5 mm fill the first page.
constexpr int kLinesOnFirstPage = 52;

MemoryRows Lines(int count, const std::function<QString(int)>& group = {}) {
    MemoryRows rows({QStringLiteral("nev"), QStringLiteral("csoport"), QStringLiteral("osszeg")});
    for (int i = 1; i <= count; ++i)
        rows.add({QStringLiteral("sor %1").arg(i), group ? group(i) : QString(), 1000.0 * i + 0.5});
    return rows;
}

void BasicBands(Report& r, bool summaryAtBottom) {
    r.band(BandKind::Title, 10).label({0, 0, 190, 10}, QStringLiteral("CÍMSOR"), Bold(14));
    r.band(BandKind::Detail, 5).field({0, 0, 100, 5}, QStringLiteral("nev"), Regular());
    Band& summary = r.band(BandKind::Summary, 10);
    summary.label({0, 0, 60, 10}, QStringLiteral("Mindösszesen"));
    summary.sum({100, 0, 60, 10}, QStringLiteral("osszeg"), Scope::Report, QStringLiteral("### ### ##0"));
    r.setSummaryAtBottom(summaryAtBottom);
    r.band(BandKind::PageFooter, 7).system({0, 0, 60, 7}, SystemValue::PageNumber, QStringLiteral("oldal: "));
}

struct PdfResult {
    Document doc;
    int pages = 0;
    QString title;
    QStringList texts; // squeezed text of each page
};

PdfResult Render(const Report& report, const RowSource& rows) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.pdf"));
    PdfResult out;
    out.doc = Paginate(report, rows, QDateTime(QDate(2024, 3, 5), QTime(14, 30)));
    SaveAsPdf(out.doc, path);
    const auto info = ReadPdfInfo(path);
    out.pages = info.pages;
    out.title = info.title;
    for (const QString& page : ReadPdfPages(path))
        out.texts << Squeezed(page);
    return out;
}

// The top of the first atom whose text is the given one, in millimetres.
double TopOf(const Document& doc, int page, const QString& text) {
    for (const Atom& a : doc.pages.at(size_t(page)).atoms)
        if (a.kind == Atom::Kind::Text && doc.textOf(a, page) == text)
            return a.rect.top();
    ADD_FAILURE() << "no text " << text.toStdString() << " on page " << page + 1;
    return -1;
}

} // namespace

struct BandCase {
    const char* name;
    int rows;
    bool summaryAtBottom;
    int pages;
    int summaryPage; // 1-based
    const char* lastLineOnFirstPage;
};

class BandSituations : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandSituations, PagesAndWhereTheSummaryGoes) {
    const BandCase c = GetParam();
    Report r(QStringLiteral("Próba"));
    BasicBands(r, c.summaryAtBottom);
    const MemoryRows rows = Lines(c.rows);
    const PdfResult out = Render(r, rows);

    ASSERT_EQ(out.pages, c.pages);
    ASSERT_EQ(out.doc.pageCount(), c.pages);
    EXPECT_TRUE(out.texts.at(0).contains(QStringLiteral("CÍMSOR")));
    for (int p = 0; p < c.pages; ++p) {
        EXPECT_TRUE(out.texts.at(p).contains(QStringLiteral("oldal: %1").arg(p + 1))) << "page " << p + 1;
        EXPECT_EQ(out.texts.at(p).contains(QStringLiteral("CÍMSOR")), p == 0);
        EXPECT_EQ(out.texts.at(p).contains(QStringLiteral("Mindösszesen")), p + 1 == c.summaryPage);
    }
    if (*c.lastLineOnFirstPage) {
        EXPECT_TRUE(out.texts.at(0).contains(QString::fromUtf8(c.lastLineOnFirstPage) + QLatin1Char('\n')));
        EXPECT_FALSE(out.texts.at(0).contains(QStringLiteral("sor %1\n").arg(kLinesOnFirstPage + 1)));
    }
    // Every line printed once, in order.
    const QString all = out.texts.join(QLatin1Char('\n'));
    qsizetype at = 0;
    for (int i = 1; i <= c.rows; ++i) {
        const QString line = QStringLiteral("sor %1\n").arg(i);
        const qsizetype found = all.indexOf(line, at);
        ASSERT_GE(found, 0) << line.toStdString();
        EXPECT_EQ(all.indexOf(line, found + 1), -1) << line.toStdString();
        at = found;
    }
    // 1000.5 + 2000.5 + ... rounded once at the end.
    const double total = 1000.0 * c.rows * (c.rows + 1) / 2 + 0.5 * c.rows;
    EXPECT_TRUE(all.contains(QStringLiteral("Mindösszesen ") +
                             kml::FormatNumber(QStringLiteral("### ### ##0"), total)));

    if (c.summaryAtBottom) {
        const int page = c.summaryPage - 1;
        // 297 - 10 (margin) - 7 (footer) - 10 (band) = 270 mm
        EXPECT_NEAR(TopOf(out.doc, page, QStringLiteral("Mindösszesen")), 270.0, 0.01);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, BandSituations,
    ::testing::Values(BandCase{"fill_first_page_then_summary", kLinesOnFirstPage, false, 2, 2, "sor 52"},
                      BandCase{"one_line_less_leaves_no_room", kLinesOnFirstPage - 1, false, 2, 2, "sor 51"},
                      BandCase{"two_lines_less_summary_fits", kLinesOnFirstPage - 2, false, 1, 1, ""},
                      BandCase{"one_line_over_a_page", kLinesOnFirstPage + 1, false, 2, 2, "sor 52"},
                      BandCase{"bottom_summary_last_page_full", kLinesOnFirstPage, true, 2, 2, "sor 52"},
                      BandCase{"bottom_summary_with_room", 10, true, 1, 1, ""},
                      BandCase{"three_pages", 150, false, 3, 3, "sor 52"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportEngine, EmptyDatasetStillPrintsTitleAndSummaryWithZeroSums) {
    Report r(QStringLiteral("Üres"));
    BasicBands(r, true);
    r.band(BandKind::Title, 10).field({100, 0, 90, 10}, QStringLiteral("nev"));
    r.group(QStringLiteral("csoport")).footer(5).count({0, 0, 40, 5}, Scope::Group);
    const MemoryRows rows = Lines(0);
    const PdfResult out = Render(r, rows);
    ASSERT_EQ(out.pages, 1);
    EXPECT_TRUE(out.texts.at(0).contains(QStringLiteral("CÍMSOR")));
    EXPECT_TRUE(out.texts.at(0).contains(QStringLiteral("Mindösszesen 0")));
    EXPECT_TRUE(out.texts.at(0).contains(QStringLiteral("oldal: 1")));
    EXPECT_EQ(out.title, QStringLiteral("Üres"));
}

TEST(ReportEngine, GroupsChangeOnTheLastRowAndSumTheirOwnRows) {
    Report r;
    r.band(BandKind::Detail, 5).field({10, 0, 100, 5}, QStringLiteral("nev"), Regular());
    Group& g = r.group(QStringLiteral("csoport"));
    g.header(6).keepWithNext().field({0, 0, 100, 6}, QStringLiteral("csoport"), Bold(), Qt::AlignLeft, {});
    Band& footer = g.footer(6);
    footer.computed({0, 0, 60, 6},
                    [](const RowRef& row) { return row.text(u"csoport") + QStringLiteral(" összesen"); });
    footer.sum({60, 0, 40, 6}, QStringLiteral("osszeg"), Scope::Group, QStringLiteral("### ### ##0"));
    footer.count({100, 0, 20, 6}, Scope::Group);
    footer.sum({130, 0, 40, 6}, QStringLiteral("osszeg"), Scope::Report, QStringLiteral("(### ##0)"));
    r.band(BandKind::Summary, 6)
        .sum({60, 0, 40, 6}, QStringLiteral("osszeg"), Scope::Report, QStringLiteral("### ### ##0"));
    // Rows 1-3 in group A, row 4 alone in group B.
    const MemoryRows rows = Lines(4, [](int i) { return i < 4 ? QStringLiteral("A") : QStringLiteral("B"); });
    const PdfResult out = Render(r, rows);
    ASSERT_EQ(out.pages, 1);
    const QString text = out.texts.at(0);
    // 1000.5 + 2000.5 + 3000.5 = 6001.5 -> 6 002; 4000.5 -> 4 001; 10 002.
    const QStringList expected = {QStringLiteral("A\n"),
                                  QStringLiteral("sor 1"),
                                  QStringLiteral("sor 3"),
                                  QStringLiteral("A összesen 6 002 3 (10 002)"),
                                  QStringLiteral("B\n"),
                                  QStringLiteral("sor 4"),
                                  QStringLiteral("B összesen 4 001 1 (10 002)"),
                                  QStringLiteral("10 002")};
    qsizetype at = 0;
    for (const QString& piece : expected) {
        const qsizetype found = text.indexOf(piece, at);
        ASSERT_GE(found, 0) << "missing or out of order: " << piece.toStdString() << "\n"
                            << text.toStdString();
        at = found + 1;
    }
}

// A sum over what each row adds: rows that do not count add nothing, in the
// group and in the report, and the columns the function reads must exist
// even when there are no rows.
TEST(ReportEngine, SumOfWhatEachRowAddsLeavesOutRowsThatDoNotCount) {
    const auto counted = [](const RowRef& row) {
        return row.text(u"csoport") == QLatin1String("X") ? 0.0 : row.number(u"osszeg");
    };
    Report r;
    r.band(BandKind::Detail, 5).field({0, 0, 100, 5}, QStringLiteral("nev"), Regular());
    r.band(BandKind::Summary, 6).sum({60, 0, 40, 6}, counted, Scope::Report, QStringLiteral("### ### ##0"));
    // 1000.5 + 3000.5 + 4000.5; row 2 is marked X.
    const MemoryRows rows = Lines(4, [](int i) { return i == 2 ? QStringLiteral("X") : QString(); });
    EXPECT_EQ(Paginate(r, rows).pageText(0), QStringLiteral("sor 1\nsor 2\nsor 3\nsor 4\n8 002"));
    EXPECT_EQ(Paginate(r, Lines(0)).pageText(0), QStringLiteral("0"));

    Report wrong;
    wrong.band(BandKind::Summary, 6)
        .sum({0, 0, 40, 6}, [](const RowRef& row) { return row.number(u"nincs_ilyen"); }, Scope::Report, {});
    EXPECT_THROW(Paginate(wrong, Lines(0)), std::logic_error);
}

TEST(ReportEngine, MemoLongerThanAPageContinuesOnTheNextPagesInOrder) {
    Report r(QStringLiteral("Hosszú"));
    Band& title = r.band(BandKind::Title, 20);
    title.label({0, 0, 190, 5}, QStringLiteral("Hiba leírás"), Italic());
    title.memo({0, 5, 190, 5}, QStringLiteral("nev"));
    title.label({0, 12, 190, 5}, QStringLiteral("A MEMÓ ALATT"));
    title.box({0, 0, 190, 20});
    r.band(BandKind::Detail, 5).label({0, 0, 50, 5}, QStringLiteral("részlet"));
    r.band(BandKind::PageFooter, 7).system({0, 0, 60, 7}, SystemValue::PageNumber, QStringLiteral("oldal: "));
    QStringList paragraphs;
    for (int i = 1; i <= 150; ++i)
        paragraphs << QStringLiteral("bekezdés%1 szöveg").arg(i, 3, 10, QLatin1Char('0'));
    MemoryRows rows({QStringLiteral("nev")});
    rows.add({paragraphs.join(QStringLiteral("\r\n"))});
    const PdfResult out = Render(r, rows);

    ASSERT_GE(out.pages, 3);
    const QString all = out.texts.join(QLatin1Char('\n'));
    qsizetype at = 0;
    for (const QString& p : paragraphs) {
        const qsizetype found = all.indexOf(p, at);
        ASSERT_GE(found, 0) << p.toStdString();
        EXPECT_EQ(all.indexOf(p, found + 1), -1) << "printed twice: " << p.toStdString();
        at = found;
    }
    EXPECT_GT(all.indexOf(QStringLiteral("A MEMÓ ALATT")), all.indexOf(paragraphs.back()));
    EXPECT_GT(all.indexOf(QStringLiteral("részlet")), all.indexOf(QStringLiteral("A MEMÓ ALATT")));
    for (int p = 0; p < out.pages; ++p)
        EXPECT_TRUE(out.texts.at(p).contains(QStringLiteral("oldal: %1").arg(p + 1)));
    // No text line lies below the footer's top on any page.
    for (int p = 0; p < out.doc.pageCount(); ++p) {
        for (const Atom& a : out.doc.pages[size_t(p)].atoms) {
            if (a.kind == Atom::Kind::Text && !a.system) {
                EXPECT_LE(a.rect.bottom(), 280.0 + 0.01) << a.text.toStdString();
            }
        }
    }
}

TEST(ReportEngine, BandTallerThanAPageWithNothingToCutBetweenEndsInsteadOfLooping) {
    Report r;
    QImage tall(10, 400, QImage::Format_RGB32);
    tall.fill(Qt::gray);
    Band& title = r.band(BandKind::Title, 400);
    title.image({0, 0, 10, 400}, tall);
    title.label({0, 390, 50, 5}, QStringLiteral("alul"));
    r.band(BandKind::Detail, 5).field({0, 0, 50, 5}, QStringLiteral("nev"));
    const MemoryRows rows = Lines(2);
    const Document doc = Paginate(r, rows);
    EXPECT_EQ(doc.pageCount(), 2);
    const QString all = doc.pageText(0) + doc.pageText(1);
    EXPECT_TRUE(all.contains(QStringLiteral("alul")));
    EXPECT_TRUE(all.contains(QStringLiteral("sor 2")));
}

TEST(ReportEngine, DetailConditionAndGrowingLinesWithARuleAtTheirBottom) {
    Report r;
    Band& detail = r.band(BandKind::Detail, 5);
    detail.field({0, 0, 60, 5}, QStringLiteral("nev"));
    detail.memo({10, 5, 100, 0}, QStringLiteral("megj"), Italic(8));
    detail.hline(0, 0, 190).anchoredToBottom();
    detail.printWhen([](const RowRef& row) { return !row.isNull(u"nev"); });
    MemoryRows rows({QStringLiteral("nev"), QStringLiteral("megj")});
    rows.add({QStringLiteral("első"), QString()});
    rows.add({QVariant(), QStringLiteral("nem látszik")});
    rows.add({QStringLiteral("második"), QStringLiteral("megjegyzés")});
    rows.add({QStringLiteral("harmadik"), QVariant()});
    const Document doc = Paginate(r, rows);
    ASSERT_EQ(doc.pageCount(), 1);
    EXPECT_FALSE(doc.pageText(0).contains(QStringLiteral("nem látszik")));
    const double first = TopOf(doc, 0, QStringLiteral("első"));
    const double second = TopOf(doc, 0, QStringLiteral("második"));
    const double third = TopOf(doc, 0, QStringLiteral("harmadik"));
    EXPECT_NEAR(second - first, 5.0, 0.01); // no remark: one line
    EXPECT_GT(third - second, 7.5);         // a remark: a second line
    EXPECT_LT(third - second, 10.5);
    std::vector<double> rules;
    for (const Atom& a : doc.pages[0].atoms)
        if (a.kind == Atom::Kind::Line)
            rules.push_back(a.rect.top());
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_NEAR(rules[0], second, 0.01);
    EXPECT_NEAR(rules[1], third, 0.01);
}

TEST(ReportEngine, AMemoPushesDownOnlyWhatLiesUnderItAndSectionsStack) {
    Report r;
    Band& first = r.band(BandKind::Title, 10);
    first.box({0, 0, 95, 10});
    first.memo({2, 0, 90, 5}, QStringLiteral("nev"));
    first.label({2, 6, 90, 4}, QStringLiteral("ALATTA"));
    first.label({100, 6, 90, 4}, QStringLiteral("MELLETTE"));
    r.addBand(BandKind::Title, 5).label({0, 0, 50, 5}, QStringLiteral("KÖVETKEZŐ"));
    MemoryRows rows({QStringLiteral("nev")});
    rows.add({QStringLiteral("egy\nkettő\nhárom\nnégy\nöt")});
    const Document doc = Paginate(r, rows);
    const double below = TopOf(doc, 0, QStringLiteral("ALATTA"));
    EXPECT_NEAR(TopOf(doc, 0, QStringLiteral("MELLETTE")), 10 + 6, 0.01); // the top margin is 10 mm
    const double lastLine = TopOf(doc, 0, QStringLiteral("öt"));
    EXPECT_GT(below, lastLine);
    EXPECT_GE(TopOf(doc, 0, QStringLiteral("KÖVETKEZŐ")), below + 4 - 0.01);
    for (const Atom& a : doc.pages[0].atoms)
        if (a.kind == Atom::Kind::Box) {
            EXPECT_GE(a.rect.bottom(), below + 4 - 0.01); // the box grew around the memo
        }
}

TEST(ReportEngine, MissingColumnFailsLoudly) {
    Report r;
    r.band(BandKind::Detail, 5).field({0, 0, 60, 5}, QStringLiteral("nincs_ilyen"));
    const MemoryRows rows = Lines(1);
    EXPECT_THROW(Paginate(r, rows), std::logic_error);
}

TEST(ReportEngine, PageSizesAndSystemValues) {
    Report r(QStringLiteral("Boríték"));
    r.setPage(QPageSize::EnvelopeDL, QPageLayout::Landscape, QMarginsF(5, 5, 5, 5));
    Band& title = r.band(BandKind::Title, 20);
    title.system({0, 0, 100, 5}, SystemValue::ReportTitle);
    title.system({0, 5, 100, 5}, SystemValue::PrintDateTime);
    title.system({0, 10, 100, 5}, SystemValue::PageCount, QStringLiteral("összesen: "));
    const MemoryRows rows = Lines(0);
    const PdfResult out = Render(r, rows);
    ASSERT_EQ(out.pages, 1);
    EXPECT_TRUE(out.texts.at(0).contains(QStringLiteral("Boríték")));
    EXPECT_TRUE(out.texts.at(0).contains(QStringLiteral("2024.03.05. 14:30:00")));
    EXPECT_TRUE(out.texts.at(0).contains(QStringLiteral("összesen: 1")));
}

TEST(ReportEngine, WritingToAnUnwritablePlaceThrows) {
    Report r;
    const MemoryRows rows = Lines(0);
    EXPECT_THROW(SaveAsPdf(Paginate(r, rows), QStringLiteral("/nonexistent-folder/x.pdf")),
                 std::runtime_error);
}
