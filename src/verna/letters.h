// Letter classes and case of the engine's Latin-1 text.
#pragma once

#include <string>
#include <string_view>

// A-Z, a-z and the accented letters of Portuguese (and Ñ, Ü, À, Ì, Ù).
bool verna_is_letter(unsigned char c);
// Consonant letters: B-D F-H J-N P-T V-Z, Ç, Ñ in either case.
bool verna_is_consonant(unsigned char c);
// a-z and the Latin-1 letters 224..254 (not the division sign) to upper case.
std::string verna_upper(std::string_view text);
std::string verna_lower(std::string_view text);
unsigned char verna_upper_char(unsigned char c);
unsigned char verna_lower_char(unsigned char c);
// Without blanks and control characters at both ends.
std::string verna_trim(std::string_view text);
