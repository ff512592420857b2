// The own diphone synthesizer: voice database (index of named units and one
// sample file), letter recordings, and the output buffer in which one
// utterance is assembled and played. All sound is 8-bit unsigned mono at
// 11025 samples per second, used as stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "util/wave_format.h"

constexpr size_t DIPHONE_MAX_BUFFER = 64000;    // output buffer, header included
constexpr size_t DIPHONE_HEADER_BYTES = WAVE_HEADER_BYTES;  // the buffer starts with the WAV header
constexpr size_t DIPHONE_RECORD_BYTES = WAVE_UNIT_RECORD_BYTES;
constexpr size_t DIPHONE_MAX_UNITS = 100000;    // index records read at most
constexpr size_t DIPHONE_MAX_NAME = 12;         // characters of a unit or recording name used
constexpr size_t DIPHONE_MAX_STORED_NAME = WAVE_UNIT_MAX_NAME;
constexpr size_t DIPHONE_MAX_GROUP = 40;        // characters of one group
constexpr size_t DIPHONE_MAX_DIRECTORY = 79;    // characters of a configured directory
constexpr size_t DIPHONE_MAX_DATABASE = 8;      // characters of the database name

// Start-up values: database "DIFONES2", cut 400, minimum 0, word gap 100,
// nothing loaded, no output hook.
void diphone_reset();

// Base name of the .IND/.DIF pair (at most 8 characters); set before start.
void diphone_set_database(const std::string& name);
std::string diphone_database();

// 0 ready; 1 a directory is missing or the index or data file cannot be
// opened; 2 the rule or exceptions file cannot be loaded. Directories come
// from [TRADUTOR] dirLetras and DIRDIFONES of TALUNE.INI.
int diphone_start();
// The directory or file that the last diphone_start could not open or load
// ("" after a start that succeeded).
std::string diphone_start_failure_path();
// Releases everything diphone_start took (safe to call when not started).
void diphone_stop();
bool diphone_started();

// Stores the unstressed cut and minimum kept (bytes) and the word gap
// (samples).
void diphone_set_timing(int32_t unstressed_cut, int32_t minimum_kept, int32_t word_gap);
int32_t diphone_word_gap();

// Plays a phoneme string of the rule engine through the output hook, which
// returns when each piece has been played or a key stopped it. With punctuation by name, "_," and the
// like are spoken by their recordings instead of making pauses.
void diphone_speak(const std::string& phonemes, bool punctuation_by_name);

// Stress modes: 1 before the stressed syllable of a word, 2 inside it, 0 after.
// One unit with the fallbacks to smaller units and noise.
void diphone_play_unit(const std::string& name, int stress_mode, double factor);
// A unit of the voice database; false when the index does not hold it.
bool diphone_play_stored_unit(const std::string& name, int stress_mode, double factor);
// The letter recording NAME.wav ("_65" for "A"); false when missing or empty.
bool diphone_play_letter(const std::string& name);
// n / 100 blocks of 100 samples of silence (a remainder is not played).
void diphone_silence(int32_t samples);
// 300 random samples around the midpoint.
void diphone_noise();
// Plays what the buffer holds and empties it.
void diphone_flush();
// Empties the output buffer without playing it.
void diphone_clear_buffer();

// Receives each assembled image (44-byte header + samples) when the buffer
// is flushed, and plays it before returning: the speech front end installs
// one that plays through the wave output; the benchmark and the voice checks
// listen through their own. Without a hook the sound goes nowhere.
using DiphoneOutputHook = void (*)(const uint8_t* image, size_t bytes, void* context);
void diphone_set_output_hook(DiphoneOutputHook hook, void* context);

// What the assembly did, in order, for tests and voice checks: 'u' a stored
// unit looked up, 'l' a letter recording, 'n' noise, 's' silence. `bytes` is
// what went into the buffer.
struct DiphoneEvent {
    char kind = 0;
    std::string name;
    int mode = 0;
    double factor = 0;
    bool found = false;
    size_t bytes = 0;
};
// Appends every event to TRACE while set (nullptr stops it).
void diphone_set_trace(std::vector<DiphoneEvent>* trace);

// Number of records of the loaded index.
size_t diphone_unit_count();
// Directories in use, each ending in "/" ("" before start).
std::string diphone_letters_directory();
std::string diphone_diphones_directory();

// The names a phoneme string asks the unit player for, in order, as the
// speaker would request them before any fallback (unit names upper-cased,
// letter recordings as "_NN"); pauses and gaps are not listed.
std::vector<std::string> diphone_requested_units(const std::string& phonemes, bool punctuation_by_name);
