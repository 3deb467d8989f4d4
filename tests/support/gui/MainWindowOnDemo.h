#pragma once

// A fixture for tests of the main window itself: the window started for real
// (start-up, login, settings) on a database of the demo shop of the test
// program's own, offscreen, with the workstation's files in a folder of the
// test's own and the shell opener recording addresses.
//
//     class MainWindowDevices : public test::MainWindowOnDemo {
//     protected:
//         static void SetUpTestSuite() { StartDemo(QStringLiteral("maindevices")); }
//     };
//     TEST_F(MainWindowDevices, ...) { Tfrm_Main& w = open(); ... }

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/IniFile.h"
#include "foundation/LastAction.h"
#include "foundation/Settings.h"
#include "foundation/ShellOpener.h"
#include "foundation/TextHelpers.h"
#include "patterns/ListController.h"
#include "shell/gui/Tfrm_Main.h"
#include "shell/gui/Windows.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace kml::test {

class MainWindowOnDemo : public ::testing::Test {
protected:
    static void StartDemo(const QString& nameHint) {
        s_db = new TestDatabase(nameHint, TestDatabase::Contents::Demo);
    }
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
        IniFile ini(m_home.filePath(QStringLiteral("KoravelML/KoravelML.ini")));
        ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                        ScramblePassword(QStringLiteral("%1;127.0.0.1;%2;root;;Demo szerviz")
                                             .arg(s_db->name())
                                             .arg(s_db->options().port)));
        ini.writeString(QStringLiteral("Alapertek"), QStringLiteral("TeljesKep"), QStringLiteral("0"));
        ini.save();
        m_previousOpener = SetShellOpener([this](const QString& a) { m_opened << a; });
    }
    void TearDown() override {
        if (m_window)
            m_window->close();
        m_window.reset();
        SetShellOpener(m_previousOpener);
        qputenv("XDG_DATA_HOME", m_oldHome);
        Beall() = TBeall{};
        SetSharedConnection(&s_db->connection());
        SetLastAction({});
        s_db->connection().exec(QStringLiteral("UPDATE beallit SET prgtipus = 1;"));
    }

    // The main window on the demo shop in a program type, shown at a size
    // that fits every column.
    Tfrm_Main& open(int programType = 1) {
        s_db->connection().exec(QStringLiteral("UPDATE beallit SET prgtipus = %1;").arg(programType));
        m_window = std::make_unique<Tfrm_Main>();
        EXPECT_FALSE(m_window->startupFailed())
            << m_dialogs.texts().join(QStringLiteral(" | ")).toStdString();
        m_window->show();
        m_window->resize(1280, 800);
        QApplication::setActiveWindow(m_window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        QTest::qWait(20);
        settle();
        return *m_window;
    }

    // The lists that stream their rows (work sheets, customers, devices)
    // have all of them: a search or a tab switch returns before they are
    // there.
    void settle() {
        for (int tab = 0; tab < MainTabCount; ++tab) {
            const ListController& list = m_window->list(MainTab(tab));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !list.isFetching(); }, 5000)) << tab;
        }
        // The grids lay out the rows inserted last.
        QTest::qWait(1);
    }

    // A screenshot of the main window: build/screenshots/main-<name>.png.
    void shoot(const QString& name) {
        QTest::qWait(30);
        QDir().mkpath(BuildPath(QStringLiteral("screenshots")));
        EXPECT_TRUE(m_window->grab().save(BuildPath(QStringLiteral("screenshots/main-%1.png").arg(name))));
    }

    static inline TestDatabase* s_db = nullptr;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Tfrm_Main> m_window;
    QStringList m_opened;
    ShellOpener m_previousOpener;
};

} // namespace kml::test
