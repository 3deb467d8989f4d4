// Dictionary texts, work-sheet types and letter texts against the server:
// the dictionary's title rules under the table's collation, deleting by
// title, the searches, the program type of the work-sheet types, the usage
// check before deleting a type, and the master-data right on the lists'
// actions.
#include "records/Texts.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "records/TextWindows.h"

#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

class Texts : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("texts"), TestDatabase::Contents::Schema);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        for (const char* table : {"szotar", "levelszoveg", "munkalap"})
            ExecSql(QStringLiteral("DELETE FROM %1;").arg(QLatin1String(table)));
        ExecSql(QStringLiteral("DELETE FROM mlaptipus WHERE mlaptipus > 12;"));
        Beall().torzsszerkeszt = true;
    }
    void TearDown() override { Beall() = TBeall{}; }
    static TestDatabase* s_db;
};

TestDatabase* Texts::s_db = nullptr;

TEST_F(Texts, DictionaryTitlesAreOneKeyUnderTheCollation) {
    ExecSql(QStringLiteral("INSERT INTO szotar (cim, szoveg) VALUES ('Alma', 'piros'), ('Körte', 'sárga');"));
    const QString duplicate =
        QStringLiteral("Már van ilyen című szöveg a szótárban: \"%1\". Adj meg másik címet!");
    const struct {
        const char* title;
        const char* original; // the entry being edited; "" for a new one
        QString problem;
    } cases[] = {
        {"", "", "A cím nem lehet üres."},
        {"   ", "Alma", "A cím nem lehet üres."},
        {"ALMA", "", duplicate.arg("ALMA")},
        {"alma  ", "", duplicate.arg("alma")},     // trailing blanks do not count
        {"körte", "Alma", duplicate.arg("körte")}, // renaming onto another entry
        {"ALMA", "Alma", ""},                      // its own title in other letter case
        {"Alma", "Alma", ""},
        {"Barack", "", ""},
        {"Barack", "Alma", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DictionaryTitleProblem(QString::fromUtf8(c.title), QString::fromUtf8(c.original)),
                  c.problem)
            << c.title << " / " << c.original;
}

TEST_F(Texts, DictionaryDeletesExactlyTheTitleAndSearchesTitleAndText) {
    ExecSql(
        QStringLiteral("INSERT INTO szotar (cim, szoveg) VALUES ('d''Artagnan', 'muskétás'), ('d', 'betű'), "
                       "('Csere', 'szűrő cseréje'), ('Szűrő', 'tisztítás');"));
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::No).answer(DialogAnswer::Yes);
    EXPECT_FALSE(DeleteDictionaryText(QStringLiteral("d'Artagnan")));
    EXPECT_TRUE(DeleteDictionaryText(QStringLiteral("d'Artagnan")));
    EXPECT_EQ(dialogs.lastCall().caption, "Megerősítés");
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT GROUP_CONCAT(cim ORDER BY cim) FROM szotar;")),
              "Csere,d,Szűrő");

    ListController list(DictionaryListDefinition());
    list.search(QStringLiteral("szűrő"));
    EXPECT_EQ(list.rowCount(), 2) << "the word in the title or anywhere in the text";
    EXPECT_EQ(list.currentValue(QStringLiteral("cim")).toString(), "Szűrő") << "located by the title";
}

TEST_F(Texts, WorkSheetTypesBelongToTheirProgramType) {
    ExecSql(
        QStringLiteral("INSERT INTO mlaptipus (betujel, mlaptipus_nev, prgtipus) VALUES ('X', 'Próba', 2);"));
    ListController two(WorkSheetTypeListDefinition(2));
    two.open();
    EXPECT_TRUE(LocateKey(two.query(), QStringLiteral("mlaptipus"),
                          QueryInt("SELECT MAX(mlaptipus) FROM mlaptipus;")));
    EXPECT_EQ(two.rowCount(), 4);
    ListController four(WorkSheetTypeListDefinition(4));
    four.open();
    EXPECT_EQ(four.rowCount(), 2);
    for (int r = 0; r < four.rowCount(); ++r)
        EXPECT_EQ(ValueAt(four.query(), r, QStringLiteral("prgtipus")).toInt(), 4);
}

// A type that work sheets use is not deleted: the user hears why.
TEST_F(Texts, WorkSheetTypeInUseIsNotDeleted) {
    ExecSql(
        QStringLiteral("INSERT INTO mlaptipus (betujel, mlaptipus_nev, prgtipus) VALUES ('X', 'Próba', 1);"));
    const int type = QueryInt(QStringLiteral("SELECT MAX(mlaptipus) FROM mlaptipus;"));
    ExecSql(QStringLiteral("INSERT INTO munkalap (mlaptipus, statusz) VALUES (%1, 1), (%1, 4);").arg(type));
    ScriptedDialogs dialogs;
    EXPECT_FALSE(DeleteWorkSheetType(type));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Error);
    EXPECT_EQ(dialogs.lastCall().text, "Ez a munkalap típus nem törölhető, mert 2 munkalap ilyen típusú.");
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM mlaptipus WHERE mlaptipus = %1;").arg(type)), 1);

    ExecSql(QStringLiteral("DELETE FROM munkalap;"));
    dialogs.answer(DialogAnswer::Yes);
    EXPECT_TRUE(DeleteWorkSheetType(type));
    EXPECT_EQ(dialogs.lastCall().text, "Valóban töröljem a sort?");
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM mlaptipus WHERE mlaptipus = %1;").arg(type)), 0);
}

TEST_F(Texts, LetterSearchNeedsEveryWord) {
    ExecSql(QStringLiteral(
        "INSERT INTO levelszoveg (levelszoveg_nev, targysor, szoveg) VALUES "
        "('Karbantartás', 'Esedékes', 'klíma tisztítás'), ('Számla', 'Fizetés', 'klíma számla'), "
        "('Kész', 'Elkészült', 'a munka kész');"));
    ListController letters(LetterListDefinition());
    letters.search(QStringLiteral("klíma"));
    EXPECT_EQ(letters.rowCount(), 2);
    letters.search(QStringLiteral("klíma esedékes"));
    EXPECT_EQ(letters.rowCount(), 1);
    EXPECT_EQ(letters.currentValue(QStringLiteral("levelszoveg_nev")).toString(), "Karbantartás");
}

// Without the master-data right "Új sor", "Szerkeszt" and "Töröl" of the
// type and letter lists say so and open nothing; with it they run the
// editors, and the list moves to the row saved.
TEST_F(Texts, TypeAndLetterMaintenanceNeedsTheRight) {
    ExecSql(QStringLiteral("INSERT INTO levelszoveg (levelszoveg_nev) VALUES ('Első');"));
    for (const ListDefinition& definition : {WorkSheetTypeListDefinition(1), LetterListDefinition()}) {
        ListController list(definition);
        list.open();
        ASSERT_TRUE(list.hasRow());
        const qlonglong first = *list.currentKey();
        ScriptedWindows windows;
        windows.script(EditWorkSheetType).script(EditLetterText);
        ScriptedDialogs dialogs;
        Beall().torzsszerkeszt = false;
        EXPECT_FALSE(list.createRow());
        EXPECT_FALSE(list.editCurrent());
        EXPECT_FALSE(list.removeCurrent());
        EXPECT_TRUE(windows.calls().empty());
        EXPECT_EQ(dialogs.texts(), QStringList(3, "Nincs jogosultság a művelethez."))
            << definition.name.toStdString();

        Beall().torzsszerkeszt = true;
        const bool types = definition.name == QLatin1String("frm_TorzsMlapTipus");
        types ? windows.answer(EditWorkSheetType, int(first)) : windows.answer(EditLetterText, int(first));
        EXPECT_TRUE(list.editCurrent());
        ASSERT_EQ(windows.calls().size(), 1u);
        EXPECT_EQ(windows.calls()[0].args, QVariantList{int(first)});
        EXPECT_EQ(*list.currentKey(), first);
    }
}

} // namespace
} // namespace kml
