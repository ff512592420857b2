// Rule matching with its context symbols, spelling, and the whole-text
// conversion.
#include <array>
#include <cstring>

#include "diphone/rules_tables.h"
#include "diphone/rules_text.h"
#include "util/latin1.h"

namespace {

// Character classes by table: the converter asks them for every rule tried.
constexpr unsigned char CLASS_VOWEL = 1, CLASS_CONSONANT = 2, CLASS_MARK = 4, CLASS_SEPARATOR = 8;

constexpr std::array<unsigned char, 256> make_classes() {
    std::array<unsigned char, 256> t{};
    for (int c = 'a'; c <= 'z'; ++c) t[c] = t[c - 32] = CLASS_CONSONANT;
    for (char c : {'a', 'e', 'i', 'o', 'u'}) t[static_cast<unsigned char>(c)] = t[static_cast<unsigned char>(c - 32)] = CLASS_VOWEL;
    for (char c : {'"', '\'', '^', '`', '~'}) t[static_cast<unsigned char>(c)] = CLASS_MARK;
    for (char c : {' ', '!', ',', '.', ':', ';', '?'}) t[static_cast<unsigned char>(c)] = CLASS_SEPARATOR;
    return t;
}
constexpr std::array<unsigned char, 256> k_classes = make_classes();

unsigned char lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }
unsigned char upper(unsigned char c) { return ascii_upper(c); }
bool is_vowel(unsigned char c) { return k_classes[c] & CLASS_VOWEL; }
bool is_consonant(unsigned char c) { return k_classes[c] & CLASS_CONSONANT; }
bool is_mark(unsigned char c) { return k_classes[c] & CLASS_MARK; }
bool is_separator(unsigned char c) { return k_classes[c] & CLASS_SEPARATOR; }
bool is_vowel_or_mark(unsigned char c) { return is_vowel(c) || is_mark(c); }
bool is_a_or_o(unsigned char c) { return lower(c) == 'a' || lower(c) == 'o'; }

struct WordView {
    const unsigned char* w;
    const unsigned char* up;  // the word upper-cased once, for the literal comparisons
    int n;
    bool inside(int i) const { return i >= 0 && i < n; }
};

bool left_fits(const RuleRecord& r, const WordView& v, int pos) {
    int s = pos - 1;
    for (int k = r.left_len - 1; k >= 0; --k) {
        unsigned char sym = static_cast<unsigned char>(r.left[k]);
        switch (sym) {
        case '#':
            if (!v.inside(s) || !is_vowel_or_mark(v.w[s])) return false;
            while (v.inside(s) && is_vowel_or_mark(v.w[s])) --s;
            break;
        case '%':
            if (v.inside(s)) return false;
            break;
        case ']':
            if (!v.inside(s)) return false;
            if (is_a_or_o(v.w[s]))
                s -= 1;
            else if (is_mark(v.w[s]) && v.inside(s - 1) && is_a_or_o(v.w[s - 1]))
                s -= 2;
            else
                return false;
            break;
        case '_':
            if (!v.inside(s)) break;
            if (is_vowel(v.w[s]))
                s -= 1;
            else if (is_mark(v.w[s]) && v.inside(s - 1) && is_vowel(v.w[s - 1]))
                s -= 2;
            else
                return false;
            break;
        case '|':
            if (!v.inside(s) || (v.up[s] != 'N' && v.up[s] != 'R' && v.up[s] != 'S')) return false;
            --s;
            break;
        default:
            if (!v.inside(s) || v.up[s] != sym) return false;
            --s;
        }
    }
    return true;
}

bool right_fits(const RuleRecord& r, const WordView& v, int from) {
    int s = from;
    for (int k = 0; k < r.right_len; ++k) {
        unsigned char sym = static_cast<unsigned char>(r.right[k]);
        switch (sym) {
        case '#':
            if (!v.inside(s) || !is_vowel_or_mark(v.w[s])) return false;
            while (v.inside(s) && is_vowel_or_mark(v.w[s])) ++s;
            break;
        case '%':
            if (v.inside(s)) return false;
            break;
        case '*':
            if (!v.inside(s) || !is_consonant(v.w[s]) || lower(v.w[s]) == 'r' || lower(v.w[s]) == 'l') return false;
            break;
        case '+':
            if (!v.inside(s) || (lower(v.w[s]) != 'e' && lower(v.w[s]) != 'i')) return false;
            ++s;
            if (v.inside(s) && is_mark(v.w[s])) ++s;
            break;
        case '[':
            if (v.inside(s) && !(is_consonant(v.w[s]) && lower(v.w[s]) != 'h')) return false;
            break;
        case '\\':
            if (v.inside(s) && lower(v.w[s]) == 's') ++s;
            break;
        case '&':
            if (!v.inside(s) || !std::memchr("LMNRZ", v.up[s], 5)) return false;
            ++s;
            break;
        default:
            if (!v.inside(s) || v.up[s] != sym) return false;
            ++s;
        }
    }
    return true;
}

bool match_fits(const RuleRecord& r, const WordView& v, int pos) {
    for (int k = 0; k < r.match_len; ++k)
        if (!v.inside(pos + k) || v.up[pos + k] != static_cast<unsigned char>(r.match[k])) return false;
    return true;
}

void convert(const RulesWord& word, std::string& out) {
    unsigned char up[RULES_MAX_WORD + 1];
    for (int i = 0; i < word.len; ++i) up[i] = upper(static_cast<unsigned char>(word.text[i]));
    WordView v{reinterpret_cast<const unsigned char*>(word.text), up, word.len};
    out += '[';
    int pos = 0;
    while (pos < v.n) {
        unsigned char c = upper(v.w[pos]);
        char fallback[4] = {' ', '/', '_', static_cast<char>(c)};
        const char* text = fallback;
        int text_len = 4;
        int step = 1;
        const RuleRecord* all = rules_records();
        int count = 0;
        const short* cand = rules_candidates(c, pos + 1 < v.n ? up + pos + 1 : nullptr, count);
        for (int k = 0; k < count; ++k) {
            const RuleRecord* r = all + cand[k];
            int after = pos + r->match_len;
            if (match_fits(*r, v, pos) && left_fits(*r, v, pos) && right_fits(*r, v, after)) {
                text = r->output;
                text_len = static_cast<int>(std::strlen(r->output));
                step = r->match_len > 0 ? r->match_len : 1;
                break;
            }
        }
        size_t start = out.size();
        out.append(text, static_cast<size_t>(text_len));
        unsigned char stored = v.w[pos];
        if (stored >= 'A' && stored <= 'Z' && is_vowel(stored)) {
            for (size_t i = start; i < out.size(); ++i)
                if (is_vowel(static_cast<unsigned char>(out[i]))) {
                    out[i] = static_cast<char>(upper(static_cast<unsigned char>(out[i])));
                    break;
                }
        }
        pos += step;
        if (pos < v.n) out += '/';
    }
    out += ']';
}

bool spelled(const RulesWord& word) {
    if (word.len > 0 && word.text[0] == '\x01') return true;
    for (int i = 0; i < word.len; ++i) {
        unsigned char c = static_cast<unsigned char>(word.text[i]);
        if (!is_consonant(c) && !is_separator(c)) return false;
    }
    return true;
}

}  // namespace

void rules_word_to_phonemes(const RulesWord& word, std::string& out) {
    if (spelled(word)) {
        for (int i = 0; i < word.len; ++i) {
            out += "[ /_";
            out += word.text[i];
            out += ']';
        }
        return;
    }
    convert(word, out);
}

std::string rules_text_to_phonemes(std::string_view text) {
    std::string normal = rules_normalize(text);
    std::string out;
    out.reserve(normal.size() * 4 + 16);
    size_t pos = 0;
    RulesWord word;
    while (rules_next_word(normal, pos, word)) {
        rules_apply_exceptions(word);
        rules_mark_stress(word);
        rules_word_to_phonemes(word, out);
    }
    return out;
}
