// Letter-to-phoneme conversion of the Portuguese engine: the rules file in
// 224 buckets, the exceptions dictionary, the stress finder, and the whole
// pass from pattern lines to phoneme lines.
//
// Which file defines what:
//   rule_table.cpp  loading and releasing the rules, their count and message,
//                   verna_letter_rules_reset
//   exceptions.cpp  the exceptions dictionary
//   stress.cpp      verna_find_stress
//   phonemes.cpp    verna_convert_word, verna_text_to_phonemes
//
// Phoneme list lines: ";" + pattern line (a word marker); a phoneme name,
// possibly preceded by the stress mark ">" and by "\xa8" from the rule
// output; "__" or "_" + mark (pauses); "" (end of a word).
#pragma once

#include <string>
#include <string_view>

#include "verna/tokens.h"

constexpr int VERNA_RULE_BUCKETS = 224;  // one per character code 32..255
constexpr int VERNA_MAX_RULES = 20000;
constexpr int VERNA_MAX_CONTEXT = 5;
constexpr int VERNA_MAX_GROUP = 5;
// The longest rule output the engine speaks; a file may write up to 20
// characters there, and a longer output is cut when loaded and named.
constexpr int VERNA_MAX_RULE_OUTPUT = 11;
constexpr int VERNA_MAX_EXCEPTIONS = 15000;
constexpr int VERNA_MAX_EXCEPTION_LINE = 255;

// Releases every rule, then reads a rules file. False when it cannot be
// opened, holds no rule, holds a line (neither a ";" comment nor blank) that
// is not left(letters)right=output, with a control character, (no rule
// stays loaded), or holds more than VERNA_MAX_RULES rules (the first ones
// stay). Lines whose letter group is empty are skipped: they could never
// advance. A context, group or output longer than the engine holds is cut
// and named. verna_rules_message() says which file and line.
bool verna_load_rules(const std::string& path);
bool verna_load_rules_text(std::string_view text, const std::string& name);
// Frees every rule of every bucket.
void verna_release_rules();
int verna_rule_count();

// Empties the dictionary, then reads an exceptions file and sorts it. False
// when the file cannot be opened. Lines past VERNA_MAX_EXCEPTIONS are ignored.
bool verna_load_exceptions(const std::string& path);
bool verna_load_exceptions_text(std::string_view text, const std::string& name);
void verna_clear_exceptions();
int verna_exception_count();
// "file:line: what" for the first line of the last exceptions load that
// cannot work as written (no "=", past the capacity); empty when clean.
const std::string& verna_exceptions_message();
// The respelling of an upper-case word, splitting final S and M off when the
// word itself is absent ("CASAS" from "CASA"); the word unchanged otherwise.
std::string verna_exception_lookup(const std::string& word);

// "file:line: what" for the failure of the last rules load, or for the first
// line it skipped; empty when it was clean.
const std::string& verna_rules_message();

// 1-based position of the stressed letter of a word (any case); 0 = none.
int verna_find_stress(const std::string& word);
// Appends the phoneme lines of an upper-case word to `out`, marking with ">"
// the first non-empty rule output at or after the stress position (0 = none).
void verna_convert_word(const std::string& word, int stress, VernaLines& out);
// The phoneme list of a list of pattern lines, ending in "__", with final
// r2 and s2 linked to a following vowel.
VernaLines verna_text_to_phonemes(const VernaLines& patterns);

// No rules, no exceptions, no message.
void verna_letter_rules_reset();
