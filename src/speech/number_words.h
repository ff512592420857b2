// Whole numbers, the time of day and the date as Portuguese words and as the
// recorded fragments ("_" + word, cut to 8 characters) that speak them.
#pragma once

#include <string>
#include <vector>

// n >= 0 in Portuguese words, e.g. 2345 -> "dois mil trezentos e quarenta e
// cinco", 1200 -> "mil e duzentos"; a thousand after a higher group is "um
// mil" (1001000 -> "um milhão e um mil").
// Negative numbers are spoken as their magnitude (callers speak the sign).
std::string speech_number_words(long long n);
// Number words as this front end stores them: "três" is "tres" (the
// fragments' keys and the words above carry no circumflex).
std::string speech_stored_number_words(std::string words);

// The fragment keys that speak `words`, in order: accents of "ã"/"õ" dropped,
// "dezessete" as "dezeset", each key cut to 8 characters; with `feminine` the
// last word "um"/"dois" becomes "uma"/"duas".
std::vector<std::string> speech_number_fragment_keys(const std::string& words, bool feminine);

// One step of a spoken time or date: either a fixed key, or a number whose
// fragments are joined into one sound.
struct SpokenPiece {
    bool is_number = false;
    std::string key;   // fixed key, e.g. "_horas"
    long long number = 0;
    bool feminine = false;
};

std::vector<SpokenPiece> speech_hour_minute_pieces(int hour, int minute);
std::vector<SpokenPiece> speech_day_month_year_pieces(int day, int month, int year);
// 0 = Sunday .. 6 = Saturday, for any date of the Gregorian calendar.
int speech_weekday(int day, int month, int year);
