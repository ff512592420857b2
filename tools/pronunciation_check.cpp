// Measures the own synthesizer's rules, or the Portuguese engine's (with
// --verna), against espeak-ng's Brazilian
// Portuguese on word lists: both pronunciations are brought to one coarse
// alphabet, compared word by word, and the disagreements are counted by
// pattern. espeak-ng is a yardstick, not the truth: a judgements file lists
// the words where a Brazilian speaker says what our rules say.
//
// The coarse alphabet keeps what a listener hears as a different word or a
// foreign accent and drops what the two transcriptions write differently
// for the same sound:
//   - every a quality is one a (espeak-ng writes a, the reduced a and a
//     final a three ways; our closed a^ is the reduced one);
//   - e and o are open (E, O) or closed (e, o) only in the stressed
//     syllable; before the stress the mid vowels vary by region;
//   - glides are the vowels i and u (espeak-ng writes hiatus and
//     diphthong inconsistently, "tia" as one vowel run);
//   - a vowel before m, n or nh is oral (both languages nasalise it there);
//     the m, n or velar nasal that espeak-ng writes after a nasal vowel
//     before a consonant is part of the nasal vowel; a nasal e followed by
//     its i glide is the nasal e alone; the glide of a nasal diphthong
//     ("mão", "põem") is written oral;
//   - a syllable-final l is u (espeak-ng keeps a spoken l in some words,
//     "sol", which Brazilian speech does not have);
//   - lh is l followed by the glide i, as espeak-ng writes it;
//   - any r before a consonant or at the end is one strong R (its sound
//     varies by region); between vowels and after a consonant the tap r
//     and the strong R stay apart;
//   - the i that our rules put after a consonant that closes no syllable
//     ("pacto" pa-ki-tu) is dropped with the palatal t or d it makes:
//     espeak-ng does not write it.
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "diphone/rules.h"
#include "util/latin1.h"
#include "verna/abbreviations.h"
#include "verna/letter_rules.h"
#include "verna/normalise.h"
#include "verna/tokens.h"

namespace {

struct Phone {
    std::string s;
    bool stressed = false;
    bool offglide = false;  // the second vowel letter of one espeak-ng diphthong
};
using Phones = std::vector<Phone>;

bool is_vowel_phone(const Phone& p) { return !p.s.empty() && std::strchr("aeEioOu", p.s[0]); }
bool is_nasal(const Phone& p) { return is_vowel_phone(p) && p.s.size() == 2 && p.s[1] == '~'; }

std::string render(const Phones& ph) {
    std::string out;
    for (const Phone& p : ph) out += (p.stressed ? "'" : "") + p.s;
    return out;
}

// Our phoneme string, one word: "[k/o^ /rr/e^ /d/O^rr ]".
Phones from_rules(const std::string& text) {
    Phones out;
    std::vector<std::string> segments;
    std::string seg;
    for (char c : text) {
        if (c == '/' || c == '[' || c == ']') {
            segments.push_back(seg);
            seg.clear();
        } else {
            seg += c;
        }
    }
    segments.push_back(seg);
    for (std::string s : segments) {
        s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
        if (s.empty()) continue;
        if (s[0] == '_') {
            out.push_back({"?" + s.substr(1)});
            continue;
        }
        auto vowel = [](char c) { return c && std::strchr("aeiouAEIOU", c); };
        // A consonant rule that also speaks a vowel is an epenthesis.
        if (!vowel(s[0]) && std::any_of(s.begin(), s.end(), vowel)) {
            std::string kept;
            for (char c : s)
                if (!vowel(c)) kept += c;
            if (kept == "tch") kept = "t";
            if (kept == "dj") kept = "d";
            s = kept;
        }
        for (size_t i = 0; i < s.size();) {
            auto at = [&](const char* t) { return s.compare(i, std::strlen(t), t) == 0; };
            if (at("tch")) { out.push_back({"C"}); i += 3; continue; }
            static const char* const pairs[][2] = {{"dj", "J"}, {"nh", "N"}, {"lh", "L"}, {"rr", "R"}};
            bool done = false;
            for (const auto& p : pairs)
                if (at(p[0])) {
                    out.push_back({p[1]});
                    i += 2;
                    done = true;
                    break;
                }
            if (done) continue;
            char c = s[i];
            char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            bool stressed = c >= 'A' && c <= 'Z';
            char mark = i + 1 < s.size() ? s[i + 1] : 0;
            if (std::strchr("aeiou", lc)) {
                std::string v(1, lc);
                if (lc == 'e' && mark != '^') v = "E";
                if (lc == 'o' && mark != '^') v = "O";
                if (mark == '~') v = std::string(1, lc) + "~";
                out.push_back({v, stressed});
                i += (mark == '^' || mark == '~') ? 2 : 1;
                continue;
            }
            const char* map = nullptr;
            switch (lc) {
            case 'x': map = "S"; break;
            case 'j': map = "Z"; break;
            case 'y': map = "i"; break;
            case 'w': map = "u"; break;
            default:
                if (std::strchr("pbtdkgfvszmnlr", lc)) out.push_back({std::string(1, lc)});
                else out.push_back({std::string("?") + c});
            }
            if (map) out.push_back({map});
            ++i;
        }
    }
    return out;
}

// The Portuguese engine's phoneme lines for one word, as MBROLA names:
// "k >a ¨z a". The stress mark goes to the first vowel at or after it; t and
// d before the sound i are the voice's palatal diphones.
Phones from_verna(const std::string& utf8_word) {
    VernaLines lines =
        verna_text_to_phonemes(verna_assign_patterns(verna_tokenise(verna_normalise_text(latin1(utf8_word)))));
    std::vector<std::string> names;
    std::vector<bool> marked;
    for (const std::string& l : lines) {
        if (l.empty() || l[0] == ';' || l[0] == '_') continue;
        bool m = false;
        std::string name;
        for (char c : l) {
            if (c == '>') m = true;
            else if (c != '\xa8') name += c;
        }
        names.push_back(name);
        marked.push_back(m);
    }
    static const std::map<std::string, std::string> MAP = {
        {"a", "a"},  {"@", "a"},  {"am", "a~"}, {"e", "e"},  {"ee", "E"}, {"em", "e~"}, {"i", "i"},
        {"im", "i~"}, {"o", "o"},  {"oo", "O"},  {"om", "o~"}, {"u", "u"},  {"um", "u~"}, {"y", "i"},
        {"w", "u"},  {"j", "Z"},  {"x", "S"},  {"lh", "L"}, {"nh", "N"}, {"rr", "R"}, {"r2", "R"},
        {"s2", "s"}};
    Phones out;
    bool stress_pending = false;
    for (size_t i = 0; i < names.size(); ++i) {
        stress_pending |= marked[i];
        auto it = MAP.find(names[i]);
        std::string s = it != MAP.end() ? it->second : names[i];
        bool before_i = i + 1 < names.size() && (names[i + 1] == "i" || names[i + 1] == "im" || names[i + 1] == "y");
        if (s == "t" && before_i) s = "C";
        if (s == "d" && before_i) s = "J";
        Phone p{s};
        if (stress_pending && is_vowel_phone(p)) {
            p.stressed = true;
            stress_pending = false;
        }
        out.push_back(p);
    }
    return out;
}

uint32_t next_code(const std::string& s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return cp;
}

// espeak-ng's IPA, phonemes separated by ".": "k.ˈa.z.æ". Where it marks
// no primary stress, its last secondary stress stands for it.
Phones from_espeak(const std::string& ipa) {
    Phones out;
    int stress = 0;  // 1 secondary, 2 primary, for the next vowel
    int primary = -1, secondary = -1;
    bool token_has_vowel = false;
    uint32_t prev = 0;  // the code before this one in the same phoneme
    for (size_t i = 0; i < ipa.size();) {
        uint32_t cp = next_code(ipa, i);
        uint32_t before = prev;
        prev = cp;
        const char* v = nullptr;
        std::string c;
        switch (cp) {
        case '.': case ' ': case '_': token_has_vowel = false; prev = 0; continue;
        case 0x2C8: stress = 2; continue;
        case 0x2CC: stress = std::max(stress, 1); continue;
        case 0x2D0: continue;
        case 0x259: continue;  // the vowel it breaks a closing r with ("parto" pa-r-ə-tu)
        case 0x303: {  // combining tilde: the first vowel of a run is nasal, not its glide
            bool glide = out.size() >= 2 && is_vowel_phone(out[out.size() - 2]) &&
                         (out.back().s == "i" || out.back().s == "u");
            if (!out.empty() && is_vowel_phone(out.back()) && !glide && out.back().s.size() == 1)
                out.back().s += "~";
            continue;
        }
        case 0x14B: c = "n"; break;  // the velar nasal closing a nasal vowel
        case 'a': case 0x250: case 0xE6: v = "a"; break;
        case 'e': v = "e"; break;
        case 0x25B: v = "E"; break;
        case 'i': case 0x26A: case 'y': case 'j': case 0x268: v = "i"; break;
        case 'o': v = "o"; break;
        case 0x254: v = "O"; break;
        case 'u': case 0x28A: case 'w': v = "u"; break;
        case 0x261: case 'g': c = "g"; break;
        case 0x283: c = (before == 't') ? "C" : "S"; break;
        case 0x292: c = (before == 'd') ? "J" : "Z"; break;
        case 0x272: c = "N"; break;
        case 0x28E: c = "L"; break;
        case 0x27E: case 'r': c = "r"; break;
        case 'x': case 'h': case 0x3C7: case 0x281: case 0x263: c = "R"; break;
        default:
            if (cp < 0x80 && std::strchr("pbtdkfvszmnl", static_cast<int>(cp))) {
                c = std::string(1, static_cast<char>(cp));
            } else {
                char buf[16];
                std::snprintf(buf, sizeof buf, "?%X", cp);
                c = buf;
            }
        }
        if (!c.empty()) {
            if (c == "C" || c == "J") out.pop_back();
            out.push_back({c});
            continue;
        }
        Phone p{v, false, token_has_vowel};
        if (stress && !token_has_vowel) {
            (stress == 2 ? primary : secondary) = static_cast<int>(out.size());
            stress = 0;
        }
        token_has_vowel = true;
        out.push_back(p);
    }
    int mark = primary >= 0 ? primary : secondary;
    if (mark >= 0) out[static_cast<size_t>(mark)].stressed = true;
    return out;
}

// The collapses both sides share.
Phones coarse(Phones ph) {
    auto vowel_at = [&](size_t i) { return i < ph.size() && is_vowel_phone(ph[i]); };
    Phones a;
    for (const Phone& p : ph) {
        if (p.s == "L") {
            a.push_back({"l"});
            a.push_back({"i"});
        } else {
            a.push_back(p);
        }
    }
    ph.swap(a);
    for (size_t i = 0; i < ph.size(); ++i) {
        if (ph[i].s == "l" && !vowel_at(i + 1)) ph[i].s = "u";
        if ((ph[i].s == "r" || ph[i].s == "R") && !vowel_at(i + 1)) ph[i].s = "R";
    }
    Phones b;
    for (size_t i = 0; i < ph.size(); ++i) {
        Phone p = ph[i];
        // m or n closing a syllable is the nasal vowel before it.
        if ((p.s == "m" || p.s == "n") && !vowel_at(i + 1) && !b.empty() && is_vowel_phone(b.back())) {
            if (b.back().offglide && b.back().s == "i" && b.size() >= 2 && b[b.size() - 2].s == "e") {
                bool st = b.back().stressed;
                b.pop_back();
                b.back().stressed |= st;
            }
            // After the glide of a nasal diphthong ("põem" o~ j m) it adds nothing.
            bool nasal_glide = b.size() >= 2 && is_nasal(b[b.size() - 2]) && (b.back().s == "i" || b.back().s == "u");
            if (b.back().s.size() == 1 && !nasal_glide) b.back().s += "~";
            continue;
        }
        if (p.s == "i" && !p.stressed && !b.empty() && b.back().s == "e~") continue;
        // The diphthong ou is spoken o.
        if (p.s == "u" && !p.stressed && !b.empty() && b.back().s == "o" && !vowel_at(i + 1)) continue;
        b.push_back(p);
    }
    ph.swap(b);
    for (size_t i = 0; i < ph.size(); ++i) {
        if (is_nasal(ph[i]) && i + 1 < ph.size() && (ph[i + 1].s == "m" || ph[i + 1].s == "n" || ph[i + 1].s == "N"))
            ph[i].s.resize(1);
        if (!ph[i].stressed && ph[i].s == "E") ph[i].s = "e";
        if (!ph[i].stressed && ph[i].s == "O") ph[i].s = "o";
    }
    // An unstressed e opening the word before s is i ("estou" is-tou).
    if (ph.size() > 1 && ph[0].s == "e" && !ph[0].stressed && (ph[1].s == "s" || ph[1].s == "z")) ph[0].s = "i";
    // A word of one vowel run that neither side marks takes the stress on it.
    bool any = false;
    int runs = 0;
    for (size_t i = 0; i < ph.size(); ++i) {
        any |= ph[i].stressed;
        if (is_vowel_phone(ph[i]) && (i == 0 || !is_vowel_phone(ph[i - 1]))) ++runs;
    }
    if (!any && runs == 1)
        for (Phone& p : ph)
            if (is_vowel_phone(p)) {
                p.stressed = true;
                break;
            }
    return ph;
}

// Vowels after the stressed one, or -1 when nothing is stressed.
int stress_from_end(const Phones& ph) {
    for (size_t i = 0; i < ph.size(); ++i)
        if (ph[i].stressed) {
            int n = 0;
            for (size_t k = i + 1; k < ph.size(); ++k) n += is_vowel_phone(ph[k]) && !is_vowel_phone(ph[k - 1]);
            return n;
        }
    return -1;
}

// Ours with the s before a voiced consonant written z. The rules write z there
// (mesmo, desde, Israel) and the engine says it as well as the voice can
// (neither Brazilian voice has a diphone from z to a consonant); a word that
// still differs from espeak-ng only by a voiceless s there is counted apart,
// so that the figure stays comparable with measurements made before.
Phones voiced_before_voiced(Phones ph) {
    for (size_t i = 0; i + 1 < ph.size(); ++i)
        if (ph[i].s == "s" && std::strchr("bdgvmnlrRZJ", ph[i + 1].s[0]) && ph[i + 1].s.size() == 1) ph[i].s = "z";
    return ph;
}

struct Edit {
    std::string ours, theirs;
};

// Edit distance over the phones (stress aside), with the runs of edits.
int align(const Phones& a, const Phones& b, std::vector<Edit>& runs) {
    size_t n = a.size(), m = b.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i)
        for (size_t j = 1; j <= m; ++j)
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1].s != b[j - 1].s)});
    std::vector<Edit> ops;  // backwards; an empty pair ends a run
    size_t i = n, j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && d[i][j] == d[i - 1][j - 1] + (a[i - 1].s != b[j - 1].s)) {
            if (a[i - 1].s != b[j - 1].s) ops.push_back({a[i - 1].s, b[j - 1].s});
            else ops.push_back({});
            --i, --j;
        } else if (i > 0 && d[i][j] == d[i - 1][j] + 1) {
            ops.push_back({a[i - 1].s, ""});
            --i;
        } else {
            ops.push_back({"", b[j - 1].s});
            --j;
        }
    }
    std::reverse(ops.begin(), ops.end());
    Edit cur;
    bool open = false;
    for (const Edit& e : ops) {
        if (e.ours.empty() && e.theirs.empty()) {
            if (open) runs.push_back(cur);
            cur = {};
            open = false;
        } else {
            cur.ours += e.ours;
            cur.theirs += e.theirs;
            open = true;
        }
    }
    if (open) runs.push_back(cur);
    return d[n][m];
}

std::string read_file(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// "word = pronunciation | why": the coarse pronunciation a Brazilian
// speaker gives the word, where espeak-ng says something else.
bool read_judgements(const std::string& path, std::map<std::string, std::string>& out) {
    bool ok;
    std::istringstream in(read_file(path, ok));
    if (!ok) return false;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        size_t eq = line.find('=');
        size_t bar = line.find('|');
        if (eq == std::string::npos || bar == std::string::npos || bar < eq) {
            std::fprintf(stderr, "%s:%d: not \"word = pronunciation | why\"\n", path.c_str(), number);
            return false;
        }
        auto trim = [](std::string s) {
            size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t\r");
            return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
        };
        out[trim(line.substr(0, eq))] = trim(line.substr(eq + 1, bar - eq - 1));
    }
    return true;
}

std::vector<std::string> read_words(const std::string& path, bool& ok) {
    std::istringstream in(read_file(path, ok));
    std::vector<std::string> words;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ws(line);
        std::string w;
        while (ws >> w) words.push_back(w);
    }
    return words;
}

std::string espeak_ipa(const std::string& word) {
    const void* text = word.c_str();
    std::string all;
    while (text) {
        const char* p = espeak_TextToPhonemes(&text, espeakCHARS_UTF8, espeakPHONEMES_IPA | ('.' << 8));
        if (!p) break;
        if (!all.empty()) all += ' ';
        all += p;
    }
    return all;
}

struct Options {
    std::map<std::string, std::string> judged;
    double minimum = -1;
    bool list = false;
    bool verna = false;
    int top = 15;
};

struct Pattern {
    int count = 0;
    std::vector<std::string> examples;
};

bool check_list(const std::string& path, const Options& opt) {
    bool ok;
    std::vector<std::string> words = read_words(path, ok);
    if (!ok || words.empty()) {
        std::fprintf(stderr, "pronunciation_check: %s: %s\n", path.c_str(), ok ? "no words" : "cannot be read");
        return false;
    }
    int agree = 0, judged = 0, voice_held = 0, stress_agree = 0, edits = 0, phones = 0;
    std::map<std::string, Pattern> patterns;
    for (const std::string& w : words) {
        Phones ours = coarse(opt.verna ? from_verna(w) : from_rules(rules_text_to_phonemes(latin1(w))));
        Phones theirs = coarse(from_espeak(espeak_ipa(w)));
        std::string o = render(ours), t = render(theirs);
        std::vector<Edit> runs;
        edits += align(ours, theirs, runs);
        phones += static_cast<int>(theirs.size());
        int so = stress_from_end(ours), st = stress_from_end(theirs);
        stress_agree += so == st;
        if (o == t) {
            ++agree;
            continue;
        }
        auto j = opt.judged.find(w);
        bool right = j != opt.judged.end() && j->second == o;
        bool held = !right && render(voiced_before_voiced(ours)) == t;
        judged += right;
        voice_held += held;
        if (opt.list)
            std::printf("%-22s ours %-22s espeak-ng %-22s%s\n", w.c_str(), o.c_str(), t.c_str(),
                        right ? " judged right" : held ? " s for z" : "");
        if (right || held) continue;
        if (so != st) runs.push_back({"stress " + std::to_string(so), "stress " + std::to_string(st)});
        for (const Edit& e : runs) {
            Pattern& p = patterns[(e.ours.empty() ? "-" : e.ours) + " > " + (e.theirs.empty() ? "-" : e.theirs)];
            ++p.count;
            if (p.examples.size() < 4) p.examples.push_back(w);
        }
    }
    int n = static_cast<int>(words.size());
    double accuracy = 100.0 * (agree + judged) / n;
    std::printf("%s: %d words\n", path.c_str(), n);
    std::printf("  agree with espeak-ng     %5d  %5.1f%%\n", agree, 100.0 * agree / n);
    std::printf("  judged right otherwise   %5d\n", judged);
    std::printf("  word accuracy            %5.1f%%\n", accuracy);
    std::printf("  s for z before voiced    %5d  (accuracy with them %.1f%%)\n", voice_held,
                100.0 * (agree + judged + voice_held) / n);
    std::printf("  phoneme error rate       %5.1f%%  (%d edits over %d phonemes)\n",
                phones ? 100.0 * edits / phones : 0.0, edits, phones);
    std::printf("  stress agreement         %5.1f%%\n", 100.0 * stress_agree / n);
    std::vector<std::pair<std::string, Pattern>> sorted(patterns.begin(), patterns.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& x, const auto& y) { return x.second.count > y.second.count; });
    if (!sorted.empty()) std::printf("  most frequent disagreements (ours > espeak-ng):\n");
    for (int i = 0; i < static_cast<int>(sorted.size()) && i < opt.top; ++i) {
        std::string ex;
        for (const std::string& e : sorted[i].second.examples) ex += (ex.empty() ? "" : ", ") + e;
        std::printf("    %4d  %-20s %s\n", sorted[i].second.count, sorted[i].first.c_str(), ex.c_str());
    }
    if (opt.minimum >= 0 && accuracy < opt.minimum) {
        std::printf("  below the required %.1f%%\n", opt.minimum);
        return false;
    }
    return true;
}

int usage() {
    std::fprintf(stderr,
                 "usage: pronunciation_check regras.rgr portug.exc [--judgements FILE] [--min PERCENT]\n"
                 "                           [--list] [--top N] WORDLIST...\n"
                 "       pronunciation_check --verna DATADIR [the same options] WORDLIST...\n"
                 "  the rule and exception files are the UTF-8 sources of data/ (with --verna,\n"
                 "  the directory of the engine's portug.nrl, .exc and .abr); a word list has\n"
                 "  one or more words a line, lines starting with # are comments. --min makes the\n"
                 "  exit status 1 when a list's word accuracy is below PERCENT; --list prints every\n"
                 "  word where the two disagree.\n");
    return 2;
}

// The own synthesizer's rules and exceptions (UTF-8 sources).
bool load_rules(const char* rules_path, const char* exceptions_path) {
    bool ok1, ok2;
    std::string rules = latin1(read_file(rules_path, ok1));
    std::string exceptions = latin1(read_file(exceptions_path, ok2));
    if (!ok1 || !rules_load_text(rules, rules_path) || !ok2 || !rules_load_exceptions_text(exceptions, exceptions_path)) {
        std::fprintf(stderr, "pronunciation_check: cannot load %s and %s: %s\n", rules_path, exceptions_path,
                     rules_last_message().c_str());
        return false;
    }
    if (!rules_last_message().empty()) std::fprintf(stderr, "%s\n", rules_last_message().c_str());
    return true;
}

// The Portuguese engine's rules, exceptions and abbreviations from a
// directory of UTF-8 sources (data/verna).
bool load_verna(const std::string& dir) {
    bool ok1, ok2, ok3;
    std::string rules = latin1(read_file(dir + "/portug.nrl", ok1));
    std::string exceptions = latin1(read_file(dir + "/portug.exc", ok2));
    std::string abbreviations = latin1(read_file(dir + "/portug.abr", ok3));
    if (!ok1 || !ok2 || !ok3 || !verna_load_rules_text(rules, "portug.nrl") ||
        !verna_load_exceptions_text(exceptions, "portug.exc") ||
        !verna_load_abbreviations_text(abbreviations, "portug.abr")) {
        std::fprintf(stderr, "pronunciation_check: cannot load the engine's data in %s %s\n", dir.c_str(),
                     verna_rules_message().c_str());
        return false;
    }
    if (!verna_rules_message().empty()) std::fprintf(stderr, "%s\n", verna_rules_message().c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return usage();
    Options opt;
    std::vector<std::string> lists;
    for (int i = 3; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--judgements" && i + 1 < argc) {
            if (!read_judgements(argv[++i], opt.judged)) {
                std::fprintf(stderr, "pronunciation_check: cannot read the judgements %s\n", argv[i]);
                return 1;
            }
        } else if (a == "--min" && i + 1 < argc) {
            opt.minimum = std::atof(argv[++i]);
        } else if (a == "--top" && i + 1 < argc) {
            opt.top = std::atoi(argv[++i]);
        } else if (a == "--list") {
            opt.list = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return usage();
        } else {
            lists.push_back(a);
        }
    }
    if (lists.empty()) return usage();
    opt.verna = std::string(argv[1]) == "--verna";
    if (opt.verna ? !load_verna(argv[2]) : !load_rules(argv[1], argv[2])) return 1;
    if (espeak_Initialize(AUDIO_OUTPUT_RETRIEVAL, 0, nullptr, espeakINITIALIZE_DONT_EXIT) < 0 ||
        espeak_SetVoiceByName("pt-br") != EE_OK) {
        std::fprintf(stderr, "pronunciation_check: espeak-ng has no Brazilian Portuguese voice\n");
        return 1;
    }
    bool all = true;
    for (const std::string& l : lists) all &= check_list(l, opt);
    espeak_Terminate();
    return all ? 0 : 1;
}
