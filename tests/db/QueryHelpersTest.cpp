// Query helpers against the real server: SQL literals that come back
// unchanged, single-value lookups and their defaults, statements through
// ExecSql, list fillers, search conditions on real rows, number formats and
// delimited lines.
#include "foundation/QueryHelpers.h"

#include "TestDatabase.h"
#include "components/Connection.h"
#include "components/Cp1250.h"
#include "components/DbError.h"
#include "components/MemTable.h"
#include "components/NumberFormat.h"
#include "components/Query.h"
#include "foundation/SearchFilter.h"
#include "foundation/TextHelpers.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QComboBox>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace kml;
using kml::test::TestDatabase;

namespace {

class QueryHelpers : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("queryhelpers"), TestDatabase::Contents::Empty);
        for (const char* sql : {
                 "CREATE TABLE szoveg (szoveg INT AUTO_INCREMENT PRIMARY KEY, nev VARCHAR(255), megj TEXT)",
                 "CREATE TABLE ugyfel (ugyfel INT AUTO_INCREMENT PRIMARY KEY, ugyfel_nev VARCHAR(50), "
                 "varos VARCHAR(30), ar DOUBLE, db DOUBLE, datum DATE)",
                 "CREATE TABLE dolgozo (dolgozo INT AUTO_INCREMENT PRIMARY KEY, dolgozo_nev VARCHAR(50), "
                 "sorszam INT)",
                 "CREATE TABLE ures (ures INT AUTO_INCREMENT PRIMARY KEY, ures_nev VARCHAR(20))",
             })
            conn().exec(QString::fromUtf8(sql));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override {
        for (const char* table : {"szoveg", "ugyfel", "dolgozo"})
            conn().exec(QStringLiteral("TRUNCATE ") + QLatin1String(table));
    }
    static Connection& conn() { return db->connection(); }
    static inline TestDatabase* db = nullptr;
};

QString RandomText(QRandomGenerator& random) {
    // Every cp1250 byte but NUL, with the characters that need escaping made common.
    static const QString special = QStringLiteral("'\\\r\n%_\"`;");
    QString text;
    const int length = random.bounded(60);
    for (int i = 0; i < length; ++i) {
        if (random.bounded(3) == 0)
            text += special.at(random.bounded(int(special.size())));
        else
            text += QChar(Cp1250ToUnicode(static_cast<unsigned char>(1 + random.bounded(255))));
    }
    return text;
}

TEST_F(QueryHelpers, SqlStrLiteralsComeBackUnchanged) {
    QRandomGenerator random(1250);
    for (int i = 0; i < 300; ++i) {
        const QString text = RandomText(random);
        const ResultSet rs = conn().query(QStringLiteral("SELECT ") + SqlStr(text) +
                                          QStringLiteral(", HEX(") + SqlStr(text) + QStringLiteral(")"));
        ASSERT_EQ(rs.text(0, 0), text) << i;
        ASSERT_EQ(QByteArray::fromHex(rs.text(0, 1).toLatin1()), ToCp1250(text)) << i;
    }
    // ... and stored in a column, through ExecSql.
    std::vector<QString> stored;
    for (int i = 0; i < 100; ++i) {
        stored.push_back(RandomText(random));
        ExecSql(QStringLiteral("INSERT INTO szoveg (megj) VALUES (") + SqlStr(stored.back()) +
                QStringLiteral(");"));
    }
    const ResultSet rs = conn().query(QStringLiteral("SELECT megj FROM szoveg ORDER BY szoveg"));
    ASSERT_EQ(rs.rowCount(), 100);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(rs.text(i, 0), stored[size_t(i)]) << i;
}

TEST_F(QueryHelpers, ExecSqlNeverChangesAValue) {
    const QString values[] = {
        "\\r\\n",          // the four characters backslash r backslash n
        "\\\\r\\\\n",      // six characters
        "a\r\nb",          // a real line break
        "\\R\n",           // backslash, R, LF
        "C:\\new\\report", // a Windows path
        "it's \\r\\n",
    };
    for (const QString& value : values)
        ExecSql(QStringLiteral("INSERT INTO szoveg (nev) VALUES (") + SqlStr(value) + ");");
    const ResultSet rs = conn().query(QStringLiteral("SELECT nev FROM szoveg ORDER BY szoveg"));
    ASSERT_EQ(rs.rowCount(), int(std::size(values)));
    for (int i = 0; i < rs.rowCount(); ++i)
        EXPECT_EQ(rs.text(i, 0), values[i]) << i;

    // A line break written as text between tokens still works, and an empty text is ignored.
    ExecSql("UPDATE szoveg SET nev = 'x'\\r\\nWHERE szoveg = 1;");
    EXPECT_EQ(QueryStr("SELECT nev FROM szoveg WHERE szoveg = 1"), "x");
    EXPECT_NO_THROW(ExecSql("  \r\n "));
    EXPECT_THROW(ExecSql("UPDATE nincs SET a = 1"), DbError);
}

TEST_F(QueryHelpers, SingleValuesAndTheirDefaults) {
    // No row: the default; a NULL value: "" / 0.
    EXPECT_EQ(QueryStr("SELECT nev FROM szoveg WHERE szoveg = 1;", "x"), "x");
    EXPECT_EQ(QueryStr("SELECT NULL;", "x"), "");
    EXPECT_EQ(QueryInt("SELECT szoveg FROM szoveg;", 7), 7);
    EXPECT_EQ(QueryInt("SELECT MAX(szoveg) FROM szoveg;", 7), 0); // one row holding NULL
    EXPECT_EQ(QueryInt("SELECT ' 42 ';", 7), 42);
    EXPECT_EQ(QueryInt("SELECT 'abc';", 7), 0);
    EXPECT_EQ(QueryInt("SELECT 12.5;", 7), 0);
    EXPECT_DOUBLE_EQ(QueryFloat("SELECT 12.5;", -1), 12.5);
    EXPECT_DOUBLE_EQ(QueryFloat("SELECT NULL;", -1), -1);
    EXPECT_DOUBLE_EQ(QueryFloat("SELECT 'abc';", -1), -1);
    EXPECT_DOUBLE_EQ(QueryFloat("SELECT ar FROM ugyfel;", -1), -1);
    EXPECT_EQ(QueryDate("SELECT '2024-03-05 14:07:09';"), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    EXPECT_EQ(QueryDate("SELECT DATE('2024-03-05');"), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    const QDateTime def(QDate(2000, 1, 1), QTime(0, 0));
    EXPECT_EQ(QueryDate("SELECT 'nem datum';", def), def);
    EXPECT_EQ(QueryDate("SELECT datum FROM ugyfel;", def), def);
    EXPECT_EQ(ServerDate().toString(Qt::ISODate), QueryStr("SELECT CURDATE();"));
    EXPECT_EQ(ServerMd5("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(ServerMd5(QString::fromUtf8("jelszó")), QueryStr("SELECT MD5(_latin2 X'6A656C737AF3');"));
}

TEST_F(QueryHelpers, KeysAndNames) {
    EXPECT_EQ(NextId("ures"), 1);
    EXPECT_EQ(NextId("ugyfel", "ugyfel"), 1);
    ExecSql(
        QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (5, %1);").arg(SqlStr("Kovács Ödön")));
    EXPECT_EQ(NextId("ugyfel"), 6);
    EXPECT_EQ(LookupName(5, "ugyfel"), QString::fromUtf8("Kovács Ödön"));
    EXPECT_EQ(LookupName(6, "ugyfel", "?"), "?");
    EXPECT_EQ(CaptionOf(5, 1), QString::fromUtf8("Kovács Ödön"));
    EXPECT_EQ(CaptionOf(5, 9), ""); // unknown kind: no query at all

    ExecSql("INSERT INTO dolgozo (dolgozo, dolgozo_nev, sorszam) VALUES (3, 'Pál', 0), (8, 'Éva', 1);");
    EXPECT_EQ(EmployeeIdAt(1), 8);
    EXPECT_EQ(EmployeeIdAt(5), -1);
    EXPECT_EQ(EmployeeIdAt(-1), -1);
    EXPECT_EQ(EmployeeNameAt(0), QString::fromUtf8("Pál"));
    EXPECT_EQ(EmployeeNameAt(-1), "");
}

TEST_F(QueryHelpers, ListFillers) {
    ExecSql(
        "INSERT INTO ugyfel (ugyfel_nev, varos) VALUES ('Béla', 'Pécs'), ('Anna', NULL), ('Cili', 'Győr');");
    QStringList list{"meglévő"};
    FillList(list, "SELECT varos FROM ugyfel ORDER BY ugyfel;");
    EXPECT_EQ(list, (QStringList{"meglévő", "Pécs", "", "Győr"}));

    QComboBox pick;
    FillCombo(&pick, "SELECT ugyfel_nev FROM ugyfel ORDER BY ugyfel_nev;", "(mind)");
    ASSERT_EQ(pick.count(), 4);
    EXPECT_EQ(pick.itemText(0), "(mind)");
    EXPECT_EQ(pick.itemText(1), "Anna");
    EXPECT_EQ(pick.currentIndex(), 0);

    QComboBox editable;
    editable.setEditable(true);
    editable.setEditText("Pécs");
    FillCombo(&editable, "SELECT DISTINCT varos FROM ugyfel WHERE varos IS NOT NULL ORDER BY 1;");
    EXPECT_EQ(editable.count(), 2);
    EXPECT_EQ(editable.currentText(), "Pécs"); // the field's text stays

    // Fillers read through their own results: one may run inside another's loop.
    Query outer;
    outer.setSql("SELECT ugyfel FROM ugyfel ORDER BY ugyfel");
    outer.open();
    int rows = 0;
    for (outer.first(); !outer.eof(); outer.next()) {
        QStringList names;
        FillList(
            names,
            QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE ugyfel = %1;").arg(outer.asInt("ugyfel")));
        EXPECT_EQ(names.size(), 1);
        ++rows;
    }
    EXPECT_EQ(rows, 3);
}

TEST_F(QueryHelpers, SearchConditionsFindTypedCharacters) {
    const char* names[] = {"O'Brien Kft.",   "C:\\temp mappa", "a)(b",
                           "10% kedvezmény", "Kovács Ödön",    "kovacs"};
    for (const char* name : names)
        ExecSql(
            QStringLiteral("INSERT INTO ugyfel (ugyfel_nev, varos) VALUES (%1, 'Pécs');").arg(SqlStr(name)));
    const auto found = [](const QString& filter) {
        QStringList result;
        FillList(result, QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE (ugyfel > 0)") + filter +
                             QStringLiteral(" ORDER BY ugyfel;"));
        return result;
    };
    EXPECT_EQ(found(LikeFilter("ugyfel_nev;varos", "O'Brien", true)), QStringList{"O'Brien Kft."});
    EXPECT_EQ(found(LikeFilter("ugyfel_nev;varos", "C:\\temp", true)), QStringList{"C:\\temp mappa"});
    EXPECT_EQ(found(LikeFilter("ugyfel_nev;varos", ")(", true)), QStringList{"a)(b"});
    EXPECT_EQ(found(LikeFilter("ugyfel_nev;varos", "ödön", true)),
              QStringList{"Kovács Ödön"}); // collation ignores case
    EXPECT_EQ(found(LikeFilter("ugyfel_nev;varos", "", true)).size(), 6);
    EXPECT_EQ(found(LikeFilter("ugyfel_nev;varos", "pécs", true)).size(), 6);
    EXPECT_EQ(found(WordsFilter("ugyfel_nev;varos", "kov pécs", true)),
              (QStringList{"Kovács Ödön", "kovacs"}));
    EXPECT_EQ(found(WordsFilter("ugyfel_nev;varos", "kft, o'brien", true)), QStringList{"O'Brien Kft."});
}

TEST_F(QueryHelpers, ProcedureRowIntoMemoryTable) {
    conn().exec(
        "CREATE OR REPLACE PROCEDURE sp_proba() SELECT 42 AS ugyfel, 'Béla' AS ugyfel_nev, 1.5 AS ar, "
        "'nem kell' AS egyeb");
    Query proc;
    proc.setSql("CALL sp_proba();");
    MemTable table;
    table.addField("ugyfel", FieldKind::Integer);
    table.addField("UGYFEL_NEV", FieldKind::Text);
    table.addField("ar", FieldKind::Float);
    table.addField("csak_itt", FieldKind::Text);
    CopyProcRow(proc, table);
    EXPECT_FALSE(proc.isActive()); // opened for the copy and closed again
    proc.open();
    CopyProcRow(proc, table);
    EXPECT_TRUE(proc.isActive()); // was open: stays open
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.value(0, "ugyfel").toInt(), 42);
    EXPECT_EQ(table.value(1, "ugyfel_nev").toString(), QString::fromUtf8("Béla"));
    EXPECT_DOUBLE_EQ(table.value(0, "ar").toDouble(), 1.5);
    EXPECT_TRUE(table.value(0, "csak_itt").isNull());
    // The connection is usable after the procedure's status result.
    EXPECT_EQ(QueryInt("SELECT 1;"), 1);
}

TEST_F(QueryHelpers, RecordCounterNumberFormatsAndLines) {
    ExecSql("INSERT INTO ugyfel (ugyfel_nev, varos, ar, db, datum) VALUES "
            "('Béla', 'Pécs; Baranya', 1234567, 2.5, '2024-03-05'), ('Anna', NULL, 12, 1234.25, NULL);");
    Query q;
    q.setSql("SELECT ugyfel, ugyfel_nev, varos, ar, db, db AS harom, datum FROM ugyfel ORDER BY ugyfel");
    EXPECT_EQ(RecordCounterText(q), "0: 0");
    q.open();
    EXPECT_EQ(RecordCounterText(q), "2: 1");
    q.next();
    EXPECT_EQ(RecordCounterText(q), "2: 2");

    q.fieldByName("db").tag = 1;
    q.fieldByName("harom").tag = -2; // the absolute value counts
    q.fieldByName("ugyfel").tag = 1; // not a float: untouched
    ApplyNumberFormats(q, true, kDefaultMoneyFormat, "### ##0.00");
    EXPECT_EQ(q.fieldByName("ar").displayFormat, "########0");
    EXPECT_EQ(q.fieldByName("db").displayFormat, "#####0.00");
    EXPECT_EQ(q.fieldByName("harom").displayFormat, "########0.000");
    EXPECT_EQ(q.fieldByName("ugyfel").displayFormat, "");
    ApplyNumberFormats(q, false, kDefaultMoneyFormat, "### ##0.00");
    EXPECT_EQ(q.fieldByName("ar").displayFormat, "### ### ##0");
    EXPECT_EQ(q.fieldByName("harom").displayFormat, "### ### ##0.000");
    // A whole-number quantity setting still shows a fraction where there is one.
    ApplyNumberFormats(q, false, kDefaultMoneyFormat, "### ### ##0");
    EXPECT_EQ(q.fieldByName("db").displayFormat, "### ### ##0.###");
    EXPECT_EQ(FormatNumber(q.fieldByName("db").displayFormat, 1.5), "1,5");
    EXPECT_EQ(FormatNumber(q.fieldByName("db").displayFormat, 1234), "1 234");
    ApplyNumberFormats(q, false, kDefaultMoneyFormat, "### ##0.00");
    // The formats survive reopening.
    q.close();
    q.open();
    EXPECT_EQ(q.fieldByName("ar").displayFormat, "### ### ##0");

    QStringList lines;
    DatasetToLines(q, lines, true, true, false, '\t', "ugyfel;harom");
    EXPECT_EQ(lines, (QStringList{"ugyfel_nev\tvaros\tar\tdb\tdatum\t",
                                  QString::fromUtf8("1\tBéla\tPécs, Baranya\t1 234 567\t2,50\t2024.03.05\t"),
                                  "2\tAnna\t\t12\t1 234,25\t\t"}));
    EXPECT_EQ(q.recNo(), 1); // the current row did not move

    lines.clear();
    DatasetToLines(q, lines, false, false, true, ';', "ugyfel;varos;ar;db;harom;datum");
    EXPECT_EQ(lines.size(), 2);
    EXPECT_EQ(ToCp1250(lines.at(0)), QString::fromUtf8("Béla;").toUtf8());
}

} // namespace
