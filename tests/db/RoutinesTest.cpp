// The stored routines and triggers against the real server: what each one
// leaves in the tables and views the program reads afterwards.
#include "TestDatabase.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"
#include "worksheets/Appointments.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <barrier>
#include <gtest/gtest.h>
#include <latch>
#include <set>
#include <thread>

using namespace kml;
using kml::test::TestDatabase;

namespace {

QString Value(Connection& c, const QString& sql) {
    const ResultSet rs = c.query(sql);
    return rs.rowCount() > 0 ? (rs.isNull(0, 0) ? QStringLiteral("<null>") : rs.text(0, 0))
                             : QStringLiteral("<no row>");
}

qlonglong Int(Connection& c, const QString& sql) {
    return c.query(sql).value(0, 0).toLongLong();
}

double Float(Connection& c, const QString& sql) {
    return c.query(sql).value(0, 0).toDouble();
}

QStringList Lines(Connection& c, const QString& sql) {
    const ResultSet rs = c.query(sql);
    QStringList lines;
    for (int r = 0; r < rs.rowCount(); ++r) {
        QStringList fields;
        for (int col = 0; col < rs.columnCount(); ++col)
            fields << (rs.isNull(r, col) ? QStringLiteral("<null>") : rs.text(r, col));
        lines << fields.join(QLatin1Char('|'));
    }
    return lines;
}

QStringList ColumnNames(const ResultSet& rs) {
    QStringList names;
    for (const ColumnInfo& c : rs.columns())
        names << c.name;
    return names;
}

QString Today(int days = 0) {
    return QDate::currentDate().addDays(days).toString(Qt::ISODate);
}

class Routines : public ::testing::Test {
protected:
    static void SetUpTestSuite() { db = new TestDatabase(QStringLiteral("routines")); }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override {
        for (const char* table :
             {"munkalap", "munkalap_tetel", "munkalap_dolgozo", "statuszvaltas", "elojegyzes", "dolgozo",
              "ugyfel", "keszulek", "tipus", "gyarto", "tetel", "megj", "webintro", "uzenet"})
            exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        exec(QStringLiteral(
            "UPDATE beallit SET mlaphatid = 3, afakulcs = 27, szlamegjegyzes = '', prgtipus = 1"));
    }
    static Connection& conn() { return db->connection(); }
    static void exec(const QString& sql) { conn().exec(sql); }
    static qlonglong insert(const QString& sql) {
        conn().exec(sql);
        return qlonglong(conn().lastInsertId());
    }
    static QString value(const QString& sql) { return Value(conn(), sql); }
    static qlonglong integer(const QString& sql) { return Int(conn(), sql); }
    static double real(const QString& sql) { return Float(conn(), sql); }
    static QStringList lines(const QString& sql) { return Lines(conn(), sql); }

    // A customer with one device of a typed manufacturer.
    static qlonglong customer(const QString& name) {
        return insert(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev, cim_irsz, cim_varos, cim_cim) "
                                     "VALUES (%1, '6720', 'Szeged', 'Kárász utca 6.')")
                          .arg(SqlLiteral(name)));
    }
    static qlonglong device(qlonglong owner, const QString& serial) {
        const qlonglong maker = insert(QStringLiteral("INSERT INTO gyarto (gyarto_nev) VALUES ('Vaillant')"));
        const qlonglong type = insert(
            QStringLiteral("INSERT INTO tipus (gyarto, tipus_nev) VALUES (%1, 'ecoTEC plus')").arg(maker));
        return insert(QStringLiteral("INSERT INTO keszulek (ugyfel, tipus, gysz) VALUES (%1, %2, %3)")
                          .arg(owner)
                          .arg(type)
                          .arg(SqlLiteral(serial)));
    }
    static qlonglong employee(const QString& name) {
        return insert(QStringLiteral("INSERT INTO dolgozo (dolgozo_nev) VALUES (%1)").arg(SqlLiteral(name)));
    }
    static qlonglong item(const QString& name, bool service, const QString& code = QStringLiteral("T1")) {
        return insert(QStringLiteral("INSERT INTO tetel (tetel_kod, tetel_nev, ezszolg, cikkszam, mert) "
                                     "VALUES (%1, %2, '%3', '', NULL)")
                          .arg(SqlLiteral(code), SqlLiteral(name))
                          .arg(service ? 'I' : 'N'));
    }
    // A new sheet through the routine, its number as the routine leaves it.
    static qlonglong newSheet(qlonglong customerId, qlonglong deviceId = -1, int type = 1,
                              const QString& user = QStringLiteral("rendszergazda")) {
        exec(QStringLiteral("CALL sp_ujmunkalap(%1, %2, %3, %4);")
                 .arg(customerId)
                 .arg(type)
                 .arg(deviceId)
                 .arg(SqlLiteral(user)));
        return integer(QStringLiteral("SELECT LAST_INSERT_ID()"));
    }
    static qlonglong addLine(qlonglong sheet, qlonglong itemId, double db, double egysar, double beszar,
                             const QString& remark = QString()) {
        exec(QStringLiteral("CALL sp_munkalap_ujsor(%1,%2,%3,%4,%5,0,0,%4,%6,'');")
                 .arg(sheet)
                 .arg(itemId)
                 .arg(db)
                 .arg(egysar)
                 .arg(beszar)
                 .arg(SqlLiteral(remark)));
        return integer(QStringLiteral("SELECT LAST_INSERT_ID()"));
    }
    static QString sheetField(qlonglong sheet, const QString& column) {
        return value(QStringLiteral("SELECT %1 FROM munkalap WHERE munkalap = %2").arg(column).arg(sheet));
    }
    static void expectError(const QString& sql) { EXPECT_THROW(exec(sql), DbError) << sql.toStdString(); }

    static inline TestDatabase* db = nullptr;
};

// --- New work sheet --------------------------------------------------------

TEST_F(Routines, NewSheetGetsItsDefaultsAndLeavesItsNumber) {
    exec(QStringLiteral("UPDATE beallit SET mlaphatid = 5"));
    const qlonglong owner = customer(QStringLiteral("Kiss Anna"));
    const qlonglong dev = device(owner, QStringLiteral("SN-77"));
    struct Case {
        const char* name;
        qlonglong customerArg, deviceArg, customerStored, deviceStored;
    };
    const Case cases[] = {
        {"customer and device", owner, dev, owner, dev},
        {"no device (-1)", owner, -1, owner, 0},
        {"device only: its owner", -1, dev, owner, dev},
        {"neither", -1, -1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
        const qlonglong sheet = newSheet(c.customerArg, c.deviceArg, 4, QStringLiteral("Teszt Elek"));
        EXPECT_EQ(sheet, integer(QStringLiteral("SELECT MAX(munkalap) FROM munkalap")));
        EXPECT_EQ(lines(QStringLiteral(
                            "SELECT mlaptipus, ugyfel, keszulek, datum, DATE(dat_hatid), statusz, storno, "
                            "fizetve, felhasznalo, ar_ossz, ar_fizetendo, dolgozostr, dat_kesz "
                            "FROM munkalap WHERE munkalap = %1")
                            .arg(sheet)),
                  QStringList{QStringLiteral("4|%1|%2|%3|%4|1|N|N|Teszt Elek|0|0||<null>")
                                  .arg(c.customerStored)
                                  .arg(c.deviceStored)
                                  .arg(Today(), Today(5))});
        const QDateTime recorded = QDateTime::fromString(sheetField(sheet, QStringLiteral("rogzitve")),
                                                         QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        EXPECT_GE(recorded, before);
        EXPECT_LE(recorded, QDateTime::currentDateTime().addSecs(2));
        // The list shows it at once under "Beérkezett".
        EXPECT_EQ(value(QStringLiteral("SELECT statusz_nev FROM vw_munkalap WHERE munkalap = %1").arg(sheet)),
                  "Beérkezett");
        if (c.deviceStored > 0) {
            EXPECT_EQ(
                integer(QStringLiteral("SELECT utolso_munkalap FROM keszulek WHERE keszulek = %1").arg(dev)),
                sheet);
        }
    }
    EXPECT_EQ(value(QStringLiteral("SELECT dat_utolso FROM ugyfel WHERE ugyfel = %1").arg(owner)), Today());
}

TEST_F(Routines, TwoWorkstationsCreatingSheetsAtOnceEachGetTheirOwn) {
    const qlonglong firstCustomer = customer(QStringLiteral("Első Géza"));
    const qlonglong secondCustomer = customer(QStringLiteral("Második Géza"));
    constexpr int perThread = 500;
    std::latch start(2);
    std::vector<qlonglong> numbers[2];
    std::string failures[2];
    auto work = [&](int index, qlonglong customerId) {
        try {
            auto c = db->connect();
            start.arrive_and_wait();
            for (int i = 0; i < perThread; ++i) {
                c->exec(
                    QStringLiteral("CALL sp_ujmunkalap(%1, 1, -1, 'szal%2');").arg(customerId).arg(index));
                numbers[index].push_back(Int(*c, QStringLiteral("SELECT LAST_INSERT_ID()")));
            }
        } catch (const std::exception& e) {
            failures[index] = e.what();
        }
    };
    std::thread a(work, 0, firstCustomer);
    std::thread b(work, 1, secondCustomer);
    a.join();
    b.join();
    ASSERT_EQ(failures[0], "");
    ASSERT_EQ(failures[1], "");

    std::set<qlonglong> all;
    for (int t = 0; t < 2; ++t) {
        ASSERT_EQ(numbers[t].size(), size_t(perThread));
        all.insert(numbers[t].begin(), numbers[t].end());
        // Each thread's numbers are its own sheets: made by it, for its customer.
        const qlonglong customerId = t == 0 ? firstCustomer : secondCustomer;
        QStringList list;
        for (qlonglong n : numbers[t])
            list << QString::number(n);
        EXPECT_EQ(
            integer(QStringLiteral(
                        "SELECT COUNT(*) FROM munkalap WHERE munkalap IN (%1) AND felhasznalo = 'szal%2' "
                        "AND ugyfel = %3")
                        .arg(list.join(QLatin1Char(',')))
                        .arg(t)
                        .arg(customerId)),
            perThread);
        EXPECT_TRUE(std::is_sorted(numbers[t].begin(), numbers[t].end()));
    }
    EXPECT_EQ(all.size(), size_t(2 * perThread)); // none shared, none lost
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM munkalap")), 2 * perThread);
}

// --- Lines and totals ------------------------------------------------------

TEST_F(Routines, LineRoutinesKeepTheSheetTotals) {
    const qlonglong sheet = newSheet(customer(QStringLiteral("Nagy Béla")));
    const qlonglong part = item(QStringLiteral("Szűrő"), false);
    const qlonglong work = item(QStringLiteral("Munkadíj"), true, QStringLiteral("M1"));

    const qlonglong first = addLine(sheet, part, 2, 1000, 600, QStringLiteral("gyári"));
    EXPECT_EQ(first, integer(QStringLiteral("SELECT MAX(munkalap_tetel) FROM munkalap_tetel")));
    const qlonglong second = addLine(sheet, work, 1.5, 200, 0);
    exec(QStringLiteral("UPDATE munkalap SET ar_eloleg = 500, ar_kedvezmeny = -100 WHERE munkalap = %1")
             .arg(sheet));

    struct Step {
        const char* name;
        QString sql;
        double ossz, besz, fizetendo;
    };
    const Step steps[] = {
        {"advance and discount taken in", QStringLiteral("CALL sp_arbeallit(%1);").arg(sheet), 2300, 1200,
         1700},
        {"line rewritten",
         QStringLiteral("CALL sp_munkalap_szerkesztsor(%1,%2,3,200,50,0,0,200,'„átírva” €','X-1');")
             .arg(second)
             .arg(work),
         2600, 1350, 2000},
        {"unit price set by the editor, then recalculated",
         QStringLiteral("UPDATE munkalap_tetel SET egysar = 900 WHERE munkalap_tetel = %1;").arg(first), 2600,
         1350, 2000},
        {"", QStringLiteral("CALL sp_arbeallit(%1);").arg(sheet), 2400, 1350, 1800},
        {"sheet-wide discount from the list prices",
         QStringLiteral("UPDATE munkalap_tetel SET   kedv_ad = 10,  egysar = ar_teljes * (1 - (10 / "
                        "100))WHERE munkalap = %1;")
             .arg(sheet),
         2400, 1350, 1800},
        {"", QStringLiteral("CALL sp_arbeallit(%1);").arg(sheet), 2340, 1350, 1740},
        {"line deleted", QStringLiteral("CALL sp_munkalap_torolsor(%1);").arg(first), 540, 150, -60},
        {"deleting it again changes nothing", QStringLiteral("CALL sp_munkalap_torolsor(%1);").arg(first),
         540, 150, -60},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        exec(s.sql);
        EXPECT_DOUBLE_EQ(real(QStringLiteral("SELECT ar_ossz FROM munkalap WHERE munkalap = %1").arg(sheet)),
                         s.ossz);
        EXPECT_DOUBLE_EQ(real(QStringLiteral("SELECT ar_besz FROM munkalap WHERE munkalap = %1").arg(sheet)),
                         s.besz);
        EXPECT_DOUBLE_EQ(
            real(QStringLiteral("SELECT ar_fizetendo FROM munkalap WHERE munkalap = %1").arg(sheet)),
            s.fizetendo);
    }
    // What the lists and the line editor read of the remaining line.
    EXPECT_EQ(
        lines(QStringLiteral(
                  "SELECT tetel_nev, ezszolg, db, egysar, osszar, megjegyzes, egyeb FROM vw_munkalap_tetel "
                  "WHERE munkalap = %1 ORDER BY munkalap_tetel")
                  .arg(sheet)),
        QStringList{"Munkadíj|I|3|180|540|„átírva” €|X-1"}); // cp1250-only characters pass unchanged
    EXPECT_EQ(
        lines(QStringLiteral("SELECT tetel_nev, ar_elad, ar_teljes, ar_besz, kedv_ad, db FROM vw_mlaptetel "
                             "WHERE munkalap_tetel = %1")
                  .arg(second)),
        QStringList{"Munkadíj|180|200|50|10|3"});
    EXPECT_EQ(
        lines(QStringLiteral(
                  "SELECT szolgbesz, szolgelad, szolghaszon, termbesz, termelad, termhaszon, osszhaszon "
                  "FROM vw_mlapsum WHERE munkalap = %1")
                  .arg(sheet)),
        QStringList{"150|540|390|0|0|0|290"});
    EXPECT_EQ(value(QStringLiteral("SELECT ar_teljes FROM vw_munkalap WHERE munkalap = %1").arg(sheet)),
              "440");
}

TEST_F(Routines, LineRoutinesRefuseMissingSheetsAndLines) {
    const qlonglong part = item(QStringLiteral("Szűrő"), false);
    expectError(QStringLiteral("CALL sp_munkalap_ujsor(987654,%1,1,100,0,0,0,100,'','');").arg(part));
    expectError(QStringLiteral("CALL sp_munkalap_szerkesztsor(987654,%1,1,100,0,0,0,100,'','');").arg(part));
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel")), 0);
}

TEST_F(Routines, AFailureInsideARoutineUndoesAllOfIt) {
    const qlonglong sheet = newSheet(customer(QStringLiteral("Tóth Ede")));
    // The status history refuses rows: sp_setstatusz fails after it has
    // already set the new status, which must be undone.
    exec(QStringLiteral("CREATE TRIGGER teszt_hiba BEFORE INSERT ON statuszvaltas FOR EACH ROW "
                        "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'teszt'"));
    expectError(QStringLiteral("CALL sp_setstatusz(%1,'x',3);").arg(sheet));
    exec(QStringLiteral("DROP TRIGGER teszt_hiba"));
    EXPECT_EQ(sheetField(sheet, QStringLiteral("statusz")), "1");
    EXPECT_EQ(sheetField(sheet, QStringLiteral("dat_kesz")), "<null>");

    // The second slot of an appointment is refused: the first goes too.
    const qlonglong emp = employee(QStringLiteral("Anna"));
    exec(QStringLiteral("CALL sp_dolgujrasor();"));
    exec(QStringLiteral("CREATE TRIGGER teszt_hiba BEFORE INSERT ON elojegyzes FOR EACH ROW "
                        "IF NEW.ora = 21 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'teszt'; END IF"));
    expectError(QStringLiteral("CALL sp_ujelojegyzes(%1,'%2',20,2,-1,0,0,'x');").arg(emp).arg(Today()));
    exec(QStringLiteral("DROP TRIGGER teszt_hiba"));
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM elojegyzes")), 0);
    // The connection is not left inside a transaction.
    EXPECT_EQ(value(QStringLiteral("SELECT @@in_transaction")), "0");
}

// --- Status, payment, employees ---------------------------------------------

TEST_F(Routines, SetStatusMovesTheSheetAndStampsTheReadyDate) {
    const qlonglong sheet = newSheet(customer(QStringLiteral("Fodor Ilona")));
    struct Step {
        int status;
        const char* statusName;
        QString datKesz;
    };
    const Step steps[] = {{2, "Megkezdve", "<null>"}, {3, "Készen van", Today()}, {4, "Számlázva", Today()}};
    for (const Step& s : steps) {
        exec(QStringLiteral("CALL sp_setstatusz(%1,%2,%3);")
                 .arg(sheet)
                 .arg(SqlLiteral(QStringLiteral("Kovács Péter")))
                 .arg(s.status));
        EXPECT_EQ(
            lines(QStringLiteral("SELECT statusz, statusz_nev, dat_kesz FROM vw_munkalap WHERE munkalap = %1")
                      .arg(sheet)),
            QStringList{
                QStringLiteral("%1|%2|%3").arg(s.status).arg(QString::fromUtf8(s.statusName), s.datKesz)});
    }
    // A ready date already set stays.
    const qlonglong other = newSheet(customer(QStringLiteral("Fodor Imre")));
    exec(QStringLiteral("UPDATE munkalap SET dat_kesz = '2024-01-02' WHERE munkalap = %1").arg(other));
    exec(QStringLiteral("CALL sp_setstatusz(%1,'x',3);").arg(other));
    EXPECT_EQ(sheetField(other, QStringLiteral("dat_kesz")), "2024-01-02");

    EXPECT_EQ(
        lines(QStringLiteral(
                  "SELECT statusz, felhasznalo FROM statuszvaltas WHERE munkalap = %1 ORDER BY statuszvaltas")
                  .arg(sheet)),
        (QStringList{"2|Kovács Péter", "3|Kovács Péter", "4|Kovács Péter"}));
    expectError(QStringLiteral("CALL sp_setstatusz(%1,'x',7);").arg(sheet));
    expectError(QStringLiteral("CALL sp_setstatusz(987654,'x',2);"));
    EXPECT_EQ(sheetField(sheet, QStringLiteral("statusz")), "4");
}

TEST_F(Routines, PaymentToggles) {
    const qlonglong sheet = newSheet(customer(QStringLiteral("Varga Ottó")));
    const QString expected[] = {QStringLiteral("I|%1").arg(Today()), QStringLiteral("N|<null>"),
                                QStringLiteral("I|%1").arg(Today())};
    for (const QString& e : expected) {
        exec(QStringLiteral("CALL sp_kifizet(%1);").arg(sheet));
        EXPECT_EQ(lines(QStringLiteral("SELECT fizetve, dat_fizetve FROM vw_munkalap WHERE munkalap = %1")
                            .arg(sheet)),
                  QStringList{e});
    }
    expectError(QStringLiteral("CALL sp_kifizet(987654);"));
}

TEST_F(Routines, EmployeeLinksRebuildTheNamesText) {
    const qlonglong sheet = newSheet(customer(QStringLiteral("Molnár Zsófia")));
    const qlonglong bela = employee(QStringLiteral("Béla"));
    const qlonglong anna = employee(QStringLiteral("Anna"));
    struct Step {
        const char* name;
        QString sql;
        const char* names;
    };
    const Step steps[] = {
        {"first employee", QStringLiteral("CALL sp_dolgstr(%1,%2);").arg(sheet).arg(bela), "Béla"},
        {"second, in name order", QStringLiteral("CALL sp_dolgstr(%1, %2);").arg(sheet).arg(anna),
         "Anna, Béla"},
        {"the same again is not doubled", QStringLiteral("CALL sp_dolgstr(%1,%2);").arg(sheet).arg(anna),
         "Anna, Béla"},
        {"link removed by the program",
         QStringLiteral("DELETE FROM munkalap_dolgozo WHERE (munkalap = %1) AND (dolgozo = %2);")
             .arg(sheet)
             .arg(anna),
         "Anna, Béla"},
        {"-1 only rebuilds", QStringLiteral("CALL sp_dolgstr(%1,-1);").arg(sheet), "Béla"},
        {"", QStringLiteral("DELETE FROM munkalap_dolgozo WHERE munkalap = %1;").arg(sheet), "Béla"},
        {"no employees left", QStringLiteral("CALL sp_dolgstr(%1,-1);").arg(sheet), ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        exec(s.sql);
        EXPECT_EQ(sheetField(sheet, QStringLiteral("dolgozostr")), QString::fromUtf8(s.names));
    }
    exec(QStringLiteral("CALL sp_dolgstr(%1,%2);").arg(sheet).arg(anna));
    EXPECT_EQ(
        lines(QStringLiteral(
                  "SELECT dolgozo_nev FROM vw_munkalap_dolgozo WHERE munkalap = %1 ORDER BY dolgozo_nev;")
                  .arg(sheet)),
        QStringList{"Anna"});
    expectError(QStringLiteral("CALL sp_dolgstr(%1,987654);").arg(sheet));
    expectError(QStringLiteral("CALL sp_dolgstr(987654,%1);").arg(anna));
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM munkalap_dolgozo")), 1);
}

TEST_F(Routines, EmployeePositionsAreRenumberedKeepingTheirOrder) {
    exec(QStringLiteral(
        "INSERT INTO dolgozo (dolgozo_nev, sorszam, torolve) VALUES "
        "('Cecil', 3, 'N'), ('Ákos', 0, 'N'), ('Dénes', 7, 'N'), ('Bence', 2, 'I'), ('Zoltán', 0, 'N')"));
    exec(QStringLiteral("CALL sp_dolgujrasor();"));
    const QStringList expected{"Cecil|1", "Dénes|2", "Ákos|3", "Zoltán|4", "Bence|0"};
    EXPECT_EQ(
        lines(QStringLiteral("SELECT dolgozo_nev, sorszam FROM dolgozo ORDER BY torolve = 'I', sorszam")),
        expected);
    exec(QStringLiteral("CALL sp_dolgujrasor();"));
    EXPECT_EQ(
        lines(QStringLiteral("SELECT dolgozo_nev, sorszam FROM dolgozo ORDER BY torolve = 'I', sorszam")),
        expected);
    EXPECT_EQ(value(QStringLiteral("SELECT MAX(sorszam) FROM dolgozo;")), "4");
    // Each position names exactly one employee.
    for (int position = 1; position <= 4; ++position)
        EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM dolgozo WHERE sorszam = %1;").arg(position)),
                  1);
}

// --- Appointments and the planner grid ---------------------------------------

TEST_F(Routines, AppointmentFillsItsSlotsAndTheDayGrid) {
    const qlonglong owner = customer(QStringLiteral("Szabó Éva"));
    const qlonglong dev = device(owner, QStringLiteral("GK-5"));
    const qlonglong sheet = newSheet(owner, dev, 9);
    const qlonglong anna = employee(QStringLiteral("Anna"));
    const qlonglong bela = employee(QStringLiteral("Béla"));
    exec(QStringLiteral("CALL sp_dolgujrasor();")); // Anna 1, Béla 2
    const QString day = QStringLiteral("2030-05-06");

    // 1.5 hours from 08:30 for Béla, for the sheet; its customer and device come with it.
    exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'%2',17,3,%3,-1,-1,'Éves karbantartás');")
             .arg(bela)
             .arg(day)
             .arg(sheet));
    const qlonglong last = integer(QStringLiteral("SELECT LAST_INSERT_ID()"));
    EXPECT_EQ(last, integer(QStringLiteral("SELECT MAX(elojegyzes) FROM elojegyzes")));
    const qlonglong azon = integer(QStringLiteral("SELECT MIN(elojegyzes) FROM elojegyzes"));
    const QString sheetText = QStringLiteral("%1J").arg(sheet, 5, 10, QLatin1Char('0'));
    EXPECT_EQ(
        lines(QStringLiteral(
            "SELECT ora, azon, dolgozo, datum, munkalap, ugyfel, keszulek, szoveg, munkalapstr, "
            "ugyfelstr, keszulekstr FROM elojegyzes ORDER BY ora")),
        (QStringList{
            QStringLiteral("17|%1|%2|%3|%4|%5|%6|Éves karbantartás|%7|Szabó Éva|GK-5, Vaillant ecoTEC plus")
                .arg(azon)
                .arg(bela)
                .arg(day)
                .arg(sheet)
                .arg(owner)
                .arg(dev)
                .arg(sheetText),
            QStringLiteral("18|%1|%2|%3|%4|%5|%6|Éves karbantartás|%7|Szabó Éva|GK-5, Vaillant ecoTEC plus")
                .arg(azon)
                .arg(bela)
                .arg(day)
                .arg(sheet)
                .arg(owner)
                .arg(dev)
                .arg(sheetText),
            QStringLiteral("19|%1|%2|%3|%4|%5|%6|Éves karbantartás|%7|Szabó Éva|GK-5, Vaillant ecoTEC plus")
                .arg(azon)
                .arg(bela)
                .arg(day)
                .arg(sheet)
                .arg(owner)
                .arg(dev)
                .arg(sheetText)}));

    // Anna's hour at 10:00 with a text only.
    exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'%2',20,2,-1,0,0,'Telefon');").arg(anna).arg(day));
    const qlonglong annaAzon =
        integer(QStringLiteral("SELECT MIN(elojegyzes) FROM elojegyzes WHERE dolgozo = %1").arg(anna));

    // The planner's statement: one row per slot of the day, Béla in column 02.
    const QString grid =
        QStringLiteral("SELECT dolgelo.*,CONCAT(LPAD(ora DIV 2,2,'0'),':',IF(ora MOD 2 = 0,'00','30')) ora2\n"
                       "FROM dolgelo\nWHERE datum = '%1'\nORDER BY datum,ora;")
            .arg(day);
    ResultSet rs = conn().query(grid);
    ASSERT_EQ(rs.rowCount(), 24);
    const int ora = rs.columnIndex(u"ora"), ora2 = rs.columnIndex(u"ora2");
    for (int r = 0; r < rs.rowCount(); ++r) {
        const int slot = rs.value(r, ora).toInt();
        EXPECT_EQ(slot, 16 + r);
        const bool belas = slot >= 17 && slot <= 19;
        const bool annas = slot == 20 || slot == 21;
        EXPECT_EQ(rs.value(r, rs.columnIndex(u"azon02")).toLongLong(), belas ? azon : 0) << slot;
        EXPECT_EQ(rs.text(r, rs.columnIndex(u"szoveg02")),
                  belas ? QStringLiteral("Éves karbantartás") : QString())
            << slot;
        EXPECT_EQ(rs.value(r, rs.columnIndex(u"elojegyzes02")).toLongLong() != 0, belas) << slot;
        EXPECT_EQ(rs.value(r, rs.columnIndex(u"azon01")).toLongLong(), annas ? annaAzon : 0) << slot;
        EXPECT_EQ(rs.text(r, rs.columnIndex(u"szoveg01")), annas ? QStringLiteral("Telefon") : QString())
            << slot;
        EXPECT_EQ(rs.value(r, rs.columnIndex(u"elojegyzes03")).toLongLong(), 0);
    }
    EXPECT_EQ(rs.text(1, ora2), "08:30");

    // A new position order moves Béla to column 01.
    exec(QStringLiteral("UPDATE dolgozo SET torolve = 'I' WHERE dolgozo = %1").arg(anna));
    exec(QStringLiteral("CALL sp_dolgujrasor();"));
    EXPECT_EQ(value(QStringLiteral(
                        "SELECT CONCAT(azon01, '/', azon02) FROM dolgelo WHERE datum = '%1' AND ora = 18")
                        .arg(day)),
              QStringLiteral("%1/0").arg(azon));

    // Deleting Béla's appointment clears its slots only.
    exec(QStringLiteral("CALL sp_elojegyzestorol(%1,%2);").arg(azon).arg(bela));
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM elojegyzes WHERE dolgozo = %1").arg(bela)), 0);
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM elojegyzes WHERE dolgozo = %1").arg(anna)), 2);
    EXPECT_EQ(integer(QStringLiteral("SELECT SUM(azon01 + azon02) FROM dolgelo WHERE datum = '%1'").arg(day)),
              0);
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM dolgelo WHERE datum = '%1'").arg(day)), 24);
    // Another employee's number deletes nothing.
    exec(QStringLiteral("CALL sp_elojegyzestorol(%1,%2);").arg(annaAzon).arg(bela));
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM elojegyzes")), 2);
}

TEST_F(Routines, AppointmentStaysWithinTheDaysSlots) {
    // The day's slots are 16 (08:00) to 39 (19:30).
    const qlonglong emp = employee(QStringLiteral("Anna"));
    struct Case {
        int slot, halfHours;
        const char* stored; // the slots booked, or the refusal
    };
    const Case cases[] = {
        {38, 2, "38,39"},
        {30, 0, "30"}, // at least one slot
        {16, 1, "16"},
        {39, 2, "Az előjegyzés túlnyúlik a nap utolsó idősávján"},
        {20, 48, "Az előjegyzés túlnyúlik a nap utolsó idősávján"},
        {40, 1, "Hibás időpont"}, // not a slot of the day
        {15, 2, "Hibás időpont"},
        {-1, 1, "Hibás időpont"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        exec(QStringLiteral("DELETE FROM elojegyzes"));
        const QString call = QStringLiteral("CALL sp_ujelojegyzes(%1,'2030-01-02',%2,%3,-1,-1,-1,'');")
                                 .arg(emp)
                                 .arg(c.slot)
                                 .arg(c.halfHours);
        try {
            exec(call);
            EXPECT_EQ(value(QStringLiteral("SELECT GROUP_CONCAT(ora ORDER BY ora) FROM elojegyzes")),
                      QString::fromUtf8(c.stored));
            EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(DISTINCT azon) FROM elojegyzes")), 1);
        } catch (const DbError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.stored));
            EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM elojegyzes")), 0);
        }
    }
    expectError(QStringLiteral("CALL sp_ujelojegyzes(987654,'2030-01-02',20,1,-1,-1,-1,'');"));
}

TEST_F(Routines, AppointmentOverABookedSlotIsRefusedWhole) {
    const qlonglong anna = employee(QStringLiteral("Anna"));
    const qlonglong bela = employee(QStringLiteral("Béla"));
    exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'2030-01-02',22,1,-1,-1,-1,'foglalt');").arg(anna));
    // Two hours from 10:00 would run over 11:00: nothing of it is written.
    try {
        exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'2030-01-02',20,4,-1,-1,-1,'');").arg(anna));
        ADD_FAILURE() << "booked over a taken slot";
    } catch (const DbError& e) {
        EXPECT_TRUE(IsAppointmentTaken(e)) << e.what();
    }
    EXPECT_EQ(lines(QStringLiteral("SELECT ora, szoveg FROM elojegyzes")),
              QStringList{QStringLiteral("22|foglalt")});
    EXPECT_EQ(value(QStringLiteral("SELECT @@in_transaction")), "0");
    // The same slots of another employee, and of the same employee another day, are free.
    exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'2030-01-02',20,4,-1,-1,-1,'');").arg(bela));
    exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'2030-01-03',20,4,-1,-1,-1,'');").arg(anna));
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM elojegyzes")), 9);
    // A row written past the routine meets the unique key, which the client
    // reads as a taken slot too.
    try {
        exec(QStringLiteral(
                 "INSERT INTO elojegyzes (azon, dolgozo, datum, ora) VALUES (1, %1, '2030-01-02', 22)")
                 .arg(anna));
        ADD_FAILURE() << "the unique key let a second row in";
    } catch (const DbError& e) {
        EXPECT_TRUE(IsAppointmentTaken(e)) << e.what();
    }
}

TEST_F(Routines, TwoWorkstationsBookingOverlappingSlotsGetOneAppointment) {
    const qlonglong emp = employee(QStringLiteral("Anna"));
    constexpr int rounds = 150;
    // Each round both book the same employee on a new day, overlapping at
    // 11:00: one from 10:00 for 1.5 hours, the other from 11:00 for 1 hour.
    std::barrier together(2);
    int wins[2] = {0, 0}, refusals[2] = {0, 0};
    std::vector<qlonglong> numbers[2];
    std::string failures[2];
    auto work = [&](int index) {
        try {
            auto c = db->connect();
            for (int round = 0; round < rounds; ++round) {
                const QString day = QDate(2031, 1, 1).addDays(round).toString(Qt::ISODate);
                const QString call =
                    index == 0 ? QStringLiteral("CALL sp_ujelojegyzes(%1,'%2',20,3,-1,0,0,'egyik');")
                               : QStringLiteral("CALL sp_ujelojegyzes(%1,'%2',22,2,-1,0,0,'masik');");
                together.arrive_and_wait();
                try {
                    const ResultSet booked = c->query(call.arg(emp).arg(day));
                    numbers[index].push_back(booked.value(0, 0).toLongLong());
                    ++wins[index];
                } catch (const DbError& e) {
                    if (!IsAppointmentTaken(e))
                        throw;
                    ++refusals[index];
                }
            }
        } catch (const std::exception& e) {
            failures[index] = e.what();
            together.arrive_and_drop();
        }
    };
    std::thread a(work, 0);
    std::thread b(work, 1);
    a.join();
    b.join();
    ASSERT_EQ(failures[0], "");
    ASSERT_EQ(failures[1], "");
    EXPECT_EQ(wins[0] + wins[1], rounds) << "exactly one booking a day";
    EXPECT_EQ(refusals[0] + refusals[1], rounds);
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(DISTINCT datum) FROM elojegyzes")), rounds);
    EXPECT_EQ(
        integer(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM elojegyzes GROUP BY dolgozo, datum, ora "
                               "HAVING COUNT(*) > 1) x")),
        0);
    // Every day holds one whole appointment, and each winner got its own number.
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM (SELECT datum FROM elojegyzes GROUP BY datum "
                                     "HAVING COUNT(DISTINCT azon) <> 1 OR COUNT(*) NOT IN (2, 3)) x")),
              0);
    for (int t = 0; t < 2; ++t)
        for (qlonglong n : numbers[t])
            EXPECT_EQ(value(QStringLiteral("SELECT szoveg FROM elojegyzes WHERE elojegyzes = %1").arg(n)),
                      t == 0 ? "egyik" : "masik");
}

TEST_F(Routines, TheDayGridIsCurrentForAnyDay) {
    const qlonglong anna = employee(QStringLiteral("Anna"));
    exec(QStringLiteral("CALL sp_dolgujrasor();"));
    const auto dayRows = [](const QString& day) {
        return integer(QStringLiteral("SELECT COUNT(*) FROM dolgelo WHERE datum = '%1'").arg(day));
    };
    // Any day of the calendar has its slots, booked or not, near or far.
    for (const char* day : {"2000-01-01", "2026-12-31", "2027-01-01", "2099-12-31"})
        EXPECT_EQ(dayRows(QString::fromLatin1(day)), 24) << day;
    // An appointment shows at once, however it was written.
    exec(QStringLiteral("INSERT INTO elojegyzes (azon, dolgozo, datum, ora, szoveg) VALUES (99, %1, "
                        "'2088-03-01', 22, 'kézi')")
             .arg(anna));
    EXPECT_EQ(
        value(QStringLiteral(
            "SELECT CONCAT(azon01, ' ', szoveg01) FROM dolgelo WHERE datum = '2088-03-01' AND ora = 22")),
        "99 kézi");
    // Beyond the calendar: a booking brings its day, so does start-up.
    exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'2150-06-01',20,1,-1,-1,-1,'messze');").arg(anna));
    EXPECT_EQ(dayRows(QStringLiteral("2150-06-01")), 24);
    EXPECT_EQ(value(QStringLiteral("SELECT szoveg01 FROM dolgelo WHERE datum = '2150-06-01' AND ora = 20")),
              "messze");
    exec(QStringLiteral("CALL sp_dolgelofeltolt('2160-01-01');"));
    exec(QStringLiteral("CALL sp_dolgelofeltolt('2160-01-01');"));
    EXPECT_EQ(dayRows(QStringLiteral("2160-01-01")), 24);
}

// --- Work-sheet completion and deletion ---------------------------------------

TEST_F(Routines, CompletingASavedSheetBringsItsDerivedDataUpToDate) {
    const qlonglong owner = customer(QStringLiteral("Balogh Ádám"));
    const qlonglong dev = device(owner, QStringLiteral("K-1"));
    const qlonglong sheet = newSheet(owner, dev);
    const qlonglong part = item(QStringLiteral("Alkatrész"), false);
    const qlonglong line = addLine(sheet, part, 1, 1000, 400);
    const qlonglong emp = employee(QStringLiteral("Géza"));
    exec(QStringLiteral("INSERT INTO munkalap_dolgozo (munkalap, dolgozo) VALUES (%1, %2)")
             .arg(sheet)
             .arg(emp));
    // Changes that bypassed the routines ...
    exec(QStringLiteral("UPDATE munkalap_tetel SET db = 3 WHERE munkalap_tetel = %1").arg(line));
    exec(QStringLiteral(
             "UPDATE munkalap SET ar_eloleg = 200, statusz = 3, datum = '2030-02-03' WHERE munkalap = %1")
             .arg(sheet));
    exec(QStringLiteral("UPDATE keszulek SET utolso_munkalap = 0 WHERE keszulek = %1").arg(dev));
    exec(QStringLiteral("CALL sp_munkalapkesz(%1);").arg(sheet));
    // ... are all taken in.
    EXPECT_EQ(lines(QStringLiteral("SELECT ar_ossz, ar_besz, ar_fizetendo, dolgozostr, dat_kesz FROM "
                                   "munkalap WHERE munkalap = %1")
                        .arg(sheet)),
              QStringList{QStringLiteral("3000|1200|2800|Géza|%1").arg(Today())});
    EXPECT_EQ(integer(QStringLiteral("SELECT utolso_munkalap FROM keszulek WHERE keszulek = %1").arg(dev)),
              sheet);
    EXPECT_EQ(value(QStringLiteral("SELECT dat_utolso FROM ugyfel WHERE ugyfel = %1").arg(owner)),
              "2030-02-03");
    expectError(QStringLiteral("CALL sp_munkalapkesz(987654);"));
}

TEST_F(Routines, DeletingANewSheetRemovesItsRowsAndRestoresTheDevice) {
    const qlonglong owner = customer(QStringLiteral("Lakatos Imre"));
    const qlonglong dev = device(owner, QStringLiteral("L-1"));
    const qlonglong older = newSheet(owner, dev);
    const qlonglong sheet = newSheet(owner, dev);
    addLine(sheet, item(QStringLiteral("Alkatrész"), false), 1, 1000, 400);
    const qlonglong emp = employee(QStringLiteral("Géza"));
    exec(QStringLiteral("CALL sp_dolgstr(%1,%2);").arg(sheet).arg(emp));
    exec(QStringLiteral("CALL sp_ujelojegyzes(%1,'2030-01-02',20,1,%2,-1,-1,'x');").arg(emp).arg(sheet));
    EXPECT_EQ(integer(QStringLiteral("SELECT utolso_munkalap FROM keszulek WHERE keszulek = %1").arg(dev)),
              sheet);

    exec(QStringLiteral("CALL sp_mlaptorol(%1);").arg(sheet));
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE munkalap = %1").arg(sheet)), 0);
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel WHERE munkalap = %1").arg(sheet)),
              0);
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM munkalap_dolgozo WHERE munkalap = %1").arg(sheet)),
              0);
    EXPECT_EQ(lines(QStringLiteral("SELECT munkalap, munkalapstr, szoveg FROM elojegyzes")),
              QStringList{"0||x"});
    EXPECT_EQ(integer(QStringLiteral("SELECT utolso_munkalap FROM keszulek WHERE keszulek = %1").arg(dev)),
              older);
    exec(QStringLiteral("CALL sp_mlaptorol(%1);").arg(sheet)); // already gone: no error
    EXPECT_EQ(integer(QStringLiteral("SELECT COUNT(*) FROM munkalap")), 1);
}

// --- History and invoice -----------------------------------------------------

TEST_F(Routines, DeviceHistoryListsItsSheetsNewestFirst) {
    const qlonglong owner = customer(QStringLiteral("Pintér Ágnes"));
    const qlonglong dev = device(owner, QStringLiteral("H-1"));
    const qlonglong other = device(owner, QStringLiteral("H-2"));
    const qlonglong first = newSheet(owner, dev);
    newSheet(owner, other);
    newSheet(owner, -1);
    const qlonglong second = newSheet(owner, dev, 4);
    exec(
        QStringLiteral("UPDATE munkalap SET storno = 'I', dat_hatid = '2030-01-02 08:30:00', ar_ossz = 1000, "
                       "ar_kedvezmeny = 100 WHERE munkalap = %1")
            .arg(first));

    Query q(&conn());
    q.setSql(QStringLiteral("CALL sp_elozmeny(:pkeszulek);"));
    q.setParam(QStringLiteral("pkeszulek"), dev);
    q.open();
    ASSERT_EQ(q.recordCount(), 2);
    EXPECT_EQ(q.asInt(QStringLiteral("munkalap")), second);
    EXPECT_EQ(q.asString(QStringLiteral("munkalapstr")),
              QStringLiteral("%1A").arg(second, 5, 10, QLatin1Char('0')));
    EXPECT_EQ(q.asString(QStringLiteral("mlaptipus_nev")), "Javítás");
    EXPECT_EQ(q.asString(QStringLiteral("statusz_nev")), "Beérkezett");
    q.next();
    EXPECT_EQ(q.asInt(QStringLiteral("munkalap")), first);
    EXPECT_EQ(q.asString(QStringLiteral("hatidstr")), "2030.01.02. 08:30");
    EXPECT_DOUBLE_EQ(q.asFloat(QStringLiteral("ar_teljes")), 900);
    EXPECT_EQ(q.asString(QStringLiteral("storno")), "I");
    q.close();

    // All columns of munkalap in their order, then the five captions.
    const ResultSet rs = conn().query(QStringLiteral("CALL sp_elozmeny(%1);").arg(dev));
    QStringList expected =
        ColumnNames(conn().query(QStringLiteral("SELECT * FROM munkalap WHERE munkalap = 0")));
    expected << "munkalapstr"
             << "mlaptipus_nev"
             << "hatidstr"
             << "ar_teljes"
             << "statusz_nev";
    EXPECT_EQ(ColumnNames(rs), expected);
    // No device selected: no rows, even though sheets without a device exist.
    EXPECT_EQ(conn().query(QStringLiteral("CALL sp_elozmeny(0);")).rowCount(), 0);
}

TEST_F(Routines, InvoiceBuyerSplitsTheStreetAddress) {
    struct Case {
        const char* address;
        const char* name;
        const char* kind;
        const char* number;
    };
    const Case cases[] = {
        {"Fő utca 12.", "Fő", "utca", "12."},
        {"Kossuth Lajos utca 5/A", "Kossuth Lajos", "utca", "5/A"},
        {"Rákóczi út 3. 2/4", "Rákóczi", "út", "3. 2/4"},
        {"  Ady Endre   u.  7 ", "Ady Endre", "u.", "7"},
        {"Petőfi tér", "Petőfi", "tér", ""},
        {"Tanya", "Tanya", "", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const qlonglong id = insert(
            QStringLiteral("INSERT INTO ugyfel (ugyfel_nev, adoszam, maganszemely, cim_irsz, cim_varos, "
                           "cim_cim) VALUES ('Bt. & Társa', '12345678-2-06', 'N', '7621', 'Pécs', %1)")
                .arg(SqlLiteral(QString::fromUtf8(c.address))));
        const ResultSet rs = conn().query(QStringLiteral("CALL sp_szlafej(%1);").arg(id));
        EXPECT_EQ(ColumnNames(rs), (QStringList{"nev", "adoszam", "maganszemely", "iranyitoszam", "telepules",
                                                "kozterulet_neve", "kozterulet_jellege", "hazszam"}));
        ASSERT_EQ(rs.rowCount(), 1);
        EXPECT_EQ(rs.text(0, 0), "Bt. & Társa");
        EXPECT_EQ(rs.text(0, 1), "12345678-2-06");
        EXPECT_EQ(rs.text(0, 2), "N");
        EXPECT_EQ(rs.text(0, 3), "7621");
        EXPECT_EQ(rs.text(0, 4), "Pécs");
        EXPECT_EQ(rs.text(0, 5), QString::fromUtf8(c.name));
        EXPECT_EQ(rs.text(0, 6), QString::fromUtf8(c.kind));
        EXPECT_EQ(rs.text(0, 7), QString::fromUtf8(c.number));
    }
    EXPECT_EQ(conn().query(QStringLiteral("CALL sp_szlafej(987654);")).rowCount(), 0);
    EXPECT_EQ(conn().query(QStringLiteral("CALL sp_szlafej(0);")).rowCount(), 0);
}

TEST_F(Routines, InvoiceLinesSplitGrossPricesAndCarryTheDiscount) {
    const qlonglong sheet = newSheet(customer(QStringLiteral("Horváth Kft.")));
    const qlonglong work =
        insert(QStringLiteral("INSERT INTO tetel (tetel_kod, tetel_nev, ezszolg, cikkszam, mert) "
                              "VALUES ('M01', 'Munkadíj', 'I', 'SZ-100', 'óra')"));
    const qlonglong part =
        insert(QStringLiteral("INSERT INTO tetel (tetel_kod, tetel_nev, ezszolg, cikkszam, mert) "
                              "VALUES ('A02', 'Tömítés', 'N', '', NULL)"));
    addLine(sheet, work, 1.5, 12700, 0, QStringLiteral("hétvégi"));
    addLine(sheet, part, 2, 635, 300);
    exec(QStringLiteral("UPDATE munkalap SET ar_kedvezmeny = -254, szoveg_kedvezmeny = 'Törzsvásárló' WHERE "
                        "munkalap = %1")
             .arg(sheet));

    const ResultSet rs = conn().query(QStringLiteral("CALL sp_szlasor(1,%1);").arg(sheet));
    EXPECT_EQ(ColumnNames(rs),
              (QStringList{"cikkszam", "termeknev", "sormegj", "menny", "mertekegys", "nettoar",
                           "nettoegysar", "adokulcs", "adoertek", "bruttoar", "arengedm", "torlo_kod"}));
    QStringList rows;
    for (int r = 0; r < rs.rowCount(); ++r) {
        QStringList fields;
        for (int col = 0; col < rs.columnCount(); ++col)
            fields << (rs.column(col).kind == FieldKind::Text || rs.column(col).kind == FieldKind::Memo
                           ? rs.text(r, col)
                           : QString::number(rs.value(r, col).toDouble(), 'g', 15));
        rows << fields.join(QLatin1Char('|'));
    }
    EXPECT_EQ(rows, (QStringList{"SZ-100|Munkadíj|hétvégi|1.5|óra|15000|10000|27|4050|19050|0|",
                                 "A02|Tömítés||2|db|1000|500|27|270|1270|0|",
                                 "|Kedvezmény|Törzsvásárló|1|db|-200|-200|27|-54|-254|0|"}));
    // Only work sheets (kind 1) have lines.
    const ResultSet none = conn().query(QStringLiteral("CALL sp_szlasor(2,%1);").arg(sheet));
    EXPECT_EQ(none.rowCount(), 0);
    EXPECT_EQ(ColumnNames(none), ColumnNames(rs));
}

TEST_F(Routines, InvoiceRemarkNamesTheSheetTheDeviceAndTheShopsText) {
    const qlonglong owner = customer(QStringLiteral("Fekete Rita"));
    const qlonglong withDevice = newSheet(owner, device(owner, QStringLiteral("ABC-123")), 4);
    const qlonglong without = newSheet(owner);
    const auto remark = [&](qlonglong id) {
        return value(QStringLiteral("SELECT fn_szlamegj(%1);").arg(id));
    };
    const QString withText = QStringLiteral("%1A").arg(withDevice, 5, 10, QLatin1Char('0'));
    const QString withoutText = QStringLiteral("%1J").arg(without, 5, 10, QLatin1Char('0'));
    EXPECT_EQ(remark(without), "Munkalap: " + withoutText);
    EXPECT_EQ(remark(withDevice), "Munkalap: " + withText + ", Gy.szám: ABC-123");
    exec(QStringLiteral("UPDATE beallit SET prgtipus = 2, szlamegjegyzes = ' Fizetés 8 napon belül. '"));
    EXPECT_EQ(remark(withDevice), "Munkalap: " + withText + ", Rendszám: ABC-123 - Fizetés 8 napon belül.");
    EXPECT_EQ(remark(987654), "Fizetés 8 napon belül.");
}

// --- Triggers ------------------------------------------------------------------

TEST_F(Routines, CustomerSerialTextFollowsTheDevices) {
    const qlonglong first = customer(QStringLiteral("Kerekes Pál"));
    const qlonglong second = customer(QStringLiteral("Kerekes Péter"));
    const auto serials = [&](qlonglong id) {
        return value(QStringLiteral("SELECT gyszstr FROM vw_ugyfel WHERE ugyfel = %1").arg(id));
    };
    const qlonglong a =
        insert(QStringLiteral("INSERT INTO keszulek (ugyfel, gysz, gysz2) VALUES (%1, 'ABC-111', 'VIN9')")
                   .arg(first));
    const qlonglong b =
        insert(QStringLiteral("INSERT INTO keszulek (ugyfel, gysz) VALUES (%1, 'XYZ-222')").arg(first));
    EXPECT_EQ(serials(first), "ABC-111 VIN9 XYZ-222");
    exec(QStringLiteral("UPDATE keszulek SET gysz = 'ABC-112' WHERE keszulek = %1").arg(a));
    EXPECT_EQ(serials(first), "ABC-112 VIN9 XYZ-222");
    exec(QStringLiteral("UPDATE keszulek SET ugyfel = %1 WHERE keszulek = %2").arg(second).arg(b));
    EXPECT_EQ(serials(first), "ABC-112 VIN9");
    EXPECT_EQ(serials(second), "XYZ-222");
    exec(QStringLiteral("UPDATE keszulek SET torolve = 'I' WHERE keszulek=%1;").arg(a));
    EXPECT_EQ(serials(first), "");
    // The customer search finds the owner by a serial number.
    EXPECT_EQ(value(QStringLiteral(
                  "SELECT ugyfel_nev FROM vw_ugyfel WHERE (ugyfel > 0) AND (gyszstr LIKE '%xyz-2%')")),
              "Kerekes Péter");
    // The start-up refresh repairs texts changed behind the triggers' back.
    exec(
        QStringLiteral("UPDATE ugyfel SET gyszstr = 'régi' WHERE ugyfel IN (%1, %2)").arg(first).arg(second));
    exec(QStringLiteral("CALL sp_gyszstr ();"));
    EXPECT_EQ(serials(first), "");
    EXPECT_EQ(serials(second), "XYZ-222");
}

TEST_F(Routines, NewIntroSlideIsNumberedAfterTheLastEvenAfterASwap) {
    Table slide(QStringLiteral("webintro"), &conn());
    for (const char* title : {"Első", "Második"}) {
        slide.startNew();
        slide.setValue(QStringLiteral("webintro_nev"), QString::fromUtf8(title));
        slide.post();
    }
    EXPECT_EQ(lines(QStringLiteral("SELECT webintro, webintro_nev FROM webintro ORDER BY webintro")),
              (QStringList{"1|Első", "2|Második"}));
    // "Feljebb" on slide 2.
    exec(QStringLiteral("UPDATE webintro SET webintro=9999 WHERE (webintro=1);"));
    exec(QStringLiteral("UPDATE webintro SET webintro=1 WHERE (webintro=2);"));
    exec(QStringLiteral("UPDATE webintro SET webintro=2 WHERE (webintro=9999);"));
    slide.startNew();
    slide.setValue(QStringLiteral("webintro_nev"), QStringLiteral("Harmadik"));
    EXPECT_EQ(slide.post().toLongLong(), 3);
    EXPECT_EQ(lines(QStringLiteral("SELECT webintro, webintro_nev FROM webintro ORDER BY webintro")),
              (QStringList{"1|Második", "2|Első", "3|Harmadik"}));
}

TEST_F(Routines, MessageShownOnlyOnceCountsAsReadWhenAcknowledged) {
    const qlonglong once =
        insert(QStringLiteral("INSERT INTO uzenet (szoveg, csakegyszer) VALUES ('egyszer', 'I')"));
    const qlonglong always =
        insert(QStringLiteral("INSERT INTO uzenet (szoveg, csakegyszer) VALUES ('mindig', 'N')"));
    for (qlonglong id : {once, always})
        exec(QStringLiteral("UPDATE uzenet SET dat_olvasva = NOW() WHERE uzenet = %1;").arg(id));
    EXPECT_EQ(lines(QStringLiteral("SELECT szoveg FROM uzenet WHERE olvasva = 'N' ORDER BY 1;")),
              QStringList{"mindig"});
}

} // namespace
