// Today's date and the time of day, read from the platform's local clock.
#include "console/console.h"
#include "platform/os.h"

ConsoleDate console_get_date() {
    OsTime t = os_local_time();
    return {t.year, t.month, t.day, t.weekday};
}

ConsoleTime console_get_time() {
    OsTime t = os_local_time();
    return {t.hour, t.minute, t.second, t.millisecond / 10};
}
