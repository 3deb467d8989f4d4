// Text, number and escaping helpers: the documented examples and the edge
// cases that decide how typed numbers, file names, SQL literals and
// downloaded Hungarian text come out.
#include "foundation/TextHelpers.h"

#include "components/Cp1250.h"
#include "components/Query.h"
#include "foundation/Conversions.h"

#include <QDate>
#include <QRandomGenerator>
#include <cmath>
#include <gtest/gtest.h>

using namespace kml;

namespace {

// Text whose characters are the given cp1250 bytes.
QString Bytes(const QByteArray& bytes) {
    return FromCp1250(bytes);
}

TEST(Token, PiecesBetweenAnyDelimiter) {
    struct Case {
        const char* delimiters;
        const char* text;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {";", "a;;b", 1, "a"},
        {";", "a;;b", 2, ""},
        {";", "a;;b", 3, "b"},
        {";", "a;;b", 4, ""},
        {";", "a;;b", 0, ""},
        {";", " x ; y ", 1, "x"},
        {";", " x ; y ", 2, "y"},
        {" ,", "kis,pest ut", 2, "pest"},
        {" ,", "kis,pest ut", 3, "ut"},
        {";", "koravelml;localhost;3306;root;;Bolt;", 5, ""},
        {";", "koravelml;localhost;3306;root;;Bolt;", 6, "Bolt"},
        {";", "koravelml;localhost;3306;root;;Bolt;", 7, ""},
        {":", "table: ugyfel", 2, "ugyfel"},
        {";", "", 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Token(QString::fromUtf8(c.delimiters), QString::fromUtf8(c.text), c.n),
                  QString::fromUtf8(c.expected))
            << c.text << " piece " << c.n;
}

TEST(NumberText, StrFloatReadsTypedNumbersTheHungarianWay) {
    struct Case {
        const char* text;
        double expected;
    };
    const double def = -999;
    const Case cases[] = {
        {"12,5 Ft", 12.5}, {"12.5", 12.5}, {"  -3,25 ", -3.25}, {"1 234", 1234}, {"1 234,5 Ft", 1234.5},
        {"1.234,5", def}, // a thousands mark and a decimal mark: two separators
        {"12-5", def},     {"", def},      {"   ", def},        {"Ft", def},     {"-", def},
        {",5", 0.5},       {"0", 0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(StrFloat(QString::fromUtf8(c.text), def), c.expected) << c.text;
}

TEST(NumberText, StrIntAndItsFilters) {
    EXPECT_EQ(StrInt("-12"), -12);
    EXPECT_EQ(StrInt("1-2"), 12);
    EXPECT_EQ(StrInt("12.5"), 0);
    EXPECT_EQ(StrInt(" 3306 "), 3306);
    EXPECT_EQ(StrInt("12 db"), 12);
    EXPECT_EQ(StrInt(""), 0);
    EXPECT_EQ(StrInt("abc"), 0);
    EXPECT_EQ(StrInt("99999999999"), 0); // out of range

    EXPECT_EQ(NumberChars(" -1.234,5x- "), "-1.2345");
    EXPECT_EQ(NumberChars("a-1"), "1");
    EXPECT_EQ(KeepNumberChars("1 234,5-Ft."), "1234,5-.");
    EXPECT_EQ(DigitsOnly("+36 (30) 123-4567"), "36301234567");
    EXPECT_EQ(RemoveSpaces(" a b  c "), "abc");
    EXPECT_EQ(StripChars("-/", "2024-03/05"), "20240305");
    EXPECT_EQ(StrLeft("Koravel", 3), "Kor");
    EXPECT_EQ(StrRight("Koravel", 3), "vel");
    EXPECT_EQ(StrLeft("ab", 5), "ab");
}

TEST(NumberText, FieldValueConversions) {
    EXPECT_EQ(VarStr(QVariant(), "x"), "x");
    EXPECT_EQ(VarStr(QString(""), "x"), "");
    EXPECT_EQ(VarStr(12.5), "12,5");
    EXPECT_EQ(VarStr(QDate(2024, 3, 5)), "2024.03.05");
    EXPECT_EQ(VarInt(QVariant(), 7), 7);
    EXPECT_EQ(VarInt(" 42 "), 42);
    EXPECT_EQ(VarInt(qlonglong(5)), 5);
    EXPECT_THROW(VarInt("abc"), ConversionError);
    try {
        VarInt("4x");
    } catch (const ConversionError& e) {
        EXPECT_NE(QString::fromUtf8(e.what()).indexOf("not a valid"), -1); // what the error handler looks for
    }
    EXPECT_DOUBLE_EQ(VarFloat(QVariant(), 1.5), 1.5);
    EXPECT_DOUBLE_EQ(VarFloat("2,5"), 2.5);
    EXPECT_DOUBLE_EQ(VarFloat("2.5"), 2.5);
    EXPECT_THROW(VarFloat("két"), ConversionError);
    EXPECT_EQ(VarIntStr(QVariant()), "0");
    EXPECT_EQ(VarIntStr(123), "123");
    EXPECT_EQ(VarIf(true, QString("I"), QString("N")), "I");
    EXPECT_EQ(VarIf(false, 1, 2), 2);
    EXPECT_EQ(ReplaceChar(QVariant(), 'a', 'b'), "");
    EXPECT_EQ(ReplaceChar("a;b;c", ';', ','), "a,b,c");
}

TEST(NumberText, ArithmeticAndNumberText) {
    EXPECT_EQ(SafeDiv(0, 10), 0);
    EXPECT_EQ(SafeDiv(4, 10), 2.5); // dividend / divisor
    EXPECT_EQ(Clamp(12, 8, 10), 10);
    EXPECT_EQ(Clamp(5, 8, 10), 8);
    EXPECT_EQ(Clamp(9, 8, 10), 9);

    EXPECT_EQ(FloatText(".", 12.5), "12.5");
    EXPECT_EQ(FloatText(",", 12.5), "12,5");
    EXPECT_EQ(FloatText(".", 3), "3");
    EXPECT_EQ(FloatText(".", -0.25), "-0.25");
    EXPECT_EQ(FloatText(".", 0.1 + 0.2), "0.3"); // fifteen significant digits
    EXPECT_EQ(FloatText(".", 1234567.89), "1234567.89");

    EXPECT_EQ(PadInt(42, 5, '0'), "00042");
    EXPECT_EQ(PadInt(123456, 5, '0'), "123456"); // never cut
    EXPECT_EQ(PadInt(7, 2, ' '), " 7");
}

TEST(FileNames, SafeFileName) {
    EXPECT_EQ(SafeFileName(QString::fromUtf8("Ügyfelek")), "_gyfelek");
    EXPECT_EQ(SafeFileName(QString::fromUtf8("Ügyfelek.htm")), "_gyfelek.htm");
    EXPECT_EQ(SafeFileName(QString::fromUtf8("Árlista 2024")), "_rlista-2024");
    EXPECT_EQ(SafeFileName(R"(a b!c"d#e%f&g'h*i+j/k:l?m@n\o)"), "a-b-c-d-e-f-g-h-i-j-k-l-m-n-o");
    EXPECT_EQ(SafeFileName("$[x],y;z.Q"), "$[x],y;z.q");
    EXPECT_EQ(SafeFileName(QString::fromUtf8("€ő")), QString::fromUtf8("€_")); // byte 0x80 stays
    // Every byte from 0x81 up becomes "_".
    for (int b = 0x81; b <= 0xFF; ++b)
        EXPECT_EQ(SafeFileName(Bytes(QByteArray(1, char(b)))), "_") << b;
}

TEST(Escaping, SqlStrAndEscapeText) {
    struct Case {
        QString value;
        QString expected;
    };
    const Case cases[] = {
        {"abc", "'abc'"},
        {"", "''"},
        {"O'Brien", "'O''Brien'"},
        {"C:\\temp", "'C:\\\\temp'"},
        {"a\r\nb", "'a\\r\\nb'"},
        {"it's \\ \r\n", "'it''s \\\\ \\r\\n'"},
        {QString::fromUtf8("árvíztűrő"), QString::fromUtf8("'árvíztűrő'")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SqlStr(c.value), c.expected);
        // Query binds text parameters with the same literal.
        EXPECT_EQ(SqlLiteral(QVariant(c.value)), c.expected);
    }
    EXPECT_EQ(SqlStr(QVariant()), "''");
    EXPECT_EQ(EscapeText(QVariant()), "");
    EXPECT_EQ(EscapeText("a\\b\rc\nd'"), "a\\\\b\\rc\\nd'");
}

TEST(Escaping, SqlStrAgreesWithQueryLiteralForEveryCharacter) {
    QRandomGenerator random(20240305);
    for (int i = 0; i < 500; ++i) {
        QString text;
        const int length = random.bounded(40);
        for (int k = 0; k < length; ++k)
            text += QChar(Cp1250ToUnicode(static_cast<unsigned char>(1 + random.bounded(255))));
        ASSERT_EQ(SqlStr(text), SqlLiteral(QVariant(text))) << text.toStdString();
    }
}

TEST(Escaping, LineEscapes) {
    EXPECT_EQ(EscapeOneLine(QString("a\r\nb")), "a\\nb");
    EXPECT_EQ(EscapeOneLine(QString("a\nb\\")), "ab\\\\");
    EXPECT_EQ(EscapeOneLine(QVariant()), "");

    EXPECT_EQ(UnescapeLineBreaks(QString("a\\r\\nb")), "a\r\nb");
    EXPECT_EQ(UnescapeLineBreaks(QString("a\\\\r\\\\nb")), "a\r\nb");
    EXPECT_EQ(UnescapeLineBreaks(QString("a\\R\\Nb")), "a\r\nb");
    EXPECT_EQ(UnescapeLineBreaks(QString("a\\rb")), "a\\rb");
    EXPECT_EQ(UnescapeLineBreaks(QVariant()), "");
}

TEST(Xml, EscapeTextAndElements) {
    EXPECT_EQ(XmlEscape("a&b<c>d'e\"f"), "a&amp;b&lt;c&gt;d&apos;e&quot;f");
    EXPECT_EQ(XmlEscape("&lt;"), "&amp;lt;");
    EXPECT_EQ(XmlText(" Kft., "), "Kft."); // the comma goes, the full stop stays
    EXPECT_EQ(XmlText("Bt."), "Bt");
    EXPECT_EQ(XmlText("a,"), "a");
    EXPECT_EQ(XmlText("a.,"), "a.");
    EXPECT_EQ(XmlText("a,."), "a");
    EXPECT_EQ(XmlText("x & y"), "x &amp; y");

    const QString xml = "<ns2:valasz><NS3:adoszam>12345678</ns3:adoszam><nev>A &amp; B</nev></ns2:valasz>";
    EXPECT_EQ(XmlElementText("adoszam", xml), "12345678");
    EXPECT_EQ(XmlElementText("nev", xml), "A &amp; B");
    EXPECT_EQ(XmlElementText("cim", xml), "");
    EXPECT_EQ(XmlElementText("nev", "<nev>open"), "");
}

TEST(Utf8, RepairUtf8TurnsUtf8PairsIntoCp1250Letters) {
    // Plain ASCII is left alone.
    EXPECT_EQ(RepairUtf8("Koravel 24.0.0.111|OK"), "Koravel 24.0.0.111|OK");
    // The UTF-8 bytes of a word, read one byte per character.
    const QString word = QString::fromUtf8("árvíztűrő");
    const QString asRead = Bytes(word.toUtf8());
    EXPECT_EQ(asRead.size(), 13);
    EXPECT_EQ(RepairUtf8(asRead), word);
    EXPECT_EQ(ToCp1250(RepairUtf8(asRead)).size(), word.size()); // one byte per letter

    const QString all = QString::fromUtf8("áéíóöőúüű ÁÉÍÓÖŐÚÜŰ");
    EXPECT_EQ(RepairUtf8(Bytes(all.toUtf8())), all);
    EXPECT_EQ(RepairUtf8(ToUtf8(all)), all);

    // Trade mark and registered signs are dropped.
    EXPECT_EQ(RepairUtf8(Bytes(QString::fromUtf8("Koravel® ML™ Kft.").toUtf8())), "Koravel ML Kft.");
    // A letter followed by the combining acute accent, also at the very end.
    EXPECT_EQ(RepairUtf8(Bytes("ke\xCC\x81pe\xCC\x81")), QString::fromUtf8("képé"));
    EXPECT_EQ(RepairUtf8(Bytes("i\xCC\x81r")), QString::fromUtf8("ír"));
}

TEST(Utf8, ToUtf8GivesTheUtf8BytesOneCharacterEach) {
    EXPECT_EQ(ToCp1250(ToUtf8(QString::fromUtf8("Ő ű €"))), QString::fromUtf8("Ő ű €").toUtf8());
    EXPECT_EQ(ToUtf8("abc"), "abc");
}

TEST(Scramble, RoundTripsEveryByteButTheLast) {
    QString all;
    for (int b = 0; b < 255; ++b)
        all += QChar(Cp1250ToUnicode(static_cast<unsigned char>(b)));
    const QString scrambled = ScramblePassword(all);
    ASSERT_EQ(scrambled.size(), 3 + 2 * all.size());
    EXPECT_EQ(UnscramblePassword(scrambled), all);
    // Noise characters are 33..87; the payload is each byte + 1.
    const QByteArray bytes = ToCp1250(scrambled);
    for (int i = 0; i < bytes.size(); ++i) {
        const int b = static_cast<unsigned char>(bytes.at(i));
        if (i < 3 || (i - 3) % 2 == 1) {
            EXPECT_GE(b, 33);
            EXPECT_LE(b, 87);
        } else {
            EXPECT_EQ(b, ((i - 3) / 2 + 1) & 0xFF);
        }
    }

    const QString entry = QString::fromUtf8("koravelml;localhost;3306;root;jelszó;Bolt;");
    EXPECT_EQ(UnscramblePassword(ScramblePassword(entry)), entry);
    EXPECT_EQ(UnscramblePassword(ScramblePassword("")), "");
    EXPECT_EQ(ScramblePassword("").size(), 3);
    EXPECT_EQ(UnscramblePassword(""), "");
}

} // namespace
