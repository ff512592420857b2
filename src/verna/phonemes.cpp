// From pattern lines to phoneme lines: rule matching with context classes,
// the stress mark, pause lines and the linking of final r and s.
#include "verna/letter_rules.h"

#include <cstdint>

#include "verna/letters.h"
#include "verna/rule_table.h"

namespace {
bool in(unsigned char c, const char* set) {
    for (; *set; ++set)
        if (c == static_cast<unsigned char>(*set)) return true;
    return false;
}

// Classes over upper-case letters (words are upper-cased before matching, and
// rules are written in capitals), in a table: the contexts test them for
// every letter of every word.
enum LetterClass : uint8_t { VOWEL = 1, CONSONANT = 2, FRONT_VOWEL = 4, OPEN_VOWEL = 8, SONORANT = 16, FINAL_TYPE = 32 };

struct LetterClasses {
    uint8_t of[256] = {};
    constexpr LetterClasses() {
        mark("AEIOU\xc0\xc1\xc2\xc3\xc9\xca\xcc\xcd\xd3\xd4\xd5\xd9\xda\xdc", VOWEL);
        mark("BCDFGHJKLMNPQRSTVWXYZ\xc7\xd1", CONSONANT);
        mark("EI\xc9\xcd", FRONT_VOWEL);
        mark("AO\xc1\xc2\xd3\xd4", OPEN_VOWEL);
        mark("LMNRZ", SONORANT);
        mark("NRS", FINAL_TYPE);
    }
    constexpr void mark(const char* letters, uint8_t cls) {
        for (; *letters; ++letters) of[static_cast<unsigned char>(*letters)] |= cls;
    }
};
constexpr LetterClasses CLASSES;

bool vowel(unsigned char c) { return CLASSES.of[c] & VOWEL; }
bool consonant(unsigned char c) { return CLASSES.of[c] & CONSONANT; }
bool front_vowel(unsigned char c) { return CLASSES.of[c] & FRONT_VOWEL; }
bool open_vowel(unsigned char c) { return CLASSES.of[c] & OPEN_VOWEL; }
bool sonorant(unsigned char c) { return CLASSES.of[c] & SONORANT; }
bool final_type(unsigned char c) { return CLASSES.of[c] & FINAL_TYPE; }

unsigned char up(const std::string& w, int i) { return static_cast<unsigned char>(w[i]); }

// The context after the group, from index `at` rightwards.
bool right_matches(const std::string& context, const std::string& w, int at) {
    const int n = static_cast<int>(w.size());
    for (char code : context) {
        bool inside = at < n;
        switch (code) {
            case '#':
                if (!inside || !vowel(up(w, at))) return false;
                ++at;
                break;
            case '%':
                if (inside) return false;
                break;
            case '&':
                if (!inside || !sonorant(up(w, at))) return false;
                ++at;
                break;
            case '*':
                if (!inside || !consonant(up(w, at)) || in(up(w, at), "LR")) return false;
                break;
            case '+':
                if (!inside || !front_vowel(up(w, at))) return false;
                ++at;
                break;
            case '[':
                if (inside && (!consonant(up(w, at)) || up(w, at) == 'H')) return false;
                break;
            case '\\':
                if (inside && up(w, at) == 'S') ++at;
                break;
            default:
                if (!inside || up(w, at) != static_cast<unsigned char>(code)) return false;
                ++at;
        }
    }
    return true;
}

// The context before the group, its last element first, from index `at`
// leftwards.
bool left_matches(const std::string& context, const std::string& w, int at) {
    for (int k = static_cast<int>(context.size()) - 1; k >= 0; --k) {
        char code = context[k];
        bool inside = at >= 0;
        switch (code) {
            case '#':
                if (!inside || !vowel(up(w, at))) return false;
                --at;
                break;
            case '%':
                if (inside) return false;
                break;
            case ']':
                if (!inside || !open_vowel(up(w, at))) return false;
                --at;
                break;
            case '_':
                if (inside) {
                    if (!vowel(up(w, at))) return false;
                    --at;
                }
                break;
            case '|':
                if (!inside || !final_type(up(w, at))) return false;
                --at;
                break;
            default:
                if (!inside || up(w, at) != static_cast<unsigned char>(code)) return false;
                --at;
        }
    }
    return true;
}

// Whether the word holds the group at `at` (groups are a letter or a few).
bool group_at(const std::string& word, int at, const std::string& group) {
    if (group.size() > word.size() - size_t(at)) return false;
    for (size_t k = 0; k < group.size(); ++k)
        if (word[size_t(at) + k] != group[k]) return false;
    return true;
}

const VernaRule* find_rule(const std::string& word, int at) {
    for (const VernaRule& rule : verna_rule_bucket(static_cast<unsigned char>(word[at]))) {
        if (!group_at(word, at, rule.group)) continue;
        if (!left_matches(rule.left, word, at - 1)) continue;
        if (!right_matches(rule.right, word, at + static_cast<int>(rule.group.size()))) continue;
        return &rule;
    }
    return nullptr;
}

bool is_pause_mark(char c) { return in(static_cast<unsigned char>(c), "!(),.:;?"); }

// Words of one or two letters lean on their neighbours (de, o, me, se), unless
// an acute, circumflex or tilde marks their vowel: pé, já, aí, lê are said
// stressed.
bool short_unstressed(const std::string& word) {
    static const char* const WORDS[] = {"POR", "DAS", "DOS", "COM", "N\xc3O", "SIM"};
    if (word.size() < 3) {
        for (char c : word)
            if (in(static_cast<unsigned char>(c), "\xc1\xc2\xc3\xc9\xca\xcd\xd3\xd4\xd5\xda")) return false;
        return true;
    }
    for (const char* w : WORDS)
        if (word == w) return true;
    return false;
}

// Swaps the phoneme name of a line, keeping the marks in front of it: r2 only
// before a vowel, s2 before a vowel or a voiced consonant.
void relink(std::string& line, bool before_vowel) {
    size_t marks = verna_phoneme_marks(line);
    std::string name = line.substr(marks);
    if (name == "r2" && before_vowel) line = line.substr(0, marks) + "r";
    else if (name == "s2") line = line.substr(0, marks) + "z";
}

// The voiced consonants, before which a final s is z (os dias, mais longe),
// as it is inside a word (mesmo, desde).
bool voiced_consonant(const std::string& name) {
    static const char* const NAMES[] = {"b", "d", "g", "j", "l", "lh", "m", "n", "nh", "r", "rr", "v", "z"};
    for (const char* n : NAMES)
        if (name == n) return true;
    return false;
}

// Final r2 and s2 before a word that begins with a vowel phoneme ("mar
// azul", "as aves"), and s2 before one that begins with a voiced consonant.
void link_words(VernaLines& lines) {
    // Line numbers here are 0-based: the first marker that can follow a word is at 3.
    for (size_t i = 3; i + 1 < lines.size(); ++i) {
        if (lines[i].empty() || lines[i][0] != ';') continue;
        const std::string& next = lines[i + 1];
        size_t marks = verna_phoneme_marks(next);
        bool vowel = marks < next.size() && in(static_cast<unsigned char>(next[marks]), "aeiouwy");
        if (vowel || voiced_consonant(next.substr(marks))) relink(lines[i - 2], vowel);
        ++i;
    }
}
}  // namespace

void verna_convert_word(const std::string& any_case, int stress, VernaLines& out) {
    const std::string word = verna_upper(any_case);
    std::string acc;
    bool marked = false;
    const int n = static_cast<int>(word.size());
    int at = 0;
    while (at < n) {
        const VernaRule* rule = find_rule(word, at);
        if (!rule) {
            ++at;  // no rule: the letter is silent
            continue;
        }
        std::string_view output(rule->output);
        // The open e and o of an ending rule (-ore, -ola, -eca) are closed
        // after the stress: árvore, pérola, biblioteca are open only where
        // they are stressed.
        const bool after_stress = marked;
        if (!output.empty() && !marked && stress > 0 && at + 1 >= stress) {
            acc += '>';
            marked = true;
        }
        auto emit = [&]() {
            if (after_stress && (acc == "ee" || acc == "oo")) acc.resize(1);
            out.push_back(std::move(acc));
            acc.clear();
        };
        for (char c : output) {
            if (c == '&') emit();
            else acc += c;
        }
        if (!output.empty()) emit();
        at += static_cast<int>(rule->group.size());
    }
    out.push_back(std::move(acc));
}

VernaLines verna_text_to_phonemes(const VernaLines& patterns) {
    VernaLines out;
    out.reserve(patterns.size() * 8);
    for (const std::string& pattern : patterns) {
        out.emplace_back().append(1, ';').append(pattern);
        std::string text = verna_upper(pattern.size() > 4 ? std::string_view(pattern).substr(4) : std::string_view());
        if (text.empty()) {
            out.push_back("__");
            out.push_back("");
        } else if (text[0] == ' ' || is_pause_mark(text[0])) {
            if (text[0] != ' ') out.push_back(std::string("_") + text[0]);
        } else {
            std::string word = verna_exception_lookup(text);
            int stress = short_unstressed(word) ? 0 : verna_find_stress(word);
            verna_convert_word(word, stress, out);
        }
    }
    out.push_back("__");
    link_words(out);
    return out;
}
