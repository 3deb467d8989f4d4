// The planner, the appointment editor and the main window's "Naptár" tab,
// offscreen against the server: geometry, colours, mouse and keys, the
// operations behind them, and screenshots of a busy day.
#include "worksheets/PlannerWindows.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "gui/ModalDriver.h"
#include "patterns/ListController.h"
#include "shell/gui/Tfrm_Main.h"
#include "shell/gui/Windows.h"
#include "worksheets/PlannerSlots.h"
#include "worksheets/gui/PlannerWindows.h"
#include "worksheets/gui/SlotGrid.h"
#include "worksheets/gui/Tfrm_Elojegyzes.h"
#include "worksheets/gui/Tfrm_Naptar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

const QDate Day(2031, 3, 4);

// The colour painted at a point of a grid's viewport.
QColor PixelAt(SlotGrid* grid, QPoint at) {
    return grid->viewport()->grab().toImage().pixelColor(at);
}

void Shoot(QWidget* window, const QString& name) {
    QTest::qWait(30);
    QDir().mkpath(test::BuildPath(QStringLiteral("screenshots")));
    EXPECT_TRUE(window->grab().save(test::BuildPath(QStringLiteral("screenshots/%1.png").arg(name))));
}

class PlannerWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new TestDatabase(QStringLiteral("plannerwin")); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        SetSharedConnection(&s_db->connection());
        m_oldHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        InstallPlannerWindows();
        for (const char* table : {"elojegyzes", "munkalap", "dolgozo", "ugyfel"})
            exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        // A busy day: five employees, long and short appointments.
        const char* names[] = {"Bodnár Anna", "Csizmár Béla", "Dékány Cecil", "Erdős Dóra", "Fekete Ernő"};
        for (int i = 0; i < 5; ++i)
            m_staff.push_back(
                insert(QStringLiteral("INSERT INTO dolgozo (dolgozo_nev, sorszam) VALUES (%1, %2)")
                           .arg(SqlLiteral(QString::fromUtf8(names[i])))
                           .arg(i + 1)));
        const struct {
            int who, slot, halfHours;
            const char* text;
        } bookings[] = {{0, 16, 4, "Klíma telepítés, Szeged, Kárász utca 6."},
                        {0, 22, 1, "Telefon"},
                        {1, 17, 3, "Éves karbantartás"},
                        {1, 26, 6, "Hőszivattyú beüzemelés (egész délután)"},
                        {2, 20, 2, "Felmérés"},
                        {3, 16, 24, "Szabadság"},
                        {4, 30, 1, "Anyagbeszerzés"}};
        for (const auto& b : bookings)
            exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'%2',%3,%4,-1,0,0,%5);")
                     .arg(m_staff[size_t(b.who)])
                     .arg(Day.toString(Qt::ISODate))
                     .arg(b.slot)
                     .arg(b.halfHours)
                     .arg(SqlLiteral(QString::fromUtf8(b.text))));
    }
    void TearDown() override {
        qputenv("XDG_DATA_HOME", m_oldHome);
        Beall() = TBeall{};
    }
    static void exec(const QString& sql) { s_db->connection().exec(sql); }
    static int insert(const QString& sql) {
        exec(sql);
        return int(s_db->connection().lastInsertId());
    }

    static TestDatabase* s_db;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    ScriptedDialogs m_dialogs;
    std::vector<int> m_staff;
};

TestDatabase* PlannerWindows::s_db = nullptr;

TEST_F(PlannerWindows, PlannerLaysOutTheDayAsDesigned) {
    Tfrm_Naptar w;
    w.showDay(Day);
    w.show();
    w.resize(1400, 900);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    SlotGrid* grid = w.Naptar;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Naptár"));
    EXPECT_EQ(w.lblNap->text(), QStringLiteral("2031 március 4. kedd"));
    EXPECT_EQ(w.edHossz->text(), QStringLiteral("1"));

    // 08:00 to 19:30: 24 time labels, the first at y 44, the last at y 2344.
    ASSERT_EQ(grid->rowCount(), 24);
    EXPECT_EQ(grid->rowTop(0) + PlannerTimeCell(16).texts[0].y, 44);
    EXPECT_EQ(grid->rowTop(23) + PlannerTimeCell(39).texts[0].y, 2344);
    // One column per position: a name above, occupied slots the full row
    // high, free ones 4 pixels in.
    ASSERT_EQ(grid->columns().size(), 6u);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(grid->headerRect(k), QRect((k - 1) * 250 + 89, 4, 242, 21)) << k;
    EXPECT_EQ(grid->columns()[2].header, QStringLiteral("Csizmár Béla"));
    const int r = 2; // the second row: 08:30
    EXPECT_EQ(grid->cellRect(r - 1, 2), QRect(89 + 250, r * 100 - 68, 242, 100)) << "Béla's 08:30";
    EXPECT_EQ(grid->cellRect(r - 1, 3), QRect(89 + 500, r * 100 - 64, 242, 92)) << "Cecil's free 08:30";

    // Colours: Béla's 1.5 hours in one colour, a free slot grey, lighter
    // under the mouse, darker while pressed.
    const QColor belas = PixelAt(grid, grid->viewportRect(1, 2).topLeft() + QPoint(3, 3));
    for (int row : {2, 3})
        EXPECT_EQ(PixelAt(grid, grid->viewportRect(row, 2).topLeft() + QPoint(3, 3)), belas) << row;
    EXPECT_NE(belas, PlannerFree);
    const QPoint free = grid->viewportRect(1, 3).center();
    const QPoint corner = grid->viewportRect(1, 3).topLeft() + QPoint(3, 3);
    EXPECT_EQ(PixelAt(grid, corner), PlannerFree);
    QTest::mouseMove(grid->viewport(), free);
    EXPECT_EQ(PixelAt(grid, corner), PlannerFreeHover);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, free);
    EXPECT_EQ(PixelAt(grid, corner), PlannerFreePressed);
    Shoot(&w, QStringLiteral("planner-busy-day"));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, free);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    ASSERT_TRUE(w.picked());
    EXPECT_EQ(w.picked()->employee, m_staff[2]);
    EXPECT_EQ(w.picked()->slot, 17);
    EXPECT_EQ(w.picked()->hours, 1.0);
}

TEST_F(PlannerWindows, PlannerKeysLengthAndTheOperation) {
    Tfrm_Naptar w;
    w.showDay(Day);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::setActiveWindow(&w);
    // The day actions by their keys; Enter in the date box shows its date.
    QTest::keyClick(&w, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(w.grid().day, Day.addDays(1));
    EXPECT_EQ(w.DateTimePicker1->date(), Day.addDays(1));
    QTest::keyClick(&w, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(w.grid().day, Day.addDays(-1));
    QTest::keyClick(&w, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(w.grid().day, ServerDate());
    w.DateTimePicker1->setDate(Day);
    QTest::keyClick(w.DateTimePicker1, Qt::Key_Return);
    EXPECT_EQ(w.grid().day, Day);
    EXPECT_EQ(w.lblNap->text(), DayHeading(Day));

    // The length: at least half an hour, at most the day's slots.
    QTest::mouseClick(w.btnRovidebb, Qt::LeftButton);
    EXPECT_EQ(w.edHossz->text(), QStringLiteral("0,5"));
    EXPECT_FALSE(w.btnRovidebb->isEnabled());
    for (int i = 0; i < 30; ++i)
        w.btnHosszabb->click();
    EXPECT_EQ(w.edHossz->text(), QStringLiteral("12"));
    EXPECT_FALSE(w.btnHosszabb->isEnabled());
    // A click on a taken slot picks nothing.
    w.pickCell(1, 2);
    EXPECT_TRUE(w.isVisible());
    w.close();

    // The operation: Esc gives nothing; a click gives the slot.
    test::WhenModal<Tfrm_Naptar>([](Tfrm_Naptar* planner) { QTest::keyClick(planner, Qt::Key_Escape); });
    EXPECT_EQ(PickPlannerSlot(), std::nullopt);
    test::WhenModal<Tfrm_Naptar>([this](Tfrm_Naptar* planner) {
        planner->showDay(Day);
        planner->btnHosszabb->click(); // 1.5 hours
        const int row = planner->grid().rowOf(28);
        planner->Naptar->scrollToRow(row);
        QTest::mouseClick(planner->Naptar->viewport(), Qt::LeftButton, {},
                          planner->Naptar->viewportRect(row, 5).center());
    });
    const std::optional<PlannerSlot> slot = PickPlannerSlot();
    ASSERT_TRUE(slot);
    const PlannerSlot& picked = *slot;
    EXPECT_EQ(picked.employee, m_staff[4]);
    EXPECT_EQ(picked.slot, 28);
    EXPECT_EQ(picked.hours, 1.0) << "Ernő is booked at 15:00";
    EXPECT_EQ(picked.day, Day);
}

TEST_F(PlannerWindows, AppointmentEditorShowsTheDraftAndBooks) {
    Beall().keszulekstr = QStringLiteral("Berendezés");
    const int owner = insert(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES ('Szabó Éva')"));
    exec(QStringLiteral("CALL sp_ujmunkalap(%1, 1, 0, 'teszt');").arg(owner));
    const int sheet = QueryInt(QStringLiteral("SELECT LAST_INSERT_ID();"));
    exec(QStringLiteral("UPDATE munkalap SET panasz = 'Nem hűt' WHERE munkalap = %1").arg(sheet));

    test::WhenModal<Tfrm_Elojegyzes>([&](Tfrm_Elojegyzes* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Előjegyzés szerkesztés"));
        EXPECT_EQ(w->lblDolgozo->text(), QStringLiteral("Dékány Cecil"));
        EXPECT_EQ(w->edIdo->text(), QStringLiteral("08:30"));
        EXPECT_EQ(w->edDatum->text(), QStringLiteral("2031.03.04"));
        EXPECT_EQ(w->edHossz->text(), QStringLiteral("1"));
        EXPECT_EQ(w->cbSzoveg->currentText(), QStringLiteral("Nem hűt"));
        EXPECT_EQ(w->edUgyfel->text(), QStringLiteral("Szabó Éva"));
        EXPECT_EQ(w->lblKeszulek->text(), QStringLiteral("Berendezés"));
        EXPECT_FALSE(w->btnUgyfel->isVisible()) << "a sheet brings its customer";
        EXPECT_FALSE(w->btnKeszulek->isVisible());
        EXPECT_TRUE(w->cbSzoveg->findText(QStringLiteral("Éves karbantartás")) >= 0)
            << "earlier texts offered";
        // Cecil is booked at 10:00: 1.5 hours at most.
        for (int i = 0; i < 4; ++i)
            w->btnHosszabb->click();
        EXPECT_EQ(w->edHossz->text(), QStringLiteral("1,5"));
        EXPECT_FALSE(w->btnHosszabb->isEnabled());
        w->cbSzoveg->setEditText(QStringLiteral("Nem hűt – sürgős"));
        Shoot(w, QStringLiteral("appointment-editor"));
        w->btnOk->click();
    });
    const AppointmentRequest request{m_staff[2], 17, sheet, -1, -1, 1, QStringLiteral("08:30"), Day};
    const std::optional<BookedAppointment> booked = EditAppointment(request);
    ASSERT_TRUE(booked);
    const int number = int(booked->appointment);
    EXPECT_EQ(booked->start, QDateTime(Day, QTime(8, 30)));
    EXPECT_EQ(number,
              QueryInt(QStringLiteral(
                           "SELECT MAX(elojegyzes) FROM elojegyzes WHERE dolgozo = %1 AND munkalap = %2;")
                           .arg(m_staff[2])
                           .arg(sheet)));
    EXPECT_EQ(
        QueryStr(QStringLiteral(
                     "SELECT GROUP_CONCAT(ora ORDER BY ora) FROM elojegyzes WHERE elojegyzes.munkalap = %1;")
                     .arg(sheet)),
        QStringLiteral("17,18,19"));
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT szoveg FROM elojegyzes WHERE elojegyzes = %1;").arg(number)),
              QStringLiteral("Nem hűt – sürgős"));

    // Cancelled: nothing written.
    test::WhenModal<Tfrm_Elojegyzes>([](Tfrm_Elojegyzes* w) { w->btnMegsem->click(); });
    EXPECT_EQ(EditAppointment({m_staff[4], 20, -1, -1, -1, 1, QStringLiteral("10:00"), Day}), std::nullopt);

    // Another workstation takes the slot while the editor is open: OK tells
    // the user and books nothing.
    test::WhenModal<Tfrm_Elojegyzes>([&](Tfrm_Elojegyzes* w) {
        EXPECT_TRUE(w->btnUgyfel->isVisible());
        exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'%2',21,1,-1,0,0,'máshol');")
                 .arg(m_staff[4])
                 .arg(Day.toString(Qt::ISODate)));
        w->btnOk->click();
    });
    EXPECT_EQ(EditAppointment({m_staff[4], 20, -1, -1, -1, 1, QStringLiteral("10:00"), Day}), std::nullopt);
    EXPECT_EQ(m_dialogs.lastCall().kind, DialogKind::Warning);
    EXPECT_EQ(m_dialogs.lastCall().text, AppointmentTakenMessage);
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM elojegyzes WHERE dolgozo = %1 AND ora = 20;")
                           .arg(m_staff[4])),
              0);
    // A slot taken before it opens: the editor does not open at all.
    EXPECT_EQ(EditAppointment({m_staff[4], 21, -1, -1, -1, 1, QStringLiteral("10:30"), Day}), std::nullopt);
    EXPECT_EQ(m_dialogs.calls().size(), 2u);
}

// ---- The main window's "Naptár" tab ------------------------------------------

class PlannerTab : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("plannertab"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        m_oldHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        QDir().mkpath(m_home.filePath(QStringLiteral("KoravelML")));
        InstallWindows();
        IniFile ini(m_home.filePath(QStringLiteral("KoravelML/KoravelML.ini")));
        ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                        ScramblePassword(QStringLiteral("%1;127.0.0.1;%2;root;;Demo szerviz")
                                             .arg(s_db->name())
                                             .arg(s_db->options().port)));
        ini.writeString(QStringLiteral("Alapertek"), QStringLiteral("TeljesKep"), QStringLiteral("0"));
        ini.save();
        m_window = std::make_unique<Tfrm_Main>();
        ASSERT_FALSE(m_window->startupFailed())
            << m_dialogs.texts().join(QStringLiteral(" | ")).toStdString();
        m_window->show();
        m_window->resize(1280, 800);
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }
    void TearDown() override {
        if (m_window)
            m_window->close();
        m_window.reset();
        qputenv("XDG_DATA_HOME", m_oldHome);
        Beall() = TBeall{};
        SetSharedConnection(&s_db->connection());
    }

    static TestDatabase* s_db;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Tfrm_Main> m_window;
};

TestDatabase* PlannerTab::s_db = nullptr;

TEST_F(PlannerTab, ShowsTheEmployeesDayAndMovesThroughDays) {
    Tfrm_Main& w = *m_window;
    Query& naptar = w.session().daySlots();
    w.TabControl1->setCurrentIndex(int(MainTab::Planner));
    ASSERT_TRUE(naptar.isActive());
    EXPECT_EQ(w.DBGrid8->rowCount(), naptar.recordCount());
    EXPECT_EQ(w.Panel17->text(), DayHeading(Beall().workDate));
    EXPECT_EQ(w.DateTimePicker1->date(), Beall().workDate);

    // The employee with the longest appointment today: its slots in its colour.
    const int employee =
        QueryInt(QStringLiteral("SELECT dolgozo FROM elojegyzes WHERE datum = CURDATE() GROUP BY dolgozo, "
                                "azon ORDER BY COUNT(*) DESC, dolgozo LIMIT 1;"));
    ASSERT_TRUE(w.list(MainTab::Planner).locate(employee));
    const int first =
        QueryInt(QStringLiteral("SELECT MIN(ora) FROM elojegyzes WHERE datum = CURDATE() AND dolgozo = %1;")
                     .arg(employee));
    const int azon = QueryInt(
        QStringLiteral(
            "SELECT MIN(azon) FROM elojegyzes WHERE datum = CURDATE() AND dolgozo = %1 AND ora = %2;")
            .arg(employee)
            .arg(first));
    const int row = first - 16;
    w.DBGrid8->scrollToRow(row + 1);
    QApplication::processEvents();
    const QRect cell = w.DBGrid8->viewportRect(row + 1, 1);
    const QPoint inside(cell.right() - 3, cell.bottom() - 2); // away from the texts
    EXPECT_EQ(PixelAt(w.DBGrid8, inside), DayPanelAppointmentColour(azon));
    Shoot(&w, QStringLiteral("main-planner"));

    // A click selects the slot; Down moves on; the selection is #0080C0.
    QTest::mouseClick(w.DBGrid8->viewport(), Qt::LeftButton, {}, w.DBGrid8->viewportRect(row, 1).center());
    EXPECT_EQ(naptar.asInt(QStringLiteral("ora")), first);
    EXPECT_TRUE(w.DBGrid8->hasFocus());
    QTest::keyClick(w.DBGrid8, Qt::Key_Down);
    EXPECT_EQ(naptar.asInt(QStringLiteral("ora")), first + 1);
    EXPECT_EQ(PixelAt(w.DBGrid8, inside), DayPanelSelection);

    // Tomorrow and back by the tool bar's actions, on the same slot.
    const QDate today = Beall().workDate;
    w.action(QStringLiteral("aHolnap"))->trigger();
    EXPECT_EQ(Beall().workDate, today.addDays(1));
    EXPECT_EQ(w.Panel17->text(), DayHeading(today.addDays(1)));
    EXPECT_EQ(w.DateTimePicker1->date(), today.addDays(1));
    EXPECT_EQ(naptar.asInt(QStringLiteral("ora")), first + 1);
    // A date typed into the date box, shown with Enter.
    w.DateTimePicker1->setDate(QDate(2030, 6, 3));
    QTest::keyClick(w.DateTimePicker1, Qt::Key_Return);
    EXPECT_EQ(Beall().workDate, QDate(2030, 6, 3));
    EXPECT_EQ(w.Panel17->text(), QStringLiteral("2030 június 3. hétfő"));
    EXPECT_EQ(naptar.param(QStringLiteral("pdatum")).toDate(), QDate(2030, 6, 3));

    // The planner's actions are ready where they act.
    for (const char* name : {"aTegnap", "aMa", "aHolnap", "aUj", "aTorol"})
        EXPECT_TRUE(w.action(QString::fromLatin1(name))->isEnabled()) << name;
    w.TabControl1->setCurrentIndex(int(MainTab::WorkSheets));
    EXPECT_TRUE(w.action(QStringLiteral("aNaptarba"))->isEnabled());
    EXPECT_FALSE(naptar.isActive()) << "the slots close with the tab";
}

} // namespace
} // namespace kml
