// Finding the stressed letter of a Portuguese word.
#include "verna/letter_rules.h"

#include <string>

#include "verna/letters.h"

namespace {
// An acute or circumflex accent marks the stressed vowel wherever it stands
// (órgão, bênção, ímã); a tilde marks nasality, and the stress only when no
// other accent does (irmã, limões). The grave of a contraction marks neither
// (àquela). A diminutive in -zinho or -zinha keeps the tilde of its noun but
// takes the stress itself (pãozinho, mãozinha, irmãozinho).
bool stress_accent(unsigned char c) {
    switch (c) {
        case 0xe1: case 0xe2: case 0xe9: case 0xea: case 0xed: case 0xf3: case 0xf4: case 0xfa:
            return true;
        default:
            return false;
    }
}

bool tilde(unsigned char c) { return c == 0xe3 || c == 0xf5; }

bool stress_vowel(unsigned char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'w' || c == 'y' || c == 0xfc;
}

bool among(unsigned char c, const char* set) {
    for (; *set; ++set)
        if (c == static_cast<unsigned char>(*set)) return true;
    return false;
}

bool vowel_letter(unsigned char c) {
    return among(c, "aeiou\xe0\xe1\xe2\xe3\xe9\xea\xed\xf3\xf4\xf5\xfa\xfc");
}

bool diminutive(const std::string& word) {
    for (std::string ending : {"zinho", "zinha", "zinhos", "zinhas"})
        if (word.size() > ending.size() && word.compare(word.size() - ending.size(), ending.size(), ending) == 0)
            return true;
    return false;
}
}  // namespace

int verna_find_stress(const std::string& original) {
    std::string word = verna_lower(original);
    int n = static_cast<int>(word.size());
    for (int p = n; p >= 1; --p)
        if (stress_accent(static_cast<unsigned char>(word[p - 1]))) return p;
    if (!diminutive(word))
        for (int p = n; p >= 1; --p)
            if (tilde(static_cast<unsigned char>(word[p - 1]))) return p;
    // A plural in -ens keeps the stress of its singular in -em (itens, item;
    // homens, homem): the letters before the e are the same in both.
    if (n >= 3 && word.compare(size_t(n - 3), 3, "ens") == 0) {
        word.resize(size_t(n - 2));
        word += 'm';
        --n;
    }
    bool any_vowel = false;
    for (char c : word) any_vowel = any_vowel || stress_vowel(static_cast<unsigned char>(c));
    if (!any_vowel) return 0;

    // From the end: the last vowel of a word ending in a, e, o (with s, m)
    // gives way to the one before; endings in i, u, consonants keep theirs.
    auto letter = [&](int p) { return p >= 1 && p <= n ? static_cast<unsigned char>(word[size_t(p - 1)]) : 0; };
    // An i or u after a vowel that l, m, n, r or z closes in its own syllable
    // (or nh follows) is stressed without an accent: ainda, saindo,
    // construirmos, rainha.
    auto closed_hiatus = [&](int p) {
        unsigned char next = letter(p + 1), after = letter(p + 2);
        if (!vowel_letter(letter(p - 1))) return false;
        if (next == 'n' && after == 'h') return true;
        if ((next == 'r' && after == 'r') || (next == 'l' && after == 'h')) return false;  // bairro: rr opens the next syllable
        return among(next, "lmnrz") && (after == 0 || !vowel_letter(after));
    };
    int state = 0, result = 0;
    bool stopped = false;
    for (int p = n; p >= 1; --p) {
        unsigned char c = static_cast<unsigned char>(word[p - 1]);
        bool vowel = stress_vowel(c);
        bool stop = false;
        switch (state) {
            case 0:
                if (among(c, "aeo")) result = p, state = 1;
                else if (c == 'u') result = p, state = 10;
                else if (c == 'i') result = p, state = 20;
                else if (c == 's') state = 0;
                else if (c == 'm') state = 40;
                else state = 30;
                break;
            case 1:
                // ai, ei, oi, ui before the last vowel are one syllable:
                // praia, meio, bombardeie, alheiam, cuia, aleluia (but the
                // u of gu and qu is no vowel there: seguia).
                if (c == 'u') state = 4;
                else if (c == 'i' && among(letter(p - 1), "aeo")) result = p - 1, stop = true;
                else if (c == 'i' && letter(p - 1) == 'u' && !among(letter(p - 2), "gq")) result = p - 1, stop = true;
                else if (vowel) result = p, stop = true;
                else state = 2;
                break;
            case 2:
                if (among(c, "aeo")) result = p, stop = true;
                else if (among(c, "iu")) result = p, state = 3, stop = closed_hiatus(p);
                break;
            case 3:
                if (among(c, "aeo")) result = p, stop = true;
                else if (c == 'u') state = 5;
                else stop = true;
                break;
            case 4:
                if (among(c, "gq")) result = p + 2, state = 2;
                else result = p + 1, stop = true;
                break;
            case 5:
                result = among(c, "gq") ? p + 2 : p + 1;
                stop = true;
                break;
            case 10:
                if (among(c, "aeio")) result = p;
                stop = true;
                break;
            case 20:
                // -ai, -ei, -oi at the end: that diphthong is stressed
                // (torneai, pranteei, gradueis), whatever stands before it.
                if (among(c, "aeo")) result = p, stop = true;
                else if (c == 'u') state = 21;
                else stop = true;
                break;
            case 21:
                result = among(c, "gq") ? p + 2 : p + 1;
                stop = true;
                break;
            case 30:
                if (vowel) result = p, stop = true;
                break;
            case 40:
                if (among(c, "iou")) result = p, stop = true;
                else if (among(c, "ae")) result = p, state = 1;
                else state = 0;
                break;
        }
        if ((stopped = stop)) break;
    }
    // A word that begins with the diphthong ui before the last syllable: the
    // u is stressed (uivo, as ruivo).
    if (!stopped && (state == 5 || state == 21)) result = 1;
    return result;
}
