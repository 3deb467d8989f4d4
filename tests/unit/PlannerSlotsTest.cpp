// Slot arithmetic, lengths and the day heading shared by the planner, the
// appointment editor and the day panel.
#include "worksheets/PlannerSlots.h"

#include "worksheets/Appointments.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace kml;

TEST(PlannerSlots, SlotTimesAndStarts) {
    const struct {
        int slot;
        const char* text;
        int hour, minute;
    } cases[] = {{0, "00:00", 0, 0},   {1, "00:30", 0, 30},   {16, "08:00", 8, 0},
                 {17, "08:30", 8, 30}, {39, "19:30", 19, 30}, {47, "23:30", 23, 30}};
    const QDate day(2024, 3, 5);
    for (const auto& c : cases) {
        EXPECT_EQ(SlotTimeText(c.slot), QLatin1String(c.text)) << c.slot;
        EXPECT_EQ(SlotStart(day, c.slot), QDateTime(day, QTime(c.hour, c.minute))) << c.slot;
    }
}

TEST(PlannerSlots, LengthsInHalfHours) {
    const struct {
        double hours;
        int halfHours;
        const char* text;
    } cases[] = {{0.5, 1, "0,5"}, {1, 2, "1"},        {1.5, 3, "1,5"},
                 {2, 4, "2"},     {12.5, 25, "12,5"}, {24, 48, "24"}};
    for (const auto& c : cases) {
        EXPECT_EQ(HalfHoursOf(c.hours), c.halfHours) << c.hours;
        EXPECT_EQ(LengthText(c.halfHours), QLatin1String(c.text)) << c.hours;
        EXPECT_EQ(HoursOf(c.halfHours), c.hours);
    }
    // The buttons stop at half an hour and at the longest length.
    EXPECT_EQ(ShorterLength(2), 1);
    EXPECT_EQ(ShorterLength(1), 1);
    EXPECT_EQ(LongerLength(47, MaxAppointmentHalfHours), 48);
    EXPECT_EQ(LongerLength(48, MaxAppointmentHalfHours), 48);
    EXPECT_EQ(LongerLength(3, 3), 3);
}

TEST(PlannerSlots, FreeLengthStopsAtTheDaysEndAtABookingAndAtAGap) {
    std::vector<int> day; // 08:00 to 19:30
    for (int slot = 16; slot <= 39; ++slot)
        day.push_back(slot);
    std::vector<int> lunchBreak = day; // no 12:00 and 12:30
    std::erase(lunchBreak, 24);
    std::erase(lunchBreak, 25);
    std::vector<int> wholeDay;
    for (int slot = 0; slot <= 47; ++slot)
        wholeDay.push_back(slot);
    const struct {
        const char* name;
        int slot;
        const std::vector<int>& daySlots;
        std::vector<int> booked;
        int free;
    } cases[] = {
        {"first slot, empty day", 16, day, {}, 24},       {"last slot", 39, day, {}, 1},
        {"up to the next booking", 20, day, {18, 23}, 3}, {"the slot itself booked", 23, day, {23}, 0},
        {"not a slot of the day", 40, day, {}, 0},        {"before the day", 15, day, {}, 0},
        {"up to a gap", 20, lunchBreak, {}, 4},           {"never beyond 24 hours", 0, wholeDay, {}, 48},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FreeHalfHoursFrom(c.slot, c.daySlots, c.booked), c.free) << c.name;
}

TEST(PlannerSlots, HeadingInHungarianWhateverTheLocale) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(DayHeading(QDate(2024, 3, 5)), QStringLiteral("2024 március 5. kedd"));
    EXPECT_EQ(DayHeading(QDate(2027, 1, 1)), QStringLiteral("2027 január 1. péntek"));
    QLocale::setDefault(QLocale::c());
}

// Booking a slot whose start has passed asks first; the question names it.
TEST(PlannerSlots, PassedSlotIsAskedAbout) {
    const QDateTime now(QDate(2026, 12, 11), QTime(10, 15));
    const struct {
        QDate day;
        int slot;
        const char* question; // "" for none
    } cases[] = {
        {now.date(), 20, "Ez az időpont (ma 10:00) már elmúlt. Biztosan erre az időre jegyzed elő?"},
        {now.date(), 21, ""}, // 10:30 is still ahead
        {now.date().addDays(-1), 40,
         "Ez az időpont (2026.12.10. 20:00) már elmúlt. Biztosan erre az időre jegyzed elő?"},
        {now.date().addDays(1), 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PassedSlotQuestion(c.day, c.slot, now), QString::fromUtf8(c.question)) << c.slot;
}
