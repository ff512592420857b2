// The voice database, letter recordings, noise, silence and the output buffer.
#include "diphone_fixture.h"
#include "speech/wave_image.h"
#include "util/wave_format.h"

using namespace diphone_test;

using DiphoneDb = DiphoneFixture;

TEST_F(DiphoneDb, StartReportsMissingPiecesByCode) {
    // No index yet.
    EXPECT_EQ(diphone_start(), 1);
    EXPECT_EQ(diphone_start_failure_path(), difones.generic_string() + "/DIFONES2.IND");
    write_units({"$A"});
    fs::remove(difones / "portug.exc");
    EXPECT_EQ(diphone_start(), 2);
    EXPECT_EQ(diphone_start_failure_path(), difones.generic_string() + "/portug.exc");
    EXPECT_FALSE(diphone_started());
    write_text(difones / "portug.exc", "casa=kaza\n");
    fs::remove(difones / "DIFONES2.DIF");
    EXPECT_EQ(diphone_start(), 1);
    EXPECT_EQ(diphone_start_failure_path(), difones.generic_string() + "/DIFONES2.DIF");
    write_units({"$A"});
    EXPECT_EQ(diphone_start(), 0);
    EXPECT_EQ(diphone_start_failure_path(), "");
    // Letters directory configured without a trailing separator gets one.
    EXPECT_EQ(diphone_letters_directory(), letters.generic_string() + "/");
    EXPECT_EQ(diphone_diphones_directory(), difones.generic_string() + "/");
    diphone_stop();
    EXPECT_FALSE(diphone_started());
    diphone_stop();  // twice is harmless

    write_text(root / "home" / "TALUNE.INI", "[TRADUTOR]\ndirLetras=" + (root / "nowhere").string() +
                                                 "\nDIRDIFONES=" + difones.string() + "\n");
    EXPECT_EQ(diphone_start(), 1);
    EXPECT_EQ(diphone_start_failure_path(), (root / "nowhere").generic_string());
}

TEST_F(DiphoneDb, DatabaseFilesAreFoundWhateverTheirCase) {
    write_units({"$A"});
    fs::rename(difones / "DIFONES2.IND", difones / "difones2.ind");
    fs::rename(difones / "regras.rgr", difones / "REGRAS.RGR");
    start();
    EXPECT_EQ(diphone_unit_count(), 1u);
    diphone_set_database("DIFONES5");
    EXPECT_EQ(diphone_start(), 1);
}

TEST_F(DiphoneDb, UnstressedUnitsLoseTheCutButKeepTheMinimum) {
    write_database({{"$KA", unit_samples(700, 1)},
                    {"$KO", unit_samples(450, 2)},
                    {"$K", unit_samples(700, 3)},
                    {"$ZA", unit_samples(1000, 4)},
                    {"$SO", unit_samples(400, 5)}});
    start();
    diphone_set_timing(300, 500, 100);
    ASSERT_TRUE(diphone_play_stored_unit("$ka", 1, 1.0));
    EXPECT_EQ(trace.back().bytes, 500u);
    ASSERT_TRUE(diphone_play_stored_unit("$KO", 0, 1.0));
    EXPECT_EQ(trace.back().bytes, 450u);
    ASSERT_TRUE(diphone_play_stored_unit("$KA", 2, 1.0));
    EXPECT_EQ(trace.back().bytes, 700u);
    // Two-character units are never cut.
    ASSERT_TRUE(diphone_play_stored_unit("$K", 1, 1.0));
    EXPECT_EQ(trace.back().bytes, 700u);
    // The factor applies to what is left.
    ASSERT_TRUE(diphone_play_stored_unit("$ZA", 2, 0.6));
    EXPECT_EQ(trace.back().bytes, 600u);

    // Start values: an unstressed unit of 400 bytes is found but silent.
    diphone_set_timing(400, 0, 100);
    ASSERT_TRUE(diphone_play_stored_unit("$SO", 1, 1.0));
    EXPECT_EQ(trace.back().bytes, 0u);
    ASSERT_TRUE(diphone_play_stored_unit("$ZA", 1, 1.0));
    EXPECT_EQ(trace.back().bytes, 600u);
    diphone_flush();
    ASSERT_EQ(images.size(), 1u);
    std::vector<uint8_t> s = played();
    ASSERT_EQ(s.size(), 500u + 450 + 700 + 700 + 600 + 600);
    EXPECT_EQ(s[0], 1);
    EXPECT_EQ(s[500], 2);
    EXPECT_EQ(s.back(), 4);
}

TEST_F(DiphoneDb, LookupFindsEveryUnitOfASortedIndexAndNothingElse) {
    std::vector<std::string> names = {"$A",   "$AW",  "$AWTIL", "$B",     "$BA",      "$BAS",
                                      "$K",   "$KA",  "$KACIRC", "$KAZA", "$ZZZZZZZ", "_X"};
    write_units(names, 10);
    start();
    EXPECT_EQ(diphone_unit_count(), names.size());
    for (const auto& n : names) EXPECT_TRUE(diphone_play_stored_unit(n, 2, 1.0)) << n;
    for (const char* n : {"$", "$AA", "$BAZ", "$KAZ", "$KAZAS", "A", "$ZZZZZZZZ", ""})
        EXPECT_FALSE(diphone_play_stored_unit(n, 2, 1.0)) << n;
}

TEST_F(DiphoneDb, EmptyIndexFindsNothing) {
    write_file(difones / "DIFONES2.IND", {});
    write_file(difones / "DIFONES2.DIF", {});
    start();
    EXPECT_EQ(diphone_unit_count(), 0u);
    EXPECT_FALSE(diphone_play_stored_unit("$A", 2, 1.0));
    trace.clear();
    diphone_play_unit("$A", 2, 1.0);
    EXPECT_EQ(units_tried(), (std::vector<std::string>{"$A?", "noise"}));
}

TEST_F(DiphoneDb, NamesOfNineCharactersAreNeverFound) {
    // A record claiming a 9-character name must not be matched or read past.
    std::vector<uint8_t> index;
    put_record(index, "$ABCDEFGH", 10, 0, 9);
    write_file(difones / "DIFONES2.IND", index);
    write_file(difones / "DIFONES2.DIF", unit_samples(10, 7));
    start();
    EXPECT_FALSE(diphone_play_stored_unit("$ABCDEFGH", 2, 1.0));
    EXPECT_FALSE(diphone_play_stored_unit("$ABCDEFGHI", 2, 1.0));
}

TEST_F(DiphoneDb, HostileIndexStaysInsideTheData) {
    std::vector<uint8_t> index;
    put_record(index, "$A", 100, 0);
    put_record(index, "$B", 500, 50);         // runs past the 120-byte data file
    put_record(index, "$C", 100, 100000);     // starts past it
    put_record(index, "$D", 65535, 0xFFFFFFF0u);
    index.push_back(2);                       // a torn record at the end
    index.push_back('$');
    write_file(difones / "DIFONES2.IND", index);
    write_file(difones / "DIFONES2.DIF", unit_samples(120, 9));
    start();
    EXPECT_EQ(diphone_unit_count(), 4u);
    EXPECT_TRUE(diphone_play_stored_unit("$A", 2, 1.0));
    EXPECT_EQ(trace.back().bytes, 100u);
    EXPECT_TRUE(diphone_play_stored_unit("$B", 2, 1.0));
    EXPECT_EQ(trace.back().bytes, 70u);
    EXPECT_TRUE(diphone_play_stored_unit("$C", 2, 1.0));
    EXPECT_EQ(trace.back().bytes, 0u);
    EXPECT_TRUE(diphone_play_stored_unit("$D", 2, 1.0));
    EXPECT_EQ(trace.back().bytes, 0u);
    diphone_flush();
    for (uint8_t s : played()) ASSERT_EQ(s, 9);
}

TEST_F(DiphoneDb, LetterRecordingsAreReadFromTheirDataChunk) {
    write_units({"$A"});
    write_file(letters / "_65.wav", wav_bytes(unit_samples(300, 65), true));
    write_file(letters / "_66.WAV", wav_bytes(unit_samples(200, 66)));
    write_file(letters / "_67.wav", wav_bytes(unit_samples(100, 67), false, 5000));  // data size lies
    write_file(letters / "_68.wav", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
    write_file(letters / "_69.wav", wav_bytes({}));
    start();
    EXPECT_TRUE(diphone_play_letter("_65"));
    EXPECT_EQ(trace.back().bytes, 300u);
    EXPECT_TRUE(diphone_play_letter("_66"));
    EXPECT_EQ(trace.back().bytes, 200u);
    EXPECT_TRUE(diphone_play_letter("_67"));
    EXPECT_EQ(trace.back().bytes, 100u);
    EXPECT_FALSE(diphone_play_letter("_68"));
    EXPECT_FALSE(diphone_play_letter("_69"));
    EXPECT_FALSE(diphone_play_letter("_70"));
    diphone_flush();
    std::vector<uint8_t> s = played();
    ASSERT_EQ(s.size(), 600u);
    EXPECT_EQ(s[0], 65);
    EXPECT_EQ(s[300], 66);
    EXPECT_EQ(s[599], 67);
}

TEST_F(DiphoneDb, SilenceComesInWholeBlocksAndNoiseStaysNearTheMiddle) {
    write_units({"$A"});
    start();
    diphone_silence(4000);
    EXPECT_EQ(trace.back().bytes, 4000u);
    diphone_silence(150);
    EXPECT_EQ(trace.back().bytes, 100u);
    diphone_silence(99);
    EXPECT_EQ(trace.back().bytes, 0u);
    diphone_noise();
    EXPECT_EQ(trace.back().bytes, 300u);
    diphone_flush();
    std::vector<uint8_t> s = played();
    ASSERT_EQ(s.size(), 4400u);
    for (size_t i = 0; i < 4100; ++i) ASSERT_EQ(s[i], 128);
    bool varied = false;
    for (size_t i = 4100; i < s.size(); ++i) {
        ASSERT_GE(s[i], 88);
        ASSERT_LE(s[i], 167);
        varied |= s[i] != s[4100];
    }
    EXPECT_TRUE(varied);
}

TEST_F(DiphoneDb, LongSoundIsPlayedInPiecesThatFitTheBuffer) {
    write_database({{"$LONGO", unit_samples(65000, 3)}, {"$KA", unit_samples(30000, 4)}});
    start();
    ASSERT_TRUE(diphone_play_stored_unit("$LONGO", 2, 1.0));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(diphone_play_stored_unit("$KA", 2, 1.0));
    diphone_flush();
    diphone_flush();  // an empty buffer plays nothing
    size_t total = 0;
    ASSERT_GE(images.size(), 3u);
    for (const auto& im : images) {
        ASSERT_LE(im.size(), DIPHONE_MAX_BUFFER);
        ASSERT_GT(im.size(), 44u);
        uint32_t data = im[40] | im[41] << 8 | im[42] << 16 | static_cast<uint32_t>(im[43]) << 24;
        EXPECT_EQ(data + 44, im.size());
        total += data;
    }
    EXPECT_EQ(total, 65000u + 3 * 30000);
}

