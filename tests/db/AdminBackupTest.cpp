// Backups of a shop's database judged by restores: the data script (.sql and
// .zip) and the old program's double-escaped scripts restored into another
// database give CHECKSUM TABLE equal on every table; the full backup through
// mariadb-dump with an awkward password holds the routines and restores with
// the mariadb client; the command-line backup; the connection test.

#include "TestDatabase.h"
#include "admin/Backup.h"
#include "admin/BackupCommand.h"
#include "admin/DatabaseList.h"
#include "components/Cp1250.h"
#include "components/DbError.h"
#include "foundation/IniFile.h"
#include "foundation/TextHelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>

namespace kml {
namespace {

using test::TestDatabase;

std::map<QString, QString> Checksums(Connection& connection) {
    std::map<QString, QString> sums;
    for (const QString& table : connection.tableNames())
        sums[table] = connection.query(QStringLiteral("CHECKSUM TABLE `%1`").arg(table)).text(0, 1);
    return sums;
}

void ExpectSameDatabase(Connection& expected, Connection& actual) {
    const auto want = Checksums(expected);
    const auto got = Checksums(actual);
    ASSERT_EQ(got.size(), want.size());
    for (const auto& [table, sum] : want)
        EXPECT_EQ(got.at(table), sum) << table.toStdString();
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A table of awkward values, made in a database beside the shop's tables.
const char* const kAwkward[] = {
    "back\\slash",     "lone\nLF", "lone\rCR",       "CR\r\nLF",    "quotes ' \" `",
    "„Teszt” – 100 €", "",         "\\r\\n as text", "ends with ;", "árvíztűrő ŐŰ",
};

void CreateAwkwardTable(Connection& c) {
    c.exec("CREATE TABLE furcsa (furcsa INT AUTO_INCREMENT PRIMARY KEY, szoveg TEXT, ar DOUBLE, kis FLOAT, "
           "menny DECIMAL(12,3), datum DATE, ido DATETIME, ora TIME, jel CHAR(1), kep BLOB, bitek BIT(5)) "
           "ENGINE=InnoDB CHARACTER SET latin2 COLLATE latin2_hungarian_ci");
}

void FillAwkward(Connection& c) {
    c.exec("SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_AUTO_VALUE_ON_ZERO')");
    int key = 0; // a key-0 placeholder row first
    for (const char* text : kAwkward) {
        QByteArray blob;
        for (int b = 0; b < 256; ++b)
            blob += char((b * 7 + key) & 0xFF); // NUL, 0x1A and quote bytes included
        c.exec(QStringLiteral(
                   "INSERT INTO furcsa VALUES (%1, %2, %3, %4, 12.345, %5, %6, '-12:30:00', 'I', 0x%7, "
                   "b'10101')")
                   .arg(key)
                   .arg(SqlStr(QString::fromUtf8(text)))
                   .arg(key == 1 ? QStringLiteral("NULL") : QStringLiteral("0.1 + %1 / 3.0e0").arg(key))
                   .arg(QStringLiteral("0.1"))
                   .arg(key == 2 ? QStringLiteral("'0000-00-00'") : QStringLiteral("'2024-02-29'"))
                   .arg(key == 3 ? QStringLiteral("'0000-00-00 00:00:00'") : QStringLiteral("NOW()"))
                   .arg(QString::fromLatin1(blob.toHex())));
        ++key;
    }
    c.exec("INSERT INTO furcsa (szoveg, ar) VALUES (NULL, NULL)");
    c.exec("SET SESSION sql_mode = REPLACE(@@SESSION.sql_mode, 'NO_AUTO_VALUE_ON_ZERO', '')");
    // Shop rows with the same texts, a work sheet with its employees and lines.
    for (const char* text : kAwkward)
        c.exec(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev, megjegyzes) VALUES (%1, %2)")
                   .arg(SqlStr(QString::fromUtf8(text)), SqlStr(QString::fromUtf8(text) + "\r\n2")));
}

class DataBackup : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_source = new TestDatabase(QStringLiteral("bksource"), TestDatabase::Contents::Demo);
        CreateAwkwardTable(s_source->connection());
        FillAwkward(s_source->connection());
    }
    static void TearDownTestSuite() {
        delete s_source;
        s_source = nullptr;
    }
    // An empty copy of the schema, with rows of its own the restore must replace.
    static std::unique_ptr<TestDatabase> Target(const QString& name) {
        auto target = std::make_unique<TestDatabase>(name, TestDatabase::Contents::Schema);
        CreateAwkwardTable(target->connection());
        target->connection().exec("INSERT INTO furcsa (szoveg) VALUES ('régi sor')");
        target->connection().exec("INSERT INTO ugyfel (ugyfel_nev) VALUES ('régi ügyfél')");
        return target;
    }
    static TestDatabase* s_source;
    QTemporaryDir m_dir;
};
TestDatabase* DataBackup::s_source = nullptr;

TEST_F(DataBackup, ScriptRestoresEveryTableExactlyThroughTheProgramAndTheClient) {
    const QString file = m_dir.filePath("koravel-mentes.sql");
    qint64 lastPosition = -1, lastMaximum = -1;
    WriteDataBackup(s_source->connection(), file, [&](qint64 p, qint64 m) {
        lastPosition = p;
        lastMaximum = m;
    });
    EXPECT_EQ(lastPosition, lastMaximum);

    const QByteArray script = ReadAll(file);
    const QList<QByteArray> lines = script.split('\n');
    EXPECT_TRUE(lines.first().startsWith(DataScriptMark));
    for (const char* expected :
         {"SET NAMES latin2;", "SET SESSION FOREIGN_KEY_CHECKS = 0;", "SET SESSION UNIQUE_CHECKS = 0;",
          "SET SESSION SQL_MODE = 'NO_AUTO_VALUE_ON_ZERO';"})
        EXPECT_TRUE(script.contains(QByteArray(expected) + "\r\n")) << expected;
    EXPECT_FALSE(script.contains("INSERT IGNORE"));
    EXPECT_FALSE(script.contains("TRUNCATE `vw_")); // base tables only
    EXPECT_TRUE(script.contains("TRUNCATE `furcsa`;"));
    EXPECT_TRUE(script.contains(ToCp1250(QString::fromUtf8("'„Teszt” – 100 €'"))));
    EXPECT_TRUE(script.contains("'back\\\\slash'"));
    EXPECT_TRUE(script.contains(",0x"));
    EXPECT_TRUE(script.trimmed().endsWith(";"));

    const auto viaProgram = Target(QStringLiteral("bkprogram"));
    RestoreDataBackup(viaProgram->connection(), file);
    ExpectSameDatabase(s_source->connection(), viaProgram->connection());
    // The session is as it was before the restore.
    EXPECT_EQ(viaProgram->connection()
                  .query("SELECT @@SESSION.foreign_key_checks, @@SESSION.collation_connection")
                  .text(0, 1),
              "latin2_hungarian_ci");
    EXPECT_EQ(viaProgram->connection().query("SELECT COUNT(*) FROM furcsa WHERE furcsa = 0").text(0, 0), "1");

    const auto viaClient = Target(QStringLiteral("bkclient"));
    test::RunClientFile(viaClient->name(), file);
    ExpectSameDatabase(s_source->connection(), viaClient->connection());
}

TEST_F(DataBackup, ZipHoldsOneScriptAndLeavesItsNeighboursAlone) {
    const QString zip = m_dir.filePath("bolt.zip");
    const QString neighbour = m_dir.filePath("bolt.sql");
    {
        QFile f(neighbour);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("egy korábbi mentés");
    }
    WriteDataBackup(s_source->connection(), zip);
    EXPECT_EQ(ReadAll(neighbour), "egy korábbi mentés");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files, QDir::Name), (QStringList{"bolt.sql", "bolt.zip"}));

    QProcess unzip;
    unzip.start("unzip", {"-t", zip});
    ASSERT_TRUE(unzip.waitForFinished(60000));
    EXPECT_EQ(unzip.exitCode(), 0) << unzip.readAll().toStdString();
    unzip.start("unzip", {"-Z1", zip});
    ASSERT_TRUE(unzip.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(unzip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
              QStringList{"bolt.sql"});

    const auto target = Target(QStringLiteral("bkzip"));
    RestoreDataBackup(target->connection(), zip);
    ExpectSameDatabase(s_source->connection(), target->connection());

    // A failed backup leaves no archive under the name.
    Connection closed;
    EXPECT_ANY_THROW(WriteDataBackup(closed, m_dir.filePath("hibas.zip")));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("hibas.zip")));
}

// The old program's script: TRUNCATE and INSERT IGNORE per table (views too),
// text through SqlStr and then once more through EscapeText, cp1250, CR LF.
TEST_F(DataBackup, OldDoubleEscapedScriptsAreRecognisedAndRestored) {
    TestDatabase db(QStringLiteral("bkold"), TestDatabase::Contents::Empty);
    Connection& c = db.connection();
    c.exec("CREATE TABLE regi (regi INT AUTO_INCREMENT PRIMARY KEY, szoveg TEXT, ar DOUBLE) CHARACTER SET "
           "latin2");
    c.exec("CREATE VIEW vw_regi AS SELECT regi, szoveg FROM regi");
    c.exec("INSERT INTO regi (szoveg) VALUES ('elrontandó')");
    QStringList script{"TRUNCATE regi;", "INSERT IGNORE INTO regi (regi,szoveg,ar) VALUES"};
    int key = 0;
    for (const char* text : kAwkward)
        script << QStringLiteral("(%1,%2,%3),")
                      .arg(key++)
                      .arg(EscapeText(SqlStr(QString::fromUtf8(text))))
                      .arg("0.5");
    script.last().chop(1);
    script.last() += ';';
    script << "TRUNCATE vw_regi;"
           << "INSERT IGNORE INTO vw_regi (regi,szoveg) VALUES"
           << "(99,'nézet');"
           << "";
    const QString file = m_dir.filePath("regi.sql");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ToCp1250(script.join("\r\n")));
    }
    EXPECT_TRUE(IsOldDataScript("TRUNCATE regi;"));
    RestoreDataBackup(c, file);
    const ResultSet rs = c.query("SELECT regi, szoveg FROM regi ORDER BY regi");
    ASSERT_EQ(rs.rowCount(), int(std::size(kAwkward)));
    for (int r = 0; r < rs.rowCount(); ++r) {
        EXPECT_EQ(rs.text(r, 0).toInt(), r); // the key 0 stayed 0
        EXPECT_EQ(rs.text(r, 1), QString::fromUtf8(kAwkward[r])) << r;
    }
}

TEST_F(DataBackup, GeneratedShopOf20000SheetsRoundTrips) {
    const QString name = QStringLiteral("kml_bk_large_%1").arg(QCoreApplication::applicationPid());
    const ConnectionOptions server = test::ServerOptions();
    QProcess make;
    make.setProcessChannelMode(QProcess::MergedChannels);
    make.start(test::SourcePath("bench/make_large_shop"),
               {"-h", server.host, "-P", QString::number(server.port), "-u", server.user, "-s", "10", name});
    ASSERT_TRUE(make.waitForFinished(600000));
    ASSERT_EQ(make.exitCode(), 0) << make.readAll().toStdString();
    Connection source;
    source.open(test::ServerOptions(name));
    const QString file = m_dir.filePath("nagy.zip");
    WriteDataBackup(source, file);
    const auto target =
        std::make_unique<TestDatabase>(QStringLiteral("bklarge"), TestDatabase::Contents::Schema);
    RestoreDataBackup(target->connection(), file);
    EXPECT_EQ(target->connection().query("SELECT COUNT(*) FROM munkalap").text(0, 0).toInt(), 20000);
    ExpectSameDatabase(source, target->connection());
    source.exec(QStringLiteral("DROP DATABASE `%1`").arg(name));
}

// ---- Full backup --------------------------------------------------------------

const QString kAwkwardPassword = QStringLiteral("a b\"c$d;e'f#g\\h");

struct FullResult {
    bool ok = false;
    QString message;
    QString commandLine; // the child's /proc command line, as seen while it ran
};

FullResult RunFull(const QString& program, const ConnectionEntry& entry, const QString& file) {
    FullResult result;
    FullBackupRun run;
    QEventLoop loop;
    QObject::connect(&run, &FullBackupRun::finished, &loop, [&](bool ok, const QString& message) {
        result.ok = ok;
        result.message = message;
        loop.quit();
    });
    QString error;
    if (!run.start(program, entry, file, error)) {
        result.message = error;
        return result;
    }
    if (run.process()) {
        QObject::connect(run.process(), &QProcess::started, &loop, [&] {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(run.process()->processId()));
            if (cmdline.open(QIODevice::ReadOnly))
                result.commandLine = QString::fromLocal8Bit(cmdline.readAll().replace('\0', ' '));
        });
    }
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);
    loop.exec();
    return result;
}

TEST(FullBackup, AwkwardPasswordRoutinesAndARestoreWithTheClient) {
    auto db = std::make_unique<TestDatabase>(QStringLiteral("bkfull"), TestDatabase::Contents::Demo);
    Connection& c = db->connection();
    const QString user = QStringLiteral("kml_dump_%1").arg(QCoreApplication::applicationPid());
    c.exec(QStringLiteral("CREATE OR REPLACE USER '%1'@'%' IDENTIFIED BY %2")
               .arg(user, SqlStr(kAwkwardPassword)));
    c.exec(QStringLiteral("GRANT ALL ON `%1`.* TO '%2'@'%'").arg(db->name(), user));
    // Reading routines another user defined (the schema's own) takes this too.
    c.exec(QStringLiteral("GRANT SELECT ON mysql.proc TO '%1'@'%'").arg(user));
    ConnectionEntry entry;
    entry.database = db->name();
    entry.host = db->options().host;
    entry.port = QString::number(db->options().port);
    entry.user = user;
    entry.password = kAwkwardPassword;
    entry.displayName = "Bolt";

    QTemporaryDir dir;
    const QString file = dir.filePath("teljes.sql");
    const FullResult result = RunFull(QString(), entry, file);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_FALSE(result.commandLine.contains("a b")) << result.commandLine.toStdString();
    EXPECT_FALSE(result.commandLine.contains("password")) << result.commandLine.toStdString();
    EXPECT_TRUE(result.commandLine.contains("--routines"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{"teljes.sql"}); // no part file, no option file
    const QByteArray dump = ReadAll(file);
    EXPECT_TRUE(QString::fromLatin1(dump).contains(QRegularExpression("CREATE\\b.*\\bPROCEDURE `sp_")));
    EXPECT_TRUE(dump.contains("CREATE DATABASE"));

    // Restored with the mariadb client the database is one the program starts on.
    const auto before = Checksums(c);
    c.exec(QStringLiteral("DROP DATABASE `%1`").arg(db->name()));
    test::RunClientFile(QString(), file);
    Connection restored;
    restored.open(db->options());
    EXPECT_EQ(restored.query("SELECT MAX(verzio) FROM verzio").text(0, 0), "24.0.0.111");
    EXPECT_GT(restored
                  .query(QStringLiteral("SELECT COUNT(*) FROM information_schema.ROUTINES WHERE "
                                        "ROUTINE_SCHEMA = '%1'")
                             .arg(db->name()))
                  .text(0, 0)
                  .toInt(),
              5);
    restored.exec("CALL sp_gyszstr()");
    const auto after = Checksums(restored);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.at("munkalap"), before.at("munkalap"));

    // A wrong password and a wrong program are reported; nothing is left behind.
    entry.password = "rossz";
    const FullResult wrong = RunFull(QString(), entry, dir.filePath("rossz.sql"));
    EXPECT_FALSE(wrong.ok);
    EXPECT_TRUE(wrong.message.contains("kilépési kód")) << wrong.message.toStdString();
    EXPECT_TRUE(wrong.message.contains("Access denied")) << wrong.message.toStdString();
    const FullResult missing = RunFull("/nincs/ilyen/mariadb-dump", entry, dir.filePath("nincs.sql"));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.message.startsWith("A mentőprogram nem található")) << missing.message.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"teljes.sql"});
    c.exec(QStringLiteral("DROP USER '%1'@'%'").arg(user));
}

TEST(FullBackup, ArgumentsCarryNoPasswordAndTheOptionFileQuotesIt) {
    ConnectionEntry entry{"bolt", "db.example", "3307", "admin", "titok;$", "Bolt"};
    const QStringList args = FullBackupArguments(entry, "/tmp/x/k.cnf", "/home/a b/m.sql");
    EXPECT_EQ(args.first(), "--defaults-extra-file=/tmp/x/k.cnf");
    for (const QString& a : args)
        EXPECT_FALSE(a.contains("titok"));
    for (const char* option : {"--single-transaction", "--routines", "--events", "--host=db.example",
                               "--port=3307", "--user=admin", "--result-file=/home/a b/m.sql"})
        EXPECT_TRUE(args.contains(option)) << option;
    EXPECT_EQ(args.mid(args.size() - 2), (QStringList{"--databases", "bolt"}));
    EXPECT_EQ(DumpOptionFileText(kAwkwardPassword), "[client]\npassword=\"a b\\\"c$d;e'f#g\\\\h\"\n");
}

// ---- Command line and connection test -----------------------------------------

TEST(BackupCommandLine, ExitStatusZeroOnlyForACompleteFile) {
    TestDatabase db(QStringLiteral("bkcmd"), TestDatabase::Contents::Schema);
    QTemporaryDir dir;
    SetIniFilePath(dir.filePath("KoravelML.ini"));
    const ConnectionOptions o = db.options();
    WriteConnectionEntries(
        {ConnectionEntry{"nincs_ilyen_db", o.host, QString::number(o.port), o.user, o.password, "Rossz"},
         ConnectionEntry{db.name(), o.host, QString::number(o.port), o.user, o.password, "Bolt"}});
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const auto run = [&](QStringList args) {
        args.prepend("KoravelML");
        return RunBackupCommand(args, out, err);
    };
    EXPECT_EQ(run({"--backup", dir.filePath("jo.zip"), "--db", "Bolt"}), 0) << errText.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("jo.zip")));
    EXPECT_EQ(run({"--backup", dir.filePath("elso.sql")}), 1); // the first entry's database does not exist
    EXPECT_FALSE(QFile::exists(dir.filePath("elso.sql")));
    EXPECT_EQ(run({"--backup", dir.filePath("x.sql"), "--db", "Nincs"}), 1);
    EXPECT_EQ(run({"--backup", "/nincs/ilyen/mappa/x.sql", "--db", "Bolt"}), 1);
    EXPECT_EQ(run({"--backup"}), 2);
    EXPECT_EQ(run({"--backup", "a.sql", "--zaj"}), 2);
    SetIniFilePath({});
}

TEST(ConnectionTest, VersionFoundEmptyOrMissing) {
    TestDatabase shop(QStringLiteral("bktest"), TestDatabase::Contents::Schema);
    TestDatabase bare(QStringLiteral("bkbare"), TestDatabase::Contents::Empty);
    const auto entryOf = [](const TestDatabase& db) {
        const ConnectionOptions o = db.options();
        return ConnectionEntry{db.name(), o.host, QString::number(o.port), o.user, o.password, "x"};
    };
    Connection window;
    EntryTest t = TestDatabaseEntry(window, entryOf(shop));
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(t.version, "24.0.0.111");
    EXPECT_FALSE(window.isOpen());

    t = TestDatabaseEntry(window, entryOf(bare));
    EXPECT_FALSE(t.ok);
    EXPECT_TRUE(t.error.startsWith("Hiba: ")) << t.error.toStdString();
    EXPECT_FALSE(window.isOpen());

    bare.connection().exec("CREATE TABLE verzio (verzio VARCHAR(15))");
    t = TestDatabaseEntry(window, entryOf(bare));
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(t.version, "");

    ConnectionEntry refused = entryOf(shop);
    refused.port = "1"; // nothing listens there
    t = TestDatabaseEntry(window, refused);
    EXPECT_FALSE(t.ok);
    EXPECT_TRUE(t.error.startsWith("Hiba: "));
}

} // namespace
} // namespace kml
