// Phoneme strings cut into groups, syllables and units, with the fallbacks.
#include "diphone_fixture.h"

using namespace diphone_test;

using DiphoneAssembly = DiphoneFixture;

namespace {

std::vector<std::string> unit_calls(const std::vector<DiphoneEvent>& trace) {
    std::vector<std::string> out;
    for (const auto& e : trace) {
        char buf[64];
        if (e.kind == 'u' || e.kind == 'l')
            std::snprintf(buf, sizeof buf, "%s%s %d %.2f", e.name.c_str(), e.found ? "" : "?", e.mode, e.factor);
        else if (e.kind == 'n')
            std::snprintf(buf, sizeof buf, "noise");
        else
            std::snprintf(buf, sizeof buf, "silence %zu", e.bytes);
        out.push_back(buf);
    }
    return out;
}

using Calls = std::vector<std::string>;

}  // namespace

TEST_F(DiphoneAssembly, ShortRuleOutputsOfAWordJoinIntoOneStressedGroup) {
    write_units({"$KAZA"});
    start();
    diphone_speak("[kA/za]", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"$KAZA 2 1.00"}));
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(played().size(), 1000u);  // stressed: not cut; last group: no gap

    trace.clear();
    images.clear();
    diphone_speak("[kA/za][kA/za]", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"$KAZA 2 1.00", "silence 100", "$KAZA 2 1.00"}));
    EXPECT_EQ(played().size(), 2100u);
}

TEST_F(DiphoneAssembly, GroupsEndAtSpacesLongSlashRunsAndBrackets) {
    // A space ends a group without a gap; a "/" after more than 8 characters
    // ends it with one.
    EXPECT_EQ(diphone_requested_units("[ ka/ za]", false), (Calls{"$KA", "$ZA"}));
    EXPECT_EQ(diphone_requested_units("[stra/ntras/la]", false), (Calls{"$S", "$T", "$RANTRA", "$S", "$LA"}));
    // Names longer than an index record holds are never found.
    EXPECT_EQ(diphone_requested_units("[ka/za/ba/ta]", false), (Calls{"$KAZABATA"}));
    write_units({"$KA", "$ZA", "$T", "$RANTRA", "$S", "$LA"}, 500);
    start();
    diphone_speak("[ ka/ za]", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"$KA 1 1.00", "$ZA 1 1.00"}));
    trace.clear();
    diphone_speak("[stra/ntras/la]", false);
    EXPECT_EQ(unit_calls(trace),
              (Calls{"$S 1 1.00", "$T 1 1.00", "$RANTRA 1 1.00", "$S 1 1.00", "silence 100", "$LA 1 1.00"}));
}

TEST_F(DiphoneAssembly, SpelledLettersAndPunctuation) {
    write_units({"$A"});
    write_file(letters / "_66.wav", wav_bytes(unit_samples(200, 66)));
    write_file(letters / "_44.wav", wav_bytes(unit_samples(150, 44)));
    start();
    diphone_speak("[ /_B]", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"_66 0 1.00"}));
    EXPECT_EQ(played().size(), 200u);

    trace.clear();
    diphone_speak("[ /_,]", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"silence 4000"}));
    trace.clear();
    diphone_speak("[ /_,]", true);
    EXPECT_EQ(unit_calls(trace), (Calls{"_44 0 1.00"}));

    EXPECT_EQ(unit_calls([&] {
                  trace.clear();
                  diphone_speak("[ /_.][ /_;][ /_:]", false);
                  return trace;
              }()),
              (Calls{"silence 8000", "silence 100", "silence 6000", "silence 100", "silence 8000"}));
}

TEST_F(DiphoneAssembly, ClustersDiphthongsNasalsAndFinalS) {
    write_units({"$P", "$RA", "$KA", "$AW", "$MACIRC", "$AWTIL", "$A", "$S", "$KACIRC", "$IW", "$RR"});
    start();
    diphone_speak("pra", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"$P 1 1.00", "$RA 1 1.00"}));
    trace.clear();
    diphone_speak("kaw", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"$KA 1 0.60", "$AW 1 1.00"}));
    trace.clear();
    diphone_speak("ma~w", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"$MACIRC 1 0.60", "$AWTIL 1 1.00"}));
    trace.clear();
    diphone_speak("as", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"$A 1 0.70", "$S 1 1.00"}));

    EXPECT_EQ(diphone_requested_units("a~w", false), (Calls{"$AWTIL"}));
    EXPECT_EQ(diphone_requested_units("ka^w", false), (Calls{"$KACIRC", "$AWCIRC"}));
    EXPECT_EQ(diphone_requested_units("kas", false), (Calls{"$KA", "$S"}));
    EXPECT_EQ(diphone_requested_units("karr", false), (Calls{"$KA", "$RR"}));
    EXPECT_EQ(diphone_requested_units("nha", false), (Calls{"$NHA"}));
    EXPECT_EQ(diphone_requested_units("tchi", false), (Calls{"$TCHI"}));
    EXPECT_EQ(diphone_requested_units("ksi", false), (Calls{"$KSI"}));
    EXPECT_EQ(diphone_requested_units("_s", false), (Calls{"_115"}));
    EXPECT_EQ(diphone_requested_units("stra", false), (Calls{"$S", "$T", "$RA"}));
}

TEST_F(DiphoneAssembly, StressModeFollowsTheStressedSyllable) {
    write_units({"$KA", "$ZA", "$BU"}, 1000);
    start();
    diphone_speak("[ ka/ zA/ bu][ ka]", false);
    EXPECT_EQ(unit_calls(trace), (Calls{"$KA 1 1.00", "$ZA 2 1.00", "$BU 0 1.00", "silence 100", "$KA 1 1.00"}));
    // Unstressed units lose the cut of 400 bytes; the stressed one keeps all.
    EXPECT_EQ(played().size(), 600u + 1000 + 600 + 100 + 600);
}

TEST_F(DiphoneAssembly, MissingSyllablesFallBackToSmallerUnits) {
    write_units({"$K", "$A", "$ACIRC", "$I", "$NN"});
    start();
    diphone_play_unit("$ka", 2, 1.0);
    EXPECT_EQ(unit_calls(trace), (Calls{"$KA? 2 1.00", "$K 2 0.90", "$A 2 1.00"}));

    trace.clear();
    diphone_play_unit("$aTIL", 1, 1.0);
    EXPECT_EQ(unit_calls(trace), (Calls{"$ATIL? 1 1.00", "$ACIRC 2 0.90", "$NN 1 0.90"}));

    trace.clear();
    diphone_play_unit("$iTIL", 1, 1.0);
    EXPECT_EQ(unit_calls(trace), (Calls{"$ITIL? 1 1.00", "$I 1 0.90", "$NN 1 0.90"}));

    trace.clear();
    diphone_play_unit("$kaCIRC", 1, 1.0);
    EXPECT_EQ(unit_calls(trace), (Calls{"$KACIRC? 1 1.00", "$K 1 0.90", "$ACIRC 1 1.00"}));

    // Ending in a consonant with no smaller unit to try: nothing at all.
    trace.clear();
    diphone_play_unit("$kaz", 1, 1.0);
    EXPECT_EQ(unit_calls(trace), (Calls{"$KAZ? 1 1.00"}));

    // The nasal mark alone (a name from a damaged database) is noise, not a
    // read before the start of the name.
    trace.clear();
    diphone_play_unit("TIL", 1, 1.0);
    EXPECT_EQ(unit_calls(trace), (Calls{"TIL? 1 1.00", "noise"}));
}

TEST_F(DiphoneAssembly, AMissingOneLetterUnitBecomesNoise) {
    write_units({"$A"});
    start();
    diphone_play_unit("$ka", 1, 1.0);
    EXPECT_EQ(unit_calls(trace), (Calls{"$KA? 1 1.00", "$K? 1 0.90", "noise", "$A 1 1.00"}));
    // An unknown letter recording ("_" names are at most 2 characters here) is noise too.
    trace.clear();
    diphone_play_unit("_9", 1, 1.0);
    EXPECT_EQ(unit_calls(trace), (Calls{"_9? 0 1.00", "noise"}));
}

TEST_F(DiphoneAssembly, ArbitraryBytesNeverStallOrOverrun) {
    write_units({"$A", "$KA"});
    start();
    std::string junk;
    for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 37 + 11) % 256);
    diphone_speak(junk, false);
    diphone_speak(std::string(300, 'k') + "[" + std::string(100, '/') + "]" + std::string(50, '_'), false);
    diphone_speak("~~~^^^wwyy~w^y", false);
    SUCCEED();
}

TEST_F(DiphoneAssembly, NothingIsSpokenBeforeStart) {
    diphone_speak("[kA/za]", false);
    EXPECT_TRUE(images.empty());
    EXPECT_TRUE(trace.empty());
}
