// Portuguese number words: cardinals, ordinals and digit-by-digit readings.
#include "verna/numbers.h"

#include <array>
#include <initializer_list>

#include "util/latin1.h"

namespace {
struct WordTables {
    std::array<std::string, 10> units, teens, tens, hundreds;
    std::array<std::string, 10> ordinal_units, ordinal_tens, ordinal_hundreds;
    std::string thousandth, dash;
};

const WordTables& words() {
    static const WordTables t = [] {
        auto conv = [](std::initializer_list<const char*> list) {
            std::array<std::string, 10> out;
            int i = 0;
            for (const char* w : list) out[i++] = latin1(w);
            return out;
        };
        WordTables w;
        w.units = conv({"zero", "um", "dois", "três", "quatro", "cinco", "seis", "sete", "oito", "nove"});
        w.teens = conv({"dez", "onze", "doze", "treze", "quatorze", "quinze", "dezesseis", "dezessete", "dezoito",
                        "dezenove"});
        w.tens = conv({"", "", "vinte", "trinta", "quarenta", "cinqüenta", "sessenta", "setenta", "oitenta",
                       "noventa"});
        w.hundreds = conv({"", "cento", "duzentos", "trezentos", "quatrocentos", "quinhentos", "seiscentos",
                           "setecentos", "oitocentos", "novecentos"});
        w.ordinal_units = conv({"", "primeiro", "segundo", "terceiro", "quarto", "quinto", "sexto", "sétimo",
                                "oitavo", "nono"});
        w.ordinal_tens = conv({"", "décimo", "vigésimo", "trigésimo", "quadragésimo", "quinquagésimo",
                               "sexagésimo", "septuagésimo", "octagésimo", "nonagésimo"});
        w.ordinal_hundreds = conv({"", "centésimo", "ducentésimo", "tricentésimo", "quadrigentésimo",
                                   "quingentésimo", "seiscentésimo", "septigentésimo", "octigentésimo",
                                   "nongentésimo"});
        w.thousandth = latin1("milésimo");
        w.dash = latin1("traço");
        return w;
    }();
    return t;
}

struct Scale {
    const char* singular;
    const char* plural;
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A "." followed by exactly three digits groups thousands ("1.000").
bool thousands_separator_at(const std::string& text, size_t i) {
    if (i + 3 >= text.size() || text[i] != '.') return false;
    if (!is_digit(text[i + 1]) || !is_digit(text[i + 2]) || !is_digit(text[i + 3])) return false;
    return i + 4 >= text.size() || !is_digit(text[i + 4]);
}

// Words of a group of three digits; `inner_e` tells that the group holds an
// " e " after its hundreds (duzentos e trinta). An " e " between tens and
// units does not count: a group below a hundred still takes the joining "e"
// (dois mil e vinte e seis).
std::string group_words(int h, int t, int u, bool& inner_e) {
    const WordTables& w = words();
    inner_e = false;
    if (h == 0 && t == 0 && u == 0) return "";
    if (h == 1 && t == 0 && u == 0) return "cem";
    std::string out;
    if (h != 0) {
        out = w.hundreds[h];
        if (t == 0 && u == 0) return out;
        out += " e ";
        inner_e = true;
    }
    if (t == 1) return out + w.teens[u];
    if (t != 0) {
        out += w.tens[t];
        if (u == 0) return out;
        out += " e ";
    }
    if (u != 0) out += w.units[u];
    return out;
}

std::string feminine(const std::string& word) {
    if (word.empty()) return word;
    return word.substr(0, word.size() - 1) + "a";
}

}  // namespace

std::string verna_cardinal_words(uint64_t n) {
    if (n == 0) return "zero";
    static const std::array<Scale, 4> scales = {{{"trilhão ", "trilhões "},
                                                 {"bilhão ", "bilhões "},
                                                 {"milhão ", "milhões "},
                                                 {"mil ", "mil "}}};
    std::string digits = std::to_string(n);
    digits = std::string(14, '0') + digits;
    digits = digits.substr(digits.size() - 15);

    std::array<std::string, 5> group;
    std::array<bool, 5> inner{};
    int final_group = -1;
    for (int g = 0; g < 5; ++g) {
        int h = digits[g * 3] - '0', t = digits[g * 3 + 1] - '0', u = digits[g * 3 + 2] - '0';
        group[g] = group_words(h, t, u, inner[g]);
        if (g < 4 && !group[g].empty()) {
            bool one = h == 0 && t == 0 && u == 1;
            // A thousand is "mil", never "um mil", wherever it stands.
            if (one && g == 3) group[g] = "mil ";
            else group[g] += " " + latin1(one ? scales[g].singular : scales[g].plural);
        }
        if (!group[g].empty()) final_group = g;
    }

    // "e " joins only the final group, and only when that group has no " e "
    // after its hundreds: mil e cem, mil e vinte e seis, mil duzentos e
    // trinta, um milhão e duzentos mil.
    std::string out;
    bool spoken_before = false;
    for (int g = 0; g <= final_group; ++g) {
        if (group[g].empty()) continue;
        if (g == final_group && spoken_before && !inner[g]) out += "e ";
        out += group[g];
        spoken_before = true;
    }
    return out;
}

std::string verna_ordinal_words(uint64_t n, VernaGender gender) {
    if (n >= 2000) return verna_cardinal_words(n);
    if (n == 0) return "zero";
    const WordTables& w = words();
    std::string parts[4];
    int count = 0;
    int thousands = static_cast<int>(n / 1000), hundreds = n / 100 % 10, tens = n / 10 % 10, units = n % 10;
    if (thousands == 1) parts[count++] = w.thousandth;
    if (hundreds) parts[count++] = w.ordinal_hundreds[hundreds];
    if (tens) parts[count++] = w.ordinal_tens[tens];
    if (units) parts[count++] = w.ordinal_units[units];
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (!out.empty()) out += ' ';
        out += gender == VernaGender::Feminine ? feminine(parts[i]) : parts[i];
    }
    return out;
}

std::string verna_number_words(const std::string& text, size_t& pos) {
    const WordTables& w = words();
    if (pos >= text.size() || !is_digit(text[pos])) return "";

    size_t end = pos;
    bool hyphen = false;
    while (end < text.size() && (is_digit(text[end]) || text[end] == '-')) {
        if (text[end] == '-') hyphen = true;
        ++end;
    }
    if (hyphen) {
        std::string out;
        for (; pos < end; ++pos) out += " " + (text[pos] == '-' ? w.dash : w.units[text[pos] - '0']);
        return out;
    }

    std::string zeros;
    while (pos + 1 < text.size() && text[pos] == '0' && is_digit(text[pos + 1])) {
        zeros += "zero ";
        ++pos;
    }

    // Sixteen significant digits or more are beyond the cardinal words: they
    // are read one by one (thousands separators are passed over silently).
    size_t scan = pos;
    int digits = 0;
    while (scan < text.size()) {
        if (is_digit(text[scan])) {
            ++digits;
            ++scan;
        } else if (thousands_separator_at(text, scan)) {
            ++scan;
        } else {
            break;
        }
    }
    if (digits > VERNA_MAX_CARDINAL_DIGITS) {
        std::string out = zeros;
        for (; pos < scan; ++pos)
            if (is_digit(text[pos])) out += w.units[text[pos] - '0'] + " ";
        return out;
    }

    uint64_t value = 0;
    while (pos < text.size() && value < 1000000000000000ULL) {
        if (is_digit(text[pos])) {
            value = value * 10 + static_cast<uint64_t>(text[pos] - '0');
            ++pos;
        } else if (thousands_separator_at(text, pos)) {
            ++pos;
        } else {
            break;
        }
    }

    auto mark = [&](const char* m) { return text.compare(pos, std::char_traits<char>::length(m), m) == 0; };
    VernaGender gender = VernaGender::Masculine;
    size_t mark_length = 0;
    bool plural = false;
    if (pos >= text.size() || text[pos] == ' ') {
        return zeros + verna_cardinal_words(value);
    } else if (static_cast<unsigned char>(text[pos]) == 186) {
        mark_length = 1;
    } else if (static_cast<unsigned char>(text[pos]) == 170) {
        gender = VernaGender::Feminine;
        mark_length = 1;
    } else if (mark("o.")) {
        mark_length = 2;
    } else if (mark("a.")) {
        gender = VernaGender::Feminine;
        mark_length = 2;
    } else if (mark("os.")) {
        mark_length = 3;
        plural = true;
    } else if (mark("as.")) {
        gender = VernaGender::Feminine;
        mark_length = 3;
        plural = true;
    } else {
        return zeros + verna_cardinal_words(value);
    }
    pos += mark_length;
    std::string out = verna_ordinal_words(value, gender);
    // From 2000 on the words are the cardinal's, which take no plural "s".
    if (plural && value < 2000) out += "s";
    return out;
}
