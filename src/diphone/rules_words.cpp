// Word scanning, the exceptions lookup with its s/m suffix loop, and the
// stress marking of words written without an accent.
#include <cstring>

#include "diphone/rules_tables.h"
#include "diphone/rules_text.h"
#include "util/latin1.h"

namespace {

unsigned char lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }
unsigned char upper(unsigned char c) { return ascii_upper(c); }
bool is_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_vowel(unsigned char c) { return std::strchr("aeiou", lower(c)) != nullptr && c != 0; }
bool is_consonant(unsigned char c) { return is_letter(c) && !is_vowel(c); }
bool is_mark(unsigned char c) { return c != 0 && std::strchr("\"'^`~", c) != nullptr; }

}  // namespace

bool rules_next_word(std::string_view text, size_t& pos, RulesWord& word) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos >= text.size()) return false;
    word.len = 0;
    word.vowels = 0;
    word.accented = false;
    unsigned char c = static_cast<unsigned char>(text[pos]);
    if (!is_letter(c)) {
        word.text[word.len++] = static_cast<char>(lower(c));
        ++pos;
    } else {
        while (pos < text.size() && word.len < RULES_MAX_WORD) {
            c = static_cast<unsigned char>(text[pos]);
            if (!is_letter(c) && !is_mark(c)) break;
            c = lower(c);
            if (is_vowel(c)) ++word.vowels;
            if (is_mark(c) && c != '"') word.accented = true;
            word.text[word.len++] = static_cast<char>(c);
            ++pos;
        }
    }
    word.text[word.len] = '\0';
    return true;
}

void rules_apply_exceptions(RulesWord& word) {
    char suffix[RULES_MAX_WORD + 1];
    int suffix_len = 0;
    int len = word.len;
    const char* found = rules_find_exception(word.text, len);
    while (!found && len > 0 && (word.text[len - 1] == 's' || word.text[len - 1] == 'm')) {
        // The suffix grows at its front; it is kept reversed and turned round below.
        suffix[suffix_len++] = word.text[--len];
        if (len > 0) found = rules_find_exception(word.text, len);
    }
    if (!found) return;
    char result[RULES_MAX_WORD + 1];
    int n = 0;
    for (const char* p = found; *p && n < RULES_MAX_WORD; ++p) result[n++] = *p;
    for (int i = suffix_len - 1; i >= 0 && n < RULES_MAX_WORD; --i) result[n++] = suffix[i];
    std::memcpy(word.text, result, static_cast<size_t>(n));
    word.len = n;
    word.text[n] = '\0';
    // A respelling that writes its stress ("porque=porque^") is marked
    // already; scanning it too would give the word a second stressed vowel.
    for (int i = 0; i < n; ++i)
        if (is_mark(static_cast<unsigned char>(result[i])) && result[i] != '"') word.accented = true;
}

void rules_mark_stress(RulesWord& word) {
    if (word.accented || word.vowels == 0) return;
    if (word.vowels == 1 && (word.len == 0 || word.text[word.len - 1] != 'l')) return;
    const unsigned char* w = reinterpret_cast<const unsigned char*>(word.text);
    int n = word.len;
    auto at = [&](int i) -> unsigned char { return (i >= 0 && i < n) ? lower(w[i]) : 0; };
    auto after_gq = [&](int i) { return at(i) == 'u' && (at(i - 1) == 'g' || at(i - 1) == 'q'); };
    int state = 0;
    int chosen = -1;
    for (int i = n - 1; i >= 0; --i) {
        if (chosen >= 0) {
            word.text[chosen] = static_cast<char>(upper(w[chosen]));
            return;
        }
        unsigned char c = at(i);
        switch (state) {
        case 0:
            if (c == 'a' || c == 'e' || c == 'o')
                state = 5;
            else if (c == 'i' || c == 'u')
                state = 3;
            else if (c && std::strchr("lnrxz", c))
                state = 1;
            else if (c == 'm')
                state = 2;
            else if (c == 's')
                state = 4;
            break;
        case 1:
            if (is_vowel(c)) chosen = i;
            break;
        case 2:
            if (c == 'a' || c == 'e')
                state = 5;
            else if (c == 'i' || c == 'u')
                state = 3;
            else if (c == 'o')
                chosen = i;
            break;
        case 3:
            // "qui" and "gui" keep the stress on their i.
            chosen = (is_consonant(c) || after_gq(i)) ? i + 1 : i;
            break;
        case 4:
            if (c == 'a' || c == 'e' || c == 'o')
                state = 5;
            else if (c == 'i' || c == 'u')
                state = 3;
            break;
        case 5:
            if (c == 'a' || c == 'e' || c == 'o')
                chosen = i;
            else if (c == 'i' || c == 'u')
                state = 8;
            break;
        case 8: {
            // The u of que, qui, gue and gui is no vowel of its own: the
            // scan goes on to the vowel before it ("parque", "clique").
            if ((c == 'q' || c == 'g') && at(i + 1) == 'u' && (at(i + 2) == 'e' || at(i + 2) == 'i')) {
                state = 5;
                break;
            }
            if (is_consonant(c) || after_gq(i)) {
                chosen = i + 1;
                break;
            }
            unsigned char d = at(i + 2), e = at(i + 3);
            bool closed = d && std::strchr("lmnrz", d) &&
                          ((d == 'n' && e == 'h') || (d == 'r' && e == 'r') || (is_consonant(e) && e != 'h'));
            chosen = closed ? i + 1 : i;
            break;
        }
        }
    }
    // A decision taken at the first letter ("alto", "rio", "uso") is applied
    // too: left unapplied, such words would have no stressed vowel at all.
    // An i or u passed at the first letter with no letter before it to
    // decide ("uso", "isso") is the stressed vowel itself.
    if (chosen < 0 && state == 8) chosen = 0;
    if (chosen >= 0 && chosen < n) word.text[chosen] = static_cast<char>(upper(w[chosen]));
}
