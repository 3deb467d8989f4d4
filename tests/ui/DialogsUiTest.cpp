// The real Qt dialogs, driven offscreen through the dialog functions: each
// test calls AskText, AskNumber, ... as the program does, and a timer acts
// on the modal window from inside its event loop the way a user would, with
// keys and clicks on the named widgets.
#include "TestDatabase.h"
#include "foundation/Dialogs.h"
#include "foundation/IniFile.h"
#include "foundation/Settings.h"
#include "foundation/gui/QtDialogs.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using ModalAction = std::function<void(QWidget* modal)>;

// Runs the action on the next modal window that opens, other than `current`,
// from inside that window's event loop.
void OnNextModal(ModalAction action, QWidget* current = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action = std::move(action), current] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == current || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

template <typename T> T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << "no child " << name << " in " << parent->objectName().toStdString();
    return child;
}

// Types the text key by key; letters QTest has no key code for (accented
// ones) arrive as key events carrying just their text, as an input method
// would send them.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
    }
}

void SaveScreenshot(QWidget* window, const QString& name) {
    const QString folder = test::BuildPath(QStringLiteral("screenshots/dialogs"));
    QDir().mkpath(folder);
    EXPECT_TRUE(window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
}

class DialogsUi : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = SetDialogBackend(&m_dialogs);
        // A window left open by a failed step is closed so the test ends.
        m_watchdog.setSingleShot(true);
        QObject::connect(&m_watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "a dialog was still open after 10 s";
            while (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
                else
                    modal->close();
                QApplication::processEvents();
            }
        });
        m_watchdog.start(10000);
    }
    void TearDown() override {
        m_watchdog.stop();
        SetDialogBackend(m_previous);
    }

    QtDialogs m_dialogs;
    DialogBackend* m_previous = nullptr;
    QTimer m_watchdog;
};

// ---- Message boxes ----------------------------------------------------------

struct SeenBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

// Reads the message box that opens next, then presses the key on it.
void AnswerNextBox(SeenBox& seen, Qt::Key key, QWidget* current = nullptr) {
    OnNextModal(
        [&seen, key](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr) << modal->metaObject()->className();
            seen.caption = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            for (QAbstractButton* button : box->buttons())
                seen.buttons << button->text();
            if (box->defaultButton())
                seen.defaultButton = box->defaultButton()->text();
            QTest::keyClick(box, key);
        },
        current);
}

TEST_F(DialogsUi, MessageBoxesShowCaptionIconAndHungarianButtons) {
    SeenBox error;
    AnswerNextBox(error, Qt::Key_Return);
    ShowError(QStringLiteral("Hibás <b>adat</b>\r\nmásodik sor"));
    EXPECT_EQ(error.caption, QStringLiteral("Hiba"));
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QStringList{QStringLiteral("OK")});
    // Shown as plain text with plain line breaks.
    EXPECT_EQ(error.text, QStringLiteral("Hibás <b>adat</b>\nmásodik sor"));

    SeenBox warning, info;
    AnswerNextBox(warning, Qt::Key_Escape);
    ShowWarning(QStringLiteral("Vigyázat"));
    EXPECT_EQ(warning.caption, QStringLiteral("Figyelmeztetés"));
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    AnswerNextBox(info, Qt::Key_Return);
    InfoT(QStringLiteral("Kész"));
    EXPECT_EQ(info.caption, QStringLiteral("Üzenet"));
    EXPECT_EQ(info.icon, QMessageBox::Information);
}

TEST_F(DialogsUi, YesNoDefaultsToYesAndEscapeMeansNo) {
    SeenBox question;
    AnswerNextBox(question, Qt::Key_Return);
    EXPECT_TRUE(AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption));
    EXPECT_EQ(question.caption, QStringLiteral("Megerősítés"));
    EXPECT_EQ(question.text, QStringLiteral("Valóban töröljem a sort?"));
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_EQ(question.buttons.size(), 2);
    EXPECT_TRUE(question.buttons.contains(QStringLiteral("Igen")));
    EXPECT_TRUE(question.buttons.contains(QStringLiteral("Nem")));
    EXPECT_EQ(question.defaultButton, QStringLiteral("Igen"));

    SeenBox escaped, stop;
    AnswerNextBox(escaped, Qt::Key_Escape);
    EXPECT_FALSE(ConfirmT(QStringLiteral("Biztosan?"), dialog_text::ConfirmCaption));
    AnswerNextBox(stop, Qt::Key_Escape);
    EXPECT_FALSE(AskYesNo(QStringLiteral("Elküldjük?"), QStringLiteral("Hiba"), nullptr, MessageIcon::Error));
    EXPECT_EQ(stop.icon, QMessageBox::Critical);
}

// ---- AskTwoWay -----------------------------------------------------------------

TEST_F(DialogsUi, TwoWayEscapeCancels) {
    QString caption, first, second;
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<Tfrm_Valasztas*>(modal), nullptr);
        caption = modal->windowTitle();
        first = Child<QPushButton>(modal, "btnFirst")->text();
        second = Child<QPushButton>(modal, "btnSecond")->text();
        SaveScreenshot(modal, QStringLiteral("frm_Valasztas"));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    EXPECT_EQ(AskTwoWay(QStringLiteral("Nyomtatás típusa"),
                        QStringLiteral("Előzetes\r\n(Nincs kitöltve);Végleges")),
              -1);
    EXPECT_EQ(caption, QStringLiteral("Nyomtatás típusa"));
    EXPECT_EQ(first, QStringLiteral("Előzetes\n(Nincs kitöltve)"));
    EXPECT_EQ(second, QStringLiteral("Végleges"));
}

TEST_F(DialogsUi, TwoWayEnterPressesTheFirstAndAClickTheOther) {
    QString caption;
    OnNextModal([&](QWidget* modal) {
        caption = modal->windowTitle();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : modal, Qt::Key_Return);
    });
    EXPECT_EQ(AskTwoWay(QString(), QStringLiteral("Egyik,Másik")), 0);
    EXPECT_EQ(caption, QStringLiteral("Választás"));

    OnNextModal(
        [](QWidget* modal) { QTest::mouseClick(Child<QPushButton>(modal, "btnSecond"), Qt::LeftButton); });
    EXPECT_EQ(AskTwoWay(QString(), QStringLiteral("Egyik,Másik")), 1);
}

// ---- AskText -------------------------------------------------------------------

TEST_F(DialogsUi, TextTooShortShowsTheErrorAndStaysOpen) {
    SeenBox refusal;
    bool openAfterRefusal = false;
    QString caption, prompt;
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<Tfrm_InpStr*>(modal), nullptr);
        caption = modal->windowTitle();
        prompt = Child<QLabel>(modal, "lblPrompt")->text();
        QLineEdit* edit = Child<QLineEdit>(modal, "edtText");
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("ab"));
        SaveScreenshot(modal, QStringLiteral("frm_InpStr"));
        AnswerNextBox(refusal, Qt::Key_Return, modal);
        QTest::mouseClick(Child<QPushButton>(modal, "btnOk"), Qt::LeftButton);
        openAfterRefusal = modal->isVisible();
        QTest::keyClicks(edit, QStringLiteral("c"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QString text = QStringLiteral("régi");
    ASSERT_TRUE(
        AskText(QStringLiteral("Számlaszám"), QStringLiteral("Add meg a számlaszámot!"), text, 3, 50, true));
    EXPECT_EQ(text, QStringLiteral("abc"));
    EXPECT_EQ(caption, QStringLiteral("Számlaszám"));
    EXPECT_EQ(prompt, QStringLiteral("Add meg a számlaszámot!"));
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(refusal.caption, QStringLiteral("Hiba"));
    EXPECT_EQ(refusal.icon, QMessageBox::Critical);
    EXPECT_EQ(refusal.text, QStringLiteral("Túl rövid. Legalább 3 karakter kell."));
}

TEST_F(DialogsUi, TextTypedWithoutMixedCaseShowsCapitalsAndEscapeCancels) {
    QString shown;
    int maxLength = 0;
    OnNextModal([&](QWidget* modal) {
        QLineEdit* edit = Child<QLineEdit>(modal, "edtText");
        maxLength = edit->maxLength();
        TypeText(edit, QStringLiteral("abcő"));
        shown = edit->text();
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QString text;
    ASSERT_TRUE(AskText(QStringLiteral("C"), QStringLiteral("P"), text, 0, -1, false));
    EXPECT_EQ(shown, QStringLiteral("ABCŐ"));
    EXPECT_EQ(text, QStringLiteral("ABCŐ"));
    EXPECT_EQ(maxLength, 32767); // no limit

    OnNextModal([](QWidget* modal) {
        QTest::keyClicks(Child<QLineEdit>(modal, "edtText"), QStringLiteral("xyz"));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    EXPECT_FALSE(AskText(QStringLiteral("C"), QStringLiteral("P"), text, 0, -1, false));
    EXPECT_EQ(text, QStringLiteral("ABCŐ"));
}

TEST_F(DialogsUi, TextWindowWidensButKeepsItsHeight) {
    QSize minimum, maximum;
    OnNextModal([&](QWidget* modal) {
        minimum = modal->minimumSize();
        maximum = modal->maximumSize();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QString text;
    AskText(QStringLiteral("C"), QStringLiteral("P"), text, 0, 10, true);
    EXPECT_EQ(minimum.height(), maximum.height());
    EXPECT_GT(maximum.width(), minimum.width());
}

// ---- AskNumber -----------------------------------------------------------------

TEST_F(DialogsUi, NumberShowsTheMoneyFormatAndTakesOnlyNumberKeys) {
    const QString format = Beall().formatFt;
    Beall().formatFt = QStringLiteral("### ### ##0");
    QString shown, afterTyping;
    Qt::Alignment alignment;
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<Tfrm_Inp*>(modal), nullptr);
        QLineEdit* edit = Child<QLineEdit>(modal, "edtNumber");
        shown = edit->text();
        alignment = edit->alignment();
        SaveScreenshot(modal, QStringLiteral("frm_Inp"));
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("1x2 3.4,5a"));
        afterTyping = edit->text();
        QTest::keyClick(edit, Qt::Key_Return);
    });
    double number = 12.5;
    ASSERT_TRUE(AskNumber(QStringLiteral("Ár megadás"), QStringLiteral("Add meg az árat!"), number));
    EXPECT_EQ(shown, QStringLiteral("13"));
    EXPECT_TRUE(alignment & Qt::AlignRight);
    EXPECT_EQ(afterTyping, QStringLiteral("1234,5"));
    EXPECT_DOUBLE_EQ(number, 1234.5);

    // OK at once gives what the edit shows.
    OnNextModal(
        [](QWidget* modal) { QTest::keyClick(Child<QLineEdit>(modal, "edtNumber"), Qt::Key_Return); });
    number = 12.5;
    ASSERT_TRUE(AskNumber(QStringLiteral("C"), QStringLiteral("P"), number));
    EXPECT_DOUBLE_EQ(number, 13);

    // Thousands separators in the edit are read past; an empty edit is 0.
    OnNextModal([](QWidget* modal) {
        Child<QLineEdit>(modal, "edtNumber")->setText(QStringLiteral("1 234,5"));
        QTest::mouseClick(Child<QPushButton>(modal, "btnOk"), Qt::LeftButton);
    });
    ASSERT_TRUE(AskNumber(QStringLiteral("C"), QStringLiteral("P"), number));
    EXPECT_DOUBLE_EQ(number, 1234.5);
    OnNextModal([](QWidget* modal) {
        Child<QLineEdit>(modal, "edtNumber")->clear();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    ASSERT_TRUE(AskNumber(QStringLiteral("C"), QStringLiteral("P"), number));
    EXPECT_DOUBLE_EQ(number, 0);

    OnNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    number = 7;
    EXPECT_FALSE(AskNumber(QStringLiteral("C"), QStringLiteral("P"), number));
    EXPECT_DOUBLE_EQ(number, 7);
    Beall().formatFt = format;
}

// ---- AskRadio, AskDate, AskMasked ---------------------------------------------------

TEST_F(DialogsUi, RadioOffersTheNonEmptyItems) {
    QString groupTitle;
    QStringList items;
    int height = 0;
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<Tfrm_Radio*>(modal), nullptr);
        groupTitle = Child<QGroupBox>(modal, "grpItems")->title();
        for (QRadioButton* item : modal->findChildren<QRadioButton*>())
            items << item->text() + (item->isChecked() ? QStringLiteral("*") : QString());
        height = modal->height();
        SaveScreenshot(modal, QStringLiteral("frm_Radio"));
        // On the button's circle, as a user clicks it (the widget is wider than its text).
        QRadioButton* second = Child<QRadioButton>(modal, "rbItem1");
        QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(6, second->height() / 2));
        QTest::mouseClick(Child<QPushButton>(modal, "btnOk"), Qt::LeftButton);
    });
    EXPECT_EQ(AskRadio(0, QStringLiteral("A,,B"), QStringLiteral("Nyomtatás típusa")), 1);
    EXPECT_EQ(groupTitle, QStringLiteral("Nyomtatás típusa"));
    EXPECT_EQ(items, (QStringList{"A*", "B"}));
    EXPECT_EQ(height, 48 * 2 + 120);

    OnNextModal(
        [](QWidget* modal) { QTest::mouseClick(Child<QPushButton>(modal, "btnCancel"), Qt::LeftButton); });
    EXPECT_EQ(AskRadio(1, QStringLiteral("Munkalap,Lista"), QStringLiteral("C")), -1);
}

TEST_F(DialogsUi, DateGivesThePickedDate) {
    QString caption;
    QDate start;
    OnNextModal([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<Tfrm_Datumbe*>(modal), nullptr);
        caption = modal->windowTitle();
        auto* picker = Child<QDateEdit>(modal, "dtpDate");
        start = picker->date();
        SaveScreenshot(modal, QStringLiteral("frm_Datumbe"));
        picker->setDate(QDate(2024, 2, 29));
        QTest::mouseClick(Child<QPushButton>(modal, "btnOk"), Qt::LeftButton);
    });
    QDate date(2023, 12, 31);
    ASSERT_TRUE(AskDate(date));
    EXPECT_EQ(caption, QStringLiteral("Dátum megadása"));
    EXPECT_EQ(start, QDate(2023, 12, 31));
    EXPECT_EQ(date, QDate(2024, 2, 29));
}

TEST_F(DialogsUi, MaskedStartsWithTheTextSelected) {
    QString prompt, selected;
    int maxLength = 0;
    OnNextModal([&](QWidget* modal) {
        prompt = Child<QLabel>(modal, "lblPrompt")->text();
        QLineEdit* edit = Child<QLineEdit>(modal, "edtMasked");
        selected = edit->selectedText();
        maxLength = edit->maxLength();
        SaveScreenshot(modal, QStringLiteral("dlgMasked"));
        TypeText(edit, QStringLiteral("új jelszó"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QString password = QStringLiteral("régi");
    ASSERT_TRUE(AskMasked(QStringLiteral("Jelszó megadása"), QStringLiteral("Add meg az új jelszót"),
                          QString(), password));
    EXPECT_EQ(prompt, QStringLiteral("Add meg az új jelszót"));
    EXPECT_EQ(selected, QStringLiteral("régi"));
    EXPECT_EQ(maxLength, 255);
    EXPECT_EQ(password, QStringLiteral("új jelszó"));
}

// ---- Place and font -------------------------------------------------------------------

TEST_F(DialogsUi, WindowsKeepTheirPlaceInTheIniFileAndUseTheFontSize) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString iniPath = folder.filePath(QStringLiteral("KoravelML.ini"));
    const QString previousIni = IniFilePath();
    SetIniFilePath(iniPath);
    const int fontSize = Beall().betumeret;
    Beall().betumeret = 10;

    // The window the question belongs to.
    QWidget owner;
    owner.setGeometry(200, 150, 500, 360);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));

    QPoint opened;
    QPoint centre;
    int pointSize = 0;
    OnNextModal([&](QWidget* modal) {
        opened = modal->pos();
        centre = modal->frameGeometry().center();
        pointSize = modal->font().pointSize();
        modal->move(123, 77);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    double number = 1;
    AskNumber(QStringLiteral("C"), QStringLiteral("P"), number);
    // Nothing remembered yet: centred over the window it belongs to.
    EXPECT_LE((centre - owner.frameGeometry().center()).manhattanLength(), 4)
        << centre.x() << "," << centre.y();
    EXPECT_EQ(pointSize, 10);
    {
        IniFile ini(iniPath);
        EXPECT_EQ(ini.readInt(QStringLiteral("frm_Inp"), QStringLiteral("Left"), -1), 123);
        EXPECT_EQ(ini.readInt(QStringLiteral("frm_Inp"), QStringLiteral("Top"), -1), 77);
    }
    OnNextModal([&](QWidget* modal) {
        opened = modal->pos();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    AskNumber(QStringLiteral("C"), QStringLiteral("P"), number);
    EXPECT_EQ(opened, QPoint(123, 77));

    // The text window also keeps its width.
    OnNextModal([](QWidget* modal) {
        modal->resize(500, modal->height());
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QString text;
    AskText(QStringLiteral("C"), QStringLiteral("P"), text, 0, -1, true);
    int width = 0;
    OnNextModal([&](QWidget* modal) {
        width = modal->width();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    AskText(QStringLiteral("C"), QStringLiteral("P"), text, 0, -1, true);
    EXPECT_EQ(width, 500);

    Beall().betumeret = fontSize;
    SetIniFilePath(previousIni);
}

} // namespace
} // namespace kml
