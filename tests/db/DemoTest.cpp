// The demo shop (db/demo.sql): it loads without a warning on any day of the
// week, and its rows are consistent the way the screens rely on: every
// status, cancelled and paid sheets, references that resolve, totals as the
// routines compute them, a planner filled around today, dates relative to the
// day it was loaded.
#include "TestDatabase.h"

#include <QFile>
#include <gtest/gtest.h>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

using namespace kml;
using kml::test::TestDatabase;

namespace {

QString Value(Connection& c, const QString& sql) {
    const ResultSet rs = c.query(sql);
    return rs.rowCount() > 0 ? rs.text(0, 0) : QStringLiteral("<no row>");
}

long long Count(Connection& c, const QString& sql) {
    return Value(c, sql).toLongLong();
}

struct Rule {
    const char* what;
    const char* sql; // a count
};

// Counts of rows that break what the screens rely on; each must be 0.
const Rule kViolations[] = {
    {"sheet whose customer is missing",
     "SELECT COUNT(*) FROM munkalap m LEFT JOIN ugyfel u ON u.ugyfel = m.ugyfel "
     "WHERE u.ugyfel IS NULL"},
    {"sheet whose device is missing or another customer's",
     "SELECT COUNT(*) FROM munkalap m LEFT JOIN keszulek k ON k.keszulek = m.keszulek "
     "WHERE m.keszulek <> 0 AND (k.keszulek IS NULL OR k.ugyfel <> m.ugyfel)"},
    {"non-quotation sheet without a device",
     "SELECT COUNT(*) FROM munkalap WHERE statusz > 0 AND keszulek = 0"},
    {"sheet type not of the shop's trade",
     "SELECT COUNT(*) FROM munkalap m LEFT JOIN mlaptipus t ON t.mlaptipus = m.mlaptipus "
     "WHERE t.prgtipus IS NULL OR t.prgtipus <> (SELECT prgtipus FROM beallit)"},
    {"device whose type, manufacturer or kind is missing",
     "SELECT COUNT(*) FROM keszulek k LEFT JOIN tipus t ON t.tipus = k.tipus LEFT JOIN gyarto g ON g.gyarto "
     "= t.gyarto "
     "LEFT JOIN keszulektipus kt ON kt.keszulektipus = t.keszulektipus "
     "WHERE g.gyarto IS NULL OR kt.keszulektipus IS NULL"},
    {"device of a missing customer",
     "SELECT COUNT(*) FROM keszulek k LEFT JOIN ugyfel u ON u.ugyfel = k.ugyfel WHERE u.ugyfel IS NULL"},
    {"line of a missing item or sheet",
     "SELECT COUNT(*) FROM munkalap_tetel l LEFT JOIN tetel t ON t.tetel = l.tetel "
     "LEFT JOIN munkalap m ON m.munkalap = l.munkalap WHERE t.tetel IS NULL OR m.munkalap IS NULL"},
    {"sheet without 1 to 6 lines", "SELECT COUNT(*) FROM munkalap m WHERE (SELECT COUNT(*) FROM "
                                   "munkalap_tetel l WHERE l.munkalap = m.munkalap) "
                                   "NOT BETWEEN 1 AND 6"},
    {"started or later sheet without an employee",
     "SELECT COUNT(*) FROM munkalap m WHERE m.statusz >= 2 AND NOT EXISTS "
     "(SELECT 1 FROM munkalap_dolgozo d WHERE d.munkalap = m.munkalap)"},
    {"employee link to a missing employee", "SELECT COUNT(*) FROM munkalap_dolgozo md LEFT JOIN dolgozo d ON "
                                            "d.dolgozo = md.dolgozo WHERE d.dolgozo IS NULL"},
    {"ready sheet without completion date",
     "SELECT COUNT(*) FROM munkalap WHERE statusz >= 3 AND dat_kesz IS NULL"},
    {"invoiced sheet without invoice number",
     "SELECT COUNT(*) FROM munkalap WHERE statusz = 4 AND COALESCE(szlaszam, '') = ''"},
    {"payment flag and date disagree",
     "SELECT COUNT(*) FROM munkalap WHERE (fizetve = 'I') <> (dat_fizetve IS NOT NULL)"},
    {"arrival after today", "SELECT COUNT(*) FROM munkalap WHERE datum > CURDATE() OR datum IS NULL"},
    {"completion, payment or record in the future",
     "SELECT COUNT(*) FROM munkalap WHERE dat_kesz > CURDATE() OR dat_fizetve > CURDATE() OR rogzitve > "
     "NOW() "
     "OR dat_kesz < datum OR dat_fizetve < dat_kesz"},
    {"status change in the future", "SELECT COUNT(*) FROM statuszvaltas WHERE rogzitve > NOW()"},
    {"customer postcode not in irsz", "SELECT COUNT(*) FROM ugyfel u LEFT JOIN irsz i ON i.irsz = u.cim_irsz "
                                      "WHERE i.irsz IS NULL OR i.varos <> u.cim_varos"},
    {"company without a 99999999-9-99 tax number or private person with one",
     "SELECT COUNT(*) FROM ugyfel WHERE IF(maganszemely = 'I', COALESCE(adoszam, '') <> '', "
     "adoszam NOT REGEXP '^[0-9]{8}-[1-5]-[0-9]{2}$')"},
    {"live employees not numbered 1 to n", "SELECT COUNT(*) <> MAX(sorszam) OR COUNT(DISTINCT sorszam) <> "
                                           "COUNT(*) FROM dolgozo WHERE torolve = 'N'"},
    {"appointment slot outside the day's slots",
     "SELECT COUNT(*) FROM elojegyzes e LEFT JOIN ora o ON o.ora = e.ora WHERE o.ora IS NULL"},
    {"appointment group not named after its first row",
     "SELECT COUNT(*) FROM (SELECT azon, MIN(elojegyzes) AS elso FROM elojegyzes GROUP BY azon) g WHERE azon "
     "<> elso"},
    {"overlapping appointments of an employee",
     "SELECT COUNT(*) FROM (SELECT 1 FROM elojegyzes GROUP BY dolgozo, datum, ora HAVING COUNT(*) > 1) x"},
    {"today's planner grid incomplete",
     "SELECT (SELECT COUNT(*) FROM ora) - (SELECT COUNT(*) FROM dolgelo WHERE datum = CURDATE())"},
};

// Things each screen shows; each count must be positive.
const Rule kPresent[] = {
    {"quotation", "SELECT COUNT(*) FROM munkalap WHERE statusz = 0 AND storno = 'N'"},
    {"received sheet", "SELECT COUNT(*) FROM munkalap WHERE statusz = 1 AND storno = 'N'"},
    {"started sheet", "SELECT COUNT(*) FROM munkalap WHERE statusz = 2 AND storno = 'N'"},
    {"ready sheet", "SELECT COUNT(*) FROM munkalap WHERE statusz = 3 AND storno = 'N'"},
    {"invoiced sheet", "SELECT COUNT(*) FROM munkalap WHERE statusz = 4 AND storno = 'N'"},
    {"cancelled sheet", "SELECT COUNT(*) FROM munkalap WHERE storno = 'I'"},
    {"cancelled invoiced sheet", "SELECT COUNT(*) FROM munkalap WHERE storno = 'I' AND statusz = 4"},
    {"paid sheet", "SELECT COUNT(*) FROM munkalap WHERE fizetve = 'I'"},
    {"invoiced, unpaid sheet",
     "SELECT COUNT(*) FROM munkalap WHERE statusz = 4 AND fizetve = 'N' AND storno = 'N'"},
    {"sheet that arrived today", "SELECT COUNT(*) FROM munkalap WHERE datum = CURDATE()"},
    {"overdue open sheet",
     "SELECT COUNT(*) FROM munkalap WHERE statusz IN (1, 2) AND storno = 'N' AND dat_hatid < CURDATE()"},
    {"open sheet due today", "SELECT COUNT(*) FROM munkalap WHERE statusz IN (1, 2) AND storno = 'N' AND "
                             "DATE(dat_hatid) = CURDATE()"},
    {"open sheet due later", "SELECT COUNT(*) FROM munkalap WHERE statusz IN (1, 2) AND storno = 'N' AND "
                             "DATE(dat_hatid) > CURDATE()"},
    {"sheet a year old", "SELECT COUNT(*) FROM munkalap WHERE datum <= CURDATE() - INTERVAL 300 DAY"},
    {"sheet with discount and advance", "SELECT (SELECT COUNT(*) FROM munkalap WHERE ar_kedvezmeny <> 0) * "
                                        "(SELECT COUNT(*) FROM munkalap WHERE ar_eloleg <> 0)"},
    {"vehicle sheet with odometer", "SELECT COUNT(*) FROM munkalap WHERE kmora > 0"},
    {"customer warning today", "SELECT COUNT(*) FROM vw_ugyfel WHERE dat_figyelmeztet = CURDATE()"},
    {"customer warning past", "SELECT COUNT(*) FROM vw_ugyfel WHERE dat_figyelmeztet < CURDATE()"},
    {"customer warning future", "SELECT COUNT(*) FROM vw_ugyfel WHERE dat_figyelmeztet > CURDATE()"},
    {"deleted customer, device, item and employee",
     "SELECT (SELECT COUNT(*) FROM ugyfel WHERE torolve = 'I') * (SELECT COUNT(*) FROM keszulek WHERE "
     "torolve = 'I') "
     "* (SELECT COUNT(*) FROM tetel WHERE torolve = 'I') * (SELECT COUNT(*) FROM dolgozo WHERE torolve = "
     "'I')"},
    {"device due within 30 days", "SELECT COUNT(*) FROM vw_keszulek WHERE hatravan BETWEEN 0 AND 29"},
    {"device overdue", "SELECT COUNT(*) FROM vw_keszulek WHERE hatravan < 0"},
    {"employees booked this week", "SELECT COUNT(DISTINCT dolgozo) >= 3 FROM elojegyzes WHERE datum BETWEEN "
                                   "CURDATE() - INTERVAL WEEKDAY(CURDATE()) "
                                   "DAY AND CURDATE() - INTERVAL WEEKDAY(CURDATE()) DAY + INTERVAL 6 DAY"},
    {"appointment in today's planner grid",
     "SELECT COUNT(*) FROM dolgelo WHERE datum = CURDATE() AND elojegyzes01 + elojegyzes02 + elojegyzes03 + "
     "elojegyzes04 + elojegyzes05 > 0"},
    {"notes of every kind", "SELECT COUNT(DISTINCT megjtipus) = 3 FROM megj"},
};

void ExpectConsistent(Connection& c, const std::string& when) {
    for (const Rule& rule : kViolations)
        EXPECT_EQ(Value(c, QLatin1String(rule.sql)), "0") << rule.what << when;
    for (const Rule& rule : kPresent)
        EXPECT_GT(Count(c, QLatin1String(rule.sql)), 0) << rule.what << when;
}

class Demo : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("demo"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    static Connection& conn() { return db->connection(); }
    static inline TestDatabase* db = nullptr;
};

TEST(DemoFile, LoadsWithoutWarningsOnAnyDayAndLeavesNoHelpers) {
    const QString path = kml::test::SourcePath(QStringLiteral("db/demo.sql"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString demo = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(demo.startsWith(QLatin1String("SET NAMES latin2")));

    // The server clock is set per session: loading late on a Sunday, or just
    // after midnight on New Year's Day (a Saturday), must work as well as today.
    const char* days[] = {"", "2027-03-07 23:50:00", "2028-01-01 00:05:00"};
    for (const char* day : days) {
        TestDatabase fresh(QStringLiteral("demoload"), TestDatabase::Contents::Schema);
        const QString clock =
            *day ? QStringLiteral("SET timestamp = UNIX_TIMESTAMP('%1');\n").arg(QLatin1String(day))
                 : QString();
        const QString output =
            kml::test::RunClient(fresh.name(), clock + demo, {QStringLiteral("--show-warnings")});
        EXPECT_EQ(output.trimmed(), QString()) << "loaded on " << day;
        if (*day)
            fresh.connection().exec(clock);
        ExpectConsistent(fresh.connection(), std::string(" (loaded on ") + day + ")");
        EXPECT_EQ(Value(fresh.connection(),
                        QStringLiteral("SELECT COUNT(*) FROM information_schema.ROUTINES "
                                       "WHERE ROUTINE_SCHEMA = DATABASE() AND ROUTINE_NAME LIKE 'demo%'")),
                  "0");
    }
}

TEST_F(Demo, RowsAreConsistentAndCoverWhatTheScreensShow) {
    ExpectConsistent(conn(), "");
    EXPECT_GE(Count(conn(), QStringLiteral("SELECT COUNT(*) FROM irsz")), 200);
    EXPECT_GE(Count(conn(), QStringLiteral("SELECT COUNT(*) FROM munkalap")), 140);
    EXPECT_GE(Count(conn(), QStringLiteral("SELECT COUNT(*) FROM ugyfel")), 35);
}

TEST_F(Demo, DerivedValuesAreWhatTheRoutinesCompute) {
    conn().exec(
        QStringLiteral("CREATE TEMPORARY TABLE elotte AS SELECT munkalap, ar_ossz, ar_besz, ar_fizetendo, "
                       "dolgozostr FROM munkalap"));
    const ResultSet sheets = conn().query(QStringLiteral("SELECT munkalap FROM munkalap"));
    for (int r = 0; r < sheets.rowCount(); ++r) {
        conn().exec(QStringLiteral("CALL sp_arbeallit(%1)").arg(sheets.text(r, 0)));
        conn().exec(QStringLiteral("CALL sp_dolgstr(%1, -1)").arg(sheets.text(r, 0)));
    }
    EXPECT_EQ(
        Value(conn(), QStringLiteral("SELECT COUNT(*) FROM munkalap m JOIN elotte e USING (munkalap) "
                                     "WHERE NOT (m.ar_ossz <=> e.ar_ossz AND m.ar_besz <=> e.ar_besz AND "
                                     "m.ar_fizetendo <=> e.ar_fizetendo AND m.dolgozostr <=> e.dolgozostr)")),
        "0");
    EXPECT_GT(
        Count(conn(), QStringLiteral("SELECT COUNT(*) FROM elotte WHERE ar_ossz > 0 AND dolgozostr <> ''")),
        100);

    // The devices' last sheet and the customers' serial numbers are current.
    EXPECT_EQ(Value(conn(), QStringLiteral(
                                "SELECT COUNT(*) FROM keszulek k WHERE utolso_munkalap <> COALESCE("
                                "(SELECT MAX(munkalap) FROM munkalap m WHERE m.keszulek = k.keszulek), 0)")),
              "0");
    conn().exec(QStringLiteral("CREATE TEMPORARY TABLE gysz_elotte AS SELECT ugyfel, gyszstr FROM ugyfel"));
    conn().exec(QStringLiteral("CALL sp_gyszstr()"));
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM ugyfel u JOIN gysz_elotte e USING (ugyfel) "
                                           "WHERE NOT (u.gyszstr <=> e.gyszstr)")),
              "0");
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM ugyfel WHERE gyszstr = '' AND ugyfel IN "
                                           "(SELECT ugyfel FROM keszulek WHERE torolve = 'N')")),
              "0");
}

TEST_F(Demo, ShopUsersAndSettingsAreReady) {
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT vanbelep FROM beallit")), "N");
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT prgtipus FROM beallit")), "1");
    EXPECT_NE(Value(conn(), QStringLiteral("SELECT tulajdonos FROM vw_tulajdonos")), "Saját szerviz");
    struct User {
        const char* login;
        const char* password;
        const char* admin;
    };
    for (const User& u :
         {User{"admin", "demo", "I"}, User{"iroda", "iroda", "N"}, User{"szerelo", "szerelo", "N"}}) {
        EXPECT_EQ(Value(conn(),
                        QStringLiteral("SELECT CONCAT(jelszomd5 = MD5('%2'), rendszergazda) FROM felhasznalo "
                                       "WHERE felhasznalo = '%1'")
                            .arg(QLatin1String(u.login), QLatin1String(u.password))),
                  QStringLiteral("1") + QLatin1String(u.admin))
            << u.login;
    }
    // Hungarian text arrives intact through the program's latin2 connection.
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT tulajdonos FROM tulajdonos")),
              "Hűs-Lég Klímaszerviz Kft.");
    EXPECT_GT(Count(conn(), QStringLiteral("SELECT COUNT(*) FROM levelszoveg WHERE ezhtml = 'I'")), 0);
    for (const char* table : {"szotar", "csvexp", "web_szoveg", "banner", "webintro", "webuzenet", "uzenet"})
        EXPECT_GT(Count(conn(), QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))), 0)
            << table;
}

} // namespace
