// The prosody file of the Portuguese engine: phoneme durations, the word keys
// and the intonation rules, the base pitch (HERTZ) and the ten pitch levels
// (TABHERTZ). The file is user-edited; its problems are shown to the user in
// a message box that must be acknowledged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

constexpr int VERNA_MAX_DURATIONS = 100;
constexpr int VERNA_MAX_WORD_KEYS = 1000;
constexpr int VERNA_MAX_INTONATION_RULES = 300;
constexpr int VERNA_DEFAULT_HERTZ = 230;
constexpr int VERNA_DEFAULT_DURATION = 100;

struct VernaIntonationRule {
    std::string previous, current, next;  // at most 3 characters; "" = any
    std::string pattern;
};

// Reads the three sections [DURAÇÃO], [CHAVES] and [PROSÓDIA] (in any order).
// Durations, keys and rules are emptied and HERTZ returns to 230 first; the
// pitch levels keep earlier values where the file sets none. On a problem the
// message is shown (verna_show_message) and, where the problem is fatal, the
// load returns false keeping what was read. Over-full tables, a HERTZ or
// TABHERTZ value that is not a number and a TABHERTZ list of other than ten
// values are failures with a message of their own.
bool verna_load_prosody(const std::string& path);
// The same over text already in memory; `name` stands for the file name.
bool verna_load_prosody_text(std::string_view text, const std::string& name);

// Duration in ms of the first entry whose phoneme equals `phoneme` exactly;
// false (and VERNA_DEFAULT_DURATION) when there is none.
bool verna_phoneme_duration(std::string_view phoneme, int& ms);
// The key of a word (binary search of the upper-cased word); "" when absent.
std::string verna_word_key(std::string_view word);
int verna_base_pitch();
// Percent of the base pitch for the pattern digit 0..9 (0 for other values).
int verna_pitch_level(int digit);
int verna_duration_count();
int verna_word_key_count();
int verna_intonation_rule_count();
const VernaIntonationRule& verna_intonation_rule(int index);
// All of them, in file order.
const std::vector<VernaIntonationRule>& verna_intonation_rules();

// Empty tables, HERTZ 230, every pitch level 0 (the start-up state).
void verna_prosody_reset();
