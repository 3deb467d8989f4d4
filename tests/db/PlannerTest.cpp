// Appointments and the planner without windows, against the server: the
// appointment editor's draft and booking, the planner's day and picks, the
// main window's day panel and the planner's actions on the main window.
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "records/CustomerWindows.h"
#include "records/DeviceWindows.h"
#include "shell/MainActions.h"
#include "shell/MainSession.h"
#include "worksheets/Appointments.h"
#include "worksheets/DayPlanner.h"
#include "worksheets/PlannerGrid.h"
#include "worksheets/PlannerRoutes.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

const QDate Day(2031, 3, 4);

class Planner : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new TestDatabase(QStringLiteral("planner")); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        SetSharedConnection(&s_db->connection());
        for (const char* table : {"elojegyzes", "munkalap", "munkalap_dolgozo", "dolgozo", "ugyfel",
                                  "keszulek", "tipus", "gyarto"})
            exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        Beall() = TBeall{};
        Beall().workDate = Day;
    }
    void TearDown() override {
        Beall() = TBeall{};
        SetSharedConnection(&s_db->connection());
    }

    static void exec(const QString& sql) { s_db->connection().exec(sql); }
    static int insert(const QString& sql) {
        exec(sql);
        return int(s_db->connection().lastInsertId());
    }
    static QStringList lines(const QString& sql) {
        const ResultSet rs = s_db->connection().query(sql);
        QStringList out;
        for (int r = 0; r < rs.rowCount(); ++r) {
            QStringList fields;
            for (int c = 0; c < rs.columnCount(); ++c)
                fields << rs.text(r, c);
            out << fields.join(QLatin1Char('|'));
        }
        return out;
    }
    // Employees at planner positions 1, 2, ... in the order given.
    static std::vector<int> employees(std::initializer_list<const char*> names) {
        std::vector<int> keys;
        int position = 0;
        for (const char* name : names)
            keys.push_back(insert(QStringLiteral("INSERT INTO dolgozo (dolgozo_nev, sorszam) VALUES (%1, %2)")
                                      .arg(SqlLiteral(QString::fromUtf8(name)))
                                      .arg(++position)));
        return keys;
    }
    static int customer(const char* name) {
        return insert(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES (%1)")
                          .arg(SqlLiteral(QString::fromUtf8(name))));
    }
    static int device(int owner, const char* serial) {
        const int maker = insert(QStringLiteral("INSERT INTO gyarto (gyarto_nev) VALUES ('Daikin')"));
        const int type =
            insert(QStringLiteral("INSERT INTO tipus (gyarto, tipus_nev) VALUES (%1, 'Sensira')").arg(maker));
        return insert(QStringLiteral("INSERT INTO keszulek (ugyfel, tipus, gysz) VALUES (%1, %2, '%3')")
                          .arg(owner)
                          .arg(type)
                          .arg(QLatin1String(serial)));
    }
    static int sheet(int owner, int dev, const QString& complaint) {
        exec(QStringLiteral("CALL sp_ujmunkalap(%1, 1, %2, 'teszt');").arg(owner).arg(dev));
        const int number =
            s_db->connection().query(QStringLiteral("SELECT LAST_INSERT_ID();")).value(0, 0).toInt();
        exec(QStringLiteral("UPDATE munkalap SET panasz = %1 WHERE munkalap = %2")
                 .arg(SqlLiteral(complaint))
                 .arg(number));
        return number;
    }
    static int book(int employee, int slot, int halfHours, const QDate& day = Day, const char* text = "") {
        AppointmentRequest request;
        request.employee = employee;
        request.slot = slot;
        request.hours = HoursOf(halfHours);
        request.day = day;
        AppointmentDraft draft = NewAppointmentDraft(request);
        draft.text = QString::fromUtf8(text);
        return BookAppointment(draft).appointment;
    }

    static TestDatabase* s_db;
    ScriptedDialogs m_dialogs;
};

TestDatabase* Planner::s_db = nullptr;

// ---- The appointment editor's draft and booking ------------------------------

TEST_F(Planner, ASheetBringsItsCustomerDeviceAndComplaint) {
    const int anna = employees({"Anna"})[0];
    const int owner = customer("Szabó Éva");
    const int dev = device(owner, "GK-5");
    const QString complaint =
        QStringLiteral("A kültéri egység hangos, és a beltéri csöpög, főleg éjszaka, ha hűt.");
    const int number = sheet(owner, dev, complaint);

    AppointmentRequest request{anna, 17, number, -1, -1, 1.5, QStringLiteral("08:30"), Day};
    const AppointmentDraft draft = NewAppointmentDraft(request);
    EXPECT_EQ(draft.employeeName, "Anna");
    EXPECT_EQ(draft.customer, owner);
    EXPECT_EQ(draft.device, dev);
    EXPECT_EQ(draft.customerText, "Szabó Éva");
    EXPECT_EQ(draft.deviceText, "GK-5, Daikin Sensira");
    EXPECT_EQ(draft.workSheetText, QStringLiteral("%1J").arg(number, 5, 10, QLatin1Char('0')));
    EXPECT_EQ(draft.text, complaint.left(50)) << "the complaint, cut to the text's 50 characters";
    EXPECT_EQ(draft.halfHours, 3);
    EXPECT_EQ(draft.longest, 23) << "08:30 to the day's end";

    // Without a sheet, -1 and 0 both mean none.
    for (int none : {-1, 0}) {
        const AppointmentDraft plain = NewAppointmentDraft({anna, 20, -1, none, none, 1, {}, Day});
        EXPECT_EQ(plain.customer, 0);
        EXPECT_EQ(plain.device, 0);
        EXPECT_EQ(plain.workSheet, -1);
        EXPECT_TRUE(plain.text.isEmpty());
        EXPECT_EQ(NewAppointmentSql(plain),
                  QStringLiteral("CALL sp_ujelojegyzes(%1,'2031-03-04',20,2,-1,0,0,'');").arg(anna));
    }
}

TEST_F(Planner, BookingStoresTheAppointmentAndGivesItsOwnNumber) {
    const int anna = employees({"Anna"})[0];
    const int owner = customer("Kovács Ödön");
    AppointmentDraft draft =
        NewAppointmentDraft({anna, 17, -1, -1, owner, 1.5, QStringLiteral("08:30"), Day});
    draft.text = QStringLiteral("Kulcs 'hátul' \\ a\r\nkapu");
    const Booking booked = BookAppointment(draft);
    ASSERT_FALSE(booked.taken);
    EXPECT_EQ(lines(QStringLiteral(
                        "SELECT ora, azon = (SELECT MIN(elojegyzes) FROM elojegyzes WHERE dolgozo = %1), "
                        "szoveg, ugyfel, ugyfelstr FROM elojegyzes WHERE dolgozo = %1 ORDER BY ora")
                        .arg(anna)),
              (QStringList{QStringLiteral("17|1|Kulcs 'hátul' \\ a\r\nkapu|%1|Kovács Ödön").arg(owner),
                           QStringLiteral("18|1|Kulcs 'hátul' \\ a\r\nkapu|%1|Kovács Ödön").arg(owner),
                           QStringLiteral("19|1|Kulcs 'hátul' \\ a\r\nkapu|%1|Kovács Ödön").arg(owner)}));
    EXPECT_EQ(
        booked.appointment,
        QueryInt(QStringLiteral("SELECT MAX(elojegyzes) FROM elojegyzes WHERE dolgozo = %1").arg(anna)));

    // The same slots again: refused, nothing written, no error raised.
    const Booking again = BookAppointment(draft);
    EXPECT_TRUE(again.taken);
    EXPECT_EQ(again.appointment, -1);
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM elojegyzes;")), 3);
}

TEST_F(Planner, LengthIsLimitedToTheFreeHalfHours) {
    const int anna = employees({"Anna"})[0];
    book(anna, 22, 1); // 11:00
    const struct {
        const char* name;
        int slot;
        double hours;
        int halfHours, longest;
    } cases[] = {
        {"to the day's last slot", 38, 2, 2, 2}, {"from the last slot", 39, 1, 1, 1},
        {"up to the booking", 20, 2, 2, 2},      {"a booking in the way", 21, 1.5, 1, 1},
        {"the slot is booked", 22, 1, 1, 0},     {"not a slot of the day", 40, 1, 1, 0},
    };
    for (const auto& c : cases) {
        const AppointmentDraft draft = NewAppointmentDraft({anna, c.slot, -1, -1, -1, c.hours, {}, Day});
        EXPECT_EQ(draft.halfHours, c.halfHours) << c.name;
        EXPECT_EQ(draft.longest, c.longest) << c.name;
    }
}

TEST_F(Planner, CustomerAndDeviceButtons) {
    const int anna = employees({"Anna"})[0];
    const int first = customer("Első Géza");
    const int second = customer("Második Géza");
    const int firstsDevice = device(first, "A-1");
    ScriptedWindows windows;
    AppointmentDraft draft = NewAppointmentDraft({anna, 20, -1, -1, -1, 1, {}, Day});

    // The device button without a customer asks for the customer first.
    windows.act(OpenCustomerList, [&](RowKey select, bool chooser, const QString& caption) {
        EXPECT_EQ(select, std::nullopt);
        EXPECT_TRUE(chooser);
        EXPECT_EQ(caption, QStringLiteral("Ügyfél választás"));
        return ChosenRow{first, QStringLiteral("Első Géza")};
    });
    windows.act(ChooseDevice, [&](RowKey, bool chooser, RowKey owner) {
        EXPECT_TRUE(chooser);
        EXPECT_EQ(owner, first);
        return RowKey(firstsDevice);
    });
    EXPECT_TRUE(ChooseAppointmentDevice(draft));
    EXPECT_EQ(draft.customer, first);
    EXPECT_EQ(draft.customerText, "Első Géza");
    EXPECT_EQ(draft.device, firstsDevice);
    EXPECT_EQ(draft.deviceText, "A-1, Daikin Sensira");

    // Another customer: the first one's device goes.
    windows.act(OpenCustomerList, [&](RowKey select, bool, const QString&) {
        EXPECT_EQ(select, first);
        return ChosenRow{second, QStringLiteral("Második Géza")};
    });
    EXPECT_TRUE(ChooseAppointmentCustomer(draft));
    EXPECT_EQ(draft.device, 0);
    EXPECT_TRUE(draft.deviceText.isEmpty());

    // "Tovább" in the device list: no device; closing it changes nothing.
    windows.answer(ChooseDevice, 0);
    EXPECT_TRUE(ChooseAppointmentDevice(draft));
    EXPECT_EQ(draft.device, 0);
    windows.answer(ChooseDevice, std::nullopt);
    EXPECT_FALSE(ChooseAppointmentDevice(draft));
    EXPECT_EQ(draft.customer, second);

    // Without a customer, closing the customer list stops before the devices.
    AppointmentDraft none = NewAppointmentDraft({anna, 20, -1, -1, -1, 1, {}, Day});
    windows.answer(OpenCustomerList, ChosenRow{});
    EXPECT_FALSE(ChooseAppointmentDevice(none));
    EXPECT_EQ(windows.calls(QStringLiteral("ChooseDevice")).size(), 3u);
    EXPECT_EQ(windows.pendingAnswers(), 0);
}

// ---- The planner's day --------------------------------------------------------

TEST_F(Planner, PlannerDayShowsEveryPositionAndPicksByKey) {
    const std::vector<int> staff = employees({"Anna", "Béla", "Cecil"});
    const int belas = book(staff[1], 17, 3, Day, "Éves karbantartás"); // 08:30, 1.5 hours
    book(staff[2], 22, 1, Day, "Telefon");                             // 11:00

    PlannerGridData grid = ReadPlannerGrid(Day);
    ASSERT_EQ(grid.daySlots.size(), 24u);
    EXPECT_EQ(grid.daySlots.front(), 16);
    EXPECT_EQ(grid.daySlots.back(), 39);
    ASSERT_EQ(grid.columns.size(), 3u);
    EXPECT_EQ(grid.columns[1].name, "Béla");
    EXPECT_EQ(grid.columns[1].position, 2);

    // Béla's three half hours: one appointment, one colour, not pickable.
    const int azon =
        QueryInt(QStringLiteral("SELECT azon FROM elojegyzes WHERE elojegyzes = %1;").arg(belas));
    for (int slot : {17, 18, 19}) {
        const SlotCell cell = grid.cell(grid.rowOf(slot), 1);
        EXPECT_EQ(cell.background, PlannerAppointmentColour(azon)) << slot;
        EXPECT_FALSE(cell.pickable);
        EXPECT_EQ(cell.texts.at(0).text, "Éves karbantartás");
    }
    EXPECT_TRUE(grid.cell(grid.rowOf(16), 1).pickable);
    EXPECT_EQ(grid.cell(grid.rowOf(20), 1).texts.at(0).text, "10:00");

    // Position 3 at 10:00 is the value 320: Cecil, 10:00; two hours stop at
    // his 11:00 appointment.
    EXPECT_EQ(PlannerCellValue(3, 20), 320);
    std::optional<PlannerSlot> picked = PickFromGrid(grid, 320, 4);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->employee, staff[2]);
    EXPECT_EQ(picked->slot, 20);
    EXPECT_EQ(picked->hours, 1.0);
    EXPECT_EQ(picked->day, Day);
    EXPECT_FALSE(PickFromGrid(grid, 218, 2)) << "Béla's 09:00 is taken";
    EXPECT_FALSE(PickFromGrid(grid, 420, 2)) << "no fourth column";
    EXPECT_EQ(PickFromGrid(grid, 139, 4)->hours, 0.5) << "the day's last half hour";

    // The positions are renumbered while the planner shows the day: the
    // click still books the employee whose name heads the column.
    exec(QStringLiteral("UPDATE dolgozo SET sorszam = 4 - sorszam"));
    EXPECT_EQ(PickFromGrid(grid, 320, 2)->employee, staff[2]);
    // Read again, the columns and their appointments follow the employees.
    grid = ReadPlannerGrid(Day);
    EXPECT_EQ(grid.columns[0].name, "Cecil");
    EXPECT_EQ(grid.cell(grid.rowOf(22), 0).texts.at(0).text, "Telefon");
    EXPECT_EQ(grid.cell(grid.rowOf(18), 1).texts.at(0).text, "Éves karbantartás");
}

TEST_F(Planner, PlannerDaysFarAheadAndBeyondTwentyEmployees) {
    std::vector<int> staff;
    for (int position = 1; position <= 22; ++position)
        staff.push_back(insert(
            QStringLiteral("INSERT INTO dolgozo (dolgozo_nev, sorszam) VALUES ('D%1', %1)").arg(position)));
    const QDate far(2098, 7, 1);
    book(staff[19], 16, 1, far, "messze");
    book(staff[20], 16, 1, far, "rejtve");
    const PlannerGridData grid = ReadPlannerGrid(far);
    EXPECT_EQ(grid.columns.size(), 20u);
    EXPECT_EQ(grid.hiddenEmployees, 2);
    EXPECT_EQ(grid.cell(0, 19).texts.at(0).text, "messze");
    // Tomorrow, never prepared by anything, is there too.
    EXPECT_EQ(ReadPlannerGrid(QDate::currentDate().addDays(1)).entries.front().size(), 20u);
}

// ---- The day panel and the actions on the main window --------------------------

// The main window as its actions see it, over a session without widgets.
class SessionWindow final : public MainContext {
public:
    explicit SessionWindow(MainSession& session) : m_session(session) {}
    MainTab tab = MainTab::Planner;
    MainTab currentTab() const override { return tab; }
    int statusTab() const override { return 0; }
    ListController& list(MainTab t) override { return m_session.list(t); }
    ListController& detail(MainDetail d) override { return m_session.detail(d); }
    QObject* panel(MainTab t) override { return t == MainTab::Planner ? &m_session.dayPlanner() : nullptr; }
    void run(const char* action) { RunMainAction(QString::fromLatin1(action), *this, m_session.routes); }

private:
    MainSession& m_session;
};

class DayPanel : public Planner {
protected:
    void SetUp() override {
        Planner::SetUp();
        m_session = std::make_unique<MainSession>();
        m_session->mySQLDatabase1.open(s_db->options());
        SetSharedConnection(&m_session->mySQLDatabase1);
        m_window = std::make_unique<SessionWindow>(*m_session);
    }
    void TearDown() override {
        m_window.reset();
        m_session.reset();
        Planner::TearDown();
    }
    DayPlanner& day() { return m_session->dayPlanner(); }
    Query& naptar() { return m_session->daySlots(); }
    ListController& staff() { return m_session->list(MainTab::Planner); }

    std::unique_ptr<MainSession> m_session;
    std::unique_ptr<SessionWindow> m_window;
};

TEST_F(DayPanel, SlotsFollowTheEmployeeAndTheWorkingDate) {
    const std::vector<int> people = employees({"Béla", "Anna"});
    book(people[1], 20, 2, Day, "Anna ma");
    book(people[1], 20, 2, Day.addDays(1), "Anna holnap");
    book(people[0], 20, 2, Day, "Béla ma");
    QSignalSpy dates(&day(), &DayPlanner::workDateChanged);

    staff().open(); // by name: Anna first
    ASSERT_TRUE(naptar().isActive());
    EXPECT_EQ(naptar().recordCount(), 24);
    naptar().locate(QStringLiteral("ora"), 21);
    EXPECT_EQ(naptar().asString(QStringLiteral("szoveg")), "Anna ma");

    // Another employee: the same slot of hers.
    staff().locate(people[0]);
    EXPECT_EQ(day().currentSlot(), 21);
    EXPECT_EQ(naptar().asString(QStringLiteral("szoveg")), "Béla ma");

    const struct {
        const char* action;
        QDate date;
    } steps[] = {{"aHolnap", Day.addDays(1)}, {"aTegnap", Day}, {"aMa", QDate::currentDate()}};
    staff().locate(people[1]);
    for (const auto& step : steps) {
        m_window->run(step.action);
        EXPECT_EQ(Beall().workDate, step.date) << step.action;
        EXPECT_EQ(naptar().param(QStringLiteral("pdatum")).toDate(), step.date) << step.action;
        EXPECT_EQ(day().currentSlot(), 21) << step.action;
        if (step.date == Day.addDays(1)) {
            EXPECT_EQ(naptar().asString(QStringLiteral("szoveg")), "Anna holnap");
        }
    }
    EXPECT_EQ(dates.count(), 3);

    // On another tab the date actions do nothing; the closed list closes the slots.
    m_window->tab = MainTab::Customers;
    m_window->run("aHolnap");
    EXPECT_EQ(Beall().workDate, QDate::currentDate());
    staff().close();
    EXPECT_FALSE(naptar().isActive());
}

TEST_F(DayPanel, NewAppointmentOnAFreeSlotOnly) {
    const std::vector<int> people = employees({"Anna"});
    book(people[0], 22, 1, Day, "foglalt");
    ScriptedWindows windows;
    staff().open();
    naptar().locate(QStringLiteral("ora"), 20);
    AppointmentRequest asked;
    windows.act(EditAppointment, [&](const AppointmentRequest& request) {
        asked = request;
        return std::optional<BookedAppointment>(BookedAppointment{
            BookAppointment(NewAppointmentDraft(request)).appointment, SlotStart(request.day, request.slot)});
    });
    m_window->run("aUj");
    EXPECT_EQ(asked.employee, people[0]);
    EXPECT_EQ(asked.slot, 20);
    EXPECT_EQ(asked.workSheet, -1);
    EXPECT_EQ(asked.customer, -1);
    EXPECT_EQ(asked.device, -1);
    EXPECT_EQ(asked.hours, 1.0);
    EXPECT_EQ(asked.timeText, "10:00");
    EXPECT_EQ(asked.day, Day);
    // The day is read again, on the new appointment (its last half hour).
    EXPECT_EQ(day().currentSlot(), 21);
    EXPECT_EQ(naptar().asInt(QStringLiteral("azon")),
              QueryInt(QStringLiteral("SELECT MIN(elojegyzes) FROM elojegyzes WHERE ora = 20;")));

    // A taken slot is refused before the editor opens.
    naptar().locate(QStringLiteral("ora"), 22);
    m_window->run("aUj");
    EXPECT_EQ(m_dialogs.lastCall().kind, DialogKind::Warning);
    EXPECT_EQ(m_dialogs.lastCall().text, AppointmentTakenMessage);
    EXPECT_EQ(windows.calls(QStringLiteral("EditAppointment")).size(), 1u);

    // So is a slot another workstation took since the day was read: the
    // editor's operation refuses it, and the day shows the booking.
    naptar().locate(QStringLiteral("ora"), 30);
    book(people[0], 30, 1, Day, "közben");
    windows.act(EditAppointment, [](const AppointmentRequest& request) {
        EXPECT_EQ(NewAppointmentDraft(request).longest, 0);
        return std::optional<BookedAppointment>();
    });
    m_window->run("aUj");
    EXPECT_EQ(naptar().asString(QStringLiteral("szoveg")), "közben");

    // No employee: nothing to book.
    exec(QStringLiteral("UPDATE dolgozo SET torolve = 'I'"));
    staff().reread();
    m_window->run("aUj");
    EXPECT_EQ(m_dialogs.lastCall().text, QStringLiteral("Nincs sor kiválasztva."));
    EXPECT_EQ(windows.pendingAnswers(), 0);
}

TEST_F(DayPanel, DeleteRemovesTheWholeAppointmentOfThatEmployee) {
    const std::vector<int> people = employees({"Anna", "Béla"});
    book(people[0], 20, 3, Day, "hosszú");
    book(people[1], 20, 1, Day, "Béláé");
    staff().open();
    naptar().locate(QStringLiteral("ora"), 19);
    m_window->run("aTorol"); // a free slot: no question, nothing deleted
    EXPECT_TRUE(m_dialogs.calls().empty());

    naptar().locate(QStringLiteral("ora"), 21);
    m_dialogs.answer(DialogAnswer::No);
    m_window->run("aTorol");
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM elojegyzes;")), 4);
    m_dialogs.answer(DialogAnswer::Yes);
    m_window->run("aTorol");
    EXPECT_EQ(m_dialogs.lastCall().caption, QStringLiteral("Megerősítés"));
    EXPECT_EQ(m_dialogs.lastCall().text, QStringLiteral("Valóban töröljem a sort?"));
    EXPECT_EQ(lines(QStringLiteral("SELECT szoveg FROM elojegyzes")), QStringList{QStringLiteral("Béláé")});
    EXPECT_EQ(day().currentSlot(), 21);
    EXPECT_TRUE(naptar().isNull(QStringLiteral("azon"))) << "the day was read again";
}

TEST_F(DayPanel, NaptarbaOnAWorkSheetSetsItsStartAndEmployee) {
    const int anna = employees({"Anna"})[0];
    const int owner = customer("Tóth Ede");
    const int number = sheet(owner, 0, QStringLiteral("Nem hűt"));
    ListController& sheets = m_session->list(MainTab::WorkSheets);
    sheets.open(number);
    m_window->tab = MainTab::WorkSheets;
    ScriptedWindows windows;

    // Cancelled in the planner: nothing happens.
    windows.answer(PickPlannerSlot, std::nullopt);
    m_window->run("aNaptarba");

    windows.answer(PickPlannerSlot, PlannerSlot{anna, 17, 1.5, Day});
    AppointmentRequest asked;
    windows.act(EditAppointment, [&](const AppointmentRequest& request) {
        asked = request;
        return std::optional<BookedAppointment>(BookedAppointment{
            BookAppointment(NewAppointmentDraft(request)).appointment, SlotStart(request.day, request.slot)});
    });
    m_window->run("aNaptarba");
    EXPECT_EQ(asked.workSheet, number);
    EXPECT_EQ(asked.timeText, "08:30");
    EXPECT_EQ(asked.hours, 1.5);
    EXPECT_EQ(
        lines(QStringLiteral("SELECT dat_hatid, dolgozostr FROM munkalap WHERE munkalap = %1").arg(number)),
        QStringList{QStringLiteral("2031-03-04 08:30:00|Anna")});
    EXPECT_EQ(sheets.currentValue(QStringLiteral("hatidstr")).toString(), "2031.03.04. 08:30")
        << "the list shows it";
    EXPECT_EQ(lines(QStringLiteral("SELECT ora, ugyfel FROM elojegyzes ORDER BY ora")),
              (QStringList{QStringLiteral("17|%1").arg(owner), QStringLiteral("18|%1").arg(owner),
                           QStringLiteral("19|%1").arg(owner)}));

    // A cancelled sheet is refused before the planner opens.
    exec(QStringLiteral("UPDATE munkalap SET storno = 'I' WHERE munkalap = %1").arg(number));
    sheets.reread(number);
    m_window->run("aNaptarba");
    EXPECT_EQ(m_dialogs.lastCall().kind, DialogKind::Error);
    EXPECT_EQ(m_dialogs.lastCall().text, QStringLiteral("Sztornó munkalap"));
    EXPECT_EQ(windows.pendingAnswers(), 0);
}

// The list was read while the sheet was open; another workstation has
// cancelled, finished or invoiced it since (before "Naptárba", or while the
// planner is open). The action reads the sheet again and refuses as the
// editor does: the sheet's start and employees stay as they were.
TEST_F(DayPanel, NaptarbaRefusesASheetCancelledOrLockedSinceTheListWasRead) {
    const int anna = employees({"Anna"})[0];
    const int owner = customer("Tóth Ede");
    ListController& sheets = m_session->list(MainTab::WorkSheets);
    m_window->tab = MainTab::WorkSheets;
    struct Case {
        const char* name;
        const char* meanwhile; // on the other workstation; %1 the sheet
        bool whilePlannerOpen;
        const char* message;
    };
    const Case cases[] = {
        {"cancelled", "UPDATE munkalap SET storno = 'I' WHERE munkalap = %1", false, "Sztornó munkalap"},
        {"ready", "CALL sp_statuszlepes(%1,'B',1,3,NULL)", false, "Lezárt munkalap"},
        {"invoiced", "CALL sp_statuszlepes(%1,'B',1,4,'B-1')", false, "Lezárt munkalap"},
        {"invoiced while the planner is open", "CALL sp_statuszlepes(%1,'B',1,4,'B-2')", true,
         "Lezárt munkalap"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int number = sheet(owner, 0, QStringLiteral("Nem hűt"));
        exec(QStringLiteral("UPDATE munkalap SET dat_hatid = '2031-01-02 10:00:00' WHERE munkalap = %1")
                 .arg(number));
        sheets.open(number);
        const QString meanwhile = QString::fromLatin1(c.meanwhile).arg(number);
        ScriptedWindows windows;
        windows.script(PickPlannerSlot).script(EditAppointment);
        if (c.whilePlannerOpen) {
            windows.act(PickPlannerSlot, [&] {
                exec(meanwhile);
                return std::optional<PlannerSlot>(PlannerSlot{anna, 17, 1, Day});
            });
            windows.act(EditAppointment, [&](const AppointmentRequest& request) {
                return std::optional<BookedAppointment>(
                    BookedAppointment{BookAppointment(NewAppointmentDraft(request)).appointment,
                                      SlotStart(request.day, request.slot)});
            });
        } else {
            exec(meanwhile);
        }
        m_dialogs.clear();
        m_window->run("aNaptarba");
        ASSERT_FALSE(m_dialogs.calls().empty());
        EXPECT_EQ(m_dialogs.lastCall().kind, DialogKind::Error);
        EXPECT_EQ(m_dialogs.lastCall().text, QString::fromUtf8(c.message));
        EXPECT_EQ(windows.calls().size(), c.whilePlannerOpen ? 2u : 0u)
            << "the planner opens only for an open sheet";
        EXPECT_EQ(
            lines(
                QStringLiteral("SELECT dat_hatid, dolgozostr FROM munkalap WHERE munkalap = %1").arg(number)),
            QStringList{QStringLiteral("2031-01-02 10:00:00|")});
        EXPECT_EQ(
            lines(QStringLiteral("SELECT COUNT(*) FROM munkalap_dolgozo WHERE munkalap = %1").arg(number)),
            QStringList{QStringLiteral("0")});
    }
}

TEST_F(DayPanel, NaptarbaOnCustomersAndDevicesBooksForTheRow) {
    const int anna = employees({"Anna"})[0];
    const int owner = customer("Kiss Anna");
    const int dev = device(owner, "K-9");
    ScriptedWindows windows;
    std::vector<AppointmentRequest> asked;
    for (int i = 0; i < 2; ++i) {
        windows.answer(PickPlannerSlot, PlannerSlot{anna, 20, 1, Day});
        windows.act(EditAppointment, [&](const AppointmentRequest& request) {
            asked.push_back(request);
            return std::optional<BookedAppointment>();
        });
    }
    m_window->tab = MainTab::Customers;
    m_session->list(MainTab::Customers).open(owner);
    m_window->run("aNaptarba");
    m_window->tab = MainTab::Devices;
    m_session->list(MainTab::Devices).open(dev);
    m_window->run("aNaptarba");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].customer, owner);
    EXPECT_EQ(asked[0].device, -1);
    EXPECT_EQ(asked[1].customer, owner);
    EXPECT_EQ(asked[1].device, dev);
    EXPECT_EQ(asked[1].workSheet, -1);
}

} // namespace
} // namespace kml
