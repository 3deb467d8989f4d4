// The ini file, window positions kept in it, the fitting of windows onto the
// work area and the choice of the data folder.
#include "foundation/IniFile.h"

#include "components/Cp1250.h"
#include "foundation/Folders.h"
#include "foundation/TextHelpers.h"
#include "foundation/WindowPlacement.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kml;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class IniTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath("KoravelML.ini");
        SetIniFilePath(m_path);
    }
    void TearDown() override { SetIniFilePath({}); }
    QTemporaryDir m_dir;
    QString m_path;
};

TEST_F(IniTest, ReadsAndWritesAPlainWindowsStyleFile) {
    EXPECT_EQ(IniReadStr("Alapertek", "AlapVaros", "nincs"), "nincs"); // no file yet
    IniWriteStr("Alapertek", "AlapVaros", QString::fromUtf8("Győr"));
    IniWriteInt("Alapertek", "Betumeret", 9);
    IniWriteBool("Alapertek", "TeljesKep", true);
    IniWriteStr("Tulajdonos", "Tulajdonos", QString::fromUtf8("Kovács Ödön"));
    IniWriteStr("Alapertek", "FormatFt", "### ### ##0");
    EXPECT_EQ(
        QString::fromUtf8(ReadAll(m_path)),
        QString::fromUtf8("[Alapertek]\nAlapVaros=Győr\nBetumeret=9\nTeljesKep=1\nFormatFt=### ### ##0\n\n"
                          "[Tulajdonos]\nTulajdonos=Kovács Ödön\n"));

    // A new file is the owner's alone: it will hold the connection entries.
    EXPECT_EQ(QFile::permissions(m_path) & (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther),
              QFileDevice::Permissions());
    EXPECT_EQ(IniReadStr("alapertek", "alapvaros"), QString::fromUtf8("Győr")); // names ignore letter case
    EXPECT_EQ(IniReadInt("Alapertek", "Betumeret", 0), 9);
    EXPECT_TRUE(IniReadBool("Alapertek", "TeljesKep", false));
    EXPECT_EQ(IniReadInt("Alapertek", "AlapVaros", 5), 5); // not a number: the default
    EXPECT_EQ(IniReadStr("Alapertek", "FormatFt"), "### ### ##0");

    IniWriteStr("Alapertek", "AlapVaros", "Pécs");
    IniDeleteKey("Alapertek", "Betumeret");
    EXPECT_EQ(IniReadInt("Alapertek", "Betumeret", 7), 7);
    EXPECT_EQ(IniReadStr("Alapertek", "AlapVaros"), "Pécs");
}

TEST_F(IniTest, KeepsLinesItDoesNotTouchAndReadsCp1250Files) {
    // A file from a Windows workstation: cp1250 bytes, CR LF, comments, blanks around "=".
    WriteAll(m_path,
             ToCp1250(QString::fromUtf8("; megjegyzés\r\n[Alapertek]\r\nAlapVaros = Győr \r\n"
                                        "HtmlUt=C:\\Koravel\\Html\r\n\r\n[Nyomtato]\r\nAlapNyomtato=\r\n")));
    EXPECT_EQ(IniReadStr("Alapertek", "AlapVaros"), QString::fromUtf8("Győr"));
    EXPECT_EQ(IniReadStr("Alapertek", "HtmlUt"), "C:\\Koravel\\Html");
    EXPECT_EQ(IniReadStr("Nyomtato", "AlapNyomtato", "x"), ""); // present but empty
    IniWriteStr("Alapertek", "Betumeret", "10");
    // Written back the way the Windows program writes it: cp1250 and CR LF.
    EXPECT_EQ(ReadAll(m_path),
              ToCp1250(QString::fromUtf8("; megjegyzés\r\n[Alapertek]\r\nAlapVaros = Győr \r\n"
                                         "HtmlUt=C:\\Koravel\\Html\r\nBetumeret=10\r\n\r\n[Nyomtato]\r\n"
                                         "AlapNyomtato=\r\n")));
    // A character without a cp1250 byte turns the file into UTF-8 rather than losing it.
    IniWriteStr("Alapertek", "HtmlUt", QString::fromUtf8("/home/日本"));
    EXPECT_EQ(IniReadStr("Alapertek", "HtmlUt"), QString::fromUtf8("/home/日本"));
    EXPECT_EQ(IniReadStr("Alapertek", "AlapVaros"), QString::fromUtf8("Győr"));
}

TEST_F(IniTest, EveryValueRoundTripsScrambledEntriesIncluded) {
    QString allBytes;
    for (int b = 0; b < 255; ++b)
        allBytes += QChar(Cp1250ToUnicode(static_cast<unsigned char>(b)));
    const QString values[] = {
        "",
        " leading and trailing ",
        "\"quoted\"",
        "\"",
        "a=b;c",
        "line\r\nbreak\rand\nmore",
        "back\\slash \\r\\n as text",
        "[not a section]",
        QString::fromUtf8("„idézet” – € Š"),
        allBytes,
    };
    int n = 0;
    for (const QString& value : values) {
        const QString key = QStringLiteral("Key%1").arg(++n);
        IniWriteStr("Probe", key, value);
        EXPECT_EQ(IniReadStr("Probe", key), value) << key.toStdString();
    }
    // Scrambled connection entries of every byte but 255, many times over (the noise differs each time).
    for (int i = 1; i <= 25; ++i) {
        const QString entry =
            allBytes.mid((i * 7) % 200) + QStringLiteral(";127.0.0.1;3306;root;;Bolt %1;").arg(i);
        IniWriteStr("Adatbazis", QStringLiteral("ConStr%1").arg(i), ScramblePassword(entry));
        EXPECT_EQ(UnscramblePassword(IniReadStr("Adatbazis", QStringLiteral("ConStr%1").arg(i))), entry);
    }
    // The file stays one key per line.
    const QList<QByteArray> lines = ReadAll(m_path).split('\n');
    int keyLines = 0;
    for (const QByteArray& line : lines)
        if (line.startsWith("ConStr"))
            ++keyLines;
    EXPECT_EQ(keyLines, 25);
}

TEST_F(IniTest, NoPathGivesDefaultsAndWritesNothing) {
    SetIniFilePath({});
    IniWriteStr("a", "b", "c");
    EXPECT_EQ(IniReadStr("a", "b", "d"), "d");
    int left = 0, top = 0;
    LoadFormPos("frm_X", left, top);
    EXPECT_EQ(left, 10);
    EXPECT_EQ(top, 10);
}

TEST(WorkArea, FittingOntoTheWorkArea) {
    const QRect area(0, 0, 1920, 1040);
    struct Case {
        int left, top, height, width;
        int eLeft, eTop, eHeight, eWidth;
    };
    const Case cases[] = {
        {100, 100, 400, 640, 100, 100, 400, 640},   // inside: unchanged
        {2500, 100, 400, 640, 0, 100, 400, 640},    // closed on a monitor to the right: left 0
        {3000, 100, 400, 2000, 0, 100, 400, 1920},  // ... and wider than the area
        {1500, 100, 400, 640, 1280, 100, 400, 640}, // sticks out right: moved back
        {100, 900, 400, 640, 100, 640, 400, 640},   // sticks out below: moved up
        {100, 1200, 400, 640, 100, 0, 400, 640},    // below the area: top 0
        {100, 100, 1200, 2400, 0, 0, 1040, 1920},   // larger than the area: placed at 0 and cut
        {-50, -20, 400, 640, -50, -20, 400, 640},   // left of / above the area: left as they are
        {1280, 640, 400, 640, 1280, 640, 400, 640}, // exactly at the edge
    };
    for (const Case& c : cases) {
        int left = c.left, top = c.top, height = c.height, width = c.width;
        FitIntoWorkArea(area, left, top, height, width);
        EXPECT_EQ(left, c.eLeft) << c.left << "," << c.top;
        EXPECT_EQ(top, c.eTop) << c.left << "," << c.top;
        EXPECT_EQ(height, c.eHeight) << c.left << "," << c.top;
        EXPECT_EQ(width, c.eWidth) << c.left << "," << c.top;
    }
    // A work area that does not start at 0 (a panel on the left and on top).
    int left = 5000, top = 10, height = 300, width = 300;
    FitIntoWorkArea(QRect(64, 32, 1856, 1048), left, top, height, width);
    EXPECT_EQ(left, 64);
    EXPECT_EQ(top, 10);
}

TEST_F(IniTest, FormPositionsAreStoredUnderTheWindowName) {
    SetWorkArea(QRect(0, 0, 1920, 1040));
    int left = 0, top = 0, height = 300, width = 500;
    LoadFormBounds("frm_Ugyfel", left, top, height, width);
    EXPECT_EQ(left, 10);
    EXPECT_EQ(top, 10);
    EXPECT_EQ(height, 300); // the size passed in when nothing is stored
    EXPECT_EQ(width, 500);

    SaveFormBounds("frm_Ugyfel", 2400, 50, 600, 800);
    LoadFormBounds("frm_Ugyfel", left, top, height, width);
    EXPECT_EQ(left, 0); // beyond the right edge: back to the left
    EXPECT_EQ(top, 50);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(IniReadInt("frm_Ugyfel", "Left", 0), 2400); // stored as closed
    EXPECT_EQ(IniReadInt("frm_Ugyfel", "Width", 0), 800);
    EXPECT_EQ(IniReadInt("frm_Ugyfel", "Height", 0), 600);

    SaveFormPos("frm_Inp", 33, 44);
    LoadFormPos("frm_Inp", left, top);
    EXPECT_EQ(left, 33);
    EXPECT_EQ(top, 44);

    // A position that cannot be written is ignored; bounds raise the error.
    SetIniFilePath(m_dir.filePath("missing/folder/KoravelML.ini"));
    EXPECT_NO_THROW(SaveFormPos("frm_Inp", 1, 2));
    EXPECT_THROW(SaveFormBounds("frm_Inp", 1, 2, 3, 4), std::runtime_error);
}

TEST(Folders, DataFolderRule) {
    QTemporaryDir program;
    QTemporaryDir appData;
    EXPECT_EQ(ChooseDataFolder(program.path(), appData.path()), appData.path() + "/KoravelML");
    EXPECT_EQ(ChooseDataFolder(program.path(), appData.path() + "/"), appData.path() + "/KoravelML");
    EXPECT_EQ(ChooseDataFolder(program.path(), ""), program.path());
    WriteAll(program.filePath("KoravelML.ini"), "");
    EXPECT_EQ(ChooseDataFolder(program.path(), appData.path()), program.path()); // portable
    EXPECT_FALSE(ProgramFolder().endsWith('/'));
    EXPECT_TRUE(QDir(ProgramFolder()).exists());
    EXPECT_FALSE(DocumentsFolder().isEmpty());
}

} // namespace
