// The settings window's logic (EditSettings) against the real server, with a
// scripted window that changes fields and presses OK or Mégsem: what the
// window is shown, what OK writes into beallit and into the settings record,
// the program-type choice over the rows of prgtipus, Mégsem, and that only
// the changed columns reach the server.

#include "foundation/Settings.h"

#include "ScriptedDialogs.h"
#include "ScriptedSettingsWindow.h"
#include "TestDatabase.h"
#include "components/DbError.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "shell/Beallit.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::TestDatabase;

const QStringList ProgramTypeNames{QStringLiteral("Klíma szerelő"), QStringLiteral("Autószerelő"),
                                   QStringLiteral("Grafika stúdió"), QStringLiteral("Gázszerelő"),
                                   QStringLiteral("Ügyfélszolgálat")};

// Every column of the settings row the window edits, NULL shown as "<null>".
QString RowText() {
    return QueryStr(QStringLiteral(
        "SELECT CONCAT_WS('|', beallit, vanbelep, IFNULL(mlaphatid, '<null>'), autocikkszam, "
        "IFNULL(autocikkszamhossz, '<null>'), mlapdatummodosit, kedvmutat, IFNULL(afakulcs, '<null>'), "
        "IFNULL(szlamegjegyzes, '<null>'), IFNULL(prgtipus, '<null>'), kepftp, IFNULL(kephost, '<null>'), "
        "IFNULL(kepuser, '<null>'), IFNULL(keppwd, '<null>'), IFNULL(kepfolder, '<null>'), "
        "IFNULL(kepport, '<null>'), IFNULL(levelkuldlink, '<null>')) FROM beallit;"));
}

// The per-workstation values of the settings record, one text to compare.
QString MemoryText(const TBeall& s) {
    return QStringList{s.vanPennart ? "1" : "0",
                       s.pennart,
                       s.teljesKep ? "1" : "0",
                       s.alapNyomtato,
                       s.formatDb,
                       s.formatFt,
                       s.kepek}
        .join(QLatin1Char('|'));
}

// The same values as the window shows them.
QString ValuesText(const SettingsValues& v) {
    return QStringList{v.vanPennart ? "1" : "0",
                       v.pennart,
                       v.teljesKep ? "1" : "0",
                       v.alapNyomtato,
                       v.formatDb,
                       v.formatFt,
                       v.kepek}
        .join(QLatin1Char('|'));
}

class SettingsFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new TestDatabase(QStringLiteral("settings")); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }

    void SetUp() override {
        // The seed's settings row and program types, whatever the test before did.
        ExecSql(QStringLiteral("DELETE FROM beallit;"));
        ExecSql(QStringLiteral(
            "INSERT INTO beallit (beallit, vanbelep, mlaphatid, autocikkszam, autocikkszamhossz, "
            "mlapdatummodosit, kedvmutat, afakulcs, szlamegjegyzes, prgtipus, kepftp, kephost, kepuser, "
            "keppwd, "
            "kepfolder, kepport, levelkuldlink, verzioelfogadva, hirelfogadva) "
            "VALUES (1, 'N', 3, 'N', 5, 'N', 'N', 27, '', 1, 'N', '', '', '', '', 21, '', '24.0.0.111', "
            "0);"));
        ExecSql(QStringLiteral("DELETE FROM prgtipus;"));
        ExecSql(QStringLiteral("INSERT INTO prgtipus (prgtipus, prgtipus_nev) VALUES (1, 'Klíma szerelő'), "
                               "(2, 'Autószerelő'), (3, 'Grafika stúdió'), (4, 'Gázszerelő'), "
                               "(5, 'Ügyfélszolgálat');"));

        ASSERT_TRUE(m_home.isValid());
        SetIniFilePath(iniPath());
        TBeall& s = Beall();
        s = TBeall{};
        s.vanPennart = false;
        s.pennart = QStringLiteral("/opt/pennart/Pennart.exe");
        s.teljesKep = true;
        s.alapNyomtato = QStringLiteral("Iroda");
        s.formatDb = QStringLiteral("### ##0");
        s.formatFt = QStringLiteral("### ### ##0");
        s.kepek = m_home.filePath(QStringLiteral("Kepek"));
        QDir().mkpath(s.kepek);
        s.prgtipus = 1;
        s.mlaphatid = 3;
    }
    void TearDown() override {
        SetIniFilePath({});
        Beall() = TBeall{};
    }

    QString iniPath() const { return m_home.filePath(QStringLiteral("KoravelML.ini")); }

    static TestDatabase* s_db;
    QTemporaryDir m_home;
    ScriptedDialogs m_dialogs; // any message box would be recorded, none is expected
};

TestDatabase* SettingsFixture::s_db = nullptr;

TEST_F(SettingsFixture, OkStoresTheRowFieldsAndTheWorkstationValues) {
    const QString memoryBefore = MemoryText(Beall());
    const QString newPictures = m_home.filePath(QStringLiteral("uj/kepek"));
    const QString note = QStringLiteral("Köszönjük!\r\nBank: 'OTP' C:\\szamla");
    ScriptedSettingsWindow window;
    window.pressOk([&](Table& row, SettingsValues& values) {
        row.setValue(QStringLiteral("mlaphatid"), 14);
        row.setValue(QStringLiteral("vanbelep"), QStringLiteral("I"));
        row.setValue(QStringLiteral("autocikkszam"), QStringLiteral("I"));
        row.setValue(QStringLiteral("autocikkszamhossz"), 8);
        row.setValue(QStringLiteral("mlapdatummodosit"), QStringLiteral("I"));
        row.setValue(QStringLiteral("kedvmutat"), QStringLiteral("I"));
        row.setValue(QStringLiteral("afakulcs"), 5.5);
        row.setValue(QStringLiteral("szlamegjegyzes"), note);
        row.setValue(QStringLiteral("kephost"), QStringLiteral("ftp.pelda.hu"));
        row.setValue(QStringLiteral("kepuser"), QStringLiteral("feltolto"));
        row.setValue(QStringLiteral("keppwd"), QStringLiteral("jel'szó"));
        row.setValue(QStringLiteral("kepfolder"), QStringLiteral("/www/kepek"));
        row.setValue(QStringLiteral("kepport"), 2121);
        row.setValue(QStringLiteral("kepftp"), QStringLiteral("I"));
        row.setValue(QStringLiteral("levelkuldlink"), QStringLiteral("https://level.pelda.hu/kuld.php"));
        values.vanPennart = true;
        values.pennart = QStringLiteral("/usr/local/bin/pennart");
        values.teljesKep = false;
        values.alapNyomtato = QStringLiteral("Raktár nyomtató");
        values.formatDb = QStringLiteral("0.00");
        values.formatFt = QStringLiteral("### ##0 Ft");
        values.kepek = newPictures;
        values.programType = 1;
    });

    EXPECT_TRUE(EditSettings());

    // The window was shown the settings record's values and the row's type.
    ASSERT_EQ(window.shown().size(), 1u);
    const SettingsValues& shown = window.shown()[0];
    EXPECT_EQ(ValuesText(shown), memoryBefore);
    EXPECT_EQ(shown.programTypeNames, ProgramTypeNames);
    EXPECT_EQ(shown.programTypes, (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(shown.programType, 0);
    EXPECT_EQ(window.shownRows()[0].value(QStringLiteral("mlaphatid")).toInt(), 3);

    EXPECT_EQ(RowText(), QStringLiteral("1|I|14|I|8|I|I|5.5|") + note +
                             QStringLiteral("|2|I|ftp.pelda.hu|feltolto|jel'szó|/www/kepek|2121|"
                                            "https://level.pelda.hu/kuld.php"));
    const TBeall& s = Beall();
    EXPECT_EQ(MemoryText(s),
              QStringLiteral("1|/usr/local/bin/pennart|0|Raktár nyomtató|0.00|### ##0 Ft|") + newPictures);
    EXPECT_TRUE(QFileInfo(newPictures).isDir()) << "a new picture folder is created";

    // The shop-wide values in memory are the caller's to reload, and the ini
    // file is written only when the main window closes.
    EXPECT_EQ(s.prgtipus, 1);
    EXPECT_EQ(s.mlaphatid, 3);
    EXPECT_FALSE(QFileInfo::exists(iniPath()));
    EXPECT_TRUE(m_dialogs.calls().empty());
}

TEST_F(SettingsFixture, ProgramTypeChoiceFollowsTheRowsOfPrgtipus) {
    struct Case {
        const char* name;
        const char* rowType; // SQL value of beallit.prgtipus
        int removedType;     // a row taken out of prgtipus first (0: none)
        int shownIndex;
        QString shownName;
        int storedOnOk;
    };
    const Case cases[] = {
        {"listed", "3", 0, 2, QStringLiteral("Grafika stúdió"), 3},
        {"not in prgtipus", "9", 0, -1, {}, 0},
        {"null", "NULL", 0, -1, {}, 0},
        {"zero", "0", 0, -1, {}, 0},
        // A gap among the numbers never shifts the choice onto another type.
        {"after a gap", "5", 4, 3, QStringLiteral("Ügyfélszolgálat"), 5},
        {"the gap itself", "4", 4, -1, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ExecSql(QStringLiteral("UPDATE beallit SET prgtipus = %1;").arg(QLatin1String(c.rowType)));
        if (c.removedType)
            ExecSql(QStringLiteral("DELETE FROM prgtipus WHERE prgtipus = %1;").arg(c.removedType));

        ScriptedSettingsWindow window;
        window.pressOk();
        EXPECT_TRUE(EditSettings());
        const SettingsValues& shown = window.shown().at(0);
        EXPECT_EQ(shown.programType, c.shownIndex);
        EXPECT_EQ(shown.programTypeNames.value(shown.programType), c.shownName);
        EXPECT_EQ(QueryStr(QStringLiteral("SELECT IFNULL(prgtipus, 'null') FROM beallit;")),
                  QString::number(c.storedOnOk));
    }
}

TEST_F(SettingsFixture, ChoosingAnotherTypeOrNoneStoresItsNumber) {
    ScriptedSettingsWindow window;
    window.pressOk([](Table&, SettingsValues& values) { values.programType = 4; })
        .pressOk([](Table&, SettingsValues& values) { values.programType = -1; });
    EditSettings();
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT prgtipus FROM beallit;")), 5);
    EditSettings();
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT prgtipus FROM beallit;"), -1), 0);
    EXPECT_EQ(window.shown().at(1).programType, 4) << "the second opening shows the stored type";
}

TEST_F(SettingsFixture, CancelLeavesTheRowAndTheWorkstationValuesAlone) {
    const QString rowBefore = RowText();
    const QString memoryBefore = MemoryText(Beall());
    ScriptedSettingsWindow window;
    window.pressCancel([](Table& row, SettingsValues& values) {
        row.setValue(QStringLiteral("mlaphatid"), 30);
        row.setValue(QStringLiteral("vanbelep"), QStringLiteral("I"));
        row.setValue(QStringLiteral("kephost"), QStringLiteral("ftp.pelda.hu"));
        values.vanPennart = true;
        values.pennart = QStringLiteral("/tmp/x");
        values.teljesKep = false;
        values.alapNyomtato = QStringLiteral("Másik");
        values.formatDb = values.formatFt = QStringLiteral("0");
        values.kepek = QStringLiteral("/tmp/mas");
        values.programType = 3;
    });

    EXPECT_FALSE(EditSettings());
    EXPECT_EQ(RowText(), rowBefore);
    EXPECT_EQ(MemoryText(Beall()), memoryBefore);
    EXPECT_FALSE(QFileInfo::exists(iniPath()));

    // The next opening starts from the stored row again.
    window.pressCancel();
    EditSettings();
    EXPECT_EQ(window.shownRows().at(1).value(QStringLiteral("mlaphatid")).toInt(), 3);
    EXPECT_FALSE(window.shownRows().at(1).isModified());
}

TEST_F(SettingsFixture, OkWritesOnlyTheChangedColumns) {
    ScriptedSettingsWindow window;
    window.pressOk([](Table& row, SettingsValues&) {
        // Another workstation saves its settings while this window is open.
        const auto other = s_db->connect();
        other->exec(
            QStringLiteral("UPDATE beallit SET kephost = 'masik.pelda.hu', afakulcs = 18, prgtipus = 4, "
                           "szlamegjegyzes = 'Másik gépről';"));
        row.setValue(QStringLiteral("mlaphatid"), 21);
        row.setValue(QStringLiteral("kepuser"), QStringLiteral("en"));
    });

    EditSettings();
    EXPECT_EQ(
        QueryStr(QStringLiteral("SELECT CONCAT_WS('|', mlaphatid, kepuser, kephost, afakulcs, prgtipus, "
                                "szlamegjegyzes) FROM beallit;")),
        QStringLiteral("21|en|masik.pelda.hu|18|4|Másik gépről"));
}

TEST_F(SettingsFixture, ATableWithoutItsRowGetsOneOnOk) {
    ExecSql(QStringLiteral("DELETE FROM beallit;"));
    ScriptedSettingsWindow window;
    window.pressOk([](Table& row, SettingsValues& values) {
        row.setValue(QStringLiteral("mlaphatid"), 7);
        values.programType = 1;
    });
    EXPECT_TRUE(EditSettings());
    EXPECT_EQ(window.shown().at(0).programType, -1);
    EXPECT_EQ(QueryStr(QStringLiteral(
                  "SELECT CONCAT_WS('|', COUNT(*), MIN(beallit), MIN(mlaphatid), MIN(prgtipus), "
                  "MIN(afakulcs), MIN(vanbelep)) FROM beallit;")),
              QStringLiteral("1|1|7|2|27|N"));
}

TEST_F(SettingsFixture, AServerErrorOnPostingRisesAndNothingIsWritten) {
    const QString rowBefore = RowText();
    ScriptedSettingsWindow window;
    window.pressOk([](Table& row, SettingsValues& values) {
        row.setValue(QStringLiteral("mlaphatid"), 9);
        row.setValue(QStringLiteral("kephost"), QString(101, QLatin1Char('x'))); // wider than the column
        values.teljesKep = false;
    });
    EXPECT_THROW(EditSettings(), DbError);
    EXPECT_EQ(RowText(), rowBefore);
    EXPECT_TRUE(Beall().teljesKep);
}

TEST_F(SettingsFixture, WithoutAWindowEditSettingsRefusesToRun) {
    EXPECT_THROW(EditSettings(), std::logic_error);
    ScriptedSettingsWindow window;
    EXPECT_THROW(EditSettings(), ScriptError) << "a window without an answer";
    EXPECT_EQ(RowText().section(QLatin1Char('|'), 2, 2), QStringLiteral("3"));
}

} // namespace
} // namespace kml
