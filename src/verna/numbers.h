// Portuguese words for the numbers of a text: cardinals up to the trillions,
// ordinals, and digit-by-digit readings of codes and telephone numbers.
// Text is Latin-1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class VernaGender { Masculine, Feminine };

// Runs of 16 or more significant digits are read digit by digit (the cardinal
// words only reach 15 digits).
constexpr int VERNA_MAX_CARDINAL_DIGITS = 15;

// Reads the number that starts at text[pos] (0-based; the character there is
// a digit) and returns its words; pos is left on the first character not
// consumed. Handles leading zeros ("zero " each), thousands separators
// ("1.000"), ordinal marks (º ª, "o." "a." "os." "as.") and runs with hyphens
// ("555-12" reads " cinco cinco cinco traço um dois"). A position that is not
// on a digit gives "" and leaves pos unchanged.
std::string verna_number_words(const std::string& text, size_t& pos);
// Cardinal words of n (0 <= n < 10^15; larger values read their last 15
// digits). May end in a blank.
std::string verna_cardinal_words(uint64_t n);
// Ordinal words of n (2000 "segundo milésimo"); the plural turns every word
// ("vigésimos primeiros").
std::string verna_ordinal_words(uint64_t n, VernaGender gender, bool plural = false);
