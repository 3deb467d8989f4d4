// The export window's work against the server: delimited files for every
// separator and quote read back by Python's csv module, the exact lines of
// plain exports, the clipboard text, the "Export indítás" flow (messages,
// refused names, errors that keep the old file, a stopped export, opening
// the file), and .xls/.xlsx workbooks read back by libfreexl, xlrd and
// openpyxl, up to 70,000 rows.

#include "exchange/DatasetExport.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "SpreadsheetReaders.h"
#include "TestDatabase.h"
#include "components/Cp1250.h"
#include "components/Query.h"
#include "foundation/Folders.h"
#include "foundation/QueryHelpers.h"
#include "foundation/ShellOpener.h"
#include "foundation/TextHelpers.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace kml;
using namespace kml::test;

namespace {

// Values that have broken delimited files: separators, quotes, line breaks
// of every kind, backslashes, letters outside ASCII. `exported` is the cell
// a reader must get back from a text column.
struct Awkward {
    const char* value; // nullptr: NULL
    const char* exported;
};
const Awkward kAwkward[] = {
    {"Kovács Béla", "Kovács Béla"},
    {"a;b", "a;b"},
    {"a,b", "a,b"},
    {"a|b", "a|b"},
    {"tab\there", "tab\there"},
    {"say \"hi\"", "say \"hi\""},
    {"it's", "it's"},
    {"line1\r\nline2", "line1\\nline2"},
    {"lf\nonly", "lf\\nonly"},
    {"cr\ronly", "cr\\nonly"},
    {"back\\slash", "back\\\\slash"},
    {"őű ŐŰ", "őű ŐŰ"},
    {"5 € „x” – y", "5 € „x” – y"},
    {nullptr, ""},
    {"", ""},
    // Text a spreadsheet would take for a formula stays text behind an apostrophe.
    {"=1+1", "'=1+1"},
    {"+36 1 555 0100", "'+36 1 555 0100"},
    {"-nincs-", "'-nincs-"},
    {"@SUM(A1:A2)", "'@SUM(A1:A2)"},
    {"a=1+1", "a=1+1"},
};

const char* kCsvReader = R"(
import csv, json, sys
path, sep, quote = sys.argv[1], sys.argv[2], sys.argv[3]
encoding = sys.argv[4] if len(sys.argv) > 4 else "cp1250"
with open(path, encoding=encoding, newline="") as f:
    rows = list(csv.reader(f, delimiter=sep, quotechar=quote or '"', doublequote=True, strict=True))
sys.stdout.write(json.dumps(rows, ensure_ascii=False))
)";

std::vector<QStringList> ReadCsv(const QString& path, char separator, char quote,
                                 const QString& encoding = QStringLiteral("cp1250")) {
    const QByteArray json = RunPython(
        QString::fromLatin1(kCsvReader),
        {path, QString(QLatin1Char(separator)), quote ? QString(QLatin1Char(quote)) : QString(), encoding});
    std::vector<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(json).array()) {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray())
            cells << cell.toString();
        rows.push_back(cells);
    }
    return rows;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class DatasetExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("export"), TestDatabase::Contents::Schema);
        ExecSql(QStringLiteral(
            "CREATE TABLE exp_sor (id INT PRIMARY KEY, nev VARCHAR(100), megj TEXT, ar DECIMAL(12,2), "
            "datum DATE, rogzitve DATETIME, ido TIME)"));
        int id = 0;
        for (const Awkward& a : kAwkward) {
            ++id;
            const QString value = a.value ? SqlStr(QString::fromUtf8(a.value)) : QStringLiteral("NULL");
            ExecSql(QStringLiteral(
                        "INSERT INTO exp_sor VALUES (%1, %2, %2, %3, '2024-03-05', '2024-12-31 23:59:58', "
                        "'10:20:30')")
                        .arg(id)
                        .arg(value, id % 2 ? QStringLiteral("12.5") : QStringLiteral("-1000")));
        }
        ExecSql(QStringLiteral("UPDATE exp_sor SET ar = NULL, datum = NULL, rogzitve = NULL WHERE id = 2"));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }

    static void Open(Query& q, const QString& sql) {
        q.setSql(sql);
        q.open();
    }

    static inline TestDatabase* db = nullptr;
    QTemporaryDir dir;
};

TEST_F(DatasetExport, EverySeparatorAndQuoteReadsBackAsTheSameCells) {
    Query q;
    Open(q, QStringLiteral("SELECT id, nev, megj FROM exp_sor ORDER BY id"));
    for (int s = 0; s < 4; ++s) {
        for (int qi = 0; qi < 3; ++qi) {
            DelimitedOptions options;
            options.separator = SeparatorOf(s);
            options.quote = QuoteOf(qi);
            SCOPED_TRACE(QStringLiteral("separator %1, quote %2").arg(s).arg(qi).toStdString());
            const QString path = dir.filePath(QStringLiteral("awkward.csv"));
            const ExportOutcome outcome = WriteDelimitedFile(ExportRows(q, {}), path, options, {});
            EXPECT_EQ(outcome.rows, int(std::size(kAwkward)));
            EXPECT_FALSE(outcome.stopped);

            const std::vector<QStringList> rows = ReadCsv(path, options.separator, options.quote);
            ASSERT_EQ(rows.size(), std::size(kAwkward) + 1);
            EXPECT_EQ(rows[0], QStringList({"id", "nev", "megj", ""})); // the header keeps its last separator
            for (size_t i = 0; i < std::size(kAwkward); ++i) {
                QString memo = QString::fromUtf8(kAwkward[i].exported);
                memo.replace(QLatin1Char(options.separator), QLatin1Char(','));
                EXPECT_EQ(rows[i + 1], QStringList({QString::number(i + 1),
                                                    QString::fromUtf8(kAwkward[i].exported), memo}))
                    << kAwkward[i].exported;
            }
        }
    }
}

// The UTF-8 file: a byte-order mark, then the same cells, read back as
// UTF-8 (what a spreadsheet on Linux takes it for).
TEST_F(DatasetExport, Utf8FileWithByteOrderMarkReadsBackAsTheSameCells) {
    Query q;
    Open(q, QStringLiteral("SELECT id, nev, ar FROM exp_sor ORDER BY id"));
    DelimitedOptions options;
    options.utf8 = true;
    const QString path = dir.filePath(QStringLiteral("utf8.csv"));
    WriteDelimitedFile(ExportRows(q, {}), path, options, {});
    const QByteArray bytes = FileBytes(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"
                                 "id;nev;ar;\r\n"));
    EXPECT_TRUE(bytes.contains("Kov\xC3\xA1"
                               "cs B\xC3\xA9la"))
        << "UTF-8, not cp1250";
    const std::vector<QStringList> rows = ReadCsv(path, ';', 0, QStringLiteral("utf-8-sig"));
    ASSERT_EQ(rows.size(), std::size(kAwkward) + 1);
    for (size_t i = 0; i < std::size(kAwkward); ++i) {
        EXPECT_EQ(rows[i + 1].value(1), QString::fromUtf8(kAwkward[i].exported));
        // Numbers are never guarded, a negative one included.
        EXPECT_EQ(rows[i + 1].value(2), i == 1  ? QString()
                                        : i % 2 ? QStringLiteral("-1000")
                                                : QStringLiteral("12,5"));
    }
}

TEST_F(DatasetExport, PlainExportsAreWrittenAsTheWindowPromises) {
    Query q;
    Open(
        q,
        QStringLiteral(
            "SELECT id, nev, megj, ar, datum, rogzitve, ido FROM exp_sor WHERE id IN (1, 2, 8) ORDER BY id"));
    q.fieldSettings(QStringLiteral("nev")).displayLabel = QStringLiteral("Ügyfél");
    const QString path = dir.filePath(QStringLiteral("plain.csv"));

    DelimitedOptions defaults;
    WriteDelimitedFile(ExportRows(q, {}), path, defaults, {});
    EXPECT_EQ(
        FromCp1250(FileBytes(path)),
        QStringLiteral("id;Ügyfél;megj;ar;datum;rogzitve;ido;\r\n"
                       "1;Kovács Béla;Kovács Béla;12,5;2024.03.05;2024.12.31 23:59:58;10:20:30\r\n"
                       "2;\"a;b\";a,b;;;;10:20:30\r\n"
                       "8;line1\\nline2;line1\\nline2;-1000;2024.03.05;2024.12.31 23:59:58;10:20:30\r\n"));
    EXPECT_TRUE(FileBytes(path).contains("\xDC"
                                         "gyf\xE9l")); // cp1250 bytes

    DelimitedOptions quoted;
    quoted.quote = '"';
    quoted.memos = false;
    quoted.fieldNames = true;
    quoted.ticked = {true, true, true, false, false, false, false};
    WriteDelimitedFile(ExportRows(q, quoted.ticked), path, quoted, {});
    EXPECT_EQ(FileBytes(path), QByteArray("\"id\";\"nev\";\"megj\";\r\n"
                                          "\"1\";\"Kov\xE1"
                                          "cs B\xE9la\";\"BLOB\"\r\n"
                                          "\"2\";\"a;b\";\"BLOB\"\r\n"
                                          "\"8\";\"line1\\nline2\";\"BLOB\"\r\n"));

    DelimitedOptions bare;
    bare.header = false;
    bare.ticked = std::vector<bool>(7, false);
    WriteDelimitedFile(ExportRows(q, bare.ticked), path, bare, {});
    EXPECT_EQ(FileBytes(path), QByteArray("\r\n\r\n\r\n")); // no header line; empty row lines

    // A memo's separators become commas; with TAB they stay.
    EXPECT_EQ(EscapeExportValue("a;b\r\nc", true, ';'), QByteArray("a,b\\nc"));
    EXPECT_EQ(EscapeExportValue("a;b\r\nc", true, '\t'), QByteArray("a;b\\nc"));
    EXPECT_EQ(EscapeExportValue("a;b\r\nc", false, ';'), QByteArray("a;b\\nc"));
}

TEST_F(DatasetExport, BinaryLargeObjectsAreWrittenAsBlob) {
    Query q;
    ExecSql(QStringLiteral("CREATE TABLE exp_kep (id INT, kep BLOB, nev VARCHAR(20))"));
    ExecSql(QStringLiteral("INSERT INTO exp_kep VALUES (1, UNHEX('00FF0D0A'), 'szöveg')"));
    Open(q, QStringLiteral("SELECT id, kep, nev FROM exp_kep"));
    QString text;
    DelimitedText(ExportRows(q, {}), DelimitedOptions{}, {}, text);
    EXPECT_EQ(text, QStringLiteral("id;kep;nev;\r\n1;BLOB;szöveg\r\n"));
    const QString path = dir.filePath(QStringLiteral("blob.xls"));
    WriteSpreadsheet(ExportRows(q, {}), path, SpreadsheetFormat::Xls, {});
    EXPECT_EQ(ReadXlsWithXlrd(path)[0].at(1, 1).text, QStringLiteral("BLOB"));
}

TEST_F(DatasetExport, ClipboardGetsTabSeparatedLinesWithoutQuotes) {
    Query q;
    Open(q, QStringLiteral("SELECT id, nev FROM exp_sor WHERE id IN (1, 5, 6) ORDER BY id"));
    ScriptedDialogs dialogs;
    DelimitedOptions options;
    options.separator = ',';
    options.quote = '\'';
    RunClipboardExport(q, options, {});
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("id\tnev\t\r\n1\tKovács Béla\r\n5\t\"tab\there\"\r\n6\t\"say \"\"hi\"\"\"\r\n"));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, DialogKind::Info);
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("Adatok vágólapra másolása kész."));
    EXPECT_EQ(q.row(), 2); // on the last row

    dialogs.clear();
    RunClipboardExport(q, options, [](int done, int) { return done < 1; });
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("id\tnev\t\r\n1\tKovács Béla\r\n"));
    EXPECT_EQ(dialogs.lastCall().text, StoppedClipboardMessage(1));
    EXPECT_EQ(q.row(), 1); // on the first row not copied
}

TEST_F(DatasetExport, FileExportFlow) {
    Query q;
    Open(q, QStringLiteral("SELECT id, nev FROM exp_sor ORDER BY id"));
    ScriptedDialogs dialogs;
    ScriptedWindows windows;
    std::vector<QString> opened;
    const ShellOpener previousOpener = SetShellOpener([&](const QString& a) { opened.push_back(a); });
    const DelimitedOptions options;

    // A finished export: the message, the dataset on its last row, the file opened.
    QString name = dir.filePath(QStringLiteral("lista.csv"));
    q.first();
    EXPECT_TRUE(RunFileExport(q, name, options, true, {}));
    EXPECT_EQ(dialogs.lastCall().text, name + QStringLiteral(" file kész."));
    EXPECT_EQ(q.row(), q.recordCount() - 1);
    EXPECT_TRUE(q.eof());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(name).toString());
    const QByteArray complete = FileBytes(name);

    // .xml in any letter case is refused; nothing written or opened.
    for (const char* refused : {"lista.xml", "LISTA.XmL"}) {
        QString xml = dir.filePath(QLatin1String(refused));
        dialogs.clear();
        EXPECT_FALSE(RunFileExport(q, xml, options, true, {}));
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.calls()[0].kind, DialogKind::Error);
        EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("Ebben a verzióban ez nem támogatott."));
        EXPECT_FALSE(QFile::exists(xml));
    }

    // An error part-way keeps the old file, leaves no temporary file and opens nothing.
    dialogs.clear();
    const auto failing = [](int done, int) -> bool {
        if (done == 5)
            throw ExportError(QStringLiteral("adathiba"));
        return true;
    };
    EXPECT_FALSE(RunFileExport(q, name, options, true, failing));
    EXPECT_EQ(dialogs.lastCall().text, QStringLiteral("Hiba: adathiba"));
    EXPECT_EQ(FileBytes(name), complete);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"lista.csv"}));
    EXPECT_EQ(opened.size(), 1u);

    // A folder that does not exist.
    dialogs.clear();
    QString nowhere = dir.filePath(QStringLiteral("nincs/lista.csv"));
    EXPECT_FALSE(RunFileExport(q, nowhere, options, true, {}));
    EXPECT_TRUE(
        dialogs.lastCall().text.startsWith(QStringLiteral("Hiba: A file nem hozható létre: ") + nowhere))
        << dialogs.lastCall().text.toStdString();
    EXPECT_EQ(opened.size(), 1u);

    // A stopped export keeps the rows done, says so, and is opened.
    dialogs.clear();
    EXPECT_TRUE(RunFileExport(q, name, options, true, [](int done, int) { return done < 3; }));
    EXPECT_EQ(dialogs.lastCall().text, StoppedFileMessage(name, 3));
    EXPECT_EQ(FileBytes(name), QByteArray("id;nev;\r\n1;Kov\xE1"
                                          "cs B\xE9la\r\n2;\"a;b\"\r\n3;a,b\r\n"));
    EXPECT_EQ(q.row(), 3);
    EXPECT_EQ(opened.size(), 2u);

    // No name: the save dialog; cancelled, nothing happens; chosen, it is used.
    QString empty;
    dialogs.clear();
    windows.answer(ChooseExportFile, QString());
    EXPECT_FALSE(RunFileExport(q, empty, options, false, {}));
    EXPECT_TRUE(dialogs.calls().empty());
    const QString chosen = dir.filePath(QStringLiteral("valasztott.txt"));
    windows.answer(ChooseExportFile, chosen);
    EXPECT_FALSE(RunFileExport(q, empty, options, false, {}));
    EXPECT_EQ(empty, chosen);
    EXPECT_TRUE(QFile::exists(chosen));
    EXPECT_EQ(windows.calls(QStringLiteral("ChooseExportFile")).at(0).args.at(0).toString(),
              InitialExportFileName(QString()));
    EXPECT_TRUE(InitialExportFileName(QString()).endsWith(QStringLiteral("/File001.csv")));
    EXPECT_EQ(InitialExportFileName(QStringLiteral("KoravelML.csv")),
              QDir(DocumentsFolder()).absoluteFilePath(QStringLiteral("KoravelML.csv")));

    SetShellOpener(previousOpener);
}

TEST_F(DatasetExport, WorkbooksHoldTypedCellsOfTheTickedColumnsOnly) {
    Query q;
    Open(q, QStringLiteral("SELECT id, nev, megj, ar, datum, rogzitve, ido FROM exp_sor WHERE id IN (1, 2, "
                           "12) ORDER BY id"));
    q.fieldSettings(QStringLiteral("nev")).displayLabel = QStringLiteral("Ügyfél neve");
    const std::vector<bool> ticked{true, true, false, true, true, true, true}; // megj left out
    const ExportRows rows(q, ticked);

    const QString xls = dir.filePath(QStringLiteral("lista.xls"));
    const QString xlsx = dir.filePath(QStringLiteral("lista.xlsx"));
    WriteSpreadsheet(rows, xls, SpreadsheetFormat::Xls, {});
    WriteSpreadsheet(rows, xlsx, SpreadsheetFormat::Xlsx, {});
    EXPECT_TRUE(FileBytes(xlsx).startsWith("PK")); // a zip container, not text
    EXPECT_TRUE(FileBytes(xls).startsWith("\xD0\xCF\x11\xE0"));

    const std::pair<const char*, ReadBook> books[] = {{"freexl", ReadXlsWithFreexl(xls)},
                                                      {"xlrd", ReadXlsWithXlrd(xls)},
                                                      {"openpyxl", ReadXlsxWithOpenpyxl(xlsx)}};
    for (const auto& [reader, book] : books) {
        SCOPED_TRACE(reader);
        ASSERT_EQ(book.size(), 1u);
        const ReadSheet& s = book[0];
        ASSERT_EQ(s.rows.size(), 4u);
        QStringList header;
        for (const ReadCell& c : s.rows[0])
            header << c.text;
        EXPECT_EQ(header, QStringList({"id", "Ügyfél neve", "ar", "datum", "rogzitve", "ido"}));
        EXPECT_EQ(s.at(1, 0).type, QStringLiteral("number"));
        EXPECT_DOUBLE_EQ(s.at(1, 0).number, 1);
        EXPECT_EQ(s.at(1, 1).text, QStringLiteral("Kovács Béla"));
        EXPECT_DOUBLE_EQ(s.at(1, 2).number, 12.5);
        EXPECT_EQ(s.at(1, 3).type, QStringLiteral("date"));
        EXPECT_EQ(s.at(1, 3).text, QStringLiteral("2024-03-05"));
        EXPECT_EQ(s.at(1, 4).text, QStringLiteral("2024-12-31 23:59:58"));
        EXPECT_EQ(s.at(1, 5).type, QStringLiteral("time"));
        EXPECT_EQ(s.at(2, 1).text, QStringLiteral("a;b"));
        EXPECT_EQ(s.at(2, 2).type, QStringLiteral("empty")); // NULL
        EXPECT_EQ(s.at(2, 3).type, QStringLiteral("empty"));
        EXPECT_EQ(s.at(3, 1).text, QStringLiteral("őű ŐŰ"));
        EXPECT_DOUBLE_EQ(s.at(3, 2).number, -1000);
    }
}

// 70,000 rows: one .xlsx sheet; the .xls goes on over a second sheet, each
// with its header row.
TEST_F(DatasetExport, SeventyThousandRows) {
    Query q;
    Open(q,
         QStringLiteral("SELECT seq AS sorszam, CONCAT('tétel ő ', seq) AS nev, "
                        "DATE_ADD(DATE '2024-01-01', INTERVAL seq % 365 DAY) AS datum FROM seq_1_to_70000"));
    ASSERT_EQ(q.recordCount(), 70000);
    const ExportRows rows(q, {});
    const QString xls = dir.filePath(QStringLiteral("sok.xls"));
    const QString xlsx = dir.filePath(QStringLiteral("sok.xlsx"));
    int lastReport = 0;
    EXPECT_EQ(WriteSpreadsheet(rows, xls, SpreadsheetFormat::Xls,
                               [&](int done, int) {
                                   lastReport = done;
                                   return true;
                               })
                  .rows,
              70000);
    EXPECT_EQ(lastReport, 70000);
    EXPECT_EQ(WriteSpreadsheet(rows, xlsx, SpreadsheetFormat::Xlsx, {}).rows, 70000);

    const ReadBook fromXlsx = ReadXlsxWithOpenpyxl(xlsx);
    ASSERT_EQ(fromXlsx.size(), 1u);
    ASSERT_EQ(fromXlsx[0].rows.size(), 70001u);
    EXPECT_DOUBLE_EQ(fromXlsx[0].at(70000, 0).number, 70000);
    EXPECT_EQ(fromXlsx[0].at(70000, 1).text, QStringLiteral("tétel ő 70000"));

    for (const ReadBook& book : {ReadXlsWithXlrd(xls), ReadXlsWithFreexl(xls)}) {
        ASSERT_EQ(book.size(), 2u);
        EXPECT_EQ(book[0].name, QStringLiteral("Munka1"));
        EXPECT_EQ(book[1].name, QStringLiteral("Munka2"));
        ASSERT_EQ(book[0].rows.size(), 65536u);
        ASSERT_EQ(book[1].rows.size(), size_t(70000 - 65535 + 1));
        EXPECT_EQ(book[1].at(0, 1).text, QStringLiteral("nev"));
        EXPECT_DOUBLE_EQ(book[0].at(65535, 0).number, 65535);
        EXPECT_DOUBLE_EQ(book[1].at(1, 0).number, 65536);
        EXPECT_EQ(book[1].at(4465, 1).text, QStringLiteral("tétel ő 70000"));
        EXPECT_EQ(book[1].at(4465, 2).type, QStringLiteral("date"));
    }

    // More columns than an .xls sheet holds: a clear refusal, no file.
    Query wide;
    QStringList columns;
    for (int i = 0; i < 257; ++i)
        columns << QStringLiteral("%1 AS c%1").arg(i);
    Open(wide, QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")));
    const QString tooWide = dir.filePath(QStringLiteral("szeles.xls"));
    try {
        WriteSpreadsheet(ExportRows(wide, {}), tooWide, SpreadsheetFormat::Xls, {});
        ADD_FAILURE() << "no error";
    } catch (const ExportError& e) {
        EXPECT_EQ(
            e.message(),
            QStringLiteral("Egy munkalapon legfeljebb 256 oszlop fér el, de 257 oszlop van kijelölve."));
    }
    EXPECT_FALSE(QFile::exists(tooWide));
}

} // namespace
