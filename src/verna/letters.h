// Letter classes and case of the engine's Latin-1 text.
#pragma once

#include <string>
#include <string_view>

// Consonant letters: B-D F-H J-N P-T V-Z, Ç, Ñ in either case.
bool verna_is_consonant(unsigned char c);
// a-z and the Latin-1 letters 224..254 (not the division sign) to upper case.
std::string verna_upper(std::string_view text);
std::string verna_lower(std::string_view text);
// Without blanks and control characters at both ends.
std::string verna_trim(std::string_view text);

// Inline: every stage calls these for every character of a text.
inline unsigned char verna_upper_char(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 224 && c <= 254 && c != 247) return static_cast<unsigned char>(c - 32);
    return c;
}

inline unsigned char verna_lower_char(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 192 && c <= 222 && c != 215) return static_cast<unsigned char>(c + 32);
    return c;
}

// A-Z, a-z and the accented letters of Portuguese (and Ñ, Ü, À, Ì, Ù).
inline bool verna_is_letter(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    if (c >= 224) c -= 32;
    switch (c) {
        case 192: case 193: case 194: case 195: case 199: case 201: case 202: case 204: case 205:
        case 209: case 211: case 212: case 213: case 217: case 218: case 220:
            return true;
        default:
            return false;
    }
}
