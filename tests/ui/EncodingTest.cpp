// The text contract on every path: Windows-1250 bytes in the latin2
// columns. Letters outside Hungarian (Czech, Slovak, Polish, typographic
// quotes, the dash, the euro) go through the editor, the connection, the
// mariadb client as the db/ files are loaded, the demo, a printout, a CSV
// and a backup script, and come back the same; the database holds exactly
// their Windows-1250 bytes. Characters that Windows-1250 cannot hold are
// refused with a message, never stored as '?'; a db/ file loaded without the
// conversion stops before it stores anything.

#include "Cp1250Sql.h"
#include "PdfText.h"
#include "TestDatabase.h"
#include "components/Cp1250.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/report/Document.h"
#include "exchange/DelimitedExport.h"
#include "foundation/DataScript.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "patterns/gui/FormEditor.h"
#include "records/LookupTables.h"
#include "reports/WorkSheetPrint.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::TestDatabase;

const QString kText = QStringLiteral("Škoda Šárka Ťažký Żółw „Teszt” – 100 €");

QByteArray Hex(const QString& text) {
    return ToCp1250(text).toHex().toUpper();
}

// Types the text into the edit as one key press carrying it (the way an
// input method delivers letters that have no key of their own).
void TypeText(QLineEdit* edit, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class Encoding : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("encoding"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        Beall() = TBeall{};
        SetSharedConnection(&s_db->connection());
        ASSERT_TRUE(m_dir.isValid());
    }
    // The stored bytes of a manufacturer's name, and the name as the program reads it.
    static QByteArray storedHex(int manufacturer) {
        return QueryStr(
                   QStringLiteral("SELECT HEX(gyarto_nev) FROM gyarto WHERE gyarto = %1").arg(manufacturer))
            .toLatin1();
    }
    static QString storedName(int manufacturer) {
        return QueryStr(QStringLiteral("SELECT gyarto_nev FROM gyarto WHERE gyarto = %1").arg(manufacturer));
    }
    static int manufacturerNamed(const QString& name) {
        return QueryInt(
            QStringLiteral("SELECT MAX(gyarto) FROM gyarto WHERE gyarto_nev = %1").arg(SqlStr(name)), -1);
    }
    // The mariadb client as scripts/run and bench/make_large_shop use it.
    static QString loadWithScript(const QByteArray& utf8Sql, int* exitCode) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        const ConnectionOptions o = s_db->options();
        p.start(test::SourcePath(QStringLiteral("scripts/mariadb-cp1250")),
                {QStringLiteral("--protocol=tcp"), QStringLiteral("-h") + o.host,
                 QStringLiteral("-P%1").arg(o.port), QStringLiteral("-uroot"), QStringLiteral("-N"),
                 s_db->name()});
        p.write(utf8Sql);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return QString::fromUtf8(p.readAll());
    }

    static inline TestDatabase* s_db = nullptr;
    QTemporaryDir m_dir;
};

TEST_F(Encoding, DemoLoadStoresWindows1250Bytes) {
    const int skoda = manufacturerNamed(QStringLiteral("Škoda"));
    ASSERT_GT(skoda, 0) << "the demo's Škoda reads back as Škoda";
    EXPECT_EQ(storedHex(skoda), QByteArray("8A6B6F6461"));
}

// One text through every path; each stores the same Windows-1250 bytes and
// gives the text back unchanged.
TEST_F(Encoding, OneTextThroughEveryPathComesBackTheSame) {
    // The editor: typed into the manufacturer editor and saved with OK.
    {
        FormEditor editor(LookupRowEditorDefinition(QStringLiteral("gyarto"), QStringLiteral("Gyártó")));
        editor.startNew();
        auto* name = qobject_cast<QLineEdit*>(editor.control(QStringLiteral("gyarto_nev")));
        ASSERT_NE(name, nullptr);
        TypeText(name, kText);
        ASSERT_EQ(name->text(), kText);
        editor.accept();
        const int saved = int(editor.savedKey().value_or(0));
        ASSERT_GT(saved, 0);
        EXPECT_EQ(storedHex(saved), Hex(kText)) << "editor";
        EXPECT_EQ(storedName(saved), kText) << "editor";
        FormEditor again(LookupRowEditorDefinition(QStringLiteral("gyarto"), QStringLiteral("Gyártó")));
        ASSERT_TRUE(again.startEdit(saved));
        EXPECT_EQ(qobject_cast<QLineEdit*>(again.control(QStringLiteral("gyarto_nev")))->text(), kText);
        again.reject();
    }
    // The connection: a statement of the program.
    ExecSql(QStringLiteral("INSERT INTO gyarto (gyarto_nev) VALUES (%1)")
                .arg(SqlStr(kText + QStringLiteral(" 2"))));
    const int direct = manufacturerNamed(kText + QStringLiteral(" 2"));
    ASSERT_GT(direct, 0);
    EXPECT_EQ(storedHex(direct), Hex(kText + QStringLiteral(" 2")));
    // The mariadb client the way the db/ files are loaded (the tests' loader
    // and scripts/mariadb-cp1250), reading back through the script too.
    test::RunClient(s_db->name(),
                    QStringLiteral("INSERT INTO gyarto (gyarto_nev) VALUES ('%1 3');").arg(kText));
    EXPECT_EQ(storedHex(manufacturerNamed(kText + QStringLiteral(" 3"))), Hex(kText + QStringLiteral(" 3")));
    int exitCode = -1;
    loadWithScript(QStringLiteral("INSERT INTO gyarto (gyarto_nev) VALUES ('%1 4');").arg(kText).toUtf8(),
                   &exitCode);
    EXPECT_EQ(exitCode, 0);
    const int scripted = manufacturerNamed(kText + QStringLiteral(" 4"));
    EXPECT_EQ(storedHex(scripted), Hex(kText + QStringLiteral(" 4")));
    EXPECT_EQ(loadWithScript(
                  QStringLiteral("SELECT gyarto_nev FROM gyarto WHERE gyarto = %1;").arg(scripted).toUtf8(),
                  &exitCode)
                  .trimmed(),
              kText + QStringLiteral(" 4"));

    // A printout: the text as a customer's name and a complaint on a sheet.
    ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES (%1)").arg(SqlStr(kText)));
    const int customer = QueryInt(QStringLiteral("SELECT MAX(ugyfel) FROM ugyfel"));
    ExecSql(
        QStringLiteral("INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, statusz, panasz) "
                       "SELECT 9600, mlaptipus, %1, 0, datum, 1, %2 FROM munkalap WHERE munkalap = 12")
            .arg(customer)
            .arg(SqlStr(kText)));
    const QString pdf = m_dir.filePath(QStringLiteral("encoding.pdf"));
    WorkSheetPrintOptions options;
    options.programType = 1;
    report::SaveAsPdf(MakeWorkSheetDocument(9600, WorkSheetLayout::qrMunkalap0, options), pdf);
    const QString printed = test::Squeezed(test::ReadPdfPages(pdf).join(QLatin1Char('\n')));
    EXPECT_TRUE(printed.contains(kText)) << printed.toStdString();

    // A CSV in Windows-1250 and in UTF-8.
    Query names;
    names.setSql(QStringLiteral("SELECT gyarto_nev FROM gyarto WHERE gyarto = %1").arg(direct));
    names.open();
    DelimitedOptions csv;
    csv.header = false;
    const QString csvPath = m_dir.filePath(QStringLiteral("gyarto.csv"));
    WriteDelimitedFile(ExportRows(names, {}), csvPath, csv, {});
    EXPECT_EQ(FileBytes(csvPath), ToCp1250(kText + QStringLiteral(" 2\r\n")));
    csv.utf8 = true;
    WriteDelimitedFile(ExportRows(names, {}), csvPath, csv, {});
    EXPECT_EQ(FileBytes(csvPath), QByteArray("\xEF\xBB\xBF") + (kText + QStringLiteral(" 2\r\n")).toUtf8());

    // A backup script of the tables: the same bytes, and running it stores them again.
    const QString script = TableInsertScript(s_db->connection(), QStringLiteral("gyarto"));
    EXPECT_TRUE(ToCp1250(script).contains(ToCp1250(kText + QStringLiteral(" 2"))));
    ExecSql(QStringLiteral("DELETE FROM gyarto WHERE gyarto = %1").arg(direct));
    RunSqlScript(s_db->connection(), script.split(QStringLiteral("\r\n")));
    EXPECT_EQ(storedHex(direct), Hex(kText + QStringLiteral(" 2")));
}

// Text that Windows-1250 cannot hold is refused, naming the characters;
// nothing is written, and the editor keeps what was typed.
TEST_F(Encoding, CharactersOutsideWindows1250AreRefusedNotGarbled) {
    EXPECT_EQ(CharactersOutsideCp1250(kText), QString());
    EXPECT_EQ(CharactersOutsideCp1250(QStringLiteral("Señor Øystein Señor 😀")), QStringLiteral("ñØ😀"));

    const int before = QueryInt(QStringLiteral("SELECT COUNT(*) FROM gyarto"));
    try {
        ExecSql(QStringLiteral("INSERT INTO gyarto (gyarto_nev) VALUES (%1)")
                    .arg(SqlStr(QStringLiteral("Señor 😀"))));
        ADD_FAILURE() << "stored";
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), UnstorableTextError);
        EXPECT_TRUE(e.message().startsWith(UnstorableTextMark));
        EXPECT_TRUE(e.message().contains(QStringLiteral("ñ 😀"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("„Señor 😀”"))) << e.message().toStdString();
    }
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM gyarto")), before);

    FormEditor editor(LookupRowEditorDefinition(QStringLiteral("gyarto"), QStringLiteral("Gyártó")));
    editor.startNew();
    auto* name = qobject_cast<QLineEdit*>(editor.control(QStringLiteral("gyarto_nev")));
    ASSERT_NE(name, nullptr);
    TypeText(name, QStringLiteral("Señor Øystein"));
    EXPECT_THROW(editor.accept(), DbError);
    EXPECT_EQ(name->text(), QStringLiteral("Señor Øystein")) << "what was typed stays";
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM gyarto")), before);
    editor.reject();

    // The loader of the db/ files refuses such SQL as a whole.
    int exitCode = 0;
    const QString output = loadWithScript(
        "INSERT INTO gyarto (gyarto_nev) VALUES ('eins'); INSERT INTO gyarto (gyarto_nev) VALUES "
        "('Se\xC3\xB1or');",
        &exitCode);
    EXPECT_NE(exitCode, 0);
    EXPECT_TRUE(output.contains(QStringLiteral("nothing was loaded"))) << output.toStdString();
    EXPECT_LE(manufacturerNamed(QStringLiteral("eins")), 0) << "nothing of the script ran";
}

// A db/ file sent without the conversion (UTF-8 bytes) stops at its first
// lines, before any text is stored.
TEST_F(Encoding, UnconvertedDbFileStopsBeforeStoringText) {
    TestDatabase empty(QStringLiteral("encodingraw"), TestDatabase::Contents::Empty);
    for (const char* charset : {"utf8mb4", "latin2"}) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        const ConnectionOptions o = empty.options();
        p.setStandardInputFile(test::SourcePath(QStringLiteral("db/schema.sql")));
        p.start(QStringLiteral("mariadb"),
                {QStringLiteral("--no-defaults"), QStringLiteral("--protocol=tcp"),
                 QStringLiteral("-h") + o.host, QStringLiteral("-P%1").arg(o.port), QStringLiteral("-uroot"),
                 QStringLiteral("--default-character-set=") + QLatin1String(charset), empty.name()});
        p.waitForFinished(60000);
        EXPECT_NE(p.exitCode(), 0) << charset;
        EXPECT_TRUE(
            QString::fromUtf8(p.readAll()).contains(QStringLiteral("file_not_converted_to_windows_1250")))
            << charset;
        EXPECT_EQ(
            QueryInt(QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = %1")
                         .arg(SqlStr(empty.name()))),
            0)
            << charset;
    }
}

} // namespace
} // namespace kml
