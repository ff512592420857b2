// Calendar arithmetic over days since 1970 (eras of 400 years, each 146097
// days long, so that no table or system call is needed).
#include "platform/calendar.h"

namespace {
constexpr int64_t DAYS_PER_ERA = 146097;
constexpr int64_t MS_PER_DAY = 86400000;

int64_t floor_div(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
}  // namespace

int calendar_days_in_month(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// The year is counted from March, so that the leap day is the last of it.
int64_t calendar_days_from_civil(int year, int month, int day) {
    int64_t y = static_cast<int64_t>(year) - (month <= 2);
    int64_t era = floor_div(y, 400);
    int64_t year_of_era = y - era * 400;
    int64_t month_from_march = month > 2 ? month - 3 : month + 9;
    int64_t day_of_year = (153 * month_from_march + 2) / 5 + day - 1;
    int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * DAYS_PER_ERA + day_of_era - 719468;  // 719468: days from 0000-03-01 to 1970-01-01
}

OsTime calendar_time_from_ms(int64_t ms) {
    int64_t days = floor_div(ms, MS_PER_DAY);
    int64_t in_day = ms - days * MS_PER_DAY;
    OsTime t{};
    t.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    int64_t z = days + 719468;
    int64_t era = floor_div(z, DAYS_PER_ERA);
    int64_t day_of_era = z - era * DAYS_PER_ERA;
    int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    int64_t month_from_march = (5 * day_of_year + 2) / 153;
    t.day = static_cast<int>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
    t.month = static_cast<int>(month_from_march < 10 ? month_from_march + 3 : month_from_march - 9);
    t.year = static_cast<int>(year_of_era + era * 400 + (t.month <= 2));
    t.hour = static_cast<int>(in_day / 3600000);
    t.minute = static_cast<int>(in_day / 60000 % 60);
    t.second = static_cast<int>(in_day / 1000 % 60);
    t.millisecond = static_cast<int>(in_day % 1000);
    return t;
}
