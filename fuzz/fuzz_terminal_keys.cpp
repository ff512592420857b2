// Fuzzes the terminal key decoder with arbitrary bytes arriving in arbitrary
// pieces and at arbitrary times.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/terminal/key_decoder.h"
#include "util/latin1.h"

namespace {
void check(const OsEvent& ev) {
    if (ev.type == OsEventType::KeyDown) {
        if (ev.vkey <= 0 || ev.vkey > 255) std::abort();
    } else if (ev.type == OsEventType::Char) {
        // Bytes 128..159 are the code page's extra characters; the five
        // it leaves undefined are never characters a key can give.
        if (ev.ch >= 0x80 && ev.ch < 0xA0 && codepage_code_point(ev.ch) < 0x100) std::abort();
    } else if (ev.type != OsEventType::Untypeable) {
        // A character outside the code page comes as its own event (a beep).
        std::abort();
    }
}

void drain(uint64_t now) {
    OsEvent ev;
    int guard = 0;
    while (term_keys_next(ev, now)) {
        check(ev);
        if (++guard > 4 * TERM_KEYS_MAX_PENDING) std::abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    term_keys_reset();
    uint64_t now = 1000;
    size_t i = 0;
    // Each piece: one control byte (length in the low 5 bits, a pause in the
    // top 3 bits), then that many bytes of input.
    while (i < size) {
        uint8_t control = data[i++];
        size_t len = control & 31;
        if (len > size - i) len = size - i;
        now += (control >> 5) * 20;
        size_t off = 0;
        while (off < len) {
            size_t took = term_keys_feed(data + i + off, len - off, now);
            off += took;
            drain(now);
            if (took == 0 && term_keys_room() == 0) std::abort();  // stuck with a full buffer
        }
        i += len;
        drain(now);
        int wait = term_keys_wait_ms(now);
        if (wait > TERM_KEYS_ESC_TIMEOUT_MS) std::abort();
    }
    // Once enough time has passed everything is resolved.
    now += TERM_KEYS_ESC_TIMEOUT_MS;
    drain(now);
    if (term_keys_wait_ms(now) != -1 || term_keys_room() != TERM_KEYS_MAX_PENDING) std::abort();
    return 0;
}
