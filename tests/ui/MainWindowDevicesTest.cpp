// The main window's master-data and device actions, started for real on the
// demo shop: "Gyártók", "Készülék típus", "Dolgozók" (then the employees'
// planner positions renumbered), the device tab's "Új" and "Szerkeszt", the
// customer's device panel and the work sheet's device record, each with the
// list read again on the row saved.
#include "ScriptedWindows.h"
#include "foundation/QueryHelpers.h"
#include "gui/MainWindowOnDemo.h"
#include "patterns/ListDefinition.h"
#include "records/CustomerWindows.h"
#include "records/DeviceWindows.h"
#include "records/TypeWindows.h"
#include "shell/MainActions.h"

#include <QAction>
#include <QTabBar>
#include <QTableView>
#include <gtest/gtest.h>

namespace kml {
namespace {

class MainWindowDevices : public test::MainWindowOnDemo {
protected:
    static void SetUpTestSuite() { StartDemo(QStringLiteral("maindevices")); }

    // A stand-in editor that saves a new device as the real one would.
    static RowKey SaveDevice(RowKey device, RowKey type, RowKey customer) {
        EXPECT_EQ(device, std::nullopt);
        ExecSql(QStringLiteral("INSERT INTO keszulek (ugyfel, tipus, gysz) VALUES (%1, %2, 'ZZ-UJ');")
                    .arg(customer.value_or(-1))
                    .arg(type.value_or(-1)));
        return QueryInt(QStringLiteral("SELECT LAST_INSERT_ID();")); // on the window's connection
    }
};

TEST_F(MainWindowDevices, MasterDataActionsOpenTheirListsWithTheRight) {
    Tfrm_Main& w = open();
    for (const char* name : {"aGyarto", "aTipus", "aDolgozo"}) {
        EXPECT_TRUE(w.action(QString::fromLatin1(name))->isEnabled()) << name;
        EXPECT_NE(w.action(QString::fromLatin1(name))->toolTip(), SoonHint) << name;
    }
    ScriptedWindows windows;
    windows.answer(OpenLookupTable, ChosenRow{})
        .answer(OpenDeviceTypeList, ChosenRow{})
        .answer(OpenLookupTable, ChosenRow{});
    Beall().torzsszerkeszt = true;
    // An employee out of the planner's order is put back in it after "Dolgozók".
    ExecSql(QStringLiteral("UPDATE dolgozo SET sorszam = 0 WHERE dolgozo = 2;"));
    w.action(QStringLiteral("aGyarto"))->trigger();
    w.action(QStringLiteral("aTipus"))->trigger();
    w.action(QStringLiteral("aDolgozo"))->trigger();
    ASSERT_EQ(windows.calls().size(), 3u);
    EXPECT_EQ(windows.calls()[0].args.mid(0, 5),
              (QVariantList{QVariant(), false, "gyarto", false, "Gyártó"}));
    EXPECT_EQ(windows.calls()[1].args.mid(0, 2), (QVariantList{QVariant(), false}));
    EXPECT_EQ(windows.calls()[2].args.mid(0, 5),
              (QVariantList{QVariant(), false, "dolgozo", true, "Dolgozó"}));
    EXPECT_EQ(LastAction(), "frm_Main.aDolgozo");
    EXPECT_GT(QueryInt(QStringLiteral("SELECT sorszam FROM dolgozo WHERE dolgozo = 2;")), 0);
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(DISTINCT sorszam) = COUNT(*) AND MIN(sorszam) = 1 "
                                      "FROM dolgozo WHERE torolve = 'N';")),
              1);

    // Without the master-data right: the message and no window.
    Beall().torzsszerkeszt = false;
    for (const char* name : {"aGyarto", "aTipus", "aDolgozo"}) {
        m_dialogs.clear();
        w.action(QString::fromLatin1(name))->trigger();
        EXPECT_EQ(m_dialogs.texts(), QStringList{"Nincs jogosultság a művelethez."}) << name;
    }
    EXPECT_EQ(windows.calls().size(), 3u);
}

TEST_F(MainWindowDevices, DeviceTabCreatesForAChosenCustomerAndEditsTheCurrentDevice) {
    Tfrm_Main& w = open();
    w.TabControl1->setCurrentIndex(int(MainTab::Devices));
    settle();
    Query& devices = w.session().list(MainTab::Devices).query();
    const int customer = QueryInt(QStringLiteral("SELECT MIN(ugyfel) FROM vw_ugyfel WHERE ugyfel > 0;"));
    const int type = QueryInt(QStringLiteral("SELECT MIN(tipus) FROM vw_tipus;"));

    ScriptedWindows windows;
    windows.answer(OpenCustomerList, ChosenRow{customer})
        .answer(OpenDeviceTypeList, ChosenRow{type})
        .act(EditDevice, &SaveDevice);
    w.action(QStringLiteral("aUj"))->trigger();
    EXPECT_EQ(windows.calls("OpenCustomerList").at(0).args.mid(0, 2), (QVariantList{QVariant(), true}));
    EXPECT_EQ(windows.calls("OpenDeviceTypeList").at(0).args.mid(0, 2), (QVariantList{QVariant(), true}));
    const int created = QueryInt(QStringLiteral("SELECT MAX(keszulek) FROM keszulek WHERE gysz = 'ZZ-UJ';"));
    EXPECT_EQ(devices.value(QStringLiteral("keszulek")).toInt(), created)
        << "the list stands on the new device";

    // A cancelled customer choice asks nothing more.
    windows.answer(OpenCustomerList, ChosenRow{});
    w.action(QStringLiteral("aUj"))->trigger();
    EXPECT_EQ(windows.calls("OpenDeviceTypeList").size(), 1u);

    // "Szerkeszt" (F2) edits the current device and stays on it.
    devices.moveTo(2);
    const int current = devices.value(QStringLiteral("keszulek")).toInt();
    windows.answer(EditDevice, current);
    w.DBGrid5->setFocus();
    QTest::keyClick(w.DBGrid5, Qt::Key_F2);
    EXPECT_EQ(windows.calls("EditDevice").back().args, (QVariantList{current, QVariant(), QVariant()}));
    EXPECT_EQ(devices.value(QStringLiteral("keszulek")).toInt(), current);
    EXPECT_EQ(windows.pendingAnswers(), 0);
}

TEST_F(MainWindowDevices, CustomerPanelCreatesForTheCurrentCustomerAndEdits) {
    Tfrm_Main& w = open();
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    const int owner = QueryInt(QStringLiteral("SELECT MAX(k.ugyfel) FROM vw_keszulek k JOIN vw_ugyfel u ON "
                                              "u.ugyfel = k.ugyfel WHERE k.ugyfel > 0;"));
    ASSERT_TRUE(w.session().list(MainTab::Customers).query().locate(QStringLiteral("ugyfel"), owner));
    Query& panel = w.session().detail(MainDetail::CustomerDevices).query();
    const int before = panel.recordCount();
    const int type = QueryInt(QStringLiteral("SELECT MAX(tipus) FROM vw_tipus;"));

    // "Új készülék": the type, then the editor for this customer; no customer list.
    ScriptedWindows windows;
    windows.script(OpenCustomerList)
        .answer(OpenDeviceTypeList, ChosenRow{type})
        .act(EditDevice, [owner](RowKey d, RowKey t, RowKey c) {
            EXPECT_EQ(c, owner);
            return SaveDevice(d, t, c);
        });
    w.action(QStringLiteral("aUjKeszulek"))->trigger();
    EXPECT_EQ(panel.recordCount(), before + 1);
    EXPECT_EQ(panel.value(QStringLiteral("gysz")).toString(), "ZZ-UJ");
    EXPECT_EQ(panel.value(QStringLiteral("ugyfel")).toInt(), owner);

    // "Szerkeszt" of the panel (and its double-click) edits the panel's device.
    panel.moveTo(0);
    const int first = panel.value(QStringLiteral("keszulek")).toInt();
    windows.answer(EditDevice, first);
    w.action(QStringLiteral("aSzerkesztKeszulek"))->trigger();
    EXPECT_EQ(windows.calls("EditDevice").back().args, (QVariantList{first, QVariant(), QVariant()}));
    EXPECT_EQ(panel.value(QStringLiteral("keszulek")).toInt(), first);
}

TEST_F(MainWindowDevices, WorkSheetDeviceRecordEditsTheSheetsDevice) {
    Tfrm_Main& w = open();
    Query& sheets = w.session().list(MainTab::WorkSheets).query();
    ASSERT_TRUE(sheets.isActive());
    sheets.moveTo(1);
    const int sheet = sheets.value(QStringLiteral("munkalap")).toInt();
    const int device = sheets.value(QStringLiteral("keszulek")).toInt();
    ASSERT_GT(device, 0);
    ScriptedWindows windows;
    windows.answer(EditDevice, device);
    w.action(QStringLiteral("aKeszulekAdatlap"))->trigger();
    EXPECT_EQ(windows.calls().at(0).args, (QVariantList{device, QVariant(), QVariant()}));
    EXPECT_EQ(sheets.value(QStringLiteral("munkalap")).toInt(), sheet);

    // A sheet without a device says so and opens nothing.
    ExecSql(QStringLiteral("UPDATE munkalap SET keszulek = 0 WHERE munkalap = %1;").arg(sheet));
    sheets.refresh(QStringLiteral("munkalap"));
    w.action(QStringLiteral("aKeszulekAdatlap"))->trigger();
    EXPECT_EQ(m_dialogs.lastCall().text, "A munkalaphoz nem tartozik készülék.");
    EXPECT_EQ(windows.calls().size(), 1u);
    ExecSql(QStringLiteral("UPDATE munkalap SET keszulek = %1 WHERE munkalap = %2;").arg(device).arg(sheet));
}

} // namespace
} // namespace kml
