// The word set that decides a voice's units, and the units it asks for.
#include "diphone/inventory.h"

#include <fstream>
#include <sstream>

#include "diphone/diphone.h"
#include "diphone/rules.h"
#include "util/latin1.h"

namespace {

const char* const ONSETS[] = {"",   "b",  "c",  "ç",  "d",  "f",  "g",  "h",  "j",  "k",  "l",  "m",  "n",  "p",
                              "qu", "r",  "s",  "t",  "v",  "x",  "z",  "ch", "lh", "nh", "gu", "rr", "ss", "sc",
                              "xc", "br", "cr", "dr", "fr", "gr", "pr", "tr", "vr", "bl", "cl", "fl", "gl", "pl",
                              "tl", "ps", "pn", "gn", "ct", "pt", "bs", "dv", "mn", "tm", "sç"};
const char* const NUCLEI[] = {"a",  "e",  "i",  "o",  "u",  "á",  "é",  "í",  "ó",  "ú",  "â",  "ê",  "ô",
                              "ã",  "õ",  "à",  "ü",  "ai", "ei", "oi", "ui", "au", "eu", "ou", "iu", "ão",
                              "ãe", "õe", "ãi", "ua", "ue", "uo", "ia", "ie", "io", "éu", "éi", "ói", "ái",
                              "êi", "ôo", "ee", "oo", "ae", "ao", "ea", "eo", "oa", "oe", "iá", "iu", "uí"};
const char* const CODAS[] = {"", "s", "r", "l", "m", "n", "x", "z", "ns", "rs", "ls", "is", "us", "ms", "bs", "ps", "c", "t", "d", "p", "g", "b", "k"};
// Around a syllable: alone, word-initial, word-final, inside a word.
const char* const LEFT[] = {"", "", "pa", "an", "as", "ar", "al", "i", "e", "o", "u"};
const char* const RIGHT[] = {"", "a", "", "ta", "e", "o", "i", "", "a", "ca", "", ""};

bool is_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 192; }

}  // namespace

std::vector<std::string> diphone_inventory_words() {
    std::vector<std::string> words;
    for (const char* o : ONSETS)
        for (const char* n : NUCLEI)
            for (const char* k : CODAS) {
                std::string syl = latin1(std::string(o) + n + k);
                for (size_t i = 0; i < sizeof LEFT / sizeof LEFT[0]; ++i) words.push_back(latin1(LEFT[i]) + syl + latin1(RIGHT[i]));
            }
    return words;
}

std::vector<std::string> diphone_exception_words(const std::string& path) {
    std::vector<std::string> words;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        std::string key = line.substr(0, eq);
        while (!key.empty() && (key.back() == '\r' || key.back() == ' ')) key.pop_back();
        if (key.empty() || eq == std::string::npos) continue;
        words.push_back(key);
        words.push_back(key + "s");
    }
    return words;
}

std::vector<std::string> diphone_text_words(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = latin1(ss.str());
    std::vector<std::string> words;
    std::string w;
    for (char c : text) {
        if (is_letter(static_cast<unsigned char>(c))) {
            w += c;
        } else if (!w.empty()) {
            words.push_back(w);
            w.clear();
        }
    }
    if (!w.empty()) words.push_back(w);
    return words;
}

std::set<std::string> diphone_inventory_units(const std::vector<std::string>& words) {
    std::set<std::string> units;
    for (const std::string& w : words)
        for (const std::string& u : diphone_requested_units(rules_text_to_phonemes(w), false)) units.insert(u);
    return units;
}
