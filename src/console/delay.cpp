// The console's delay: a timed wait that keeps handling messages.
#include "console/console.h"
#include "console/console_internal.h"
#include "platform/os.h"

void console_delay(unsigned ms) {
    ms &= 0xFFFF;
    uint64_t deadline = os_ticks_ms() + ms;
    // Messages are handled while it waits, so the screen stays alive.
    for (;;) {
        uint64_t now = os_ticks_ms();
        if (now >= deadline) break;
        OsEvent ev;
        if (os_wait_event(ev, static_cast<int>(deadline - now), false)) console_handle_event(ev);
    }
    console_dispatch_messages();
}
