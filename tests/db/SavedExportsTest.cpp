// Saved export definitions against the server and a real FTP server
// (scripts/ftpserver, started by scripts/test): the service's value format
// byte for byte under two locales, runs to file, clipboard and FTP with
// nothing reported done that was not, uploads into every kind of folder,
// binary and replacing, active and passive, the failures, the editor's
// prepared field list, and the picture uploads.

#include "exchange/SavedExports.h"

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "components/Cp1250.h"
#include "components/FtpUpload.h"
#include "exchange/PictureUpload.h"
#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/Pictures.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

using namespace kml;
using namespace kml::test;

namespace {

const QString kUser = QStringLiteral("kml");
const QString kPassword = QStringLiteral("Ti tok:@/#1");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int FtpPort() {
    return qEnvironmentVariableIntValue("KML_TEST_FTP_PORT");
}
QString FtpRoot() {
    return qEnvironmentVariable("KML_TEST_FTP_ROOT");
}

#define REQUIRE_FTP()                                                                                        \
    if (FtpPort() == 0 || FtpRoot().isEmpty())                                                               \
    GTEST_SKIP() << "no test FTP server (python3-pyftpdlib missing? scripts/test starts scripts/ftpserver)"

// A table holding every kind of value the online service gets.
const char* kValuesTable =
    "CREATE TABLE ertekek (id INT PRIMARY KEY, nev VARCHAR(40) NULL, osszeg DECIMAL(10,2) NULL, "
    "arany DOUBLE NULL, datum DATE NULL, ido DATETIME NULL, megj TEXT NULL) CHARSET latin2";

class SavedExports : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("savedexp"));
        db->connection().exec(QString::fromLatin1(kValuesTable));
        // 'Kovács; "Béla"' with CR LF inside, a NULL row, decimals and dates.
        db->connection().exec(
            ToCp1250Sql("INSERT INTO ertekek VALUES "
                        "(1, 'Kovács; \"Béla\"\\r\\nmásodik sor', 1234.50, 0.125, '2024-03-05', '2024-03-05 "
                        "07:08:09', 'hosszú'),"
                        "(2, NULL, NULL, NULL, NULL, NULL, NULL),"
                        "(3, 'Tűzoltó „Kft.”', -0.05, 1e20, '1999-12-31', '1999-12-31 23:59:59', '')"));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    static QString ToCp1250Sql(const char* utf8) { return QString::fromUtf8(utf8); }

    void SetUp() override {
        ASSERT_TRUE(m_data.isValid());
        SetDataFolder(m_data.path());
        SetIniFilePath(m_data.filePath("KoravelML.ini"));
        Beall() = TBeall{};
    }

    ExportDefinition Definition(const QString& file, const QString& folder = {}) const {
        ExportDefinition d;
        d.name = QStringLiteral("teszt");
        d.sql = QStringLiteral("SELECT * FROM ertekek ORDER BY id");
        d.fileLocal = file;
        d.ftp = true;
        d.host = QStringLiteral("127.0.0.1:%1").arg(FtpPort());
        d.folder = folder;
        d.user = kUser;
        d.password = kPassword;
        return d;
    }

    FtpTarget Target(const QString& folder = {}) const {
        FtpTarget t;
        t.host = QStringLiteral("127.0.0.1");
        t.port = FtpPort();
        t.user = kUser;
        t.password = kPassword;
        t.folder = folder;
        return t;
    }

    static inline TestDatabase* db = nullptr;
    QTemporaryDir m_data;
};

// The exact lines the service reads for the table above, separator 0 and
// quote 0: every value quoted, every line ending in ";", CR LF inside a
// value kept, NULL empty, a long text "BLOB", decimal comma, dates with
// dots, Windows-1250 bytes.
QByteArray ExpectedValueLines() {
    return ToCp1250(QString::fromUtf8(
        "\"id\";\"nev\";\"osszeg\";\"arany\";\"datum\";\"ido\";\"megj\";\r\n"
        "\"1\";\"Kovács; \"Béla\"\r\nmásodik sor\";\"1234,5\";\"0,125\";\"2024.03.05\";\"2024.03.05 "
        "07:08:09\";"
        "\"BLOB\";\r\n"
        "\"2\";\"\";\"\";\"\";\"\";\"\";\"BLOB\";\r\n"
        "\"3\";\"Tűzoltó „Kft.”\";\"-0,05\";\"1e+20\";\"1999.12.31\";\"1999.12.31 23:59:59\";\"BLOB\";\r\n"));
}

} // namespace

TEST(SavedExportFormat, SeparatorsAndQuotesByNumber) {
    const struct {
        int number;
        char separator;
        char quote;
    } cases[] = {{0, ';', '"'}, {1, '\t', '\''}, {2, ',', 0}, {3, '|', 0}, {7, ';', 0}, {-1, ';', 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(SavedExportSeparator(c.number), c.separator) << c.number;
        EXPECT_EQ(SavedExportQuote(c.number), c.quote) << c.number;
    }
}

TEST(SavedExportFormat, PathsAndRemoteNames) {
    SetDataFolder(QStringLiteral("/adat"));
    EXPECT_EQ(SavedExportPath(QStringLiteral("ki.csv")), QStringLiteral("/adat/ki.csv"));
    EXPECT_EQ(SavedExportPath(QStringLiteral("/tmp/x/ki.csv")), QStringLiteral("/tmp/x/ki.csv"));
    EXPECT_EQ(SavedExportPath(QStringLiteral("  ")), QString());
    EXPECT_EQ(SavedExportRemoteName(QStringLiteral("C:\\export\\ki.csv")), QStringLiteral("ki.csv"));
    EXPECT_EQ(SavedExportRemoteName(QStringLiteral("/tmp/x/ki.csv")), QStringLiteral("ki.csv"));
    EXPECT_EQ(SavedExportRemoteName(QStringLiteral("ki.csv")), QStringLiteral("ki.csv"));
}

TEST(FtpAddressing, HostPortAndSegments) {
    EXPECT_EQ(FtpHostAndPort(QStringLiteral("ftp.pelda.hu"), 0).port, 21);
    EXPECT_EQ(FtpHostAndPort(QStringLiteral("ftp.pelda.hu:2121"), 0).port, 2121);
    EXPECT_EQ(FtpHostAndPort(QStringLiteral("ftp.pelda.hu:2121"), 0).host, QStringLiteral("ftp.pelda.hu"));
    EXPECT_EQ(FtpHostAndPort(QStringLiteral("[::1]:99"), 0).host, QStringLiteral("::1"));
    EXPECT_EQ(FtpHostAndPort(QStringLiteral("h"), 2000).port, 2000);

    FtpTarget t;
    t.host = QStringLiteral("h");
    t.user = QStringLiteral("u");
    t.password = QStringLiteral("p@ss:/w");
    EXPECT_EQ(FtpAddress(t, QStringLiteral("a b.csv")), QByteArray("ftp://h:21/a%20b.csv"));
    t.folder = QStringLiteral("/pub/x");
    EXPECT_EQ(FtpAddress(t, QStringLiteral("k.csv")), QByteArray("ftp://h:21/%2Fpub/x/k.csv"));
    t.folder = QString::fromUtf8("Mappa ékezettel/al#mappa?");
    EXPECT_EQ(FtpAddress(t, QStringLiteral("%.csv")),
              QByteArray("ftp://h:21/Mappa%20%C3%A9kezettel/al%23mappa%3F/%25.csv"));
    // The credentials never go into the address.
    EXPECT_FALSE(FtpAddress(t, QStringLiteral("k.csv")).contains("p@ss"));
}

// Run by LocaleIndependentBytes in a child process under a given LANG.
TEST_F(SavedExports, WriteForLocale) {
    const QString out = qEnvironmentVariable("KML_EXPORT_OUT");
    if (out.isEmpty())
        GTEST_SKIP() << "run by LocaleIndependentBytes";
    ExportDefinition d = Definition(out);
    const SavedExportResult result = RunSavedExport(d, ExportDestination::File);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
}

TEST_F(SavedExports, LocaleIndependentBytes) {
    // The program as started under LANG=C and under the Hungarian locale
    // (set also when the system has no such locale: Qt's locale follows LANG).
    QByteArray first;
    for (const char* lang : {"C", "hu_HU.UTF-8"}) {
        const QString out = m_data.filePath(QStringLiteral("ki-%1.csv").arg(QString::fromLatin1(lang)));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LANG", lang);
        env.insert("LC_ALL", lang);
        env.insert("KML_EXPORT_OUT", out);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SavedExports.WriteForLocale"});
        ASSERT_TRUE(child.waitForFinished(120000));
        ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
        const QByteArray bytes = ReadAll(out);
        EXPECT_EQ(bytes, ExpectedValueLines()) << lang;
        if (first.isEmpty())
            first = bytes;
        EXPECT_EQ(bytes, first) << lang;
    }
    // And in this process with the Hungarian locale as the default.
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    std::setlocale(LC_ALL, "hu_HU.UTF-8");
    const SavedExportResult result =
        RunSavedExport(Definition(QStringLiteral("itt.csv")), ExportDestination::File);
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(ReadAll(m_data.filePath("itt.csv")), ExpectedValueLines());
}

TEST_F(SavedExports, OtherSeparatorAndNoQuote) {
    ExportDefinition d = Definition(QStringLiteral("vesszo.csv"));
    d.sql = QStringLiteral("SELECT id, osszeg, nev FROM ertekek WHERE id = 3");
    d.separator = 2;
    d.quote = 2;
    ASSERT_TRUE(RunSavedExport(d, ExportDestination::File).ok);
    // Not escaped: the decimal comma stands next to the separator, as the
    // service expects it.
    EXPECT_EQ(ReadAll(m_data.filePath("vesszo.csv")),
              ToCp1250(QString::fromUtf8("id,osszeg,nev,\r\n3,-0,05,Tűzoltó „Kft.”,\r\n")));
}

TEST_F(SavedExports, ClipboardAndMessagesOnlyOnSuccess) {
    db->connection().exec(QStringLiteral("DELETE FROM csvexp"));
    db->connection().exec(QStringLiteral(
        "INSERT INTO csvexp (csvexp, csvexp_nev, szoveg_sql, file_local, hatarolo, szovegjelolo) VALUES "
        "(1, 'Jó', 'SELECT id FROM ertekek WHERE id < 3 ORDER BY id', 'jo.csv', 1, 2),"
        "(2, 'Rossz SQL', 'SELECT nincs_ilyen FROM ertekek', 'rossz.csv', 0, 0),"
        "(3, 'Nincs mappa', 'SELECT id FROM ertekek', 'nincs/mappa/ki.csv', 0, 0),"
        "(4, 'Nincs file', 'SELECT id FROM ertekek', '', 0, 0)"));
    ScriptedDialogs dialogs;
    EXPECT_TRUE(RunExportDefinition(1, ExportDestination::Clipboard));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("id\t\r\n1\t\r\n2\t\r\n"));
    EXPECT_EQ(dialogs.lastCall().text, csvexp_text::ClipboardDone);
    EXPECT_TRUE(RunExportDefinition(1, ExportDestination::File));
    EXPECT_EQ(dialogs.lastCall().text, csvexp_text::Done);
    EXPECT_EQ(ReadAll(m_data.filePath("jo.csv")), QByteArray("id\t\r\n1\t\r\n2\t\r\n"));

    for (int id : {2, 3, 4, 99}) {
        dialogs.clear();
        EXPECT_FALSE(RunExportDefinition(id, ExportDestination::File)) << id;
        ASSERT_EQ(dialogs.calls().size(), 1u) << id;
        EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Error) << id;
        EXPECT_TRUE(dialogs.lastCall().text.startsWith(QStringLiteral("Hiba: "))) << id;
        EXPECT_FALSE(dialogs.texts().contains(csvexp_text::Done)) << id;
    }
    // The run by name that a command line uses.
    ASSERT_TRUE(FindExportDefinition(QStringLiteral("Jó")).has_value());
    EXPECT_EQ(FindExportDefinition(QStringLiteral("Jó"))->id, 1);
    EXPECT_FALSE(FindExportDefinition(QStringLiteral("nincs")).has_value());
}

TEST_F(SavedExports, FailedRunKeepsThePreviousFile) {
    WriteAll(m_data.filePath("regi.csv"), "régi tartalom");
    ExportDefinition d = Definition(QStringLiteral("regi.csv"));
    d.sql = QStringLiteral("SELECT * FROM nincs_ilyen_tabla");
    const SavedExportResult result = RunSavedExport(d, ExportDestination::File);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(ReadAll(m_data.filePath("regi.csv")), QByteArray("régi tartalom"));
}

TEST_F(SavedExports, FieldListIsPreparedNeverRun) {
    db->connection().exec(QStringLiteral("CREATE TABLE IF NOT EXISTS aldozat (x INT)"));
    db->connection().exec(QStringLiteral("DELETE FROM aldozat"));
    db->connection().exec(QStringLiteral("INSERT INTO aldozat VALUES (1),(2)"));
    EXPECT_EQ(StatementFieldNames(QStringLiteral("SELECT id, nev AS név, osszeg*2 FROM ertekek")),
              (QStringList{"id", QString::fromUtf8("név"), "osszeg*2"}));
    EXPECT_TRUE(StatementFieldNames(QStringLiteral("DELETE FROM aldozat")).isEmpty());
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM aldozat")), 2);
    EXPECT_THROW(StatementFieldNames(QStringLiteral("SELEC x")), DbError);
    // The connection goes on working.
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT 5")), 5);

    EXPECT_EQ(AppendFieldName(QStringLiteral("ugyfel"), QStringLiteral("datum")),
              QStringLiteral("ugyfel,datum"));
    EXPECT_EQ(AppendFieldName(QString(), QStringLiteral("datum")), QStringLiteral("datum"));
}

// ---- FTP --------------------------------------------------------------------

TEST_F(SavedExports, UploadsIntoEveryKindOfFolder) {
    REQUIRE_FTP();
    QDir(FtpRoot()).mkpath(QStringLiteral("pub/x"));
    QDir(FtpRoot()).mkpath(QString::fromUtf8("Mappa ékezettel/al mappa"));
    const struct {
        const char* folder;
        const char* remote; // under the server's root
    } cases[] = {
        {"", "ki.csv"},
        {"/pub/x", "pub/x/ki.csv"},
        {"pub/x/", "pub/x/ki.csv"},
        {"Mappa ékezettel/al mappa", "Mappa ékezettel/al mappa/ki.csv"},
    };
    for (const auto& c : cases) {
        const QString remote = FtpRoot() + QLatin1Char('/') + QString::fromUtf8(c.remote);
        QFile::remove(remote);
        const SavedExportResult result = RunSavedExport(
            Definition(QStringLiteral("ki.csv"), QString::fromUtf8(c.folder)), ExportDestination::Ftp);
        ASSERT_TRUE(result.ok) << c.folder << ": " << result.error.toStdString();
        EXPECT_EQ(ReadAll(remote), ExpectedValueLines()) << c.folder;
        // No temporary name is left behind.
        EXPECT_EQ(QDir(QFileInfo(remote).absolutePath()).entryList({".*.part"}, QDir::Files | QDir::Hidden),
                  QStringList())
            << c.folder;
    }
}

TEST_F(SavedExports, BinaryReplacingAndBothModes) {
    REQUIRE_FTP();
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    bytes += "\r\nsor\r\n\n\r";
    bytes = bytes.repeated(300);
    const QString local = m_data.filePath("binaris.dat");
    WriteAll(local, bytes);
    const QString remote = FtpRoot() + QStringLiteral("/binaris.dat");
    WriteAll(remote, QByteArray(1000000, 'x')); // longer than the new one
    for (bool active : {false, true}) {
        FtpTarget t = Target();
        t.activeMode = active;
        ASSERT_NO_THROW(FtpUpload(t, local, QStringLiteral("binaris.dat"))) << active;
        EXPECT_EQ(ReadAll(remote), bytes) << (active ? "active" : "passive");
    }
    // The ini setting picks active mode.
    EXPECT_FALSE(FtpActiveModeSetting());
    IniWriteStr(QStringLiteral("Alapertek"), QStringLiteral("FtpAktiv"), QStringLiteral("1"));
    EXPECT_TRUE(FtpActiveModeSetting());
    QFile::remove(remote);
    ASSERT_TRUE(RunSavedExport(Definition(QStringLiteral("binaris.dat")), ExportDestination::Ftp).ok);
    EXPECT_EQ(ReadAll(remote), ExpectedValueLines());
}

TEST_F(SavedExports, FailuresAreErrorsAndLeaveTheRemoteFile) {
    REQUIRE_FTP();
    const QString remote = FtpRoot() + QStringLiteral("/marad.csv");
    WriteAll(remote, "a szerveren lévő változat");
    const QByteArray before = ReadAll(remote);

    const auto run = [&](ExportDefinition d) {
        ScriptedDialogs dialogs;
        db->connection().exec(QStringLiteral("DELETE FROM csvexp"));
        db->connection().exec(
            QStringLiteral(
                "INSERT INTO csvexp (csvexp, csvexp_nev, szoveg_sql, file_local, ftp_kell, host_ftp, "
                "file_ftp, ftp_user, ftp_jelszo) VALUES (1, 'x', %1, %2, 'I', %3, %4, %5, %6)")
                .arg(SqlStr(d.sql), SqlStr(d.fileLocal), SqlStr(d.host), SqlStr(d.folder), SqlStr(d.user),
                     SqlStr(d.password)));
        const bool ok = RunExportDefinition(1, ExportDestination::Ftp);
        EXPECT_FALSE(ok);
        EXPECT_EQ(dialogs.calls().size(), 1u);
        const QString text = dialogs.calls().empty() ? QString() : dialogs.lastCall().text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Hiba: "))) << text.toStdString();
        EXPECT_FALSE(text.contains(kPassword)) << text.toStdString();
        EXPECT_FALSE(dialogs.texts().contains(csvexp_text::Done));
        EXPECT_EQ(ReadAll(remote), before);
        return text;
    };
    ExportDefinition d = Definition(QStringLiteral("marad.csv"));

    ExportDefinition wrongPassword = d;
    wrongPassword.password = QStringLiteral("rossz-jelszó");
    run(wrongPassword);

    ExportDefinition readOnly = d;
    readOnly.user = QStringLiteral("olvaso");
    readOnly.password = QStringLiteral("csak-olvas");
    run(readOnly);

    ExportDefinition missingFolder = d;
    missingFolder.folder = QStringLiteral("nincs/ilyen");
    run(missingFolder);

    ExportDefinition refused = d;
    refused.host = QStringLiteral("127.0.0.1:1");
    run(refused);

    // A write error locally: nothing is uploaded.
    ExportDefinition unwritable = d;
    unwritable.fileLocal = m_data.filePath("nincs-mappa/marad.csv");
    run(unwritable);

    // A failed statement: no upload of an old file either.
    WriteAll(m_data.filePath("marad.csv"), "régi helyi file");
    ExportDefinition badSql = d;
    badSql.sql = QStringLiteral("SELECT * FROM nincs_ilyen_tabla");
    run(badSql);
}

TEST_F(SavedExports, RefusedRenameLeavesNoTemporaryFile) {
    REQUIRE_FTP();
    // A folder holds the final name: the rename is refused.
    QDir(FtpRoot()).mkpath(QStringLiteral("foglalt/nev.csv"));
    const QString local = m_data.filePath("nev.csv");
    WriteAll(local, "adat");
    try {
        FtpUpload(Target(QStringLiteral("foglalt")), local, QStringLiteral("nev.csv"));
        ADD_FAILURE() << "the upload should fail";
    } catch (const FtpError& e) {
        EXPECT_FALSE(e.message().contains(kPassword));
    }
    EXPECT_EQ(QDir(FtpRoot() + QStringLiteral("/foglalt")).entryList(QDir::Files | QDir::Hidden),
              QStringList());
}

// ---- Pictures ---------------------------------------------------------------

TEST_F(SavedExports, PictureSettingsAndUpload) {
    Beall().kephost = QStringLiteral("kepek.pelda.hu");
    Beall().kepport = 0;
    EXPECT_EQ(PictureFtpTarget().port, 21);
    Beall().kepport = 2121;
    EXPECT_EQ(PictureFtpTarget().port, 2121);

    // Without kepftp only the local copy is made.
    const QString source = m_data.filePath("forras.jpg");
    QImage picture(32, 24, QImage::Format_RGB888);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(source, "JPEG"));
    const QString target = m_data.filePath("Kepek/banner3.jpg");
    QDir().mkpath(m_data.filePath("Kepek"));
    {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(CopyAndUploadPicture(source, target));
        EXPECT_TRUE(dialogs.calls().empty());
        EXPECT_EQ(ReadAll(target), ReadAll(source));
        // Choosing the target itself leaves it whole.
        EXPECT_TRUE(CopyAndUploadPicture(target, target));
        EXPECT_EQ(ReadAll(target), ReadAll(source));
        EXPECT_TRUE(ResizeAndUploadPicture(target, target));
        EXPECT_EQ(QImage(target).size(), QSize(640, 480));
    }
    // A refused connection: "Hiba: ...", the local picture stays, true.
    Beall().kepftp = true;
    Beall().kephost = QStringLiteral("127.0.0.1");
    Beall().kepport = 1;
    {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(CopyAndUploadPicture(source, target));
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_TRUE(dialogs.lastCall().text.startsWith(QStringLiteral("Hiba: ")));
        EXPECT_EQ(ReadAll(target), ReadAll(source));
    }
    if (FtpPort() == 0)
        return;
    // An empty kepfolder stores in the login folder; a folder is changed to.
    Beall().kepport = FtpPort();
    Beall().kepuser = kUser;
    Beall().keppwd = kPassword;
    for (const QString& folder : {QString(), QStringLiteral("kepek")}) {
        QDir(FtpRoot()).mkpath(QStringLiteral("kepek"));
        Beall().kepfolder = folder;
        const QString remote = FtpRoot() + (folder.isEmpty() ? QString() : QLatin1Char('/') + folder) +
                               QStringLiteral("/banner3.jpg");
        QFile::remove(remote);
        ScriptedDialogs dialogs;
        EXPECT_TRUE(ResizeAndUploadPicture(source, target));
        EXPECT_TRUE(dialogs.calls().empty()) << dialogs.texts().join('|').toStdString();
        EXPECT_EQ(ReadAll(remote), ReadAll(target));
    }
}

TEST(ResizeJpegCases, FitsIntoTheWebsiteBox) {
    QTemporaryDir dir;
    const struct {
        QSize source;
        QSize expected;
    } cases[] = {{{1600, 1200}, {640, 480}},
                 {{320, 240}, {640, 480}},
                 {{480, 1000}, {230, 480}},
                 {{10000, 8000}, {600, 480}}};
    for (const auto& c : cases) {
        const QString source = dir.filePath(QStringLiteral("s%1.jpg").arg(c.source.width()));
        {
            QImage picture(c.source, QImage::Format_RGB888);
            picture.fill(QColor(10, 120, 200));
            ASSERT_TRUE(picture.save(source, "JPEG", 90)) << c.source.width();
        }
        const QString target = dir.filePath(QStringLiteral("t%1.jpg").arg(c.source.width()));
        ASSERT_NO_THROW(ResizeJpeg(source, target, 640, 480)) << c.source.width();
        const QImage result(target);
        EXPECT_EQ(result.size(), c.expected) << c.source.width();
        const QColor centre = result.pixelColor(result.width() / 2, result.height() / 2);
        EXPECT_NEAR(centre.blue(), 200, 4);
        EXPECT_NEAR(centre.green(), 120, 4);
    }
}
