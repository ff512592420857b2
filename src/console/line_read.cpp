// The plain line read of the standard input channel: echoed, ended by
// Return, stored with CR LF.
#include "console/console.h"

int console_read_line_raw(char* buffer, int capacity) {
    int i = 0;
    uint8_t b;
    do {
        b = console_read_key();
        if (b == 8) {
            if (i > 0) {
                console_write_text("\b", 1);
                --i;
            }
        } else if (b >= 32 && i < capacity - 2) {
            buffer[i++] = static_cast<char>(b);
            console_write_text(reinterpret_cast<const char*>(&b), 1);
        }
    } while (b != 13);
    if (capacity < 2) return 0;
    buffer[i] = 13;
    buffer[i + 1] = 10;
    console_write_text("\r\n", 2);
    return i + 2;
}
