// The customer's view of a job: the sheet's key against the server's MD5,
// the status address, the QR code on the printouts of every trade read back
// by a barcode reader (zbarimg) from 300 and 600 dpi renderings (pdftoppm),
// the layouts' fields left where they were, and the status feed "Munkalap
// állapot" run by the command line to a file and to a real FTP server.

#include "exchange/StatusLink.h"

#include "PdfText.h"
#include "TestDatabase.h"
#include "components/Connection.h"
#include "components/Cp1250.h"
#include "exchange/ExportCommand.h"
#include "exchange/Letters.h"
#include "exchange/SavedExports.h"
#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "reports/WorkSheetPrint.h"
#include "shell/ShopSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::ReadPdfPages;
using test::Squeezed;
using test::TestDatabase;

const QString kLink = QStringLiteral("https://www.huslegklima.hu/allapot.php?id=%id%&key=%key%");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// ---- The key and the address ----------------------------------------------

TEST(StatusKey, LocalKeyEqualsTheServersMd5) {
    TestDatabase db(QStringLiteral("statuskey"));
    EXPECT_EQ(RecordKey(125), QueryStr(QStringLiteral("SELECT MD5('key=125');")));
    // The feed computes it on the server the same way.
    for (const qlonglong n : {1LL, 7LL, 99999LL, 2147483647LL})
        EXPECT_EQ(RecordKey(n), QueryStr(QStringLiteral("SELECT MD5(CONCAT('key=', %1));").arg(n))) << n;
}

TEST(StatusAddressText, PlaceholdersReplacedOnceEverythingElseKept) {
    const QString key = RecordKey(125);
    const struct {
        QString link;
        QString address;
    } cases[] = {
        {kLink, QStringLiteral("https://www.huslegklima.hu/allapot.php?id=125&key=") + key},
        {QStringLiteral("x/%ID%/%Key%/%id%"), QStringLiteral("x/125/") + key + QStringLiteral("/125")},
        {QStringLiteral("https://példa.hu/á?k=%key%&p=10%&q=%%id%%"),
         QStringLiteral("https://példa.hu/á?k=") + key + QStringLiteral("&p=10%&q=%125%")},
        {QStringLiteral("https://pelda.hu/allapot"), QStringLiteral("https://pelda.hu/allapot")},
        {QStringLiteral("%idx% %ke y%"), QStringLiteral("%idx% %ke y%")},
        {QStringLiteral("  https://pelda.hu/%id%  "), QStringLiteral("https://pelda.hu/125")},
        {QString(), QString()},
        {QStringLiteral("   "), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatusAddress(c.link, 125), c.address) << c.link.toStdString();
}

// The shop-wide setting is loaded with the others; a database that
// db/upgrade.sql has not brought up to date yet still starts, without a
// status link.
TEST(StatusSetting, LoadedWithTheShopsSettingsAndMissingInAnOlderDatabase) {
    TestDatabase db(QStringLiteral("statussetting"));
    ExecSql(QStringLiteral("UPDATE beallit SET allapotlink = 'https://pelda.hu/a?id=%id%';"));
    TBeall settings;
    LoadShopSettings(settings);
    EXPECT_EQ(settings.allapotlink, QStringLiteral("https://pelda.hu/a?id=%id%"));
    ExecSql(QStringLiteral("ALTER TABLE beallit DROP COLUMN allapotlink;"));
    ExecSql(
        QStringLiteral("CREATE OR REPLACE VIEW vw_beallit AS SELECT b.*, p.prgtipus_nev, p.gyszstr, "
                       "p.keszulekstr, p.muszakistr, p.vankeszulek FROM beallit b LEFT JOIN prgtipus p ON "
                       "p.prgtipus = b.prgtipus;"));
    LoadShopSettings(settings);
    EXPECT_EQ(settings.allapotlink, QString());
    EXPECT_EQ(settings.prgtipus, 1);
}

// ---- The QR code on the printouts -----------------------------------------

// Demo sheets: 12 an air-conditioner service, 11 a van, 7 a gas boiler.
struct TradeCase {
    WorkSheetLayout layout;
    int programType;
    int sheet;
};
const TradeCase kTrades[] = {
    {WorkSheetLayout::qrMunkalap0, 1, 12},  {WorkSheetLayout::qrMunkalap, 1, 12},
    {WorkSheetLayout::qrMunkalapA0, 2, 11}, {WorkSheetLayout::qrMunkalapA, 2, 11},
    {WorkSheetLayout::qrMunkalapG0, 4, 7},  {WorkSheetLayout::qrMunkalapG, 4, 7},
};

// One atom as a comparable line: kind, place and text.
QStringList AtomLines(const report::Document& doc, int page) {
    QStringList lines;
    for (const report::Atom& a : doc.pages.at(size_t(page)).atoms)
        lines << QStringLiteral("%1 %2,%3 %4x%5 %6")
                     .arg(int(a.kind))
                     .arg(a.rect.x(), 0, 'f', 3)
                     .arg(a.rect.y(), 0, 'f', 3)
                     .arg(a.rect.width(), 0, 'f', 3)
                     .arg(a.rect.height(), 0, 'f', 3)
                     .arg(doc.textOf(a, page));
    return lines;
}

int QrAtoms(const report::Document& doc) {
    int n = 0;
    for (const report::Page& p : doc.pages)
        for (const report::Atom& a : p.atoms)
            n += a.kind == report::Atom::Kind::QrCode ? 1 : 0;
    return n;
}

class StatusPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("statusprint"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        Beall() = TBeall{};
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { Beall() = TBeall{}; }

    static WorkSheetPrintOptions Options(int programType, const QString& link) {
        WorkSheetPrintOptions o;
        o.programType = programType;
        o.statusLink = link;
        return o;
    }
    static report::Document Document(const TradeCase& c, const QString& link) {
        return MakeWorkSheetDocument(c.sheet, c.layout, Options(c.programType, link),
                                     QDateTime(QDate(2024, 3, 7), QTime(9, 15)));
    }

    // The printout as a PDF file, kept under the build folder for people
    // to look at.
    QString Pdf(const TradeCase& c, const QString& link, const QString& name) {
        const QString path = m_dir.filePath(name + QStringLiteral(".pdf"));
        report::SaveAsPdf(Document(c, link), path);
        const QString kept = test::BuildPath(QStringLiteral("screenshots"));
        QDir().mkpath(kept);
        QFile::remove(kept + QStringLiteral("/status-") + name + QStringLiteral(".pdf"));
        QFile::copy(path, kept + QStringLiteral("/status-") + name + QStringLiteral(".pdf"));
        return path;
    }

    // What a barcode reader finds on the printout's pages rendered at dpi.
    QStringList Decoded(const QString& pdf, int dpi) {
        const QString prefix = pdf + QStringLiteral("-%1").arg(dpi);
        QProcess render;
        render.start(QStringLiteral("pdftoppm"),
                     {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), pdf, prefix});
        EXPECT_TRUE(render.waitForFinished(120000));
        EXPECT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
        QStringList found;
        const QFileInfo info(prefix);
        const QStringList images =
            QDir(info.absolutePath())
                .entryList({info.fileName() + QStringLiteral("*.png")}, QDir::Files, QDir::Name);
        EXPECT_FALSE(images.isEmpty()) << "pdftoppm wrote no page";
        for (const QString& image : images) {
            QProcess reader;
            reader.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"),
                                                     info.absolutePath() + QLatin1Char('/') + image});
            EXPECT_TRUE(reader.waitForFinished(120000));
            // Exit status 4: no symbol on that page.
            EXPECT_TRUE(reader.exitCode() == 0 || reader.exitCode() == 4)
                << image.toStdString() << ": " << reader.readAllStandardError().toStdString();
            for (const QString& line :
                 QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n')))
                if (!line.isEmpty())
                    found << line;
        }
        return found;
    }

    static TestDatabase* s_db;
    QTemporaryDir m_dir;
};

TestDatabase* StatusPrint::s_db = nullptr;

TEST_F(StatusPrint, EveryTradesBlankAndFinalSheetCarriesAReadableCodeOfItsAddress) {
    for (const TradeCase& c : kTrades) {
        const QString name = LayoutName(c.layout);
        const QString address = StatusAddress(kLink, c.sheet);
        const QString pdf = Pdf(c, kLink, name);
        EXPECT_EQ(Decoded(pdf, 300), QStringList{address}) << name.toStdString() << " at 300 dpi";
        // The address is printed with the code (wrapped beside it on the gas
        // sheets).
        const QString text =
            ReadPdfPages(pdf).join(QString()).remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
        EXPECT_TRUE(c.programType == 4 || text.contains(address)) << name.toStdString();
        EXPECT_TRUE(text.contains(address.left(30))) << name.toStdString();
    }
    // At 600 dpi too (a blank and a final sheet).
    for (const TradeCase& c : {kTrades[0], kTrades[5]}) {
        const QString pdf = Pdf(c, kLink, LayoutName(c.layout) + QStringLiteral("-600"));
        EXPECT_EQ(Decoded(pdf, 600), QStringList{StatusAddress(kLink, c.sheet)})
            << LayoutName(c.layout).toStdString();
    }
}

TEST_F(StatusPrint, AnAddressWithAmpersandPercentAndAccentsReadsBackAsTyped) {
    const QString link =
        QStringLiteral("https://szerviz.példa.hu/állapot/%id%?kulcs=%KEY%&kedvezmény=10%&ügyfél=ő&Ű=1");
    const QString address = StatusAddress(link, 12);
    ASSERT_TRUE(
        address.contains(QStringLiteral("/állapot/12?kulcs=") + RecordKey(12) + QStringLiteral("&kedv")));
    for (const TradeCase& c : {kTrades[0], kTrades[3]}) {
        const QString pdf =
            Pdf({c.layout, c.programType, 12}, link, LayoutName(c.layout) + QStringLiteral("-ekezet"));
        EXPECT_EQ(Decoded(pdf, 300), QStringList{address}) << LayoutName(c.layout).toStdString();
        EXPECT_TRUE(Squeezed(ReadPdfPages(pdf).last()).contains(address))
            << LayoutName(c.layout).toStdString();
    }
}

// The code and its address stand in a band of their own above the totals:
// every element of the sheet keeps its page and place, and an empty (or
// blank) setting prints neither.
TEST_F(StatusPrint, TheCodeMovesNothingAndAnEmptySettingPrintsNone) {
    for (const TradeCase& c : kTrades) {
        const std::string name = LayoutName(c.layout).toStdString();
        const report::Document plain = Document(c, QString());
        const report::Document blankSetting = Document(c, QStringLiteral("  "));
        const report::Document coded = Document(c, kLink);
        EXPECT_EQ(QrAtoms(plain), 0) << name;
        EXPECT_EQ(QrAtoms(blankSetting), 0) << name;
        EXPECT_EQ(QrAtoms(coded), 1) << name;
        ASSERT_EQ(coded.pageCount(), plain.pageCount()) << name;
        const QString address = StatusAddress(kLink, c.sheet);
        for (int p = 0; p < plain.pageCount(); ++p) {
            EXPECT_EQ(AtomLines(blankSetting, p), AtomLines(plain, p)) << name;
            EXPECT_FALSE(plain.pageText(p).contains(QStringLiteral("allapot.php"))) << name;
            QStringList added = AtomLines(coded, p);
            for (const QString& line : AtomLines(plain, p)) {
                EXPECT_TRUE(added.removeOne(line))
                    << name << " page " << p << ": moved or lost " << line.toStdString();
            }
            // The code on the last page (the first on the gas sheets, in the
            // dates box), its address as the texts added with it.
            const int codePage = c.programType == 4 ? 0 : plain.pageCount() - 1;
            if (p != codePage) {
                EXPECT_TRUE(added.isEmpty()) << name << " page " << p;
                continue;
            }
            QString addressText;
            int codes = 0;
            for (const report::Atom& a : coded.pages.at(size_t(p)).atoms) {
                if (a.kind == report::Atom::Kind::QrCode)
                    ++codes;
                else if (a.kind == report::Atom::Kind::Text && address.contains(a.text) && a.text.size() > 3)
                    addressText += a.text;
            }
            EXPECT_EQ(codes, 1) << name;
            EXPECT_EQ(addressText, address) << name;
            EXPECT_EQ(added.size(), 1 + (c.programType == 4 ? 2 : 1))
                << name << "\n"
                << added.join(QLatin1Char('\n')).toStdString();
        }
    }
    // The printout takes the setting from the shop-wide settings.
    Beall().allapotlink = kLink;
    EXPECT_EQ(CurrentWorkSheetPrintOptions().statusLink, kLink);
}

// ---- The status feed ---------------------------------------------------------

int FtpPort() {
    return qEnvironmentVariableIntValue("KML_TEST_FTP_PORT");
}
QString FtpRoot() {
    return qEnvironmentVariable("KML_TEST_FTP_ROOT");
}

class StatusFeed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("statusfeed"), TestDatabase::Contents::Demo);
        // Sheets whose only recent change is each one of the kinds the feed
        // looks at, and one that changed long ago.
        const QString insert = QStringLiteral("INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, "
                                              "datum, rogzitve, dat_hatid, dat_kesz, "
                                              "statusz, storno, fizetve, dat_fizetve) SELECT %1, mlaptipus, "
                                              "ugyfel, keszulek, %2, %3, %4, %5, %6, "
                                              "'%7', '%8', %9 FROM munkalap WHERE munkalap = 12;");
        const QString old = QStringLiteral("CURDATE() - INTERVAL 400 DAY");
        ExecSql(insert.arg(9001)
                    .arg(QStringLiteral("CURDATE() - INTERVAL 10 DAY"), QStringLiteral("NOW()"),
                         QStringLiteral("'2030-01-15 10:30:00'"), QStringLiteral("NULL"))
                    .arg(1)
                    .arg(QStringLiteral("N"), QStringLiteral("N"), QStringLiteral("NULL")));
        ExecSql(insert.arg(9002)
                    .arg(old, old, QStringLiteral("NULL"), QStringLiteral("CURDATE() - INTERVAL 300 DAY"))
                    .arg(4)
                    .arg(QStringLiteral("N"), QStringLiteral("I"),
                         QStringLiteral("CURDATE() - INTERVAL 300 DAY")));
        ExecSql(insert.arg(9003)
                    .arg(old, old, QStringLiteral("NULL"), QStringLiteral("'2020-02-03'"))
                    .arg(3)
                    .arg(QStringLiteral("N"), QStringLiteral("N"), QStringLiteral("NULL")));
        ExecSql(
            QStringLiteral("INSERT INTO statuszvaltas (munkalap, statusz, felhasznalo, rogzitve) VALUES "
                           "(9003, 3, 'teszt', NOW() - INTERVAL 5 DAY), (9002, 4, 'teszt', NOW() - INTERVAL "
                           "200 DAY);"));
        ExecSql(insert.arg(9004)
                    .arg(QStringLiteral("CURDATE() - INTERVAL 3 DAY"), QStringLiteral("NULL"),
                         QStringLiteral("NULL"), QStringLiteral("NULL"))
                    .arg(1)
                    .arg(QStringLiteral("I"), QStringLiteral("N"), QStringLiteral("NULL")));
        ExecSql(
            insert.arg(9005)
                .arg(old, old, QStringLiteral("NULL"), QStringLiteral("'2021-05-06'"))
                .arg(4)
                .arg(QStringLiteral("N"), QStringLiteral("I"), QStringLiteral("CURDATE() - INTERVAL 1 DAY")));
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(m_data.isValid());
        m_savedData = DataFolder();
        m_savedIni = IniFilePath();
        SetDataFolder(m_data.path());
        SetIniFilePath(m_data.filePath(QStringLiteral("KoravelML.ini")));
        ExecSql(
            QStringLiteral("UPDATE csvexp SET ftp_kell = 'N', host_ftp = '', file_ftp = '', ftp_user = '', "
                           "ftp_jelszo = '' WHERE csvexp_nev = ") +
            SqlStr(StatusFeedName) + QLatin1Char(';'));
    }
    void TearDown() override {
        SetDataFolder(m_savedData);
        SetIniFilePath(m_savedIni);
        SetSharedConnection(&s_db->connection());
    }

    // The command line in this process, on the test's database.
    int Run(const QStringList& args, QString& out, QString& err) {
        QTextStream outStream(&out), errStream(&err);
        const ExportSessionOpener open = [](Connection& connection, const QString&) {
            connection.open(s_db->options());
            SetSharedConnection(&connection);
        };
        return RunExportCommand(QStringList{QStringLiteral("KoravelML")} + args, open, outStream, errStream);
    }
    QString FeedFile() const { return m_data.filePath(QStringLiteral("munkalap_allapot.csv")); }

    static TestDatabase* s_db;
    QTemporaryDir m_data;
    QString m_savedData, m_savedIni;
};

TestDatabase* StatusFeed::s_db = nullptr;

TEST_F(StatusFeed, TheSeededFeedWritesTheRecentSheetsStatusAndNothingAboutTheCustomer) {
    QString out, err;
    ASSERT_EQ(Run({QStringLiteral("--export"), StatusFeedName}, out, err), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("Export kész: ") + FeedFile())) << out.toStdString();
    const QString text = FromCp1250(ReadAll(FeedFile()));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.takeLast(), QString()) << "every line ends in CR LF";
    ASSERT_FALSE(lines.isEmpty());
    // Exactly these columns: no name, phone number or address.
    EXPECT_EQ(lines.takeFirst(),
              QStringLiteral("\"munkalap\";\"kulcs\";\"statusz\";\"hatarido\";\"elkeszult\";\"fizetve\";"));

    const auto line = [](int sheet, const QString& status, const QString& promised, const QString& finished,
                         const QString& paid) {
        return QStringLiteral("\"%1\";\"%2\";\"%3\";\"%4\";\"%5\";\"%6\";")
            .arg(QString::number(sheet), RecordKey(sheet), status, promised, finished, paid);
    };
    EXPECT_TRUE(lines.contains(
        line(9001, QStringLiteral("Beérkezett"), QStringLiteral("2030.01.15"), {}, QStringLiteral("N"))))
        << "arrived 10 days ago";
    EXPECT_TRUE(lines.contains(
        line(9003, QStringLiteral("Készen van"), {}, QStringLiteral("2020.02.03"), QStringLiteral("N"))))
        << "moved to ready 5 days ago";
    EXPECT_TRUE(lines.contains(line(9004, QStringLiteral("Sztornózva"), {}, {}, QStringLiteral("N"))))
        << "a cancelled sheet says so";
    EXPECT_TRUE(lines.contains(
        line(9005, QStringLiteral("Számlázva"), {}, QStringLiteral("2021.05.06"), QStringLiteral("I"))))
        << "paid yesterday";
    EXPECT_FALSE(text.contains(QStringLiteral("\"9002\""))) << "nothing changed in 90 days";

    // The rows are the sheets with a dated change in the last 90 days, each
    // once, by number; every key is the sheet's.
    const ResultSet expected = SharedConnection().query(QStringLiteral(
        "SELECT munkalap FROM munkalap WHERE GREATEST(IFNULL(datum, '1000-01-01'), IFNULL(DATE(rogzitve), "
        "'1000-01-01'), IFNULL(dat_kesz, '1000-01-01'), IFNULL(dat_fizetve, '1000-01-01')) >= CURDATE() - "
        "INTERVAL 90 DAY UNION SELECT munkalap FROM statuszvaltas WHERE rogzitve >= CURDATE() - INTERVAL 90 "
        "DAY ORDER BY 1;"));
    QStringList numbers;
    for (const QString& l : lines) {
        const QStringList fields = l.split(QLatin1Char(';'));
        ASSERT_EQ(fields.size(), 7) << l.toStdString();
        const QString number = fields.at(0).mid(1).chopped(1);
        EXPECT_EQ(fields.at(1), QLatin1Char('"') + RecordKey(number.toLongLong()) + QLatin1Char('"'));
        numbers << number;
    }
    QStringList expectedNumbers;
    for (int r = 0; r < expected.rowCount(); ++r)
        expectedNumbers << expected.text(r, 0);
    EXPECT_EQ(numbers, expectedNumbers);
    EXPECT_GT(numbers.size(), 4) << "the demo's recent sheets are in it too";

    // Nothing a customer record holds appears in it.
    const ResultSet customers = SharedConnection().query(
        QStringLiteral("SELECT ugyfel_nev, kapcsolat, telefon, mobil, emil, cim_cim, adoszam FROM ugyfel"));
    for (int r = 0; r < customers.rowCount(); ++r)
        for (int col = 0; col < customers.columnCount(); ++col) {
            const QString value = customers.text(r, col).trimmed();
            if (value.size() >= 5) {
                EXPECT_FALSE(text.contains(value)) << value.toStdString();
            }
        }
}

TEST_F(StatusFeed, UploadedByFtpAndExitStatusZeroOnlyWhenAllOfItWasDone) {
    if (FtpPort() == 0 || FtpRoot().isEmpty())
        GTEST_SKIP() << "no test FTP server (scripts/test starts scripts/ftpserver)";
    ASSERT_TRUE(QDir().mkpath(FtpRoot() + QStringLiteral("/honlap")));
    const QString remote = FtpRoot() + QStringLiteral("/honlap/munkalap_allapot.csv");
    QFile::remove(remote);
    const auto configure = [](const QString& host) {
        ExecSql(QStringLiteral("UPDATE csvexp SET ftp_kell = 'I', host_ftp = %1, file_ftp = 'honlap', "
                               "ftp_user = 'kml', ftp_jelszo = 'Ti tok:@/#1' WHERE csvexp_nev = %2;")
                    .arg(SqlStr(host), SqlStr(StatusFeedName)));
    };
    configure(QStringLiteral("127.0.0.1:%1").arg(FtpPort()));
    QString out, err;
    ASSERT_EQ(Run({QStringLiteral("--export"), StatusFeedName}, out, err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("feltöltve: 127.0.0.1"))) << out.toStdString();
    const QByteArray uploaded = ReadAll(remote);
    EXPECT_EQ(uploaded, ReadAll(FeedFile()));
    EXPECT_TRUE(uploaded.startsWith("\"munkalap\";\"kulcs\";"));

    // A server that refuses the connection: exit status 1, the reason on
    // stderr, nothing said done, the website's copy as it was.
    ExecSql(QStringLiteral("UPDATE munkalap SET statusz = 2 WHERE munkalap = 9001;"));
    configure(QStringLiteral("127.0.0.1:1"));
    out.clear();
    err.clear();
    EXPECT_EQ(Run({QStringLiteral("--export"), StatusFeedName}, out, err), 1);
    EXPECT_TRUE(err.startsWith(QStringLiteral("Hiba: "))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_EQ(ReadAll(remote), uploaded);
    ExecSql(QStringLiteral("UPDATE munkalap SET statusz = 1 WHERE munkalap = 9001;"));
}

TEST_F(StatusFeed, ArgumentsAndNamesTheCommandRefuses) {
    const struct {
        QStringList args;
        int code;
        QString message;
    } cases[] = {
        {{QStringLiteral("--export")}, 2, ExportCommandUsage},
        {{QStringLiteral("--export"), QStringLiteral("a"), QStringLiteral("b")}, 2, ExportCommandUsage},
        {{QStringLiteral("--export"), StatusFeedName, QStringLiteral("--db")},
         2,
         QStringLiteral("A --db után az adatbázis neve kell.")},
        {{QStringLiteral("--export"), StatusFeedName, QStringLiteral("--ftp")},
         2,
         QStringLiteral("Ismeretlen kapcsoló: --ftp")},
        {{QStringLiteral("--export"), QStringLiteral("Nincs ilyen")},
         3,
         QStringLiteral("Nincs ilyen mentett export: Nincs ilyen")},
    };
    for (const auto& c : cases) {
        QString out, err;
        EXPECT_EQ(Run(c.args, out, err), c.code) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(err.trimmed(), c.message);
        EXPECT_TRUE(out.isEmpty());
    }
    // Any saved export runs by its name, in any letter case.
    QString out, err;
    EXPECT_EQ(Run({QStringLiteral("--export"), QStringLiteral("havi ÁRBEVÉTEL")}, out, err), 0)
        << err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(m_data.filePath(QStringLiteral("arbevetel.csv"))));
}

// The program itself, as a timer starts it: the connection entry from the
// ini file in the per-user data folder, the feed written there.
TEST_F(StatusFeed, TheProgramRunsTheFeedFromItsIniFile) {
    const QString program = test::BuildPath(QStringLiteral("KoravelML"));
    if (!QFileInfo::exists(program))
        GTEST_SKIP() << "the program is not built";
    if (QFileInfo::exists(test::BuildPath(QStringLiteral("KoravelML.ini"))))
        GTEST_SKIP() << "a KoravelML.ini beside the program (scripts/run) would be used instead";
    QTemporaryDir home;
    const QString data = home.filePath(QStringLiteral("KoravelML"));
    ASSERT_TRUE(QDir().mkpath(data));
    const auto o = s_db->options();
    IniFile ini(data + QStringLiteral("/KoravelML.ini"));
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                    ScramblePassword(QStringLiteral("nincs;127.0.0.1;1;root;;Leállt")));
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr2"),
                    ScramblePassword(QStringList{o.database, o.host, QString::number(o.port), o.user,
                                                 o.password, QStringLiteral("Bolt")}
                                         .join(QLatin1Char(';'))));
    ini.save();
    const auto run = [&](const QString& database) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        p.setProcessEnvironment(env);
        p.start(program, {QStringLiteral("--export"), StatusFeedName, QStringLiteral("--db"), database});
        EXPECT_TRUE(p.waitForFinished(120000));
        return std::pair{p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
    };
    const auto [ok, okErr] = run(QStringLiteral("Bolt"));
    EXPECT_EQ(ok, 0) << okErr.toStdString();
    EXPECT_TRUE(
        ReadAll(data + QStringLiteral("/munkalap_allapot.csv")).startsWith("\"munkalap\";\"kulcs\";"));
    const auto [refused, refusedErr] = run(QStringLiteral("Leállt"));
    EXPECT_EQ(refused, 1);
    EXPECT_TRUE(refusedErr.startsWith(QStringLiteral("Sikertelen kapcsolódás: ")))
        << refusedErr.toStdString();
}

} // namespace
} // namespace kml
