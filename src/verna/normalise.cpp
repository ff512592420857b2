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

// Blanks, tabs and line ends part words; so do the start and end of the text.
bool blank_at(const std::string& text, size_t pos) {
    return pos >= text.size() || static_cast<unsigned char>(text[pos]) <= ' ';
}

// An expanded abbreviation's period also ends the sentence when nothing
// follows, or when the next word begins with a capital after an
// abbreviation written in small letters ("10 h. Depois"). A capital
// abbreviation is a title or part of a name ("Sr. Silva", "Av. Brasil"):
// its period is only the abbreviation's.
bool period_ends_sentence(const std::string& text, size_t period, const std::string& word) {
    size_t next = period + 1;
    while (next < text.size() && blank_at(text, next)) ++next;
    if (next >= text.size()) return true;
    unsigned char first = static_cast<unsigned char>(text[next]);
    bool capital_next = verna_is_letter(first) && verna_upper_char(first) == first;
    unsigned char own = static_cast<unsigned char>(word[0]);
    bool capital_word = verna_upper_char(own) == own;
    return capital_next && !capital_word;
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
    static const std::string dash_word = latin1("traço ");
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
        } else if (c == '-' && more && is_digit(text[pos + 1]) && pos > 0 && is_digit(text[pos - 1])) {
            // Digit groups joined by a hyphen (a CPF's "789-00") are one code.
            out += dash_word;
            ++pos;
        } else if (c == '-' && more && is_digit(text[pos + 1])) {
            out += "menos ";
            ++pos;
        } else if (is_digit(c)) {
            // Digits right after letters start a word of their own ("linha1").
            if (pos > 0 && letter_at(text, pos - 1)) out += ' ';
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
            if (pos < text.size() && text[pos] == '.' && blank_at(text, pos + 1)) expansion = verna_abbreviation(word);
            if (!expansion.empty()) {
                out += expansion;
                if (!period_ends_sentence(text, pos, word)) ++pos;
            } else {
                out += word;
            }
        } else if (text.compare(pos, 3, "...") == 0) {
            out += "... ";
            pos += 3;
        } else if (c == '.' && pos > 0 && !blank_at(text, pos - 1) && !blank_at(text, pos + 1)) {
            // Only a period between two characters that are not blanks is a
            // spoken dot ("um.dois"); one before a line end ends a sentence.
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
