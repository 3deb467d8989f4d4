// Customer printouts on the demo shop, read back from PDF: the customer list
// after a search holds the rows of the list in their order, the envelope and
// the registered-mail form on 160 × 113 mm paper, the notes of one record
// with a memo longer than a page, Hungarian letters and cp1250's own
// characters in embedded fonts; and where each printout goes (preview,
// printer, export window, nothing) with no printer installed or one chosen.
#include "reports/CustomerPrints.h"

#include "PdfText.h"
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "components/report/Report.h"
#include "exchange/DatasetExport.h"
#include "foundation/Folders.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "patterns/ListController.h"
#include "reports/ReportWindows.h"
#include "shell/MainSession.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
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

// The envelope's paper, 160 × 113 mm, in whole points as the PDF states it.
const QString kFormPaper = QStringLiteral("454 x 320 pts");

void ExpectInOrder(const QString& text, const QStringList& pieces) {
    qsizetype at = 0;
    for (const QString& piece : pieces) {
        const qsizetype found = text.indexOf(piece, at);
        ASSERT_GE(found, 0) << "missing or out of order: " << piece.toStdString();
        at = found + piece.size();
    }
}

// What a test sees of the main window: the customers' list.
class CustomersOnly final : public MainContext {
public:
    explicit CustomersOnly(ListController& customers) : m_customers(customers) {}
    MainTab currentTab() const override { return MainTab::Customers; }
    int statusTab() const override { return 0; }
    ListController& list(MainTab) override { return m_customers; }
    ListController& detail(MainDetail) override { throw std::logic_error("no detail lists here"); }

private:
    ListController& m_customers;
};

class CustomerPrints : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("customerprints"), TestDatabase::Contents::Demo);
        // cp1250's own characters, and a customer without any address.
        ExecSql(QStringLiteral(
            "INSERT INTO ugyfel (ugyfel, ugyfel_nev, cim_irsz, cim_varos, cim_cim, megjegyzes) "
            "VALUES (900, '„Ősz” – Kft. € Š ś ť ž', '1117', 'Budapest', 'Bartók Béla út 5.', "
            "'Számla „papíron” – 100 €'), (901, 'Cím Nélküli Nándor', NULL, NULL, NULL, NULL);"));
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

    // The document as PDF: pdfinfo's paper and pages, pdftotext's pages.
    struct Pdf {
        test::PdfInfo info;
        QStringList pages;
        QString path;
        QString all() const { return pages.join(QLatin1Char('\n')); }
    };
    Pdf Save(const report::Document& doc, const QString& name) {
        Pdf pdf;
        pdf.path = m_dir.filePath(name);
        report::SaveAsPdf(doc, pdf.path);
        const QString kept = test::BuildPath(QStringLiteral("screenshots"));
        QDir().mkpath(kept);
        QFile::remove(kept + QLatin1Char('/') + name);
        QFile::copy(pdf.path, kept + QLatin1Char('/') + name);
        pdf.info = ReadPdfInfo(pdf.path);
        // The fonts' ligatures ("ﬁ") read back as the letters they join.
        for (const QString& page : ReadPdfPages(pdf.path))
            pdf.pages << Squeezed(page)
                             .replace(QChar(0xFB01), QStringLiteral("fi"))
                             .replace(QChar(0xFB02), QStringLiteral("fl"));
        return pdf;
    }

    static TestDatabase* s_db;
    QTemporaryDir m_dir;
};

TestDatabase* CustomerPrints::s_db = nullptr;

MainRoutes& Routes() {
    static MainRoutes routes = [] {
        MainRoutes r;
        RegisterMainRoutes(r);
        return r;
    }();
    return routes;
}

// ---- The customer list ------------------------------------------------------

TEST_F(CustomerPrints, ListAfterASearchHoldsTheRowsShownInTheirOrder) {
    ListController customers(Routes().list(MainTab::Customers).list);
    customers.open();
    customers.search(QStringLiteral("Budapest"));
    ExecSql(QStringLiteral(
        "UPDATE ugyfel SET megjegyzes = REPEAT('Hosszú megjegyzés, amely több sorba tördelődik. ', 40) "
        "WHERE ugyfel IN (SELECT ugyfel FROM (SELECT MIN(ugyfel) ugyfel FROM vw_ugyfel WHERE "
        "cim_varos = 'Budapest') x);"));
    customers.reread();
    customers.sortBy(QStringLiteral("cim_varos"));
    QStringList shown;
    Query& q = customers.query();
    for (int r = 0; r < q.recordCount(); ++r) {
        q.moveTo(r);
        shown << q.asString(QStringLiteral("ugyfel_nev"));
    }
    ASSERT_GT(shown.size(), 5);
    Query all;
    all.setSql(QStringLiteral("SELECT COUNT(*) n FROM vw_ugyfel WHERE ugyfel > 0;"));
    all.open();
    ASSERT_LT(shown.size(), all.asInt(QStringLiteral("n"))) << "the search left customers out";

    ScriptedWindows windows;
    windows.answer(InstalledPrinterNames, QStringList{});
    report::Document printed;
    QString printer = QStringLiteral("(none)");
    windows.act(ShowReportPreviewPages, [&](report::PageStream& pages, const QString& p) {
        printed = pages.document();
        report::Page page;
        int index = 0;
        while (pages.next(page, index)) {
            EXPECT_EQ(index, printed.pageCount());
            printed.pages.push_back(page);
        }
        printer = p;
    });
    Beall().alapNyomtato = QStringLiteral("Irodai lézer"); // not installed: the default printer
    const MainHandler* preview = Routes().handler(QStringLiteral("aNyomtatKep"), MainTab::Customers);
    ASSERT_NE(preview, nullptr);
    CustomersOnly main(customers);
    (*preview)(main);
    ASSERT_EQ(windows.calls(QStringLiteral("ShowReportPreviewPages")).size(), 1u);
    EXPECT_TRUE(printer.isEmpty());
    EXPECT_EQ(printed.title, QStringLiteral("Ügyfelek listája"));

    const Pdf pdf = Save(printed, QStringLiteral("qrUgyfel.pdf"));
    const QString text = pdf.all();
    ExpectInOrder(text, {QStringLiteral("Ügyfelek"), QStringLiteral("névsorban"),
                         QStringLiteral("Hűs-Lég Klímaszerviz Kft."),
                         QStringLiteral("ügyfél cím telefon dátum/figy.")});
    ExpectInOrder(text, shown);
    for (const QString& name : shown)
        EXPECT_EQ(text.count(name), 1) << name.toStdString() << " printed once";
    EXPECT_FALSE(text.contains(QStringLiteral("Cím Nélküli Nándor"))) << "not in the search";
    EXPECT_TRUE(text.contains(QStringLiteral("qrUgyfel")));
    EXPECT_TRUE(text.contains(QStringLiteral("oldal: 1")));

    // Written page by page, the file holds the same pages.
    const QString streamed = test::BuildPath(QStringLiteral("screenshots/qrUgyfel-streamed.pdf"));
    Query same;
    OpenCustomerListQuery(same, customers.query().sql().join(QLatin1Char('\n')));
    SaveCustomerListPdf(same, ReadShopTexts(), streamed, printed.printed);
    EXPECT_EQ(ReadPdfInfo(streamed).pages, pdf.info.pages);
    EXPECT_EQ(ReadPdfPages(streamed), ReadPdfPages(pdf.path));
}

TEST_F(CustomerPrints, ListGoesToTheInstalledPrinterOrRefusesAnEmptyList) {
    ListController customers(Routes().list(MainTab::Customers).list);
    customers.open();
    CustomersOnly main(customers);
    ScriptedWindows windows;
    ScriptedDialogs dialogs;
    windows.answer(InstalledPrinterNames,
                   QStringList{QStringLiteral("Raktár"), QStringLiteral("Irodai Lézer")});
    QString printer;
    windows.act(PrintReport, [&](const report::Document& doc, const QString& p) {
        EXPECT_GT(doc.pageCount(), 0);
        printer = p;
    });
    Beall().alapNyomtato = QStringLiteral("irodai lézer");
    (*Routes().handler(QStringLiteral("aNyomtat"), MainTab::Customers))(main);
    EXPECT_EQ(printer, QStringLiteral("Irodai Lézer"));

    // A search that finds nobody prints nothing.
    windows.script(PrintReport).script(ShowReportPreviewPages);
    customers.search(QStringLiteral("nincsilyenügyfél"));
    ASSERT_FALSE(customers.hasRow());
    for (const char* action : {"aNyomtat", "aNyomtatKep", "aBoritek", "aAjanlott"})
        (*Routes().handler(QLatin1String(action), MainTab::Customers))(main);
    EXPECT_EQ(windows.calls().size(), 2u) << "the printer list and the one printout above";
    ASSERT_EQ(dialogs.calls().size(), 4u);
    EXPECT_EQ(dialogs.lastCall().text, QStringLiteral("Nincs sor kiválasztva."));
}

TEST_F(CustomerPrints, HungarianLettersAndCp1250CharactersAreEmbeddedInThePdf) {
    Query q;
    OpenCustomerListQuery(
        q, QStringLiteral("SELECT * FROM vw_ugyfel\nWHERE ugyfel = 900\nORDER BY ugyfel_nev;"));
    const Pdf pdf = Save(MakeCustomerListDocument(q, ReadShopTexts()), QStringLiteral("qrUgyfel-cp1250.pdf"));
    EXPECT_TRUE(pdf.all().contains(QStringLiteral("„Ősz” – Kft. € Š ś ť ž")));
    EXPECT_TRUE(pdf.all().contains(QStringLiteral("Számla „papíron” – 100 €")));
    EXPECT_TRUE(pdf.all().contains(QStringLiteral("Hűs-Lég Klímaszerviz Kft.")));

    // Every font of the file travels with it.
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {pdf.path});
    ASSERT_TRUE(fonts.waitForFinished(20000));
    const QStringList lines =
        QString::fromUtf8(fonts.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 2) << "a heading, a rule and at least one font";
    for (const QString& line : lines.mid(2)) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        ASSERT_GE(columns.size(), 5) << line.toStdString();
        // name type [encoding] emb sub uni object ID: emb is the fifth field from the end.
        EXPECT_EQ(columns.at(columns.size() - 5), QStringLiteral("yes")) << line.toStdString();
    }
}

// ---- Envelope and registered-mail form ------------------------------------------

TEST_F(CustomerPrints, EnvelopeAndFormOnTheirOwnPaper) {
    QTemporaryDir data;
    const QString oldData = DataFolder();
    SetDataFolder(data.path());
    QImage logo(60, 30, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(data.filePath(QStringLiteral("Logo.bmp"))));
    const QImage found = LoadShopLogo();
    SetDataFolder(oldData);
    EXPECT_EQ(found.size(), QSize(60, 30)) << "Logo.bmp is looked for in the data folder";

    const report::Document envelope = MakeEnvelopeDocument(900, found);
    bool hasImage = false;
    for (const report::Atom& a : envelope.pages.at(0).atoms)
        hasImage = hasImage || a.kind == report::Atom::Kind::Image;
    EXPECT_TRUE(hasImage);
    const Pdf e = Save(envelope, QStringLiteral("qrBoritek.pdf"));
    EXPECT_EQ(e.info.pages, 1);
    EXPECT_TRUE(e.info.pageSize.startsWith(kFormPaper)) << e.info.pageSize.toStdString();
    ExpectInOrder(e.all(), {QStringLiteral("Hűs-Lég Klímaszerviz Kft."),
                            QStringLiteral("Budapest, Budafoki út 183."), QStringLiteral("1117")});
    ExpectInOrder(e.all(), {QStringLiteral("„Ősz” – Kft. € Š ś ť ž"), QStringLiteral("részére"),
                            QStringLiteral("Budapest"), QStringLiteral("Bartók Béla út 5.")});

    // Unknown customer: one empty page; one without an address: empty lines.
    const Pdf unknown = Save(MakeEnvelopeDocument(123456, QImage()), QStringLiteral("qrBoritek-unknown.pdf"));
    EXPECT_EQ(unknown.info.pages, 1);
    EXPECT_FALSE(unknown.all().contains(QStringLiteral("részére")));
    const Pdf bare = Save(MakeEnvelopeDocument(901, QImage()), QStringLiteral("qrBoritek-bare.pdf"));
    EXPECT_TRUE(bare.all().contains(QStringLiteral("Cím Nélküli Nándor")));

    const Pdf form = Save(MakeRegisteredFormDocument(900), QStringLiteral("qrAjanlott.pdf"));
    EXPECT_EQ(form.info.pages, 1);
    EXPECT_TRUE(form.info.pageSize.startsWith(kFormPaper)) << form.info.pageSize.toStdString();
    ExpectInOrder(form.all(),
                  {QStringLiteral("Hűs-Lég Klímaszerviz Kft."), QStringLiteral("Budapest, Budafoki út 183."),
                   QStringLiteral("1117"), QStringLiteral("„Ősz” – Kft. € Š ś ť ž"),
                   QStringLiteral("1117 Budapest"), QStringLiteral("Bartók Béla út 5.")});
    EXPECT_EQ(envelope.pageLayout.margins(QPageLayout::Millimeter), QMarginsF(10, 10, 10, 10));
    EXPECT_EQ(MakeRegisteredFormDocument(901).pageLayout.margins(QPageLayout::Millimeter),
              QMarginsF(12, 10, 10, 10));
}

TEST_F(CustomerPrints, FormTakesNullTownAndAddressAsEmpty) {
    ExecSql(QStringLiteral("UPDATE tulajdonos SET varos = NULL;"));
    EXPECT_EQ(ReadFormSender().varoscim, QStringLiteral(", Budafoki út 183."));
    ExecSql(QStringLiteral("UPDATE tulajdonos SET cim = NULL;"));
    EXPECT_EQ(ReadFormSender().varoscim, QStringLiteral(", "));
    ExecSql(QStringLiteral("UPDATE tulajdonos SET varos = 'Budapest', cim = 'Budafoki út 183.';"));
}

TEST_F(CustomerPrints, EnvelopeAndFormGoStraightToTheDefaultPrinter) {
    ScriptedWindows windows;
    QStringList printed;
    for (int i = 0; i < 2; ++i)
        windows.act(PrintReport, [&](const report::Document& doc, const QString& printer) {
            EXPECT_TRUE(printer.isEmpty()) << "the default printer";
            printed << doc.title;
        });
    PrintEnvelope(900);
    PrintRegisteredForm(900);
    EXPECT_EQ(printed,
              (QStringList{QStringLiteral("Boríték nyomtatás"), QStringLiteral("Boríték nyomtatás")}));
}

// ---- Notes ------------------------------------------------------------------------

TEST_F(CustomerPrints, NotesOfOneRecordNewestFirstWithALongMemoBrokenAcrossPages) {
    QStringList memo;
    for (int i = 1; i <= 150; ++i)
        memo << QStringLiteral("sor %1: a kazán „bekötése” ellenőrizve – rendben.")
                    .arg(i, 3, 10, QLatin1Char('0'));
    ExecSql(
        QStringLiteral("INSERT INTO megj (megj, id, megjtipus, rovid, megjegyzes, felhasznalo, datum) VALUES "
                       "(901, 12, 2, 'Első jegyzet', 'rövid', 'anna', '2024-03-01 08:00'), "
                       "(902, 12, 2, 'Hosszú jegyzet', %1, 'béla', '2024-03-02 09:30'), "
                       "(903, 12, 1, 'Ügyfél jegyzete', 'nem ide', 'anna', '2024-03-03 10:00'), "
                       "(904, 12, 3, 'Készülék jegyzete', 'nem ide', 'anna', '2024-03-03 11:00');")
            .arg(SqlStr(memo.join(QStringLiteral("\r\n")))));
    Query notes;
    OpenNotesQuery(notes, 2, 12);
    ASSERT_EQ(notes.recordCount(), 2) << "only the work sheet's own notes";
    const Pdf pdf =
        Save(MakeNotesDocument(notes, ReadShopTexts(), QStringLiteral("00012K – Klíma karbantartás")),
             QStringLiteral("qrMegjegyzes.pdf"));
    EXPECT_GE(pdf.info.pages, 2);
    EXPECT_EQ(pdf.info.title, QStringLiteral("Megjegyzések"));
    const QString text = pdf.all();
    ExpectInOrder(text, {QStringLiteral("Megjegyzések"), QStringLiteral("00012K – Klíma karbantartás"),
                         QStringLiteral("Dátum Felhasználó Rövid"),
                         QStringLiteral("2024.03.02. 09:30 béla Hosszú jegyzet")});
    ExpectInOrder(text, memo); // every line, in order, none lost at the page break
    ExpectInOrder(text, {QStringLiteral("sor 150"), QStringLiteral("2024.03.01. 08:00 anna Első jegyzet")});
    EXPECT_FALSE(text.contains(QStringLiteral("nem ide")));
    for (const QString& page : pdf.pages) {
        EXPECT_TRUE(page.contains(QStringLiteral("KoravelML"))) << "the footer names the product";
        EXPECT_TRUE(page.contains(QStringLiteral("qrMegjegyzes")));
    }
}

TEST_F(CustomerPrints, NotesPrintChoiceGoesToPreviewPrinterExportOrNowhere) {
    ScriptedWindows windows;
    ScriptedDialogs dialogs;
    windows.script(ShowReportPreview).script(PrintReport).script(ExportDataset);
    const auto choose = [&](int choice, int index = -1) {
        windows.act(AskPrintModeIndex, [choice, index](int& printerIndex) {
            EXPECT_EQ(printerIndex, -1) << "the first printer proposed";
            printerIndex = index;
            return choice;
        });
    };
    // Cancelled: nothing.
    choose(-1);
    PrintNotes(1, 1, QStringLiteral("Kovács Anna"));
    EXPECT_EQ(windows.calls().size(), 1u);

    choose(0);
    windows.act(ShowReportPreview, [](const report::Document& doc, const QString&) {
        EXPECT_TRUE(doc.pageText(0).contains(QStringLiteral("Kovács Anna")));
    });
    PrintNotes(1, 1, QStringLiteral("Kovács Anna"));
    EXPECT_EQ(windows.calls(QStringLiteral("ShowReportPreview")).size(), 1u);

    choose(1, 1);
    windows.answer(InstalledPrinterNames, QStringList{QStringLiteral("Első"), QStringLiteral("Második")});
    QString printer;
    windows.act(PrintReport, [&](const report::Document&, const QString& p) { printer = p; });
    PrintNotes(1, 1, QStringLiteral("Kovács Anna"));
    EXPECT_EQ(printer, QStringLiteral("Második"));

    // Export: only with the export right.
    choose(2);
    PrintNotes(1, 1, QStringLiteral("Kovács Anna"));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.lastCall().text, QStringLiteral("Nincs jogosultság a művelethez."));
    Beall().excelbe = true;
    choose(2);
    windows.act(ExportDataset, [](Query& data, const QString& name) {
        EXPECT_TRUE(name.isEmpty());
        EXPECT_GE(data.fieldIndex(QStringLiteral("megjegyzes")), 0);
    });
    PrintNotes(1, 1, QStringLiteral("Kovács Anna"));
    EXPECT_EQ(windows.calls(QStringLiteral("ExportDataset")).size(), 1u);
    EXPECT_EQ(windows.pendingAnswers(), 0);
}

} // namespace
} // namespace kml
