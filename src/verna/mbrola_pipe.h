// The built-in MBROLA binding: the library's entry points over the `mbrola`
// program, one process per text with the next one started ahead.
#pragma once

#include "verna/mbrola.h"

// The 23 entry points in MBROLA_ENTRY_NAMES order, as addresses.
void* const* mbrola_pipe_entry_points();
// Whether an `mbrola` program can be found on PATH.
bool mbrola_pipe_available();
// Ends any process and forgets the voice (as close_MBR).
void mbrola_pipe_reset();
// The process id of the program that serves the next (or current) text, -1
// when none runs (tests kill it to see the engine survive).
int mbrola_pipe_process_id();
// Between texts: a waiting process that ended (killed) is reaped and
// replaced at once instead of at the next text.
void mbrola_pipe_tend();
// Whether the program could not be started again (it cannot be found or
// run, or it keeps ending before any text): nothing more will be spoken.
bool mbrola_pipe_stopped();
