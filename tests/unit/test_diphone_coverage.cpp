// The generated voices against the installed rules: every unit that real
// Portuguese text can ask for is in each speed's database, every letter
// recording that spelling asks for exists, and real text never falls back
// to noise.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "diphone/diphone.h"
#include "diphone/inventory.h"
#include "diphone_voice_data.h"
#include "diphone/rules.h"
#include "util/latin1.h"
#include "skip_unless_ci.h"
#include "system_support.h"

namespace {

using namespace diphone_voice;

std::set<std::string> index_names(const fs::path& ind) {
    std::ifstream in(ind, std::ios::binary);
    std::set<std::string> names;
    char rec[15];
    while (in.read(rec, 15)) names.insert(std::string(rec + 1, std::min<size_t>(8, static_cast<uint8_t>(rec[0]))));
    return names;
}

// Game words, everyday words, the benchmark text and the pronunciation samples.
std::vector<std::string> real_words() {
    std::vector<std::string> words = game_words();
    std::vector<std::string> common = common_words();
    std::vector<std::string> bench =
        diphone_text_words((fs::path(FUGA_SOURCE_DIR) / "bench" / "texto_1000_palavras.txt").string());
    words.insert(words.end(), common.begin(), common.end());
    words.insert(words.end(), bench.begin(), bench.end());
    for (const char* sample : {"rules_words_everyday.txt", "rules_words_dictionary.txt"}) {
        std::vector<std::string> w = diphone_text_words((fs::path(FUGA_SOURCE_DIR) / "tests" / "data" / sample).string());
        words.insert(words.end(), w.begin(), w.end());
    }
    return words;
}

class DiphoneCoverage : public ::testing::Test {
protected:
    void SetUp() override {
        if (!voices_built()) SKIP_UNLESS_CI("voices not generated under " << DIFONES << " (build the fuga_data target)");
        ASSERT_TRUE(rules_load((DIFONES / "regras.rgr").string()));
        ASSERT_TRUE(rules_load_exceptions((DIFONES / "portug.exc").string()));
    }
    void TearDown() override { rules_reset(); }
};

}  // namespace

TEST_F(DiphoneCoverage, EverySpeedHoldsEveryUnitRealTextAsksFor) {
    std::vector<std::string> words = diphone_inventory_words();
    std::vector<std::string> exc = diphone_exception_words((DIFONES / "portug.exc").string());
    std::vector<std::string> real = real_words();
    words.insert(words.end(), exc.begin(), exc.end());
    words.insert(words.end(), real.begin(), real.end());
    std::set<std::string> units = diphone_inventory_units(words);
    ASSERT_GT(units.size(), 30u);

    // Real words never ask for a name longer than a record holds.
    std::vector<std::string> too_long;
    for (const std::string& u : diphone_inventory_units(real))
        if (u[0] == '$' && u.size() > DIPHONE_MAX_STORED_NAME) too_long.push_back(u);
    EXPECT_TRUE(too_long.empty()) << too_long.size() << " unit names cannot be stored, first " << too_long[0];

    for (int speed = 1; speed <= 5; ++speed) {
        std::set<std::string> held = index_names(DIFONES / ("DIFONES" + std::to_string(speed) + ".IND"));
        std::vector<std::string> missing;
        for (const std::string& u : units)
            if (u[0] == '$' && u.size() <= DIPHONE_MAX_STORED_NAME && !held.count(u)) missing.push_back(u);
        EXPECT_TRUE(missing.empty()) << "DIFONES" << speed << " lacks " << missing.size() << " units, first "
                                     << missing[0];
    }

    std::vector<std::string> letters_missing;
    for (const std::string& u : units)
        if (u[0] == '_' && !fs::exists(DATA / "letras" / (u + ".wav"))) letters_missing.push_back(u);
    EXPECT_TRUE(letters_missing.empty()) << "letter recordings missing, first " << letters_missing[0];
}

TEST_F(DiphoneCoverage, RealTextNeverFallsBackButForeignGroupsMay) {
    sys_set_env("TALUNE_HOME", DATA);
    diphone_reset();
    std::vector<DiphoneEvent> trace;
    diphone_set_trace(&trace);
    diphone_set_output_hook([](const uint8_t*, size_t, void*) {}, nullptr);
    size_t units_played = 0;
    for (int speed = 1; speed <= 5; ++speed) {
        diphone_set_database("DIFONES" + std::to_string(speed));
        ASSERT_EQ(diphone_start(), 0);
        for (const std::string& w : real_words()) {
            trace.clear();
            diphone_speak(rules_text_to_phonemes(w), false);
            units_played += trace.size();
            for (const DiphoneEvent& e : trace) {
                ASSERT_NE(e.kind, 'n') << utf8(w) << " at speed " << speed << " sounds as noise";
                ASSERT_TRUE(e.found || e.kind == 's') << utf8(w) << " lacks " << e.name << " at speed " << speed;
            }
        }
        diphone_stop();
    }
    EXPECT_GT(units_played, 5 * real_words().size());
    // A group no Portuguese word makes may still need the fallbacks.
    diphone_set_database("DIFONES2");
    ASSERT_EQ(diphone_start(), 0);
    trace.clear();
    diphone_speak("[ wq/xy]", false);
    bool fell_back = false;
    for (const DiphoneEvent& e : trace) fell_back |= e.kind == 'n' || !e.found;
    EXPECT_TRUE(fell_back);
    diphone_reset();
    rules_reset();
    sys_unset_env("TALUNE_HOME");
}
