// Portuguese number words and the fragment keys of numbers, times and dates.
#include "speech/number_words.h"

#include "util/portuguese_numbers.h"

namespace {
const char* const WEEKDAYS[7] = {"Domingo", "Segunda", "Terca", "Quarta", "Quinta", "Sexta", "Sabado"};
const char* const MONTHS[12] = {"Janeiro", "Fevereiro", "Marco",    "Abril",   "Maio",     "Junho",
                                "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};
constexpr int SPEECH_MAX_KEY = 8;

SpokenPiece key_piece(const std::string& key) {
    SpokenPiece p;
    p.key = key;
    return p;
}

SpokenPiece number_piece(long long n, bool feminine) {
    SpokenPiece p;
    p.is_number = true;
    p.number = n;
    p.feminine = feminine;
    return p;
}
}  // namespace

std::string speech_stored_number_words(std::string words) {
    const char e_circumflex = static_cast<char>(0xEA);
    for (char& c : words)
        if (c == e_circumflex) c = 'e';
    return words;
}

std::string speech_number_words(long long n) {
    uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    std::string words = speech_stored_number_words(portuguese_cardinal(magnitude));
    // A thousand after a higher group keeps its "um" here ("um milhao e um
    // mil"): only a leading "um mil" loses it.
    std::string out;
    std::string previous;
    size_t i = 0;
    while (i < words.size()) {
        size_t end = words.find(' ', i);
        if (end == std::string::npos) end = words.size();
        std::string word = words.substr(i, end - i);
        bool after_group = previous == "e" || previous.rfind("milh", 0) == 0 || previous.rfind("bilh", 0) == 0 ||
                           previous.rfind("trilh", 0) == 0;
        if (word == "mil" && after_group) out += "um ";
        out += word;
        if (end < words.size()) out += ' ';
        previous = word;
        i = end + 1;
    }
    return out;
}

std::vector<std::string> speech_number_fragment_keys(const std::string& words, bool feminine) {
    std::vector<std::string> split;
    size_t i = 0;
    while (i < words.size()) {
        while (i < words.size() && words[i] == ' ') ++i;
        size_t j = words.find(' ', i);
        if (j == std::string::npos) j = words.size();
        if (j > i) split.push_back(words.substr(i, j - i));
        i = j;
    }
    const char a_tilde = static_cast<char>(0xE3), o_tilde = static_cast<char>(0xF5);
    std::vector<std::string> keys;
    for (size_t k = 0; k < split.size(); ++k) {
        std::string w = split[k];
        for (char& c : w) {
            if (c == a_tilde) c = 'a';
            if (c == o_tilde) c = 'o';
        }
        if (w == "dezessete") w = "dezeset";
        std::string key = ("_" + w).substr(0, SPEECH_MAX_KEY);
        if (feminine && k + 1 == split.size()) {
            if (key == "_um") key = "_uma";
            if (key == "_dois") key = "_duas";
        }
        keys.push_back(key);
    }
    return keys;
}

std::vector<SpokenPiece> speech_hour_minute_pieces(int hour, int minute) {
    std::vector<SpokenPiece> p;
    p.push_back(number_piece(hour, true));
    p.push_back(key_piece(hour < 2 ? "_hora" : "_horas"));
    if (minute != 0) {
        p.push_back(number_piece(minute, false));
        p.push_back(key_piece(minute < 2 ? "_minuto" : "_minutos"));
    }
    return p;
}

int speech_weekday(int day, int month, int year) {
    // Sakamoto's method over the proleptic Gregorian calendar.
    static const int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) return 0;
    if (month < 3) year -= 1;
    int w = (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
    return w < 0 ? w + 7 : w;
}

std::vector<SpokenPiece> speech_day_month_year_pieces(int day, int month, int year) {
    std::vector<SpokenPiece> p;
    if (month < 1 || month > 12) return p;
    p.push_back(key_piece(std::string("_") + WEEKDAYS[speech_weekday(day, month, year)]));
    if (day == 1) p.push_back(key_piece(("_" + portuguese_ordinal(1)).substr(0, SPEECH_MAX_KEY)));
    else p.push_back(number_piece(day, false));
    p.push_back(key_piece("_de"));
    p.push_back(key_piece(("_" + std::string(MONTHS[month - 1])).substr(0, SPEECH_MAX_KEY)));
    p.push_back(key_piece("_de"));
    // The whole year in words: "dois mil e vinte e seis", "dois mil e cem",
    // "dois mil trezentos e quarenta".
    p.push_back(number_piece(year, false));
    return p;
}
