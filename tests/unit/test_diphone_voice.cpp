// The generated voices heard without ears: syllables of a plausible length
// at each speed, slower speeds longer, no clipping, and no silence inside a
// word longer than the gap between words.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "diphone/diphone.h"
#include "diphone/rules.h"
#include "diphone_voice_data.h"
#include "skip_unless_ci.h"
#include "system_support.h"

namespace {

using namespace diphone_voice;

// Average syllable length of a word: a heavy syllable (diphthong and final
// s) at the slowest speed stays below the first bound.
constexpr double MIN_SYLLABLE_MS = 60;
constexpr double MAX_SYLLABLE_MS[6] = {0, 800, 700, 600, 520, 450};

std::vector<uint8_t> g_heard;

void listen(const uint8_t* image, size_t bytes, void*) { g_heard.insert(g_heard.end(), image + 44, image + bytes); }

// Syllables of a phoneme string: runs of vowels with their marks and glides.
int syllables_of(const std::string& phonemes) {
    int n = 0;
    bool in_vowel = false;
    for (char c : phonemes) {
        bool vowel = std::string("aeiouAEIOU").find(c) != std::string::npos;
        bool joins = in_vowel && std::string("~^wy").find(c) != std::string::npos;
        if (vowel && !in_vowel) ++n;
        in_vowel = vowel || joins;
    }
    return n;
}

// Longest run of samples at the midpoint (within one step), ignoring the edges.
size_t longest_silence(const std::vector<uint8_t>& s) {
    size_t first = 0, last = s.size();
    while (first < last && std::abs(s[first] - 128) <= 1) ++first;
    while (last > first && std::abs(s[last - 1] - 128) <= 1) --last;
    size_t best = 0, run = 0;
    for (size_t i = first; i < last; ++i) {
        run = std::abs(s[i] - 128) <= 1 ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

class DiphoneVoice : public ::testing::Test {
protected:
    void SetUp() override {
        if (!voices_built()) SKIP_UNLESS_CI("voices not generated under " << DIFONES << " (build the fuga_data target)");
        sys_set_env("TALUNE_HOME", DATA);
        diphone_reset();
        diphone_set_output_hook(listen, nullptr);
    }
    void TearDown() override {
        diphone_reset();
        rules_reset();
        sys_unset_env("TALUNE_HOME");
    }
};

}  // namespace

TEST_F(DiphoneVoice, GameWordsSoundPlausibleAtEverySpeed) {
    std::vector<std::string> words = game_words();
    std::vector<std::string> common = common_words();
    words.insert(words.end(), common.begin(), common.end());
    double total_ms[6] = {0};
    for (int speed = 1; speed <= 5; ++speed) {
        diphone_set_database("DIFONES" + std::to_string(speed));
        ASSERT_EQ(diphone_start(), 0);
        for (const std::string& w : words) {
            std::string ph = rules_text_to_phonemes(w);
            int syl = syllables_of(ph);
            if (syl == 0) continue;
            g_heard.clear();
            diphone_speak(ph, false);
            double ms = g_heard.size() * 1000.0 / 11025;
            total_ms[speed] += ms;
            EXPECT_GE(ms / syl, MIN_SYLLABLE_MS) << utf8(w) << " " << ph << " at speed " << speed;
            EXPECT_LE(ms / syl, MAX_SYLLABLE_MS[speed]) << utf8(w) << " " << ph << " at speed " << speed;
            for (uint8_t s : g_heard) ASSERT_TRUE(s > 0 && s < 255) << utf8(w) << " clips at speed " << speed;
            EXPECT_LE(longest_silence(g_heard), static_cast<size_t>(diphone_word_gap()))
                << utf8(w) << " " << ph << " holds a pause at speed " << speed;
        }
        diphone_stop();
    }
    for (int speed = 2; speed <= 5; ++speed) EXPECT_LT(total_ms[speed], total_ms[speed - 1]) << speed;
}

TEST_F(DiphoneVoice, EveryStoredUnitHoldsAudibleSound) {
    for (int speed = 1; speed <= 5; ++speed) {
        std::string base = (DIFONES / ("DIFONES" + std::to_string(speed))).string();
        std::ifstream ind(base + ".IND", std::ios::binary), dif(base + ".DIF", std::ios::binary);
        std::vector<char> data((std::istreambuf_iterator<char>(dif)), std::istreambuf_iterator<char>());
        char rec[15];
        size_t units = 0;
        while (ind.read(rec, 15)) {
            ++units;
            std::string name(rec + 1, std::min<size_t>(8, static_cast<uint8_t>(rec[0])));
            size_t len = static_cast<uint8_t>(rec[9]) | static_cast<uint8_t>(rec[10]) << 8;
            size_t off = static_cast<uint8_t>(rec[11]) | static_cast<uint8_t>(rec[12]) << 8 |
                         static_cast<uint8_t>(rec[13]) << 16 | static_cast<size_t>(static_cast<uint8_t>(rec[14])) << 24;
            ASSERT_LE(off + len, data.size()) << name;
            if (name == "$H") continue;  // a letter without a sound of its own
            bool vowel = name.find_first_of("AEIOU", 1) != std::string::npos;
            int peak = 0;
            for (size_t i = off; i < off + len; ++i) peak = std::max(peak, std::abs(static_cast<uint8_t>(data[i]) - 128));
            double ms = len * 1000.0 / 11025;
            EXPECT_GE(ms, vowel ? 60.0 : 20.0) << name << " at speed " << speed;
            EXPECT_LE(ms, 900.0) << name << " at speed " << speed;
            EXPECT_GE(peak, vowel ? 40 : 6) << name << " at speed " << speed;
        }
        EXPECT_GT(units, 30u);
    }
}
