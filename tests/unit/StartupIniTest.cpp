// The per-workstation ini file at start-up: defaults, the font-size rule, the
// offered connection entries, and entries written the way scripts/run
// writes them.

#include "admin/ConnectionEntries.h"
#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "shell/WorkstationSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kml {
namespace {

class IniFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_oldIni = IniFilePath();
        m_oldData = DataFolder();
        SetDataFolder(m_dir.path());
        SetIniFilePath(m_dir.filePath(QStringLiteral("KoravelML.ini")));
    }
    void TearDown() override {
        SetIniFilePath(m_oldIni);
        SetDataFolder(m_oldData);
    }
    void writeRaw(const QByteArray& bytes) {
        QFile f(IniFilePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    QTemporaryDir m_dir;
    QString m_oldIni, m_oldData;
};

TEST_F(IniFixture, AbsentKeysGiveTheirDefaults) {
    TBeall s;
    s.tulajdonos = QStringLiteral("régi");
    ReadWorkstationSettings(s);
    EXPECT_EQ(s.kepek, m_dir.filePath(QStringLiteral("Kepek")));
    EXPECT_TRUE(QDir(s.kepek).exists()) << "the picture folder is created";
    EXPECT_FALSE(s.vanPennart);
    EXPECT_EQ(s.pennart, QString());
    EXPECT_EQ(s.htmlUt, QCoreApplication::applicationDirPath() + QStringLiteral("/Html"));
    EXPECT_EQ(s.betumeret, 9);
    EXPECT_EQ(s.alapVaros, QString());
    EXPECT_TRUE(s.teljesKep);
    EXPECT_EQ(s.tulajdonos, QString());
    EXPECT_EQ(QRect(s.bal, s.felul, s.szeles, s.magas), QRect(5, 5, 640, 400));
    EXPECT_EQ(s.formatFt, QStringLiteral("### ### ##0"));
    EXPECT_EQ(s.formatDb, QStringLiteral("### ### ##0"));
    EXPECT_EQ(s.alapNyomtato, QString());
}

TEST_F(IniFixture, FontSizeOutside8To10Becomes9AndIsWrittenBackSo) {
    const std::vector<std::pair<const char*, int>> cases{{"12", 9}, {"11", 9}, {"10", 10}, {"8", 8},
                                                         {"7", 9},  {"-9", 9}, {"abc", 9}, {"", 9}};
    for (const auto& [stored, expected] : cases) {
        writeRaw(QByteArray("[Alapertek]\r\nBetumeret=") + stored + "\r\n");
        TBeall s;
        ReadWorkstationSettings(s);
        EXPECT_EQ(s.betumeret, expected) << "Betumeret=" << stored;
        WriteWorkstationSettings(s, QRect(0, 0, 10, 10));
        EXPECT_EQ(IniReadStr(QStringLiteral("Alapertek"), QStringLiteral("Betumeret")),
                  QString::number(expected));
    }
}

TEST_F(IniFixture, StoredValuesAreRead) {
    writeRaw("[Pennart]\nVanPennart=1\nPennart=/opt/pennart/Pennart\n"
             "[Alapertek]\nTeljesKep=0\nBal=30\nFelul=40\nMagas=500\nSzeles=900\nFormatFt=#0.00\n"
             "[Tulajdonos]\nTulajdonos=Kovács és Társa\n[Nyomtato]\nAlapNyomtato=Irodai\n");
    TBeall s;
    ReadWorkstationSettings(s);
    EXPECT_TRUE(s.vanPennart);
    EXPECT_EQ(s.pennart, QStringLiteral("/opt/pennart/Pennart"));
    EXPECT_FALSE(s.teljesKep);
    EXPECT_EQ(QRect(s.bal, s.felul, s.szeles, s.magas), QRect(30, 40, 900, 500));
    EXPECT_EQ(s.formatFt, QStringLiteral("#0.00"));
    EXPECT_EQ(s.tulajdonos, QStringLiteral("Kovács és Társa"));
    EXPECT_EQ(s.alapNyomtato, QStringLiteral("Irodai"));
}

// An entry scrambled in the format scripts/run's perl one-liner writes: three
// filler characters, then each character's code + 1 followed by one filler.
// The fillers here are chosen to hold what an ini reader might trip on.
QByteArray RunScriptScramble(const QByteArray& entry, const QByteArray& fillers) {
    QByteArray out = fillers.left(3);
    for (qsizetype i = 0; i < entry.size(); ++i) {
        out += char((uchar(entry[i]) + 1) % 256);
        out += fillers[(3 + i) % fillers.size()];
    }
    return out;
}

TEST_F(IniFixture, EntriesWrittenByTheRunScriptAreReadBack) {
    const QByteArray entry = "koravelml;127.0.0.1;3306;root;;Demo szerviz";
    for (const QByteArray& fillers : {QByteArray("\";=#[]%,"), QByteArray("=#;\"!W"), QByteArray("#;=!\"")}) {
        writeRaw("[Adatbazis]\r\nConStr1=" + RunScriptScramble(entry, fillers) + "\r\n");
        const OfferedEntries offered = ReadOfferedEntries();
        ASSERT_EQ(offered.lines, QStringList{QStringLiteral("1; Demo szerviz")}) << fillers.constData();
        EXPECT_EQ(offered.entries.value(0), QString::fromLatin1(entry));
    }
}

TEST_F(IniFixture, OnlyNamedEntriesUpTo25AreOffered) {
    IniFile ini(IniFilePath());
    const auto put = [&](int n, const QString& entry) {
        ini.writeString(EntrySection, EntryKeyPrefix + QString::number(n), ScramblePassword(entry));
    };
    put(1, QStringLiteral("a;h;1;u;p;"));
    put(2, QStringLiteral("b;h;2;u;p;Második"));
    put(25, QStringLiteral("c;h;3;u;p;Huszonöt;")); // the list window's trailing ";"
    put(26, QStringLiteral("d;h;4;u;p;Huszonhat"));
    ini.save();

    const OfferedEntries offered = ReadOfferedEntries();
    EXPECT_EQ(offered.lines, (QStringList{"2; Második", "25; Huszonöt"}));
    EXPECT_EQ(offered.entries, (QStringList{"b;h;2;u;p;Második", "c;h;3;u;p;Huszonöt;"}));
}

TEST_F(IniFixture, NewEntryTakesTheFirstFreeNumber) {
    IniFile ini(IniFilePath());
    ini.writeString(EntrySection, QStringLiteral("ConStr1"), ScramblePassword(QStringLiteral("a;h;1;u;p;A")));
    ini.writeString(EntrySection, QStringLiteral("ConStr3"), ScramblePassword(QStringLiteral("c;h;1;u;p;C")));
    ini.save();
    EXPECT_EQ(StoreNewConnectionEntry(QStringLiteral("b;h;1;u;p;B")), 2);
    EXPECT_EQ(StoreNewConnectionEntry(QStringLiteral("d;h;1;u;p;D")), 4);
    EXPECT_EQ(UnscramblePassword(IniReadStr(EntrySection, QStringLiteral("ConStr2"))),
              QStringLiteral("b;h;1;u;p;B"));
}

TEST(ConnectionEntry, FieldsAndOptions) {
    const ConnectionEntry e =
        ConnectionEntry::parse(QStringLiteral("bolt; db.example ;3307;kiss;tit;kos;Bolt;"));
    EXPECT_EQ(e.database, QStringLiteral("bolt"));
    EXPECT_EQ(e.host, QStringLiteral("db.example"));
    EXPECT_EQ(e.password, QStringLiteral("tit")); // a ";" cannot be part of a field
    EXPECT_EQ(e.displayName, QStringLiteral("kos"));

    const ConnectionOptions o = EntryOptions(ConnectionEntry::parse(QStringLiteral("bolt;h;3307;u;p;B")));
    EXPECT_EQ(o.port, 3307u);
    EXPECT_TRUE(o.compress);
    EXPECT_EQ(o.connectTimeout, 30u);
    EXPECT_EQ(o.charset, QStringLiteral("latin2"));
    EXPECT_EQ(o.collation, QStringLiteral("latin2_hungarian_ci"));
    EXPECT_EQ(EntryOptions(ConnectionEntry::parse(QStringLiteral("bolt;h;;u;p;B"))).port, 3306u);
    EXPECT_ANY_THROW(EntryOptions(ConnectionEntry::parse(QStringLiteral("bolt;h;33o6;u;p;B"))));
    EXPECT_ANY_THROW(EntryOptions(ConnectionEntry::parse(QStringLiteral("bolt;h;70000;u;p;B"))));
}

} // namespace
} // namespace kml
