// In-memory sound images: the canonical 44-byte RIFF/WAVE header, and
// playing an image through the wave output until it ends or a key stops it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t SPEECH_WAVE_HEADER_BYTES = 44;

// Writes the 44-byte header for `data_bytes` bytes of PCM at IMAGE:
// byte rate = rate * channels * (bits / 8), block align 1.
void speech_make_wave_header(uint8_t* image, uint32_t data_bytes, uint32_t rate, uint16_t channels,
                             uint16_t bits);
// Plays a complete image (header included, `bytes` in all) after any
// external speech has ended, and returns when the sound has ended or a
// waiting key has stopped it.
void speech_play_image_and_wait(const uint8_t* image, size_t bytes);
// Waits, letting window messages run, while speech or sound still plays.
void speech_wait_while_busy();
