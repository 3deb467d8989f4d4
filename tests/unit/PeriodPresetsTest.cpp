// The period window's presets and the period the report actions propose,
// around New Year, month ends and leap days.

#include "reports/PeriodReports.h"

#include <gtest/gtest.h>

namespace kml {
namespace {

QDate D(int y, int m, int d) {
    return QDate(y, m, d);
}

struct PresetCase {
    const char* what;
    PeriodPreset preset;
    QDate today;
    QDate first, last;
};

TEST(PeriodPresets, EachPresetAroundYearAndMonthEnds) {
    using P = PeriodPreset;
    const PresetCase cases[] = {
        {"an ordinary Wednesday", P::ThisWeek, D(2024, 3, 6), D(2024, 3, 4), D(2024, 3, 10)},
        {"Monday is the week's first day", P::ThisWeek, D(2024, 3, 4), D(2024, 3, 4), D(2024, 3, 10)},
        {"Sunday is the week's last day", P::ThisWeek, D(2024, 3, 10), D(2024, 3, 4), D(2024, 3, 10)},
        {"30 Dec 2024 is in week 1 of 2025", P::ThisWeek, D(2024, 12, 30), D(2024, 12, 30), D(2025, 1, 5)},
        {"1 Jan 2021 is in week 53 of 2020", P::ThisWeek, D(2021, 1, 1), D(2020, 12, 28), D(2021, 1, 3)},
        {"1 Jan 2027 is in week 53 of 2026", P::ThisWeek, D(2027, 1, 1), D(2026, 12, 28), D(2027, 1, 3)},
        {"a leap February", P::ThisMonth, D(2024, 2, 10), D(2024, 2, 1), D(2024, 2, 29)},
        {"a common February", P::ThisMonth, D(2023, 2, 28), D(2023, 2, 1), D(2023, 2, 28)},
        {"a 31-day month on its last day", P::ThisMonth, D(2024, 12, 31), D(2024, 12, 1), D(2024, 12, 31)},
        {"last month of 31 March is a leap February", P::LastMonth, D(2024, 3, 31), D(2024, 2, 1),
         D(2024, 2, 29)},
        {"last month in January is last December", P::LastMonth, D(2024, 1, 15), D(2023, 12, 1),
         D(2023, 12, 31)},
        {"this year", P::ThisYear, D(2024, 6, 15), D(2024, 1, 1), D(2024, 12, 31)},
        {"only today, a leap day", P::Today, D(2024, 2, 29), D(2024, 2, 29), D(2024, 2, 29)},
        {"last year on New Year's Day", P::LastYear, D(2024, 1, 1), D(2023, 1, 1), D(2023, 12, 31)},
    };
    for (const PresetCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PresetPeriod(c.preset, c.today), (Period{c.first, c.last}))
            << PresetPeriod(c.preset, c.today).first.toString(Qt::ISODate).toStdString() << " .. "
            << PresetPeriod(c.preset, c.today).last.toString(Qt::ISODate).toStdString();
    }
}

TEST(PeriodPresets, ReportsProposeTheLastMonthClampedToShorterMonths) {
    const std::pair<QDate, QDate> cases[] = {
        {D(2024, 3, 31), D(2024, 2, 29)}, // leap year
        {D(2023, 3, 31), D(2023, 2, 28)},  {D(2024, 5, 31), D(2024, 4, 30)},
        {D(2024, 1, 15), D(2023, 12, 15)}, // across New Year
        {D(2024, 3, 15), D(2024, 2, 15)},
    };
    for (const auto& [today, first] : cases)
        EXPECT_EQ(DefaultReportPeriod(today), (Period{first, today}))
            << today.toString(Qt::ISODate).toStdString();
}

} // namespace
} // namespace kml
