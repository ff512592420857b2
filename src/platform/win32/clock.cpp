// The system's clocks on Windows: the system clock in local time and UTC, the
// performance counter as the monotonic clock, Sleep, and the time zone's
// offsets as the system's time-zone rules give them.
#include <windows.h>

#include "platform/system.h"

namespace {
// Between 1601-01-01 (FILETIME's origin) and 1970-01-01, in seconds.
constexpr int64_t WIN32_EPOCH_DIFFERENCE_S = 11644473600LL;
constexpr int64_t WIN32_TICKS_PER_SECOND = 10000000LL;

OsTime from_system_time(const SYSTEMTIME& st) {
    OsTime t{};
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.weekday = st.wDayOfWeek;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    return t;
}

bool to_system_time(int64_t seconds_since_1970, SYSTEMTIME& st) {
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<ULONGLONG>((seconds_since_1970 + WIN32_EPOCH_DIFFERENCE_S) * WIN32_TICKS_PER_SECOND);
    FILETIME ft{ticks.LowPart, ticks.HighPart};
    return FileTimeToSystemTime(&ft, &st);
}

bool to_seconds(const SYSTEMTIME& st, int64_t& seconds_since_1970) {
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft)) return false;
    ULARGE_INTEGER ticks{{ft.dwLowDateTime, ft.dwHighDateTime}};
    seconds_since_1970 = static_cast<int64_t>(ticks.QuadPart / WIN32_TICKS_PER_SECOND) - WIN32_EPOCH_DIFFERENCE_S;
    return true;
}
}  // namespace

OsTime real_local_time() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return from_system_time(st);
}

OsTime real_utc_time() {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return from_system_time(st);
}

// The performance counter rather than GetTickCount64, whose 10 to 16 ms steps
// would blur the short waits of the sound and speech loops.
uint64_t real_ticks_ms() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    uint64_t count = static_cast<uint64_t>(now.QuadPart), per_second = static_cast<uint64_t>(frequency.QuadPart);
    return count / per_second * 1000u + count % per_second * 1000u / per_second;
}

void real_sleep_ms(int ms) {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
}

int64_t system_utc_offset_seconds(int64_t utc_seconds) {
    SYSTEMTIME utc, local;
    int64_t local_seconds = 0;
    if (!to_system_time(utc_seconds, utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ||
        !to_seconds(local, local_seconds))
        return 0;
    return local_seconds - utc_seconds;
}

int64_t system_utc_from_local(const OsTime& local) {
    SYSTEMTIME face{};
    face.wYear = static_cast<WORD>(local.year);
    face.wMonth = static_cast<WORD>(local.month);
    face.wDay = static_cast<WORD>(local.day);
    face.wHour = static_cast<WORD>(local.hour);
    face.wMinute = static_cast<WORD>(local.minute);
    face.wSecond = static_cast<WORD>(local.second);
    SYSTEMTIME utc;
    int64_t seconds = 0;
    if (TzSpecificLocalTimeToSystemTime(nullptr, &face, &utc) && to_seconds(utc, seconds)) return seconds;
    // A time the zone's rules reject is taken as UTC rather than as 1970.
    return to_seconds(face, seconds) ? seconds : 0;
}
