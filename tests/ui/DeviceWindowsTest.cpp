// The device list and the device editor as real windows (offscreen) on a
// fixture of their own: the chooser's three results, the list of one
// customer, the editor's pages in each program type (with screenshots),
// serial numbers in capitals, dates set and cleared, empty numbers, the type
// and customer buttons, and a new device saved under the key the insert gave.
#include "records/DeviceWindows.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/ModalDriver.h"
#include "gui/WindowTesting.h"
#include "records/CustomerWindows.h"
#include "records/TypeWindows.h"
#include "records/gui/Tfrm_TorzsKeszulek.h"
#include "records/gui/Tfrm_TorzsKeszulek_Szerkeszt.h"
#include "shell/gui/Windows.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace kml;
using kml::test::Activate;
using kml::test::SaveScreenshot;
using kml::test::TestDatabase;
using kml::test::TypeInto;
using kml::test::WhenModal;

namespace {

QStringList VisibleTabs(const QTabWidget* pages) {
    QStringList titles;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i))
            titles << pages->tabText(i);
    return titles;
}

// The texts of the labels on a page, in order.
QStringList Labels(QWidget* page) {
    QStringList texts;
    for (QLabel* label : page->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

class DeviceWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        db = new TestDatabase(QStringLiteral("deviceui"), TestDatabase::Contents::Schema);
        for (const char* sql :
             {"INSERT INTO gyarto (gyarto, gyarto_nev) VALUES (1, 'Bosch'), (2, 'Opel');",
              "INSERT INTO tipus (tipus, gyarto, tipus_nev) VALUES (1, 1, 'WTX 3000'), (2, 2, 'Astra G');",
              "INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (1, 'Első Ede'), (2, 'Második Mária');",
              "INSERT INTO keszulek (keszulek, ugyfel, tipus, gysz, torolve, dat_vasarol, evjarat) VALUES "
              "(1, 1, 1, 'AAA-111', 'N', '2020-02-03', 2019), (2, 1, 2, 'BBB-222', 'N', NULL, NULL), "
              "(3, 1, 1, 'TOROLT', 'I', NULL, NULL), (4, 2, 1, 'CCC-333', 'N', NULL, NULL), "
              "(5, 2, 99, 'NINCSTIPUS', 'N', NULL, NULL);"})
            ExecSql(QString::fromUtf8(sql));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override { useProgramType(1, "Gy.szám", "Készülék"); }
    void TearDown() override { Beall() = TBeall{}; }

    static void useProgramType(int type, const char* serialWord, const char* deviceWord) {
        Beall().prgtipus = type;
        Beall().gyszstr = QString::fromUtf8(serialWord);
        Beall().keszulekstr = QString::fromUtf8(deviceWord);
    }
    // The editor on the device, shown as EditDevice shows it.
    static bool Open(Tfrm_TorzsKeszulek_Szerkeszt& w, int device) {
        if (!w.startEdit(device))
            return false;
        w.showNames();
        w.show();
        return QTest::qWaitForWindowActive(&w);
    }
    static QString Stored(const char* column, int device) {
        return QueryStr(QStringLiteral("SELECT IFNULL(%1, 'NULL') FROM keszulek WHERE keszulek = %2;")
                            .arg(QString::fromLatin1(column))
                            .arg(device));
    }

    static inline TestDatabase* db = nullptr;
};

TEST_F(DeviceWindows, ChooserGivesTheDeviceZeroForGoOnAndNothingForClose) {
    struct Case {
        const char* what;
        std::function<void(Tfrm_TorzsKeszulek*)> act;
        RowKey expected;
    } cases[] = {
        {"Elfogad on the second row",
         [](Tfrm_TorzsKeszulek* w) {
             w->query().moveTo(1);
             QTest::keyClick(w->grid(), Qt::Key_Return);
         },
         2},
        {"Tovább", [](Tfrm_TorzsKeszulek* w) { QTest::keyClick(w->grid(), Qt::Key_F6); }, 0},
        {"Bezár", [](Tfrm_TorzsKeszulek* w) { QTest::keyClick(w->grid(), Qt::Key_Escape); }, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WhenModal<Tfrm_TorzsKeszulek>([&c](Tfrm_TorzsKeszulek* w) {
            ASSERT_TRUE(Activate(w));
            EXPECT_EQ(w->windowTitle(), "Készülék");
            EXPECT_EQ(w->heading()->text(), "Készülékek: Első Ede  ");
            // The customer's live devices only, by serial number.
            EXPECT_EQ(w->list().rowCount(), 2);
            EXPECT_TRUE(w->listAction(QStringLiteral("aTovabb"))->isVisible());
            c.act(w);
        });
        EXPECT_EQ(ChooseDevice(std::nullopt, true, 1), c.expected);
    }
    // Not a chooser: no "Tovább", no "Elfogad"; F6 does nothing.
    WhenModal<Tfrm_TorzsKeszulek>([](Tfrm_TorzsKeszulek* w) {
        ASSERT_TRUE(Activate(w));
        EXPECT_FALSE(w->listAction(QStringLiteral("aTovabb"))->isVisible());
        QTest::keyClick(w->grid(), Qt::Key_F6);
        EXPECT_TRUE(w->isVisible());
        w->reject();
    });
    EXPECT_EQ(ChooseDevice(std::nullopt, false, 1), std::nullopt);
}

TEST_F(DeviceWindows, ListOfAllCustomersTitlesTheSerialNumberWithTheShopsWord) {
    useProgramType(2, "Rendsz./alváz", "Gépjármű"); // the editor's page says "Rendszám" whatever this is
    ScriptedWindows windows;
    Tfrm_TorzsKeszulek w(-1);
    w.setChooser(true);
    w.openAt(4);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.heading()->text(), "Gépjármű  ");
    EXPECT_EQ(w.model()->headerData(0, Qt::Horizontal).toString(), "Rendsz./alváz");
    EXPECT_EQ(w.list().rowCount(), 4) << "every live device";
    EXPECT_EQ(w.currentKey(), 4);
    SaveScreenshot(&w, QStringLiteral("device_list.png"));

    // "Új sor" asks the customer here, then the type, then the editor.
    windows.answer(OpenCustomerList, ChosenRow{2})
        .answer(OpenDeviceTypeList, ChosenRow{2})
        .answer(EditDevice, std::nullopt);
    QTest::keyClick(w.grid(), Qt::Key_Insert);
    EXPECT_EQ(windows.calls("EditDevice").at(0).args, (QVariantList{QVariant(), 2, 2}));
    // "Szerkeszt" edits the current device.
    windows.answer(EditDevice, 4);
    QTest::keyClick(w.grid(), Qt::Key_F2);
    EXPECT_EQ(windows.calls("EditDevice").at(1).args, (QVariantList{4, QVariant(), QVariant()}));
    w.reject();
}

TEST_F(DeviceWindows, EditorShowsThePagesOfTheProgramType) {
    struct Case {
        int programType;
        const char* serialWord;
        const char* deviceWord;
        QStringList pages;
        QString firstSerialLabel;
    } cases[] = {
        {1, "Gy.szám", "Készülék", {"Készülék adatlap"}, "Gy.szám"},
        {2, "Rendsz./alváz", "Gépjármű", {"Gépjármű adatlap"}, "Rendszám"}, // the page keeps its word
        {4, "Gy.szám", "Gázkészülék", {"Készülék adatlap"}, "Gy.szám"},
        {5, "Telefonszám", "SIM kártya", {"SIM kártya"}, "Telefonszám"},
        {3, "Gy.szám", "Készülék", {"Készülék adatlap", "Gépjármű adatlap", "SIM kártya"}, "Gy.szám"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.programType);
        useProgramType(c.programType, c.serialWord, c.deviceWord);
        Tfrm_TorzsKeszulek_Szerkeszt w;
        ASSERT_TRUE(Open(w, 1));
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(c.deviceWord) + " adatlap");
        EXPECT_EQ(VisibleTabs(w.pages()), c.pages);
        QWidget* page = w.pages()->currentWidget();
        EXPECT_TRUE(Labels(page).contains(c.firstSerialLabel));
        // The first serial number has the focus; the type and customer boxes show names.
        auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(focused->text(), "AAA-111");
        for (QLineEdit* box : w.findChildren<QLineEdit*>(QRegularExpression("_tipus$")))
            EXPECT_EQ(box->text(), "Bosch WTX 3000");
        for (QLineEdit* box : w.findChildren<QLineEdit*>(QRegularExpression("_ugyfel$")))
            EXPECT_EQ(box->text(), "Első Ede");
        // Every page shows the same date.
        for (QLineEdit* date : w.findChildren<QLineEdit*>(QRegularExpression("dat_vasarol$")))
            EXPECT_EQ(date->text(), "2020.02.03");
        SaveScreenshot(&w, QStringLiteral("device_editor_type%1.png").arg(c.programType));
        if (c.programType == 3) {
            w.pages()->setCurrentIndex(1);
            SaveScreenshot(&w, QStringLiteral("device_editor_type3_vehicle.png"));
            w.pages()->setCurrentIndex(2);
            SaveScreenshot(&w, QStringLiteral("device_editor_type3_sim.png"));
        }
        w.reject();
    }
}

TEST_F(DeviceWindows, SerialNumbersInCapitalsDatesAndEmptyNumbersAreStoredAsTyped) {
    useProgramType(3, "Gy.szám", "Készülék"); // all three pages: one value on every page
    ScriptedDialogs dialogs;
    Tfrm_TorzsKeszulek_Szerkeszt w;
    ASSERT_TRUE(Open(w, 1));
    auto* serial = w.findChild<QLineEdit*>("p1_gysz");
    auto* vehicleSerial = w.findChild<QLineEdit*>("p2_gysz");
    auto* second = w.findChild<QLineEdit*>("p1_gysz2");
    auto* year = w.findChild<QLineEdit*>("p1_evjarat");
    ASSERT_TRUE(serial && vehicleSerial && second && year);
    EXPECT_EQ(serial->maxLength(), 50);

    serial->selectAll();
    TypeInto(serial, QStringLiteral("abc-őű 1"));
    EXPECT_EQ(serial->text(), "ABC-ŐŰ 1");
    EXPECT_EQ(vehicleSerial->text(), "ABC-ŐŰ 1");
    // Pasted text too.
    QApplication::clipboard()->setText(QStringLiteral("wvwzzz1jz"));
    second->setFocus();
    QTest::keyClick(second, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(second->text(), "WVWZZZ1JZ");

    // Letters do not go into a number; an emptied number is no number.
    year->setFocus();
    year->selectAll();
    QTest::keyClick(year, Qt::Key_Backspace);
    QTest::keyClicks(year, QStringLiteral("x"));
    EXPECT_EQ(year->text(), "");

    // The purchase date cleared on one page is cleared on the other; the
    // warranty end set from the date dialog.
    w.findChild<QPushButton*>("p3_dat_vasarolClear")->click();
    EXPECT_EQ(w.findChild<QLineEdit*>("p1_dat_vasarol")->text(), "");
    dialogs.answerDate(QDate(2027, 1, 31));
    w.findChild<QPushButton*>("p1_dat_garilejarSet")->click();
    EXPECT_EQ(w.findChild<QLineEdit*>("p1_dat_garilejar")->text(), "2027.01.31");

    QTest::keyClick(year, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(Stored("gysz", 1), "ABC-ŐŰ 1");
    EXPECT_EQ(Stored("gysz2", 1), "WVWZZZ1JZ");
    EXPECT_EQ(Stored("evjarat", 1), "NULL");
    EXPECT_EQ(Stored("dat_vasarol", 1), "NULL");
    EXPECT_EQ(Stored("dat_garilejar", 1), "2027-01-31");
}

TEST_F(DeviceWindows, TypeAndCustomerButtonsChooseAndTheFocusGoesToTheSerialNumber) {
    useProgramType(2, "Rendszám", "Gépjármű");
    ScriptedWindows windows;
    Tfrm_TorzsKeszulek_Szerkeszt w;
    ASSERT_TRUE(Open(w, 5));
    auto* type = w.findChild<QLineEdit*>("p2_tipus");
    EXPECT_EQ(type->text(), "") << "a type that is gone shows nothing";

    windows.act(OpenDeviceTypeList, [](RowKey, bool) {
        return ChosenRow{2, QStringLiteral("Opel Astra G")};
    });
    w.findChild<QLineEdit*>("p2_gysz2")->setFocus();
    w.findChild<QToolButton*>("p2_tipusChoose")->click();
    EXPECT_EQ(windows.calls().at(0).args.mid(0, 2), (QVariantList{99, true}));
    EXPECT_EQ(type->text(), "Opel Astra G");
    EXPECT_EQ(w.findChild<QLineEdit*>("p1_tipus")->text(), "Opel Astra G");
    EXPECT_EQ(QApplication::focusWidget(), w.findChild<QLineEdit*>("p2_gysz"));

    windows.answer(OpenCustomerList, ChosenRow{});
    w.findChild<QToolButton*>("p2_ugyfelChoose")->click();
    EXPECT_EQ(windows.calls().at(1).args.mid(0, 3), (QVariantList{2, true, "Ügyfél választás"}));
    EXPECT_EQ(w.findChild<QLineEdit*>("p2_ugyfel")->text(), "Második Mária") << "cancelled: unchanged";

    w.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(Stored("tipus", 5), "2");
    EXPECT_EQ(Stored("ugyfel", 5), "2");
}

TEST_F(DeviceWindows, NewDeviceIsSavedForTheCustomerWithTheType) {
    WhenModal<Tfrm_TorzsKeszulek_Szerkeszt>([](Tfrm_TorzsKeszulek_Szerkeszt* w) {
        ASSERT_TRUE(Activate(w));
        EXPECT_EQ(w->findChild<QLineEdit*>("p1_tipus")->text(), "Bosch WTX 3000");
        EXPECT_EQ(w->findChild<QLineEdit*>("p1_ugyfel")->text(), "Második Mária");
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("uj-1"));
        w->findChild<QPushButton*>("Button1")->click();
    });
    const int saved = int(EditDevice(std::nullopt, 1, 2).value_or(-1));
    EXPECT_EQ(saved, QueryInt(QStringLiteral("SELECT keszulek FROM keszulek WHERE gysz = 'UJ-1';")));
    EXPECT_EQ(Stored("ugyfel", saved), "2");
    EXPECT_EQ(Stored("tipus", saved), "1");
    EXPECT_EQ(Stored("torolve", saved), "N");

    WhenModal<Tfrm_TorzsKeszulek_Szerkeszt>([](Tfrm_TorzsKeszulek_Szerkeszt* w) { w->reject(); });
    EXPECT_EQ(EditDevice(std::nullopt, 1, 2), std::nullopt);
    EXPECT_EQ(EditDevice(0, std::nullopt, std::nullopt), std::nullopt) << "no device 0 to edit";
}

} // namespace
