// What falls due, comeback jobs and a device's history under every owner,
// against the private server. The fixture's dates are built from the
// server's CURDATE(), so the presets are checked around a week's end, a
// month's end and a year's end whatever day the tests run on.
#include "worksheets/DueList.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "admin/Backup.h"
#include "components/Query.h"
#include "components/ResultSet.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "reports/PeriodReports.h"
#include "reports/WorkSheetPrint.h"
#include "worksheets/Comebacks.h"
#include "worksheets/WorkSheetBrowsers.h"
#include "worksheets/WorkSheetEditing.h"

#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace kml;
using kml::test::TestDatabase;

namespace {

// A date on the server as an SQL expression and what it is.
struct FixtureDate {
    const char* name; // the customer's name and the device's serial number
    const char* expression;
};

// Both sides of today, the week's last day, the month's and the year's
// last and first days.
const FixtureDate kDates[] = {
    {"Régi", "CURDATE() - INTERVAL 400 DAY"},
    {"Tegnapi", "CURDATE() - INTERVAL 1 DAY"},
    {"Mai", "CURDATE()"},
    {"Holnapi", "CURDATE() + INTERVAL 1 DAY"},
    {"Hétvégi", "CURDATE() + INTERVAL (6 - WEEKDAY(CURDATE())) DAY"},
    {"Hétfői", "CURDATE() + INTERVAL (7 - WEEKDAY(CURDATE())) DAY"},
    {"Hónapvégi", "LAST_DAY(CURDATE())"},
    {"Hónapeleji", "LAST_DAY(CURDATE()) + INTERVAL 1 DAY"},
    {"Szilveszteri", "MAKEDATE(YEAR(CURDATE()), 1) + INTERVAL 1 YEAR - INTERVAL 1 DAY"},
    {"Újévi", "MAKEDATE(YEAR(CURDATE()), 1) + INTERVAL 1 YEAR"},
    {"Harmincnapos", "CURDATE() + INTERVAL 30 DAY"},
    {"Harmincegynapos", "CURDATE() + INTERVAL 31 DAY"},
};

class Due : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("due"));
        Connection& c = s_db->connection();
        int key = 1000;
        for (const FixtureDate& d : kDates) {
            ++key;
            // A customer with a reminder on the date, and of another
            // customer a device inspected and one whose warranty ends then.
            c.exec(
                QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, kapcsolat, dat_figyelmeztet) VALUES "
                               "(%1, '%2 Ügyfél', 'Kapcsolat', %3), (%4, '%2 Tulaj', '', NULL)")
                    .arg(key)
                    .arg(QString::fromUtf8(d.name), QLatin1String(d.expression))
                    .arg(key + 5000));
            c.exec(QStringLiteral(
                       "INSERT INTO keszulek (keszulek, ugyfel, gysz, dat_muszaki, dat_garilejar) VALUES "
                       "(%1, %2, 'M-%3', %4, NULL), (%5, %2, 'G-%3', NULL, %4)")
                       .arg(key)
                       .arg(key + 5000)
                       .arg(QString::fromUtf8(d.name), QLatin1String(d.expression))
                       .arg(key + 10000));
        }
        // Deleted ones are never due: a deleted customer, a deleted device,
        // and the live device of a deleted customer.
        c.exec(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, dat_figyelmeztet, torolve) VALUES "
                              "(900, 'Törölt Ügyfél', CURDATE(), 'I'), (901, 'Élő Gazda', NULL, 'N')"));
        c.exec(QStringLiteral(
            "INSERT INTO keszulek (keszulek, ugyfel, gysz, dat_muszaki, dat_garilejar, torolve) "
            "VALUES (900, 901, 'TÖRÖLT-1', CURDATE(), CURDATE(), 'I'), "
            "(901, 900, 'TÖRÖLT-2', CURDATE(), CURDATE(), 'N')"));
        s_endOfWeek = c.query(QStringLiteral("SELECT 6 - WEEKDAY(CURDATE())")).value(0, 0).toInt();
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override { m_saved = Beall(); }
    void TearDown() override { Beall() = m_saved; }

    // Every row of the list: key -> days left.
    static std::map<qlonglong, int> Rows(const DuePeriod& period) {
        ListController list(DueListDefinition(period, QStringLiteral("Eredetiségvizsga")));
        list.open();
        std::map<qlonglong, int> rows;
        Query& q = list.query();
        for (int r = 0; r < q.recordCount(); ++r) {
            q.moveTo(r);
            rows[q.asInt(QStringLiteral("sor"))] = int(q.asInt(QStringLiteral("hatravan")));
        }
        return rows;
    }
    // Days from today to each fixture date, on the server.
    static std::vector<int> Offsets() {
        std::vector<int> offsets;
        for (const FixtureDate& d : kDates)
            offsets.push_back(
                s_db->connection()
                    .query(QStringLiteral("SELECT DATEDIFF(%1, CURDATE())").arg(QLatin1String(d.expression)))
                    .value(0, 0)
                    .toInt());
        return offsets;
    }

    static inline TestDatabase* s_db = nullptr;
    static inline int s_endOfWeek = 0;
    TBeall m_saved;
};

// The keys the presets should give: reminders and inspections up to the
// period's end (the overdue ones included), warranties from today on.
std::set<qlonglong> Expected(const std::vector<int>& offsets, int first, int last, bool overdueIncluded) {
    std::set<qlonglong> keys;
    for (size_t i = 0; i < offsets.size(); ++i) {
        const int key = 1001 + int(i);
        const int d = offsets[i];
        if (d <= last && (overdueIncluded || d >= first)) {
            keys.insert(DueRowKey(DueKind::Reminder, key));
            keys.insert(DueRowKey(DueKind::Inspection, key));
        }
        if (d <= last && d >= std::max(first, 0))
            keys.insert(DueRowKey(DueKind::Warranty, key + 10000));
    }
    return keys;
}

std::set<qlonglong> Keys(const std::map<qlonglong, int>& rows) {
    std::set<qlonglong> keys;
    for (const auto& [key, days] : rows)
        keys.insert(key);
    return keys;
}

} // namespace

TEST_F(Due, EveryPresetListsWhatFallsDueInItsPeriodAndNothingDeleted) {
    const std::vector<int> offsets = Offsets();
    const QDate today = s_db->connection().query(QStringLiteral("SELECT CURDATE()")).value(0, 0).toDate();
    // A custom period across the month's and the year's end: from the
    // month's last day to the new year's first day.
    const int monthEnd = offsets[6];
    const int newYear = offsets[9];
    const struct {
        const char* name;
        DuePeriod period;
        std::set<qlonglong> expected;
    } cases[] = {
        {"this week", {DuePreset::ThisWeek, {}, {}}, Expected(offsets, INT_MIN, s_endOfWeek, true)},
        {"next 30 days", {DuePreset::Next30Days, {}, {}}, Expected(offsets, INT_MIN, 30, true)},
        {"overdue", {DuePreset::Overdue, {}, {}}, Expected(offsets, INT_MIN, -1, true)},
        {"month and year end",
         {DuePreset::Custom, today.addDays(monthEnd), today.addDays(newYear)},
         Expected(offsets, monthEnd, newYear, false)},
        {"a year back",
         {DuePreset::Custom, today.addDays(-400), today.addDays(-1)},
         Expected(offsets, -400, -1, false)},
    };
    for (const auto& c : cases) {
        const std::map<qlonglong, int> rows = Rows(c.period);
        EXPECT_EQ(Keys(rows), c.expected) << c.name;
        for (const qlonglong deleted :
             {DueRowKey(DueKind::Reminder, 900), DueRowKey(DueKind::Inspection, 900),
              DueRowKey(DueKind::Inspection, 901), DueRowKey(DueKind::Warranty, 901)})
            EXPECT_EQ(rows.count(deleted), 0u) << c.name << " lists deleted row " << deleted;
    }
    // The overdue reminder of 400 days ago is still there, with its days.
    EXPECT_EQ(Rows({DuePreset::Overdue, {}, {}}).at(DueRowKey(DueKind::Reminder, 1001)), -400);
}

TEST_F(Due, RowsCarryCustomerContactDeviceLastSheetAndTheShopsInspectionCaption) {
    Connection& c = s_db->connection();
    c.exec(QStringLiteral("INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum) VALUES "
                          "(7001, 1, 1003, 0, '2026-01-05'), (7002, 1, 6003, 1003, '2026-02-06')"));
    c.exec(QStringLiteral("UPDATE keszulek SET utolso_munkalap = 7002 WHERE keszulek = 1003"));
    ListController list(DueListDefinition({DuePreset::ThisWeek, {}, {}}, QStringLiteral("Eredetiségvizsga")));
    list.open();
    ASSERT_TRUE(list.locate(DueRowKey(DueKind::Reminder, 1003)));
    EXPECT_EQ(list.currentValue(QStringLiteral("esemeny")).toString(), QString::fromUtf8("Emlékeztető"));
    EXPECT_EQ(list.currentValue(QStringLiteral("ugyfel_nev")).toString(), QString::fromUtf8("Mai Ügyfél"));
    EXPECT_EQ(list.currentValue(QStringLiteral("kapcsolat")).toString(), QStringLiteral("Kapcsolat"));
    EXPECT_EQ(list.currentValue(QStringLiteral("munkalapstr")).toString(),
              QStringLiteral("07001J 2026.01.05."));
    EXPECT_EQ(list.currentValue(QStringLiteral("hatravan")).toInt(), 0);
    ASSERT_TRUE(list.locate(DueRowKey(DueKind::Inspection, 1003)));
    EXPECT_EQ(list.currentValue(QStringLiteral("esemeny")).toString(), QString::fromUtf8("Eredetiségvizsga"));
    EXPECT_EQ(list.currentValue(QStringLiteral("ugyfel")).toInt(), 6003);
    EXPECT_EQ(list.currentValue(QStringLiteral("keszulekstr")).toString(), QStringLiteral("M-Mai"));
    EXPECT_EQ(list.currentValue(QStringLiteral("munkalapstr")).toString(),
              QStringLiteral("07002J 2026.02.06."));
    // The search finds a device by its number and a customer by name.
    list.search(QStringLiteral("M-Mai"));
    EXPECT_EQ(list.rowCount(), 1);
    list.search(QString::fromUtf8("mai ügyf"));
    EXPECT_EQ(list.rowCount(), 1);
    list.search(QStringLiteral("07002"));
    EXPECT_EQ(list.currentKey(), DueRowKey(DueKind::Inspection, 1003));
    // Without the shop's caption the inspection has its own.
    EXPECT_TRUE(
        DueListSql({DuePreset::ThisWeek, {}, {}}, QString()).contains(QString::fromUtf8("'Műszaki vizsga'")));
    c.exec(QStringLiteral("DELETE FROM munkalap"));
    c.exec(QStringLiteral("UPDATE keszulek SET utolso_munkalap = 0"));
}

TEST_F(Due, ColoursFollowDaysLeft) {
    const struct {
        QVariant days;
        QColor colour;
    } cases[] = {{-1, DueOverdueColor}, {0, DueThisWeekColor}, {7, DueThisWeekColor}, {8, DueSoonColor},
                 {30, DueSoonColor},    {31, QColor()},        {QVariant(), QColor()}};
    for (const auto& c : cases)
        EXPECT_EQ(DueRowStyle(c.days).background, c.colour) << c.days.toString().toStdString();
}

TEST_F(Due, TheStatusBarCountIsTheWeeksListAndItsOverdueRows) {
    const std::map<qlonglong, int> week = Rows({DuePreset::ThisWeek, {}, {}});
    int overdue = 0;
    for (const auto& [key, days] : week)
        overdue += days < 0 && DueRowKind(key) != DueKind::Warranty;
    const DueCount count = CountDue(s_db->connection());
    EXPECT_EQ(count.due, int(week.size()));
    EXPECT_EQ(count.overdue, overdue);
    EXPECT_EQ(DueCountText({12, 3}), QString::fromUtf8("Esedékes a héten: 12 (lejárt: 3)"));
    EXPECT_EQ(DueCountText({0, 0}), QString::fromUtf8("Esedékes a héten: 0"));
}

TEST_F(Due, MarkingDoneOnTwoWorkstationsMovesTheDateOnce) {
    Connection& mine = s_db->connection();
    const std::unique_ptr<Connection> other = s_db->connect();
    mine.exec(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, dat_figyelmeztet) VALUES "
                             "(950, 'Kazános Kálmán', CURDATE() - INTERVAL 3 DAY)"));
    const QDate seen = mine.query(QStringLiteral("SELECT dat_figyelmeztet FROM ugyfel WHERE ugyfel = 950"))
                           .value(0, 0)
                           .toDate();
    EXPECT_EQ(MarkDone(mine, DueKind::Reminder, 950, seen, 12), MarkDoneResult::Moved);
    EXPECT_EQ(MarkDone(*other, DueKind::Reminder, 950, seen, 12), MarkDoneResult::ChangedMeanwhile);
    // Moved a year on from today (the date had passed), once.
    EXPECT_EQ(mine.query(QStringLiteral("SELECT dat_figyelmeztet = CURDATE() + INTERVAL 1 YEAR FROM ugyfel "
                                        "WHERE ugyfel = 950"))
                  .text(0, 0),
              QStringLiteral("1"));

    // The flow: the period asked (a year proposed), the refusal said.
    ScriptedDialogs dialogs;
    dialogs.answerChoice(2); // 6 months
    const QDate now = mine.query(QStringLiteral("SELECT dat_figyelmeztet FROM ugyfel WHERE ugyfel = 950"))
                          .value(0, 0)
                          .toDate();
    EXPECT_TRUE(MarkDueRowDone(DueRowKey(DueKind::Reminder, 950), now));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].index, 3);
    EXPECT_EQ(mine.query(QStringLiteral("SELECT dat_figyelmeztet FROM ugyfel WHERE ugyfel = 950"))
                  .value(0, 0)
                  .toDate(),
              now.addMonths(6));
    dialogs.answerChoice(3);
    EXPECT_FALSE(MarkDueRowDone(DueRowKey(DueKind::Reminder, 950), now)); // the date seen is gone
    EXPECT_EQ(dialogs.calls().back().kind, DialogKind::Error);
    EXPECT_EQ(dialogs.calls().back().text, due_text::ChangedMeanwhile);
    // "Nincs több emlékeztető" clears it; a warranty is not marked.
    dialogs.answerChoice(5);
    EXPECT_TRUE(MarkDueRowDone(DueRowKey(DueKind::Reminder, 950), now.addMonths(6)));
    EXPECT_TRUE(
        mine.query(QStringLiteral("SELECT dat_figyelmeztet FROM ugyfel WHERE ugyfel = 950")).isNull(0, 0));
    EXPECT_FALSE(MarkDueRowDone(DueRowKey(DueKind::Warranty, 11003), now));
    EXPECT_EQ(dialogs.calls().back().text, due_text::NotMovable);
    mine.exec(QStringLiteral("DELETE FROM ugyfel WHERE ugyfel = 950"));
}

// ---- Comeback jobs ------------------------------------------------------------

class Comeback : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new TestDatabase(QStringLiteral("comeback")); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        m_saved = Beall();
        Beall() = TBeall{};
        Beall().felhasznaloNev = QStringLiteral("Kovács Anna");
        Beall().vankeszulek = true;
        Reset();
    }
    // The shop with its customer and two boilers, no sheets.
    static void Reset() {
        for (const char* table :
             {"munkalap", "munkalap_tetel", "munkalap_dolgozo", "ugyfel", "keszulek", "dolgozo"})
            exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        exec(QStringLiteral("UPDATE beallit SET visszateres_nap = 30"));
        exec(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (1, 'Visszajáró Vilma')"));
        exec(QStringLiteral("INSERT INTO keszulek (keszulek, ugyfel, gysz) VALUES (10, 1, 'KAZAN-10'), "
                            "(11, 1, 'KAZAN-11')"));
    }
    void TearDown() override { Beall() = m_saved; }
    static void exec(const QString& sql) { s_db->connection().exec(sql); }
    // An earlier sheet of device 10 finished days ago.
    static void Finished(int sheet, int daysAgo, const char* storno = "N") {
        exec(QStringLiteral(
                 "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, dat_kesz, statusz, "
                 "storno, panasz, vegzett_munka) VALUES (%1, 1, 1, 10, CURDATE() - INTERVAL %2 DAY, "
                 "CURDATE() - INTERVAL %3 DAY, 3, '%4', 'Nem fűt', 'Szelep csere')")
                 .arg(sheet)
                 .arg(daysAgo + 2)
                 .arg(daysAgo)
                 .arg(QLatin1String(storno)));
    }
    static QString Reference(int sheet) {
        return s_db->connection()
            .query(QStringLiteral("SELECT visszatero_munkalap FROM munkalap WHERE munkalap = %1").arg(sheet))
            .text(0, 0);
    }

    static inline TestDatabase* s_db = nullptr;
    TBeall m_saved;
};

TEST_F(Comeback, ANewSheetWithinTheShopsDaysIsAskedAboutAndMarked) {
    const struct {
        const char* name;
        int days;    // the setting
        int daysAgo; // -1: no earlier sheet
        const char* storno;
        bool asked;
    } cases[] = {
        {"29 days", 30, 29, "N", true},           {"30 days", 30, 30, "N", true},
        {"31 days", 30, 31, "N", false},          {"setting 0", 0, 1, "N", false},
        {"no earlier sheet", 30, -1, "N", false}, {"cancelled earlier", 30, 5, "I", false},
    };
    for (const auto& c : cases) {
        Reset();
        exec(QStringLiteral("UPDATE beallit SET visszateres_nap = %1").arg(c.days));
        if (c.daysAgo >= 0)
            Finished(500, c.daysAgo, c.storno);
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        windows.answer(PrintWorkSheet, true);
        if (c.asked)
            dialogs.answer(DialogAnswer::Yes).answer(DialogAnswer::Yes); // view it, then mark
        const std::optional<SheetOpening> opening = BeginSheetEdit(std::nullopt, 1, 1, false, 10);
        ASSERT_TRUE(opening) << c.name;
        EXPECT_EQ(dialogs.calls().size(), c.asked ? 2u : 0u) << c.name;
        EXPECT_EQ(Reference(opening->sheet), c.asked ? QStringLiteral("500") : QString()) << c.name;
        if (c.asked) {
            EXPECT_EQ(dialogs.calls()[0].caption, comeback_text::Caption);
            EXPECT_TRUE(dialogs.calls()[0].text.contains(QStringLiteral("00500J"))) << c.name;
            EXPECT_TRUE(dialogs.calls()[0].text.contains(QString::fromUtf8("Panasz: Nem fűt"))) << c.name;
            EXPECT_TRUE(dialogs.calls()[0].text.contains(QStringLiteral("%1 napja").arg(c.daysAgo)))
                << c.name;
            ASSERT_EQ(windows.calls("PrintWorkSheet").size(), 1u);
            EXPECT_EQ(windows.calls("PrintWorkSheet")[0].args.at(0).toInt(), 500);
            EXPECT_EQ(ComebackReferenceText(opening->sheet), QStringLiteral("00500J"));
        }
    }
}

TEST_F(Comeback, AnsweringNoLeavesAPlainSheetAndAnotherDeviceIsNotAsked) {
    Finished(500, 3);
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::No).answer(DialogAnswer::No);
    const std::optional<SheetOpening> plain = BeginSheetEdit(std::nullopt, 1, 1, false, 10);
    ASSERT_TRUE(plain);
    EXPECT_EQ(Reference(plain->sheet), QString());
    EXPECT_EQ(ComebackReferenceText(plain->sheet), QString());
    const std::optional<SheetOpening> other = BeginSheetEdit(std::nullopt, 1, 1, false, 11);
    ASSERT_TRUE(other);
    EXPECT_EQ(dialogs.calls().size(), 2u); // nothing asked for device 11
}

TEST_F(Comeback, TheReferenceSurvivesABackupAndTheReportCountsCostPerEmployee) {
    Finished(500, 3);
    exec(QStringLiteral("INSERT INTO dolgozo (dolgozo, dolgozo_nev) VALUES (1, 'Szerelő Szabolcs')"));
    exec(QStringLiteral("INSERT INTO munkalap_dolgozo (munkalap, dolgozo) VALUES (500, 1)"));
    exec(QStringLiteral(
        "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, visszatero_munkalap) "
        "VALUES (501, 1, 1, 10, CURDATE(), 500), (502, 1, 1, 10, CURDATE(), NULL)"));
    exec(QStringLiteral("INSERT INTO munkalap_tetel (munkalap, tetel, db, beszar, egysar) VALUES "
                        "(501, 0, 2, 1500, 3000), (501, 0, 1, 250.5, 900), (502, 0, 1, 999, 999)"));

    Query report;
    PreparePeriodQuery(
        report,
        {PeriodReport::Comebacks, SheetListGrouping::ByType, {}, {QDate(2000, 1, 1), QDate(2999, 1, 1)}});
    report.open();
    ASSERT_EQ(report.recordCount(), 1);
    EXPECT_EQ(report.asString(QStringLiteral("dolgozo_nev")), QString::fromUtf8("Szerelő Szabolcs"));
    EXPECT_EQ(report.asString(QStringLiteral("munkalapstr")), QStringLiteral("00501J"));
    EXPECT_EQ(report.asString(QStringLiteral("korabbi")), QStringLiteral("00500J"));
    EXPECT_DOUBLE_EQ(report.asFloat(QStringLiteral("koltseg")), 3250.5);
    report.close();

    // The printout names the earlier sheet at the top of its first page.
    const auto printedText = [](int sheet) {
        QStringList texts;
        const report::Document doc =
            MakeWorkSheetDocument(sheet, WorkSheetLayout::qrMunkalap, WorkSheetPrintOptions{});
        for (const report::Atom& a : doc.pages.front().atoms)
            texts << a.text;
        return texts;
    };
    EXPECT_TRUE(
        printedText(501).contains(QString::fromUtf8("Visszatérő javítás – korábbi munkalap: 00500J")));
    EXPECT_FALSE(printedText(502).join(u'|').contains(QString::fromUtf8("Visszatérő")));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mentes.sql"));
    WriteDataBackup(s_db->connection(), file);
    {
        TestDatabase restored(QStringLiteral("comebackrestore"));
        RestoreDataBackup(restored.connection(), file);
        EXPECT_EQ(restored.connection()
                      .query(QStringLiteral("SELECT visszatero_munkalap FROM munkalap WHERE munkalap = 501"))
                      .text(0, 0),
                  QStringLiteral("500"));
        EXPECT_TRUE(
            restored.connection()
                .query(QStringLiteral("SELECT visszatero_munkalap FROM munkalap WHERE munkalap = 502"))
                .isNull(0, 0));
    }
    SetSharedConnection(&s_db->connection()); // the restored database's connection was the shared one
}

TEST_F(Comeback, ADevicesHistoryFindsItsSheetsUnderEveryOwnerAndRegistration) {
    // The same boiler registered again under its new owner, and a car
    // whose plate changed (same chassis number).
    exec(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (2, 'Új Tulajdonos')"));
    exec(QStringLiteral(
        "INSERT INTO keszulek (keszulek, ugyfel, gysz, gysz2, torolve) VALUES "
        "(12, 2, 'KAZAN-10', '', 'N'), (13, 2, 'ABC-123', 'WVW1', 'N'), (14, 1, 'XYZ-999', 'WVW1', 'I'), "
        "(15, 2, '', '', 'N'), (16, 2, '', '', 'N')"));
    exec(QStringLiteral(
        "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum) VALUES "
        "(601, 1, 1, 10, '2025-01-01'), (602, 1, 2, 12, '2026-01-01'), (603, 1, 1, 11, '2026-01-02'), "
        "(604, 1, 1, 14, '2024-05-05'), (605, 1, 2, 13, '2026-03-03'), (606, 1, 2, 15, '2026-03-04'), "
        "(607, 1, 2, 16, '2026-03-05')"));
    const struct {
        int device;
        QStringList sheets;
    } cases[] = {{10, {"601", "602"}}, {12, {"601", "602"}}, {13, {"604", "605"}}, {15, {"606"}}};
    for (const auto& c : cases) {
        ListController list(SheetBrowserDefinition(-1, c.device));
        list.open();
        QStringList sheets;
        for (int r = 0; r < list.rowCount(); ++r) {
            list.query().moveTo(r);
            sheets << list.query().asString(QStringLiteral("munkalap"));
        }
        EXPECT_EQ(sheets, c.sheets) << c.device;
    }
}
