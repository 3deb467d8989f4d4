// The administration windows offscreen: the database list stores what it
// shows in the order it shows it, masks passwords, refuses ";" and a 101st
// entry, tests on its own connection, backs up and restores with the window
// answering but closed to other work; the users window and its editor.

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "admin/DatabaseList.h"
#include "admin/gui/Tfrm_Adatbazis.h"
#include "admin/gui/Tfrm_Felhasznalo.h"
#include "foundation/IniFile.h"
#include "gui/ModalDriver.h"
#include "gui/WindowTesting.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

ConnectionEntry EntryOf(const TestDatabase& db, const QString& name) {
    const ConnectionOptions o = db.options();
    return {db.name(), o.host, QString::number(o.port), o.user, o.password, name};
}

class DatabaseListWindow : public ::testing::Test {
protected:
    void SetUp() override { SetIniFilePath(m_dir.filePath("KoravelML.ini")); }
    void TearDown() override {
        SetIniFilePath({});
        AskBackupFile.replace({});
    }
    QTemporaryDir m_dir;
};

TEST_F(DatabaseListWindow, SortedListIsStoredInItsOrderWithPasswordsMasked) {
    WriteConnectionEntries({{"a", "zeta", "3306", "u", "titok1", "Első"},
                            {"b", "alfa", "3307", "u", "", "Második"},
                            {"c", "mu", "3308", "u", "titok3", "Harmadik"}});
    IniWriteStr(DatabaseListSection, DumpProgramKey, "/usr/bin/mariadb-dump");
    ScriptedDialogs dialogs;
    {
        Tfrm_Adatbazis window(true, false);
        EXPECT_EQ(window.windowTitle(), "Tárhelyek");
        EXPECT_EQ(window.dumpPathBox()->text(), "/usr/bin/mariadb-dump");
        EXPECT_FALSE(window.action("aValaszt")->isVisible());
        QStandardItemModel* m = window.model();
        EXPECT_EQ(m->headerData(Tfrm_Adatbazis::ColPassword, Qt::Horizontal).toString(), "Jelszó");
        for (int r = 0; r < m->rowCount(); ++r)
            EXPECT_FALSE(m->item(r, Tfrm_Adatbazis::ColPassword)->text().contains("titok"));
        window.show();
        window.sortByColumn(Tfrm_Adatbazis::ColHost);
        test::SaveScreenshot(&window, "Tfrm_Adatbazis.png");
        window.dumpPathBox()->setText("/opt/mariadb-dump");
        window.action("aBezar")->trigger();
    }
    const std::vector<ConnectionEntry> stored = ReadConnectionEntries();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].host, "alfa");
    EXPECT_EQ(stored[1].host, "mu");
    EXPECT_EQ(stored[2].host, "zeta");
    EXPECT_EQ(stored[2].password, "titok1");
    EXPECT_EQ(IniReadStr(DatabaseListSection, DumpProgramKey), "/opt/mariadb-dump");
}

TEST_F(DatabaseListWindow, EditorRefusesSemicolonsAndTheListA101stEntry) {
    ScriptedDialogs dialogs;
    Tfrm_Adatbazis_Szerkeszt editor(ConnectionEntry{"db", "h", "3306", "u", "p", "n"});
    EXPECT_EQ(editor.windowTitle(), "Tárhely");
    EXPECT_EQ(editor.passwordBox()->echoMode(), QLineEdit::Password);
    editor.togglePasswordMask();
    EXPECT_EQ(editor.passwordBox()->echoMode(), QLineEdit::Normal);
    editor.togglePasswordMask();
    EXPECT_EQ(editor.passwordBox()->echoMode(), QLineEdit::Password);
    editor.passwordBox()->setText("ti;tok");
    editor.accept();
    EXPECT_EQ(editor.result(), QDialog::Rejected);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Error);
    editor.passwordBox()->setText("titok");
    editor.accept();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(editor.entry().password, "titok");

    WriteConnectionEntries(
        std::vector<ConnectionEntry>(100, ConnectionEntry{"db", "h", "3306", "u", "p", "n"}));
    Tfrm_Adatbazis window(true, true);
    dialogs.clear();
    window.addEntry();
    EXPECT_EQ(dialogs.lastCall().text, "Legfeljebb 100 tárhely tárolható.");
    EXPECT_EQ(window.model()->rowCount(), 100);
    // "Választ" hands back the entry text and closes.
    window.grid()->setCurrentIndex(window.model()->index(3, 0));
    window.chooseEntry();
    EXPECT_EQ(window.chosenEntry(), "db;h;3306;u;p;n;");
}

TEST_F(DatabaseListWindow, TestBackupAndRestoreOnTheWindowsOwnConnection) {
    TestDatabase shop(QStringLiteral("uibackup"), TestDatabase::Contents::Demo);
    TestDatabase bare(QStringLiteral("uibare"), TestDatabase::Contents::Empty);
    TestDatabase target(QStringLiteral("uitarget"), TestDatabase::Contents::Schema);
    WriteConnectionEntries({EntryOf(shop, "Bolt"), EntryOf(bare, "Üres"), EntryOf(target, "Cél")});
    ScriptedDialogs dialogs;
    Tfrm_Adatbazis window(true, false);
    window.show();

    window.grid()->setCurrentIndex(window.model()->index(1, 0));
    window.testEntry();
    EXPECT_TRUE(dialogs.lastCall().text.startsWith("Hiba: ")) << dialogs.lastCall().text.toStdString();
    window.grid()->setCurrentIndex(window.model()->index(0, 0));
    window.testEntry();
    EXPECT_EQ(dialogs.lastCall().text, "Kapcsolat vizsgálata sikeres");
    EXPECT_EQ(window.model()->item(0, Tfrm_Adatbazis::ColVersion)->text(), "24.0.0.111");

    // While the backup runs the window answers, its actions are off and it refuses to close.
    const QString file = m_dir.filePath("bolt.zip");
    AskBackupFile.replace([&](const FileRequest& request) {
        if (request.save)
            EXPECT_TRUE(request.proposed.startsWith(shop.name() + "-")) << request.proposed.toStdString();
        return file;
    });
    int progressSeen = 0;
    bool refusedClose = false, actionsOff = false;
    QObject::connect(window.progressBar(), &QProgressBar::valueChanged, [&] {
        ++progressSeen;
        if (window.isBusy() && !refusedClose) {
            actionsOff = !window.action("aBackup")->isEnabled() && !window.action("aBezar")->isEnabled();
            window.reject();
            refusedClose = window.isVisible();
        }
    });
    window.dataBackup();
    EXPECT_TRUE(refusedClose);
    EXPECT_TRUE(actionsOff);
    EXPECT_GT(progressSeen, 0);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_TRUE(dialogs.lastCall().text.startsWith("A biztonsági mentés elkészült"))
        << dialogs.lastCall().text.toStdString();
    EXPECT_TRUE(window.action("aBackup")->isEnabled());

    // Restore into the third entry after a question naming it.
    window.grid()->setCurrentIndex(window.model()->index(2, 0));
    dialogs.clear();
    dialogs.answer(DialogAnswer::Yes);
    window.restoreBackup();
    ASSERT_GE(dialogs.calls().size(), 2u);
    EXPECT_TRUE(dialogs.calls()[0].text.contains(target.name()));
    EXPECT_EQ(dialogs.lastCall().text, "A visszatöltés kész.");
    EXPECT_EQ(target.connection().query("SELECT COUNT(*) FROM munkalap").text(0, 0),
              shop.connection().query("SELECT COUNT(*) FROM munkalap").text(0, 0));
    // "Nem" restores nothing.
    target.connection().exec("DELETE FROM munkalap");
    dialogs.answer(DialogAnswer::No);
    window.restoreBackup();
    EXPECT_EQ(target.connection().query("SELECT COUNT(*) FROM munkalap").text(0, 0), "0");
    window.action("aBezar")->trigger();
    EXPECT_FALSE(window.isVisible());
}

TEST(UsersWindow, NewUserGetsAnInitialPasswordShownOnceAndDuplicatesStayOpen) {
    TestDatabase db(QStringLiteral("uiusers"));
    db.connection().exec("DELETE FROM felhasznalo");
    db.connection().exec(
        "INSERT INTO felhasznalo (felhasznalo, felhasznalo_nev, rendszergazda, torzsszerkeszt) VALUES "
        "('admin', 'Admin', 'I', 'i')");
    ScriptedDialogs dialogs;
    Tfrm_Felhasznalo list(db.connection());
    EXPECT_EQ(list.windowTitle(), "Felhasználók adatai");
    ASSERT_EQ(list.model()->rowCount(), 1);
    EXPECT_EQ(list.counter()->text(), "1: 1");

    QString shown;
    test::WhenModal<Tfrm_FelhasznaloSzerkeszt>([&](Tfrm_FelhasznaloSzerkeszt* editor) {
        shown = editor->passwordLabel()->text();
        editor->codeBox()->setText("ADMIN ");
        editor->accept(); // a duplicate: the editor stays open
        EXPECT_TRUE(editor->isVisible());
        editor->codeBox()->setText("pult");
        editor->rightBox(2)->setChecked(true);
        test::SaveScreenshot(editor, "Tfrm_FelhasznaloSzerkeszt.png");
        editor->accept();
    });
    EXPECT_TRUE(list.EditUser(true));
    EXPECT_EQ(shown.size(), 10);
    EXPECT_EQ(dialogs.texts(), QStringList{IncompleteUserMessage});
    EXPECT_EQ(list.currentCode(), "pult");
    EXPECT_EQ(db.connection()
                  .query(QStringLiteral(
                             "SELECT jelszomd5 = MD5(%1), nyomtathat FROM felhasznalo WHERE felhasznalo = "
                             "'pult'")
                             .arg("'" + shown + "'"))
                  .text(0, 0),
              "1");

    // "Visszaállítás" then "Mégsem" keeps the old password.
    const QString before =
        db.connection().query("SELECT jelszomd5 FROM felhasznalo WHERE felhasznalo = 'pult'").text(0, 0);
    test::WhenModal<Tfrm_FelhasznaloSzerkeszt>([&](Tfrm_FelhasznaloSzerkeszt* editor) {
        EXPECT_TRUE(editor->passwordLabel()->text().isEmpty());
        editor->resetPassword();
        EXPECT_FALSE(editor->passwordLabel()->text().isEmpty());
        editor->reject();
    });
    EXPECT_FALSE(list.EditUser(false));
    EXPECT_EQ(
        db.connection().query("SELECT jelszomd5 FROM felhasznalo WHERE felhasznalo = 'pult'").text(0, 0),
        before);

    // The last administrator cannot be deleted.
    list.moveTo("admin");
    dialogs.clear();
    dialogs.answer(DialogAnswer::Yes);
    list.deleteUser();
    EXPECT_EQ(dialogs.lastCall().text, LastAdministratorMessage);
    EXPECT_EQ(list.model()->rowCount(), 2);
}

} // namespace
} // namespace kml
