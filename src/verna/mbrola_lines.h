// MBROLA phoneme lines from the engine's phoneme list: durations from the
// prosody tables, lengthening of the stressed stretch, shortening of long
// words, up to three pitch points per word, and a filler phone wherever the
// voice lacks a diphone (the diphone list).
#pragma once

#include <string>
#include <vector>

constexpr int VERNA_MAX_DIPHONES = 20000;
constexpr int VERNA_MAX_PHONEME_NAME = 255;
constexpr int VERNA_STRESS_PERCENT = 145;

// Reads a diphone list: one diphone per line as two phoneme names with a
// separator ("a-b", "a b", ...); "!", "*" and ";" lines are comments. The
// list replaces the one loaded before. False when the file cannot be read or
// holds more than VERNA_MAX_DIPHONES diphones (the first ones stay).
bool verna_load_diphones(const std::string& path);
bool verna_load_diphones_text(const std::string& text);
void verna_release_diphones();
int verna_diphone_count();
// Whether the list holds first + "-" + second (letter case ignored).
bool verna_has_diphone(const std::string& first, const std::string& second);

// The MBROLA lines of a phoneme list (as verna_text_to_phonemes makes it).
std::vector<std::string> verna_make_mbrola_lines(const std::vector<std::string>& phonemes, double duration_factor,
                                                 double pitch_factor);
// Appends `line` to `out`, preceded by "_ 50" or "y 50" when the voice lacks
// the diphone from the previous phoneme to the current one.
void verna_repair_diphone(std::string line, std::vector<std::string>& out);
// The phoneme names the repair looks at (current kept between texts).
void verna_set_repair_phonemes(const std::string& previous, const std::string& current);
// Empty list, previous "_", current "".
void verna_mbrola_lines_reset();
