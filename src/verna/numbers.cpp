// Portuguese number words: cardinals, ordinals and digit-by-digit readings.
#include "verna/numbers.h"

#include "util/latin1.h"
#include "util/portuguese_numbers.h"

namespace {
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A "." followed by exactly three digits groups thousands ("1.000").
bool thousands_separator_at(const std::string& text, size_t i) {
    if (i + 3 >= text.size() || text[i] != '.') return false;
    if (!is_digit(text[i + 1]) || !is_digit(text[i + 2]) || !is_digit(text[i + 3])) return false;
    return i + 4 >= text.size() || !is_digit(text[i + 4]);
}

// The engine's rules read the u of "qu" before e only with its diaeresis.
std::string engine_spelling(std::string words) {
    static const std::string plain = "cinquenta";
    static const std::string marked = latin1("cinqüenta");
    for (size_t at = words.find(plain); at != std::string::npos; at = words.find(plain, at + marked.size()))
        words.replace(at, plain.size(), marked);
    return words;
}

std::string digit_word(char c) { return portuguese_digit(c - '0'); }

}  // namespace

std::string verna_cardinal_words(uint64_t n) {
    std::string out = engine_spelling(portuguese_cardinal(n));
    // A number that ends in a scale word keeps the blank after it.
    uint64_t kept = n % PORTUGUESE_NUMBERS_LIMIT;
    if (kept >= 1000 && kept % 1000 == 0) out += ' ';
    return out;
}

std::string verna_ordinal_words(uint64_t n, VernaGender gender, bool plural) {
    return portuguese_ordinal(n, gender == VernaGender::Feminine, plural);
}

std::string verna_number_words(const std::string& text, size_t& pos) {
    static const std::string dash = latin1("traço");
    if (pos >= text.size() || !is_digit(text[pos])) return "";

    size_t end = pos;
    bool hyphen = false;
    while (end < text.size() && (is_digit(text[end]) || text[end] == '-')) {
        if (text[end] == '-') hyphen = true;
        ++end;
    }
    if (hyphen) {
        std::string out;
        for (; pos < end; ++pos) out += " " + (text[pos] == '-' ? dash : digit_word(text[pos]));
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
            if (is_digit(text[pos])) out += digit_word(text[pos]) + " ";
        return out;
    }

    uint64_t value = 0;
    while (pos < text.size() && value < PORTUGUESE_NUMBERS_LIMIT) {
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
    return verna_ordinal_words(value, gender, plural);
}
