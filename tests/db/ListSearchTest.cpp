// The main window's lists searched through their search tables: the same
// rows in the same order as their LIKE filters over the lists' search fields,
// on the demo shop with awkward rows added and on a generated shop, for
// awkward typed texts and for pieces of every field; and the triggers keep
// the search tables equal to what the views compute after every kind of
// change to the tables they are made of. The searches are those the lists'
// controllers build from the definitions their subsystems register; a
// streaming controller shows only the rows of the text typed last.
#include "TestDatabase.h"
#include "components/Connection.h"
#include "components/Query.h"
#include "foundation/SearchFilter.h"
#include "foundation/TextHelpers.h"
#include "patterns/ListController.h"
#include "shell/MainSession.h"
#include "worksheets/WorkSheetLists.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <set>

using namespace kml;
using kml::test::TestDatabase;

namespace {

struct ListCase {
    const char* name;
    MainTab tab;
    QString view;
    QString fixed;
    QString order; // the list's sort with its key last, so that ties come in one order
};

std::vector<ListCase> Lists(bool everyStatusTab) {
    std::vector<ListCase> lists;
    for (int tab = 0; tab < StatusTabCount; ++tab)
        if (everyStatusTab || tab <= 1)
            lists.push_back(
                {"munkalapok", MainTab::WorkSheets, "vw_munkalap", StatusTabCondition(tab), "1 DESC"});
    lists.push_back({"munkalapok ügyfél szerint", MainTab::WorkSheets, "vw_munkalap", StatusTabCondition(1),
                     WorkSheetOrder("ugyfel_nev")});
    lists.push_back({"ügyfelek", MainTab::Customers, "vw_ugyfel", "(ugyfel > 0)", "ugyfel_nev, ugyfel"});
    lists.push_back({"készülékek", MainTab::Devices, "vw_keszulek", "(keszulek > 0)", "gysz, keszulek"});
    return lists;
}

// The main window's list of a tab, as its subsystem registers it.
ListDefinition Definition(MainTab tab) {
    static const MainRoutes routes = [] {
        MainRoutes r;
        RegisterMainRoutes(r);
        return r;
    }();
    return routes.list(tab).list;
}

// The list's controller over a statement of its keys alone in the case's
// order, on the case's fixed condition: what it puts on the WHERE line and
// what it runs first are the list's own.
std::unique_ptr<ListController> KeyList(const ListCase& list) {
    ListDefinition d = Definition(list.tab);
    d.sql = QStringLiteral("SELECT %1 FROM %2\nWHERE 1\nORDER BY %3;").arg(d.keyField, list.view, list.order);
    auto controller = std::make_unique<ListController>(d);
    controller->setFixedCondition(list.fixed);
    return controller;
}

QStringList Keys(Connection& c, const ListCase& list, const QString& condition) {
    const QString key = Definition(list.tab).keyField;
    const ResultSet rs = c.query(QStringLiteral("SELECT %1 FROM %2\nWHERE %3\nORDER BY %4;")
                                     .arg(key, list.view, condition, list.order));
    QStringList keys;
    for (int r = 0; r < rs.rowCount(); ++r)
        keys << rs.text(r, 0);
    return keys;
}

QStringList KeysOf(const ResultSet& rs) {
    QStringList keys;
    for (int r = 0; r < rs.rowCount(); ++r)
        keys << rs.text(r, 0);
    return keys;
}

// The keys the two steps of a search find: the search table's keys first,
// then the list's statement for them (or, beyond maxKeys, with the search
// table joined in); the statements of a step run one after the other here,
// their rows in order, as a streaming opening takes them.
// No plan: the controller's own prelude.
QStringList KeysInTwoSteps(Connection& c, const ListCase& list, const QString& text,
                           const std::optional<SearchPlan>& plan) {
    const std::unique_ptr<ListController> controller = KeyList(list);
    const ListDefinition& d = controller->definition();
    EXPECT_TRUE(controller->usesSearchIndex());
    const QueryPrelude prelude =
        plan ? IndexedSearchPrelude(d.searchIndex, d.searchFields, controller->query().sql(), list.fixed,
                                    list.fixed, text, *plan)
             : controller->searchPrelude(text);
    if (prelude.sql.isEmpty())
        return Keys(c, list, list.fixed + LikeFilter(d.searchFields, text, true));
    return KeysOf(QueryInTurn(c, prelude.statement(QueryInTurn(c, prelude.sql))));
}

// The keys of the search in parts (the highest plan.firstKeys matching keys
// first, then the rest below them), the parts' rows one after the other as
// a streaming opening appends them.
QStringList KeysInParts(Connection& c, const ListCase& list, const QString& text, const SearchPlan& plan) {
    const std::unique_ptr<ListController> controller = KeyList(list);
    const ListDefinition& d = controller->definition();
    QueryPrelude part = IndexedSearchPrelude(d.searchIndex, d.searchFields, controller->query().sql(),
                                             list.fixed, list.fixed, text, plan);
    if (part.sql.isEmpty())
        return Keys(c, list, list.fixed + LikeFilter(d.searchFields, text, true));
    QStringList keys;
    int parts = 0;
    while (!part.sql.isEmpty()) {
        EXPECT_LE(++parts, 2);
        const ResultSet found = QueryInTurn(c, part.sql);
        keys << KeysOf(QueryInTurn(c, part.statement(found)));
        part = part.next ? part.next(found) : QueryPrelude{};
    }
    return keys;
}

// A plan that divides every step it can into two statements: the key
// search over the search table's whole key range, a statement naming two
// keys or more.
SearchPlan SplitEverything(Connection& c, const ListDefinition& d, int maxKeys, int firstKeys) {
    const ResultSet range = c.query(
        QStringLiteral("SELECT MIN(%1), MAX(%1) FROM %2").arg(d.searchIndex.keyField, d.searchIndex.table));
    SearchPlan plan;
    plan.maxKeys = maxKeys;
    plan.firstKeys = firstKeys;
    plan.lowKey = range.value(0, 0).toLongLong();
    plan.highKey = range.value(0, 1).toLongLong();
    plan.splitKeys = 2;
    plan.splitRows = 2;
    return plan;
}

// Compares LikeFilter's rows with those of the search through the search
// table, as one statement and as two (with few and with many keys named),
// for every text on every list; returns how many comparisons found rows, so
// that a test can see it did not only compare empty results.
int ExpectSameRows(Connection& c, const std::vector<ListCase>& lists, const QStringList& texts) {
    int nonEmpty = 0;
    for (const ListCase& list : lists) {
        const std::unique_ptr<ListController> controller = KeyList(list);
        const QString fields = controller->definition().searchFields;
        for (const QString& text : texts) {
            const QStringList expected = Keys(c, list, list.fixed + LikeFilter(fields, text, true));
            const std::string what = std::string(list.name) + " " + list.fixed.toStdString() + " text \"" +
                                     text.toStdString() + "\"";
            EXPECT_EQ(Keys(c, list, controller->condition(text)), expected) << what;
            EXPECT_EQ(KeysInTwoSteps(c, list, text, std::nullopt), expected) << what << " in two steps";
            SearchPlan fewNamed;
            fewNamed.maxKeys = 2;
            EXPECT_EQ(KeysInTwoSteps(c, list, text, fewNamed), expected) << what << " in two steps, 2 named";
            for (const int maxKeys : {2, MaxNamedSearchKeys})
                EXPECT_EQ(
                    KeysInTwoSteps(c, list, text, SplitEverything(c, controller->definition(), maxKeys, 0)),
                    expected)
                    << what << " in two steps side by side, " << maxKeys << " named";
            // In parts only where the list's order is by the key, highest first.
            if (controller->definition().searchIndex.newestFirst &&
                list.order.endsWith(QLatin1String("DESC"))) {
                for (const int firstKeys : {1, 3}) {
                    SearchPlan plan;
                    plan.firstKeys = firstKeys;
                    EXPECT_EQ(KeysInParts(c, list, text, plan), expected)
                        << what << " in parts, " << firstKeys;
                    EXPECT_EQ(KeysInParts(c, list, text,
                                          SplitEverything(c, controller->definition(), MaxNamedSearchKeys,
                                                          firstKeys)),
                              expected)
                        << what << " in parts side by side, " << firstKeys;
                }
            }
            if (!expected.isEmpty())
                ++nonEmpty;
        }
    }
    return nonEmpty;
}

// Texts that put the search to the test: LIKE's wildcards and what escapes
// them, quotes, the field separator byte, blanks, line breaks, and Hungarian
// letters in both cases, which the two collations of the field lists treat
// differently (latin2_hungarian_ci: a = á, o <> ö; latin2_general_ci: the
// other way round).
QStringList AwkwardTexts() {
    return {QStringLiteral("%"),
            QStringLiteral("_"),
            QStringLiteral("%%"),
            QStringLiteral("a%"),
            QStringLiteral("%ő"),
            QStringLiteral("k_v"),
            QStringLiteral("_ov_"),
            QStringLiteral("50%"),
            QStringLiteral("0_1"),
            QStringLiteral("\\"),
            QStringLiteral("\\%"),
            QStringLiteral("\\_"),
            QStringLiteral("C:\\s"),
            QStringLiteral("'"),
            QStringLiteral("O'B"),
            QStringLiteral("''"),
            QStringLiteral("\""),
            QStringLiteral(")("),
            QStringLiteral("ő"),
            QStringLiteral("Ő"),
            QStringLiteral("ö"),
            QStringLiteral("o"),
            QStringLiteral("ű"),
            QStringLiteral("Ü"),
            QStringLiteral("u"),
            QStringLiteral("á"),
            QStringLiteral("A"),
            QStringLiteral("é"),
            QStringLiteral("ÁRVÍZ"),
            QStringLiteral("árvíztűrő tükör"),
            QStringLiteral("petofi"),
            QStringLiteral("Petőfi"),
            QStringLiteral("kovacs"),
            QStringLiteral("KOVÁCS"),
            QStringLiteral("szamlazva"),
            QStringLiteral("Számlázva"),
            QStringLiteral("."),
            QStringLiteral("2025."),
            QStringLiteral(".0"),
            QStringLiteral("-"),
            QStringLiteral(" "),
            QStringLiteral("  "),
            QStringLiteral("a "),
            QStringLiteral("\n"),
            QStringLiteral("sor\nmásik"),
            QString(QChar(2)),
            QStringLiteral("Q") + QChar(2) + QStringLiteral("Z"),
            QStringLiteral("0000"),
            QStringLiteral("zanzibár"),
            QStringLiteral("nincs ilyen szöveg sehol")};
}

// Hungarian letters typed without their accents, where the two collations
// of the field lists disagree: latin2_hungarian_ci takes a for á and o for ó
// but not o for ö or ő, nor u for ü or ű; latin2_general_ci the other way
// round. A piece folded one way or the other shows a field searched under
// the wrong rules.
QString Folded(QString text, bool hungarianEquals) {
    const QString accented = hungarianEquals ? QStringLiteral("áÁóÓ") : QStringLiteral("öőÖŐüűÜŰ");
    const QString plain = hungarianEquals ? QStringLiteral("aAoO") : QStringLiteral("ooOOuuUU");
    for (QChar& c : text)
        if (const qsizetype i = accented.indexOf(c); i >= 0)
            c = plain.at(i);
    return text;
}

// Pieces of the values of every search field of a sample of each list's
// rows (the awkward ones always among them), as a user would type them: a
// short piece from the middle, the start of the value, the piece in capitals
// and without some accents, and the whole value when short.
QStringList TextsFromFields(Connection& c, const ListCase& list, int sampleEvery, int rowsPerField = 12) {
    const ListDefinition def = Definition(list.tab);
    std::set<QString> texts;
    for (int n = 1;; ++n) {
        const QString field = Token(QStringLiteral(";"), def.searchFields, n);
        if (field.isEmpty())
            break;
        const ResultSet rs = c.query(
            QStringLiteral(
                "SELECT %1 FROM %2 WHERE (%3 MOD %4 = 1 OR %3 > 900) AND %5 ORDER BY %3 DESC LIMIT %6")
                .arg(field, list.view, def.keyField)
                .arg(sampleEvery)
                .arg(list.fixed)
                .arg(rowsPerField));
        for (int r = 0; r < rs.rowCount(); ++r) {
            const QString value = rs.text(r, 0);
            if (value.trimmed().isEmpty())
                continue;
            const int length = int(value.size());
            const QString piece = value.mid(length / 3, 4);
            texts.insert(piece);
            texts.insert(piece.toUpper());
            texts.insert(value.left(3));
            for (const bool hungarian : {true, false}) {
                texts.insert(Folded(piece, hungarian));
                texts.insert(Folded(value.left(6), hungarian));
            }
            if (length <= 24)
                texts.insert(value);
        }
    }
    return QStringList(texts.begin(), texts.end());
}

// The lists whose fields the typed pieces come from: all work sheets by
// number, customers, devices.
std::vector<ListCase> FieldSourceLists() {
    std::vector<ListCase> lists;
    for (const ListCase& list : Lists(false))
        if (list.tab != MainTab::WorkSheets ||
            (list.fixed == StatusTabCondition(1) && list.order == "1 DESC"))
            lists.push_back(list);
    return lists;
}

// What differs between the search tables and what their views compute now.
QStringList StaleSearchRows(Connection& c) {
    QStringList stale;
    for (const char* key : {"munkalap", "ugyfel", "keszulek"}) {
        const QString table = QLatin1String(key) + QStringLiteral("_kereses");
        const QString view = QStringLiteral("vw_") + table;
        QString same = QStringLiteral("k.szoveg_hu <=> v.szoveg_hu AND k.szoveg_alt <=> v.szoveg_alt AND "
                                      "k.szoveg_hosszu <=> v.szoveg_hosszu");
        if (QLatin1String(key) == QLatin1String("munkalap"))
            same += QStringLiteral(" AND k.statusz <=> v.statusz");
        const ResultSet rs = c.query(
            QStringLiteral("SELECT k.%1 FROM %2 k LEFT JOIN %3 v ON v.%1 = k.%1 WHERE NOT (%4) "
                           "UNION ALL SELECT v.%1 FROM %3 v LEFT JOIN %2 k ON k.%1 = v.%1 WHERE k.%1 IS NULL")
                .arg(QLatin1String(key), table, view, same));
        for (int r = 0; r < rs.rowCount(); ++r)
            stale << table + QLatin1Char(' ') + rs.text(r, 0);
    }
    return stale;
}

// Rows no ordinary shop has: every field of the three lists holds LIKE's
// wildcards, quotes, backslashes, the separator byte, line breaks, Hungarian
// letters in both cases, or nothing at all; one complaint is long enough for
// the search table's long column.
void AddAwkwardRows(Connection& c) {
    const QString sep(QChar(2));
    c.exec("INSERT INTO gyarto (gyarto, gyarto_nev) VALUES (901, 'O''Brien & Bálint Örs_100%'), (902, NULL)");
    c.exec(
        "INSERT INTO tipus (tipus, gyarto, tipus_nev, keszulektipus, torolve) VALUES "
        "(901, 901, 'Ötös_Ű\\\\Sorozat', 1, 'N'), (902, 902, NULL, 1, 'N'), (903, 0, 'Árva típus', 1, 'N')");
    c.exec(
        QStringLiteral(
            "INSERT INTO ugyfel (ugyfel, ugyfel_nev, kapcsolat, telefon, emil, cim_irsz, cim_varos, cim_cim, "
            "dat_figyelmeztet, torolve, maganszemely) VALUES "
            "(901, 'ÁRVÍZTŰRŐ Tükörfúrógép Kft.', 'Kovács\\r\\nÖdön', '+36 (1) 555-01_02', 'x%yá@pelda.hu', "
            "'1051', 'Budapest', 'Petőfi Sándor utca 5.', '2025-03-04', 'N', 'N'), "
            "(902, 'árvíztűrő tükörfúrógép', NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'N', 'I'), "
            "(903, 'C:\\\\szerviz\\\\ O''Brien', '', '', '', '', '', '', NULL, 'N', 'I'), "
            "(904, 'Törölt Zebra', 'zebra', '', '', '', '', '', NULL, 'I', 'I'), "
            "(905, %1, 'öcsi ŐRSI', 'ütő üllő', '', '   ', 'Pécs', ' ', NULL, 'N', 'I')")
            .arg(SqlStr(QStringLiteral("Q") + sep + QStringLiteral("Z Bt."))));
    c.exec(QStringLiteral(
               "INSERT INTO keszulek (keszulek, ugyfel, tipus, gysz, gysz2, gysz3, evjarat, torolve) VALUES "
               "(901, 901, 901, 'áb_Ö23', 'AB-123ő', 'X%Yű', 2019, 'N'), "
               "(902, 902, 902, %1, NULL, NULL, NULL, 'N'), "
               "(903, 903, 903, '  ', 'ŐŐ-001á', 'öö-001Á', 0, 'N'), "
               "(904, 901, 901, 'Törölt-999', NULL, NULL, NULL, 'I'), "
               "(905, 0, 0, 'Gazdátlan-1', '', '', NULL, 'N')")
               .arg(SqlStr(QStringLiteral("k") + sep + QStringLiteral("v"))));
    const QString longText = QStringLiteral("hosszú panasz ").repeated(1500) + QStringLiteral("Zanzibár");
    c.exec(
        QStringLiteral(
            "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, dat_hatid, dat_kesz, "
            "statusz, "
            "panasz, vegzett_munka, megjegyzes, storno) VALUES "
            "(901, 1, 901, 901, '2025-01-02', '2025-01-03 08:30', '2025-01-09', 2, '50% előleg_ kell', "
            "'C:\\\\temp\\\\napló', 'O''Brien szerint \"jó\"', 'N'), "
            "(902, 2, 902, 902, NULL, NULL, NULL, 4, NULL, NULL, NULL, 'I'), "
            "(903, 1, 0, 0, '2024-12-31', NULL, NULL, 0, %1, '', 'sor\\nmásik', 'N'), "
            "(904, 3, 905, 903, '2025-02-28', '2025-03-01 14:00', '2025-03-02', 3, %2, 'Ütő', NULL, 'N'), "
            "(905, 99, 999, 999, '2025-02-01', NULL, NULL, 1, 'hiányzó ügyfél és készülék', NULL, NULL, 'N')")
            .arg(SqlStr(longText), SqlStr(QStringLiteral("x") + sep + QStringLiteral("y ÁÉÍÓÖŐÚÜŰ"))));
}

class ListSearch : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("listsearch"), TestDatabase::Contents::Demo);
        AddAwkwardRows(db->connection());
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    // The generated shop's database, gone again, took the shared connection.
    void SetUp() override { SetSharedConnection(&db->connection()); }
    static Connection& conn() { return db->connection(); }
    static inline TestDatabase* db = nullptr;
};

TEST_F(ListSearch, DemoShopGivesTheRowsOfTheLikeFilters) {
    ASSERT_TRUE(StaleSearchRows(conn()).isEmpty());
    // The long complaint lives in the long column.
    EXPECT_EQ(conn()
                  .query("SELECT CONCAT(szoveg_hu IS NULL, szoveg_hosszu IS NOT NULL) FROM munkalap_kereses "
                         "WHERE munkalap = 903")
                  .text(0, 0),
              "11");

    EXPECT_GT(ExpectSameRows(conn(), Lists(true), AwkwardTexts()), 150);
    for (const ListCase& list : FieldSourceLists()) {
        const QStringList texts = TextsFromFields(conn(), list, 3);
        EXPECT_GT(texts.size(), 40) << list.name;
        // Most pieces find rows (those without their accents need not).
        EXPECT_GT(ExpectSameRows(conn(), {list}, texts), texts.size() * 3 / 4) << list.name;
    }
}

TEST_F(ListSearch, TheSearchFindsWhatTheFieldsHold) {
    // A few answers spelled out, so that the comparison above cannot pass by
    // both sides being wrong the same way.
    const auto found = [](MainTab tab, const QString& view, const QString& fixed, const QString& text) {
        const ListCase list{"", tab, view, fixed,
                            tab == MainTab::WorkSheets ? QStringLiteral("1") : Definition(tab).keyField};
        return Keys(conn(), list, KeyList(list)->condition(text));
    };
    const QString all = StatusTabCondition(1);
    EXPECT_EQ(found(MainTab::WorkSheets, "vw_munkalap", all, "zanzibár"),
              QStringList{}); // status 0: quotations
    EXPECT_EQ(found(MainTab::WorkSheets, "vw_munkalap", StatusTabCondition(6), "ZANZIBÁR"),
              QStringList{"903"});
    EXPECT_EQ(found(MainTab::WorkSheets, "vw_munkalap", all, "50% előleg"), QStringList{"901"});
    EXPECT_EQ(found(MainTab::WorkSheets, "vw_munkalap", all, "temp\\napl"), QStringList{"901"});
    EXPECT_EQ(found(MainTab::WorkSheets, "vw_munkalap", all, "\"jó\""), QStringList{"901"});
    // The separator byte typed between two letters finds the field that holds it, not two fields side by
    // side.
    EXPECT_EQ(
        found(MainTab::WorkSheets, "vw_munkalap", all, QStringLiteral("x") + QChar(2) + QStringLiteral("y")),
        QStringList{"904"});
    EXPECT_EQ(found(MainTab::Devices, "vw_keszulek", "(keszulek > 0)", QStringLiteral("k") + QChar(2) + "v"),
              QStringList{"902"});
    EXPECT_EQ(found(MainTab::Devices, "vw_keszulek", "(keszulek > 0)", "áb_ö2"), QStringList{"901"});
    EXPECT_EQ(found(MainTab::Devices, "vw_keszulek", "(keszulek > 0)", "törölt"), QStringList{});
    EXPECT_EQ(found(MainTab::Customers, "vw_ugyfel", "(ugyfel > 0)", "zebra"), QStringList{});
    EXPECT_EQ(found(MainTab::Customers, "vw_ugyfel", "(ugyfel > 0)", "ab-123"),
              QStringList{"901"});                                                               // gyszstr
    EXPECT_EQ(found(MainTab::Customers, "vw_ugyfel", "(ugyfel > 0)", "ab-123o"), QStringList{}); // ő is not o
    EXPECT_EQ(found(MainTab::Customers, "vw_ugyfel", "(ugyfel > 0)", "2025.03.04"), QStringList{"901"});
    // The customer list compares its address under the Hungarian rules
    // (ő is not o), the work-sheet list under the general ones (it is).
    EXPECT_EQ(found(MainTab::Customers, "vw_ugyfel", "(ugyfel > 0) AND ugyfel > 900", "petofi"),
              QStringList{});
    EXPECT_EQ(found(MainTab::WorkSheets, "vw_munkalap", all + " AND munkalap > 900", "petofi"),
              QStringList{"901"});
}

TEST_F(ListSearch, GeneratedShopGivesTheRowsOfTheLikeFilters) {
    TestDatabase generated(QStringLiteral("listsearchgen"), TestDatabase::Contents::Empty);
    const ConnectionOptions o = generated.options();
    QProcess maker;
    maker.setProcessChannelMode(QProcess::MergedChannels);
    maker.start(
        kml::test::SourcePath("bench/make_large_shop"),
        {"-h", o.host, "-P", QString::number(o.port), "-u", o.user, "-s", "100", "-L", generated.name()});
    ASSERT_TRUE(maker.waitForFinished(600000));
    ASSERT_EQ(maker.exitCode(), 0) << maker.readAll().toStdString();
    // The database was made again under the same name: a new session on it.
    const std::unique_ptr<Connection> c = generated.connect();
    ASSERT_EQ(c->query("SELECT COUNT(*) FROM munkalap_kereses").text(0, 0), "2000");
    ASSERT_TRUE(StaleSearchRows(*c).isEmpty());

    EXPECT_GT(ExpectSameRows(*c, Lists(false), AwkwardTexts()), 100);
    for (const ListCase& list : FieldSourceLists()) {
        const QStringList texts = TextsFromFields(*c, list, 97, 4);
        EXPECT_GT(ExpectSameRows(*c, {list}, texts), texts.size() * 3 / 4) << list.name;
    }
}

// Each change to a table a search text is made of, and what the search
// tables must be after it: exactly what their views compute.
TEST_F(ListSearch, TriggersKeepTheSearchTablesCurrent) {
    struct Change {
        const char* what;
        const char* sql;
    };
    const Change changes[] = {
        {"sheet's complaint", "UPDATE munkalap SET panasz = 'Csöpögő zsiráf' WHERE munkalap = 5"},
        {"sheet's work done", "UPDATE munkalap SET vegzett_munka = 'Ventilátor csere' WHERE munkalap = 6"},
        {"sheet's remark", "UPDATE munkalap SET megjegyzes = NULL WHERE munkalap = 7"},
        {"sheet's dates", "UPDATE munkalap SET datum = '2019-03-04', dat_hatid = '2019-03-05 10:30', "
                          "dat_kesz = '2019-03-06' WHERE munkalap = 8"},
        {"sheet's status", "CALL sp_setstatusz(9, 'teszt', 3)"},
        {"sheet's type", "UPDATE munkalap SET mlaptipus = 2 WHERE munkalap = 10"},
        {"sheet's customer and device",
         "UPDATE munkalap SET ugyfel = 902, keszulek = 902 WHERE munkalap = 11"},
        {"sheet's number", "UPDATE munkalap SET munkalap = 9999 WHERE munkalap = 905"},
        {"new sheet", "CALL sp_ujmunkalap(901, 1, 901, 'teszt')"},
        {"sheet deleted", "CALL sp_mlaptorol(12)"},
        {"customer's name", "UPDATE ugyfel SET ugyfel_nev = 'Új Név Zrt.' WHERE ugyfel = 901"},
        {"customer's phone", "UPDATE ugyfel SET telefon = '+36 30 000 0000' WHERE ugyfel = 1"},
        {"customer's address", "UPDATE ugyfel SET cim_irsz = '9999', cim_varos = 'Őrség', cim_cim = NULL "
                               "WHERE ugyfel = 2"},
        {"customer's contact, mail and warning date",
         "UPDATE ugyfel SET kapcsolat = 'Béla', emil = 'b@c.hu', dat_figyelmeztet = '2030-01-01' WHERE "
         "ugyfel = 3"},
        {"customer deleted (logically)", "UPDATE ugyfel SET torolve = 'I' WHERE ugyfel = 4"},
        {"customer back", "UPDATE ugyfel SET torolve = 'N' WHERE ugyfel = 4"},
        {"customer's key", "UPDATE ugyfel SET ugyfel = 9905 WHERE ugyfel = 905"},
        {"new customer with sheets waiting for it",
         "INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (999, 'Megjött')"},
        {"customer deleted", "DELETE FROM ugyfel WHERE ugyfel = 902"},
        {"device's serial numbers",
         "UPDATE keszulek SET gysz = 'ÚJ-001', gysz2 = 'x', gysz3 = 'y' WHERE keszulek = 1"},
        {"device's year", "UPDATE keszulek SET evjarat = 1999 WHERE keszulek = 2"},
        {"device's type", "UPDATE keszulek SET tipus = 901 WHERE keszulek = 3"},
        {"device's owner", "UPDATE keszulek SET ugyfel = 901 WHERE keszulek = 4"},
        {"device deleted (logically)", "UPDATE keszulek SET torolve = 'I' WHERE keszulek = 5"},
        {"new device with sheets waiting for it",
         "INSERT INTO keszulek (keszulek, ugyfel, tipus, gysz) VALUES (999, 999, 903, 'Megjött-1')"},
        {"device deleted", "DELETE FROM keszulek WHERE keszulek = 903"},
        {"type's name", "UPDATE tipus SET tipus_nev = 'Átnevezett' WHERE tipus = 901"},
        {"type's manufacturer", "UPDATE tipus SET gyarto = 902 WHERE tipus = 903"},
        {"type deleted", "DELETE FROM tipus WHERE tipus = 902"},
        {"manufacturer's name", "UPDATE gyarto SET gyarto_nev = 'Új Gyártó' WHERE gyarto = 901"},
        {"manufacturer deleted", "DELETE FROM gyarto WHERE gyarto = 902"},
        {"sheet type's letter and name", "UPDATE mlaptipus SET betujel = 'Q', mlaptipus_nev = 'Átírt típus' "
                                         "WHERE mlaptipus = 1"},
        {"new sheet type with sheets waiting for it",
         "INSERT INTO mlaptipus (mlaptipus, betujel, mlaptipus_nev) VALUES (99, 'Z', 'Késői')"},
        {"status name", "UPDATE statusz SET statusz_nev = 'Kész!' WHERE statusz = 3"},
    };
    for (const Change& change : changes) {
        conn().exec(QString::fromUtf8(change.sql));
        const QStringList stale = StaleSearchRows(conn());
        EXPECT_TRUE(stale.isEmpty()) << change.what << ": " << stale.join(", ").toStdString();
    }
    // The searches agree with the LIKE filters on the changed shop too.
    ExpectSameRows(conn(), Lists(false),
                   {"zsiráf", "2019.03", "kész!", "új név", "őrség", "új-001", "1999", "átnevezett",
                    "új gyártó", "Q", "átírt", "megjött", "késői"});

    // While the triggers stand aside (a data script runs), the texts go
    // stale; sp_kereses_ujra makes them current again.
    conn().exec("SET @kml_kereses_ki = 1");
    conn().exec("UPDATE ugyfel SET ugyfel_nev = 'Félreálló' WHERE ugyfel = 1");
    conn().exec("SET @kml_kereses_ki = NULL");
    EXPECT_FALSE(StaleSearchRows(conn()).isEmpty());
    conn().exec("CALL sp_kereses_ujra()");
    EXPECT_TRUE(StaleSearchRows(conn()).isEmpty());
}

// Runs the event loop until done() (false when five seconds pass first).
bool Pump(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

QStringList ShownKeys(const Query& q, const QString& keyField) {
    QStringList keys;
    const int col = q.fieldIndex(keyField);
    for (int r = 0; r < q.recordCount(); ++r)
        keys << q.result().text(r, col);
    return keys;
}

TEST_F(ListSearch, AStreamingListShowsOnlyTheRowsOfTheLastText) {
    const ListDefinition customers = Definition(MainTab::Customers);
    const auto keysOf = [&](const QString& text) {
        ListController alone(customers);
        alone.search(text);
        return ShownKeys(alone.query(), customers.keyField);
    };
    ListController list(customers);
    list.setStreaming(true);
    std::set<QString> allowed;
    int foreign = 0;
    int completed = 0;
    QStringList failures;
    QObject::connect(&list.query(), &Query::rowsArrived, [&](int first, int last) {
        const int col = list.query().fieldIndex(customers.keyField);
        for (int r = first; r <= last; ++r)
            foreign += allowed.count(list.query().result().text(r, col)) ? 0 : 1;
    });
    QObject::connect(&list, &ListController::completed, [&] { ++completed; });
    QObject::connect(&list, &ListController::failed,
                     [&](const QString& message, unsigned) { failures << message; });

    // Typed faster than the server answers: every search but the last is
    // abandoned before a row of it shows.
    conn().exec("INSERT INTO ugyfel (ugyfel, ugyfel_nev, torolve) VALUES (951, 'Áramló Zsiráf Kft.', 'N'), "
                "(952, 'ÁRAMLÓ ZSIRÁF BT.', 'N')");
    const QStringList typed{"á", "ár", "ára", "áram", "áramló zs"};
    const QStringList expected = keysOf(typed.last());
    ASSERT_EQ(std::set<QString>(expected.begin(), expected.end()), (std::set<QString>{"951", "952"}));
    allowed = {expected.begin(), expected.end()};
    for (const QString& text : typed)
        list.search(text);
    EXPECT_TRUE(list.isFetching()) << "search() returns before the rows are there";
    ASSERT_TRUE(Pump([&] { return !list.isFetching(); }));
    EXPECT_EQ(foreign, 0);
    EXPECT_EQ(completed, 1);
    EXPECT_EQ(ShownKeys(list.query(), customers.keyField), expected);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.currentKey(), expected.first().toLongLong()) << "quick-locate on the arriving rows";

    // A broad search under way (on the small demo shop it may have ended
    // already), then a narrow one: no row of the broad one shows after it,
    // and the list ends with the narrow one's alone.
    const QStringList everyone = keysOf({});
    ASSERT_GT(everyone.size(), 20);
    allowed = {everyone.begin(), everyone.end()};
    list.search({});
    Pump([&] { return list.rowCount() > 0; });
    allowed = {expected.begin(), expected.end()};
    list.search(QStringLiteral("ÁRAMLÓ ZS"));
    ASSERT_TRUE(Pump([&] { return !list.isFetching(); }));
    EXPECT_EQ(foreign, 0);
    EXPECT_EQ(ShownKeys(list.query(), customers.keyField), expected);

    // Opening on a key finds it among the arriving rows.
    allowed = {everyone.begin(), everyone.end()};
    const qlonglong last = everyone.last().toLongLong();
    list.open(last);
    ASSERT_TRUE(Pump([&] { return !list.isFetching(); }));
    EXPECT_EQ(list.currentKey(), last);
    EXPECT_EQ(list.rowCount(), everyone.size());
    EXPECT_TRUE(failures.isEmpty()) << failures.join(' ').toStdString();

    // Reading again (after an edit) waits for every row and stays on the key.
    list.search(QStringLiteral("áramló zs"));
    list.reread(952);
    EXPECT_FALSE(list.isFetching());
    EXPECT_EQ(list.currentKey(), 952);
    EXPECT_EQ(list.rowCount(), 2);
}

TEST_F(ListSearch, AStreamingSearchTheServerRefusesIsReported) {
    ListDefinition broken = Definition(MainTab::Customers);
    broken.sql = QStringLiteral("SELECT * FROM vw_nincs_ilyen\nWHERE 1\nORDER BY 1;");
    ListController list(broken);
    list.setStreaming(true);
    QStringList failures;
    QObject::connect(&list, &ListController::failed, [&](const QString& message, unsigned code) {
        failures << message;
        EXPECT_NE(code, 0u);
    });
    list.search(QStringLiteral("kov"));
    ASSERT_TRUE(Pump([&] { return !list.isFetching(); }));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures.first().contains(QStringLiteral("vw_nincs_ilyen")))
        << failures.first().toStdString();
    EXPECT_FALSE(list.isOpen());
    EXPECT_FALSE(list.currentKey());
}

} // namespace
