// The website windows for real, offscreen: visitors' messages holding HTML
// shown literally in the list and the message view (with screenshots), the
// filters and acknowledging from the window, empty lists that run nothing
// and never touch the placeholder row, the web text editor's key check and
// its HTML text kept exactly, moving a slide from the intro list, and the
// main window's website actions.

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/DatasetModel.h"
#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "gui/ModalDriver.h"
#include "gui/WindowTesting.h"
#include "patterns/MainRoutes.h"
#include "shell/MainSession.h"
#include "shell/gui/Windows.h"
#include "website/WebContent.h"
#include "website/WebMessages.h"
#include "website/WebsiteWindows.h"
#include "website/gui/Tfrm_TorzsBanner_Szerkeszt.h"
#include "website/gui/Tfrm_TorzsWebIntro.h"
#include "website/gui/Tfrm_TorzsWebSzoveg.h"
#include "website/gui/Tfrm_TorzsWebSzoveg_Szerkeszt.h"
#include "website/gui/Tfrm_WebUzenet.h"
#include "website/gui/Tfrm_WebUzenet_Mutat.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;
using test::WhenModal;

const QString kHtmlName = QStringLiteral("<b>Vastag</b> Péter");
const QString kHtmlMessage = QStringLiteral("Nézze meg: <a href=\"http://csalo.example/\">ide</a>\n"
                                            "<script>alert('x')</script> <b>sürgős</b>");

// No label of the window shows the visitor's text (as rich text or at all).
void NoLabelShows(QWidget* window, const QString& text) {
    for (const QLabel* label : window->findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("Vastag")) || label->text().contains(text))
            << label->objectName().toStdString();
}

class WebWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        s_db = new TestDatabase(QStringLiteral("webwindows"));
        ExecSql(QStringLiteral(
            "INSERT INTO felhasznalo (felhasznalo, felhasznalo_nev) VALUES ('iroda', 'Iroda');"));
        ExecSql(
            QStringLiteral("INSERT INTO webuzenet (webuzenet, ugyfel_nev, telefon, emil, uzenet, rogzdat) "
                           "VALUES (7, ") +
            SqlStr(kHtmlName) + QStringLiteral(", '+36 30 123 4567', '<i>x</i>@pelda.hu', ") +
            SqlStr(kHtmlMessage) + QStringLiteral(", '2026-03-01 10:20:00');"));
        ExecSql(QStringLiteral(
            "INSERT INTO webuzenet (webuzenet, ugyfel_nev, rogzdat, nyugtazva, felh_nyugtazva) "
            "VALUES (6, 'Régi Rita', '2026-02-01', '2026-02-02', 'iroda');"));
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(m_data.isValid());
        SetDataFolder(m_data.path());
        SetIniFilePath(m_data.filePath("KoravelML.ini"));
        Beall() = TBeall{};
        Beall().torzsszerkeszt = true;
        Beall().felhasznalo = QStringLiteral("iroda");
        Beall().kepek = m_data.filePath("Kepek");
    }
    void TearDown() override { Beall() = TBeall{}; }

    static inline TestDatabase* s_db = nullptr;
    QTemporaryDir m_data;
};

TEST_F(WebWindows, VisitorsHtmlIsShownAsPlainText) {
    bool viewed = false;
    WhenModal<Tfrm_WebUzenet>([&viewed](Tfrm_WebUzenet* w) {
        // Opened on a message: every message, on that one.
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Üzenetek"));
        EXPECT_TRUE(w->listAction(QStringLiteral("aSzur1"))->isChecked());
        EXPECT_FALSE(w->listAction(QStringLiteral("aSzur0"))->isChecked());
        EXPECT_EQ(w->currentKey(), 7);
        EXPECT_EQ(w->memoBox()->toPlainText(), kHtmlMessage);
        const int nameColumn = w->model()->columnOfField(QStringLiteral("ugyfel_nev"));
        EXPECT_EQ(w->model()->data(w->model()->index(w->list().query().recNo() - 1, nameColumn)).toString(),
                  kHtmlName);
        NoLabelShows(w, kHtmlMessage);
        test::SaveScreenshot(w, QStringLiteral("web/Tfrm_WebUzenet.png"));

        WhenModal<Tfrm_WebUzenet_Mutat>([&viewed](Tfrm_WebUzenet_Mutat* view) {
            viewed = true;
            EXPECT_EQ(view->windowTitle(), QStringLiteral("Üzenet"));
            EXPECT_EQ(view->messageText()->toPlainText(), kHtmlMessage);
            EXPECT_EQ(view->sender()->text(), kHtmlName);
            EXPECT_EQ(view->font().pointSize(), WindowFontSize() + 1);
            NoLabelShows(view, kHtmlMessage);
            test::SaveScreenshot(view, QStringLiteral("web/Tfrm_WebUzenet_Mutat.png"));
            view->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        });
        w->listAction(QStringLiteral("aMegnyit"))->trigger();

        // "Csak aktívak" leaves out the acknowledged message 6.
        w->listAction(QStringLiteral("aSzur0"))->trigger();
        EXPECT_TRUE(w->listAction(QStringLiteral("aSzur0"))->isChecked());
        EXPECT_EQ(w->list().rowCount(), 1);
        w->listAction(QStringLiteral("aSzur1"))->trigger();
        EXPECT_EQ(w->list().rowCount(), 2);
        w->reject();
    });
    OpenWebMessages(7);
    EXPECT_TRUE(viewed);
}

TEST_F(WebWindows, AcknowledgingFromTheList) {
    ExecSql(QStringLiteral("INSERT INTO webuzenet (webuzenet, ugyfel_nev) VALUES (30, 'Nyugtázandó');"));
    ScriptedDialogs dialogs;
    WhenModal<Tfrm_WebUzenet>([](Tfrm_WebUzenet* w) {
        EXPECT_TRUE(w->listAction(QStringLiteral("aSzur0"))->isChecked());
        ASSERT_TRUE(w->list().locate(30));
        w->listAction(QStringLiteral("aNyugtaz"))->trigger();
        // Gone from the active ones, acknowledged by the user.
        EXPECT_FALSE(w->list().locate(30));
        w->reject();
    });
    OpenWebMessages(std::nullopt);
    EXPECT_TRUE(dialogs.calls().empty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT felh_nyugtazva FROM webuzenet WHERE webuzenet = 30;")),
              QStringLiteral("iroda"));
    ExecSql(QStringLiteral("DELETE FROM webuzenet WHERE webuzenet = 30;"));
}

TEST_F(WebWindows, EmptyListsRunNothing) {
    ExecSql(QStringLiteral("DELETE FROM web_szoveg;"));
    ExecSql(QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_AUTO_VALUE_ON_ZERO');"));
    ExecSql(
        QStringLiteral("INSERT INTO web_szoveg (web_szoveg, kulcs, cim) VALUES (0, '', ''), (1, 'rolunk', "
                       "'Rólunk');"));
    ExecSql(QStringLiteral("SET SESSION sql_mode = REPLACE(@@sql_mode, 'NO_AUTO_VALUE_ON_ZERO', '');"));
    ExecSql(QStringLiteral("DELETE FROM webintro;"));
    ExecSql(QStringLiteral("INSERT INTO webintro (webintro, webintro_nev) VALUES (1, 'Egy'), (2, 'Kettő');"));

    ScriptedWindows windows;
    windows.script(EditWebText).script(EditIntroSlide);
    {
        ScriptedDialogs dialogs;
        Tfrm_TorzsWebSzoveg texts;
        texts.openAt(std::nullopt);
        EXPECT_EQ(texts.list().rowCount(), 1); // the placeholder is not listed
        texts.searchBox()->setText(QStringLiteral("nincsilyenszoveg"));
        ASSERT_FALSE(texts.hasCurrentRow());
        for (const char* action : {"aSzerkeszt", "aTorol"})
            texts.listAction(QLatin1String(action))->trigger();
        EXPECT_EQ(dialogs.texts(), QStringList({list_text::NoRowSelected, list_text::NoRowSelected}));
    }
    {
        ScriptedDialogs dialogs;
        Tfrm_TorzsWebIntro intro;
        intro.openAt(std::nullopt);
        intro.searchBox()->setText(QStringLiteral("nincsilyendia"));
        ASSERT_FALSE(intro.hasCurrentRow());
        for (const char* action : {"aFeljebb", "aLejjebb", "aSzerkeszt", "aTorol"})
            intro.listAction(QLatin1String(action))->trigger();
        EXPECT_EQ(dialogs.calls().size(), 4u);
    }
    EXPECT_TRUE(windows.calls().empty());
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM web_szoveg WHERE web_szoveg = 0;")), 1);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT GROUP_CONCAT(webintro ORDER BY webintro) FROM webintro;")),
              QStringLiteral("1,2"));
}

TEST_F(WebWindows, IntroListMovesTheCurrentSlide) {
    ExecSql(QStringLiteral("DELETE FROM webintro;"));
    ExecSql(QStringLiteral("INSERT INTO webintro (webintro, webintro_nev, szoveg) VALUES (1, 'Egy', 'első'), "
                           "(2, 'Kettő', 'második'), (3, 'Három', NULL);"));
    ScriptedDialogs dialogs;
    Tfrm_TorzsWebIntro intro;
    intro.openAt(3);
    intro.show();
    intro.listAction(QStringLiteral("aFeljebb"))->trigger();
    EXPECT_EQ(intro.currentKey(), 2);
    EXPECT_EQ(intro.currentValue(QStringLiteral("webintro_nev")).toString(), QStringLiteral("Három"));
    intro.listAction(QStringLiteral("aLejjebb"))->trigger();
    intro.listAction(QStringLiteral("aLejjebb"))->trigger(); // the last one: nothing
    EXPECT_EQ(intro.currentKey(), 3);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT GROUP_CONCAT(webintro_nev ORDER BY webintro) FROM webintro;")),
              QString::fromUtf8("Egy,Kettő,Három"));
    EXPECT_TRUE(dialogs.calls().empty()) << dialogs.texts().join('|').toStdString();
    test::SaveScreenshot(&intro, QStringLiteral("web/Tfrm_TorzsWebIntro.png"));

    // Without the right to maintain, the slides can only be looked at.
    Beall().torzsszerkeszt = false;
    Tfrm_TorzsWebIntro readOnly;
    readOnly.openAt(std::nullopt);
    readOnly.show();
    for (const char* action : {"aUj", "aSzerkeszt", "aTorol", "aFeljebb", "aLejjebb"})
        EXPECT_FALSE(readOnly.listAction(QLatin1String(action))->isVisible()) << action;
}

TEST_F(WebWindows, WebTextEditorNeedsAKeyAndKeepsTheHtml) {
    const QString html = QString::fromUtf8("<p>„Árvíztűrő” – 100 € Š ś ť ž</p>\n<ul><li>egy</li></ul>");
    ScriptedDialogs dialogs;
    WhenModal<Tfrm_TorzsWebSzoveg_Szerkeszt>([&html](Tfrm_TorzsWebSzoveg_Szerkeszt* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Web szöveg szerkesztés"));
        auto* html_ = w->findChild<QCheckBox*>(QStringLiteral("DBCheckBox1"));
        EXPECT_FALSE(html_->isChecked());
        w->body()->setText(html);
        // OK without a key: the message, and the window stays with the text.
        w->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->body()->text(), html);
        html_->click();
        QTest::keyClicks(w->findChild<QLineEdit*>(QStringLiteral("DBEdit1")), QStringLiteral("akcio"));
        test::SaveScreenshot(w, QStringLiteral("web/Tfrm_TorzsWebSzoveg_Szerkeszt.png"));
        w->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    const std::optional<qlonglong> saved = EditWebText(std::nullopt);
    ASSERT_TRUE(saved);
    EXPECT_EQ(dialogs.texts(), QStringList({web_text::KeyRequired}));
    EXPECT_EQ(QueryStr(QStringLiteral(
                           "SELECT CONCAT(kulcs, ezhtml, ezfooter) FROM web_szoveg WHERE web_szoveg = %1;")
                           .arg(*saved)),
              QStringLiteral("akcioIN"));

    WhenModal<Tfrm_TorzsWebSzoveg_Szerkeszt>([&html](Tfrm_TorzsWebSzoveg_Szerkeszt* w) {
        EXPECT_EQ(w->body()->text(), html);
        w->reject();
    });
    EXPECT_FALSE(EditWebText(*saved));
}

TEST_F(WebWindows, BannerEditorLooks) {
    Tfrm_TorzsBanner_Szerkeszt w;
    w.startNew();
    w.show();
    const QLabel* note = w.findChild<QLabel*>(QStringLiteral("Label4"));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), web_text::BannerSizeNote);
    test::SaveScreenshot(&w, QStringLiteral("web/Tfrm_TorzsBanner_Szerkeszt.png"));
    w.reject();
}

TEST(WebsiteRoutes, TheMainWindowOpensEveryWebsiteWindow) {
    MainRoutes routes;
    RegisterMainRoutes(routes);
    EXPECT_TRUE(routes.unknownActions().empty());
    for (const char* action : {"aWebSzoveg", "aWebBanner", "aWebIntro", "aWebUzenet"})
        EXPECT_NE(routes.handler(QLatin1String(action), MainTab::Customers), nullptr) << action;

    ScriptedWindows windows;
    windows.answer(OpenWebTextList, std::nullopt)
        .act(OpenBannerList, [] {})
        .answer(OpenIntroList, std::nullopt)
        .act(OpenWebMessages, [](std::optional<qlonglong>) {});
    struct NoMain final : MainContext {
        MainTab currentTab() const override { return MainTab::WorkSheets; }
        int statusTab() const override { return 0; }
        ListController& list(MainTab) override { throw std::logic_error("no list"); }
        ListController& detail(MainDetail) override { throw std::logic_error("no detail"); }
    } main;
    for (const char* action : {"aWebSzoveg", "aWebBanner", "aWebIntro", "aWebUzenet"})
        (*routes.handler(QLatin1String(action), MainTab::WorkSheets))(main);
    ASSERT_EQ(windows.calls().size(), 4u);
    EXPECT_EQ(windows.calls("OpenWebTextList").at(0).args.at(1).toBool(), false);
    EXPECT_EQ(windows.calls("OpenIntroList").at(0).args.at(1).toBool(), false);
}

} // namespace
} // namespace kml
