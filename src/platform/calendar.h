// The proleptic Gregorian calendar in plain arithmetic, the same on every
// system: days since 1970-01-01 and back, and the calendar fields of an
// instant counted in milliseconds since 1970 (read as UTC).
#pragma once

#include <cstdint>

#include "platform/os.h"

// Days of `month` (1..12) in `year`; 0 for a month out of range.
int calendar_days_in_month(int year, int month);
// Days from 1970-01-01 to year-month-day (negative before it).
int64_t calendar_days_from_civil(int year, int month, int day);
// The date, weekday and time of day `ms` milliseconds after 1970-01-01 00:00.
OsTime calendar_time_from_ms(int64_t ms);
