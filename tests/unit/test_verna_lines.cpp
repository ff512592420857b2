// MBROLA lines from phoneme lists: durations with and without stress, the
// shortening of long words, pitch points from the patterns, marker comments,
// and the diphone list with its repairs; and the lines of a whole
// 1,000-word text against the ones recorded for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "util/latin1.h"
#include "verna/data_lines.h"
#include "verna/mbrola_lines.h"
#include "verna/message.h"
#include "verna/prosody.h"

namespace {

using Lines = std::vector<std::string>;
void ignore(const std::string&) {}

// Level 100 for the digit 5, 0 for 9, HERTZ 230.
const char* const PROSODY =
    "[DURAÇÃO]\n"
    "a=90\n"
    "k=60\n"
    "_,=250\n"
    "__=300\n"
    "[CHAVES]\n"
    "[PROSÓDIA]\n"
    "HERTZ=230\n"
    "TABHERTZ=0,10,20,30,40,100,60,70,80,0\n";

class VernaLines : public ::testing::Test {
protected:
    void SetUp() override {
        verna_set_message_recorder(ignore);
        verna_prosody_reset();
        ASSERT_TRUE(verna_load_prosody_text(latin1(PROSODY), "test.pro"));
        verna_mbrola_lines_reset();
        // Every pair of these phonemes, so that nothing is repaired.
        std::string all;
        for (const char* a : {"_", "a", "k", "b", "s", "r2", "y"})
            for (const char* b : {"_", "a", "k", "b", "s", "r2", "y"}) all += std::string(a) + "-" + b + "\n";
        ASSERT_TRUE(verna_load_diphones_text(all));
    }
    void TearDown() override {
        verna_prosody_reset();
        verna_mbrola_lines_reset();
        verna_set_message_recorder(nullptr);
    }
    static Lines make(const Lines& in, double d = 1.0, double p = 1.0) { return verna_make_mbrola_lines(in, d, p); }
    static std::string stress_end(const std::string& name) { return "\xa8" + name; }
};

}  // namespace

TEST_F(VernaLines, DurationsFromTheTableWithStressLengtheningAndFactors) {
    // The first phoneme of a word carries the first pattern digit; these
    // words' pattern 999 has level 0, so only durations show.
    EXPECT_EQ(make({";999|ka", "k", "a", "", "__"}), (Lines{";ka", "k 60", "a 90", "", "_ 300"}));
    // A stress mark: 90 x 145 = 13050 -> 130, 60 x 145 -> 87, until a line
    // carries the end mark.
    EXPECT_EQ(make({";999|kaka", "k", ">a", "k", stress_end("a"), "a", ""}),
              (Lines{";kaka", "k 60", "a 130", "k 87", "a 90", "a 90", ""}));
    // Every pause reaches MBROLA as "_". Missing from the table: 100; a bare pause 100; "_," its own; "_ 37" as written.
    EXPECT_EQ(make({";999|x", "b", "_", "_,", "_ 37", ""}), (Lines{";x", "b 100", "_ 100", "_ 250", "_ 37", ""}));
    // Factors multiply before the rounding: 90 x 100 x 0.6 = 5400 -> 54.
    EXPECT_EQ(make({";999|a", "a", ""}, 0.6), (Lines{";a", "a 54", ""}));
    // An empty line ends the lengthening even without the end mark.
    EXPECT_EQ(make({";999|a", ">a", "", ";999|a", "a", ""}), (Lines{";a", "a 130", "", ";a", "a 90", ""}));
    // So does the vowel of the next syllable in a hiatus ("dia", "boa"): the
    // unstressed last vowel is never longer than the stressed one.
    EXPECT_EQ(make({";999|kaa", "k", ">a", "a", ""}), (Lines{";kaa", "k 60", "a 130", "a 90", ""}));
    EXPECT_EQ(make({";999|kay", "k", ">a", "y", "a", ""}), (Lines{";kay", "k 60", "a 130", "y 100", "a 90", ""}));
    // A stress mark on a consonant lengthens on to the vowel after it.
    EXPECT_EQ(make({";999|ka", ">k", "a", ""}), (Lines{";ka", "k 87", "a 130", ""}));
}

TEST_F(VernaLines, LongWordsAreShortenedBeforeTheirStress) {
    auto first = [](const std::string& word) { return make({";999|" + word, "b", ">a", "b", ""})[1]; };
    EXPECT_EQ(first("abcdefghijklm"), "b 80");  // 13 letters
    EXPECT_EQ(first("abcdefghi"), "b 90");      // 9
    EXPECT_EQ(first("abcdefgh"), "b 100");      // 8
    // After the stressed phoneme nothing is cut: only the lengthening applies.
    EXPECT_EQ(make({";999|abcdefghijklm", "b", ">a", "b", ""})[3], "b 145");
}

TEST_F(VernaLines, PitchPointsFollowTheWordsPattern) {
    // 555 at HERTZ 230: 50 230 on the first phoneme, 80 230 on the stressed one.
    EXPECT_EQ(make({";555|casa", "k", ">a", "s", "a", ""}),
              (Lines{";casa", "k 60 50 230", "a 130 80 230", "s 145", "a 90 50 230", ""}));
    // A word without stress gets only the first point; pitch factor 2 doubles it.
    EXPECT_EQ(make({";555|ka", "k", "a", ""}, 1.0, 2.0), (Lines{";ka", "k 60 50 460", "a 90", ""}));
    // Level 0 gives no point for its digit: 951 has none first, 230 at the
    // stress and 10 % of 230 at the end.
    EXPECT_EQ(make({";951|casa", "k", ">a", "s", "a", ""}),
              (Lines{";casa", "k 60", "a 130 80 230", "s 145", "a 90 50 23", ""}));
    // A pattern character that is not a digit gives no point.
    EXPECT_EQ(make({";?55|ka", "k", "a", ""}), (Lines{";ka", "k 60", "a 90", ""}));
}

TEST_F(VernaLines, DiphoneListLinesAndLookupIgnoreCase) {
    ASSERT_TRUE(verna_load_diphones_text("; comment\n! also\n* too\n\n  a-b  \nR2 _\nk\t-\t@\nE-e extra\n"));
    EXPECT_EQ(verna_diphone_count(), 4);
    EXPECT_TRUE(verna_has_diphone("a", "b"));
    EXPECT_TRUE(verna_has_diphone("A", "B"));
    EXPECT_TRUE(verna_has_diphone("r2", "_"));
    EXPECT_TRUE(verna_has_diphone("k", "@"));
    EXPECT_TRUE(verna_has_diphone("e", "E"));
    EXPECT_FALSE(verna_has_diphone("b", "a"));
    EXPECT_FALSE(verna_load_diphones("/nonexistent/portug.dfn"));
    EXPECT_EQ(verna_diphone_count(), 0);
}

TEST_F(VernaLines, MissingDiphonesGetAFillerBeforeTheSecondPhoneme) {
    // k-a missing but k-y present: "y 50"; a-s missing and no a-y: "_ 50";
    // r2 before a with r2-_ present: "_ 50" even though r2-y exists.
    ASSERT_TRUE(verna_load_diphones_text("_-_\n_-k\nk-y\na-r2\nr2-_\nr2-y\ns-a\n"));
    EXPECT_EQ(make({";999|kasr", "k", "a", "s", "a", "r2", "a", ""}),
              (Lines{";kasr", "k 60", "y 50", "a 90", "_ 50", "s 100", "a 90", "r2 100", "_ 50", "a 90", ""}));
    // The t and s of pizza, where the voice has no t-s: 10 ms of pause where
    // the voice joins both to it, not the glide.
    ASSERT_TRUE(verna_load_diphones_text("_-_\n_-p\np-i\ni-t\nt-_\nt-y\ny-s\n_-s\ns-a\n"));
    verna_set_repair_phonemes("_", "");
    EXPECT_EQ(make({";999|pitsa", "p", "i", "t", "s", "a", ""}),
              (Lines{";pitsa", "p 100", "i 100", "t 100", "_ 10", "s 100", "a 90", ""}));
    // The first marker of a text is checked as "_" followed by the phoneme
    // kept from the text before ("_" after its final pause).
    verna_set_repair_phonemes("_", "_");
    ASSERT_TRUE(verna_load_diphones_text("k-a\n"));
    EXPECT_EQ(make({";999|ka", "k", "a", ""}), (Lines{"_ 50", ";ka", "_ 50", "k 60", "a 90", ""}));
}

TEST_F(VernaLines, AZBeforeAConsonantItCannotJoinIsSaidWithAPauseOrAsAShortFinalS) {
    // br3's case: z-_ and _-m but no z-m: the z, then a pause of 10 ms (at
    // the speed asked), never the glide filler that would add a syllable.
    const std::string br3 = "_-m\nm-e\ne-z\nz-_\nz-y\nz-a\ny-m\nm-u\nu-_\ns2-m\n_-d\nd-e\nz-d\nd-i\n";
    ASSERT_TRUE(verna_load_diphones_text(br3));
    verna_set_repair_phonemes("_", "");
    EXPECT_EQ(make({";999|mesmo", "m", ">e", stress_end("z"), stress_end("m"), "u", ""}),
              (Lines{";mesmo", "m 100", "e 145", "z 100", "_ 10", "m 100", "u 100", ""}));
    verna_set_repair_phonemes("_", "");
    EXPECT_EQ(make({";999|mesmo", "m", "e", "z", "m", "u", ""}, 2.0)[4], "_ 20");
    // A voice with the diphone itself says it as written.
    verna_set_repair_phonemes("_", "");
    EXPECT_EQ(make({";999|dezdi", "d", "e", "z", "d", "i", ""}),
              (Lines{";dezdi", "d 100", "e 100", "z 100", "d 100", "i 100", ""}));
    // br1's case: no z-_ either, but s2-m: the final s at 55 % of z's time.
    ASSERT_TRUE(verna_load_diphones_text("_-m\nm-e\ne-z\nz-y\nz-a\ny-m\nm-u\nu-_\ne-s2\ns2-m\n"));
    verna_set_repair_phonemes("_", "");
    EXPECT_EQ(make({";999|mesmo", "m", "e", "z", "m", "u", ""}),
              (Lines{";mesmo", "m 100", "e 100", "s2 55", "m 100", "u 100", ""}));
    // Before a vowel, and where nothing stands in, z stays z (the filler
    // repairs what is missing).
    ASSERT_TRUE(verna_load_diphones_text("_-k\nk-a\na-z\nz-a\nz-y\ny-k\n"));
    verna_set_repair_phonemes("_", "");
    EXPECT_EQ(make({";999|kazak", "k", "a", "z", "a", "z", "k", ""}),
              (Lines{";kazak", "k 60", "a 90", "z 100", "a 90", "z 100", "y 50", "k 60", ""}));
}

TEST_F(VernaLines, AZAfterAPauseStartsFromAShortGlideWhereTheVoiceJoinsIt) {
    // br1's case: _-w and w-z beside its almost silent _-z: 8 ms of w (at
    // the speed asked) before the z of zebra, at a text's start and after a
    // pause within it, but not after a vowel.
    const std::string br1 = "_-_\n_-z\n_-w\nw-z\nz-e\ne-b\nb-a\na-_\n_-a\na-z\na-a\n";
    ASSERT_TRUE(verna_load_diphones_text(br1));
    verna_set_repair_phonemes("_", "");
    EXPECT_EQ(make({";999|zeba", "z", "e", "b", "a", ""}),
              (Lines{";zeba", "w 8", "z 100", "e 100", "b 100", "a 90", ""}));
    verna_set_repair_phonemes("_", "");
    EXPECT_EQ(make({";999|a", "a", "", ";999|,", "_,", ";999|zeba", "z", "e", "b", "a", "", ";999|a", "a", "",
                    ";999|zeba", "z", "e", "b", "a", ""},
                   2.0),
              (Lines{";a", "a 180", "", ";,", "_ 500", ";zeba", "w 16", "z 200", "e 200", "b 200", "a 180", "",
                     ";a", "a 180", "", ";zeba", "z 200", "e 200", "b 200", "a 180", ""}));
    // br3's case: no _-w, and its own _-z is heard.
    ASSERT_TRUE(verna_load_diphones_text("_-_\n_-z\nz-e\ne-b\nb-a\n"));
    verna_set_repair_phonemes("_", "");
    EXPECT_EQ(make({";999|zeba", "z", "e", "b", "a", ""}), (Lines{";zeba", "z 100", "e 100", "b 100", "a 90", ""}));
}

namespace {
const std::string RECORDED = std::string(FUGA_SOURCE_DIR) + "/tests/data/verna_lines/";

Lines recorded_lines(const std::string& name) {
    std::string text;
    EXPECT_TRUE(verna_read_file(RECORDED + name, text)) << name;
    text = latin1(text);
    Lines lines;
    VernaLineCursor cursor{text};
    std::string_view line;
    while (cursor.next(line)) lines.emplace_back(line);
    return lines;
}

// The first line that differs, with its neighbours, instead of two
// 6,000-line lists.
void expect_same_lines(const Lines& made, const Lines& recorded) {
    size_t n = std::min(made.size(), recorded.size());
    size_t i = 0;
    while (i < n && made[i] == recorded[i]) ++i;
    if (i == n && made.size() == recorded.size()) return;
    std::string context;
    for (size_t k = i >= 2 ? i - 2 : 0; k < std::min(n, i + 3); ++k)
        context += "\n  " + utf8(made[k]) + (made[k] == recorded[k] ? "" : "   (recorded: " + utf8(recorded[k]) + ")");
    ADD_FAILURE() << "line " << i + 1 << " of " << made.size() << " made, " << recorded.size()
                  << " recorded:" << context;
}
}  // namespace

// The phoneme lines of the benchmark text as the engine made them, with the
// project's prosody and br1's diphone list (copies kept with the recording,
// so that the data's own changes do not move it): every line must stay the
// same, whatever is done to make the lines faster.
TEST_F(VernaLines, AWholeTextGivesTheRecordedLinesAtAnySpeed) {
    std::string prosody;
    ASSERT_TRUE(verna_read_file(RECORDED + "portug.pro", prosody));
    ASSERT_TRUE(verna_load_prosody_text(latin1(prosody), "portug.pro"));
    ASSERT_TRUE(verna_load_diphones(RECORDED + "portug.dfn"));
    Lines phonemes = recorded_lines("phonemes_1000_words.txt");
    ASSERT_GT(phonemes.size(), 6000u);
    verna_set_repair_phonemes("_", "");
    expect_same_lines(make(phonemes), recorded_lines("mbrola_1000_words.txt"));
    verna_set_repair_phonemes("_", "");
    expect_same_lines(make(phonemes, 1.3, 0.8), recorded_lines("mbrola_1000_words_slow_low.txt"));
}
