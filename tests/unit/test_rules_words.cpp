// The pronunciation we intend for Portuguese words: each word's phoneme
// string from the project's rule file and exceptions, as the table in
// tests/data/rules_words.txt gives it, and the shapes the rule file's
// outputs and exception keys must keep.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "diphone/rules.h"
#include "game/texts.h"
#include "rules_test_support.h"
#include "util/latin1.h"

namespace {

// The table of tests/data/rules_words.txt: a word (Latin-1), its phonemes
// and its line.
struct WordCase {
    std::string word;
    std::string phonemes;
    int line;
};

const std::vector<WordCase>& table_words() {
    static const std::vector<WordCase> words = [] {
        std::vector<WordCase> out;
        std::string text = rules_test_read_source("../tests/data/rules_words.txt");
        size_t pos = 0;
        int number = 0;
        while (pos < text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(pos, end - pos);
            pos = end + 1;
            ++number;
            if (line.empty() || line[0] == '#') continue;
            size_t eq = line.find('=');
            if (eq == std::string::npos) {
                ADD_FAILURE() << "rules_words.txt:" << number << ": no \"=\": " << utf8(line);
                continue;
            }
            out.push_back({line.substr(0, eq), line.substr(eq + 1), number});
        }
        return out;
    }();
    return words;
}

class RulesWords : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(rules_test_load_project_data(why)) << why;
    }
    void TearDown() override { rules_reset(); }
};

// Splits a rule output into the phoneme letters of the rule file's key;
// false at the first piece that is not one of them.
bool phoneme_letters_only(const std::string& s, std::string& bad) {
    static const char* const multi[] = {"tch", "dj", "nh", "lh", "rr"};
    size_t i = 0;
    while (i < s.size()) {
        bool taken = false;
        for (const char* m : multi) {
            size_t n = std::strlen(m);
            if (s.compare(i, n, m) == 0) {
                i += n;
                taken = true;
                break;
            }
        }
        if (taken) continue;
        char c = s[i];
        if (std::strchr("aeouAEOU", c)) {
            ++i;
            if (i < s.size() && (s[i] == '^' || s[i] == '~')) ++i;
        } else if (c == 'i' || c == 'I') {
            ++i;
            if (i < s.size() && s[i] == '~') ++i;
        } else if (std::strchr("pbtdkgfvszmnlrxjyw ", c)) {
            ++i;
        } else {
            bad = s.substr(i);
            return false;
        }
    }
    return true;
}

// The groups the synthesizer reads from a phoneme string: outputs joined by
// "/" while short, ended by a space or "]"; letters ("_x") left out.
std::vector<std::string> groups_of(const std::string& s) {
    std::vector<std::string> groups;
    size_t i = 0, n = s.size();
    while (i < n) {
        if (s[i] == '[') ++i;
        std::string g;
        while (i < n && s[i] != ' ' && s[i] != ']') {
            if (s[i] == '/') {
                if (g.size() > 8) break;
                ++i;
                continue;
            }
            if (s[i] == '_' && i + 1 < n) {
                g += s.substr(i, 2);
                i += 2;
                continue;
            }
            g += s[i++];
        }
        if (i < n) ++i;
        if (!g.empty() && g[0] != '_') groups.push_back(g);
    }
    return groups;
}

// The words of the game's own texts, lower-cased Latin-1.
std::set<std::string> game_words() {
    std::set<std::string> words;
    for (int i = 0; i < TXT_COUNT; ++i) {
        const GameTextEntry& e = game_text_entry(static_cast<GameText>(i));
        for (const std::string* t : {&e.text, &e.spoken}) {
            std::string w;
            for (size_t k = 0; k <= t->size(); ++k) {
                unsigned char c = k < t->size() ? static_cast<unsigned char>((*t)[k]) : ' ';
                bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 192 && c != 215 && c != 247);
                if (letter) {
                    if ((c >= 'A' && c <= 'Z') || (c >= 192 && c <= 222)) c = static_cast<unsigned char>(c + 32);
                    w += static_cast<char>(c);
                } else if (!w.empty()) {
                    words.insert(w);
                    w.clear();
                }
            }
        }
    }
    return words;
}

// The words of the pronunciation samples in tests/data (comment lines left out).
std::vector<std::string> sample_words() {
    std::vector<std::string> words;
    for (const char* list : {"../tests/data/rules_words_everyday.txt", "../tests/data/rules_words_dictionary.txt"}) {
        std::string text = rules_test_read_source(list);
        EXPECT_FALSE(text.empty()) << list;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(pos, end - pos);
            pos = end + 1;
            if (!line.empty() && line[0] != '#') words.push_back(line);
        }
    }
    return words;
}

}  // namespace

TEST_F(RulesWords, EveryWordOfTheGameIsInTheTable) {
    std::set<std::string> table;
    for (const WordCase& c : table_words()) table.insert(c.word);
    for (const std::string& w : game_words()) EXPECT_TRUE(table.count(w)) << "not in the table: " << utf8(w);
}

// Each syllable is one group: an s, z or k left from the syllable before, an
// onset, the vowel, and a glide, final rr or nasal mark; a final s alone.
// The unit databases are built for exactly these shapes.
TEST_F(RulesWords, GroupsHaveTheShapesTheUnitsAreMadeFor) {
    static const std::regex shape(
        "(s|z|k)?(p|b|t|d|k|g|f|v|s|z|x|j|m|n|l|r|nh|lh|rr|tch|dj|kw|gw|ks|[pbtdkgfv][rl])?"
        "([aeiou][\\^~]?)(y|w|rr)?|s",
        std::regex::icase);
    std::vector<std::string> texts;
    for (const WordCase& c : table_words()) texts.push_back(c.word);
    for (int i = 0; i < TXT_COUNT; ++i) texts.push_back(game_text_entry(static_cast<GameText>(i)).text);
    texts.push_back(rules_test_read_source("../bench/texto_1000_palavras.txt"));
    for (const std::string& w : sample_words()) texts.push_back(w);
    for (const std::string& t : texts)
        for (const std::string& g : groups_of(rules_text_to_phonemes(t)))
            EXPECT_TRUE(std::regex_match(g, shape)) << "group " << g << " in: " << utf8(t.substr(0, 60));
}

TEST_F(RulesWords, EachWordHasItsIntendedPhonemes) {
    EXPECT_GE(table_words().size(), 300u);
    for (const WordCase& c : table_words())
        EXPECT_EQ(rules_text_to_phonemes(c.word), c.phonemes) << "rules_words.txt:" << c.line << ": " << utf8(c.word);
}

TEST_F(RulesWords, SentencesKeepTheirPunctuationAsSpelledGroups) {
    EXPECT_EQ(rules_text_to_phonemes(latin1("Você está na sua cela.")),
              "[v/o^ /s/E^ ][i /s/t/A ][n/a^ ][s/U /a^ ][s/E /l/a^ ][ /_.]");
    EXPECT_EQ(rules_text_to_phonemes(latin1("Um guarda!  Cuidado!")),
              "[u~ ][gw/Arr /d/a^ ][ /_!][k/uy /d/A /d/u ][ /_!]");
    EXPECT_EQ(rules_text_to_phonemes(latin1("Não vá pisá-la.")),
              "[n/A~w ][v/A ][p/i /z/A ][][l/a^ ][ /_.]");
}

// Every rule speaks only the phoneme letters the unit databases are made
// for, and every syllable it makes is closed by a space so that it becomes
// one group of the synthesizer.
TEST_F(RulesWords, RuleOutputsUseOnlyTheInventory) {
    std::string text = rules_test_read_source("regras.rgr");
    size_t pos = 0;
    int checked = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        size_t open = line.find('(');
        if (open == std::string::npos) continue;
        size_t eq = line.find('=', line.find(')', open));
        ASSERT_NE(eq, std::string::npos) << line;
        size_t bar = line.find('|', eq);
        ASSERT_NE(bar, std::string::npos) << "output not closed by a bar: " << line;
        std::string out = line.substr(eq + 1, bar - eq - 1);
        std::string bad;
        EXPECT_TRUE(phoneme_letters_only(out, bad)) << line << " at: " << bad;
        bool has_vowel = out.find_first_of("aeiouAEIOU") != std::string::npos;
        if (has_vowel)
            EXPECT_EQ(out.back(), ' ') << "a syllable must end in a space: " << line;
        else
            EXPECT_EQ(out.find(' '), std::string::npos) << "a consonant alone takes no space: " << line;
        ++checked;
    }
    EXPECT_EQ(checked, rules_rule_count());
}

// The keys must look like scanned words, or they can never be found: lower
// case letters with accents written after their vowel.
TEST_F(RulesWords, ExceptionKeysAreWordsAsScanned) {
    std::string text = rules_test_read_source("portug.exc");
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty() || line[0] == '|') continue;
        size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        std::string key = line.substr(0, eq);
        ASSERT_FALSE(key.empty()) << line;
        EXPECT_TRUE(key[0] >= 'a' && key[0] <= 'z') << line;
        for (char c : key)
            EXPECT_TRUE((c >= 'a' && c <= 'z') || std::strchr("'^~`\"", c)) << line;
        EXPECT_NE(line.find('|', eq), std::string::npos) << "replacement not closed by a bar: " << line;
    }
}

// A part longer than its record is cut without a word, which turns a rule
// into another one ("STRE\%" would lose its end-of-word test).
TEST_F(RulesWords, RuleFileStaysWithinTheRecordCapacities) {
    std::string text = rules_test_read_source("regras.rgr");
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        size_t open = line.find('(');
        size_t close = line.find(')', open);
        if (open == std::string::npos || close == std::string::npos) continue;
        size_t eq = line.find('=', close);
        ASSERT_NE(eq, std::string::npos) << line;
        size_t bar = line.find('|', eq);
        EXPECT_LE(open, size_t(RULES_MAX_LEFT)) << line;
        EXPECT_LE(close - open - 1, size_t(RULES_MAX_MATCH)) << line;
        EXPECT_LE(eq - close - 1, size_t(RULES_MAX_RIGHT)) << line;
        EXPECT_LE(bar - eq - 1, size_t(RULES_MAX_OUTPUT)) << line;
    }
}

// Every word of the table and of the pronunciation samples with two vowels
// or more has exactly one stressed vowel: none is left flat, and no
// respelling adds a second one.
TEST_F(RulesWords, EveryWordOfTwoVowelsHasOneStressedVowel) {
    std::vector<std::string> words;
    for (const WordCase& c : table_words()) words.push_back(c.word);
    for (const std::string& w : sample_words()) words.push_back(w);
    ASSERT_GT(words.size(), 2000u);
    for (const std::string& w : words) {
        if (w.find('-') != std::string::npos) continue;  // two words
        int vowels = 0;
        for (size_t i = 0; i < w.size(); ++i) {
            // The u of qu and gu is no vowel of its own ("que", "quem").
            bool silent_u = w[i] == 'u' && i > 0 && (w[i - 1] == 'q' || w[i - 1] == 'g');
            vowels += !silent_u && w[i] && std::strchr("aeiou\xE1\xE9\xED\xF3\xFA\xE2\xEA\xF4\xE3\xF5\xE0\xFC", w[i]);
        }
        if (vowels < 2) continue;
        std::string p = rules_text_to_phonemes(w);
        int stressed = 0;
        for (char c : p) stressed += std::strchr("AEIOU", c) != nullptr && c;
        EXPECT_EQ(stressed, 1) << utf8(w) << " " << p;
    }
}
