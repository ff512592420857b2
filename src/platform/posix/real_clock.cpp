// The system's clocks on POSIX: wall clock in local time and UTC, the
// monotonic clock, sleeping, and the local time zone's offsets.
#include <time.h>

#include "platform/system.h"

namespace {
OsTime time_from_tm(const struct tm& tm, long nsec) {
    OsTime t{};
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.weekday = tm.tm_wday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.millisecond = static_cast<int>(nsec / 1000000);
    return t;
}

// The wall clock's instant in the calendar of `to_calendar` (localtime_r, gmtime_r).
OsTime real_time(struct tm* (*to_calendar)(const time_t*, struct tm*)) {
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tm;
    to_calendar(&ts.tv_sec, &tm);
    return time_from_tm(tm, ts.tv_nsec);
}
}  // namespace

OsTime real_local_time() { return real_time(localtime_r); }

OsTime real_utc_time() { return real_time(gmtime_r); }

uint64_t real_ticks_ms() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec / 1000000);
}

void real_sleep_ms(int ms) {
    if (ms <= 0) return;
    struct timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

int64_t system_utc_offset_seconds(int64_t utc_seconds) {
    time_t t = static_cast<time_t>(utc_seconds);
    struct tm tm;
    if (!localtime_r(&t, &tm)) return 0;
    return static_cast<int64_t>(tm.tm_gmtoff);
}

int64_t system_utc_from_local(const OsTime& local) {
    struct tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&tm));
}
