// The generic check of a row's numbers before it is written: the ranges the
// columns' declared types give (read from the server's metadata), the
// narrower limits a window adds, the captions messages name fields by, and
// what a number-bound field stores for the text typed into it.

#include "foundation/FieldLimits.h"

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "components/Table.h"

#include <cmath>
#include <gtest/gtest.h>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::TestDatabase;

class FieldLimitsFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("fieldlimits"), TestDatabase::Contents::Empty);
        s_db->connection().exec(QStringLiteral(
            "CREATE TABLE szamok (szamok INT AUTO_INCREMENT PRIMARY KEY, "
            "t TINYINT NULL, tu TINYINT UNSIGNED NULL, s SMALLINT NULL, m MEDIUMINT UNSIGNED NULL, "
            "i INT NULL, iu INT UNSIGNED NULL, d DECIMAL(5,2) NULL, du DECIMAL(5,2) UNSIGNED NULL, "
            "d0 DECIMAL(4,0) NULL, f DOUBLE NULL, nev VARCHAR(20) NULL) ENGINE=InnoDB"));
        s_db->connection().exec(QStringLiteral("INSERT INTO szamok (szamok, i) VALUES (1, -5);"));
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    static inline TestDatabase* s_db = nullptr;
};

struct LimitCase {
    const char* name;
    const char* column;
    QVariant value;
    QString message; // empty: may be written
};

class ColumnRanges : public FieldLimitsFixture, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(ColumnRanges, EachTypeRefusesWhatItCannotHold) {
    const LimitCase& c = GetParam();
    Table row(QStringLiteral("szamok"));
    row.startNew();
    row.setValue(QLatin1String(c.column), c.value);
    const FieldLimits limits;
    const auto problem = limits.firstProblem(row);
    EXPECT_EQ(problem ? problem->message : QString(), c.message);
    if (problem) {
        EXPECT_EQ(problem->field, QLatin1String(c.column));
    }
    // What the check lets through, the server takes (its limits are the
    // column's own).
    if (!problem) {
        EXPECT_NO_THROW(row.post());
    }
}

INSTANTIATE_TEST_SUITE_P(
    FieldLimits, ColumnRanges,
    ::testing::Values(
        LimitCase{"TinyintLow", "t", -128, {}},
        LimitCase{"TinyintBelow", "t", -129, "t: az érték -128 és 127 között lehet."},
        LimitCase{"TinyintAbove", "t", 128, "t: az érték -128 és 127 között lehet."},
        LimitCase{"UnsignedTinyintHigh", "tu", 255, {}},
        LimitCase{"UnsignedTinyintNegative", "tu", -1, "tu: az érték 0 és 255 között lehet."},
        LimitCase{"SmallintAbove", "s", 32768, "s: az érték -32768 és 32767 között lehet."},
        LimitCase{"UnsignedMediumintAbove", "m", 16777216, "m: az érték 0 és 16777215 között lehet."},
        LimitCase{"IntHigh", "i", qlonglong(2147483647), {}},
        LimitCase{"IntAbove", "i", qlonglong(2147483648LL),
                  "i: az érték -2147483648 és 2147483647 között lehet."},
        LimitCase{"UnsignedIntAbove", "iu", qlonglong(4294967296LL),
                  "iu: az érték 0 és 4294967295 között lehet."},
        LimitCase{"IntFraction", "i", 1.5, "i: csak egész szám adható meg."},
        LimitCase{"IntNotANumber", "i", QStringLiteral("--"), "i: a megadott érték nem szám."},
        LimitCase{"DecimalHigh", "d", 999.99, {}},
        LimitCase{"DecimalAbove", "d", 1000.0, "d: az érték -999,99 és 999,99 között lehet."},
        LimitCase{"DecimalTooManyDecimals", "d", 12.345, "d: legfeljebb 2 tizedesjegy adható meg."},
        LimitCase{"DecimalTwoDecimals", "d", 12.34, {}},
        LimitCase{"UnsignedDecimalNegative", "du", -0.01, "du: az érték 0 és 999,99 között lehet."},
        LimitCase{"DecimalWithoutScaleFraction", "d0", 1.5, "d0: csak egész szám adható meg."},
        LimitCase{"DecimalWithoutScaleAbove", "d0", 10000, "d0: az érték -9999 és 9999 között lehet."},
        LimitCase{"DoubleAnything", "f", -1.5e300, {}},
        LimitCase{"DoubleInfinite", "f", std::numeric_limits<double>::infinity(),
                  "f: a megadott érték nem szám."},
        LimitCase{"Null", "i", QVariant(), {}},
        LimitCase{"TextColumnIsNotChecked", "nev", QStringLiteral("abc"), {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FieldLimitsFixture, WindowLimitsNarrowTheColumnAndNameTheFieldByItsCaption) {
    Table row(QStringLiteral("szamok"));
    row.startNew();
    FieldLimits limits;
    limits.setRange(QStringLiteral("i"), 1, 65535, QStringLiteral("Port"));
    limits.setRange(QStringLiteral("f"), 0, 100);
    limits.setCaptionSource(QStringLiteral("f"), [] { return QStringLiteral("Kedv.%"); });
    limits.setCaptionSource(QStringLiteral("i"), [] { return QStringLiteral("not this one"); });
    limits.setCaptionSource(QStringLiteral("t"), [] { return QString(); }); // no label: the column name

    row.setValue(QStringLiteral("i"), 0);
    EXPECT_EQ(limits.firstProblem(row)->message, QStringLiteral("Port: az érték 1 és 65535 között lehet."));
    row.setValue(QStringLiteral("i"), 65535);
    row.setValue(QStringLiteral("f"), 100.5);
    EXPECT_EQ(limits.firstProblem(row)->message, QStringLiteral("Kedv.%: az érték 0 és 100 között lehet."));
    row.setValue(QStringLiteral("f"), 12.5);
    row.setValue(QStringLiteral("t"), 300);
    EXPECT_EQ(limits.firstProblem(row)->message, QStringLiteral("t: az érték -128 és 127 között lehet."));
    row.setValue(QStringLiteral("t"), 3);
    EXPECT_FALSE(limits.firstProblem(row));

    // A limit on one side only says so.
    FieldLimits oneSided;
    oneSided.setRange(QStringLiteral("f"), 0, std::numeric_limits<double>::max(), QStringLiteral("Ár"));
    row.setValue(QStringLiteral("f"), -1);
    EXPECT_EQ(oneSided.firstProblem(row)->message, QStringLiteral("Ár: a legkisebb megengedett érték 0."));

    // check() shows the message and refuses.
    ScriptedDialogs dialogs;
    EXPECT_FALSE(oneSided.check(row));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, DialogKind::Error);
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("Ár: a legkisebb megengedett érték 0."));
}

TEST_F(FieldLimitsFixture, OnlyValuesSetSinceTheRowWasReadAreChecked) {
    // Row 1 holds i = -5; a window that allows 1-65535 still saves the
    // row's other columns, but not a new out-of-range i.
    Table row(QStringLiteral("szamok"));
    ASSERT_TRUE(row.load(1));
    FieldLimits limits;
    limits.setRange(QStringLiteral("i"), 1, 65535, QStringLiteral("Port"));
    row.setValue(QStringLiteral("t"), 7);
    EXPECT_FALSE(limits.firstProblem(row));
    row.setValue(QStringLiteral("i"), -6);
    EXPECT_TRUE(limits.firstProblem(row));
}

TEST(NumberFromText, TypedTextBecomesWhatTheFieldStores) {
    struct Case {
        const char* text;
        bool whole;
        QVariant expected;
    };
    const Case cases[] = {
        {"", true, QVariant()},
        {"   ", false, QVariant()},
        {"42", true, qlonglong(42)},
        {"-7", true, qlonglong(-7)},
        {"1 234", true, qlonglong(1234)},
        {"99999999999", true, qlonglong(99999999999LL)}, // kept whole, so that the check can refuse it
        {"1,5", true, 1.5},                              // not a whole number: kept, refused by the check
        {"12,5", false, 12.5},
        {"12.5", false, 12.5},
        {"7", false, 7.0},
        {"-", true, QStringLiteral("-")}, // not a number: the text, refused by name
        {"1.234,5", false, QStringLiteral("1.234,5")},
    };
    for (const Case& c : cases) {
        const QVariant got = NumberFromText(QString::fromUtf8(c.text), c.whole);
        EXPECT_EQ(got.typeId(), c.expected.typeId()) << c.text;
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

} // namespace
} // namespace kml
