// The normaliser: numbers to words, abbreviations expanded, words without a
// vowel spelled, every other symbol named.
#include "verna/normalise.h"

#include "util/character_names.h"
#include "util/latin1.h"
#include "verna/abbreviations.h"
#include "verna/letters.h"
#include "verna/numbers.h"

namespace {
bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_kept_mark(char c) {
    switch (c) {
        case ' ': case '!': case '(': case ')': case ',': case '.': case ':': case ';': case '?':
            return true;
        default:
            return false;
    }
}

bool letter_at(const std::string& text, size_t pos) {
    return pos < text.size() && verna_is_letter(static_cast<unsigned char>(text[pos]));
}

// The word at text[pos] (letters, a hyphen after a letter staying inside);
// pos moves past it. A word without a vowel is spelled, unless it is an
// abbreviation followed by "." (it may be about to be expanded).
std::string take_word(const std::string& text, size_t& pos) {
    size_t start = pos;
    bool all_consonants = true;
    while (letter_at(text, pos)) {
        if (!verna_is_consonant(static_cast<unsigned char>(text[pos]))) all_consonants = false;
        ++pos;
        if (pos < text.size() && text[pos] == '-') ++pos;
    }
    std::string word = text.substr(start, pos - start);
    if (!all_consonants) return word;
    if (pos < text.size() && text[pos] == '.' && !verna_abbreviation(word).empty()) return word;
    std::string spelled;
    for (char c : word) spelled += character_name(static_cast<unsigned char>(c));
    return spelled;
}
}  // namespace

std::string verna_char_name(unsigned char code) { return character_name(code); }

std::string verna_normalise_text(const std::string& original) {
    static const std::string comma_word = latin1("vírgula ");
    std::string text = original.size() == 1 ? character_name(static_cast<unsigned char>(original[0])) : original;
    std::string out;
    out.reserve(text.size() * 2);
    size_t pos = 0;
    while (pos < text.size()) {
        char c = text[pos];
        bool more = pos + 1 < text.size();
        if (c == '-' && pos > 0 && text[pos - 1] == ' ' && more && text[pos + 1] == ' ') {
            out += ',';
            ++pos;
        } else if (c == '-' && more && is_digit(text[pos + 1])) {
            out += "menos ";
            ++pos;
        } else if (is_digit(c)) {
            out += verna_number_words(text, pos);
            out += ' ';
            while (pos + 1 < text.size() && (text[pos] == ',' || text[pos] == '.') && is_digit(text[pos + 1])) {
                out += text[pos] == ',' ? comma_word : std::string("ponto ");
                ++pos;
                out += verna_number_words(text, pos);
                out += ' ';
            }
        } else if (verna_is_letter(static_cast<unsigned char>(c))) {
            std::string word = take_word(text, pos);
            std::string expansion;
            if (pos + 1 < text.size() && text[pos] == '.' && text[pos + 1] == ' ') expansion = verna_abbreviation(word);
            if (!expansion.empty()) {
                out += expansion;
                ++pos;
            } else {
                out += word;
            }
        } else if (text.compare(pos, 3, "...") == 0) {
            out += "... ";
            pos += 3;
        } else if (c == '.' && more && text[pos + 1] != ' ') {
            out += " ponto ";
            ++pos;
        } else if (is_kept_mark(c)) {
            out += c;
            ++pos;
        } else if (c == '\t' || c == '\n' || c == '\r') {
            // A line break between two words still parts them.
            out += ' ';
            ++pos;
        } else {
            out += ' ';
            out += character_name(static_cast<unsigned char>(c));
            out += ' ';
            ++pos;
        }
    }
    return out;
}
