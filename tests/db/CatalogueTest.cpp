// The items catalogue against the server: the automatic item code (the
// proposal and the code the server gives at insert, also with two
// workstations at once), the price buttons' arithmetic, and the list with
// its colours, search and deletion.
#include "records/Catalogue.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"
#include "foundation/Conversions.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"
#include "patterns/ListController.h"
#include "patterns/Palette.h"
#include "records/CatalogueWindows.h"

#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

class Catalogue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("catalogue"), TestDatabase::Contents::Schema);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        ExecSql(QStringLiteral("DELETE FROM tetel;"));
        ExecSql(QStringLiteral("UPDATE beallit SET autocikkszam = 'I', autocikkszamhossz = 5;"));
    }
    // Items with these codes; a code beginning with "x" is a deleted item's.
    static void Items(const QStringList& codes) {
        for (const QString& code : codes) {
            const bool deleted = code.startsWith(QLatin1Char('x'));
            ExecSql(QStringLiteral(
                        "INSERT INTO tetel (tetel_kod, tetel_nev, torolve) VALUES (%1, 'tétel', '%2');")
                        .arg(SqlStr(deleted ? code.mid(1) : code), deleted ? "I" : "N"));
        }
    }
    static QString CodeOf(qlonglong item) {
        return QueryStr(
            QStringLiteral("SELECT IFNULL(tetel_kod, '<NULL>') FROM tetel WHERE tetel = %1;").arg(item));
    }
    static TestDatabase* s_db;
};

TestDatabase* Catalogue::s_db = nullptr;

TEST_F(Catalogue, NextCodeFollowsTheLargestAllDigitLiveCode) {
    const struct {
        QStringList codes;
        QVariant width; // NULL: the default 5
        const char* next;
    } cases[] = {
        {{"00007", "00012", "A100"}, 5, "00013"},
        {{"00007", "00012", "x00100"}, 5, "00013"},    // a deleted item's code is issued again
        {{}, 5, "00001"},                              // a new shop starts at 1
        {{"99999"}, 5, "100000"},                      // never cut to 10000
        {{"-1", "-5", "12/B", " 9", "7"}, 5, "00008"}, // not all digits: ignored, no error
        {{"12"}, 8, "00000013"},
        {{"12"}, QVariant(), "00013"},
        {{"123456"}, 3, "123457"},
    };
    for (const auto& c : cases) {
        SetUp();
        Items(c.codes);
        ExecSql(QStringLiteral("UPDATE beallit SET autocikkszamhossz = %1;").arg(SqlLiteral(c.width)));
        EXPECT_EQ(NextItemCode(), QString::fromLatin1(c.next))
            << c.codes.join(QLatin1Char(',')).toStdString();
    }
}

// The code is given when the item is stored: kept as proposed it becomes the
// code current at that moment; typed or emptied it stays as the user left it.
TEST_F(Catalogue, TheServerGivesTheCodeAtInsert) {
    Items({"00041"});
    const auto save = [](const std::function<void(Table&, const QString&)>& edit) {
        Table item(QStringLiteral("tetel"));
        item.startNew();
        const QString proposed = StartNewItem(item, true);
        edit(item, proposed);
        LeaveCodeToServer(item, proposed);
        return item.post().toLongLong();
    };
    const qlonglong kept = save([](Table& item, const QString& proposed) { EXPECT_EQ(proposed, "00042"); });
    EXPECT_EQ(CodeOf(kept), "00042");
    EXPECT_EQ(
        QueryStr(QStringLiteral("SELECT CONCAT(torolve, ezszolg) FROM tetel WHERE tetel = %1;").arg(kept)),
        "NN");
    const qlonglong typed = save([](Table& item, const QString&) { item.setValue("tetel_kod", "K-1"); });
    EXPECT_EQ(CodeOf(typed), "K-1");
    const qlonglong emptied = save([](Table& item, const QString&) { item.setValue("tetel_kod", ""); });
    EXPECT_EQ(CodeOf(emptied), "");

    // Without automatic codes nothing is proposed and nothing is given.
    ExecSql(QStringLiteral("UPDATE beallit SET autocikkszam = 'N';"));
    Table plain(QStringLiteral("tetel"));
    plain.startNew();
    EXPECT_EQ(StartNewItem(plain, false), "");
    EXPECT_EQ(CodeOf(plain.post().toLongLong()), "<NULL>");
}

TEST_F(Catalogue, TwoWorkstationsNeverGetTheSameCode) {
    Items({"00012"});
    auto other = s_db->connect();
    // Both open a new item and are proposed the same code; both keep it.
    Table mine(QStringLiteral("tetel"));
    Table theirs(QStringLiteral("tetel"), other.get());
    mine.startNew();
    theirs.startNew();
    const QString proposedHere = StartNewItem(mine, true);
    const QString proposedThere = QueryStr(QStringLiteral("SELECT fn_kovcikkszam();"));
    EXPECT_EQ(proposedHere, "00013");
    EXPECT_EQ(proposedThere, "00013");
    theirs.setValue(QStringLiteral("tetel_kod"), proposedThere);
    theirs.setValue(QStringLiteral("torolve"), QStringLiteral("N"));
    LeaveCodeToServer(mine, proposedHere);
    LeaveCodeToServer(theirs, proposedThere);
    const qlonglong first = theirs.post().toLongLong();
    const qlonglong second = mine.post().toLongLong();
    EXPECT_EQ(CodeOf(first), "00013");
    EXPECT_EQ(CodeOf(second), "00014");

    // While one workstation's insert is not committed, the other waits for
    // it instead of computing the same code.
    other->exec(QStringLiteral("START TRANSACTION;"));
    other->exec(QStringLiteral("INSERT INTO tetel (tetel_nev) VALUES ('függő');"));
    Connection& here = s_db->connection();
    here.exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout = 1;"));
    try {
        here.exec(QStringLiteral("INSERT INTO tetel (tetel_nev) VALUES ('várakozó');"));
        ADD_FAILURE() << "the second insert did not wait for the first";
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), 1205u) << e.text().toStdString();
    }
    other->exec(QStringLiteral("COMMIT;"));
    here.exec(QStringLiteral("INSERT INTO tetel (tetel_nev) VALUES ('várakozó');"));
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT GROUP_CONCAT(tetel_kod ORDER BY tetel_kod) FROM tetel "
                                      "WHERE tetel_nev IN ('függő', 'várakozó');")),
              "00015,00016");
    here.exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout = DEFAULT;"));
}

TEST_F(Catalogue, PriceButtons) {
    // Gross-up rounds to whole forints, halves to the even neighbour.
    const struct {
        double value, vat, grossed;
    } cases[] = {{1000, 27, 1270}, {1270, 27, 1613}, {150, 27, 190},
                 {0.5, 27, 1},     {100, 0, 100},    {-10, 27, -13}};
    for (const auto& c : cases)
        EXPECT_EQ(GrossUp(c.value, c.vat), c.grossed) << c.value << " at " << c.vat;

    Table item(QStringLiteral("tetel"));
    item.startNew();
    StartNewItem(item, false);
    item.setValue(QStringLiteral("ar_teljes"), 1000.0);
    item.setValue(QStringLiteral("kedv_kap"), 12.5);
    item.setValue(QStringLiteral("kedv_ad"), 5.0);
    ApplyReceivedDiscount(item);
    ApplyGivenDiscount(item);
    EXPECT_DOUBLE_EQ(item.value(QStringLiteral("ar_besz")).toDouble(), 875);
    EXPECT_DOUBLE_EQ(item.value(QStringLiteral("ar_elad")).toDouble(), 950);
    GrossUpPrices(item, 27);
    const qlonglong saved = item.post().toLongLong();
    EXPECT_EQ(QueryStr(QStringLiteral(
                           "SELECT CONCAT_WS('|', ar_teljes, ar_besz, ar_elad) FROM tetel WHERE tetel = %1;")
                           .arg(saved)),
              "1270|1111|1206"); // 1111.25 and 1206.5 rounded
}

TEST_F(Catalogue, ListShowsLiveItemsColoursServicesAndMarksDeleted) {
    ExecSql(QStringLiteral(
        "INSERT INTO tetel (tetel_kod, tetel_nev, ar_besz, ezszolg, torolve, megjegyzes) VALUES "
        "('002', 'Kiszállás', 0, 'I', 'N', 'km alapján'), ('001', 'Szűrő', 1200.5, 'N', 'N', NULL), "
        "('003', 'Régi szűrő', 900, 'N', 'I', NULL);"));
    ListController list(CatalogueListDefinition());
    list.open();
    ASSERT_EQ(list.rowCount(), 2) << "the deleted item is not listed";
    EXPECT_EQ(list.currentValue(QStringLiteral("tetel_kod")).toString(), "001");
    const auto& style = list.definition().colouring.style;
    EXPECT_EQ(style(list.query(), 1, false).background, palette::Started);
    EXPECT_EQ(style(list.query(), 1, false).foreground, palette::BlueText);
    EXPECT_FALSE(style(list.query(), 1, true).background.isValid())
        << "a selected service keeps the selection";
    EXPECT_FALSE(style(list.query(), 0, false).background.isValid());

    list.search(QStringLiteral("kisz"));
    EXPECT_EQ(list.rowCount(), 1);
    const qlonglong service = *list.currentKey();

    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Yes);
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_EQ(dialogs.lastCall().text, "Valóban töröljem a sort?");
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT torolve FROM tetel WHERE tetel = %1;").arg(service)), "I");
    EXPECT_FALSE(list.hasRow());

    // Nothing to edit or delete on the empty list: no window, no statement.
    ScriptedWindows windows;
    windows.script(EditCatalogueItem);
    EXPECT_FALSE(list.editCurrent());
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(windows.calls().empty());
    EXPECT_EQ(dialogs.calls().size(), 1u);
}

TEST_F(Catalogue, RemarkLongerThanItsColumnIsRefused) {
    Table item(QStringLiteral("tetel"));
    item.startNew();
    item.setValue(QStringLiteral("megjegyzes"), QString(255, QLatin1Char('a')));
    EXPECT_EQ(ItemRemarkProblem(item), "");
    item.setValue(QStringLiteral("megjegyzes"), QString(256, QLatin1Char('a')));
    EXPECT_EQ(ItemRemarkProblem(item), "Megjegyzés: legfeljebb 255 karakter adható meg.");
}

} // namespace
} // namespace kml
