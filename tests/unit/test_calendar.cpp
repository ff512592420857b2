// The calendar arithmetic behind the headless clock, on every day of eight
// centuries and at the edges of days, months and leap years.
#include <gtest/gtest.h>

#include <vector>

#include "platform/calendar.h"

namespace {
constexpr int64_t DAY_MS = 86400000;

std::vector<int> fields(const OsTime& t) {
    return {t.year, t.month, t.day, t.weekday, t.hour, t.minute, t.second, t.millisecond};
}
}  // namespace

TEST(Calendar, EveryDayFrom1600To2400GoesThereAndBack) {
    int64_t expected = calendar_days_from_civil(1600, 1, 1);
    int weekday = calendar_time_from_ms(expected * DAY_MS).weekday;
    for (int y = 1600; y <= 2400; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= calendar_days_in_month(y, m); ++d) {
                int64_t days = calendar_days_from_civil(y, m, d);
                ASSERT_EQ(days, expected) << y << "-" << m << "-" << d;
                OsTime t = calendar_time_from_ms(days * DAY_MS + DAY_MS - 1);
                ASSERT_EQ(fields(t), (std::vector<int>{y, m, d, weekday, 23, 59, 59, 999}))
                    << y << "-" << m << "-" << d;
                ++expected;
                weekday = (weekday + 1) % 7;
            }
        }
    }
}

TEST(Calendar, KnownDaysAndTheInstantsAround1970) {
    EXPECT_EQ(calendar_days_from_civil(1970, 1, 1), 0);
    EXPECT_EQ(calendar_days_from_civil(2000, 3, 1), 11017);
    EXPECT_EQ(calendar_days_from_civil(1969, 12, 31), -1);
    EXPECT_EQ(fields(calendar_time_from_ms(0)), (std::vector<int>{1970, 1, 1, 4, 0, 0, 0, 0}));
    EXPECT_EQ(fields(calendar_time_from_ms(-1)), (std::vector<int>{1969, 12, 31, 3, 23, 59, 59, 999}));
    // 2024-02-29 12:34:56.789 UTC, a Thursday.
    EXPECT_EQ(fields(calendar_time_from_ms(1709210096789)), (std::vector<int>{2024, 2, 29, 4, 12, 34, 56, 789}));
    EXPECT_EQ(fields(calendar_time_from_ms(-2208988800000)), (std::vector<int>{1900, 1, 1, 1, 0, 0, 0, 0}));
}

TEST(Calendar, MonthLengthsFollowTheGregorianLeapYears) {
    EXPECT_EQ(calendar_days_in_month(1900, 2), 28);
    EXPECT_EQ(calendar_days_in_month(2000, 2), 29);
    EXPECT_EQ(calendar_days_in_month(2023, 2), 28);
    EXPECT_EQ(calendar_days_in_month(2024, 2), 29);
    EXPECT_EQ(calendar_days_in_month(2023, 4), 30);
    EXPECT_EQ(calendar_days_in_month(2023, 12), 31);
    EXPECT_EQ(calendar_days_in_month(2023, 0), 0);
    EXPECT_EQ(calendar_days_in_month(2023, 13), 0);
}
