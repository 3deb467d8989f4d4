// The "Esedékes" window offscreen on a small shop: its periods, colours,
// row actions and the refusal when another workstation marked a reminder
// done first; a screenshot of each period.
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/WindowTesting.h"
#include "records/CustomerWindows.h"
#include "reports/PeriodReports.h"
#include "shell/gui/Windows.h"
#include "worksheets/DueList.h"
#include "worksheets/WorkSheetBrowsers.h"
#include "worksheets/WorkSheetWindows.h"
#include "worksheets/gui/Tfrm_Esedekes.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace kml;
using kml::test::SaveScreenshot;
using kml::test::TestDatabase;

namespace {

class DueWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        db = new TestDatabase(QStringLiteral("dueui"), TestDatabase::Contents::Schema);
        for (const char* sql : {
                 "INSERT INTO ugyfel (ugyfel, ugyfel_nev, kapcsolat, telefon, dat_figyelmeztet) VALUES "
                 "(1, 'Kazános Kálmán', '', '+36 30 111 2222', CURDATE() - INTERVAL 12 DAY), "
                 "(2, 'Fűtő Főző Kft.', 'Nagy Ilona', '+36 1 222 3333', CURDATE() + INTERVAL 3 DAY), "
                 "(3, 'Távoli Tímea', '', '', CURDATE() + INTERVAL 20 DAY), "
                 "(4, 'Jövő Jenő', '', '', CURDATE() + INTERVAL 90 DAY)",
                 "INSERT INTO gyarto (gyarto, gyarto_nev) VALUES (1, 'Vaillant')",
                 "INSERT INTO tipus (tipus, gyarto, tipus_nev) VALUES (1, 1, 'ecoTEC plus')",
                 "INSERT INTO keszulek (keszulek, ugyfel, tipus, gysz, dat_muszaki, dat_garilejar) VALUES "
                 "(1, 1, 1, 'VA-1001', CURDATE() + INTERVAL 1 DAY, NULL), "
                 "(2, 2, 1, 'VA-1002', NULL, CURDATE() + INTERVAL 25 DAY)",
             })
            ExecSql(QString::fromUtf8(sql));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override {
        Beall() = TBeall{};
        Beall().muszakistr = QStringLiteral("Éves karbantartás");
        Beall().nyomtathat = true;
        Beall().excelbe = true;
    }
    void TearDown() override { Beall() = TBeall{}; }

    static QStringList Column(Tfrm_Esedekes& w, const char* field) {
        QStringList values;
        for (int r = 0; r < w.query().recordCount(); ++r)
            values << ValueAt(w.query(), r, QLatin1String(field)).toString();
        return values;
    }

    static inline TestDatabase* db = nullptr;
};

} // namespace

TEST_F(DueWindow, PeriodsListColourAndAreShown) {
    Tfrm_Esedekes w;
    w.openAt(std::nullopt);
    w.resize(1100, 420);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Esedékes"));
    EXPECT_EQ(w.periodBox()->currentText(), QString::fromUtf8("Következő 30 nap"));
    EXPECT_EQ(w.heading()->text(), QString::fromUtf8("Esedékes: Következő 30 nap  "));
    // By date: the overdue reminder first, the one 90 days away left out.
    EXPECT_EQ(Column(w, "ugyfel_nev"),
              (QStringList{QString::fromUtf8("Kazános Kálmán"), QString::fromUtf8("Kazános Kálmán"),
                           QString::fromUtf8("Fűtő Főző Kft."), QString::fromUtf8("Távoli Tímea"),
                           QString::fromUtf8("Fűtő Főző Kft.")}));
    EXPECT_EQ(Column(w, "esemeny"),
              (QStringList{QString::fromUtf8("Emlékeztető"), QString::fromUtf8("Éves karbantartás"),
                           QString::fromUtf8("Emlékeztető"), QString::fromUtf8("Emlékeztető"),
                           QString::fromUtf8("Garancia lejár")}));
    EXPECT_EQ(w.definition().colouring.style(w.query(), 0, false).background, DueOverdueColor);
    EXPECT_EQ(w.definition().colouring.style(w.query(), 2, false).background, DueThisWeekColor);
    SaveScreenshot(&w, QStringLiteral("due_next30.png"));

    QComboBox* box = w.periodBox();
    box->setCurrentIndex(int(DuePreset::Overdue));
    emit box->activated(int(DuePreset::Overdue));
    EXPECT_EQ(Column(w, "ugyfel_nev"), QStringList{QString::fromUtf8("Kazános Kálmán")});
    SaveScreenshot(&w, QStringLiteral("due_overdue.png"));

    // "Időszak...": the period window's choice, far enough for everything.
    ScriptedWindows windows;
    windows.act(AskPeriod, [](Period& period, const QString&) {
        period.first = QDate(2000, 1, 1);
        period.last = QDate(2999, 1, 1);
        return true;
    });
    box->setCurrentIndex(int(DuePreset::Custom));
    emit box->activated(int(DuePreset::Custom));
    EXPECT_EQ(w.list().rowCount(), 6);
    EXPECT_EQ(w.heading()->text(), QStringLiteral("Esedékes: 2000.01.01 - 2999.01.01  "));
    // The search keeps to the period.
    w.list().search(QStringLiteral("VA-100"));
    EXPECT_EQ(w.list().rowCount(), 2);
    SaveScreenshot(&w, QStringLiteral("due_custom_search.png"));
}

TEST_F(DueWindow, RowActionsOpenTheRecordsAndMarkDoneOnce) {
    ScriptedDialogs dialogs;
    ScriptedWindows windows;
    Tfrm_Esedekes w;
    w.openAt(DueRowKey(DueKind::Inspection, 1));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_EQ(w.currentKey(), DueRowKey(DueKind::Inspection, 1));

    windows.answer(EditWorkSheet, RowKey(77)).answer(EditCustomer, RowKey(1));
    windows.act(BrowseWorkSheets, [](int, int) {});
    w.listAction(QStringLiteral("aMLapNeki"))->trigger();
    w.listAction(QStringLiteral("aMlapjai"))->trigger();
    w.listAction(QStringLiteral("aUgyfelAdatlap"))->trigger();
    // A new sheet for the customer and its device; the device's history.
    EXPECT_EQ(windows.calls("EditWorkSheet").at(0).args,
              (QVariantList{QVariant(), 1LL, QVariant(), false, 1LL}));
    EXPECT_EQ(windows.calls("BrowseWorkSheets").at(0).args, (QVariantList{-1, 1}));
    EXPECT_EQ(windows.calls("EditCustomer").at(0).args, QVariantList{1LL});

    // Another workstation marks the overdue reminder done first.
    ASSERT_TRUE(w.list().locate(DueRowKey(DueKind::Reminder, 1)));
    const QDate seen = w.currentValue(QStringLiteral("esedekes")).toDate();
    const std::unique_ptr<Connection> other = db->connect();
    ASSERT_EQ(MarkDone(*other, DueKind::Reminder, 1, seen, 12), MarkDoneResult::Moved);
    dialogs.answerChoice(3);
    w.listAction(QStringLiteral("aElvegezve"))->trigger();
    EXPECT_EQ(dialogs.calls().back().text, due_text::ChangedMeanwhile);
    // The list shows the date as it is now: a year away, out of the period.
    EXPECT_FALSE(w.list().locate(DueRowKey(DueKind::Reminder, 1)));
    EXPECT_EQ(
        QueryInt(QStringLiteral("SELECT DATEDIFF(dat_figyelmeztet, CURDATE() + INTERVAL 1 YEAR) FROM ugyfel "
                                "WHERE ugyfel = 1"),
                 -1),
        0);

    // Marking the second customer's reminder done here moves it out as well.
    ASSERT_TRUE(w.list().locate(DueRowKey(DueKind::Reminder, 2)));
    dialogs.answerChoice(0);
    w.listAction(QStringLiteral("aElvegezve"))->trigger();
    EXPECT_FALSE(w.list().locate(DueRowKey(DueKind::Reminder, 2)));
    EXPECT_EQ(
        QueryInt(QStringLiteral("SELECT DATEDIFF(dat_figyelmeztet, CURDATE() + INTERVAL 3 DAY + INTERVAL 1 "
                                "MONTH) FROM ugyfel WHERE ugyfel = 2"),
                 -1),
        0);
}
