// The virtual clock and the timed events that the headless backend shares
// with the headless sound device.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/os.h"

constexpr size_t HEADLESS_MAX_SCHEDULED = 4096;

// Groups of scheduled events, so that one source can withdraw its own.
constexpr int HEADLESS_TAG_SOUND = 1;

// Virtual microseconds since the backend started (or was last reset).
uint64_t headless_now_us();
// Hands `ev` out when the virtual clock reaches at_us (at the next wait or
// poll if that time has passed already). Events due at the same instant come
// out in the order they were scheduled. False when the schedule is full.
bool headless_schedule(uint64_t at_us, const OsEvent& ev, int tag);
// Moves every scheduled event of this tag, in time order, to the end of the
// event queue now, as if each had come due.
void headless_flush_scheduled(int tag);
// Forgets every scheduled event of this tag.
void headless_drop_scheduled(int tag);

// Restores the sound device's start-up state; the backend's reset calls it.
void headless_audio_reset();
