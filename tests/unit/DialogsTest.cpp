// The dialog functions through the scripted backend: what each shows, how it
// validates and parses, and what it gives back; and the scripted backend's
// own promises (strict script, restoring the previous backend).
#include "foundation/Dialogs.h"

#include "ScriptedDialogs.h"
#include "foundation/Settings.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

// ---- Message boxes ----------------------------------------------------------

struct MessageCase {
    const char* name;
    std::function<void()> show;
    DialogKind kind;
    MessageIcon icon;
    QString caption;
    QStringList buttons;
};

TEST(MessageBoxes, ShowTheirCaptionIconAndButtons) {
    const QStringList ok{QStringLiteral("OK")};
    const QStringList yesNo{QStringLiteral("Igen"), QStringLiteral("Nem")};
    const QString text = QStringLiteral("Szöveg\r\nmásodik sor");
    const std::vector<MessageCase> cases = {
        {"ShowError", [&] { ShowError(text); }, DialogKind::Error, MessageIcon::Error, "Hiba", ok},
        {"ErrorT", [&] { ErrorT(text); }, DialogKind::Error, MessageIcon::Error, "Hiba", ok},
        {"ShowWarning", [&] { ShowWarning(text); }, DialogKind::Warning, MessageIcon::Warning,
         "Figyelmeztetés", ok},
        {"ShowInfo", [&] { ShowInfo(text); }, DialogKind::Info, MessageIcon::Information, "Üzenet", ok},
        {"InfoT", [&] { InfoT(text); }, DialogKind::Info, MessageIcon::Information, "Üzenet", ok},
        {"AskYesNo", [&] { AskYesNo(text, "Megerősítés"); }, DialogKind::YesNo, MessageIcon::Question,
         "Megerősítés", yesNo},
        {"ConfirmT", [&] { ConfirmT(text, "Megerősítés"); }, DialogKind::YesNo, MessageIcon::Question,
         "Megerősítés", yesNo},
        {"AskYesNo with the stop sign", [&] { AskYesNo(text, "Hiba", nullptr, MessageIcon::Error); },
         DialogKind::YesNo, MessageIcon::Error, "Hiba", yesNo},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs dialogs;
        dialogs.answer(DialogAnswer::Yes);
        c.show();
        ASSERT_EQ(dialogs.calls().size(), 1u);
        const DialogCall& call = dialogs.lastCall();
        EXPECT_EQ(call.kind, c.kind);
        EXPECT_EQ(call.icon, c.icon);
        EXPECT_EQ(call.caption, c.caption);
        EXPECT_EQ(call.text, text);
        EXPECT_EQ(call.buttons, c.buttons);
        // Only the question takes an answer from the script.
        EXPECT_EQ(dialogs.pendingAnswers(), c.kind == DialogKind::YesNo ? 0 : 1);
    }
}

TEST(MessageBoxes, YesNoGivesTrueOnlyForYes) {
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Yes)
        .answer(DialogAnswer::No)
        .answer(DialogAnswer::Yes)
        .answer(DialogAnswer::No);
    EXPECT_TRUE(AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption));
    EXPECT_FALSE(AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption));
    EXPECT_TRUE(ConfirmT(QStringLiteral("Biztosan elkészült?"), dialog_text::ConfirmCaption));
    EXPECT_FALSE(ConfirmT(QStringLiteral("Biztosan elkészült?"), dialog_text::ConfirmCaption));
    EXPECT_EQ(dialogs.texts().first(), QStringLiteral("Valóban töröljem a sort?"));
}

// ---- AskText ----------------------------------------------------------------------

TEST(AskText, TooShortKeepsTheWindowOpenUntilLongEnough) {
    ScriptedDialogs dialogs;
    dialogs.answerText(QStringLiteral("ab")).answerText(QStringLiteral("abc"));
    QString text = QStringLiteral("x");
    ASSERT_TRUE(AskText(QStringLiteral("Cím"), QStringLiteral("Add meg!"), text, 3, -1, true));
    EXPECT_EQ(text, QStringLiteral("abc"));
    ASSERT_EQ(dialogs.calls().size(), 2u);
    EXPECT_EQ(dialogs.calls()[0].kind, DialogKind::Text);
    EXPECT_EQ(dialogs.calls()[0].caption, QStringLiteral("Cím"));
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("Add meg!"));
    EXPECT_EQ(dialogs.calls()[0].value, QStringLiteral("x"));
    EXPECT_EQ(dialogs.calls()[1].kind, DialogKind::Error);
    EXPECT_EQ(dialogs.calls()[1].caption, QStringLiteral("Hiba"));
    EXPECT_EQ(dialogs.calls()[1].text, QStringLiteral("Túl rövid. Legalább 3 karakter kell."));
}

TEST(AskText, CancelAfterARefusalLeavesTheTextAlone) {
    ScriptedDialogs dialogs;
    dialogs.answerText(QStringLiteral("a")).answer(DialogAnswer::Cancel);
    QString text = QStringLiteral("régi");
    EXPECT_FALSE(AskText(QStringLiteral("Cím"), QStringLiteral("Add meg!"), text, 2, -1, true));
    EXPECT_EQ(text, QStringLiteral("régi"));
    EXPECT_EQ(dialogs.calls().size(), 2u);
}

TEST(AskText, MinimumZeroTakesAnEmptyText) {
    // The invoice number: minimum 0, maximum 50, mixed case.
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Ok);
    QString number;
    ASSERT_TRUE(AskText(QStringLiteral("Számlaszám"), QStringLiteral("Add meg a számlaszámot!"), number, 0,
                        50, true));
    EXPECT_EQ(number, QString());
    EXPECT_EQ(dialogs.lastCall().maxLength, 50);
    EXPECT_FALSE(dialogs.lastCall().upperCase);
}

TEST(AskText, WithoutMixedCaseGivesCapitals) {
    ScriptedDialogs dialogs;
    dialogs.answerText(QStringLiteral("abc")).answerText(QStringLiteral("árvíztűrő tükörfúrógép"));
    QString text = QStringLiteral("kezdő");
    ASSERT_TRUE(AskText(QStringLiteral("C"), QStringLiteral("P"), text, 0, -1, false));
    EXPECT_EQ(text, QStringLiteral("ABC"));
    // The edit shows the incoming text in capitals, too.
    EXPECT_EQ(dialogs.calls()[0].value, QStringLiteral("KEZDŐ"));
    EXPECT_TRUE(dialogs.calls()[0].upperCase);
    ASSERT_TRUE(AskText(QStringLiteral("C"), QStringLiteral("P"), text, 0, -1, false));
    EXPECT_EQ(text, QStringLiteral("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP"));
}

TEST(AskText, MaximumLengthCutsTheText) {
    ScriptedDialogs dialogs;
    dialogs.answerText(QStringLiteral("123456789"));
    QString text = QStringLiteral("abcdefgh");
    ASSERT_TRUE(AskText(QStringLiteral("C"), QStringLiteral("P"), text, 0, 5, true));
    EXPECT_EQ(dialogs.lastCall().value, QStringLiteral("abcde"));
    EXPECT_EQ(text, QStringLiteral("12345"));
}

// ---- AskNumber -----------------------------------------------------------------

class AskNumberTest : public ::testing::Test {
protected:
    void SetUp() override { m_format = Beall().formatFt; }
    void TearDown() override { Beall().formatFt = m_format; }
    QString m_format;
};

TEST_F(AskNumberTest, ShowsTheMoneyFormatAndOkGivesWhatItShows) {
    Beall().formatFt = QStringLiteral("### ### ##0");
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Ok);
    double number = 12.5;
    ASSERT_TRUE(AskNumber(QStringLiteral("Ár megadás"), QStringLiteral("Add meg az árat!"), number));
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Number);
    EXPECT_EQ(dialogs.lastCall().caption, QStringLiteral("Ár megadás"));
    EXPECT_EQ(dialogs.lastCall().text, QStringLiteral("Add meg az árat!"));
    EXPECT_EQ(dialogs.lastCall().value, QStringLiteral("13"));
    EXPECT_DOUBLE_EQ(number, 13);
}

TEST_F(AskNumberTest, FollowsTheMoneyFormatSetting) {
    Beall().formatFt = QStringLiteral("### ### ##0.00");
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Ok);
    double number = 1234567.5;
    ASSERT_TRUE(AskNumber(QStringLiteral("C"), QStringLiteral("P"), number));
    EXPECT_EQ(dialogs.lastCall().value, QStringLiteral("1 234 567,50"));
    EXPECT_DOUBLE_EQ(number, 1234567.5);
}

TEST_F(AskNumberTest, ReadsTheEditTheWayUsersType) {
    struct Case {
        QString typed;
        double expected;
    };
    const std::vector<Case> cases = {
        {"1 234,5", 1234.5},    {"", 0},  {"-12", -12}, {"12,5", 12.5},
        {"1 234 567", 1234567}, {",", 0}, {"-", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ScriptedDialogs dialogs;
        dialogs.answerText(c.typed);
        double number = 99;
        ASSERT_TRUE(AskNumber(QStringLiteral("C"), QStringLiteral("P"), number));
        EXPECT_DOUBLE_EQ(number, c.expected);
    }
}

TEST_F(AskNumberTest, CancelKeepsTheNumber) {
    ScriptedDialogs dialogs;
    dialogs.answerNumber(500).answer(DialogAnswer::Cancel);
    double number = 7;
    ASSERT_TRUE(AskNumber(QStringLiteral("C"), QStringLiteral("P"), number));
    EXPECT_DOUBLE_EQ(number, 500);
    EXPECT_FALSE(AskNumber(QStringLiteral("C"), QStringLiteral("P"), number));
    EXPECT_DOUBLE_EQ(number, 500);
}

TEST(NumberEdit, TakesDigitsCommaMinusAndBackspaceOnly) {
    for (QChar c : QStringLiteral("0123456789,-\b"))
        EXPECT_TRUE(NumberEditAccepts(c)) << int(c.unicode());
    for (QChar c : QStringLiteral(". aZ+e€é٣"))
        EXPECT_FALSE(NumberEditAccepts(c)) << int(c.unicode());
}

TEST_F(AskNumberTest, DecimalShowsFullPrecisionAndTakesBothMarks) {
    // Prices and discounts are saved as typed: 12.5 is never shown as 13,
    // and typing 12.5 never gives 125.
    Beall().formatFt = QStringLiteral("### ### ##0");
    struct Case {
        double start;
        QString shown, typed;
        double expected;
    };
    const std::vector<Case> cases = {
        {12.5, "12,5", "12.5", 12.5},
        {12.5, "12,5", "12,5", 12.5},
        {1234.125, "1234,125", "1 234,75", 1234.75},
        {0, "0", "-7.25", -7.25},
        {100, "100", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ScriptedDialogs dialogs;
        dialogs.answerText(c.typed);
        double number = c.start;
        ASSERT_TRUE(AskDecimal(QStringLiteral("Kedvezmény megadás"), QStringLiteral("Add meg a kedvezményt!"),
                               number));
        EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Number);
        EXPECT_EQ(dialogs.lastCall().caption, QStringLiteral("Kedvezmény megadás"));
        EXPECT_EQ(dialogs.lastCall().value, c.shown);
        EXPECT_DOUBLE_EQ(number, c.expected);
    }
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Cancel);
    double number = 3.5;
    EXPECT_FALSE(AskDecimal(QStringLiteral("C"), QStringLiteral("P"), number));
    EXPECT_DOUBLE_EQ(number, 3.5);
    EXPECT_TRUE(NumberEditAccepts(QLatin1Char('.'), true));
    EXPECT_FALSE(NumberEditAccepts(QLatin1Char('a'), true));
}

// ---- AskRadio ------------------------------------------------------------------

TEST(AskRadio, SkipsEmptyPieces) {
    struct Case {
        QString items;
        QStringList expected;
    };
    QString twentyFive;
    for (int i = 1; i <= 25; ++i)
        twentyFive += QString::number(i) + QLatin1Char(',');
    QStringList firstTwenty;
    for (int i = 1; i <= 20; ++i)
        firstTwenty << QString::number(i);
    const std::vector<Case> cases = {
        {"A,,B", {"A", "B"}},
        {"Munkalap,Lista", {"Munkalap", "Lista"}},
        {" a ;b,c", {"a", "b", "c"}},
        {"", {}},
        {twentyFive, firstTwenty},
        // The 20 counts pieces, not items: an item in piece 21 is not offered.
        {QString(20, QLatin1Char(',')) + "X", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.items.toStdString());
        EXPECT_EQ(RadioItems(c.items), c.expected);
    }
}

TEST(AskRadio, GivesTheChosenIndex) {
    ScriptedDialogs dialogs;
    dialogs.answerChoice(1).answer(DialogAnswer::Ok).answer(DialogAnswer::Cancel).answer(DialogAnswer::Ok);
    EXPECT_EQ(AskRadio(0, QStringLiteral("A,,B"), QStringLiteral("Nyomtatás típusa")), 1);
    const DialogCall& first = dialogs.calls()[0];
    EXPECT_EQ(first.kind, DialogKind::Radio);
    EXPECT_EQ(first.caption, QStringLiteral("Nyomtatás típusa"));
    EXPECT_EQ(first.buttons, (QStringList{"A", "B"}));
    EXPECT_EQ(first.index, 0);
    // OK keeps the item checked at start.
    EXPECT_EQ(AskRadio(1, QStringLiteral("A,,B"), QStringLiteral("C")), 1);
    EXPECT_EQ(AskRadio(0, QStringLiteral("A,,B"), QStringLiteral("C")), -1);
    // Nothing checked at start: OK gives -1.
    EXPECT_EQ(AskRadio(5, QStringLiteral("A,,B"), QStringLiteral("C")), -1);
}

// ---- AskTwoWay, AskDate, AskMasked --------------------------------------------------

TEST(AskTwoWay, SplitsTheChoicesAndGivesTheButton) {
    ScriptedDialogs dialogs;
    dialogs.answerChoice(0).answerChoice(1).answer(DialogAnswer::Cancel);
    const QString choices = QStringLiteral("Előzetes\r\n(Nincs kitöltve);Végleges");
    EXPECT_EQ(AskTwoWay(QStringLiteral("Nyomtatás típusa"), choices), 0);
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::TwoWay);
    EXPECT_EQ(dialogs.lastCall().caption, QStringLiteral("Nyomtatás típusa"));
    EXPECT_EQ(dialogs.lastCall().buttons,
              (QStringList{QStringLiteral("Előzetes\r\n(Nincs kitöltve)"), QStringLiteral("Végleges")}));
    EXPECT_EQ(AskTwoWay(QString(), QStringLiteral("Egyik, Másik")), 1);
    EXPECT_EQ(dialogs.lastCall().caption, QStringLiteral("Választás"));
    EXPECT_EQ(dialogs.lastCall().buttons, (QStringList{"Egyik", "Másik"}));
    EXPECT_EQ(AskTwoWay(QStringLiteral("C"), choices), -1);
}

TEST(AskDate, KeepsItsCaptionUnlessGivenOne) {
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Ok).answerDate(QDate(2024, 2, 29)).answer(DialogAnswer::Cancel);
    QDate date(2024, 1, 15);
    ASSERT_TRUE(AskDate(date));
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Date);
    EXPECT_EQ(dialogs.lastCall().caption, QStringLiteral("Dátum megadása"));
    EXPECT_EQ(dialogs.lastCall().value, QStringLiteral("2024-01-15"));
    EXPECT_EQ(date, QDate(2024, 1, 15));
    ASSERT_TRUE(AskDate(date, QStringLiteral("Műszaki vizsga")));
    EXPECT_EQ(dialogs.lastCall().caption, QStringLiteral("Műszaki vizsga"));
    EXPECT_EQ(date, QDate(2024, 2, 29));
    EXPECT_FALSE(AskDate(date));
    EXPECT_EQ(date, QDate(2024, 2, 29));
}

TEST(AskDate, StartsAtTodayWithoutADate) {
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Ok);
    QDate date;
    ASSERT_TRUE(AskDate(date));
    EXPECT_EQ(date, QDate::currentDate());
}

TEST(AskMasked, ShowsPromptAndMaskAndGivesTheText) {
    ScriptedDialogs dialogs;
    dialogs.answerText(QStringLiteral("titok")).answer(DialogAnswer::Cancel);
    QString password = QString(300, QLatin1Char('x'));
    ASSERT_TRUE(AskMasked(QStringLiteral("Jelszó megadása"), QStringLiteral("Add meg az új jelszót"),
                          QString(), password));
    EXPECT_EQ(password, QStringLiteral("titok"));
    const DialogCall& call = dialogs.lastCall();
    EXPECT_EQ(call.kind, DialogKind::Masked);
    EXPECT_EQ(call.caption, QStringLiteral("Jelszó megadása"));
    EXPECT_EQ(call.text, QStringLiteral("Add meg az új jelszót"));
    EXPECT_EQ(call.value.size(), 255); // the edit holds at most 255 characters
    EXPECT_FALSE(AskMasked(QStringLiteral("Megerősítés"), QStringLiteral("Add újra az új jelszót"), QString(),
                           password));
    EXPECT_EQ(password, QStringLiteral("titok"));
}

// ---- The scripted backend itself ------------------------------------------------------

TEST(ScriptedDialogs, AnUnexpectedQuestionThrows) {
    ScriptedDialogs dialogs;
    try {
        AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption);
        FAIL() << "no exception";
    } catch (const ScriptError& error) {
        EXPECT_NE(QString::fromUtf8(error.what()).indexOf("Valóban töröljem a sort?"), -1) << error.what();
    }
    // The dialog was still recorded.
    EXPECT_EQ(dialogs.calls().size(), 1u);
}

TEST(ScriptedDialogs, AnAnswerThatDoesNotFitThrows) {
    ScriptedDialogs dialogs;
    dialogs.answerText(QStringLiteral("igen"));
    EXPECT_THROW(AskYesNo(QStringLiteral("?"), QStringLiteral("C")), ScriptError);
    dialogs.answer(DialogAnswer::Ok);
    EXPECT_THROW(AskYesNo(QStringLiteral("?"), QStringLiteral("C")), ScriptError);
    dialogs.answerChoice(2);
    EXPECT_THROW(AskTwoWay(QStringLiteral("C"), QStringLiteral("a;b")), ScriptError);
    dialogs.answerChoice(2);
    EXPECT_THROW(AskRadio(0, QStringLiteral("a,b"), QStringLiteral("C")), ScriptError);
    dialogs.answer(DialogAnswer::Yes);
    double number = 0;
    EXPECT_THROW(AskNumber(QStringLiteral("C"), QStringLiteral("P"), number), ScriptError);
    // A text refused by the check and nothing more in the script.
    dialogs.answerText(QStringLiteral("a"));
    QString text;
    EXPECT_THROW(AskText(QStringLiteral("C"), QStringLiteral("P"), text, 3, -1, true), ScriptError);
}

TEST(ScriptedDialogs, PutsThePreviousBackendBack) {
    ASSERT_EQ(CurrentDialogBackend(), nullptr);
    EXPECT_THROW(ShowInfo(QStringLiteral("x")), std::logic_error);
    {
        ScriptedDialogs outer;
        {
            ScriptedDialogs inner;
            ShowInfo(QStringLiteral("belső"));
            EXPECT_EQ(inner.calls().size(), 1u);
        }
        EXPECT_EQ(CurrentDialogBackend(), &outer);
        ShowInfo(QStringLiteral("külső"));
        EXPECT_EQ(outer.texts(), QStringList{QStringLiteral("külső")});
    }
    EXPECT_EQ(CurrentDialogBackend(), nullptr);
}

} // namespace
} // namespace kml
