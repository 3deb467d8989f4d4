// The SQL console, the work-sheet browsers and the notes windows, offscreen
// on the demo shop: what they show, what they refuse, and a screenshot of
// each under build/screenshots.
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "admin/ConsoleTable.h"
#include "admin/SqlConsole.h"
#include "admin/gui/Tfrm_SQL.h"
#include "components/Cp1250.h"
#include "components/Query.h"
#include "foundation/Settings.h"
#include "foundation/gui/PictureView.h"
#include "gui/WindowTesting.h"
#include "shell/MainActions.h"
#include "shell/MainSession.h"
#include "worksheets/Notes.h"
#include "worksheets/WorkSheetWindows.h"
#include "worksheets/gui/Tfrm_Megjegyzes.h"
#include "worksheets/gui/Tfrm_Megjegyzes_Szerkeszt.h"
#include "worksheets/gui/Tfrm_MunkalapBongeszo.h"
#include "worksheets/gui/Tfrm_MunkalapBongeszo2.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

using namespace kml;
using kml::test::TestDatabase;

namespace {

class ConsoleHistoryWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("consolewin"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        m_saved = Beall();
        Beall().rendszergazda = true;
    }
    void TearDown() override { Beall() = m_saved; }

    static int Count(const QString& sql) { return s_db->connection().query(sql).text(0, 0).toInt(); }

    static inline TestDatabase* s_db = nullptr;
    TBeall m_saved;
};

} // namespace

TEST_F(ConsoleHistoryWindows, MainWindowActionsReachTheWindows) {
    MainRoutes routes;
    RegisterMainRoutes(routes);
    for (const char* action : {"aSQL", "aMlapjai", "aMegjegyzes"})
        for (MainTab tab : {MainTab::WorkSheets, MainTab::Customers, MainTab::Devices})
            EXPECT_TRUE(ActionReady(MainActionByName(QString::fromLatin1(action)), tab, routes)) << action;
    EXPECT_TRUE(ActionReady(MainActionByName(QStringLiteral("aAnyagok")), MainTab::Devices, routes));

    // Only administrators get the console.
    Beall().rendszergazda = false;
    ScriptedDialogs dialogs;
    ScriptedWindows windows;
    windows.script(OpenSqlConsole);
    RunSqlConsole();
    EXPECT_EQ(dialogs.lastCall().text, NoRightMessage);
}

TEST_F(ConsoleHistoryWindows, ConsoleShowsResultsRunsScriptsAndEditsTables) {
    ScriptedDialogs dialogs;
    Tfrm_SQL w;
    w.show();
    ASSERT_TRUE(test::Activate(&w));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("SQL lekérdezés"));
    EXPECT_EQ(w.editor()->tabWidth(), 2);

    // A query: its rows stream into the grid on the result page.
    w.editor()->setText(
        QStringLiteral("  select munkalapstr, ugyfel_nev, statusz_nev, ar_fizetendo from vw_munkalap"));
    w.runText();
    ASSERT_TRUE(w.waitForResult());
    ASSERT_NE(w.shownResult(), nullptr);
    EXPECT_EQ(w.shownResult()->recordCount(), Count(QStringLiteral("SELECT COUNT(*) FROM vw_munkalap")));
    EXPECT_EQ(w.pages()->currentIndex(), 1);
    EXPECT_EQ(w.resultGrid()->columnWidth(0), 100);
    EXPECT_TRUE(w.action(QStringLiteral("aExport"))->isEnabled());
    EXPECT_TRUE(w.counter()->text().startsWith(QString::number(w.shownResult()->recordCount()) + u':'));
    test::SaveScreenshot(&w, QStringLiteral("console.png"));

    // A bad query: the error, and the previous result stays.
    Query* before = w.shownResult();
    w.editor()->setText(QStringLiteral("SELECT * FROM no_such_table"));
    w.runText();
    w.waitForResult();
    QTest::qWait(50);
    EXPECT_TRUE(dialogs.lastCall().text.startsWith(console_text::QueryErrorPrefix));
    EXPECT_EQ(w.shownResult(), before);
    EXPECT_GT(w.shownResult()->recordCount(), 0);

    // "Eredmény" on a statement without rows: the rows it changed.
    w.editor()->setText(
        QStringLiteral("UPDATE ugyfel SET ugyfel_nev = ugyfel_nev WHERE ugyfel = -5;\nSELECT 1;"));
    w.showFirstResult();
    for (int i = 0; i < 200 && dialogs.lastCall().text != console_text::RowsChanged.arg(0); ++i)
        QTest::qWait(10);
    EXPECT_EQ(dialogs.lastCall().text, console_text::RowsChanged.arg(0));

    // While a script runs the actions are off and the window stays open.
    bool refused = false;
    bool actionsOff = false;
    QTimer::singleShot(20, &w, [&] {
        actionsOff = !w.action(QStringLiteral("aFuttat"))->isEnabled() && w.isRunning();
        w.reject();
        refused = w.isVisible();
    });
    w.editor()->setText(QStringLiteral("DO SLEEP(0.1);\nDO SLEEP(0.1);\nDO SLEEP(0.1);"));
    w.runText();
    EXPECT_TRUE(actionsOff);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(dialogs.texts().contains(console_text::Running));
    EXPECT_EQ(dialogs.lastCall().text, console_text::ScriptDone);
    EXPECT_TRUE(w.action(QStringLiteral("aFuttat"))->isEnabled());

    // Table mode: without ":" a message; with a table an editable grid.
    w.editor()->setText(QStringLiteral("table megj"));
    w.runText();
    EXPECT_EQ(dialogs.lastCall().text, console_text::NoTableName);
    w.editor()->setText(QStringLiteral("table: mlaptipus"));
    w.runText();
    ASSERT_NE(w.tableModel(), nullptr);
    EXPECT_TRUE(w.tableModel()->isEditable());
    EXPECT_EQ(w.resultGrid()->model(), w.tableModel());
    EXPECT_EQ(w.tableModel()->rowCount(), Count(QStringLiteral("SELECT COUNT(*) FROM mlaptipus")));

    // The editor's text goes to a file in cp1250 and comes back.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("proba.sql"));
    w.editor()->setText(QString::fromUtf8("SELECT 'Árvíztűrő – €';"));
    w.saveFile(file);
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), ToCp1250(QString::fromUtf8("SELECT 'Árvíztűrő – €';")));
    w.editor()->clear();
    w.loadFile(file);
    EXPECT_EQ(w.editor()->text(), QString::fromUtf8("SELECT 'Árvíztűrő – €';"));
    EXPECT_EQ(w.fileName(), file);
    w.reject();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(ConsoleHistoryWindows, BrowsersShowHistoryAndRefuseOnEmptyLists) {
    const int customer = Count(QStringLiteral("SELECT ugyfel FROM munkalap WHERE ugyfel > 0 GROUP BY ugyfel "
                                              "ORDER BY COUNT(*) DESC, ugyfel LIMIT 1"));
    ScriptedDialogs dialogs;
    ScriptedWindows windows;
    windows.script(EditWorkSheet);
    {
        Tfrm_MunkalapBongeszo w(customer, -1);
        w.openAt(std::nullopt);
        w.show();
        ASSERT_TRUE(test::Activate(&w));
        EXPECT_EQ(w.query().recordCount(),
                  Count(QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE ugyfel = %1").arg(customer)));
        EXPECT_TRUE(w.heading()->text().endsWith(QStringLiteral("  ")));
        test::SaveScreenshot(&w, QStringLiteral("browser-sheets.png"));
        // Nothing found: F2 and Ctrl+P say so and run nothing.
        w.searchBox()->setText(QStringLiteral("nincs ilyen szöveg sehol"));
        ASSERT_EQ(w.query().recordCount(), 0);
        w.listAction(QStringLiteral("aMegnyit"))->trigger();
        EXPECT_EQ(dialogs.lastCall().text, list_text::NoRowSelected);
        w.listAction(QStringLiteral("aNyomtat"))->trigger();
        EXPECT_EQ(dialogs.lastCall().text, list_text::NoRowSelected);
        EXPECT_TRUE(windows.calls().empty());
        w.reject();
    }
    const int device = Count(QStringLiteral(
        "SELECT m.keszulek FROM munkalap m JOIN munkalap_tetel t ON t.munkalap = m.munkalap WHERE m.keszulek "
        "> 0 "
        "GROUP BY m.keszulek HAVING COUNT(DISTINCT m.munkalap) > 1 ORDER BY COUNT(*) DESC LIMIT 1"));
    ASSERT_GT(device, 0);
    Tfrm_MunkalapBongeszo2 items(device);
    items.openAt(std::nullopt);
    items.show();
    ASSERT_TRUE(test::Activate(&items));
    EXPECT_GT(items.query().recordCount(), 1);
    test::SaveScreenshot(&items, QStringLiteral("browser-items.png"));
    items.reject();
}

TEST_F(ConsoleHistoryWindows, NotesPreviewPicturesAndRefuseBadLinks) {
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("foto.JPG"));
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(QColor(0x30, 0x70, 0xB0));
    QPainter(&image).fillRect(40, 40, 120, 80, Qt::yellow);
    ASSERT_TRUE(image.save(picture, "JPG"));
    const int customer = Count(QStringLiteral("SELECT MIN(ugyfel) FROM ugyfel WHERE ugyfel > 0"));
    Connection& c = s_db->connection();
    c.exec(QStringLiteral("INSERT INTO megj (id, megjtipus, rovid, megjegyzes, felhasznalo, link) VALUES "
                          "(%1, 1, 'Régi javítás', 'Szöveg nélkül.', 'anna', ''), "
                          "(%1, 1, 'Fénykép a hibáról', 'A kazán alja rozsdás.', 'béla', %2)")
               .arg(customer)
               .arg(QuoteSqlText(picture)));

    ScriptedDialogs dialogs;
    Tfrm_Megjegyzes w(customer, 1);
    w.openAt(std::nullopt);
    w.show();
    ASSERT_TRUE(test::Activate(&w));
    ASSERT_EQ(w.query().recordCount(), 2);
    EXPECT_EQ(w.noteText()->toPlainText(), QString::fromUtf8("A kazán alja rozsdás."));
    EXPECT_FALSE(w.preview()->showsPlaceholder());
    test::SaveScreenshot(&w, QStringLiteral("notes.png"));
    w.query().moveTo(1);
    EXPECT_TRUE(w.preview()->showsPlaceholder());
    w.listAction(QStringLiteral("aMegnez"))->trigger();
    EXPECT_EQ(dialogs.lastCall().text, note_text::NoAttachment);
    w.reject();

    // The editor refuses a path the database cannot keep, at OK.
    Tfrm_Megjegyzes_Szerkeszt editor(-1, 1, customer);
    editor.show();
    editor.titleEdit()->setText(QStringLiteral("Új"));
    editor.linkEdit()->setText(QLatin1Char('/') + QString(160, QLatin1Char('x')));
    EXPECT_FALSE(editor.accept_());
    EXPECT_EQ(dialogs.lastCall().text, note_text::LinkTooLong);
    editor.linkEdit()->setText(QString::fromUtf8("/srv/Фото.jpg"));
    EXPECT_FALSE(editor.accept_());
    EXPECT_TRUE(editor.isVisible());
    editor.linkEdit()->setText(picture);
    EXPECT_TRUE(editor.accept_());
    EXPECT_GT(editor.savedNote(), 0);
    EXPECT_EQ(
        c.query(QStringLiteral("SELECT link FROM megj WHERE megj = %1").arg(editor.savedNote())).text(0, 0),
        picture);
}
