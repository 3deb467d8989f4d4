// Search conditions and the editing of a list query's WHERE and ORDER lines:
// what a typed search text turns into, quotes, backslashes and brackets
// included.
#include "foundation/SearchFilter.h"

#include "foundation/QueryHelpers.h"

#include <gtest/gtest.h>

using namespace kml;

namespace {

TEST(LikeFilter, DocumentedExampleAndForms) {
    EXPECT_EQ(LikeFilter("ugyfel_nev;telefon", "kov", false),
              "((ugyfel_nev LIKE '%kov%') OR (telefon LIKE '%kov%'))");
    EXPECT_EQ(LikeFilter("ugyfel_nev;telefon", "kov", true),
              " AND ((ugyfel_nev LIKE '%kov%') OR (telefon LIKE '%kov%'))");
    EXPECT_EQ(LikeFilter("ugyfel_nev", "kov", false), "((ugyfel_nev LIKE '%kov%'))");
    EXPECT_EQ(LikeFilter("ugyfel_nev;telefon", "", false), "");
    EXPECT_EQ(LikeFilter("ugyfel_nev;telefon", "", true), "");
    // A field expression may hold anything but ";".
    EXPECT_EQ(LikeFilter("CONVERT(DATE_FORMAT(datum,'%Y.%m.%d') USING latin2)", "2024.03", false),
              "((CONVERT(DATE_FORMAT(datum,'%Y.%m.%d') USING latin2) LIKE '%2024.03%'))");
}

TEST(LikeFilter, TypedCharactersAreSearchedAsTheyStand) {
    // Quotes doubled, line breaks escaped; % and _ keep their LIKE meaning.
    EXPECT_EQ(LikeFilter("nev", "O'Brien", false), "((nev LIKE '%O''Brien%'))");
    EXPECT_EQ(LikeFilter("nev", "a\r\nb", false), "((nev LIKE '%a\\r\\nb%'))");
    EXPECT_EQ(LikeFilter("nev", "10%_x", false), "((nev LIKE '%10%_x%'))");
    // A backslash is searched for: doubled for the literal and once more for LIKE.
    EXPECT_EQ(LikeFilter("nev", "C:\\temp", false), "((nev LIKE '%C:\\\\\\\\temp%'))");
    // ")(" in the text stays in the literal.
    EXPECT_EQ(LikeFilter("nev;varos", "a)(b", false), "((nev LIKE '%a)(b%') OR (varos LIKE '%a)(b%'))");
}

// Which way a text goes through a search table; that the rows are LikeFilter's
// is shown against the server (db/ListSearchTest).
TEST(IndexedLikeFilter, ByteSearchAloneOnlyForPlainTexts) {
    const SearchIndex index{"ugyfel_kereses", "ugyfel", "ugyfel_nev;telefon"};
    const QString byteSearch = " AND (ugyfel IN (SELECT k.ugyfel FROM ugyfel_kereses k WHERE ";
    // A plain text: the byte search alone, the text quoted as a literal.
    const QString plain = IndexedLikeFilter(index, index.fields, "O'Brien", true);
    EXPECT_TRUE(plain.startsWith(byteSearch)) << plain.toStdString();
    EXPECT_TRUE(plain.contains("_latin2'O''Brien'"));
    EXPECT_FALSE(plain.contains(" LIKE "));
    EXPECT_EQ(IndexedLikeFilter(index, index.fields, "kov", false).left(9), "(ugyfel I");
    // Wildcards or the field separator byte: each piece narrows, LikeFilter decides.
    for (const QString& text :
         {QStringLiteral("10%_x"), QStringLiteral("a") + QChar(2) + QStringLiteral("b")}) {
        const QString filter = IndexedLikeFilter(index, index.fields, text, true);
        EXPECT_TRUE(filter.startsWith(byteSearch)) << text.toStdString();
        EXPECT_TRUE(filter.endsWith(" AND " + LikeFilter(index.fields, text, false) + ")"))
            << text.toStdString();
    }
    // Nothing to narrow with, another field list, no table: LikeFilter itself.
    for (const QString& text : {QStringLiteral("%"), QStringLiteral("_%_")})
        EXPECT_EQ(IndexedLikeFilter(index, index.fields, text, true), LikeFilter(index.fields, text, true));
    EXPECT_EQ(IndexedLikeFilter(index, "ugyfel_nev", "kov", true), LikeFilter("ugyfel_nev", "kov", true));
    EXPECT_EQ(IndexedLikeFilter({}, index.fields, "kov", true), LikeFilter(index.fields, "kov", true));
    EXPECT_EQ(IndexedLikeFilter(index, index.fields, "", true), "");
}

TEST(LikeFilter, AtMostFifteenFieldsUpToTheFirstEmpty) {
    QStringList fields;
    for (int i = 1; i <= 17; ++i)
        fields << QStringLiteral("f%1").arg(i);
    const QString filter = LikeFilter(fields.join(';'), "x", false);
    EXPECT_NE(filter.indexOf("(f15 LIKE"), -1);
    EXPECT_EQ(filter.indexOf("(f16 LIKE"), -1);
    EXPECT_EQ(filter.count(" LIKE "), 15);
    EXPECT_EQ(LikeFilter("a;;b", "x", false), "((a LIKE '%x%'))");
}

TEST(WordsFilter, DocumentedExampleAndForms) {
    EXPECT_EQ(
        WordsFilter("nev;varos", "kis pest", false),
        "(((nev LIKE '%kis%') OR (varos LIKE '%kis%')) AND ((nev LIKE '%pest%') OR (varos LIKE '%pest%')))");
    EXPECT_EQ(WordsFilter("nev;varos", "kis pest", true),
              " AND (((nev LIKE '%kis%') OR (varos LIKE '%kis%')) AND ((nev LIKE '%pest%') OR (varos LIKE "
              "'%pest%')))");
    EXPECT_EQ(WordsFilter("nev", "kis", false), "(((nev LIKE '%kis%')))");
}

TEST(WordsFilter, WordsAndTheirLimits) {
    EXPECT_EQ(WordsFilter("nev", "", false), "");
    EXPECT_EQ(WordsFilter("nev", "  ,; ", true), "");
    // "," and ";" separate words.
    EXPECT_EQ(WordsFilter("nev", "a,b;c", false),
              "(((nev LIKE '%a%')) AND ((nev LIKE '%b%')) AND ((nev LIKE '%c%')))");
    // Seven words: the seventh is ignored.
    const QString six = WordsFilter("nev", "w1 w2 w3 w4 w5 w6 w7", false);
    EXPECT_NE(six.indexOf("'%w6%'"), -1);
    EXPECT_EQ(six.indexOf("w7"), -1);
    // An empty word (two blanks) uses up its number.
    const QString gap = WordsFilter("nev", "w1  w3 w4 w5 w6 w7", false);
    EXPECT_NE(gap.indexOf("'%w6%'"), -1);
    EXPECT_EQ(gap.indexOf("w7"), -1);
    EXPECT_EQ(gap.count(" LIKE "), 5);
    // Only blanks in the first six places: nothing to search for, no "()".
    EXPECT_EQ(WordsFilter("nev", "      x", true), "");
    // Quotes and brackets in a word.
    EXPECT_EQ(WordsFilter("nev", "O'Brien a)(b", false),
              "(((nev LIKE '%O''Brien%')) AND ((nev LIKE '%a)(b%')))");
}

TEST(ListSql, ReplaceWhereAndOrderBy) {
    const QStringList original{"SELECT * FROM vw_munkalap", "WHERE munkalap <> 0", "ORDER BY 1 DESC;"};

    QStringList lines = original;
    const QString text = ReplaceWhere(lines, "(statusz BETWEEN 1 AND 2) AND ((nev LIKE '%x%'))", true);
    EXPECT_EQ(lines.at(1), "WHERE (statusz BETWEEN 1 AND 2) AND ((nev LIKE '%x%'))");
    EXPECT_EQ(text, lines.join('\n'));

    lines = original;
    EXPECT_EQ(ReplaceOrderBy(lines, "ugyfel_nev"),
              "SELECT * FROM vw_munkalap\nWHERE munkalap <> 0\nORDER BY ugyfel_nev;");

    // Letter case of the keyword does not matter; only the first ORDER line.
    lines = QStringList{"select *", "where a = 1", "order by 2;", "ORDER BY 3;"};
    ReplaceOrderBy(lines, "nev");
    EXPECT_EQ(lines, (QStringList{"select *", "where a = 1", "ORDER BY nev;", "ORDER BY 3;"}));

    // Every WHERE line, or only the first.
    lines = QStringList{"SELECT * FROM a", "WHERE x", "UNION SELECT * FROM b", "where y"};
    ReplaceWhere(lines, "z", false);
    EXPECT_EQ(lines.at(1), "WHERE z");
    EXPECT_EQ(lines.at(3), "WHERE z");
    lines = QStringList{"SELECT * FROM a", "WHERE x", "UNION SELECT * FROM b", "where y"};
    ReplaceWhere(lines, "z", true);
    EXPECT_EQ(lines.at(3), "where y");

    // No such line: unchanged.
    lines = QStringList{"SELECT * FROM a", "  WHERE x"};
    EXPECT_EQ(ReplaceWhere(lines, "z"), "SELECT * FROM a\n  WHERE x");
    EXPECT_EQ(ReplaceOrderBy(lines, "z"), "SELECT * FROM a\n  WHERE x");
}

} // namespace
