// Message dispatching for the COM voices: engines of the version 4 speech
// interface call our notification objects from the program's thread while
// its messages are dispatched, whichever backend owns the wait.
#pragma once

#include <cstdint>

// Dispatches what is waiting in this thread's message queue, except key
// messages, which stay for the window's own loop to translate.
void com_pump_dispatch();
// Waits up to `ms` real milliseconds for a message, dispatching as above.
void com_pump_wait(uint32_t ms);
// Posts a Wake event, so that a wait loop comes back to ask the voice again.
void com_pump_wake();
