// The settings window Tfrm_Beallit, offscreen, over a fresh schema: its pages
// and captions, the focus colour and Enter, OK and Esc through the real
// widgets behind EditSettings, the browse buttons, the saved position.
// Screenshots of the four pages go to the build folder.

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/ModalDriver.h"
#include "shell/Beallit.h"
#include "shell/gui/Tfrm_Beallit.h"
#include "shell/gui/Windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::TestDatabase;

using kml::test::WhenModal;

void SaveScreenshot(QWidget* window, const QString& name) {
    const QString path = test::BuildPath(QStringLiteral("screenshots/") + name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

template <typename W> W* Child(QWidget* window, const char* name) {
    W* child = window->findChild<W*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Types text key by key; QTest::keyClicks knows only ASCII, so the
// Hungarian letters go as key events that carry just their text.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Clicks a check box on its box: a check box as wide as its form row takes
// clicks only on the box and its caption.
void Click(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// Replaces the text of a line edit as a user does: select all, type.
void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    Type(edit, text);
}

// The captions a page shows: labels, check boxes and group titles.
QStringList Captions(const QWidget* page) {
    QStringList captions;
    for (const QLabel* label : page->findChildren<QLabel*>())
        captions << label->text();
    for (const QCheckBox* box : page->findChildren<QCheckBox*>())
        captions << box->text();
    for (const QGroupBox* group : page->findChildren<QGroupBox*>())
        captions << group->title();
    return captions;
}

class SettingsWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new TestDatabase(QStringLiteral("settingsui")); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }

    void SetUp() override {
        ExecSql(
            QStringLiteral("UPDATE beallit SET vanbelep = 'N', mlaphatid = 3, autocikkszam = 'N', "
                           "autocikkszamhossz = 5, mlapdatummodosit = 'N', kedvmutat = 'N', afakulcs = 27, "
                           "szlamegjegyzes = '', prgtipus = 1, kepftp = 'N', kephost = '', kepuser = '', "
                           "keppwd = '', kepfolder = '', kepport = 21, levelkuldlink = '';"));
        ASSERT_TRUE(m_home.isValid());
        SetIniFilePath(m_home.filePath(QStringLiteral("KoravelML.ini")));
        TBeall& s = Beall();
        s = TBeall{};
        s.pennart = m_home.filePath(QStringLiteral("Pennart.exe"));
        s.alapNyomtato = QStringLiteral("Iroda");
        s.kepek = m_home.filePath(QStringLiteral("Kepek"));
        QDir().mkpath(s.kepek);
        InstallWindows();
    }
    void TearDown() override {
        SetIniFilePath({});
        Beall() = TBeall{};
    }

    // The window on the stored row and the settings record, as EditSettings
    // shows it.
    static void Fill(Tfrm_Beallit& w) {
        OpenSettingsRow(w.table());
        w.showValues();
        w.setValues(ReadSettingsValues(Beall(), w.table()));
    }

    static inline TestDatabase* s_db = nullptr;
    QTemporaryDir m_home;
    ScriptedDialogs m_dialogs;
};

TEST_F(SettingsWindowFixture, FourPagesWithEveryCaption) {
    Tfrm_Beallit w;
    Fill(w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Beállítások"));
    auto* pages = Child<QTabWidget>(&w, "PageControl1");
    ASSERT_TRUE(pages);
    const std::vector<std::pair<QString, QStringList>> expected{
        {QStringLiteral("Általános"),
         {QStringLiteral("Munkalap hatidő (nap)"), QStringLiteral("Alapértelmezett nyomtató"),
          QStringLiteral("Megnyitáskor teljes képernyő"), QStringLiteral("Belépésnél jelszót kér"),
          QStringLiteral("Szám formátum"), QStringLiteral("Mennyiség formátum"),
          QStringLiteral("Pénz formátum"), QStringLiteral("Program típusa"),
          QStringLiteral("Automatikus cikkszám"), QStringLiteral("Cikkszám hossza (max 15)"),
          QStringLiteral("Munkalap dátum módosítható")}},
        {QStringLiteral("Autószerelő"), {QStringLiteral("Adott kedvezményt munkalapon megjelenít")}},
        {QStringLiteral("Számlázó program kapcsolat"),
         {QStringLiteral("Pennart kapcsolat"), QStringLiteral("Van Pennart kapcsolat"),
          QStringLiteral("Pennart program helye"), QStringLiteral("Áfa kulcs"),
          QStringLiteral("Megjegyzés a számlán")}},
        {QStringLiteral("Honlap"),
         {QStringLiteral("Képek másolása FTP-re"), QStringLiteral("Kiszolgáló"),
          QStringLiteral("Felhasználó"), QStringLiteral("Jelszó"), QStringLiteral("Távoli mappa"),
          QStringLiteral("Port"), QStringLiteral("Képek automatikus feltöltése"),
          QStringLiteral("Levél küldés"), QStringLiteral("Levélküldés link"),
          QStringLiteral("Képek mappája")}},
    };
    ASSERT_EQ(pages->count(), int(expected.size()));
    for (int i = 0; i < pages->count(); ++i) {
        EXPECT_EQ(pages->tabText(i), expected[size_t(i)].first);
        const QStringList captions = Captions(pages->widget(i));
        for (const QString& caption : expected[size_t(i)].second)
            EXPECT_TRUE(captions.contains(caption)) << caption.toStdString();
    }

    // The fields show the row and the settings record.
    EXPECT_EQ(Child<QLineEdit>(&w, "mlaphatid")->text(), QStringLiteral("3"));
    EXPECT_EQ(Child<QLineEdit>(&w, "afakulcs")->text(), QStringLiteral("27"));
    EXPECT_EQ(Child<QLineEdit>(&w, "kepport")->text(), QStringLiteral("21"));
    EXPECT_EQ(Child<QLineEdit>(&w, "kephost")->maxLength(), 100);
    auto* password = Child<QLineEdit>(&w, "keppwd");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password), '*');
    EXPECT_TRUE(Child<QCheckBox>(&w, "TeljesKep")->isChecked());
    auto* printer = Child<QComboBox>(&w, "AlapNyomtato");
    EXPECT_TRUE(printer->isEditable());
    EXPECT_EQ(printer->currentText(), QStringLiteral("Iroda")) << "a printer that is not installed stays";
    auto* programType = Child<QComboBox>(&w, "prgtipus");
    EXPECT_EQ(programType->count(), 5);
    EXPECT_EQ(programType->currentText(), QStringLiteral("Klíma szerelő"));
    EXPECT_EQ(Child<QLineEdit>(&w, "FormatFt")->text(), QStringLiteral("### ### ##0"));
    EXPECT_EQ(Child<QLineEdit>(&w, "Kepek")->text(), Beall().kepek);
}

TEST_F(SettingsWindowFixture, FocusColourAndEnterExceptInTheInvoiceNote) {
    Tfrm_Beallit w;
    Fill(w);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* deadline = Child<QLineEdit>(&w, "mlaphatid");
    auto* printer = Child<QComboBox>(&w, "AlapNyomtato");
    auto* fullScreen = Child<QCheckBox>(&w, "TeljesKep");
    auto* login = Child<QCheckBox>(&w, "vanbelep");
    auto* note = Child<QPlainTextEdit>(&w, "szlamegjegyzes");
    auto* host = Child<QLineEdit>(&w, "kephost");
    auto* user = Child<QLineEdit>(&w, "kepuser");
    auto* password = Child<QLineEdit>(&w, "keppwd");

    EXPECT_TRUE(deadline->hasFocus());
    EXPECT_EQ(deadline->palette().color(QPalette::Base), kFocusColor);
    QTest::keyClick(deadline, Qt::Key_Return);
    EXPECT_TRUE(printer->hasFocus());
    EXPECT_EQ(printer->palette().color(QPalette::Base), kFocusColor);
    EXPECT_NE(deadline->palette().color(QPalette::Base), kFocusColor);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(fullScreen->hasFocus());
    QTest::keyClick(fullScreen, Qt::Key_Return);
    EXPECT_TRUE(login->hasFocus());
    EXPECT_TRUE(fullScreen->isChecked()) << "Enter moves on without toggling";

    auto* pages = Child<QTabWidget>(&w, "PageControl1");
    pages->setCurrentIndex(3);
    host->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(host, Qt::Key_Return);
    EXPECT_TRUE(user->hasFocus());
    EXPECT_EQ(user->palette().color(QPalette::Base), kFocusColor);
    QTest::keyClick(user, Qt::Key_Return);
    EXPECT_TRUE(password->hasFocus());
    EXPECT_EQ(password->palette().color(QPalette::Base), kFocusColor) << "the masked field too";

    pages->setCurrentIndex(2);
    note->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(note->palette().color(QPalette::Base), kFocusColor);
    Type(note, QStringLiteral("Első sor"));
    QTest::keyClick(note, Qt::Key_Return);
    Type(note, QStringLiteral("Második"));
    EXPECT_TRUE(note->hasFocus());
    EXPECT_EQ(w.table().value(QStringLiteral("szlamegjegyzes")).toString(),
              QStringLiteral("Első sor\nMásodik"));
    m_dialogs.answer(DialogAnswer::Yes); // the typed note is dropped only when told to
    w.reject();
}

TEST_F(SettingsWindowFixture, OkThroughTheWidgetsWritesTheRowAndTheWorkstationValues) {
    const QString pictures = m_home.filePath(QStringLiteral("uj-kepek"));
    WhenModal<Tfrm_Beallit>([&](Tfrm_Beallit* w) {
        auto* pages = Child<QTabWidget>(w, "PageControl1");
        pages->setCurrentIndex(0);
        Retype(Child<QLineEdit>(w, "mlaphatid"), QStringLiteral("10"));
        auto* printer = Child<QComboBox>(w, "AlapNyomtato");
        Retype(printer->lineEdit(), QStringLiteral("Műhely nyomtató"));
        Click(Child<QCheckBox>(w, "TeljesKep"));
        Click(Child<QCheckBox>(w, "vanbelep"));
        Retype(Child<QLineEdit>(w, "FormatDb"), QStringLiteral("0.0"));
        Retype(Child<QLineEdit>(w, "FormatFt"), QStringLiteral("### ##0 Ft"));
        auto* programType = Child<QComboBox>(w, "prgtipus");
        programType->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(programType, Qt::Key_Down);
        Click(Child<QCheckBox>(w, "autocikkszam"));
        Retype(Child<QLineEdit>(w, "autocikkszamhossz"), QStringLiteral("7"));
        Click(Child<QCheckBox>(w, "mlapdatummodosit"));
        SaveScreenshot(w, QStringLiteral("settings-altalanos.png"));

        pages->setCurrentIndex(1);
        Click(Child<QCheckBox>(w, "kedvmutat"));
        SaveScreenshot(w, QStringLiteral("settings-autoszerelo.png"));

        pages->setCurrentIndex(2);
        Click(Child<QCheckBox>(w, "VanPennart"));
        Retype(Child<QLineEdit>(w, "Pennart"), QStringLiteral("/opt/pennart/pennart"));
        Retype(Child<QLineEdit>(w, "afakulcs"), QStringLiteral("18,5"));
        auto* note = Child<QPlainTextEdit>(w, "szlamegjegyzes");
        note->setFocus(Qt::OtherFocusReason);
        Type(note, QStringLiteral("Köszönjük a vásárlást!"));
        QTest::keyClick(note, Qt::Key_Return);
        Type(note, QStringLiteral("Bankszámla: 'OTP'"));
        SaveScreenshot(w, QStringLiteral("settings-szamlazo.png"));

        pages->setCurrentIndex(3);
        Retype(Child<QLineEdit>(w, "kephost"), QStringLiteral("ftp.pelda.hu"));
        Retype(Child<QLineEdit>(w, "kepuser"), QStringLiteral("feltolto"));
        Retype(Child<QLineEdit>(w, "keppwd"), QStringLiteral("titok"));
        Retype(Child<QLineEdit>(w, "kepfolder"), QStringLiteral("/www/kepek"));
        Retype(Child<QLineEdit>(w, "kepport"), QStringLiteral("2121"));
        Click(Child<QCheckBox>(w, "kepftp"));
        Retype(Child<QLineEdit>(w, "levelkuldlink"), QStringLiteral("https://level.pelda.hu/kuld.php"));
        Retype(Child<QLineEdit>(w, "allapotlink"),
               QStringLiteral("https://pelda.hu/állapot?id=%id%&key=%key%"));
        Retype(Child<QLineEdit>(w, "Kepek"), pictures);
        SaveScreenshot(w, QStringLiteral("settings-honlap.png"));

        QTest::mouseClick(Child<QPushButton>(w, "btnOK"), Qt::LeftButton);
    });

    EXPECT_TRUE(EditSettings());
    EXPECT_EQ(
        QueryStr(QStringLiteral(
            "SELECT CONCAT_WS('|', mlaphatid, vanbelep, prgtipus, autocikkszam, autocikkszamhossz, "
            "mlapdatummodosit, kedvmutat, afakulcs, szlamegjegyzes, kephost, kepuser, keppwd, kepfolder, "
            "kepport, kepftp, levelkuldlink, allapotlink) FROM beallit;")),
        QStringLiteral("10|I|2|I|7|I|I|18.5|Köszönjük a vásárlást!\nBankszámla: 'OTP'|ftp.pelda.hu|"
                       "feltolto|titok|/www/kepek|2121|I|https://level.pelda.hu/kuld.php|"
                       "https://pelda.hu/állapot?id=%id%&key=%key%"));
    const TBeall& s = Beall();
    EXPECT_TRUE(s.vanPennart);
    EXPECT_EQ(s.pennart, QStringLiteral("/opt/pennart/pennart"));
    EXPECT_FALSE(s.teljesKep);
    EXPECT_EQ(s.alapNyomtato, QStringLiteral("Műhely nyomtató"));
    EXPECT_EQ(s.formatDb, QStringLiteral("0.0"));
    EXPECT_EQ(s.formatFt, QStringLiteral("### ##0 Ft"));
    EXPECT_EQ(s.kepek, pictures);
    EXPECT_TRUE(m_dialogs.calls().empty());
}

TEST_F(SettingsWindowFixture, EscCancelsAndThePositionIsKept) {
    IniWriteInt(QStringLiteral("frm_Beallit"), QStringLiteral("Left"), 40);
    IniWriteInt(QStringLiteral("frm_Beallit"), QStringLiteral("Top"), 30);
    const QString before =
        QueryStr(QStringLiteral("SELECT CONCAT_WS('|', mlaphatid, kephost) FROM beallit;"));
    QPoint shownAt;
    WhenModal<Tfrm_Beallit>([&](Tfrm_Beallit* w) {
        shownAt = w->geometry().topLeft(); // positions are the client area's
        Retype(Child<QLineEdit>(w, "mlaphatid"), QStringLiteral("99"));
        Click(Child<QCheckBox>(w, "TeljesKep"));
        w->setGeometry(QRect(QPoint(70, 60), w->size()));
        m_dialogs.answer(DialogAnswer::Yes); // Esc on a changed window asks first
        QTest::keyClick(w, Qt::Key_Escape);
    });

    EXPECT_FALSE(EditSettings());
    EXPECT_EQ(shownAt, QPoint(40, 30));
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT CONCAT_WS('|', mlaphatid, kephost) FROM beallit;")), before);
    EXPECT_TRUE(Beall().teljesKep);
    EXPECT_EQ(IniReadInt(QStringLiteral("frm_Beallit"), QStringLiteral("Left"), -1), 70);
    EXPECT_EQ(IniReadInt(QStringLiteral("frm_Beallit"), QStringLiteral("Top"), -1), 60);
}

TEST_F(SettingsWindowFixture, BrowseButtonsChooseTheProgramAndThePictureFolder) {
    // The current invoicing program exists: the chooser starts beside it.
    QFile current(Beall().pennart);
    ASSERT_TRUE(current.open(QIODevice::WriteOnly));
    current.close();
    const QString program = m_home.filePath(QStringLiteral("bin/pennart"));
    QDir().mkpath(QFileInfo(program).absolutePath());
    QFile other(program);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    const QString folder = m_home.filePath(QStringLiteral("Kepek2"));
    QDir().mkpath(folder);

    QStringList filters;
    QString startFolder;
    WhenModal<Tfrm_Beallit>([&](Tfrm_Beallit* w) {
        Child<QTabWidget>(w, "PageControl1")->setCurrentIndex(2);
        WhenModal<QFileDialog>([&](QFileDialog* chooser) {
            filters = chooser->nameFilters();
            startFolder = chooser->directory().absolutePath();
            chooser->selectNameFilter(filters.value(1));
            chooser->selectFile(program);
            static_cast<QDialog*>(chooser)->accept(); // QFileDialog keeps its override protected
        });
        QTest::mouseClick(Child<QPushButton>(w, "PennartBrowse"), Qt::LeftButton);
        EXPECT_EQ(Child<QLineEdit>(w, "Pennart")->text(), program);

        Child<QTabWidget>(w, "PageControl1")->setCurrentIndex(3);
        WhenModal<QFileDialog>([&](QFileDialog* chooser) {
            EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
            EXPECT_EQ(chooser->directory().absolutePath(), Beall().kepek) << "starts in the current folder";
            chooser->setDirectory(folder);
            static_cast<QDialog*>(chooser)->accept(); // QFileDialog keeps its override protected
        });
        QTest::mouseClick(Child<QPushButton>(w, "KepekBrowse"), Qt::LeftButton);
        EXPECT_EQ(Child<QLineEdit>(w, "Kepek")->text(), folder);
        QTest::mouseClick(Child<QPushButton>(w, "btnOK"), Qt::LeftButton);
    });

    EXPECT_TRUE(EditSettings());
    EXPECT_EQ(filters,
              (QStringList{QStringLiteral("Pennart (Pennart.exe)"), QStringLiteral("Minden fájl (*)")}));
    EXPECT_EQ(startFolder, m_home.path());
    EXPECT_EQ(Beall().pennart, program);
    EXPECT_EQ(Beall().kepek, folder);
}

} // namespace
} // namespace kml
