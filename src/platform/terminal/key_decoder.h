// Turns the bytes a terminal sends for key presses (xterm, vt and rxvt forms,
// UTF-8 text) into the key-down and character events a window would give.
// Pure: no system calls; the caller passes the time of each read.
//
// A terminal reports no key releases, so no KeyUp events come out of here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/os.h"

// Bytes read but not yet decoded.
constexpr int TERM_KEYS_MAX_PENDING = 256;
// Longest escape sequence taken as one key; longer ones are dropped.
constexpr int TERM_KEYS_MAX_SEQUENCE = 32;
// An unfinished sequence (a lone Esc above all) that waited this long with
// nothing following is taken as typed.
constexpr int TERM_KEYS_ESC_TIMEOUT_MS = 50;

void term_keys_reset();
// The byte the terminal's Backspace key sends (its erase character). When it
// is DEL (127), a backspace byte (8) can only come from Ctrl+Backspace or
// Ctrl+H and is given with Ctrl; otherwise both bytes are a plain Backspace
// (the start-up setting).
void term_keys_set_erase(unsigned char erase);
// Forgets every byte and key not yet handed out (typed-ahead keys being
// dropped); the erase setting stays.
void term_keys_discard();
// Free room for term_keys_feed.
int term_keys_room();
// Appends bytes read at now_ms; returns how many were taken (at most the room).
size_t term_keys_feed(const unsigned char* bytes, size_t count, uint64_t now_ms);
// The next decoded event; false when nothing is pending or the pending bytes
// are the beginning of a sequence that may still be completed.
bool term_keys_next(OsEvent& ev, uint64_t now_ms);
// Milliseconds until an unfinished sequence is resolved; -1 when there is none.
int term_keys_wait_ms(uint64_t now_ms);
