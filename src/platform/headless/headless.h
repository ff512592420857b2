// The headless backend: no screen, a virtual clock, keys from a script.
//
// Environment:
//   FUGA_KEYS=FILE     the key script (syntax in key_script.h). A script that
//                      cannot be read or parsed, a directory, or a file
//                      longer than KEY_SCRIPT_MAX_BYTES (an endless device)
//                      ends the program with exit code 2 and a message
//                      naming the file (and line). Without
//                      it there are no keys: the first key wait gets Close.
//   FUGA_CLOCK="YYYY-MM-DD HH:MM:SS"
//                      the local time of day at the start, so that a run that
//                      speaks the time or seeds from the clock is repeatable;
//                      the UTC time follows from it by the process's time
//                      zone (TZ=UTC makes them equal). Unset: the real local
//                      time at the start.
// Nothing sleeps: sleeps, timed waits and sound blocks advance the virtual
// clock, which starts at 0 ms (os_ticks_ms) and moves only forward.
//
// Waiting for an event hands out, earliest first: a queued event; a
// scheduled event (a sound block's end, a key after {wait N}) whose time has
// come, moving the clock to it; the next untimed script key when the caller
// waits for a key (or waits without limit with nothing scheduled); Close
// when the script is used up and the caller waits for a key. Otherwise the
// clock moves on by the timeout.
#pragma once

#include <string>

// For tests: empties the event queue and the schedule, restarts the virtual
// clock at 0 with the sound device closed, and loads `script_text`. `clock`
// is "YYYY-MM-DD HH:MM:SS" for the local time at the start, "" for the
// FUGA_CLOCK setting or else the real local time. False when the script or
// the clock is refused; then no keys are loaded and `error` (if given) says
// why, with the script's line.
bool headless_reset_for_test(const std::string& script_text, const std::string& clock = "",
                             std::string* error = nullptr);
