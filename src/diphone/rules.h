// The own synthesizer's rule engine: Portuguese text to the bracketed
// phoneme string that the diphone synthesizer plays.
//
// Output: one group per word with nothing between groups. A converted word
// is "[" + rule outputs separated by "/" + "]", its stressed vowel in upper
// case; a letter no rule covers gives " /_" + the letter in upper case; a
// spelled word gives "[ /_c]" for each of its characters c. Text is Latin-1.
#pragma once

#include <string>
#include <string_view>

// One rule list per character code 32 (space) to 95 (underscore).
constexpr int RULES_MAX_LISTS = 64;
constexpr int RULES_MAX_RULES = 4000;
constexpr int RULES_MAX_LEFT = 5;
constexpr int RULES_MAX_MATCH = 5;
constexpr int RULES_MAX_RIGHT = 5;
constexpr int RULES_MAX_OUTPUT = 11;
// Characters of a rule line looked at; the rest of a longer line is ignored.
constexpr int RULES_MAX_RULE_LINE = 1024;
constexpr int RULES_MAX_EXCEPTIONS = 15000;
// An exceptions line holds at most this many characters; a longer line is
// skipped (and noted).
constexpr int RULES_MAX_EXCEPTION_LINE = 255;
// The word buffer. A longer run of letters is spoken as several words.
constexpr int RULES_MAX_WORD = 255;

// Empties the rule lists and the exceptions table, then reads the rule file.
// False if the file cannot be opened, or holds more than RULES_MAX_RULES
// rules; then nothing of it stays loaded. Lines without "(" are comments;
// a rule line whose match is empty or does not begin with a character from
// 32 to 95 is skipped and noted in rules_last_message().
bool rules_load(const std::string& path);
// Reads the exceptions file (key=replacement|comment per line) and sorts it.
// Call after rules_load, which empties the table. False if the file cannot
// be opened. Entries past RULES_MAX_EXCEPTIONS are ignored (and noted).
bool rules_load_exceptions(const std::string& path);
// The same two loaders over text already in memory; `name` stands for the
// file name in messages.
bool rules_load_text(std::string_view text, const std::string& name);
bool rules_load_exceptions_text(std::string_view text, const std::string& name);
// Releases the rules; the exceptions stay.
void rules_free();
// Back to the start-up state: no rules, no exceptions, no message.
void rules_reset();

// "file:line: what" for the failure of the last load, or for the first line
// it skipped or cut; empty when the last load was clean.
const std::string& rules_last_message();
int rules_rule_count();
int rules_exception_count();

// Converts a whole text. The front end passes at most 999 characters; longer
// texts work too.
std::string rules_text_to_phonemes(std::string_view text);
