// The invoice hand-off against the server: the XML of several buyers and
// sheets checked by xmllint against docs/invoice.xsd and byte by byte, the
// invoicing program (a stub script) started with "file=<path>" in its own
// folder, and the refusals: no sheet, a cancelled sheet, an invoiced sheet,
// a cancelled window, a program that cannot start, a file that cannot be
// written.

#include "exchange/InvoiceExport.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "foundation/Folders.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace kml;
using namespace kml::test;

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A stand-in for the invoicing program: records its arguments, one a line,
// and its working folder beside itself.
QString WriteStub(const QString& folder) {
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/pennart stub.sh");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\n"
               "here=$(dirname \"$0\")\n"
               "printf '%s\\n' \"$@\" > \"$here/args.tmp\"\n"
               "pwd > \"$here/cwd.tmp\"\n"
               "mv \"$here/args.tmp\" \"$here/args.txt\"; mv \"$here/cwd.tmp\" \"$here/cwd.txt\"\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// What the stub recorded, once it has run (waits up to ten seconds).
QStringList StubRecord(const QString& folder, const char* name) {
    QElapsedTimer waited;
    waited.start();
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    while (!QFile::exists(folder + QStringLiteral("/cwd.txt")) && waited.elapsed() < 10000)
        QThread::msleep(20);
    return QString::fromUtf8(FileBytes(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int Insert(const QString& sql) {
    ExecSql(sql);
    return QueryInt(QStringLiteral("SELECT LAST_INSERT_ID()"));
}

class InvoiceExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("invoice"), TestDatabase::Contents::Schema);
        const int part = Insert(QStringLiteral("INSERT INTO tetel (tetel_kod, tetel_nev, mert, cikkszam) "
                                               "VALUES ('T-1', 'Szelep & <tömítés>', 'db', 'ABC-1')"));
        const int labour = Insert(QStringLiteral("INSERT INTO tetel (tetel_kod, tetel_nev, mert, ezszolg) "
                                                 "VALUES ('M-1', 'Munkadíj – ő', 'óra', 'I')"));
        company = Insert(QStringLiteral(
            "INSERT INTO ugyfel (ugyfel_nev, adoszam, maganszemely, cim_irsz, cim_varos, cim_cim) "
            "VALUES ('Kovács & Fia Kft.', '12345678-2-13', 'N', '1011', 'Budapest', 'Fő utca 12.')"));
        person =
            Insert(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev, maganszemely, cim_varos) VALUES (") +
                   SqlStr(QStringLiteral("Szabó \"Mester\"\vŐdön,.")) + QStringLiteral(", 'I', 'Győr')"));
        withLines = Insert(
            QStringLiteral("INSERT INTO munkalap (ugyfel, datum, statusz, ar_kedvezmeny, szoveg_kedvezmeny) "
                           "VALUES (%1, '2024-03-05', 3, 1000, 'Törzsvevő')")
                .arg(company));
        ExecSql(QStringLiteral("INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar, megjegyzes) VALUES "
                               "(%1, %2, 1.5, 12700, 'bal oldali'), (%1, %3, 2, 5000, NULL)")
                    .arg(withLines)
                    .arg(part)
                    .arg(labour));
        noLines = Insert(
            QStringLiteral("INSERT INTO munkalap (ugyfel, datum, statusz) VALUES (%1, '2024-03-06', 3)")
                .arg(person));
        cancelled = Insert(
            QStringLiteral(
                "INSERT INTO munkalap (ugyfel, datum, statusz, storno) VALUES (%1, '2024-03-07', 3, 'I')")
                .arg(person));
        invoiced = Insert(QStringLiteral("INSERT INTO munkalap (ugyfel, datum, statusz, szlaszam) VALUES "
                                         "(%1, '2024-03-08', 4, 'HL-2024/0001')")
                              .arg(company));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetDataFolder(dir.filePath(QStringLiteral("adat")));
        QDir().mkpath(DataFolder());
        programFolder = dir.filePath(QStringLiteral("Pennart program"));
        Beall().pennart = WriteStub(programFolder);
    }
    void TearDown() override { Beall().pennart.clear(); }

    QString XmlOf(int customer, int sheet) const { return InvoiceFileName(DataFolder(), customer, sheet, 1); }

    static inline TestDatabase* db = nullptr;
    static inline int company = 0, person = 0, withLines = 0, noLines = 0, cancelled = 0, invoiced = 0;
    QTemporaryDir dir;
    QString programFolder;
};

TEST_F(InvoiceExport, FileNames) {
    EXPECT_EQ(InvoiceFileName(QStringLiteral("/d"), 17, 125, 1), QStringLiteral("/d/000170012500001.xml"));
    EXPECT_EQ(InvoiceFileName(QStringLiteral("/d"), 123456, 1234, 1),
              QStringLiteral("/d/1234560123400001.xml"));
}

TEST_F(InvoiceExport, DocumentsOfEveryBuyerFollowTheSchema) {
    struct Case {
        const char* title;
        int* sheet;
        int* customer;
        std::vector<const char*> present; // lines the file holds
        std::vector<const char*> absent;
        int lines;
    } cases[] = {
        {"company with lines and a discount",
         &withLines,
         &company,
         {"\t\t<fejlec>", "\t\t\t<szlatipus>1</szlatipus>", "\t\t<szamlakibocsato>", "\t\t</szamlakibocsato>",
          "\t\t\t<adoszam>12345678-2-13</adoszam>", "\t\t\t<nev>Kovács &amp; Fia Kft</nev>",
          "\t\t\t\t<kozterulet_neve>Fő</kozterulet_neve>",
          "\t\t\t\t<kozterulet_jellege>utca</kozterulet_jellege>", "\t\t\t\t<hazszam>12</hazszam>",
          "\t\t\t<termeknev>Szelep &amp; &lt;tömítés&gt;</termeknev>", "\t\t\t<cikkszam>ABC-1</cikkszam>",
          "\t\t\t<menny>1.5</menny>", "\t\t\t<bruttoar>19050</bruttoar>",
          "\t\t\t<mertekegys>óra</mertekegys>", "\t\t\t<termeknev>Kedvezmény</termeknev>",
          "\t\t\t<sormegj>Törzsvevő</sormegj>", "\t\t\t<bruttoar>-1000</bruttoar>",
          "\t\t\t<adokulcs>27</adokulcs>", "\t\t\t<arengedm>0</arengedm>"},
         {"<maganszemely>", "<torlo_kod>"},
         3},
        {"private person without lines",
         &noLines,
         &person,
         {"\t\t\t<maganszemely>true</maganszemely>", "\t\t\t<nev>Szabó &quot;Mester&quot;Ődön</nev>",
          "\t\t\t\t<telepules>Győr</telepules>", "\t\t<nem_kotelezo>"},
         {"<adoszam>", "<termek_szolgaltatas_tetelek>", "<hazszam>"},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ScriptedWindows windows;
        ScriptedDialogs dialogs;
        QFile::remove(programFolder + QStringLiteral("/cwd.txt"));
        windows.answer(AskInvoiceBuyer, true);
        ASSERT_TRUE(InvoiceWorkSheet(*c.sheet));
        EXPECT_TRUE(dialogs.calls().empty());

        const QString path = XmlOf(*c.customer, *c.sheet);
        const QByteArray bytes = FileBytes(path);
        ASSERT_FALSE(bytes.isEmpty()) << path.toStdString();
        EXPECT_TRUE(
            bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<szamlak>\r\n\t<szamla>\r\n"));
        EXPECT_TRUE(bytes.endsWith("\t</szamla>\r\n</szamlak>\r\n"));
        EXPECT_FALSE(bytes.contains('\v'));
        const QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
        for (const char* line : c.present)
            EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
        for (const char* part : c.absent)
            EXPECT_FALSE(bytes.contains(part)) << part;
        EXPECT_EQ(bytes.count("<termek_szolgaltatas_tetelek>"), c.lines);
        EXPECT_TRUE(bytes.contains(
            QStringLiteral("<megjegyzes>Munkalap: %1").arg(*c.sheet, 5, 10, QLatin1Char('0')).toUtf8()));

        QProcess lint;
        lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("--schema"),
                                               SourcePath(QStringLiteral("docs/invoice.xsd")), path});
        ASSERT_TRUE(lint.waitForFinished(30000));
        EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardError().toStdString();

        EXPECT_EQ(StubRecord(programFolder, "args.txt"), QStringList({QStringLiteral("file=") + path}));
        EXPECT_EQ(StubRecord(programFolder, "cwd.txt"), QStringList({programFolder}));
    }
}

TEST_F(InvoiceExport, TheWindowShowsTheBuyerAndItsChangesAreWritten) {
    ScriptedWindows windows;
    windows.act(AskInvoiceBuyer, [](InvoiceBuyer& buyer) {
        EXPECT_EQ(buyer.nev, QStringLiteral("Kovács & Fia Kft."));
        EXPECT_FALSE(buyer.maganszemely);
        EXPECT_EQ(buyer.hazszam, QStringLiteral("12."));
        buyer.nev = QStringLiteral("Kovács és Fia Kft.");
        buyer.maganszemely = true;
        return true;
    });
    ASSERT_TRUE(ExportInvoiceXml(company, withLines, 1));
    const QByteArray bytes = FileBytes(XmlOf(company, withLines));
    EXPECT_TRUE(bytes.contains("<nev>Kov\xC3\xA1"
                               "cs \xC3\xA9s Fia Kft</nev>"));
    EXPECT_TRUE(bytes.contains("<maganszemely>true</maganszemely>"));
    EXPECT_FALSE(StubRecord(programFolder, "args.txt").isEmpty()); // the program ran before its folder goes

    // A customer sp_szlafej knows nothing of: a private person with empty fields.
    const InvoiceBuyer unknown = ReadInvoiceBuyer(999999);
    EXPECT_TRUE(unknown.maganszemely);
    EXPECT_TRUE(unknown.nev.isEmpty() && unknown.adoszam.isEmpty() && unknown.telepules.isEmpty());
}

TEST_F(InvoiceExport, RefusalsWriteAndStartNothing) {
    ScriptedWindows windows;
    ScriptedDialogs dialogs;
    windows.script(AskInvoiceBuyer); // any call fails the test
    for (const qlonglong none : {0LL, -1LL, 999999LL}) {
        dialogs.clear();
        EXPECT_FALSE(InvoiceWorkSheet(none));
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.calls()[0].kind, DialogKind::Error);
        EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("Nincs kiválasztott munkalap: a lista üres."));
    }
    dialogs.clear();
    EXPECT_FALSE(InvoiceWorkSheet(cancelled));
    EXPECT_EQ(dialogs.lastCall().text, QStringLiteral("Sztornózott munkalapot nem lehet számlázni."));

    dialogs.clear();
    dialogs.answer(DialogAnswer::No);
    EXPECT_FALSE(InvoiceWorkSheet(invoiced));
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::YesNo);
    EXPECT_EQ(dialogs.lastCall().caption, QStringLiteral("Megerősítés"));
    EXPECT_EQ(
        dialogs.lastCall().text,
        QStringLiteral("A munkalap már számlázva van (számlaszám: HL-2024/0001). Mégis újra számlázza?"));
    EXPECT_TRUE(windows.calls().empty());

    // The window closed without OK.
    ScriptedWindows cancelling;
    cancelling.answer(AskInvoiceBuyer, false);
    EXPECT_FALSE(ExportInvoiceXml(company, withLines, 1));
    EXPECT_TRUE(QDir(DataFolder()).isEmpty());
    QThread::msleep(200);
    EXPECT_FALSE(QFile::exists(programFolder + QStringLiteral("/args.txt")));
}

TEST_F(InvoiceExport, ProgramAndFileFailuresAreReported) {
    ScriptedWindows windows;
    ScriptedDialogs dialogs;

    const QString missing = dir.filePath(QStringLiteral("nincs/Pennart.exe"));
    Beall().pennart = missing;
    windows.answer(AskInvoiceBuyer, true);
    EXPECT_FALSE(ExportInvoiceXml(company, withLines, 1));
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Error);
    EXPECT_EQ(dialogs.lastCall().text, QStringLiteral("A számlázó program nem indítható: ") + missing);
    EXPECT_TRUE(QFile::exists(XmlOf(company, withLines))); // the file is there for a later try

    Beall().pennart.clear();
    windows.answer(AskInvoiceBuyer, true);
    EXPECT_FALSE(ExportInvoiceXml(company, withLines, 1));
    EXPECT_EQ(dialogs.lastCall().text,
              QStringLiteral("Nincs megadva a számlázó program (Pennart) helye a beállításokban."));

    // A data folder that cannot take the file: reported, nothing started.
    Beall().pennart = WriteStub(programFolder);
    SetDataFolder(dir.filePath(QStringLiteral("nincs ilyen mappa")));
    windows.answer(AskInvoiceBuyer, true);
    EXPECT_FALSE(ExportInvoiceXml(company, withLines, 1));
    EXPECT_TRUE(dialogs.lastCall().text.startsWith(QStringLiteral("A számla XML file nem írható: ")));
    QThread::msleep(200);
    EXPECT_FALSE(QFile::exists(programFolder + QStringLiteral("/args.txt")));
}

} // namespace
