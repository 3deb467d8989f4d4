// Typed text is never dropped without a question: Esc, "Mégsem" and the
// close box on a changed editor ask ("Megerősítés", Igen/Nem); Nem keeps the
// window open with everything typed, Igen closes it and writes nothing; an
// unchanged editor closes at once. Through the customer editor (the editing
// pattern itself), the line editor and the work-sheet editor.

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "foundation/Dialogs.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/ModalDriver.h"
#include "patterns/gui/EditWindow.h"
#include "records/gui/Tfrm_Szerkeszt.h"
#include "shell/gui/Windows.h"
#include "worksheets/LineItems.h"
#include "worksheets/WorkSheetEditing.h"
#include "worksheets/gui/Tfrm_Munkalap.h"
#include "worksheets/gui/Tfrm_SorHozza.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

// The three ways of closing a window without OK.
enum class Close { Escape, CancelButton, CloseBox };

void CloseWithout(QDialog* w, Close how, const char* cancelButton) {
    switch (how) {
    case Close::Escape:
        QTest::keyClick(w, Qt::Key_Escape);
        break;
    case Close::CancelButton:
        QTest::mouseClick(w->findChild<QPushButton*>(QLatin1String(cancelButton)), Qt::LeftButton);
        break;
    case Close::CloseBox:
        w->close();
        break;
    }
}

class UnsavedChanges : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        s_db = new TestDatabase(QStringLiteral("unsaved"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        SetIniFilePath(m_home.filePath(QStringLiteral("KoravelML.ini")));
    }
    void TearDown() override { SetIniFilePath({}); }

    static inline TestDatabase* s_db = nullptr;
    QTemporaryDir m_home;
};

TEST_F(UnsavedChanges, ChangedCustomerAsksBeforeClosingAndUnchangedClosesAtOnce) {
    const int customer = QueryInt(QStringLiteral("SELECT MIN(ugyfel) FROM ugyfel WHERE ugyfel > 0;"));
    const auto stored = [customer] {
        return QueryStr(
            QStringLiteral("SELECT IFNULL(telefon, '-') FROM ugyfel WHERE ugyfel = %1;").arg(customer));
    };
    const QString before = stored();
    for (Close how : {Close::Escape, Close::CancelButton, Close::CloseBox}) {
        SCOPED_TRACE(int(how));
        ScriptedDialogs dialogs;
        Tfrm_Szerkeszt w;
        ASSERT_TRUE(w.startEdit(customer));
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

        // Unchanged: closes without a question.
        CloseWithout(&w, how, "Button2");
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), QDialog::Rejected);
        EXPECT_TRUE(dialogs.calls().empty());

        // Changed: asked; Nem keeps the window and the typed text.
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        auto* phone = w.findChild<QLineEdit*>(QStringLiteral("DBEdit7"));
        phone->setFocus();
        QTest::keyClicks(phone, QStringLiteral("99"));
        const QString typed = phone->text();
        EXPECT_TRUE(w.isDirty());
        dialogs.answer(DialogAnswer::No);
        CloseWithout(&w, how, "Button2");
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.lastCall().kind, DialogKind::YesNo);
        EXPECT_EQ(dialogs.lastCall().caption, "Megerősítés");
        EXPECT_EQ(dialogs.lastCall().text, "A módosítások elvesznek. Bezárod mentés nélkül?");
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(phone->text(), typed);

        // Igen: closed, nothing written.
        dialogs.answer(DialogAnswer::Yes);
        CloseWithout(&w, how, "Button2");
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), QDialog::Rejected);
        EXPECT_EQ(dialogs.calls().size(), 2u);
        EXPECT_EQ(stored(), before);
    }
}

TEST_F(UnsavedChanges, TypingBackWhatWasThereIsNoChange) {
    const int customer = QueryInt(QStringLiteral("SELECT MIN(ugyfel) FROM ugyfel WHERE ugyfel > 0;"));
    ScriptedDialogs dialogs;
    Tfrm_Szerkeszt w;
    ASSERT_TRUE(w.startEdit(customer));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* phone = w.findChild<QLineEdit*>(QStringLiteral("DBEdit7"));
    phone->setFocus();
    QTest::keyClick(phone, Qt::Key_End);
    QTest::keyClicks(phone, QStringLiteral("7"));
    EXPECT_TRUE(w.isDirty());
    QTest::keyClick(phone, Qt::Key_Backspace);
    EXPECT_FALSE(w.isDirty());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(UnsavedChanges, LineEditorAsksForAChangedLine) {
    const int sheet = QueryInt(QStringLiteral("SELECT MIN(munkalap) FROM munkalap_tetel;"));
    const int line = QueryInt(
        QStringLiteral("SELECT MIN(munkalap_tetel) FROM munkalap_tetel WHERE munkalap = %1;").arg(sheet));
    const QString before = QueryStr(
        QStringLiteral("SELECT CONCAT_WS('|', db, egysar) FROM munkalap_tetel WHERE munkalap_tetel = %1;")
            .arg(line));
    const std::optional<LineRecord> record = StartLineEdit(sheet, line, Beall().prgtipus);
    ASSERT_TRUE(record);
    ScriptedDialogs dialogs;
    Tfrm_SorHozza w(sheet, line, *record, Beall().prgtipus);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible()) << "unchanged: closed at once";
    EXPECT_TRUE(dialogs.calls().empty());

    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* quantity = w.findChild<QLineEdit*>(QStringLiteral("edtDb"));
    quantity->setFocus();
    QTest::keyClick(quantity, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(quantity, QStringLiteral("17"));
    dialogs.answer(DialogAnswer::No).answer(DialogAnswer::Yes);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(quantity->text(), "17");
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("btnMegsem")), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(dialogs.texts(), QStringList(2, edit_text::DiscardChangesQuestion));
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT CONCAT_WS('|', db, egysar) FROM munkalap_tetel WHERE "
                                      "munkalap_tetel = %1;")
                           .arg(line)),
              before);
}

TEST_F(UnsavedChanges, WorkSheetEditorAsksForATypedRemark) {
    const int sheet = QueryInt(QStringLiteral("SELECT MIN(munkalap) FROM munkalap WHERE statusz = 1 AND "
                                              "storno = 'N';"));
    ASSERT_GT(sheet, 0);
    const QString before = QueryStr(
        QStringLiteral("SELECT IFNULL(megjegyzes, '-') FROM munkalap WHERE munkalap = %1;").arg(sheet));
    const std::optional<SheetOpening> opening =
        BeginSheetEdit(sheet, std::nullopt, std::nullopt, false, std::nullopt);
    ASSERT_TRUE(opening);
    ScriptedDialogs dialogs;
    Tfrm_Munkalap w(*opening);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_FALSE(w.isDirty()) << "what the window filled in by itself is no change";
    auto* remarks = w.findChild<QPlainTextEdit*>(QStringLiteral("memMegjegyzes"));
    ASSERT_NE(remarks, nullptr);
    remarks->setFocus();
    QTest::keyClicks(remarks, QStringLiteral("hívjuk vissza"));
    dialogs.answer(DialogAnswer::No);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(remarks->toPlainText().contains("hívjuk vissza"));
    dialogs.answer(DialogAnswer::Yes);
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(dialogs.texts(), QStringList(2, edit_text::DiscardChangesQuestion));
    EXPECT_EQ(
        QueryStr(
            QStringLiteral("SELECT IFNULL(megjegyzes, '-') FROM munkalap WHERE munkalap = %1;").arg(sheet)),
        before);
}

} // namespace
} // namespace kml
