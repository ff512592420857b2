// The word-level steps of the rule engine, shared by its files and tests.
#pragma once

#include <string>
#include <string_view>

#include "diphone/rules.h"

// Text with accented characters turned into letter + mark, "ç" into "ss",
// w/y next to letters into u/i, "d'" into "d", and unspeakable characters
// into " \x01 ".
std::string rules_normalize(std::string_view text);

struct RulesWord {
    char text[RULES_MAX_WORD + 1];
    int len = 0;
    int vowels = 0;
    bool accented = false;  // an accent mark other than '"' was scanned
};

// Takes the next word of normalised text from `pos` (0-based) on and moves
// `pos` past it; false when only spaces remain.
bool rules_next_word(std::string_view text, size_t& pos, RulesWord& word);
// Replaces the word by its exception (also after taking off a final s or m,
// which are put back); the counts stay those of the scanned word.
void rules_apply_exceptions(RulesWord& word);
// Upper-cases the stressed vowel of a word written without an accent.
void rules_mark_stress(RulesWord& word);
// Appends the word's group: spelled, or converted by the rules.
void rules_word_to_phonemes(const RulesWord& word, std::string& out);
