// The period reports on a small shop whose totals are worked out by hand:
// each report read back from its PDF (groups, their sums, the grand total,
// a cancelled sheet listed but not summed, quotations not consumed, items of
// the same name kept apart, a manufacturer name shared by two makers), an
// empty and a reversed period, the browser's own list, headings on every
// page; and the road from the period window through the print choice to
// the preview, the printer and the export window, with the export right.

#include "reports/PeriodReports.h"

#include "PdfText.h"
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "exchange/DatasetExport.h"
#include "foundation/DateHelpers.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "reports/ReportWindows.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::ReadPdfInfo;
using test::ReadPdfPages;
using test::Squeezed;
using test::TestDatabase;

const QString kMoney = QStringLiteral("### ### ##0");
const Period kMarch{QDate(2024, 3, 1), QDate(2024, 3, 31)};

// The shop. Sheets of March 2024 (1 on its first day, 4 on its last):
//   no type       customer  device (maker)     status     employees              price  advance  paid
//   1  00001J     Árvíztűrő D-300 (Daikin #3)  1          Kiss Péter             10 000  2 000   -
//   2  00002T     Kovács    A-200 (Ariston)    3          Nagy Anna              25 000      0   20 Mar
//   3  00003J     Szép      D-100 (Daikin #1)  cancelled  kiss péter              7 000  1 000   -
//   4  00004T     Árvíztűrő D-300 (Daikin #3)  4          Kiss Péter, Nagy Anna  12 500  2 500   2 Apr
//   (discount 1 250) 7  00007K     Kovács    none               quotation  Kiss Péter             15 000 500
//   -
// and outside it sheet 5 (29 Feb, 150 000, paid that day) and 6 (1 Apr, 9 999).
// Lines (unit price x quantity, purchase price):
//   1: A01 Szűrő 2 x 1 500 (1 000), S01 Munkadíj 1 x 7 000
//   2: A02 Szűrő 1 x 5 000 (3 000), S01 2 x 7 000, A03 Hűtőközeg R32 0,5 x 12 000 (8 000)
//   3: A01 3 x 1 500, S01 1 x 2 500
//   4: A01 1 x 1 500 (1 000), S01 1 x 11 000
//   7: A01 10 x 1 500;  5: A01 100 x 1 500;  6: S01 1 x 9 999
const char* const kShop[] = {
    "UPDATE tulajdonos SET tulajdonos = 'Próba Szerviz Kft.', irsz = '6720', varos = 'Szeged', "
    "cim = 'Kárász u. 5.', telefon = '+36 62 555 123';",
    "INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (1, 'Árvíztűrő Bt.'), (2, 'Kovács Ödön'), (3, 'Szép "
    "Ilona');",
    "INSERT INTO gyarto (gyarto, gyarto_nev) VALUES (1, 'Daikin'), (2, 'Ariston'), (3, 'Daikin');",
    "INSERT INTO tipus (tipus, gyarto, tipus_nev) VALUES (1, 1, 'FTXM25'), (2, 2, 'Clas One'), (3, 3, "
    "'Sensira');",
    "INSERT INTO keszulek (keszulek, ugyfel, tipus, gysz) VALUES (1, 3, 1, 'D-100'), (2, 2, 2, 'A-200'), "
    "(3, 1, 3, 'D-300');",
    "INSERT INTO tetel (tetel, tetel_kod, tetel_nev, ezszolg) VALUES (1, 'A01', 'Szűrő', 'N'), "
    "(2, 'A02', 'Szűrő', 'N'), (3, 'S01', 'Munkadíj', 'I'), (4, 'A03', 'Hűtőközeg R32', 'N');",
    "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, statusz, storno, dolgozostr, "
    "ar_eloleg, "
    "ar_kedvezmeny, fizetve, dat_fizetve) VALUES "
    "(1, 1, 1, 3, '2024-03-01', 1, 'N', 'Kiss Péter', 2000, 0, 'N', NULL),"
    "(2, 2, 2, 2, '2024-03-15', 3, 'N', 'Nagy Anna', 0, 0, 'I', '2024-03-20'),"
    "(3, 1, 3, 1, '2024-03-20', 2, 'I', 'kiss péter', 1000, 0, 'N', NULL),"
    "(4, 2, 1, 3, '2024-03-31', 4, 'N', 'Kiss Péter, Nagy Anna', 2500, 1250, 'I', '2024-04-02'),"
    "(5, 1, 2, 2, '2024-02-29', 3, 'N', 'Kiss Péter', 700, 0, 'I', '2024-02-29'),"
    "(6, 1, 2, 2, '2024-04-01', 1, 'N', 'Nagy Anna', 0, 0, 'N', NULL),"
    "(7, 3, 2, 0, '2024-03-10', 0, 'N', 'Kiss Péter', 500, 0, 'N', NULL);",
    "INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar, beszar) VALUES "
    "(1, 1, 2, 1500, 1000), (1, 3, 1, 7000, 0),"
    "(2, 2, 1, 5000, 3000), (2, 3, 2, 7000, 0), (2, 4, 0.5, 12000, 8000),"
    "(3, 1, 3, 1500, 1000), (3, 3, 1, 2500, 0),"
    "(4, 1, 1, 1500, 1000), (4, 3, 1, 11000, 0),"
    "(7, 1, 10, 1500, 1000), (5, 1, 100, 1500, 1000), (6, 3, 1, 9999, 0);",
};

struct Printout {
    QString title;
    int pages = 0;
    QStringList texts; // squeezed, per page
    QString all() const { return texts.join(QLatin1Char('\n')); }
};

class PeriodReports : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("periodreports"));
        // The strict grouping mode some servers run with: every statement
        // here must stand it.
        ExecSql(QStringLiteral("SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',ONLY_FULL_GROUP_BY');"));
        for (const char* sql : kShop)
            ExecSql(QString::fromUtf8(sql));
        for (int sheet : {1, 2, 3, 4, 5, 6, 7})
            ExecSql(QStringLiteral("CALL sp_arbeallit(%1);").arg(sheet));
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        Beall() = TBeall{};
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { Beall() = TBeall{}; }

    static PeriodReportRequest Request(PeriodReport kind, const Period& period = kMarch,
                                       SheetListGrouping grouping = SheetListGrouping::ByType) {
        PeriodReportRequest r;
        r.kind = kind;
        r.grouping = grouping;
        r.period = period;
        return r;
    }

    // The report written as PDF and read back; a copy is kept under
    // build/screenshots/ for people to look at.
    Printout Print(const PeriodReportRequest& request, const QString& name) {
        Query q;
        PreparePeriodQuery(q, request);
        OpenPeriodQuery(q, kMoney, QStringLiteral("### ### ##0"));
        const report::Document doc = MakePeriodReportDocument(request, q, ReadShopTexts(), kMoney,
                                                              QDateTime(QDate(2024, 4, 5), QTime(8, 30)));
        const QString path = m_dir.filePath(name + QStringLiteral(".pdf"));
        report::SaveAsPdf(doc, path);
        const QString kept = test::BuildPath(QStringLiteral("screenshots/") + name + QStringLiteral(".pdf"));
        QDir().mkpath(test::BuildPath(QStringLiteral("screenshots")));
        QFile::remove(kept);
        QFile::copy(path, kept);
        Printout out;
        const test::PdfInfo info = ReadPdfInfo(path);
        out.title = info.title;
        out.pages = info.pages;
        for (const QString& page : ReadPdfPages(path))
            out.texts << Squeezed(page);
        return out;
    }

    static TestDatabase* s_db;
    QTemporaryDir m_dir;
};

TestDatabase* PeriodReports::s_db = nullptr;

// Each piece found after the one before it.
void ExpectInOrder(const QString& text, const QStringList& pieces) {
    qsizetype at = 0;
    for (const QString& piece : pieces) {
        const qsizetype found = text.indexOf(piece, at);
        ASSERT_GE(found, 0) << "missing or out of order: " << piece.toStdString() << "\n"
                            << text.toStdString();
        at = found + piece.size();
    }
}

// The amounts after every group's "összesen", in order.
QStringList GroupSums(const QString& text) {
    static const QRegularExpression sum(QStringLiteral("(?<![A-Za-zÁáö])összesen (-?\\d{1,3}(?: \\d{3})*)"));
    QStringList sums;
    for (auto it = sum.globalMatch(text); it.hasNext();)
        sums << it.next().captured(1);
    return sums;
}

QString GrandTotal(const QString& text) {
    static const QRegularExpression total(QStringLiteral("mindösszesen ([-\\d ]*\\d)"));
    return total.match(text).captured(1);
}

TEST_F(PeriodReports, WorkSheetListInEachGroupingListsCancelledSheetsWithoutSummingThem) {
    const QString periodLabel = QStringLiteral("2024.03.01 - 2024.03.31");
    struct Case {
        SheetListGrouping grouping;
        const char* name;
        QStringList inOrder;
        QStringList groupSums;
    };
    const Case cases[] = {
        {SheetListGrouping::ByType,
         "qrMLapLista-tipus",
         {QStringLiteral("Javítás"), QStringLiteral("00001J"), QStringLiteral("Kiss Péter 10 000"),
          QStringLiteral("00003J"), QStringLiteral("sztornó"), QStringLiteral("összesen 10 000"),
          QStringLiteral("Telepítés"), QStringLiteral("00002T"), QStringLiteral("00004T"),
          QStringLiteral("összesen 37 500"),
          // The last row begins a group of its own.
          QStringLiteral("Karbantartás"), QStringLiteral("00007K"), QStringLiteral("összesen 15 000")},
         {QStringLiteral("10 000"), QStringLiteral("37 500"), QStringLiteral("15 000")}},
        // Letter case does not part the employees, as it does not part their order.
        {SheetListGrouping::ByEmployee,
         "qrMLapLista-dolgozo",
         {QStringLiteral("00001J"), QStringLiteral("00003J"), QStringLiteral("00007K"),
          QStringLiteral("összesen 25 000"), QStringLiteral("Kiss Péter, Nagy Anna"),
          QStringLiteral("00004T"), QStringLiteral("összesen 12 500"), QStringLiteral("Nagy Anna"),
          QStringLiteral("00002T"), QStringLiteral("összesen 25 000")},
         {QStringLiteral("25 000"), QStringLiteral("12 500"), QStringLiteral("25 000")}},
        // Two makers called Daikin stay two groups, each whole; a sheet
        // without a device has a group of its own.
        {SheetListGrouping::ByManufacturer,
         "qrMLapLista-gyarto",
         {QStringLiteral("(nincs megadva)"), QStringLiteral("00007K"), QStringLiteral("összesen 15 000"),
          QStringLiteral("Ariston"), QStringLiteral("00002T"), QStringLiteral("összesen 25 000"),
          QStringLiteral("Daikin"), QStringLiteral("00003J"), QStringLiteral("összesen 0"),
          QStringLiteral("Daikin"), QStringLiteral("00001J"), QStringLiteral("00004T"),
          QStringLiteral("összesen 22 500")},
         {QStringLiteral("15 000"), QStringLiteral("25 000"), QStringLiteral("0"), QStringLiteral("22 500")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Printout out = Print(Request(PeriodReport::WorkSheetList, kMarch, c.grouping), c.name);
        ASSERT_EQ(out.pages, 1);
        EXPECT_EQ(out.title, QStringLiteral("Munkalapok listája"));
        const QString text = out.all();
        ExpectInOrder(text, {QStringLiteral("Munkalapok listája"), periodLabel,
                             QStringLiteral("Munkalap Ügyfél Dátum Típus Dolgozó Ár")});
        ExpectInOrder(text, c.inOrder);
        EXPECT_EQ(GroupSums(text), c.groupSums);
        EXPECT_EQ(GrandTotal(text), QStringLiteral("62 500"));
        // Neither the days before nor after the period.
        EXPECT_FALSE(text.contains(QStringLiteral("00005J")));
        EXPECT_FALSE(text.contains(QStringLiteral("00006J")));
        ExpectInOrder(
            text, {QStringLiteral("Koravel.ML"), QStringLiteral("oldal: 1"), QStringLiteral("qrMLapLista")});
    }
    // The shop's data at the top right.
    const Printout out = Print(Request(PeriodReport::WorkSheetList), QStringLiteral("qrMLapLista"));
    ExpectInOrder(out.all(), {QStringLiteral("Próba Szerviz Kft."),
                              QStringLiteral("6720 Szeged, Kárász u. 5."), QStringLiteral("+36 62 555 123")});
}

TEST_F(PeriodReports, RevenueGroupsAdvancesAndPaymentsOfLiveSheets) {
    const Printout out = Print(Request(PeriodReport::Revenue), QStringLiteral("qrArbevetel"));
    ASSERT_EQ(out.pages, 1);
    EXPECT_EQ(out.title, QStringLiteral("Árbevétel"));
    const QString text = out.all();
    // Advances on the day a sheet came in (the cancelled sheet and the
    // quotation give none), the rest on the day it was paid (sheet 4's on
    // 2 April, after the period).
    ExpectInOrder(text,
                  {QStringLiteral("munkalap ügyfél dátum bevétel"), QStringLiteral("Előleg"),
                   QStringLiteral("00001J Árvíztűrő Bt. 2024.03.01 2 000"),
                   QStringLiteral("00004T Árvíztűrő Bt. 2024.03.31 2 500"), QStringLiteral("összesen 4 500"),
                   QStringLiteral("Utólag"), QStringLiteral("00002T Kovács Ödön 2024.03.20 25 000"),
                   QStringLiteral("összesen 25 000"), QStringLiteral("mindösszesen 29 500"),
                   QStringLiteral("qrArbevetel")});
    EXPECT_EQ(GroupSums(text), (QStringList{QStringLiteral("4 500"), QStringLiteral("25 000")}));
    for (const char* absent : {"00003J", "00007K", "00005J"})
        EXPECT_FALSE(text.contains(QLatin1String(absent))) << absent;
}

TEST_F(PeriodReports, ProfitSumsEveryAmountColumnOfLiveSheets) {
    const Printout out = Print(Request(PeriodReport::Profit), QStringLiteral("qrNyereseg"));
    ASSERT_EQ(out.pages, 1);
    EXPECT_EQ(out.title, QStringLiteral("Árbevétel - Nyereség"));
    const QString text = out.all();
    ExpectInOrder(text,
                  {QStringLiteral("Munkalap Dátum Típus Anyag Munka Ár összesen Ebből besz.ár Kedvezmény "
                                  "Nyereség"),
                   QStringLiteral("00001J 2024.03.01 Daikin Sensira 3 000 7 000 10 000 2 000 0 8 000"),
                   QStringLiteral("Árvíztűrő Bt."),
                   QStringLiteral("00002T 2024.03.15 Ariston Clas One 11 000 14 000 25 000 7 000 0 18 000"),
                   QStringLiteral("Kovács Ödön"),
                   QStringLiteral("00004T 2024.03.31 Daikin Sensira 1 500 11 000 12 500 1 000 1 250 10 250"),
                   QStringLiteral("mindösszesen 15 500 32 000 47 500 10 000 1 250 36 250"),
                   QStringLiteral("qrNyereseg")});
    EXPECT_TRUE(GroupSums(text).isEmpty()) << "the profit report has no groups";
    EXPECT_FALSE(text.contains(QStringLiteral("00003J")));
    EXPECT_FALSE(text.contains(QStringLiteral("00007K")));
}

TEST_F(PeriodReports, ConsumptionCountsEachItemOfSheetsReallyTakenIn) {
    const Printout out = Print(Request(PeriodReport::Consumption), QStringLiteral("qrFogyas"));
    ASSERT_EQ(out.pages, 1);
    EXPECT_EQ(out.title, QStringLiteral("Fogyások"));
    const QString text = out.all();
    // The two filters called Szűrő stay two lines; the quotation's ten and
    // the cancelled sheet's three are not consumed; half a unit shows.
    ExpectInOrder(text, {QStringLiteral("Tétel kód Tétel Mennyiség Össz ár"),
                         QStringLiteral("Felhasznált anyagok"), QStringLiteral("A01 Szűrő 3 4 500"),
                         QStringLiteral("A02 Szűrő 1 5 000"), QStringLiteral("A03 Hűtőközeg R32 0,5 6 000"),
                         QStringLiteral("összesen 15 500"), QStringLiteral("Szolgáltatások"),
                         QStringLiteral("S01 Munkadíj 4 32 000"), QStringLiteral("összesen 32 000"),
                         QStringLiteral("mindösszesen 47 500"), QStringLiteral("qrFogyas")});
    EXPECT_EQ(GroupSums(text), (QStringList{QStringLiteral("15 500"), QStringLiteral("32 000")}));
}

// No day, or a first day after the last: headings and zero sums, no group.
TEST_F(PeriodReports, EmptyAndReversedPeriodsPrintHeadingsAndZeroSums) {
    const Period empty{QDate(2030, 1, 1), QDate(2030, 1, 31)};
    const Period reversed{kMarch.last, kMarch.first};
    const std::pair<PeriodReport, QString> reports[] = {
        {PeriodReport::WorkSheetList, QStringLiteral("mindösszesen 0")},
        {PeriodReport::Revenue, QStringLiteral("mindösszesen 0")},
        {PeriodReport::Profit, QStringLiteral("mindösszesen 0 0 0 0 0 0")},
        {PeriodReport::Consumption, QStringLiteral("mindösszesen 0")}};
    for (const Period& period : {empty, reversed})
        for (const auto& [kind, total] : reports) {
            SCOPED_TRACE(PeriodReportLayoutName(kind).toStdString() + " " +
                         period.first.toString(Qt::ISODate).toStdString());
            const Printout out =
                Print(Request(kind, period), PeriodReportLayoutName(kind) + QStringLiteral("-ures"));
            ASSERT_EQ(out.pages, 1);
            const QString text = out.all();
            ExpectInOrder(text, {PeriodReportTitle(kind), PeriodText(period.first, period.last), total,
                                 PeriodReportLayoutName(kind)});
            EXPECT_TRUE(GroupSums(text).isEmpty()) << text.toStdString();
        }
}

// The browser hands over its own statement: no groups, no period label,
// the grand total of its rows.
TEST_F(PeriodReports, BrowserListHasItsOwnRowsNoGroupsAndNoPeriod) {
    PeriodReportRequest request =
        Request(PeriodReport::WorkSheetList, {QDate(2024, 3, 15), QDate(2024, 3, 15)});
    request.sql = QStringLiteral("SELECT * FROM vw_munkalap\nWHERE (ugyfel = 2)\nORDER BY munkalap DESC;");
    const Printout out = Print(request, QStringLiteral("qrMLapLista-bongeszo"));
    ASSERT_EQ(out.pages, 1);
    const QString text = out.all();
    // Sheets 7, 6, 5 and 2 in the browser's order; 15 000 + 9 999 + 150 000 + 25 000.
    ExpectInOrder(text, {QStringLiteral("Munkalapok listája"), QStringLiteral("00007K"),
                         QStringLiteral("00006J"), QStringLiteral("00005J"), QStringLiteral("00002T"),
                         QStringLiteral("mindösszesen 199 999")});
    EXPECT_TRUE(GroupSums(text).isEmpty());
    EXPECT_FALSE(text.contains(QStringLiteral(" - 2024"))) << "no period label";
    EXPECT_FALSE(text.contains(QStringLiteral("Karbantartás"))) << "no group headers";

    request.sql = QStringLiteral("SELECT * FROM vw_nincs_ilyen;");
    Query q;
    PreparePeriodQuery(q, request);
    EXPECT_THROW(OpenPeriodQuery(q, kMoney, kMoney), DbError);
}

// A list longer than a page: every page begins with the title, the period
// and the column headings; the total covers every page.
TEST_F(PeriodReports, LongListRepeatsItsHeadingOnEveryPage) {
    ExecSql(QStringLiteral(
        "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, statusz, ar_ossz) "
        "SELECT 100 + seq, 1, 2, 2, '2025-06-02', 1, 1000 FROM seq_1_to_70;"));
    const Printout out = Print(Request(PeriodReport::WorkSheetList, {QDate(2025, 6, 1), QDate(2025, 6, 30)}),
                               QStringLiteral("qrMLapLista-hosszu"));
    ExecSql(QStringLiteral("DELETE FROM munkalap WHERE munkalap > 100;"));
    ASSERT_EQ(out.pages, 2);
    for (int page = 0; page < out.pages; ++page)
        ExpectInOrder(out.texts.at(page),
                      {QStringLiteral("Munkalapok listája"), QStringLiteral("2025.06.01 - 2025.06.30"),
                       QStringLiteral("Munkalap Ügyfél Dátum Típus Dolgozó Ár"),
                       QStringLiteral("oldal: %1").arg(page + 1)});
    EXPECT_TRUE(out.texts.at(0).contains(QStringLiteral("00101J")));
    EXPECT_TRUE(out.texts.at(1).contains(QStringLiteral("00170J")));
    EXPECT_EQ(GrandTotal(out.texts.at(1)), QStringLiteral("70 000"));
}

// ---- From the period window to the output ----------------------------------

TEST_F(PeriodReports, ActionAsksForTheLastMonthThenPreviewsOnThePrinterHandedBack) {
    Beall().alapNyomtato = QStringLiteral("Irodai lézer");
    ScriptedWindows windows;
    ScriptedDialogs dialogs;
    Period proposed;
    QString captionShown = QStringLiteral("(none)");
    windows.act(AskPeriod, [&](Period& period, const QString& caption) {
        proposed = period;
        captionShown = caption;
        period = kMarch;
        return true;
    });
    QString printerProposed;
    windows.act(AskPrintMode, [&](QString& printer) {
        printerProposed = printer;
        printer = QStringLiteral("Raktári nyomtató");
        return 0;
    });
    QString previewText, previewPrinter;
    windows.act(ShowReportPreview, [&](const report::Document& doc, const QString& printer) {
        previewText = Squeezed(doc.pageText(0)).replace(QLatin1Char('\n'), QLatin1Char(' '));
        previewPrinter = printer;
    });
    RunPeriodReportAction(PeriodReport::Revenue);

    EXPECT_EQ(proposed, DefaultReportPeriod(QDate::currentDate()));
    EXPECT_TRUE(captionShown.isEmpty());
    EXPECT_EQ(printerProposed, QStringLiteral("Irodai lézer"));
    EXPECT_EQ(previewPrinter, QStringLiteral("Raktári nyomtató"));
    EXPECT_EQ(Beall().alapNyomtato, QStringLiteral("Irodai lézer")) << "the setting stays";
    ExpectInOrder(previewText, {QStringLiteral("Árbevétel"), QStringLiteral("2024.03.01 - 2024.03.31"),
                                QStringLiteral("Előleg"), QStringLiteral("29 500")});
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(PeriodReports, PrintChoiceGoesToThePrinterTheExportWindowOrNowhere) {
    ScriptedWindows windows;
    ScriptedDialogs dialogs;
    windows.script(ShowReportPreview).script(PrintReport).script(ExportDataset);

    // Printing: the laid-out report on the printer handed back.
    windows.act(AskPrintMode, [](QString& printer) {
        printer = QStringLiteral("Címkenyomtató");
        return 1;
    });
    windows.act(PrintReport, [](const report::Document& doc, const QString& printer) {
        EXPECT_EQ(doc.title, QStringLiteral("Fogyások"));
        EXPECT_EQ(printer, QStringLiteral("Címkenyomtató"));
    });
    PrintConsumptionReport(kMarch);
    EXPECT_EQ(windows.calls(QStringLiteral("PrintReport")).size(), 1u);

    // Export with the right: the export window on the report's rows, with
    // no file name of the report's own.
    Beall().excelbe = true;
    windows.answer(AskPrintMode, 2);
    windows.act(ExportDataset, [](Query& data, const QString& name) {
        EXPECT_TRUE(name.isEmpty());
        ASSERT_TRUE(data.isActive());
        EXPECT_EQ(data.recordCount(), 3);
        for (const char* column : {"munkalapstr", "datum", "rafanyag", "nyereseg"})
            EXPECT_GE(data.fieldIndex(QLatin1String(column)), 0) << column;
    });
    PrintProfitReport(kMarch);
    EXPECT_EQ(windows.calls(QStringLiteral("ExportDataset")).size(), 1u);

    // Export without the right: refused like the main window's export.
    Beall().excelbe = false;
    windows.answer(AskPrintMode, 2);
    PrintRevenueReport(kMarch);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Error);
    EXPECT_EQ(dialogs.lastCall().text, QStringLiteral("Nincs jogosultság a művelethez."));
    EXPECT_EQ(windows.calls(QStringLiteral("ExportDataset")).size(), 1u);

    // Cancelled: nothing at all.
    windows.answer(AskPrintMode, -1);
    PrintWorkSheetList(SheetListGrouping::ByEmployee, {}, kMarch);
    EXPECT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(windows.pendingAnswers(), 0);
    EXPECT_EQ(windows.calls().size(), 6u);
}

TEST_F(PeriodReports, CancelledPeriodWindowEndsTheActionWithoutOutput) {
    ScriptedWindows windows;
    windows.answer(AskPeriod, false).script(AskPrintMode);
    RunPeriodReportAction(PeriodReport::WorkSheetList, SheetListGrouping::ByManufacturer);
    EXPECT_EQ(windows.calls().size(), 1u);
}

} // namespace
} // namespace kml
