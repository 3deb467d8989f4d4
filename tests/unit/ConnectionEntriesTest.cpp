// Connection entries in the ini file: numbered from 1 without gaps in the
// list's order, byte-compatible with files the old Windows program wrote
// (cp1250, CR LF, scrambled values without quotes), fields with ";" or more
// than 100 entries refused, the file kept private.

#include "admin/ConnectionEntries.h"

#include "components/Cp1250.h"
#include "foundation/IniFile.h"
#include "foundation/TextHelpers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kml {
namespace {

class Entries : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_dir.filePath("KoravelML.ini");
        SetIniFilePath(m_path);
    }
    void TearDown() override { SetIniFilePath({}); }
    QByteArray bytes() const {
        QFile f(m_path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    QTemporaryDir m_dir;
    QString m_path;
};

// The scrambling of the old program over cp1250 bytes, noise fixed.
QByteArray OldScramble(const QString& text) {
    QByteArray out = "ABC";
    for (const char c : ToCp1250(text)) {
        out += char((static_cast<unsigned char>(c) + 1) & 0xFF);
        out += 'x';
    }
    return out;
}

TEST_F(Entries, AnOldFileComesBackNumberedFromOneInListOrderAndStaysCp1250) {
    const QString first = QString::fromUtf8("koravelml;127.0.0.1;3306;root;jel\"szó=\\x;Győri bolt");
    const QString second = QString::fromUtf8("teszt;szerver;3307;kati;;Teszt „ő” €;");
    QFile f(m_path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Alapertek]\r\nAlapVaros=" + ToCp1250(QString::fromUtf8("Győr")) +
            "\r\n[Adatbazis]\r\nConStr3=" + OldScramble(first) + "\r\nConStr7=" + OldScramble(second) +
            "\r\n");
    f.close();

    std::vector<ConnectionEntry> entries = ReadConnectionEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].password, QString::fromUtf8("jel\"szó=\\x"));
    EXPECT_EQ(entries[0].displayName, QString::fromUtf8("Győri bolt"));
    EXPECT_EQ(entries[1].displayName, QString::fromUtf8("Teszt „ő” €"));
    EXPECT_EQ(entries[1].listText(), second);

    // Sorted by "Kiszolgáló" in the window, then stored: that order, from 1.
    std::swap(entries[0], entries[1]);
    WriteConnectionEntries(entries);
    const IniFile ini(m_path);
    EXPECT_EQ(ini.keys("Adatbazis"), (QStringList{"ConStr1", "ConStr2"}));
    EXPECT_EQ(UnscramblePassword(ini.readString("Adatbazis", "ConStr1")), second);
    EXPECT_EQ(UnscramblePassword(ini.readString("Adatbazis", "ConStr2")), entries[1].listText());
    EXPECT_EQ(ReadConnectionEntries(), entries);
    EXPECT_EQ(ReadOfferedEntries().lines,
              (QStringList{QString::fromUtf8("1; Teszt „ő” €"), QString::fromUtf8("2; Győri bolt")}));

    // Still the old program's file: cp1250 bytes, CR LF, values as they are.
    const QByteArray written = bytes();
    EXPECT_TRUE(written.contains("AlapVaros=" + ToCp1250(QString::fromUtf8("Győr")) + "\r\n"));
    EXPECT_TRUE(written.contains("\r\n[Adatbazis]\r\n"));
    for (const QByteArray& line : written.split('\n'))
        if (line.startsWith("ConStr")) {
            EXPECT_TRUE(line.endsWith('\r'));
            EXPECT_NE(line.at(line.indexOf('=') + 1), '"');
        }
    EXPECT_EQ(QFile::permissions(m_path) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
              QFileDevice::Permissions());
}

TEST_F(Entries, ScrambledEntriesRoundTripEveryStorableCharacter) {
    QString all;
    for (int b = 33; b < 255; ++b) // fields are read back trimmed: no blank (nor no-break space) at an end
        if (b != ';' && b != 0xA0)
            all += QChar(Cp1250ToUnicode(static_cast<unsigned char>(b)));
    std::vector<ConnectionEntry> entries;
    for (int i = 0; i < 40; ++i) // the noise differs each time: a leading quote must never appear
        entries.push_back(
            {all.mid(i, 50), "h", "3306", "u", all.mid(100 + i, 50), QStringLiteral("n%1").arg(i)});
    WriteConnectionEntries(entries);
    const std::vector<ConnectionEntry> read = ReadConnectionEntries();
    ASSERT_EQ(read.size(), entries.size());
    for (size_t i = 0; i < read.size(); ++i)
        EXPECT_EQ(read[i].listText(), entries[i].listText());
}

TEST_F(Entries, UnstorableEntriesAreRefused) {
    const ConnectionEntry good{"db", "h", "3306", "u", "p", "n"};
    EXPECT_EQ(EntryProblem(good), "");
    for (ConnectionEntry bad : {good, good, good, good}) {
        static int n = 0;
        switch (n++) {
        case 0:
            bad.password = "a;b";
            break;
        case 1:
            bad.displayName = "x;";
            break;
        case 2:
            bad.user = "tab\there";
            break;
        case 3:
            bad.host = QString::fromUtf8("日本");
            break;
        }
        EXPECT_FALSE(EntryProblem(bad).isEmpty()) << n;
        EXPECT_THROW(WriteConnectionEntries({bad}), std::invalid_argument);
    }
    EXPECT_TRUE(EntryProblem({"a;b", "", "", "", "", ""}).contains("pontosvessz"));
    EXPECT_THROW(WriteConnectionEntries(std::vector<ConnectionEntry>(101, good)), std::invalid_argument);
    WriteConnectionEntries(std::vector<ConnectionEntry>(100, good));
    EXPECT_EQ(ReadConnectionEntries().size(), 100u);
    EXPECT_EQ(StoreNewConnectionEntry(good.listText()), 0); // 1 to 100 are all taken
}

} // namespace
} // namespace kml
