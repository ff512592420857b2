// Portuguese number words and the fragment keys of numbers, times and dates.
#include "speech/number_words.h"

#include "util/latin1.h"

namespace {
const char* const UNITS[10] = {"zero", "um", "dois", "tres", "quatro", "cinco", "seis", "sete", "oito", "nove"};
const char* const TEENS[10] = {"dez",      "onze",      "doze",      "treze",   "quatorze",
                               "quinze",   "dezesseis", "dezessete", "dezoito", "dezenove"};
const char* const TENS[10] = {"", "", "vinte", "trinta", "quarenta", "cinquenta", "sessenta", "setenta", "oitenta", "noventa"};
const char* const HUNDREDS[10] = {"cem",        "cento",     "duzentos",   "trezentos",  "quatrocentos",
                                  "quinhentos", "seiscentos", "setecentos", "oitocentos", "novecentos"};
const char* const GROUP_SINGULAR[5] = {"trilhão ", "bilhão ", "milhão ", "mil ", ""};
const char* const GROUP_PLURAL[5] = {"trilhões ", "bilhões ", "milhões ", "mil ", ""};
const char* const WEEKDAYS[7] = {"Domingo", "Segunda", "Terca", "Quarta", "Quinta", "Sexta", "Sabado"};
const char* const MONTHS[12] = {"Janeiro", "Fevereiro", "Marco",    "Abril",   "Maio",     "Junho",
                                "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};
constexpr int SPEECH_MAX_KEY = 8;

std::string group_words(int d1, int d2, int d3) {
    if (d1 == 0 && d2 == 0 && d3 == 0) return "";
    if (d1 == 1 && d2 == 0 && d3 == 0) return HUNDREDS[0];
    std::string w;
    if (d1 != 0) {
        w = HUNDREDS[d1];
        if (d2 == 0 && d3 == 0) return w;
        w += " e ";
    }
    if (d2 == 1) return w + TEENS[d3];
    if (d2 != 0) {
        w += TENS[d2];
        if (d3 == 0) return w;
        w += " e ";
    }
    if (d3 > 0) w += UNITS[d3];
    return w;
}

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

std::string speech_number_words(long long n) {
    if (n < 0) n = -n;
    if (n == 0) return "zero";
    // Five groups of three digits hold numbers below 10^15; larger ones keep
    // their lowest fifteen digits rather than overflowing the groups.
    n %= 1000000000000000LL;
    std::string digits = std::to_string(n);
    digits.insert(0, 15 - digits.size(), '0');
    std::string words[5];
    int values[5] = {};
    int last = -1;
    for (int i = 0; i < 5; ++i) {
        int d1 = digits[i * 3] - '0', d2 = digits[i * 3 + 1] - '0', d3 = digits[i * 3 + 2] - '0';
        values[i] = d1 * 100 + d2 * 10 + d3;
        std::string w = group_words(d1, d2, d3);
        if (!w.empty()) {
            last = i;
            if (i < 4) w += " " + latin1((d1 == 0 && d2 == 0 && d3 == 1) ? GROUP_SINGULAR[i] : GROUP_PLURAL[i]);
        }
        words[i] = w;
    }
    // "e" joins the last group only when that group is below a hundred or a
    // whole hundred: "mil e um", "mil e duzentos", but "mil novecentos e
    // noventa e nove", "dois milhões trezentos mil".
    bool joined_last = last >= 0 && (values[last] < 100 || values[last] % 100 == 0);
    std::string result;
    bool earlier = false;
    for (int i = 0; i < 5; ++i) {
        if (words[i].empty()) continue;
        if (i == last && earlier && joined_last) result += "e ";
        result += words[i];
        earlier = true;
    }
    while (!result.empty() && result.back() == ' ') result.pop_back();
    if (result.rfind("um mil", 0) == 0 && result.rfind("um milh", 0) != 0) result.erase(0, 3);
    return result;
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
    if (day == 1) p.push_back(key_piece("_primeir"));
    else p.push_back(number_piece(day, false));
    p.push_back(key_piece("_de"));
    p.push_back(key_piece(("_" + std::string(MONTHS[month - 1])).substr(0, SPEECH_MAX_KEY)));
    p.push_back(key_piece("_de"));
    // The whole year in words: "dois mil e vinte e seis", "mil novecentos e
    // noventa e nove", "dois mil e cem", "dois mil trezentos e quarenta".
    p.push_back(number_piece(year, false));
    return p;
}
