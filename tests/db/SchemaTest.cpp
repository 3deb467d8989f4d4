// The shop database as the db/ files create it: loading without warnings,
// the same objects in every database, the views' columns and widths, the
// derived texts, the rows an empty database comes with, and index use of the
// list views.
#include "ClusterFitness.h"
#include "TestDatabase.h"
#include "components/Query.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace kml;
using kml::test::TestDatabase;

namespace {

QString Value(Connection& c, const QString& sql) {
    const ResultSet rs = c.query(sql);
    return rs.rowCount() > 0 ? rs.text(0, 0) : QStringLiteral("<no row>");
}

// The rows of a result as "a|b|c" lines, for comparing listings.
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

std::set<QString> ViewColumns(Connection& c, const QString& view) {
    const ResultSet rs = c.query(QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS "
                                                "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '%1'")
                                     .arg(view));
    std::set<QString> names;
    for (int r = 0; r < rs.rowCount(); ++r)
        names.insert(rs.text(r, 0));
    return names;
}

class Schema : public ::testing::Test {
protected:
    static void SetUpTestSuite() { db = new TestDatabase(QStringLiteral("schema")); }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    static Connection& conn() { return db->connection(); }
    static inline TestDatabase* db = nullptr;
};

TEST(SchemaFiles, LoadIntoAnEmptyDatabaseWithoutAnyWarning) {
    TestDatabase empty(QStringLiteral("schemaload"), TestDatabase::Contents::Empty);
    for (const QString& file : kml::test::SchemaFiles(false)) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        EXPECT_TRUE(f.readLine().startsWith("SET NAMES latin2")) << file.toStdString();
        const QString output =
            kml::test::RunClientFile(empty.name(), file, {QStringLiteral("--show-warnings")});
        EXPECT_EQ(output.trimmed(), QString()) << file.toStdString();
    }
    EXPECT_EQ(Value(empty.connection(), QStringLiteral("SELECT MAX(verzio) FROM verzio;")), "24.0.0.111");
}

TEST(SchemaFiles, TwoDatabasesGetTheSameObjectsAndRows) {
    TestDatabase first(QStringLiteral("schemaone"));
    TestDatabase second(QStringLiteral("schematwo"));
    const QStringList listings = {
        // %1 is the database; view texts name it, so it is replaced by a mark
        QStringLiteral(
            "SELECT TABLE_NAME, TABLE_TYPE, ENGINE, TABLE_COLLATION FROM information_schema.TABLES "
            "WHERE TABLE_SCHEMA = '%1' ORDER BY 1"),
        QStringLiteral(
            "SELECT TABLE_NAME, COLUMN_NAME, ORDINAL_POSITION, COLUMN_TYPE, IS_NULLABLE, COLUMN_DEFAULT, "
            "COLLATION_NAME, EXTRA FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = '%1' ORDER BY 1, 3"),
        QStringLiteral("SELECT TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX, COLUMN_NAME, NON_UNIQUE "
                       "FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = '%1' ORDER BY 1, 2, 3"),
        QStringLiteral(
            "SELECT TABLE_NAME, REPLACE(VIEW_DEFINITION, '`%1`', '`db`'), CHECK_OPTION, SECURITY_TYPE, "
            "ALGORITHM FROM information_schema.VIEWS WHERE TABLE_SCHEMA = '%1' ORDER BY 1"),
        QStringLiteral(
            "SELECT ROUTINE_NAME, ROUTINE_TYPE, DTD_IDENTIFIER, ROUTINE_DEFINITION, SECURITY_TYPE, "
            "SQL_DATA_ACCESS FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = '%1' ORDER BY 1"),
        QStringLiteral("SELECT SPECIFIC_NAME, ORDINAL_POSITION, PARAMETER_NAME, DTD_IDENTIFIER "
                       "FROM information_schema.PARAMETERS WHERE SPECIFIC_SCHEMA = '%1' ORDER BY 1, 2"),
        QStringLiteral(
            "SELECT TRIGGER_NAME, EVENT_MANIPULATION, EVENT_OBJECT_TABLE, ACTION_TIMING, ACTION_STATEMENT "
            "FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA = '%1' ORDER BY 1"),
    };
    for (const QString& listing : listings) {
        const QStringList a = Lines(first.connection(), listing.arg(first.name()));
        const QStringList b = Lines(second.connection(), listing.arg(second.name()));
        EXPECT_FALSE(a.isEmpty()) << listing.toStdString();
        EXPECT_EQ(a, b) << listing.toStdString();
    }
    // The delivered rows are the same too.
    for (const QString& table : first.connection().tableNames()) {
        const QString sql = QStringLiteral("CHECKSUM TABLE %1").arg(table);
        EXPECT_EQ(Lines(first.connection(), sql).value(0).section(QLatin1Char('|'), 1),
                  Lines(second.connection(), sql).value(0).section(QLatin1Char('|'), 1))
            << table.toStdString();
    }
}

TEST_F(Schema, EveryViewHasTheColumnsTheProgramReads) {
    const auto range = [](const char* prefix, int from, int to) {
        QStringList names;
        for (int i = from; i <= to; ++i)
            names << QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i);
        return names;
    };
    const QStringList printHeader =
        QStringLiteral(
            "munkalap mlapstr munkalapnev mlaptipus_nev ugyfel_nev kapcsstr cimstr tipusstr gysz gysz2 gysz3 "
            "evjarat cm3 kw kmora datum dat_kesz dat_hatid hatidstr dat_muszaki dat_vasarol dat_uzembe "
            "dat_garilejar garjegy ar_ossz ar_kedvezmeny ar_eloleg ar_fizetendo ar_teljes panasz "
            "vegzett_munka megjegyzes dolgozostr")
            .split(QLatin1Char(' '));
    const QStringList printLine =
        QStringLiteral("munkalap_tetel tetel_kod tetel_nev ezszolg db ar_egys ar_sorossz "
                       "kedv_ad sormegj")
            .split(QLatin1Char(' '));
    const QStringList gas =
        range("gmin", 1, 7) + range("gmax", 1, 7) + QStringList{QStringLiteral("legellatasstr")};

    const std::map<QString, QStringList> expected = {
        {"vw_ugyfel",
         QStringLiteral("ugyfel ugyfel_nev kapcsolat telefon emil cim_irsz cim_varos cim_cim dat_utolso "
                        "dat_figyelmeztet megjegyzes torolve maganszemely irszvaroscim gyszstr")
             .split(' ')},
        {"vw_keszulek",
         QStringLiteral("keszulek ugyfel tipus gysz gysz2 gysz3 evjarat megjegyzes torolve "
                        "utolso_munkalap dat_muszaki cm3 munkalapstr tipusstr keszulektipus_nev "
                        "ugyfel_nev keszulekstr hatravan")
             .split(' ')},
        {"vw_tipus",
         QStringLiteral("tipus gyarto tipus_nev torolve gyarto_nev keszulektipus_nev tipusstr").split(' ')},
        {"vw_tetel",
         QStringLiteral("tetel tetel_kod tetel_nev ar_besz ar_elad ezszolg megjegyzes torolve").split(' ')},
        {"vw_tetelexp", QStringLiteral("tetel_kod tetel_nev").split(' ')},
        {"vw_munkalap",
         QStringLiteral(
             "munkalap mlaptipus ugyfel keszulek datum dat_hatid dat_kesz statusz ar_ossz ar_kedvezmeny "
             "szoveg_kedvezmeny ar_eloleg ar_fizetendo panasz vegzett_munka megjegyzes storno dolgozostr "
             "szlaszam rogzitve kmora fizetve dat_fizetve felhasznalo kuldve munkalapstr mlaptipus_nev "
             "ugyfel_nev telefon irszvaroscim statusz_nev gyarto gyarto_nev tipusstr tipusstr2 gysz gysz2 "
             "hatidstr ar_teljes")
             .split(' ')},
        {"vw_munkalap_tetel",
         QStringLiteral("munkalap_tetel munkalap tetel db egysar beszar kedv_kap kedv_ad ar_teljes "
                        "megjegyzes egyeb tetel_nev ezszolg osszar")
             .split(' ')},
        {"vw_munkalap_dolgozo", QStringLiteral("munkalap dolgozo dolgozo_nev").split(' ')},
        {"vw_mlapsum",
         QStringLiteral("munkalap munkalapstr szolgbesz szolgelad szolghaszon termbesz termelad "
                        "termhaszon osszhaszon")
             .split(' ')},
        {"vw_mlaptetel",
         QStringLiteral("munkalap_tetel tetel tetel_kod tetel_nev ar_elad ar_teljes ar_besz kedv_kap "
                        "kedv_ad megjegyzes egyeb db")
             .split(' ')},
        {"vw_mlapcapt", QStringLiteral("munkalap mlapcapt").split(' ')},
        {"vw_keszulekcapt", QStringLiteral("keszulek keszulekcapt").split(' ')},
        {"vw_mlapprint", printHeader + gas + printLine},
        {"vw_mlapprint0", printHeader},
        {"vw_beallit",
         QStringLiteral(
             "beallit vanbelep mlaphatid prgtipus autocikkszam autocikkszamhossz "
             "mlapdatummodosit kedvmutat afakulcs kepftp kephost kepuser keppwd kepfolder "
             "kepport levelkuldlink allapotlink prgtipus_nev gyszstr keszulekstr muszakistr vankeszulek")
             .split(' ')},
        {"vw_tulajdonos",
         QStringLiteral("tulajdonos irszvaroscim telefon adoszam bankszamlaszam").split(' ')},
        {"vw_boritek",
         QStringLiteral("ugyfel tulajdonos tulirsz tulvaroscim tultelefon ugyfel_nev kapcsolat2 cim_irsz "
                        "cim_varos cim_cim")
             .split(' ')},
        {"vw_arbevetel",
         QStringLiteral("sortipus munkalap munkalapstr statusz statusz_nev ugyfel_nev dat bevetel")
             .split(' ')},
        {"vw_nyereseg",
         QStringLiteral("munkalap munkalapstr datum tipusstr ugyfel_nev rafanyag rafido ar_ossz ar_besz "
                        "ar_kedvezmeny nyereseg")
             .split(' ')},
        {"vw_banner", QStringLiteral("banner banner_nev szoveg link hatterkep kiskep szovegstr").split(' ')},
        {"dolgelo", QStringList{"datum", "ora"} + range("elojegyzes0", 1, 9) + range("elojegyzes", 10, 20) +
                        range("azon0", 1, 9) + range("azon", 10, 20) + range("szoveg0", 1, 9) +
                        range("szoveg", 10, 20)},
    };
    for (const auto& [view, columns] : expected) {
        const std::set<QString> present = ViewColumns(conn(), view);
        EXPECT_FALSE(present.empty()) << "missing view " << view.toStdString();
        for (const QString& column : columns)
            EXPECT_TRUE(present.count(column)) << view.toStdString() << "." << column.toStdString();
    }
    // The blank printout has no line or flue-gas columns.
    const std::set<QString> blank = ViewColumns(conn(), QStringLiteral("vw_mlapprint0"));
    for (const QString& column : printLine.mid(1) + gas)
        EXPECT_FALSE(blank.count(column)) << "vw_mlapprint0." << column.toStdString();
}

TEST_F(Schema, DerivedTextColumnsKeepTheirWidthsAndTheHungarianCollation) {
    struct Width {
        const char* view;
        const char* column;
        int width;
    };
    // A sheet number keeps all its digits: up to ten, and the type's letter.
    const Width widths[] = {
        {"vw_munkalap", "munkalapstr", 11},       {"vw_munkalap", "irszvaroscim", 113},
        {"vw_munkalap", "tipusstr", 102},         {"vw_munkalap", "tipusstr2", 168},
        {"vw_munkalap", "hatidstr", 19},          {"vw_ugyfel", "irszvaroscim", 113},
        {"vw_keszulek", "munkalapstr", 23},       {"vw_keszulek", "tipusstr", 102},
        {"vw_keszulek", "keszulektipus_nev", 50}, {"vw_keszulek", "ugyfel_nev", 75},
        {"vw_keszulek", "keszulekstr", 154},      {"vw_tipus", "tipusstr", 102},
        {"vw_mlapsum", "munkalapstr", 11},        {"vw_mlapprint", "mlapstr", 11},
        {"vw_mlapprint", "munkalapnev", 50},      {"vw_mlapprint", "kapcsstr", 152},
        {"vw_mlapprint", "cimstr", 113},          {"vw_mlapprint", "tipusstr", 102},
        {"vw_mlapprint", "hatidstr", 19},         {"vw_mlapprint", "legellatasstr", 13},
        {"vw_mlapprint", "sormegj", 255},         {"vw_mlapprint0", "mlapstr", 11},
        {"vw_tulajdonos", "irszvaroscim", 113},   {"vw_boritek", "tulirsz", 5},
        {"vw_boritek", "tulvaroscim", 77},        {"vw_boritek", "tultelefon", 25},
        {"vw_boritek", "kapcsolat2", 50},         {"vw_arbevetel", "sortipus", 6},
        {"vw_arbevetel", "munkalapstr", 11},      {"vw_nyereseg", "munkalapstr", 11},
        {"vw_nyereseg", "ugyfel_nev", 128},       {"vw_banner", "szovegstr", 50},
    };
    for (const Width& w : widths) {
        const QString width =
            Value(conn(), QStringLiteral("SELECT CHARACTER_MAXIMUM_LENGTH FROM information_schema.COLUMNS "
                                         "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '%1' "
                                         "AND COLUMN_NAME = '%2'")
                              .arg(QLatin1String(w.view), QLatin1String(w.column)));
        ASSERT_NE(width, "<no row>") << w.view << "." << w.column;
        EXPECT_LE(width.toInt(), w.width) << w.view << "." << w.column;
    }
    // Searches compare these texts with the Hungarian collation.
    EXPECT_EQ(
        Lines(conn(),
              QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME, COLLATION_NAME FROM information_schema.COLUMNS "
                             "WHERE TABLE_SCHEMA = DATABASE() AND COLLATION_NAME IS NOT NULL "
                             "AND COLLATION_NAME <> 'latin2_hungarian_ci'")),
        QStringList());
}

TEST_F(Schema, WorkSheetNumberTextIsAtLeastFiveDigitsAndTheTypeLetter) {
    conn().exec(QStringLiteral("INSERT INTO mlaptipus (mlaptipus, betujel, mlaptipus_nev, prgtipus) "
                               "VALUES (901, 'A', 'Próba', 1)"));
    struct Case {
        int sheet;
        int type;
        const char* text;
    };
    // Padded to five digits, never cut: a sixth digit stays.
    const Case cases[] = {
        {42, 901, "00042A"}, {123456, 901, "123456A"}, {7, 0, "00007"}, {99999, 901, "99999A"}};
    for (const Case& c : cases) {
        conn().exec(QStringLiteral("INSERT INTO munkalap (munkalap, mlaptipus, statusz) VALUES (%1, %2, 1)")
                        .arg(c.sheet)
                        .arg(c.type));
        for (const char* view : {"vw_munkalap", "vw_mlapsum", "vw_mlapprint0"}) {
            const QString column = QLatin1String(view) == QLatin1String("vw_mlapprint0")
                                       ? QStringLiteral("mlapstr")
                                       : QStringLiteral("munkalapstr");
            EXPECT_EQ(Value(conn(), QStringLiteral("SELECT %1 FROM %2 WHERE munkalap = %3")
                                        .arg(column, QLatin1String(view))
                                        .arg(c.sheet)),
                      QLatin1String(c.text))
                << view << " " << c.sheet;
        }
    }
    conn().exec(QStringLiteral("DELETE FROM munkalap WHERE munkalap IN (42, 123456, 7, 99999)"));
    conn().exec(QStringLiteral("DELETE FROM mlaptipus WHERE mlaptipus = 901"));
}

TEST_F(Schema, SlotTimeTextFromTheSlotNumber) {
    // The planner's own statement over every slot of the day, extended by the
    // edges of the day for this test.
    conn().exec(QStringLiteral("INSERT INTO ora (ora) VALUES (0), (1), (47)"));
    const ResultSet rs = conn().query(QStringLiteral(
        "SELECT\nora.ora,\nCONCAT(LPAD(ora.ora DIV 2,2,'0'),':',IF(ora.ora MOD 2 = 0,'00','30')) ora2\n"
        "FROM ora\nORDER BY ora.ora;"));
    std::map<int, QString> times;
    for (int r = 0; r < rs.rowCount(); ++r)
        times[rs.value(r, 0).toInt()] = rs.text(r, 1);
    conn().exec(QStringLiteral("DELETE FROM ora WHERE ora IN (0, 1, 47)"));
    const std::map<int, const char*> expected = {{0, "00:00"},  {1, "00:30"},  {16, "08:00"},
                                                 {17, "08:30"}, {39, "19:30"}, {47, "23:30"}};
    for (const auto& [slot, text] : expected)
        EXPECT_EQ(times[slot], QLatin1String(text)) << slot;
}

TEST_F(Schema, DerivedTextsJoinTheirPartsAndSkipEmptyOnes) {
    conn().exec(QStringLiteral(
        "INSERT INTO ugyfel (ugyfel, ugyfel_nev, kapcsolat, telefon, cim_irsz, cim_varos, cim_cim) "
        "VALUES (801, 'Kovács Ödön', 'Éva', '06-1-234', '1111', 'Budapest', 'Fő utca 1.'), "
        "(802, 'Nagy Ilona', '', '', '', 'Szeged', '')"));
    conn().exec(QStringLiteral("INSERT INTO gyarto (gyarto, gyarto_nev) VALUES (801, 'Daikin')"));
    conn().exec(QStringLiteral(
        "INSERT INTO keszulektipus (keszulektipus, keszulektipus_nev) VALUES (801, 'Split klíma')"));
    conn().exec(QStringLiteral(
        "INSERT INTO tipus (tipus, gyarto, tipus_nev, keszulektipus) VALUES (801, 801, 'FTXM25', 801)"));
    conn().exec(QStringLiteral(
        "INSERT INTO keszulek (keszulek, ugyfel, tipus, gysz, evjarat, dat_muszaki) VALUES "
        "(801, 801, 801, 'SN-1', 2019, CURDATE() + INTERVAL 12 DAY), (802, 802, 0, '', NULL, NULL)"));
    conn().exec(QStringLiteral(
        "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, statusz, datum, dat_hatid, "
        "legellatas) VALUES (801, 1, 801, 801, 0, '2024-03-05', '2024-03-05 08:30:00', 'I'), "
        "(802, 1, 802, 0, 1, NULL, NULL, 'N')"));
    conn().exec(QStringLiteral("UPDATE keszulek SET utolso_munkalap = 801 WHERE keszulek = 801"));

    EXPECT_EQ(Lines(conn(), QStringLiteral(
                                "SELECT irszvaroscim FROM vw_ugyfel WHERE ugyfel IN (801, 802) ORDER BY 1")),
              (QStringList{"1111 Budapest, Fő utca 1.", "Szeged"}));
    EXPECT_EQ(
        Lines(conn(), QStringLiteral("SELECT munkalapstr, tipusstr, tipusstr2, hatidstr, gysz, ar_teljes "
                                     "FROM vw_munkalap WHERE munkalap IN (801, 802) ORDER BY munkalap")),
        (QStringList{"00801J|Daikin FTXM25|SN-1 Daikin FTXM25 (2019)|2024.03.05. 08:30|SN-1|0",
                     "00802J|||<null>|<null>|0"}));
    EXPECT_EQ(
        Lines(conn(), QStringLiteral("SELECT munkalapstr, tipusstr, keszulekstr, keszulektipus_nev, hatravan "
                                     "FROM vw_keszulek WHERE keszulek IN (801, 802) ORDER BY keszulek")),
        (QStringList{"00801J 2024.03.05.|Daikin FTXM25|SN-1, Daikin FTXM25|Split klíma|12",
                     "|||<null>|<null>"}));
    EXPECT_EQ(
        Lines(conn(), QStringLiteral("SELECT munkalapnev, kapcsstr, cimstr, legellatasstr FROM vw_mlapprint "
                                     "WHERE munkalap IN (801, 802) ORDER BY munkalap")),
        (QStringList{"Árajánlat|Éva, 06-1-234|1111 Budapest, Fő utca 1.|Megfelelő",
                     "Munkalap||Szeged|Nem megfelelő"}));
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT mlapcapt FROM vw_mlapcapt WHERE munkalap = 801")),
              "00801J - Kovács Ödön - SN-1, Daikin FTXM25");
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT keszulekcapt FROM vw_keszulekcapt WHERE keszulek = 801")),
              "SN-1, Daikin FTXM25 - Kovács Ödön");
    // A sheet without lines still gives its header to the final printout.
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM vw_mlapprint WHERE munkalap = 802")), "1");

    // Deleted records leave the lists.
    conn().exec(QStringLiteral("UPDATE ugyfel SET torolve = 'I' WHERE ugyfel = 802"));
    conn().exec(QStringLiteral("UPDATE keszulek SET torolve = 'I' WHERE keszulek = 802"));
    conn().exec(QStringLiteral("UPDATE tipus SET torolve = 'I' WHERE tipus = 801"));
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM vw_ugyfel WHERE ugyfel = 802")), "0");
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM vw_keszulek WHERE keszulek = 802")), "0");
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM vw_tipus WHERE tipus = 801")), "0");
    // ... but a device of a deleted type keeps its type text.
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT tipusstr FROM vw_keszulek WHERE keszulek = 801")),
              "Daikin FTXM25");

    for (const char* table : {"munkalap", "keszulek", "tipus", "keszulektipus", "gyarto", "ugyfel"})
        conn().exec(QStringLiteral("DELETE FROM %1 WHERE %1 IN (801, 802)").arg(QLatin1String(table)));
}

TEST_F(Schema, EmptyDatabaseComesWithItsLookupRows) {
    EXPECT_EQ(
        Lines(conn(), QStringLiteral("SELECT statusz, statusz_nev, keszenvan FROM statusz ORDER BY statusz")),
        (QStringList{"0|Árajánlat|N", "1|Beérkezett|N", "2|Megkezdve|N", "3|Készen van|I", "4|Számlázva|I"}));
    EXPECT_EQ(
        Lines(conn(), QStringLiteral("SELECT prgtipus_nev FROM prgtipus ORDER BY prgtipus;")),
        (QStringList{"Klíma szerelő", "Autószerelő", "Grafika stúdió", "Gázszerelő", "Ügyfélszolgálat"}));
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT MAX(verzio) FROM verzio;")), "24.0.0.111");
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT MIN(ora) FROM ora;")), "16");
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT MAX(ora) FROM ora;")), "39");
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM ora")), "24");
    // Every trade has work-sheet types; the graphics studio has the garment type.
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM prgtipus p WHERE NOT EXISTS "
                                           "(SELECT 1 FROM mlaptipus m WHERE m.prgtipus = p.prgtipus)")),
              "0");
    EXPECT_EQ(
        Value(conn(), QStringLiteral("SELECT COUNT(*) FROM mlaptipus WHERE prgtipus = 3 AND betujel = 'P'")),
        "1");
    // One settings row, read through vw_beallit with the trade's texts.
    EXPECT_EQ(
        Lines(conn(),
              QStringLiteral("SELECT vanbelep, mlaphatid, prgtipus, autocikkszamhossz, afakulcs, kepport, "
                             "prgtipus_nev, gyszstr, keszulekstr, muszakistr, vankeszulek FROM vw_beallit")),
        QStringList{"N|3|1|5|27|21|Klíma szerelő|Gy.szám|Készülék|Karbantartás|I"});
    EXPECT_EQ(
        Lines(conn(), QStringLiteral(
                          "SELECT prgtipus, gyszstr, vankeszulek FROM prgtipus WHERE prgtipus IN (2, 3, 5) "
                          "ORDER BY 1")),
        (QStringList{"2|Rendszám|I", "3|Gy.szám|N", "5|Telefonszám|I"}));
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM tulajdonos")), "1");
    EXPECT_EQ(Value(conn(), QStringLiteral("SELECT COUNT(*) FROM vw_tulajdonos")), "1");
    // No placeholder rows: the windows' "WHERE x = 0" opens empty.
    for (const char* view :
         {"vw_munkalap", "vw_ugyfel", "vw_keszulek", "vw_tetel", "vw_tipus", "vw_boritek"}) {
        const QString key = QLatin1String(view) == QLatin1String("vw_boritek")
                                ? QStringLiteral("ugyfel")
                                : QString::fromLatin1(view).mid(3);
        EXPECT_EQ(Value(conn(),
                        QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = 0").arg(QLatin1String(view), key)),
                  "0")
            << view;
    }
}

// Index use of the list views on a shop with some history.
class SchemaPlans : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("schemaplans"));
        Connection& c = db->connection();
        c.exec(QStringLiteral(
            "INSERT INTO ugyfel (ugyfel_nev) SELECT CONCAT('Ügyfél ', seq) FROM seq_1_to_5000"));
        c.exec(QStringLiteral("INSERT INTO keszulek (ugyfel, tipus, gysz) "
                              "SELECT 1 + seq MOD 5000, 0, CONCAT('GY', seq) FROM seq_1_to_8000"));
        c.exec(QStringLiteral(
            "INSERT INTO tetel (tetel_kod, tetel_nev) SELECT LPAD(seq, 5, '0'), CONCAT('Tétel ', seq) "
            "FROM seq_1_to_500"));
        c.exec(QStringLiteral(
            "INSERT INTO munkalap (mlaptipus, ugyfel, keszulek, datum, statusz) "
            "SELECT 1, 1 + seq MOD 5000, 1 + seq MOD 8000, '2020-01-01' + INTERVAL seq DIV 20 DAY, "
            "IF(seq > 19900, 1 + seq MOD 3, 4) FROM seq_1_to_20000"));
        c.exec(QStringLiteral("INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar) "
                              "SELECT 1 + seq MOD 20000, 1 + seq MOD 500, 1, 100 FROM seq_1_to_60000"));
        c.exec(QStringLiteral(
            "INSERT INTO dolgozo (dolgozo_nev, sorszam) SELECT CONCAT('D', seq), seq FROM seq_1_to_5"));
        c.exec(QStringLiteral(
            "INSERT INTO elojegyzes (azon, dolgozo, datum, ora) SELECT 1, d.dolgozo, "
            "'2021-01-01' + INTERVAL n.seq DAY, o.ora FROM dolgozo d JOIN seq_0_to_199 n JOIN ora o"));
        c.exec(QStringLiteral(
            "ANALYZE TABLE munkalap, munkalap_tetel, ugyfel, keszulek, tetel, elojegyzes, dolgozo"));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    static inline TestDatabase* db = nullptr;
};

TEST_F(SchemaPlans, ListViewsAreMergedAndUseTheBaseTablesIndexes) {
    struct Plan {
        const char* select;
        const char* table; // alias of the base table in the view
        const char* key;
    };
    const Plan plans[] = {
        {"SELECT * FROM vw_munkalap WHERE (statusz BETWEEN 1 AND 2) ORDER BY 1 DESC", "m",
         "ix_munkalap_statusz"},
        {"SELECT * FROM vw_munkalap WHERE (statusz = 3) ORDER BY munkalap DESC", "m", "ix_munkalap_statusz"},
        {"SELECT * FROM vw_munkalap WHERE (ugyfel = 17) ORDER BY 1", "m", "ix_munkalap_ugyfel"},
        {"SELECT * FROM vw_munkalap WHERE (keszulek = 17) ORDER BY 1", "m", "ix_munkalap_keszulek"},
        {"SELECT * FROM vw_munkalap WHERE (datum BETWEEN '2021-01-01' AND '2021-01-31') ORDER BY mlaptipus, "
         "munkalap",
         "m", "ix_munkalap_datum"},
        {"SELECT * FROM vw_munkalap WHERE munkalap = 4711", "m", "PRIMARY"},
        {"SELECT * FROM vw_keszulek WHERE ugyfel = 17 ORDER BY keszulek", "k", "ix_keszulek_ugyfel"},
        {"SELECT * FROM vw_keszulek WHERE keszulek = 17", "k", "PRIMARY"},
        {"SELECT * FROM vw_ugyfel WHERE ugyfel = 17", "u", "PRIMARY"},
        {"SELECT * FROM vw_munkalap_tetel WHERE munkalap = 4711 ORDER BY munkalap_tetel", "l",
         "ix_munkalap_tetel_munkalap"},
        {"SELECT * FROM vw_munkalap_dolgozo WHERE munkalap = 4711 ORDER BY dolgozo_nev", "md", "PRIMARY"},
        {"SELECT * FROM vw_mlapprint WHERE munkalap = 4711 ORDER BY munkalap_tetel", "l",
         "ix_munkalap_tetel_munkalap"},
        {"SELECT * FROM vw_tetel WHERE tetel = 17", "t", "PRIMARY"},
        {"SELECT * FROM vw_tipus WHERE tipus = 17", "t", "PRIMARY"},
    };
    Connection& c = db->connection();
    for (const Plan& p : plans) {
        const ResultSet rs = c.query(QStringLiteral("EXPLAIN ") + QLatin1String(p.select));
        const int selectType = rs.columnIndex(u"select_type");
        const int table = rs.columnIndex(u"table");
        const int key = rs.columnIndex(u"key");
        const int type = rs.columnIndex(u"type");
        bool found = false;
        for (int r = 0; r < rs.rowCount(); ++r) {
            EXPECT_EQ(rs.text(r, selectType), "SIMPLE") << p.select; // merged, nothing materialised
            EXPECT_NE(rs.text(r, type), "ALL") << p.select << " scans " << rs.text(r, table).toStdString();
            if (rs.text(r, table) == QLatin1String(p.table)) {
                found = true;
                EXPECT_EQ(rs.text(r, key), QLatin1String(p.key)) << p.select;
            }
        }
        // A lookup the optimizer answered from constants has no table rows.
        if (!found) {
            const QString extra = rs.text(0, rs.columnIndex(u"Extra"));
            EXPECT_TRUE(extra.contains(QLatin1String("const")) || extra.contains(QLatin1String("Impossible")))
                << p.select << ": " << extra.toStdString();
        }
    }
}

TEST_F(SchemaPlans, GroupedViewsGroupOnlyTheRowsAsked) {
    const char* selects[] = {
        "SELECT * FROM vw_mlapsum WHERE munkalap = 4711",
        "SELECT * FROM vw_nyereseg WHERE (datum BETWEEN '2021-01-01' AND '2021-01-31') ORDER BY munkalap",
        "SELECT * FROM vw_arbevetel WHERE (dat BETWEEN '2021-01-01' AND '2021-01-31') ORDER BY 1, 2",
        // The planner's day: one day's appointments, not the calendar's.
        "SELECT dolgelo.*,CONCAT(LPAD(ora DIV 2,2,'0'),':',IF(ora MOD 2 = 0,'00','30')) ora2\nFROM dolgelo\n"
        "WHERE datum = '2021-03-01'\nORDER BY datum,ora;",
    };
    Connection& c = db->connection();
    for (const char* select : selects) {
        const ResultSet rs = c.query(QStringLiteral("EXPLAIN ") + QLatin1String(select));
        const int table = rs.columnIndex(u"table");
        const int type = rs.columnIndex(u"type");
        const int rows = rs.columnIndex(u"rows");
        for (int r = 0; r < rs.rowCount(); ++r) {
            // Only the view's own small result may be read whole.
            if (rs.text(r, table).startsWith(QLatin1String("<derived"))) {
                EXPECT_LT(rs.value(r, rows).toLongLong(), 5000) << select;
                continue;
            }
            EXPECT_NE(rs.text(r, type), "ALL") << select << " scans " << rs.text(r, table).toStdString();
        }
    }
}

} // namespace

// ---- Fit for a database cluster --------------------------------------------------

TEST_F(Schema, EveryTableIsInnoDbWithAPrimaryKeyAndNothingTakesTableOrNamedLocks) {
    EXPECT_EQ(kml::test::ClusterUnfitObjects(conn()), QStringList());
    EXPECT_EQ(kml::test::ClusterUnfitScriptLines(), QStringList());
}

TEST(SchemaUpgrade, AnOlderDatabaseGetsItsMissingKeysAndEnginesAndKeepsItsRows) {
    TestDatabase old(QStringLiteral("schemaupgrade"), TestDatabase::Contents::Demo);
    Connection& c = old.connection();
    // What an older schema.sql made: the shop's row without a key, and a
    // table a shop added itself, without a key and on MyISAM.
    c.exec(QStringLiteral("ALTER TABLE tulajdonos DROP PRIMARY KEY, DROP COLUMN tulajdonos_sor"));
    c.exec(QStringLiteral("CREATE TABLE sajat_jegyzet (szoveg VARCHAR(50)) ENGINE=MyISAM"));
    c.exec(QStringLiteral("INSERT INTO sajat_jegyzet VALUES ('első'), ('második')"));
    c.exec(QStringLiteral("CREATE TABLE sajat_szamlalo (sorszam INT NOT NULL AUTO_INCREMENT, UNIQUE KEY "
                          "(sorszam)) ENGINE=InnoDB"));
    const QStringList shopBefore = Lines(c, QStringLiteral("SELECT * FROM vw_tulajdonos"));
    const QString columnsBefore =
        Value(c, QStringLiteral("SELECT COUNT(*) FROM information_schema.COLUMNS WHERE "
                                "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'tulajdonos'"));
    ASSERT_EQ(kml::test::ClusterUnfitObjects(c).size(), 4)
        << kml::test::ClusterUnfitObjects(c).join(u'\n').toStdString();

    for (int run = 0; run < 2; ++run) // a second run changes nothing and fails on nothing
        kml::test::RunClientFile(old.name(), kml::test::SourcePath(QStringLiteral("db/upgrade.sql")));

    EXPECT_EQ(kml::test::ClusterUnfitObjects(c), QStringList());
    EXPECT_EQ(Lines(c, QStringLiteral("SELECT * FROM vw_tulajdonos")), shopBefore);
    EXPECT_EQ(Lines(c, QStringLiteral("SELECT * FROM sajat_jegyzet ORDER BY 1")),
              QStringList({QStringLiteral("első"), QStringLiteral("második")}));
    // The added key is hidden: SELECT * and an INSERT without a column list
    // see the table as before.
    EXPECT_EQ(c.query(QStringLiteral("SELECT * FROM tulajdonos")).columnCount(), columnsBefore.toInt());
    c.exec(QStringLiteral("INSERT INTO sajat_jegyzet VALUES ('harmadik')"));
    EXPECT_EQ(Value(c, QStringLiteral("SELECT COUNT(*) FROM sajat_jegyzet")), QStringLiteral("3"));
    EXPECT_EQ(
        Value(c, QStringLiteral("SELECT COUNT(*) FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = "
                                "DATABASE() AND ROUTINE_NAME LIKE 'tmp%'")),
        QStringLiteral("0"))
        << "the script leaves no procedure of its own behind";
}

TEST(SchemaUpgrade, AnOlderDatabaseGetsTheComebackAndDueColumnsWithTheirDefaults) {
    TestDatabase old(QStringLiteral("schemadue"), TestDatabase::Contents::Demo);
    Connection& c = old.connection();
    // As an older schema.sql made it: no comeback setting or reference, no date indexes.
    c.exec(
        QStringLiteral("CREATE OR REPLACE VIEW vw_beallit AS SELECT b.beallit, b.prgtipus FROM beallit b"));
    c.exec(QStringLiteral("ALTER TABLE beallit DROP COLUMN visszateres_nap"));
    c.exec(QStringLiteral(
        "ALTER TABLE munkalap DROP INDEX ix_munkalap_visszatero, DROP COLUMN visszatero_munkalap"));
    c.exec(QStringLiteral("ALTER TABLE ugyfel DROP INDEX ix_ugyfel_figyelmeztet"));
    c.exec(QStringLiteral(
        "ALTER TABLE keszulek DROP INDEX ix_keszulek_muszaki, DROP INDEX ix_keszulek_garilejar"));
    const QString sheets = Value(c, QStringLiteral("SELECT COUNT(*) FROM munkalap"));

    for (int run = 0; run < 2; ++run)
        kml::test::RunClientFile(old.name(), kml::test::SourcePath(QStringLiteral("db/upgrade.sql")));

    EXPECT_EQ(Value(c, QStringLiteral("SELECT visszateres_nap FROM vw_beallit")), QStringLiteral("30"));
    EXPECT_EQ(Value(c, QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE visszatero_munkalap IS NULL")),
              sheets);
    EXPECT_EQ(
        Value(c,
              QStringLiteral(
                  "SELECT COUNT(DISTINCT INDEX_NAME) FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = "
                  "DATABASE() AND INDEX_NAME IN ('ix_munkalap_visszatero', "
                  "'ix_ugyfel_figyelmeztet', 'ix_keszulek_muszaki', 'ix_keszulek_garilejar')")),
        QStringLiteral("4"));
    // The view has every column views.sql gives it.
    EXPECT_EQ(Value(c, QStringLiteral("SELECT COUNT(*) FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                                      "DATABASE() AND TABLE_NAME = 'vw_beallit'")),
              QStringLiteral("24"));
}

// A database from before the status link: the setting and the status feed
// arrive as seed.sql installs them in a new database, once, and the shop's
// own definitions and settings stay.
TEST(SchemaUpgrade, AnOlderDatabaseGetsTheStatusLinkAndTheStatusFeedOnce) {
    TestDatabase old(QStringLiteral("statusupgrade"), TestDatabase::Contents::Demo);
    TestDatabase fresh(QStringLiteral("statusfresh"));
    Connection& c = old.connection();
    const QString feedRow = QStringLiteral(
        "SELECT csvexp_nev, kategoria, szoveg_sql, mezonevek, mezocimkek, csopmezok, summezok, keresmezok, "
        "parameterek, ezgrafikon, grafikonparam, hatarolo, szovegjelolo, file_local, ftp_kell, host_ftp, "
        "ftp_user, ftp_jelszo, file_ftp, kordexa FROM csvexp WHERE csvexp_nev = 'Munkalap állapot'");
    const QStringList seeded = Lines(fresh.connection(), feedRow);
    ASSERT_EQ(seeded.size(), 1);
    c.exec(QStringLiteral("DELETE FROM csvexp WHERE csvexp_nev = 'Munkalap állapot'"));
    c.exec(QStringLiteral("ALTER TABLE beallit DROP COLUMN allapotlink"));
    c.exec(QStringLiteral("CREATE OR REPLACE VIEW vw_beallit AS SELECT b.beallit, b.levelkuldlink, "
                          "p.prgtipus_nev FROM beallit b "
                          "LEFT JOIN prgtipus p ON p.prgtipus = b.prgtipus"));
    const QStringList othersBefore = Lines(c, QStringLiteral("SELECT * FROM csvexp ORDER BY csvexp"));

    for (int run = 0; run < 2; ++run)
        kml::test::RunClientFile(old.name(), kml::test::SourcePath(QStringLiteral("db/upgrade.sql")));

    EXPECT_EQ(Lines(c, feedRow), seeded) << "the feed as a new database has it, once";
    EXPECT_EQ(Lines(c, QStringLiteral("SELECT * FROM csvexp WHERE csvexp_nev <> 'Munkalap állapot' ORDER BY "
                                      "csvexp")),
              othersBefore);
    EXPECT_EQ(Value(c, QStringLiteral("SELECT IFNULL(allapotlink, '<null>') FROM vw_beallit")),
              QStringLiteral("<null>"));
    EXPECT_EQ(Value(c, QStringLiteral("SELECT levelkuldlink FROM vw_beallit")),
              QStringLiteral("https://www.huslegklima.hu/level.php?type=%type%&id=%id%"));
    // The view is the one views.sql makes.
    EXPECT_EQ(
        Lines(c, QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                                "DATABASE() AND TABLE_NAME = 'vw_beallit' ORDER BY ORDINAL_POSITION")),
        Lines(fresh.connection(),
              QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                             "DATABASE() AND TABLE_NAME = 'vw_beallit' ORDER BY ORDINAL_POSITION")));
}
