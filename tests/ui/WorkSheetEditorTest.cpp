// The work-sheet editor and the line editor as windows, offscreen, over the
// demo shop: the paths of opening and closing a sheet (new, quotation,
// printed, cancelled, locked), the pages of each trade, a lock taken on
// another workstation while the window is open, the line editor's
// recalculation and gross-up. Screenshots of the editor in every trade,
// open and locked, and of the line editor go to build/screenshots/.
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "gui/ModalDriver.h"
#include "records/CatalogueWindows.h"
#include "records/CustomerWindows.h"
#include "records/DeviceWindows.h"
#include "records/TextWindows.h"
#include "records/TypeWindows.h"
#include "reports/WorkSheetPrint.h"
#include "worksheets/PlannerWindows.h"
#include "worksheets/WorkSheetEditing.h"
#include "worksheets/WorkSheetWindows.h"
#include "worksheets/gui/GarmentDrawing.h"
#include "worksheets/gui/Tfrm_Munkalap.h"
#include "worksheets/gui/Tfrm_SorHozza.h"
#include "worksheets/gui/WorkSheetWindows.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;
using test::WhenModal;

void SaveScreenshot(QWidget* window, const QString& name) {
    const QString path = test::BuildPath(QStringLiteral("screenshots/") + name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

template <typename W> W* Child(QWidget* parent, const char* name) {
    W* child = parent->findChild<W*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

class WorkSheetEditor : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("wseditor"), TestDatabase::Contents::Demo);
        s_other = s_db->connect().release();
        InstallWorkSheetWindows();
    }
    static void TearDownTestSuite() {
        delete s_other;
        s_other = nullptr;
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        m_oldHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        QDir().mkpath(m_home.filePath(QStringLiteral("KoravelML")));
        Beall() = TBeall{};
        useProgramType(1);
        Beall().felhasznaloNev = QStringLiteral("Teszt Elek");
        SetSharedConnection(&s_db->connection());
    }
    void TearDown() override {
        Beall() = TBeall{};
        qputenv("XDG_DATA_HOME", m_oldHome);
        SetSharedConnection(&s_db->connection());
    }

    // The shop's trade as the settings would load it.
    static void useProgramType(int programType) {
        const ResultSet rs = s_db->connection().query(
            QStringLiteral("SELECT keszulekstr, vankeszulek FROM prgtipus WHERE prgtipus = %1")
                .arg(programType));
        Beall().prgtipus = programType;
        Beall().keszulekstr = rs.text(0, 0);
        Beall().vankeszulek = rs.text(0, 1) == QLatin1String("I");
    }
    static QString value(const QString& sql) {
        const ResultSet rs = s_db->connection().query(sql);
        return rs.rowCount() == 0 ? QStringLiteral("<no row>")
                                  : (rs.isNull(0, 0) ? QStringLiteral("<null>") : rs.text(0, 0));
    }
    static int number(const QString& sql) { return value(sql).toInt(); }
    static QString field(int sheet, const char* column) {
        return value(QStringLiteral("SELECT %1 FROM munkalap WHERE munkalap = %2")
                         .arg(QLatin1String(column))
                         .arg(sheet));
    }
    static int sheetCount() { return number(QStringLiteral("SELECT COUNT(*) FROM munkalap")); }
    // A demo sheet in the status with lines and, when asked, employees.
    static int demoSheet(int status) {
        return number(
            QStringLiteral("SELECT MIN(m.munkalap) FROM munkalap m WHERE m.statusz = %1 AND m.storno = 'N' "
                           "AND m.keszulek > 0 AND EXISTS (SELECT 1 FROM munkalap_tetel t WHERE t.munkalap = "
                           "m.munkalap) AND EXISTS (SELECT 1 FROM munkalap_dolgozo d WHERE d.munkalap = "
                           "m.munkalap)")
                .arg(status));
    }
    // A sheet of another trade's type with a few lines from the catalogue.
    static int tradeSheet(int type, int status) {
        const int customer = number(QStringLiteral("SELECT MIN(ugyfel) FROM ugyfel"));
        const int device =
            number(QStringLiteral("SELECT MIN(keszulek) FROM keszulek WHERE ugyfel = %1").arg(customer));
        const int sheet = QueryInt(CreateSheetSql(customer, type, device, QStringLiteral("Teszt Elek")));
        ExecSql(QStringLiteral("UPDATE munkalap SET panasz = 'Hiba leírása a vevő szerint.', kmora = 123456, "
                               "gmin1 = 62.5, gmax1 = 64, gmin2 = 3.1, gmax2 = 3.4, legellatas = 'I', "
                               "m04 = 'L, 12 db', m05 = 'Kereknyakú', m07 = 'fehér', m01 = '3', m02 = '1', "
                               "m03 = '1' WHERE munkalap = %1")
                    .arg(sheet));
        ExecSql(QStringLiteral(
                    "INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar, beszar, kedv_kap, kedv_ad, "
                    "ar_teljes, megjegyzes, egyeb) SELECT %1, tetel, 1 + tetel MOD 3, ar_elad, ar_besz, 0, "
                    "5, ar_teljes, 'demó', 'GY-1' FROM tetel WHERE tetel IN (1, 30, 31)")
                    .arg(sheet));
        ExecSql(QStringLiteral("CALL sp_arbeallit(%1);").arg(sheet));
        ExecSql(
            QStringLiteral("UPDATE munkalap SET statusz = %1 WHERE munkalap = %2").arg(status).arg(sheet));
        return sheet;
    }
    // The editor through its operation, acted on while it is shown.
    // (-1 where nothing is given; the result -1 when nothing was saved).
    static int runEditor(std::function<void(Tfrm_Munkalap*)> act, int sheet, int customer = -1, int type = -1,
                         bool quotation = false, int device = -1) {
        WhenModal<Tfrm_Munkalap>(std::move(act));
        const auto given = [](int key) { return key == -1 ? RowKey() : RowKey(key); };
        const int result = int(
            EditWorkSheet(given(sheet), given(customer), given(type), quotation, given(device)).value_or(-1));
        settle();
        return result;
    }
    // Lets the modal driver see its window gone, so that it cannot act on the
    // next test's window.
    static void settle() { QTest::qWait(50); }
    // The window in front, so that focus and keys reach its fields.
    static void activate(QWidget* window) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }

    static inline TestDatabase* s_db = nullptr;
    static inline Connection* s_other = nullptr;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
};

// ---- Opening and closing -----------------------------------------------------------

TEST_F(WorkSheetEditor, NewSheetPaths) {
    const int customer = number(QStringLiteral("SELECT MIN(ugyfel) FROM ugyfel"));
    struct Case {
        const char* name;
        bool quotation;
        std::function<void(Tfrm_Munkalap*, ScriptedWindows&, ScriptedDialogs&)> act;
        bool saved;
        bool kept;
        QStringList texts;
    };
    const std::vector<Case> cases = {
        {"OK saves the request",
         false,
         [](Tfrm_Munkalap* w, auto&, auto&) {
             QTest::keyClicks(Child<QPlainTextEdit>(w, "memPanasz"),
                              QStringLiteral("Proba 12: \\r\\n marad"));
             w->accept();
         },
         true,
         true,
         {}},
        {"quotation",
         true,
         [](Tfrm_Munkalap* w, auto&, auto&) {
             EXPECT_EQ(Child<QLabel>(w, "pnlTipus")->text(), "Árajánlat");
             EXPECT_FALSE(w->isLocked());
             // "Tovább" in the device chooser: nothing for the device button to open.
             EXPECT_FALSE(Child<QPushButton>(w, "btnKeszulek")->isEnabled());
             w->accept();
         },
         true,
         true,
         {}},
        {"cancelled: removed", false, [](Tfrm_Munkalap* w, auto&, auto&) { w->reject(); }, false, false, {}},
        {"printed, then cancelled: kept",
         false,
         [](Tfrm_Munkalap* w, ScriptedWindows& windows, auto&) {
             windows.answer(PrintWorkSheet, true);
             w->action(QStringLiteral("aNyomtatKep"))->trigger();
             EXPECT_FALSE(w->isNewSheet());
             w->reject();
         },
         false,
         true,
         {}},
        {"another workstation made a later sheet: kept, cancelled",
         false,
         [](Tfrm_Munkalap* w, auto&, auto&) {
             s_other->exec(QStringLiteral("CALL sp_ujmunkalap(0, 1, 0, 'masik');"));
             w->reject();
         },
         false,
         true,
         {worksheet_text::NewSheetKeptCancelled}},
        {"another workstation made a later sheet, with a line: asked, then cancelled with its line",
         false,
         [](Tfrm_Munkalap* w, ScriptedWindows& windows, ScriptedDialogs& dialogs) {
             windows.act(EditWorkSheetLine, [](qlonglong sheet, RowKey) {
                 ExecSql(QStringLiteral("CALL sp_munkalap_ujsor(%1,1,1,100,0,0,0,100,'','');").arg(sheet));
                 return true;
             });
             windows.answer(EditWorkSheetLine, false);
             w->showPage(Tfrm_Munkalap::LinesPage);
             w->action(QStringLiteral("aUj"))->trigger();
             s_other->exec(QStringLiteral("CALL sp_ujmunkalap(0, 1, 0, 'masik');"));
             dialogs.answer(DialogAnswer::Yes);
             w->reject();
             EXPECT_FALSE(w->isVisible());
         },
         false,
         true,
         {worksheet_text::DiscardNewSheetQuestion, worksheet_text::NewSheetKeptCancelled}},
        {"with a line: asked first, kept open on No, removed on Yes",
         false,
         [](Tfrm_Munkalap* w, ScriptedWindows& windows, ScriptedDialogs& dialogs) {
             windows.act(EditWorkSheetLine, [](qlonglong sheet, RowKey) {
                 ExecSql(QStringLiteral("CALL sp_munkalap_ujsor(%1,1,1,100,0,0,0,100,'','');").arg(sheet));
                 return true;
             });
             windows.answer(EditWorkSheetLine, false);
             w->showPage(Tfrm_Munkalap::LinesPage);
             w->action(QStringLiteral("aUj"))->trigger();
             EXPECT_EQ(w->findChild<QTableView*>(QStringLiteral("DBGrid2"))->model()->rowCount(), 1);
             dialogs.answer(DialogAnswer::No).answer(DialogAnswer::Yes);
             w->reject();
             EXPECT_TRUE(w->isVisible());
             w->reject();
         },
         false,
         false,
         {worksheet_text::DiscardNewSheetQuestion, worksheet_text::DiscardNewSheetQuestion}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = sheetCount();
        ScriptedWindows windows;
        ScriptedDialogs dialogs;
        windows.answer(ChooseDevice, 0).answer(ChooseWorkSheetType, ChosenRow{2});
        int created = -1;
        const int result = runEditor(
            [&](Tfrm_Munkalap* w) {
                created = w->sheet();
                EXPECT_TRUE(w->isNewSheet());
                c.act(w, windows, dialogs);
            },
            -1, customer, -1, c.quotation);
        EXPECT_EQ(result, c.saved ? created : -1);
        EXPECT_EQ(field(created, "munkalap") == QString::number(created), c.kept);
        EXPECT_EQ(dialogs.texts(), c.texts);
        const bool laterSheet = QString::fromUtf8(c.name).startsWith(QLatin1String("another"));
        if (c.kept) {
            EXPECT_EQ(field(created, "statusz"), c.quotation ? "0" : "1");
            // A new sheet that could not be deleted does not stay a live job.
            EXPECT_EQ(field(created, "storno"), !c.saved && laterSheet ? "I" : "N");
        }
        if (QString::fromUtf8(c.name).contains(QLatin1String("with a line"))) {
            EXPECT_EQ(
                number(
                    QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel WHERE munkalap = %1").arg(created)),
                c.kept ? 1 : 0);
        }
        if (c.saved && !c.quotation) { // a typed \r\n stays those four characters
            EXPECT_EQ(field(created, "panasz"), "Proba 12: \\r\\n marad");
        }
        EXPECT_EQ(sheetCount(), before + (c.kept ? 1 : 0) + (laterSheet ? 1 : 0));
    }
}

TEST_F(WorkSheetEditor, ALockedSheetCanOnlyBeViewedAndPrinted) {
    const int sheet = demoSheet(4);
    ASSERT_GT(sheet, 0);
    const QString before = field(sheet, "CONCAT_WS('|', megjegyzes, szlaszam, ar_eloleg)");
    ScriptedWindows windows;
    windows.answer(PrintWorkSheet, true);
    const int result = runEditor(
        [](Tfrm_Munkalap* w) {
            EXPECT_TRUE(w->isLocked());
            EXPECT_FALSE(Child<QPushButton>(w, "btnOk")->isEnabled());
            EXPECT_FALSE(Child<QDateEdit>(w, "dtpHatid")->isEnabled());
            EXPECT_FALSE(Child<QPushButton>(w, "btnNaptar")->isEnabled());
            for (const char* memo : {"memPanasz", "memVegzett", "memMegjegyzes"})
                EXPECT_TRUE(Child<QPlainTextEdit>(w, memo)->isReadOnly()) << memo;
            for (const char* edit : {"edtSzlaszam", "edtEloleg", "edtKedvezmeny"})
                EXPECT_TRUE(Child<QLineEdit>(w, edit)->isReadOnly()) << edit;
            for (const char* name : {"aUj", "aSzerkeszt", "aTorol", "aArModosit", "aKedv", "aKedv2",
                                     "aBeszur", "EditCut1", "EditPaste1"}) {
                EXPECT_FALSE(w->action(QLatin1String(name))->isVisible()) << name;
                EXPECT_FALSE(w->action(QLatin1String(name))->isEnabled()) << name;
            }
            w->action(QStringLiteral("aNyomtat"))->trigger();
            w->accept(); // OK does nothing on a locked sheet
            EXPECT_TRUE(w->isVisible());
            SaveScreenshot(w, QStringLiteral("worksheet_editor_demo_locked.png"));
            w->reject();
        },
        sheet, -1, 1);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(windows.calls("PrintWorkSheet").at(0).args, (QVariantList{sheet, true}));
    EXPECT_EQ(field(sheet, "CONCAT_WS('|', megjegyzes, szlaszam, ar_eloleg)"), before);
    EXPECT_EQ(field(sheet, "munkalap"), QString::number(sheet));
}

TEST_F(WorkSheetEditor, ASheetLockedOnAnotherWorkstationMeanwhileIsNotChanged) {
    const int sheet = demoSheet(2);
    const QString remarks = field(sheet, "megjegyzes");
    const int lines =
        number(QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel WHERE munkalap = %1").arg(sheet));
    ScriptedDialogs dialogs;
    ScriptedWindows windows;
    windows.script(EditWorkSheetLine);
    const int result = runEditor(
        [&](Tfrm_Munkalap* w) {
            EXPECT_FALSE(w->isLocked());
            Child<QPlainTextEdit>(w, "memMegjegyzes")->setPlainText(QStringLiteral("Késői megjegyzés"));
            s_other->exec(QStringLiteral("CALL sp_statuszlepes(%1,'A',2,3,NULL);").arg(sheet));
            w->showPage(Tfrm_Munkalap::LinesPage);
            w->action(QStringLiteral("aUj"))->trigger(); // refused before the line editor opens
            EXPECT_TRUE(w->isLocked());
            // The header shows the status that refused it.
            EXPECT_EQ(Child<QLineEdit>(w, "edtStatusz")->text(), LookupName(3, QStringLiteral("statusz")));
            EXPECT_FALSE(Child<QPushButton>(w, "btnOk")->isEnabled());
            EXPECT_TRUE(Child<QPlainTextEdit>(w, "memMegjegyzes")->isReadOnly());
            // What was typed stays to be copied.
            EXPECT_EQ(Child<QPlainTextEdit>(w, "memMegjegyzes")->toPlainText(), "Késői megjegyzés");
            // Closing drops it: asked first.
            dialogs.answer(DialogAnswer::Yes);
            w->reject();
        },
        sheet);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(dialogs.texts(), (QStringList{"Lezárt munkalap", edit_text::DiscardChangesQuestion}));
    EXPECT_TRUE(windows.calls().empty());
    EXPECT_EQ(field(sheet, "megjegyzes"), remarks);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel WHERE munkalap = %1").arg(sheet)),
              lines);
    EXPECT_EQ(field(sheet, "statusz"), "3");
}

TEST_F(WorkSheetEditor, ACancelledSheetIsRefusedWhoeverOpensIt) {
    const int sheet = demoSheet(1);
    ExecSql(QStringLiteral("UPDATE munkalap SET storno = 'I' WHERE munkalap = %1").arg(sheet));
    ScriptedDialogs dialogs;
    EXPECT_EQ(EditWorkSheet(sheet, std::nullopt, std::nullopt, false, std::nullopt), std::nullopt);
    EXPECT_EQ(dialogs.texts(), QStringList{"Sztornó munkalap"});
    ExecSql(QStringLiteral("UPDATE munkalap SET storno = 'N' WHERE munkalap = %1").arg(sheet));
}

// ---- Working on an open sheet ------------------------------------------------------

TEST_F(WorkSheetEditor, ActionsOnAnOpenSheet) {
    const int sheet = demoSheet(2);
    const int lines =
        number(QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel WHERE munkalap = %1").arg(sheet));
    const int firstLine = number(
        QStringLiteral("SELECT MIN(munkalap_tetel) FROM munkalap_tetel WHERE munkalap = %1").arg(sheet));
    const double total = field(sheet, "ar_ossz").toDouble();
    const int device = field(sheet, "keszulek").toInt();
    ScriptedDialogs dialogs;
    ScriptedWindows windows;
    windows.answer(EditWorkSheetLine, true).answer(EditWorkSheetLine, true).answer(EditWorkSheetLine, false);
    windows.answer(ChooseDictionaryText,
                   DictionaryText{QStringLiteral("Garancia"), QStringLiteral("1 év garancia")});
    windows.answer(EditDevice, device);
    dialogs.answerText(QStringLiteral("12.5")); // "Ár módosít": a decimal point is a decimal mark
    const int result = runEditor(
        [&](Tfrm_Munkalap* w) {
            SaveScreenshot(w, QStringLiteral("worksheet_editor_demo_open.png"));
            EXPECT_TRUE(Child<QPushButton>(w, "btnKeszulek")->isEnabled());
            QTest::mouseClick(Child<QPushButton>(w, "btnKeszulek"), Qt::LeftButton);
            // A negative discount counts as its amount; leaving the field
            // saves it and the server recomputes what is payable.
            QLineEdit* discount = Child<QLineEdit>(w, "edtKedvezmeny");
            activate(w);
            discount->setFocus();
            discount->selectAll();
            QTest::keyClicks(discount, QStringLiteral("-1000"));
            Child<QPlainTextEdit>(w, "memMegjegyzes")->setFocus();
            QApplication::processEvents();
            EXPECT_EQ(field(sheet, "ar_kedvezmeny"), "-1000");
            EXPECT_DOUBLE_EQ(field(sheet, "ar_fizetendo").toDouble(),
                             total - field(sheet, "ar_eloleg").toDouble() - 1000);

            // "Beszúr": the dictionary text replaces the selection of the memo.
            QPlainTextEdit* memo = Child<QPlainTextEdit>(w, "memMegjegyzes");
            memo->setPlainText(QStringLiteral("Lásd: GAR."));
            QTextCursor cursor = memo->textCursor();
            cursor.setPosition(6);
            cursor.setPosition(9, QTextCursor::KeepAnchor);
            memo->setTextCursor(cursor);
            w->action(QStringLiteral("aBeszur"))->trigger();
            EXPECT_EQ(memo->toPlainText(), "Lásd: 1 év garancia.");

            w->showPage(Tfrm_Munkalap::LinesPage);
            EXPECT_FALSE(w->action(QStringLiteral("aKedv"))->isVisible()); // the car workshop's only
            w->action(QStringLiteral("aUj"))->trigger();                   // offered until cancelled
            auto* grid = Child<QTableView>(w, "DBGrid2");
            grid->selectRow(0);
            w->action(QStringLiteral("aArModosit"))->trigger();
            w->accept();
        },
        sheet);
    EXPECT_EQ(result, sheet);
    EXPECT_EQ(windows.calls("EditWorkSheetLine").size(), 3u);
    EXPECT_EQ(windows.calls("ChooseDictionaryText").at(0).args.at(0), "GAR");
    EXPECT_EQ(windows.calls("EditDevice").at(0).args, (QVariantList{device, QVariant(), QVariant()}));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].caption, "Ár megadás");
    EXPECT_EQ(dialogs.calls()[0].text, "Add meg az árat!");
    EXPECT_EQ(field(sheet, "megjegyzes"), "Lásd: 1 év garancia.");
    EXPECT_EQ(
        value(QStringLiteral("SELECT egysar FROM munkalap_tetel WHERE munkalap_tetel = %1").arg(firstLine)),
        "12.5");
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel WHERE munkalap = %1").arg(sheet)),
              lines);
}

// A 1,5 kg line shows "1,5" in the editor's line grid (the workstation's
// quantity format has no decimals); discount and advance are in the money
// format like the totals beside them.
TEST_F(WorkSheetEditor, FractionalQuantitiesAndAmountsShowAsTheyAre) {
    const int sheet = demoSheet(2);
    ExecSql(QStringLiteral(
                "UPDATE munkalap_tetel SET db = 1.5 WHERE munkalap = %1 ORDER BY munkalap_tetel LIMIT 1")
                .arg(sheet));
    ExecSql(QStringLiteral("UPDATE munkalap SET ar_kedvezmeny = 12345, ar_eloleg = 20000 WHERE munkalap = %1")
                .arg(sheet));
    ExecSql(QStringLiteral("CALL sp_arbeallit(%1)").arg(sheet));
    Tfrm_Munkalap w(*BeginSheetEdit(sheet, -1, -1, false, -1));
    w.show();
    w.showPage(Tfrm_Munkalap::LinesPage);
    QApplication::processEvents();
    auto* grid = Child<QTableView>(&w, "DBGrid2");
    ASSERT_NE(grid, nullptr);
    QAbstractItemModel* model = grid->model();
    int column = -1;
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal).toString() == QStringLiteral("Mennyiség"))
            column = c;
    ASSERT_GE(column, 0);
    EXPECT_EQ(model->data(model->index(0, column)).toString(), QStringLiteral("1,5"));
    EXPECT_EQ(Child<QLineEdit>(&w, "edtKedvezmeny")->text(), QStringLiteral("12 345"));
    EXPECT_EQ(Child<QLineEdit>(&w, "edtEloleg")->text(), QStringLiteral("20 000"));
    SaveScreenshot(&w, QStringLiteral("worksheet-fractional-quantity.png"));
    w.reject();
}

TEST_F(WorkSheetEditor, PlannerButtonBooksTheStartAndTheEmployee) {
    const int sheet = tradeSheet(1, 1);
    ScriptedWindows windows;
    {
        // No planner installed yet: the button says so and does nothing.
        Tfrm_Munkalap w(*BeginSheetEdit(sheet, std::nullopt, std::nullopt, false, std::nullopt));
        EXPECT_FALSE(Child<QPushButton>(&w, "btnNaptar")->isEnabled());
        EXPECT_EQ(Child<QPushButton>(&w, "btnNaptar")->toolTip(), "Hamarosan");
    }
    const int employee = number(QStringLiteral("SELECT MIN(dolgozo) FROM dolgozo WHERE torolve = 'N'"));
    windows.answer(PickPlannerSlot, PlannerSlot{employee, 29, 1.5, QDate(2031, 5, 6)});
    AppointmentRequest asked;
    windows.act(EditAppointment, [&asked](const AppointmentRequest& request) {
        asked = request;
        return std::optional<BookedAppointment>(BookedAppointment{77, QDateTime(request.day, QTime(14, 30))});
    });
    const int result = runEditor(
        [](Tfrm_Munkalap* w) {
            QPushButton* planner = Child<QPushButton>(w, "btnNaptar");
            EXPECT_TRUE(planner->isEnabled());
            QTest::mouseClick(planner, Qt::LeftButton);
            EXPECT_EQ(Child<QDateEdit>(w, "dtpHatid")->date(), QDate(2031, 5, 6));
            EXPECT_EQ(Child<QTimeEdit>(w, "tmHatid")->time(), QTime(14, 30));
            w->accept();
        },
        sheet);
    EXPECT_EQ(result, sheet);
    ASSERT_EQ(windows.calls("EditAppointment").size(), 1u);
    EXPECT_EQ((QVariantList{asked.employee, asked.slot, asked.workSheet, asked.device, asked.customer,
                            asked.hours, asked.timeText, asked.day}),
              (QVariantList{employee, 29, sheet, -1, -1, 1.5, QStringLiteral("14:30"), QDate(2031, 5, 6)}));
    EXPECT_EQ(field(sheet, "dat_hatid"), "2031-05-06 14:30:00");
    EXPECT_EQ(
        value(QStringLiteral("SELECT COUNT(*) FROM munkalap_dolgozo WHERE munkalap = %1 AND dolgozo = %2")
                  .arg(sheet)
                  .arg(employee)),
        "1");
}

// ---- Trades ----------------------------------------------------------------------------

TEST_F(WorkSheetEditor, PagesOfEachTrade) {
    struct Case {
        int programType;
        int type;
        const char* grid;
        bool garment, gas, odometer, discounts, devices;
    };
    const Case cases[] = {
        {1, 1, "DBGrid2", false, false, false, false, true},
        {2, 4, "DBGrid3", false, false, true, true, true},
        {3, 7, "DBGrid3", true, false, false, false, false},
        {3, 8, "DBGrid3", false, false, false, false, false},
        {4, 9, "DBGrid2", false, true, false, false, true},
        {5, 11, "DBGrid3", false, false, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "program type " << c.programType << ", type " << c.type);
        useProgramType(c.programType);
        for (const int status : {2, 4}) {
            const int sheet = tradeSheet(c.type, status);
            Tfrm_Munkalap w(*BeginSheetEdit(sheet, std::nullopt, std::nullopt, false, std::nullopt));
            w.show();
            QTabWidget* pages = w.pages();
            EXPECT_TRUE(pages->isTabVisible(Tfrm_Munkalap::DescriptionPage));
            EXPECT_EQ(pages->isTabVisible(Tfrm_Munkalap::GarmentPage), c.garment);
            EXPECT_EQ(pages->isTabVisible(Tfrm_Munkalap::GasPage), c.gas);
            EXPECT_NE(w.findChild<QTableView*>(QLatin1String(c.grid)), nullptr);
            EXPECT_EQ(Child<QLineEdit>(&w, "edtKmora")->isVisibleTo(&w), c.odometer);
            EXPECT_EQ(Child<QLineEdit>(&w, "edtKeszulek")->isVisibleTo(&w), c.devices);
            EXPECT_EQ(w.isLocked(), status == 4);
            w.showPage(Tfrm_Munkalap::LinesPage);
            EXPECT_EQ(w.action(QStringLiteral("aKedv"))->isVisible(), c.discounts && status != 4);
            EXPECT_EQ(w.action(QStringLiteral("aKedv2"))->isVisible(), c.discounts && status != 4);
            const QString state = status == 4 ? QStringLiteral("locked") : QStringLiteral("open");
            SaveScreenshot(&w, QStringLiteral("worksheet_editor_%1_%2_lines.png").arg(c.type).arg(state));
            if (c.garment || c.gas) {
                w.showPage(c.garment ? Tfrm_Munkalap::GarmentPage : Tfrm_Munkalap::GasPage);
                SaveScreenshot(
                    &w, QStringLiteral("worksheet_editor_%1_%2_%3.png")
                            .arg(c.type)
                            .arg(state, c.garment ? QStringLiteral("garment") : QStringLiteral("gas")));
            }
            w.showPage(Tfrm_Munkalap::DescriptionPage);
            SaveScreenshot(&w, QStringLiteral("worksheet_editor_%1_%2.png").arg(c.type).arg(state));
            w.reject();
        }
    }
}

TEST_F(WorkSheetEditor, GarmentPositionsShowTheirMarkers) {
    useProgramType(3);
    const int sheet = tradeSheet(7, 1);
    ExecSql(
        QStringLiteral("UPDATE munkalap SET m01 = NULL, m02 = '', m03 = '2' WHERE munkalap = %1").arg(sheet));
    const int result = runEditor(
        [](Tfrm_Munkalap* w) {
            auto* drawing = w->findChild<GarmentDrawing*>();
            ASSERT_NE(drawing, nullptr);
            EXPECT_EQ(Child<QComboBox>(w, "cmbElol")->currentText(), "Nincs kép"); // empty reads as "0"
            EXPECT_TRUE(drawing->isShown(GarmentMarker::BackLeft));
            EXPECT_FALSE(drawing->isShown(GarmentMarker::FrontCentre));
            Child<QComboBox>(w, "cmbElol")->setCurrentIndex(3);
            Child<QComboBox>(w, "cmbHatul")->setCurrentIndex(0);
            EXPECT_TRUE(drawing->isShown(GarmentMarker::FrontCentre));
            EXPECT_FALSE(drawing->isShown(GarmentMarker::BackLeft));
            w->accept();
        },
        sheet);
    EXPECT_EQ(result, sheet);
    EXPECT_EQ(field(sheet, "CONCAT_WS('|', m01, m02, m03)"), "3|0|0");
}

// ---- The line editor ---------------------------------------------------------------------

TEST_F(WorkSheetEditor, LineEditorRecalculatesWhenAFieldIsLeft) {
    useProgramType(2);
    Beall().afakulcs = 27;
    const int sheet = tradeSheet(4, 1);
    ExecSql(
        QStringLiteral("UPDATE ugyfel SET kedvezmeny = 12 WHERE ugyfel = %1").arg(field(sheet, "ugyfel")));
    const int part = number(QStringLiteral("SELECT MIN(tetel) FROM tetel WHERE ezszolg = 'N'"));
    ExecSql(QStringLiteral("UPDATE tetel SET ar_teljes = 10000, ar_elad = 9500, ar_besz = 6000, kedv_kap = 0 "
                           "WHERE tetel = %1")
                .arg(part));
    ScriptedWindows windows;
    windows.answer(ChooseCatalogueItem, ChosenRow{part});
    WhenModal<Tfrm_SorHozza>([](Tfrm_SorHozza* w) {
        activate(w); // the keys below go to the focused field
        QLineEdit* list = Child<QLineEdit>(w, "edtArTeljes");
        QLineEdit* price = Child<QLineEdit>(w, "edtEgysar");
        EXPECT_EQ(w->focusWidget(), list); // the car workshop starts at the list price
        EXPECT_EQ(price->text(), "8800");
        EXPECT_EQ(Child<QLineEdit>(w, "edtKedvAd")->text(), "12");
        SaveScreenshot(w, QStringLiteral("line_editor_2.png"));
        // Leaving "Egységár" gives the discount the price means.
        price->setFocus();
        price->selectAll();
        QTest::keyClicks(price, QStringLiteral("9000"));
        QTest::keyClick(price, Qt::Key_Tab);
        EXPECT_EQ(Child<QLineEdit>(w, "edtKedvAd")->text(), "10");
        // The received discount gives the purchase price.
        QLineEdit* received = Child<QLineEdit>(w, "edtKedvKap");
        received->setText(QStringLiteral("35,5"));
        QTest::mouseClick(Child<QPushButton>(w, "btnKedvKap"), Qt::LeftButton);
        EXPECT_EQ(Child<QLineEdit>(w, "edtBeszar")->text(), "6450");
        {
            // A discount over 100% is refused by name: the window stays
            // open with what was typed and nothing is saved.
            ScriptedDialogs dialogs;
            received->setText(QStringLiteral("135"));
            QTest::mouseClick(Child<QPushButton>(w, "btnOk"), Qt::LeftButton);
            ASSERT_EQ(dialogs.calls().size(), 1u);
            EXPECT_EQ(dialogs.calls()[0].text, "Kapott kedv%: az érték 0 és 100 között lehet.");
            EXPECT_TRUE(w->isVisible());
            EXPECT_EQ(received->text(), "135");
            received->setText(QStringLiteral("35,5"));
        }
        // A quantity typed and Ctrl+Enter at once: recalculated, then saved.
        QLineEdit* quantity = Child<QLineEdit>(w, "edtDb");
        quantity->setFocus();
        quantity->selectAll();
        QTest::keyClicks(quantity, QStringLiteral("2.5"));
        QTest::keyClick(quantity, Qt::Key_Return, Qt::ControlModifier);
    });
    EXPECT_TRUE(EditWorkSheetLine(sheet, std::nullopt));
    settle();
    EXPECT_EQ(value(QStringLiteral("SELECT CONCAT_WS('|', db, egysar, beszar, kedv_kap, kedv_ad, ar_teljes) "
                                   "FROM munkalap_tetel WHERE munkalap = %1 AND tetel = %2")
                        .arg(sheet)
                        .arg(part)),
              "2.5|9000|6450|35.5|10|10000");
    ExecSql(QStringLiteral("UPDATE ugyfel SET kedvezmeny = 0 WHERE ugyfel = %1").arg(field(sheet, "ugyfel")));
}

TEST_F(WorkSheetEditor, LineEditorGrossesUpOnceAndKeepsPricesWhenTheItemChanges) {
    Beall().afakulcs = 27;
    const int sheet = tradeSheet(1, 1);
    const int line = number(
        QStringLiteral("SELECT MIN(munkalap_tetel) FROM munkalap_tetel WHERE munkalap = %1").arg(sheet));
    ExecSql(QStringLiteral("UPDATE munkalap_tetel SET db = 1, egysar = 100, beszar = 0.5, ar_teljes = 150 "
                           "WHERE munkalap_tetel = %1")
                .arg(line));
    const int other = number(QStringLiteral("SELECT MAX(tetel) FROM tetel"));
    ScriptedWindows windows;
    windows.act(ChooseCatalogueItem, [other](RowKey, bool) {
        return ChosenRow{other, QStringLiteral("Másik tétel")};
    });
    WhenModal<Tfrm_SorHozza>([](Tfrm_SorHozza* w) {
        EXPECT_EQ(w->pages()->tabText(0), "Klíma szerelő");
        EXPECT_FALSE(Child<QLineEdit>(w, "edtArTeljes")->isVisibleTo(w));
        QPushButton* gross = Child<QPushButton>(w, "btnBrutto");
        QTest::mouseClick(gross, Qt::LeftButton);
        EXPECT_FALSE(gross->isEnabled());
        EXPECT_EQ(Child<QLineEdit>(w, "edtEgysar")->text(), "127");
        EXPECT_EQ(Child<QLineEdit>(w, "edtBeszar")->text(), "1"); // 0.635
        QTest::mouseClick(Child<QPushButton>(w, "btnTetel"), Qt::LeftButton);
        EXPECT_EQ(Child<QLineEdit>(w, "edtTetelNev")->text(), "Másik tétel");
        EXPECT_EQ(Child<QLineEdit>(w, "edtEgysar")->text(), "127");
        SaveScreenshot(w, QStringLiteral("line_editor_1.png"));
        QTest::mouseClick(Child<QPushButton>(w, "btnOk"), Qt::LeftButton);
    });
    EXPECT_TRUE(EditWorkSheetLine(sheet, line));
    settle();
    EXPECT_EQ(
        value(QStringLiteral("SELECT CONCAT_WS('|', tetel, egysar, beszar, ar_teljes) FROM munkalap_tetel "
                             "WHERE munkalap_tetel = %1")
                  .arg(line)),
        QStringLiteral("%1|127|1|190").arg(other)); // 190.5 to the even neighbour
}

TEST_F(WorkSheetEditor, LineEditorOfTheCustomerService) {
    useProgramType(5);
    const int sheet = tradeSheet(11, 1);
    const int line = number(
        QStringLiteral("SELECT MIN(munkalap_tetel) FROM munkalap_tetel WHERE munkalap = %1").arg(sheet));
    WhenModal<Tfrm_SorHozza>([](Tfrm_SorHozza* w) {
        EXPECT_EQ(w->pages()->tabText(0), "Ügyfélszolgálat");
        EXPECT_FALSE(Child<QLineEdit>(w, "edtBeszar")->isVisibleTo(w));
        EXPECT_FALSE(Child<QPushButton>(w, "btnBrutto")->isVisibleTo(w));
        SaveScreenshot(w, QStringLiteral("line_editor_5.png"));
        w->reject();
    });
    EXPECT_FALSE(EditWorkSheetLine(sheet, line));
    settle();
}

} // namespace
} // namespace kml
