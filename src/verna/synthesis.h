// The synthesis loop of the Portuguese engine: MBROLA lines in, samples out
// to the sound card through the wave output, or appended to an open file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The engine's own format; a voice of another rate keeps its rate in every
// header the engine writes.
constexpr int VERNA_SAMPLE_RATE = 16000;
constexpr int VERNA_READ_SAMPLES = 16000;
// Sound collected before a piece is queued, and the shortest piece queued.
constexpr int VERNA_PLAY_THRESHOLD = 16000;
constexpr int VERNA_MIN_PLAY_BYTES = 256;
constexpr int VERNA_PLAY_DATA_BYTES = 32000;

// The 44-byte header of 16-bit mono PCM at `rate` samples per second for
// `data_length` bytes of samples.
void verna_wave_header(uint8_t* image, uint32_t data_length, uint32_t rate = VERNA_SAMPLE_RATE);

// Feeds the lines to the bound MBROLA (see mbrola.h) and routes every sample
// it delivers to `file` when given, else to the wave output in pieces of at
// least VERNA_PLAY_THRESHOLD bytes, played at their own rate and length
// whatever the wave output's speed settings are (which stay). False when
// MBROLA reported an error or a file write failed; the remaining lines are
// still sent. Returns once the last piece is queued (it may still play).
// Playing to the card, a key waiting in the console queue ends the text
// early (it stays queued for the caller).
bool verna_synthesise(const std::vector<std::string>& mbrola_lines, FILE* file);

// Bytes of samples delivered by MBROLA in the last verna_synthesise.
uint64_t verna_synthesised_bytes();
void verna_synthesis_reset();
