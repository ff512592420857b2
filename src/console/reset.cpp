// The console's start-up state, restored across all of its files.
#include "console/console.h"
#include "console/console_internal.h"
#include "console/key_cut.h"

void console_reset() {
    console_screen_reset();
    console_keyboard_reset();
    console_braille_reset();
    console_screen_log_reset();
    key_cut_reset();
}
