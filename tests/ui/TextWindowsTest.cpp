// The dictionary, work-sheet type and letter-text windows for real,
// offscreen, on the demo shop: what the operations return, the dictionary's
// title key (duplicates, renames), the empty-list guards, the choosers of a
// user without the master-data right, the HTML editor, and screenshots of
// every window (the type list in two program types).
#include "records/TextWindows.h"

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/ModalDriver.h"
#include "patterns/ListSearch.h"
#include "patterns/gui/FormEditor.h"
#include "patterns/gui/ListWindow.h"
#include "records/gui/Tfrm_TorzsLevelSzoveg.h"
#include "records/gui/Tfrm_TorzsLevelSzoveg_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsMlapTipus.h"
#include "records/gui/Tfrm_TorzsSzotar.h"
#include "shell/gui/Windows.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;
using test::WhenModal;

// Typing as a user does, accented letters included (QTest::keyClicks takes
// ASCII only).
void Keys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void Shoot(QWidget* window, const QString& name) {
    QTest::qWait(20);
    const QString path = test::BuildPath(QStringLiteral("screenshots/") + name + QStringLiteral(".png"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

bool Shown(const ListWindow* w, const char* action) {
    const QAction* a = w->listAction(QLatin1String(action));
    return a && a->isVisible() && a->isEnabled();
}

class TextWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        s_db = new TestDatabase(QStringLiteral("textwindows"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        Beall().torzsszerkeszt = true;
        Beall().prgtipus = 1;
    }
    void TearDown() override { Beall() = TBeall{}; }
    static int Count(const QString& sql) { return QueryInt(sql); }
    static TestDatabase* s_db;
    ScriptedDialogs m_dialogs;
};

TestDatabase* TextWindows::s_db = nullptr;

TEST_F(TextWindows, DictionaryChooserFiltersReturnsAndCancels) {
    // Opened with the editor's selected word: already filtered by it.
    WhenModal<Tfrm_TorzsSzotar>([](Tfrm_TorzsSzotar* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        EXPECT_EQ(w->windowTitle(), "Szótár");
        EXPECT_EQ(w->searchBox()->text(), "vákuum");
        EXPECT_GE(w->query().recordCount(), 1);
        EXPECT_TRUE(w->memoBox()->toPlainText().startsWith("Nitrogénes nyomáspróba"));
        EXPECT_TRUE(w->listAction(QStringLiteral("aElfogad"))->isVisible());
        Shoot(w, QStringLiteral("dictionary_list"));
        QTest::keyClick(w->grid(), Qt::Key_Return);
    });
    const DictionaryText chosen = ChooseDictionaryText(QStringLiteral("vákuum"), true);
    EXPECT_EQ(chosen.title, "Vákuumozás, töltés");
    EXPECT_TRUE(chosen.text.startsWith("Nitrogénes nyomáspróba"));

    WhenModal<Tfrm_TorzsSzotar>([](Tfrm_TorzsSzotar* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w->grid(), Qt::Key_Escape);
    });
    EXPECT_EQ(ChooseDictionaryText(QStringLiteral("vákuum"), true).title, "");

    // Nothing found: Enter says so and the window stays; the row actions
    // say there is no row and run nothing.
    WhenModal<Tfrm_TorzsSzotar>([this](Tfrm_TorzsSzotar* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        ASSERT_EQ(w->query().recordCount(), 0);
        w->listAction(QStringLiteral("aElfogad"))->trigger();
        EXPECT_TRUE(w->isVisible());
        w->listAction(QStringLiteral("aSzerkeszt"))->trigger();
        w->listAction(QStringLiteral("aTorol"))->trigger();
        EXPECT_EQ(m_dialogs.texts(), (QStringList{"Nincs kiválasztott sor.", "Nincs sor kiválasztva.",
                                                  "Nincs sor kiválasztva."}));
        w->reject();
    });
    EXPECT_EQ(ChooseDictionaryText(QStringLiteral("nincs-ilyen-szó"), true).title, "");
}

// The title is the key: a duplicate under the collation is refused with the
// editor kept open and the text kept; a rename moves the key, and the list
// follows the new title.
TEST_F(TextWindows, DictionaryEditorKeepsTitlesUnique) {
    WhenModal<FormEditor>([this](FormEditor* w) {
        EXPECT_EQ(w->windowTitle(), "Szótár");
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        auto* title = qobject_cast<QLineEdit*>(w->control(QStringLiteral("cim")));
        auto* text = qobject_cast<QPlainTextEdit*>(w->control(QStringLiteral("szoveg")));
        ASSERT_TRUE(title && text);
        EXPECT_EQ(title->maxLength(), 50);
        Keys(title, QStringLiteral("szivárgásvizsgálat  "));
        EXPECT_EQ(title->text(), "Szivárgásvizsgálat  ") << "the first letter in capitals";
        text->setFocus();
        Keys(text, QStringLiteral("Új szöveg"));
        QTest::keyClick(text, Qt::Key_Return, Qt::ControlModifier);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(m_dialogs.lastCall().text,
                  "Már van ilyen című szöveg a szótárban: \"Szivárgásvizsgálat\". Adj meg másik címet!");
        EXPECT_EQ(text->toPlainText(), "Új szöveg");
        Shoot(w, QStringLiteral("dictionary_editor"));
        title->selectAll();
        Keys(title, QStringLiteral("Szivárgás 2"));
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Return, Qt::ControlModifier);
    });
    EXPECT_EQ(EditDictionaryText(QString()), "Szivárgás 2");
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT szoveg FROM szotar WHERE cim = 'Szivárgás 2';")), "Új szöveg");

    // A rename through the list moves the key; the list follows it.
    Tfrm_TorzsSzotar list;
    list.openAt(std::nullopt);
    list.show();
    ASSERT_TRUE(LocateKey(list.query(), QStringLiteral("cim"), QStringLiteral("Szivárgás 2")));
    WhenModal<FormEditor>([](FormEditor* editor) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
        auto* title = qobject_cast<QLineEdit*>(editor->control(QStringLiteral("cim")));
        title->selectAll();
        Keys(title, QStringLiteral("Szivárgás, új"));
        editor->accept();
    });
    list.listAction(QStringLiteral("aSzerkeszt"))->trigger();
    EXPECT_EQ(list.currentValue(QStringLiteral("cim")).toString(), "Szivárgás, új");
    EXPECT_EQ(list.memoBox()->toPlainText(), "Új szöveg");
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM szotar WHERE cim = 'Szivárgás 2';")), 0);
    list.reject();
}

TEST_F(TextWindows, WorkSheetTypesByProgramTypeAndTheChooserWithoutTheRight) {
    for (int programType : {2, 4}) {
        Beall().prgtipus = programType;
        WhenModal<Tfrm_TorzsMlapTipus>([programType](Tfrm_TorzsMlapTipus* w) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(w));
            EXPECT_EQ(
                w->query().recordCount(),
                QueryInt(
                    QStringLiteral("SELECT COUNT(*) FROM mlaptipus WHERE prgtipus = %1;").arg(programType)));
            w->query().moveTo(1);
            Shoot(w, QStringLiteral("worksheet_types_type%1").arg(programType));
            QTest::keyClick(w->grid(), Qt::Key_Return);
        });
        const ChosenRow chosen = ChooseWorkSheetType(std::nullopt, true);
        ASSERT_TRUE(chosen.key);
        EXPECT_EQ(
            QueryInt(QStringLiteral("SELECT prgtipus FROM mlaptipus WHERE mlaptipus = %1;").arg(*chosen.key)),
            programType);
        EXPECT_EQ(chosen.name, LookupName(int(*chosen.key), QStringLiteral("mlaptipus")));
    }

    // A user without the right only chooses; with it, the chooser maintains.
    Beall().prgtipus = 1;
    for (bool right : {false, true}) {
        Beall().torzsszerkeszt = right;
        WhenModal<Tfrm_TorzsMlapTipus>([right](Tfrm_TorzsMlapTipus* w) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(w));
            for (const char* action : {"aUj", "aSzerkeszt", "aTorol"})
                EXPECT_EQ(Shown(w, action), right) << action;
            EXPECT_EQ(w->currentKey(), 3) << "opened on the type to select first";
            w->reject();
        });
        const ChosenRow chosen = ChooseWorkSheetType(3, true);
        EXPECT_EQ(chosen.key, std::nullopt);
        EXPECT_EQ(chosen.name, "");
    }
}

TEST_F(TextWindows, WorkSheetTypeEditorStoresTheProgramType) {
    Beall().prgtipus = 3;
    WhenModal<FormEditor>([](FormEditor* w) {
        EXPECT_EQ(w->windowTitle(), "Munkalap típus szerkesztés");
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        auto* letter = qobject_cast<QLineEdit*>(w->control(QStringLiteral("betujel")));
        EXPECT_EQ(letter->maxLength(), 1);
        Keys(qobject_cast<QLineEdit*>(w->control(QStringLiteral("mlaptipus_nev"))),
             QStringLiteral("szitanyomás"));
        letter->setFocus();
        Keys(letter, QStringLiteral("s"));
        Shoot(w, QStringLiteral("worksheet_type_editor"));
        w->accept();
    });
    const int saved = int(EditWorkSheetType(std::nullopt).value_or(-1));
    EXPECT_EQ(saved, QueryInt(QStringLiteral("SELECT MAX(mlaptipus) FROM mlaptipus;")));
    EXPECT_EQ(
        QueryStr(QStringLiteral("SELECT CONCAT_WS('|', mlaptipus_nev, betujel, prgtipus) FROM mlaptipus "
                                "WHERE mlaptipus = %1;")
                     .arg(saved)),
        "Szitanyomás|S|3");
    ExecSql(QStringLiteral("DELETE FROM mlaptipus WHERE mlaptipus = %1;").arg(saved));
}

TEST_F(TextWindows, LetterListAndHtmlEditor) {
    WhenModal<Tfrm_TorzsLevelSzoveg>([](Tfrm_TorzsLevelSzoveg* w) {
        EXPECT_EQ(w->windowTitle(), "Levélszövegek");
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        EXPECT_TRUE(w->searchBox()->hasFocus());
        Keys(w->searchBox(), QStringLiteral("munka elkészült"));
        EXPECT_EQ(w->query().recordCount(), 1);
        Shoot(w, QStringLiteral("letter_list"));
        QTest::keyClick(w->searchBox(), Qt::Key_Down);
        QTest::keyClick(w->grid(), Qt::Key_Return);
    });
    const LetterText chosen = ChooseLetterText(std::nullopt, true);
    EXPECT_EQ(chosen.letter, 2);
    EXPECT_EQ(chosen.name, "Elkészült a munka");
    EXPECT_EQ(chosen.subject, "Elkészült a munkalapon szereplő munka");
    EXPECT_TRUE(chosen.text.startsWith("<p>Tisztelt Ügyfelünk!</p>"));

    // A new letter: plain text at first; the body is typed into the HTML
    // editor, where Enter is a line break and Ctrl+Enter is OK.
    WhenModal<Tfrm_TorzsLevelSzoveg_Szerkeszt>([](Tfrm_TorzsLevelSzoveg_Szerkeszt* w) {
        EXPECT_EQ(w->windowTitle(), "Levélszöveg szerkesztés");
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        auto* html = w->findChild<QCheckBox*>(QStringLiteral("DBCheckBox1"));
        EXPECT_FALSE(html->isChecked());
        EXPECT_TRUE(w->findChild<QLineEdit*>(QStringLiteral("DBEdit1"))->hasFocus());
        Keys(w->findChild<QLineEdit*>(QStringLiteral("DBEdit1")), QStringLiteral("karbantartás"));
        w->findChild<QLineEdit*>(QStringLiteral("DBEdit2"))->setFocus();
        Keys(w->findChild<QLineEdit*>(QStringLiteral("DBEdit2")), QStringLiteral("próba levél"));
        html->setChecked(true);
        w->body()->setFocus();
        Keys(w->body(), QStringLiteral("<p>Tisztelt Ügyfelünk!</p>"));
        QTest::keyClick(w->body(), Qt::Key_Return);
        Keys(w->body(), QStringLiteral("<b>Kész</b>"));
        EXPECT_TRUE(w->body()->hasFocus());
        Shoot(w, QStringLiteral("letter_editor"));
        QTest::keyClick(w->body(), Qt::Key_Return, Qt::ControlModifier);
    });
    const int saved = int(EditLetterText(std::nullopt).value_or(-1));
    ASSERT_GT(saved, 5);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT CONCAT_WS('|', targysor, levelszoveg_nev, ezhtml, szoveg) FROM "
                                      "levelszoveg WHERE levelszoveg = %1;")
                           .arg(saved)),
              "Karbantartás|Próba levél|I|<p>Tisztelt Ügyfelünk!</p>\n<b>Kész</b>");

    // Cancel leaves the letter as it was (the changed text given up when asked).
    WhenModal<Tfrm_TorzsLevelSzoveg_Szerkeszt>([this](Tfrm_TorzsLevelSzoveg_Szerkeszt* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        EXPECT_EQ(w->body()->text(), "<p>Tisztelt Ügyfelünk!</p>\n<b>Kész</b>");
        w->body()->setText(QStringLiteral("más"));
        m_dialogs.answer(DialogAnswer::Yes);
        w->reject();
    });
    EXPECT_EQ(EditLetterText(saved), std::nullopt);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT szoveg FROM levelszoveg WHERE levelszoveg = %1;").arg(saved)),
              "<p>Tisztelt Ügyfelünk!</p>\n<b>Kész</b>");
}

} // namespace
} // namespace kml
