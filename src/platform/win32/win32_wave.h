// The Windows sound device: the wave output's blocks on the wave mapper,
// completed by window messages, and the braille tones played from memory.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include "platform/backend.h"

// Takes back the block of a block-done message (unprepares its header) and
// returns its buffer number; 0 for a message that is not about a block the
// device still holds (one already handed back by a reset or a close).
int win32_wave_done(HWAVEOUT device, WAVEHDR* header);
// Block-done messages taken back since the program started (tests).
unsigned long win32_wave_done_count();

// Plays samples asynchronously from memory on the system's second sound
// path; a new tone replaces the playing one, no samples stop it.
void win32_tone_play(const OsAudioFormat& fmt, const uint8_t* samples, size_t bytes);
