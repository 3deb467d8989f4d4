// The main window started for real against a test database, offscreen; the
// start-up windows; the splash; the window names the error handler reports.

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "shell/AppError.h"
#include "shell/StartupWindows.h"
#include "shell/gui/ShellWidgets.h"
#include "shell/gui/Tfrm_AdatbazisNyit.h"
#include "shell/gui/Tfrm_Init.h"
#include "shell/gui/Tfrm_Login.h"
#include "shell/gui/Tfrm_Logo.h"
#include "shell/gui/Tfrm_Main.h"
#include "shell/gui/Windows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

// The demo shop when it is there, otherwise the schema with two work sheets.
TestDatabase* MakeShop() {
    const bool demo = QFile::exists(test::SourcePath(QStringLiteral("db/demo.sql")));
    auto* db = new TestDatabase(QStringLiteral("mainwindow"),
                                demo ? TestDatabase::Contents::Demo : TestDatabase::Contents::Schema);
    if (!demo) {
        Connection& c = db->connection();
        c.exec(
            QStringLiteral("INSERT INTO ugyfel (ugyfel_nev, telefon, torolve) VALUES ('Kovács Anna', '+36 30 "
                           "123 4567', 'N');"));
        const QString customer = QString::number(c.lastInsertId());
        for (int i = 0; i < 2; ++i)
            c.exec(QStringLiteral("CALL sp_ujmunkalap(%1, 1, 0, 'rendszergazda');").arg(customer));
        c.exec(QStringLiteral("UPDATE munkalap SET statusz = 1, panasz = 'Nem hűt' WHERE munkalap > 0;"));
        c.exec(QStringLiteral("UPDATE tulajdonos SET tulajdonos = 'Hűtő-Klíma Bt.';"));
    }
    return db;
}

class MainWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = MakeShop(); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        m_oldHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        QDir().mkpath(m_home.filePath(QStringLiteral("KoravelML")));
        InstallWindows();
    }
    void TearDown() override {
        qputenv("XDG_DATA_HOME", m_oldHome);
        Beall() = TBeall{};
        SetSharedConnection(&s_db->connection());
    }

    QString iniPath() const { return m_home.filePath(QStringLiteral("KoravelML/KoravelML.ini")); }
    QString entry(const QString& name) const {
        return QStringLiteral("%1;127.0.0.1;%2;root;;%3")
            .arg(s_db->name())
            .arg(s_db->options().port)
            .arg(name);
    }
    void writeIni(const QStringList& entries) {
        IniFile ini(iniPath());
        for (qsizetype i = 0; i < entries.size(); ++i)
            ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr%1").arg(i + 1),
                            ScramblePassword(entries[i]));
        ini.writeString(QStringLiteral("Alapertek"), QStringLiteral("TeljesKep"), QStringLiteral("0"));
        ini.save();
    }
    QByteArray iniBytes() const {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static TestDatabase* s_db;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    ScriptedDialogs m_dialogs;
};

TestDatabase* MainWindowFixture::s_db = nullptr;

TEST_F(MainWindowFixture, StartsOnTheWorkSheetListAndWritesTheIniFileAtClose) {
    writeIni({entry(QStringLiteral("Demo szerviz"))});
    const QString owner = QueryStr(QStringLiteral("SELECT tulajdonos FROM tulajdonos;"));
    const int programType = QueryInt(QStringLiteral("SELECT prgtipus FROM beallit;"));

    auto window = std::make_unique<Tfrm_Main>();
    ASSERT_FALSE(window->startupFailed()) << m_dialogs.texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(m_dialogs.calls().empty());
    EXPECT_EQ(window->objectName(), QStringLiteral("frm_Main"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Koravel - ML: [") + owner + QLatin1Char(']'));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("Koravel.ML: Demo szerviz  "));
    EXPECT_EQ(window->TabControl1->count(), 4);
    EXPECT_EQ(window->TabControl2->count(), 7);
    EXPECT_EQ(window->TabControl2->tabText(6), QStringLiteral("Árajánlat"));
    EXPECT_FALSE(window->Timer2.isActive());

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTableView* grid = window->workSheetGrid();
    ASSERT_NE(grid, nullptr) << "program type " << programType;
    EXPECT_EQ(grid, programType == 2                         ? window->DBGrid22
                    : (programType == 3 || programType == 5) ? window->DBGrid23
                                                             : window->DBGrid2);
    EXPECT_TRUE(grid->isVisible());
    EXPECT_TRUE(window->pMunkalap->isVisible());
    EXPECT_GT(grid->model()->rowCount(), 0);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Munkalap"));
    EXPECT_EQ(window->StatusPanel0->text(),
              QStringLiteral("%1: 1").arg(window->session().list(MainTab::WorkSheets).query().recordCount()));
    EXPECT_TRUE(window->Edit1->hasFocus());
    EXPECT_EQ(
        QueryInt(QStringLiteral("SELECT COUNT(*) FROM beallit WHERE utbelep >= NOW() - INTERVAL 1 MINUTE;")),
        1);

    QTest::qWait(100);
    QDir().mkpath(test::BuildPath(QStringLiteral("screenshots")));
    EXPECT_TRUE(window->grab().save(test::BuildPath(QStringLiteral("screenshots/main-startup.png"))));

    // aBezar records itself as the last action and closes the window.
    QSignalSpy closed(window.get(), &Tfrm_Main::closed);
    window->aBezar->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(LastAction(), QStringLiteral("frm_Main.aBezar"));
    SetLastAction({});
    const IniFile ini(iniPath());
    EXPECT_EQ(ini.readString(QStringLiteral("Alapertek"), QStringLiteral("Szeles")),
              QString::number(window->width()));
    EXPECT_EQ(ini.readString(QStringLiteral("Alapertek"), QStringLiteral("Betumeret")), QStringLiteral("9"));
    EXPECT_EQ(ini.readString(QStringLiteral("Alapertek"), QStringLiteral("TeljesKep")), QStringLiteral("0"));
}

TEST_F(MainWindowFixture, FailedStartUpClosesThroughTimer2WithoutWritingTheIniFile) {
    writeIni({entry(QStringLiteral("Demo szerviz"))});
    s_db->connection().exec(QStringLiteral("RENAME TABLE verzio TO verzio_regi;"));
    const QByteArray before = iniBytes();

    auto window = std::make_unique<Tfrm_Main>();
    s_db->connection().exec(QStringLiteral("RENAME TABLE verzio_regi TO verzio;"));
    EXPECT_TRUE(window->startupFailed());
    ASSERT_EQ(m_dialogs.calls().size(), 1u);
    EXPECT_EQ(m_dialogs.calls()[0].kind, DialogKind::Warning);
    EXPECT_TRUE(window->Timer2.isActive());
    EXPECT_EQ(window->Timer2.interval(), 100);

    QSignalSpy closed(window.get(), &Tfrm_Main::closed);
    EXPECT_TRUE(closed.wait(1000));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(MainWindowFixture, CancelledLoginEndsTheProgramWithoutShowingTheMainWindow) {
    writeIni({entry(QStringLiteral("Demo szerviz"))});
    s_db->connection().exec(QStringLiteral("UPDATE beallit SET vanbelep = 'I';"));
    QTimer::singleShot(0, [] {
        auto* login = qobject_cast<Tfrm_Login*>(QApplication::activeModalWidget());
        ASSERT_NE(login, nullptr);
        login->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    });
    auto window = std::make_unique<Tfrm_Main>();
    s_db->connection().exec(QStringLiteral("UPDATE beallit SET vanbelep = 'N';"));
    EXPECT_TRUE(window->startupFailed());
    EXPECT_TRUE(m_dialogs.calls().empty());
    QSignalSpy closed(window.get(), &Tfrm_Main::closed);
    EXPECT_TRUE(closed.wait(1000));
}

TEST_F(MainWindowFixture, ChoiceWindowTestsTheEntryAndWrapsAround) {
    const QStringList lines{QStringLiteral("1; Rossz"), QStringLiteral("2; Jó"), QStringLiteral("3; Másik")};
    const QStringList entries{QStringLiteral("x;127.0.0.1;1;root;;Rossz"), entry(QStringLiteral("Jó")),
                              entry(QStringLiteral("Másik"))};
    QTimer::singleShot(0, [this] {
        auto* w = qobject_cast<Tfrm_AdatbazisNyit*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        auto* list = w->findChild<QListWidget*>(QStringLiteral("lstDatabases"));
        EXPECT_EQ(list->currentRow(), 0);
        QTest::keyClick(list, Qt::Key_Up);
        EXPECT_EQ(list->currentRow(), 2) << "Up on the first line goes to the last";
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(list->currentRow(), 0) << "Down on the last line goes to the first";

        w->findChild<QPushButton*>(QStringLiteral("btnOk"))->click(); // unreachable: stays open
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(m_dialogs.calls().size(), 1u);
        list->setCurrentRow(1);
        w->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    });
    EXPECT_EQ(ShowDatabaseChoice(lines, entries, QStringLiteral("Koravel.ML adatbázis választás")), 1);
    ASSERT_EQ(m_dialogs.calls().size(), 1u);
    EXPECT_TRUE(m_dialogs.calls()[0].text.startsWith(QStringLiteral("Hiba: ")));
}

TEST_F(MainWindowFixture, FirstRunWindowConfirmsOnlyAfterATestOrWithCtrlEnter) {
    QTimer::singleShot(0, [this] {
        auto* w = qobject_cast<Tfrm_Init*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Adatbázis beállítás"));
        auto* ok = w->findChild<QPushButton*>(QStringLiteral("btnOk"));
        EXPECT_FALSE(ok->isEnabled());
        EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("edtPort"))->text(), QStringLiteral("3306"));
        w->findChild<QLineEdit*>(QStringLiteral("edtHost"))->setText(QStringLiteral("127.0.0.1"));
        w->findChild<QLineEdit*>(QStringLiteral("edtUser"))->setText(QStringLiteral("root"));
        w->findChild<QLineEdit*>(QStringLiteral("edtDatabase"))->setText(s_db->name());
        w->findChild<QLineEdit*>(QStringLiteral("edtDisplayName"))->setText(QStringLiteral("Bolt"));
        w->findChild<QLineEdit*>(QStringLiteral("edtPort"))->setText(QString::number(s_db->options().port));
        w->findChild<QPushButton*>(QStringLiteral("btnTest"))->click();
        EXPECT_TRUE(ok->isEnabled());
        EXPECT_TRUE(m_dialogs.calls().empty());
        ok->click();
    });
    EXPECT_EQ(ShowInitWindow(), entry(QStringLiteral("Bolt")));

    QTimer::singleShot(0, [] {
        auto* w = qobject_cast<Tfrm_Init*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        auto* host = w->findChild<QLineEdit*>(QStringLiteral("edtHost"));
        host->setText(QStringLiteral("db.example"));
        QTest::keyClick(host, Qt::Key_Return, Qt::ControlModifier);
    });
    EXPECT_EQ(ShowInitWindow(), QStringLiteral(";db.example;3306;;;"));
}

TEST(Splash, FadesAfterOneSecondAndFreesItself) {
    QPointer<Tfrm_Logo> logo = Tfrm_Logo::Splash();
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->size(), QSize(256, 256));
    QTest::qWait(800);
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->alpha(), 255);
    EXPECT_TRUE(QTest::qWaitFor([&] { return logo.isNull() || logo->alpha() < 255; }, 1000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return logo.isNull(); }, 1000)) << "22 steps of 11 ms";
}

TEST(WindowNames, ActiveWindowIsNamedAsTheErrorLogNamesIt) {
    QWidget preview;
    preview.setObjectName(QStringLiteral("QRStandardPreview"));
    preview.show();
    QApplication::setActiveWindow(&preview);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    EXPECT_EQ(ActiveWindowName(), QStringLiteral("QRStandardPreview"));

    Tfrm_Logo logo;
    logo.setObjectName({});
    EXPECT_EQ(WindowName(&logo), QStringLiteral("frm_Logo"));
    EXPECT_EQ(WindowName(nullptr), QString());
}

} // namespace
} // namespace kml
