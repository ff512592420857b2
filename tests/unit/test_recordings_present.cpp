// Every recording the speech front end and the game can ask for exists in
// the generated installation tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "game/texts.h"
#include "speech/number_words.h"
#include "speech/recordings.h"
#include "util/wave_format.h"

namespace {
const std::filesystem::path LETTERS = std::filesystem::path(FUGA_BINARY_DIR) / "data" / "letras";

std::set<std::string> listed_keys() {
    std::set<std::string> keys;
    for (const auto& r : speech_letter_recordings()) keys.insert(r.key);
    return keys;
}
}  // namespace

TEST(Recordings, EveryNumberTimeAndDateFragmentIsListed) {
    std::set<std::string> keys = listed_keys();
    std::set<std::string> wanted;
    auto add_number = [&](long long n, bool feminine) {
        for (const auto& k : speech_number_fragment_keys(speech_number_words(n), feminine)) wanted.insert(k);
    };
    for (long long n = 0; n <= 2100; ++n) add_number(n, n < 24);
    for (long long n : {1000000LL, 2000000LL, 1000000000LL, 3000000000LL, 1000000000000LL, 5000000000000LL}) add_number(n, false);
    for (int m = 1; m <= 12; ++m) {
        for (int d : {1, 2, 31}) {
            for (const auto& p : speech_day_month_year_pieces(d, m, 2026)) {
                if (!p.is_number) wanted.insert(p.key);
            }
        }
    }
    for (int h : {0, 1, 2}) {
        for (const auto& p : speech_hour_minute_pieces(h, h)) {
            if (!p.is_number) wanted.insert(p.key);
        }
    }
    for (const auto& k : wanted) EXPECT_TRUE(keys.count(k)) << k << " is asked for but has no recording";
    // Every weekday is reached by some date.
    for (const char* k : {"_Domingo", "_Segunda", "_Terca", "_Quarta", "_Quinta", "_Sexta", "_Sabado"}) {
        EXPECT_TRUE(wanted.count(k) || keys.count(k)) << k;
    }
}

TEST(Recordings, GeneratedTreeHoldsEveryListedRecording) {
    ASSERT_TRUE(std::filesystem::is_directory(LETTERS)) << LETTERS << " (build the fuga_data target)";
    for (const auto& r : speech_letter_recordings()) {
        auto file = LETTERS / (r.key + ".wav");
        ASSERT_TRUE(std::filesystem::exists(file)) << file;
        EXPECT_GT(std::filesystem::file_size(file), 44u + 200u) << file << " holds almost no sound";
    }
    for (const auto& k : speech_dial_tone_keys()) EXPECT_TRUE(std::filesystem::exists(LETTERS / (k + ".wav"))) << k;
    for (int c = 32; c <= 126; ++c) {
        EXPECT_TRUE(std::filesystem::exists(LETTERS / ("_" + std::to_string(c) + ".wav"))) << "printable " << c;
    }
}

namespace {
std::vector<uint8_t> read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(Recordings, TheSirenIsAToneNotSpeech) {
    const std::filesystem::path som = std::filesystem::path(FUGA_BINARY_DIR) / "data" / "som";
    ASSERT_TRUE(std::filesystem::is_directory(som)) << som << " (build the fuga_data target)";
    // A siren sounds without a break and its pitch stays in a band, rising
    // and falling; speech has pauses and a pitch that wanders far below.
    std::vector<uint8_t> file = read_file(som / (std::string(GAME_SIREN_KEY) + ".wav"));
    WaveImageView view;
    ASSERT_TRUE(wave_parse_image(file.data(), file.size(), view));
    ASSERT_EQ(view.format.bits, 8);
    const size_t frame = static_cast<size_t>(view.format.rate) / 50;  // 20 ms
    ASSERT_GT(view.bytes, frame * 25) << "at least half a second";
    double lowest = 1e9, highest = 0;
    for (size_t start = frame; start + 2 * frame <= view.bytes; start += frame) {
        int crossings = 0, peak = 0;
        for (size_t k = start; k < start + frame; ++k) {
            peak = std::max(peak, std::abs(int(view.samples[k]) - 128));
            if ((view.samples[k - 1] < 128) != (view.samples[k] < 128)) ++crossings;
        }
        double hz = crossings / 2.0 * 50.0;
        EXPECT_GT(peak, 40) << "no break in the siren at byte " << start;
        lowest = std::min(lowest, hz);
        highest = std::max(highest, hz);
    }
    EXPECT_GT(lowest, 450.0);
    EXPECT_LT(highest, 1500.0);
    EXPECT_GT(highest - lowest, 400.0) << "the pitch rises and falls";
}
