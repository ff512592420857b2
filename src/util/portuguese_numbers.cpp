// Portuguese cardinal and ordinal words: the word tables and the rules that
// join them.
#include "util/portuguese_numbers.h"

#include <array>

#include "util/latin1.h"

namespace {
constexpr int PORTUGUESE_GROUPS = 5;  // trillions, billions, millions, thousands, units

struct NumberWords {
    std::array<std::string, 10> units, teens, tens, hundreds;
    std::string hundred_exact, joiner;
    std::array<std::string, PORTUGUESE_GROUPS - 1> scale_singular, scale_plural;
    std::array<std::string, 10> ordinal_units, ordinal_tens, ordinal_hundreds;
    std::array<std::string, PORTUGUESE_GROUPS - 1> ordinal_scale;
};

template <size_t N>
std::array<std::string, N> convert(const std::array<const char*, N>& utf8_words) {
    std::array<std::string, N> out;
    for (size_t i = 0; i < N; ++i) out[i] = latin1(utf8_words[i]);
    return out;
}

const NumberWords& words() {
    static const NumberWords w = [] {
        NumberWords t;
        t.units = convert<10>({"zero", "um", "dois", "três", "quatro", "cinco", "seis", "sete", "oito", "nove"});
        t.teens = convert<10>({"dez", "onze", "doze", "treze", "quatorze", "quinze", "dezesseis", "dezessete",
                               "dezoito", "dezenove"});
        t.tens = convert<10>({"", "", "vinte", "trinta", "quarenta", "cinquenta", "sessenta", "setenta", "oitenta",
                              "noventa"});
        t.hundreds = convert<10>({"", "cento", "duzentos", "trezentos", "quatrocentos", "quinhentos", "seiscentos",
                                  "setecentos", "oitocentos", "novecentos"});
        t.hundred_exact = "cem";
        t.joiner = "e";
        t.scale_singular = convert<4>({"trilhão", "bilhão", "milhão", "mil"});
        t.scale_plural = convert<4>({"trilhões", "bilhões", "milhões", "mil"});
        t.ordinal_units = convert<10>({"", "primeiro", "segundo", "terceiro", "quarto", "quinto", "sexto", "sétimo",
                                       "oitavo", "nono"});
        t.ordinal_tens = convert<10>({"", "décimo", "vigésimo", "trigésimo", "quadragésimo", "quinquagésimo",
                                      "sexagésimo", "septuagésimo", "octogésimo", "nonagésimo"});
        t.ordinal_hundreds = convert<10>({"", "centésimo", "ducentésimo", "tricentésimo", "quadringentésimo",
                                          "quingentésimo", "seiscentésimo", "septingentésimo", "octingentésimo",
                                          "nongentésimo"});
        t.ordinal_scale = convert<4>({"trilionésimo", "bilionésimo", "milionésimo", "milésimo"});
        return t;
    }();
    return w;
}

void append_word(std::string& out, const std::string& word) {
    if (word.empty()) return;
    if (!out.empty()) out += ' ';
    out += word;
}

// Words of one group of three digits (0..999): "cem", "cento e um",
// "vinte e um"; "" for 0.
std::string group_words(int value) {
    const NumberWords& w = words();
    int h = value / 100, t = value / 10 % 10, u = value % 10;
    if (value == 100) return w.hundred_exact;
    std::string out = w.hundreds[h];
    if (t == 1) {
        append_word(out, h ? w.joiner : "");
        append_word(out, w.teens[u]);
        return out;
    }
    if (t != 0) {
        append_word(out, h ? w.joiner : "");
        append_word(out, w.tens[t]);
    }
    if (u != 0) {
        append_word(out, (h || t) ? w.joiner : "");
        append_word(out, w.units[u]);
    }
    return out;
}

std::array<int, PORTUGUESE_GROUPS> split_groups(uint64_t n) {
    n %= PORTUGUESE_NUMBERS_LIMIT;
    std::array<int, PORTUGUESE_GROUPS> g{};
    for (int i = PORTUGUESE_GROUPS - 1; i >= 0; --i) {
        g[i] = static_cast<int>(n % 1000);
        n /= 1000;
    }
    return g;
}

// The ordinal of 1..999, one word per non-zero digit, highest first.
std::string group_ordinal(int value) {
    const NumberWords& w = words();
    std::string out;
    append_word(out, w.ordinal_hundreds[value / 100]);
    append_word(out, w.ordinal_tens[value / 10 % 10]);
    append_word(out, w.ordinal_units[value % 10]);
    return out;
}

// Ordinal words end in "o": the feminine ends in "a", the plural adds "s".
std::string inflect(const std::string& text, bool feminine, bool plural) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = text.find(' ', i);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(i, end - i);
        if (feminine && !word.empty() && word.back() == 'o') word.back() = 'a';
        if (plural) word += 's';
        append_word(out, word);
        i = end + 1;
    }
    return out;
}
}  // namespace

std::string portuguese_cardinal(uint64_t n) {
    const NumberWords& w = words();
    std::array<int, PORTUGUESE_GROUPS> groups = split_groups(n);
    int last = -1;
    for (int i = 0; i < PORTUGUESE_GROUPS; ++i)
        if (groups[i] != 0) last = i;
    if (last < 0) return w.units[0];

    std::string out;
    for (int i = 0; i <= last; ++i) {
        int value = groups[i];
        if (value == 0) continue;
        // The last group is joined by "e" when it has no "e" of its own
        // after a hundred: "mil e vinte e seis", "mil e trezentos", but
        // "mil trezentos e quarenta".
        if (i == last && !out.empty() && (value < 100 || value % 100 == 0)) append_word(out, w.joiner);
        bool is_thousand = i == PORTUGUESE_GROUPS - 2;
        if (!(is_thousand && value == 1)) append_word(out, group_words(value));
        if (i < PORTUGUESE_GROUPS - 1) append_word(out, value == 1 ? w.scale_singular[i] : w.scale_plural[i]);
    }
    return out;
}

std::string portuguese_digit(int digit) {
    if (digit < 0 || digit > 9) return "";
    return words().units[digit];
}

std::string portuguese_ordinal(uint64_t n, bool feminine, bool plural) {
    const NumberWords& w = words();
    std::array<int, PORTUGUESE_GROUPS> groups = split_groups(n);
    std::string out;
    for (int i = 0; i < PORTUGUESE_GROUPS; ++i) {
        int value = groups[i];
        if (value == 0) continue;
        if (i < PORTUGUESE_GROUPS - 1) {
            if (value != 1) append_word(out, group_ordinal(value));
            append_word(out, w.ordinal_scale[i]);
        } else {
            append_word(out, group_ordinal(value));
        }
    }
    if (out.empty()) return w.units[0];
    return inflect(out, feminine, plural);
}

std::vector<std::string> portuguese_cardinal_vocabulary() {
    const NumberWords& w = words();
    std::vector<std::string> out;
    auto add = [&out](const std::string& word) {
        if (word.empty()) return;
        for (const std::string& seen : out)
            if (seen == word) return;
        out.push_back(word);
    };
    for (const std::string& s : w.units) add(s);
    for (const std::string& s : w.teens) add(s);
    for (const std::string& s : w.tens) add(s);
    add(w.hundred_exact);
    for (const std::string& s : w.hundreds) add(s);
    add(w.joiner);
    for (size_t i = w.scale_singular.size(); i-- > 0;) {
        add(w.scale_singular[i]);
        add(w.scale_plural[i]);
    }
    return out;
}
