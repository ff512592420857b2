// Playing in-memory sound images through the wave output until they end or a
// key stops them.
#pragma once

#include <cstddef>
#include <cstdint>

// Plays a complete image (header included, `bytes` in all) after any
// external speech has ended, and returns when the sound has ended or a
// waiting key has stopped it.
void speech_play_image_and_wait(const uint8_t* image, size_t bytes);
// Waits, letting window messages run, while speech or sound still plays.
void speech_wait_while_busy();
