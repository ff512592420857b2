// The pronunciation we intend for the Portuguese engine, with the project's
// own rules, exceptions, abbreviations and prosody: words and whole
// sentences. The tables in tests/data are the reference; a change to the
// data that changes a line there must be a deliberate one.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "util/latin1.h"
#include "verna/abbreviations.h"
#include "verna/letter_rules.h"
#include "verna/message.h"
#include "verna/normalise.h"
#include "verna/prosody.h"
#include "verna/tokens.h"

namespace {
std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string data(const char* name) { return latin1(read_file(std::string(FUGA_SOURCE_DIR) + "/data/verna/" + name)); }

std::vector<std::string> shown;
void record(const std::string& text) { shown.push_back(utf8(text)); }

struct Case {
    std::string text, phonemes;
    int line;
};

std::vector<Case> table(const char* name) {
    std::vector<Case> out;
    std::istringstream in(read_file(std::string(FUGA_SOURCE_DIR) + "/tests/data/" + name));
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        size_t eq = line.rfind('=');
        out.push_back({line.substr(0, eq), line.substr(eq + 1), number});
    }
    return out;
}

// The phoneme lines of a text in a line: word markers, boundaries and word
// ends left out, the stress mark written ', the end-of-lengthening mark dropped.
std::string heard(const std::string& utf8_text) {
    VernaLines lines =
        verna_text_to_phonemes(verna_assign_patterns(verna_tokenise(verna_normalise_text(latin1(utf8_text)))));
    std::string out;
    for (const std::string& l : lines) {
        if (l.empty() || l[0] == ';' || l == "__") continue;
        std::string p;
        for (char c : l) {
            if (c == '>') p += '\'';
            else if (c != '\xa8') p += c;
        }
        out += (out.empty() ? "" : " ") + utf8(p);
    }
    return out;
}

class VernaWords : public ::testing::Test {
protected:
    void SetUp() override {
        shown.clear();
        verna_set_message_recorder(record);
        ASSERT_TRUE(verna_load_rules_text(data("portug.nrl"), "portug.nrl"));
        EXPECT_EQ(verna_rules_message(), "");
        ASSERT_TRUE(verna_load_exceptions_text(data("portug.exc"), "portug.exc"));
        ASSERT_TRUE(verna_load_abbreviations_text(data("portug.abr"), "portug.abr"));
        ASSERT_TRUE(verna_load_prosody_text(data("portug.pro"), "portug.pro"));
        EXPECT_TRUE(shown.empty());
    }
    void TearDown() override {
        verna_set_message_recorder(nullptr);
        verna_letter_rules_reset();
        verna_abbreviations_reset();
        verna_prosody_reset();
    }
};
}  // namespace

TEST_F(VernaWords, EveryWordOfTheTable) {
    std::vector<Case> words = table("verna_words.txt");
    EXPECT_GE(words.size(), 600u);
    for (const Case& c : words) EXPECT_EQ(heard(c.text), c.phonemes) << "verna_words.txt:" << c.line << ": " << c.text;
}

TEST_F(VernaWords, EverySentenceOfTheTable) {
    std::vector<Case> sentences = table("verna_sentences.txt");
    EXPECT_GE(sentences.size(), 60u);
    for (const Case& c : sentences)
        EXPECT_EQ(heard(c.text), c.phonemes) << "verna_sentences.txt:" << c.line << ": " << c.text;
}

TEST_F(VernaWords, ProsodyCoversEveryPhonemeOfTheVoices) {
    const char* const phonemes[] = {"_", "a", "@", "am", "e", "ee", "em", "i", "im", "o", "oo", "om", "u",
                                    "um", "y", "w", "b", "d", "f", "g", "j", "k", "l", "lh", "m", "n",
                                    "nh", "p", "r", "r2", "rr", "s", "s2", "t", "v", "x", "z"};
    for (const char* p : phonemes) {
        int ms = 0;
        EXPECT_TRUE(verna_phoneme_duration(p, ms)) << p;
    }
    EXPECT_EQ(verna_word_key("DE"), "PR");
    EXPECT_EQ(verna_word_key("CASA"), "");
    // Statements fall at the end, questions rise, a comma keeps it level.
    VernaLines s = verna_assign_patterns(verna_tokenise(latin1("O gato dorme.")));
    VernaLines q = verna_assign_patterns(verna_tokenise(latin1("O gato dorme?")));
    VernaLines c = verna_assign_patterns(verna_tokenise(latin1("O gato dorme, e")));
    ASSERT_GE(s.size(), 4u);
    EXPECT_LT(verna_pitch_level(s[3][2] - '0'), verna_pitch_level(s[3][1] - '0'));
    EXPECT_GT(verna_pitch_level(q[3][2] - '0'), verna_pitch_level(q[3][1] - '0'));
    EXPECT_EQ(verna_pitch_level(c[3][2] - '0'), verna_pitch_level(c[3][1] - '0'));
    // A question opened by a question word falls at its end.
    for (const char* text : {"Onde está o guarda?", "O que você quer?", "Por que não?", "Quem?"}) {
        VernaLines w = verna_assign_patterns(verna_tokenise(latin1(text)));
        ASSERT_GE(w.size(), 4u);
        const std::string& last = w[w.size() - 3];
        EXPECT_LT(verna_pitch_level(last[2] - '0'), verna_pitch_level(last[1] - '0')) << text << ": " << last;
    }
}
