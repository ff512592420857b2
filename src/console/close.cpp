// The two ways the console ends the program: closing the window (exit code 0)
// and the quit message or Ctrl+Break (exit code 255).
#include "console/console.h"
#include "console/console_internal.h"
#include "platform/os.h"

void console_close() {
    if (console_is_open()) {
        console_discard_keys();
        if (console_reading_key()) console_caret_place(false);
        os_screen_close();
        console_screen_closed();
    }
    os_exit(0);
}

void console_quit() {
    if (console_reading_focused()) console_caret_place(false);
    os_exit(255);
}
