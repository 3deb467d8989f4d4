// Date helpers: SQL literals, period captions and ISO week numbers around
// year ends.
#include "foundation/DateHelpers.h"

#include <gtest/gtest.h>

using namespace kml;

namespace {

TEST(DateHelpers, SqlDateLiterals) {
    EXPECT_EQ(SqlDate(false, QDate(2024, 3, 5)), "'2024-03-05'");
    EXPECT_EQ(SqlDate(true, QDate(2024, 3, 5)), "'03/05/2024'");
    EXPECT_EQ(SqlDate(false, QDate(999, 12, 31)), "'0999-12-31'");
}

TEST(DateHelpers, PeriodYearMonth) {
    EXPECT_EQ(PeriodText(QDate(2024, 1, 1), QDate(2024, 3, 31)), "2024.01.01 - 2024.03.31");
    EXPECT_EQ(DateYear(QDate(2024, 3, 5)), 2024);
    EXPECT_EQ(DateMonth(QDate(2024, 3, 5)), 3);
}

TEST(DateHelpers, IsoWeeksAtYearEnds) {
    struct Case {
        QDate date;
        int week;
    };
    const Case cases[] = {
        {QDate(2020, 12, 31), 53}, // Thursday: 2020 has 53 weeks
        {QDate(2021, 1, 1), 53},   // Friday: still the last week of 2020
        {QDate(2021, 1, 3), 53},   // Sunday
        {QDate(2021, 1, 4), 1},    // Monday of the week holding 7 January
        {QDate(2018, 12, 31), 1},  // Monday: week 1 of 2019 holds 3 January
        {QDate(2019, 12, 30), 1},  {QDate(2024, 12, 29), 52}, {QDate(2024, 12, 30), 1},
        {QDate(2016, 1, 3), 53},   {QDate(2016, 1, 4), 1},    {QDate(2026, 1, 1), 1}, // Thursday
        {QDate(2027, 1, 1), 53},   {QDate(2024, 3, 5), 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateWeek(c.date), c.week) << c.date.toString(Qt::ISODate).toStdString();
}

} // namespace
