// Portuguese number words and their grammar: cardinals up to the trillions,
// the "e" between groups, mil, milhão/milhões, and ordinals. The one source
// of number words for the front end's recorded fragments and the engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Five groups of three digits: the cardinals reach 10^15 - 1.
constexpr uint64_t PORTUGUESE_NUMBERS_LIMIT = 1000000000000000ULL;

// Words are Latin-1 in today's spelling ("três", "cinquenta", "milhão"),
// separated by single blanks with none at either end; each speaker maps them
// to its own forms.

// Cardinal words of n; values from 10^15 on read their last 15 digits.
// "e" joins the last group after a higher one only when that last group is
// below a hundred or a whole hundred: 1001 "mil e um", 1200 "mil e
// duzentos", 1230 "mil duzentos e trinta", 1250000 "um milhão duzentos e
// cinquenta mil". A thousand is "mil" wherever it stands (1001000 "um milhão
// e mil"); a million is "um milhão".
std::string portuguese_cardinal(uint64_t n);

// The word of one digit 0..9 ("zero" .. "nove"); "" outside that range.
std::string portuguese_digit(int digit);

// Ordinal words of n, e.g. 123 "centésimo vigésimo terceiro". A multiple of
// a thousand, million... takes the ordinal of its multiplier (2000 "segundo
// milésimo", 21000 "vigésimo primeiro milésimo"). Feminine and plural turn
// every word ("vigésimas primeiras"). 0 gives "zero".
std::string portuguese_ordinal(uint64_t n, bool feminine = false, bool plural = false);

// Every word a cardinal can use, each once: the digits, teens, tens,
// hundreds with "cem", "e", "mil" and the scale words in both numbers.
std::vector<std::string> portuguese_cardinal_vocabulary();
