// The report windows offscreen: the preview of each work-sheet layout at
// whole-page zoom (screenshots under build/screenshots/), its keys and zoom,
// the whole road from PrintWorkSheet to the modal preview, the print-choice
// window and direct printing on printers that are not there.

#include "reports/ReportWindows.h"

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "components/gui/ReportPreview.h"
#include "components/gui/ReportPrinting.h"
#include "components/report/Printers.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/ModalDriver.h"
#include "reports/WorkSheetPrint.h"
#include "reports/gui/ReportWindows.h"
#include "reports/gui/Tfrm_NyomValaszt.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using report::ReportPreview;
using test::TestDatabase;

QString Shot(const QString& name) {
    QDir().mkpath(test::BuildPath(QStringLiteral("screenshots")));
    return test::BuildPath(QStringLiteral("screenshots/") + name);
}

template <typename T> T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << "no " << name;
    return child;
}

class ReportWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("reportwindows"), TestDatabase::Contents::Demo);
        ExecSql(QStringLiteral("INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, statusz) "
                               "SELECT 901, mlaptipus, ugyfel, keszulek, '2024-03-06', 3 FROM munkalap "
                               "WHERE munkalap = 12;"));
        ExecSql(QStringLiteral(
            "INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar) "
            "SELECT 901, (SELECT MIN(tetel) FROM tetel), 1, 1000 * s.seq FROM seq_1_to_60 s;"));
        InstallReportWindows();
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override { Beall() = TBeall{}; }
    void TearDown() override { Beall() = TBeall{}; }

    static report::Document Sheet(int sheet, WorkSheetLayout layout) {
        WorkSheetPrintOptions o;
        o.programType = 1;
        return MakeWorkSheetDocument(sheet, layout, o);
    }

    static TestDatabase* s_db;
};

TestDatabase* ReportWindows::s_db = nullptr;

TEST_F(ReportWindows, PreviewOfEveryLayoutAtWholePage) {
    const std::pair<WorkSheetLayout, int> layouts[] = {
        {WorkSheetLayout::qrMunkalap, 12},  {WorkSheetLayout::qrMunkalap0, 12},
        {WorkSheetLayout::qrMunkalapA, 11}, {WorkSheetLayout::qrMunkalapA0, 11},
        {WorkSheetLayout::qrMunkalapG, 7},  {WorkSheetLayout::qrMunkalapG0, 7}};
    for (const auto& [layout, sheet] : layouts) {
        SCOPED_TRACE(LayoutName(layout).toStdString());
        const report::Document doc = Sheet(sheet, layout);
        ReportPreview preview(doc, {});
        preview.resize(700, 940);
        preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
        EXPECT_EQ(preview.objectName(), QStringLiteral("QRStandardPreview"));
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Nyomtatási kép - ") + doc.title);
        EXPECT_EQ(preview.zoomMode(), ReportPreview::ZoomMode::WholePage);
        EXPECT_EQ(Child<QLabel>(&preview, "lblPage")->text(), QStringLiteral("1 / 1"));
        // The whole page is in sight: the page view fits the scroll area.
        QWidget* view = Child<QWidget>(&preview, "pageView");
        EXPECT_LE(view->height(), preview.height());
        EXPECT_TRUE(preview.grab().save(
            Shot(QStringLiteral("preview-") + LayoutName(layout) + QStringLiteral(".png"))));
    }
}

TEST_F(ReportWindows, PreviewKeysPageThroughZoomAndClose) {
    const report::Document doc = Sheet(901, WorkSheetLayout::qrMunkalap);
    ASSERT_EQ(doc.pageCount(), 2);
    ReportPreview preview(doc, {});
    preview.resize(700, 900);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    QLabel* page = Child<QLabel>(&preview, "lblPage");
    QTest::keyClick(&preview, Qt::Key_PageDown);
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_EQ(page->text(), QStringLiteral("2 / 2"));
    EXPECT_FALSE(Child<QAction>(&preview, "actNext")->isEnabled());
    QTest::keyClick(&preview, Qt::Key_PageDown); // stays on the last page
    EXPECT_EQ(preview.currentPage(), 1);
    QTest::keyClick(&preview, Qt::Key_Home);
    EXPECT_EQ(page->text(), QStringLiteral("1 / 2"));
    QTest::keyClick(&preview, Qt::Key_End);
    EXPECT_EQ(preview.currentPage(), 1);
    QTest::keyClick(&preview, Qt::Key_PageUp);
    EXPECT_EQ(preview.currentPage(), 0);

    const int whole = preview.zoomPercent();
    QTest::keyClick(&preview, Qt::Key_Plus);
    EXPECT_EQ(preview.zoomMode(), ReportPreview::ZoomMode::Percent);
    EXPECT_GT(preview.zoomPercent(), whole);
    const int larger = preview.zoomPercent();
    QTest::keyClick(&preview, Qt::Key_Minus);
    EXPECT_LT(preview.zoomPercent(), larger);
    QComboBox* zoom = Child<QComboBox>(&preview, "cmbZoom");
    zoom->setCurrentIndex(1);
    emit zoom->activated(1);
    EXPECT_EQ(preview.zoomMode(), ReportPreview::ZoomMode::PageWidth);
    // Page width: the page fills the width, so it is taller than the window.
    EXPECT_GT(Child<QWidget>(&preview, "pageView")->height(), preview.height());
    EXPECT_TRUE(preview.grab().save(Shot(QStringLiteral("preview-pagewidth.png"))));

    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
}

TEST_F(ReportWindows, PrintWorkSheetOpensTheModalPreviewOfTheChosenLayout) {
    for (const bool installed :
         {PrintWorkSheet.isInstalled(), ShowReportPreview.isInstalled(), PrintReport.isInstalled(),
          AskPrintMode.isInstalled(), AskPrintModeIndex.isInstalled()})
        EXPECT_TRUE(installed);
    Beall().prgtipus = 4;
    ScriptedDialogs dialogs;
    dialogs.answerChoice(1);
    QString title, pageText;
    test::WhenModal<ReportPreview>([&](ReportPreview* preview) {
        title = preview->windowTitle();
        pageText = Child<QLabel>(preview, "lblPage")->text();
        preview->grab().save(Shot(QStringLiteral("preview-modal-qrMunkalapG.png")));
        QTest::keyClick(preview, Qt::Key_Escape);
    });
    EXPECT_TRUE(PrintWorkSheet(7, false));
    EXPECT_TRUE(title.startsWith(QStringLiteral("Nyomtatási kép - G756675-"))) << title.toStdString();
    EXPECT_EQ(pageText, QStringLiteral("1 / 1"));
}

TEST_F(ReportWindows, DirectPrintingOnAPrinterThatIsNotThereFailsWithThePrinterMessage) {
    const report::Document doc = Sheet(12, WorkSheetLayout::qrMunkalap);
    try {
        PrintReport(doc, QStringLiteral("Nincs-Ilyen-Nyomtato"));
        ADD_FAILURE() << "printed on a printer that does not exist";
    } catch (const report::PrinterError& e) {
        EXPECT_NE(std::string(e.what()).find("Printer selected is not valid: Nincs-Ilyen-Nyomtato"),
                  std::string::npos);
    }
    if (report::DefaultPrinterName().isEmpty()) {
        EXPECT_THROW(
            {
                try {
                    PrintReport(doc, QString());
                } catch (const report::PrinterError& e) {
                    EXPECT_NE(std::string(e.what()).find("There is no default printer currently selected"),
                              std::string::npos);
                    throw;
                }
            },
            report::PrinterError);
    }
}

// ---- Print choice -------------------------------------------------------------

TEST_F(ReportWindows, PrintChoiceEnablesThePrinterBoxOnlyForPrintingAndHandsBackTheChoice) {
    const QStringList printers = {QStringLiteral("Iroda-HP"), QStringLiteral("Raktár")};
    QString printer;
    bool checkedStart = false;
    test::WhenModal<Tfrm_NyomValaszt>([&](Tfrm_NyomValaszt* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Nyomtatás típusa"));
        EXPECT_TRUE(Child<QRadioButton>(w, "rbItem0")->isChecked());
        EXPECT_EQ(Child<QRadioButton>(w, "rbItem2")->text(), QStringLiteral("Excelbe (CSV)"));
        QComboBox* box = Child<QComboBox>(w, "cmbPrinter");
        QLabel* label = Child<QLabel>(w, "lblPrinter");
        EXPECT_EQ(label->text(), QStringLiteral("Nyomtató"));
        EXPECT_EQ(box->currentText(), QStringLiteral("Iroda-HP")); // the first printer for an empty name
        EXPECT_FALSE(box->isEnabled());
        EXPECT_FALSE(label->isEnabled());
        const QPixmap preview = Child<QLabel>(w, "lblPicture")->pixmap();
        QTest::mouseClick(Child<QRadioButton>(w, "rbItem1"), Qt::LeftButton);
        EXPECT_TRUE(box->isEnabled());
        EXPECT_TRUE(label->isEnabled());
        EXPECT_NE(Child<QLabel>(w, "lblPicture")->pixmap().toImage(), preview.toImage());
        w->grab().save(Shot(QStringLiteral("print-choice.png")));
        QTest::mouseClick(Child<QRadioButton>(w, "rbItem2"), Qt::LeftButton);
        EXPECT_FALSE(box->isEnabled());
        QTest::mouseClick(Child<QRadioButton>(w, "rbItem1"), Qt::LeftButton);
        box->setEditText(QStringLiteral("Raktár"));
        checkedStart = true;
        QTest::mouseClick(Child<QPushButton>(w, "btnOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Tfrm_NyomValaszt::AskMode(printer, printers), 1);
    EXPECT_TRUE(checkedStart);
    EXPECT_EQ(printer, QStringLiteral("Raktár"));

    // Cancel: -1 and the name as it was.
    printer = QStringLiteral("Iroda-HP");
    test::WhenModal<Tfrm_NyomValaszt>([](Tfrm_NyomValaszt* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(Tfrm_NyomValaszt::AskMode(printer, printers), -1);
    EXPECT_EQ(printer, QStringLiteral("Iroda-HP"));
}

TEST_F(ReportWindows, PrintChoiceByIndexProposesTheFirstPrinter) {
    const QStringList printers = {QStringLiteral("Iroda-HP"), QStringLiteral("Raktár")};
    int index = -1;
    test::WhenModal<Tfrm_NyomValaszt>([](Tfrm_NyomValaszt* w) {
        QComboBox* box = Child<QComboBox>(w, "cmbPrinter");
        EXPECT_FALSE(box->isEditable());
        EXPECT_EQ(box->currentIndex(), 0);
        QTest::keyClick(w, Qt::Key_Return); // OK is the default: preview
    });
    EXPECT_EQ(Tfrm_NyomValaszt::AskModeIndex(index, printers), 0);
    EXPECT_EQ(index, 0);

    index = 1;
    test::WhenModal<Tfrm_NyomValaszt>([](Tfrm_NyomValaszt* w) {
        EXPECT_EQ(Child<QComboBox>(w, "cmbPrinter")->currentIndex(), 1);
        QTest::mouseClick(Child<QPushButton>(w, "btnCancel"), Qt::LeftButton);
    });
    EXPECT_EQ(Tfrm_NyomValaszt::AskModeIndex(index, printers), -1);
    EXPECT_EQ(index, 1);

    // No printers at all: the index stays -1.
    index = -1;
    test::WhenModal<Tfrm_NyomValaszt>([](Tfrm_NyomValaszt* w) { QTest::keyClick(w, Qt::Key_Return); });
    EXPECT_EQ(Tfrm_NyomValaszt::AskModeIndex(index, {}), 0);
    EXPECT_EQ(index, -1);
}

} // namespace
} // namespace kml
