// The engine through its interface with the real mbrola and br1: start and
// its failure texts, the voice database found through the registry, blank
// text, file output and its header, sound on the card, a killed MBROLA, and
// type 3's configuration, factors and key cut-off.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/extsynth.h"
#include "audio/wave_output.h"
#include "console/key_cut.h"
#include "console_test_support.h"
#include "mbrola_voice.h"
#include "platform/headless/headless.h"
#include "platform/os.h"
#include "system_support.h"
#include "temp_home.h"
#include "util/latin1.h"
#include "util/wave_format.h"
#include "verna/abbreviations.h"
#include "verna/backend.h"
#include "verna/letter_rules.h"
#include "verna/mbrola.h"
#include "verna/mbrola_pipe.h"
#include "verna/message.h"
#include "verna/verna.h"
#include "wave_test_support.h"

namespace {


void ignore(const std::string&) {}

// Small data files in the br1 alphabet: a rule per letter, one exception,
// one abbreviation, durations and a flat pattern, every diphone br1 has.
const char* const RULES =
    "; one rule per letter\n"
    "(A)=a\n(B)=b\n(C)=k\n(D)=d\n(E)=e\n(F)=f\n(G)=g\n(H)=\n(I)=i\n(J)=j\n(K)=k\n(L)=l\n(M)=m\n"
    "(N)=n\n(O)=o\n(P)=p\n(Q)=k\n(R)=r\n(S)=s\n(T)=t\n(U)=u\n(V)=v\n(W)=w\n(X)=x\n(Y)=i\n(Z)=z\n";
const char* const PROSODY =
    "[DURAÇÃO]\n_=100\n__=150\na=90\ne=85\ni=75\no=85\nu=75\n"
    "[CHAVES]\n"
    "[PROSÓDIA]\nHERTZ=120\nTABHERTZ=0,80,85,90,95,100,105,110,120,130\n";

class VernaEngine : public TempHomeTest {
protected:
    void SetUp() override {
        TempHomeTest::SetUp();
        headless_reset_for_test("");
        console_reset();
        wave_reset();
        wave_recorder() = WaveRecorder{};
        os_set_audio_device_for_tests(wave_recording_device());
        verna_set_message_recorder(ignore);
        verna_reset();
        mbrola_reset();
        verna_backend_reset();
        write_file("portug.nrl", RULES);
        write_file("portug.exc", "CAZA=CASA\n");
        write_file("portug.abr", "SR=senhor\nSRA=senhora\n");
        write_file("portug.pro", latin1(PROSODY));
        write_dfn();
    }
    void TearDown() override {
        verna_reset();
        mbrola_reset();
        verna_backend_reset();
        wave_reset();
        os_set_audio_device_for_tests(nullptr);
        verna_set_message_recorder(nullptr);
        TempHomeTest::TearDown();
    }
    void write_dfn() {
        std::string all;
        for (const char* a : {"_", "a", "b", "k", "d", "e", "f", "g", "i", "j", "l", "m", "n", "o", "p", "r", "s",
                              "t", "u", "v", "w", "x", "z", "y"})
            for (const char* b : {"_", "a", "b", "k", "d", "e", "f", "g", "i", "j", "l", "m", "n", "o", "p", "r",
                                  "s", "t", "u", "v", "w", "x", "z", "y"})
                all += std::string(a) + "-" + b + "\n";
        write_file("portug.dfn", all);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    bool start(const std::string& database = BR1, const std::string& rules = "") {
        return verna_start(database, rules.empty() ? path("portug.nrl") : rules, path("portug.exc"),
                           path("portug.abr"), path("portug.pro"), path("portug.dfn"));
    }
    static void wait_end() {
        while (verna_busy()) console_wait_message(100);
    }
    size_t sound_bytes() const { return wave_recorder().bytes_written(); }
};

}  // namespace

TEST_F(VernaEngine, FailuresOfStartRecordTheirTextsInOrder) {
    REQUIRE_MBROLA();
    // No voice: false without a text, MBROLA unbound again.
    EXPECT_FALSE(start("/nonexistent/voice"));
    EXPECT_EQ(verna_last_error(), "");
    EXPECT_FALSE(mbrola_bound());

    // A missing rules file: the Portuguese database text, and the
    // abbreviations are not read (the table keeps what it had).
    ASSERT_TRUE(verna_load_abbreviations_text("X=xis\n", "before"));
    EXPECT_FALSE(start(BR1, path("missing.nrl")));
    EXPECT_EQ(verna_last_error(), latin1("Erro na base de dados de português"));
    EXPECT_EQ(verna_abbreviation_count(), 1);
    verna_stop();

    std::remove(path("portug.abr").c_str());
    EXPECT_FALSE(start());
    EXPECT_EQ(verna_last_error(), "Erro no arquivo de abreviaturas");
    verna_stop();

    // An exceptions file that never ends is refused, not read until memory
    // runs out.
    std::remove(path("portug.exc").c_str());
    std::filesystem::create_symlink("/dev/zero", path("portug.exc"));
    EXPECT_FALSE(start());
    EXPECT_EQ(verna_last_error(), latin1("Erro na base de dados de português"));
    verna_stop();
    std::remove(path("portug.exc").c_str());
    write_file("portug.exc", "CAZA=CASA\n");

    write_file("portug.abr", "SR=senhor\n");
    std::remove(path("portug.dfn").c_str());
    EXPECT_FALSE(start());
    EXPECT_EQ(verna_last_error(), latin1("Erro no arquivo de prosódia"));
    verna_stop();

    write_dfn();
    verna_set_output_file("/nonexistent-dir/out.wav");
    EXPECT_FALSE(start());
    EXPECT_EQ(verna_last_error(), "");
    verna_stop();
    verna_set_output_file("");
    EXPECT_TRUE(start());
    EXPECT_EQ(verna_last_error(), "");
}

TEST_F(VernaEngine, ARulesFileOfGarbageFailsTheStartAndNamesItsLine) {
    REQUIRE_MBROLA();
    write_file("portug.nrl", "; rules\n(A)=a\nthis is no rule\n");
    EXPECT_FALSE(start());
    EXPECT_EQ(verna_last_error(), latin1("Erro na base de dados de português"));
    EXPECT_EQ(verna_rules_message(), path("portug.nrl") + ":3: not a rule (left(letters)right=phonemes)");
    verna_stop();
    write_file("portug.nrl", "");
    EXPECT_FALSE(start());
    EXPECT_EQ(verna_rules_message(), path("portug.nrl") + ": no rules");
    verna_stop();
    // Configured as the front end's synthesizer, it is not taken on: the
    // front end keeps its own reader.
    write_file("TALUNE.INI", "[VERNATTS]\nDIR=" + dir_.string() + "\nMBROLA_DB=" + BR1 + "\n");
    verna_backend_reset();
    extsynth_register(EXTSYNTH_TYPE_VERNA, verna_backend_engine());
    EXPECT_FALSE(extsynth_start(0, 0, 0, "", EXTSYNTH_TYPE_VERNA));
    EXPECT_FALSE(extsynth_available());
    extsynth_reset();
}

TEST_F(VernaEngine, ALibraryWithoutOneEntryPointCannotStartTheEngine) {
    // The stand-in library lacks appendf0_Phone, which the engine never calls.
    mbrola_set_library(TEST_MBROLA_INCOMPLETE_LIBRARY);
    EXPECT_FALSE(start("voice"));
    EXPECT_FALSE(mbrola_bound());
    verna_stop();
    mbrola_set_library(TEST_MBROLA_LIBRARY);
    EXPECT_TRUE(start("voice"));
    verna_stop();
}

TEST_F(VernaEngine, TheRegistryNamesTheVoiceDatabase) {
    // No entry: the name itself is the path.
    EXPECT_EQ(verna_database_path("br1"), "br1");
    write_file("registry.ini",
               "[SOFTWARE\\TCTS\\Mbrola\\databases]\nbr1=/usr/share/mbrola/br1/br1\nbr4=\n");
    EXPECT_EQ(verna_database_path("BR1"), "/usr/share/mbrola/br1/br1");
    // Present but empty: the default path.
    EXPECT_EQ(verna_database_path("br4"), "c:\\brelum\\vernatts\\br4");
    REQUIRE_MBROLA();
    EXPECT_TRUE(start("br1"));
}

TEST_F(VernaEngine, BlankTextIsSilentAndWordsSoundOnTheCard) {
    REQUIRE_MBROLA();
    ASSERT_TRUE(start());
    verna_set_factors(1.0, 1.0);
    EXPECT_TRUE(verna_speak(" \t\r\n "));
    EXPECT_TRUE(verna_speak(""));
    EXPECT_EQ(sound_bytes(), 0u);
    EXPECT_TRUE(verna_speak("casa"));
    wait_end();
    // "casa" is four phonemes of 75..100 ms and pauses around it.
    EXPECT_GT(sound_bytes(), 16000u * 2 * 3 / 10);
    EXPECT_EQ(wave_recorder().only("open").front(), "open 16000 16 1");
    // The MBROLA lines themselves: the word as a comment, its phonemes.
    std::string lines = verna_mbrola_text("Casa");
    EXPECT_NE(lines.find(";Casa\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find("\nk "), std::string::npos) << lines;
}

TEST_F(VernaEngine, OutputFileIsAValidWavOfEverySampleAndNothingPlays) {
    REQUIRE_MBROLA();
    std::string out = path("out.wav");
    verna_set_output_file(out);
    ASSERT_TRUE(start());
    EXPECT_FALSE(verna_busy());
    EXPECT_TRUE(verna_speak("a casa"));
    EXPECT_FALSE(verna_busy()) << "false at once while writing to a file";
    EXPECT_TRUE(verna_speak("bola"));
    verna_stop();
    EXPECT_EQ(sound_bytes(), 0u);
    EXPECT_TRUE(wave_recorder().only("open").empty());

    std::ifstream in(out, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 44u + 16000u);
    WaveImageView view;
    ASSERT_TRUE(wave_parse_image(bytes.data(), bytes.size(), view));
    EXPECT_EQ(view.format.rate, 16000);
    EXPECT_EQ(view.format.bits, 16);
    EXPECT_EQ(view.format.channels, 1);
    uint32_t stated = uint32_t(bytes[40] | bytes[41] << 8 | bytes[42] << 16 | uint32_t(bytes[43]) << 24);
    EXPECT_EQ(stated, bytes.size() - 44);
    uint32_t riff = uint32_t(bytes[4] | bytes[5] << 8 | bytes[6] << 16 | uint32_t(bytes[7]) << 24);
    EXPECT_EQ(riff, bytes.size() - 8);
}

TEST_F(VernaEngine, AKilledMbrolaIsReplacedWithoutLosingATextOrHanging) {
    REQUIRE_MBROLA();
    ASSERT_TRUE(start());
    int pid = mbrola_pipe_process_id();
    ASSERT_GT(pid, 0);
    sys_kill_process(pid);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(verna_speak("a casa da bola"));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(6));
    wait_end();
    EXPECT_GT(sound_bytes(), 0u);
    EXPECT_NE(mbrola_pipe_process_id(), pid);
}

TEST_F(VernaEngine, TypeThreeReadsVernattsAndTheRegistry) {
    // Nothing configured and no registry: the old defaults.
    const VernaBackendFiles& f = verna_backend_files();
    EXPECT_EQ(f.database, "br4");
    EXPECT_EQ(f.rules, "\\brelum\\vernatts\\portug.nrl");
    verna_backend_reset();
    write_file("TALUNE.INI", "[VERNATTS]\nDIR=d:\\voz\n");
    EXPECT_EQ(verna_backend_files().prosody, "d:\\voz\\portug.pro");
    verna_backend_reset();
    write_file("TALUNE.INI", "[VERNATTS]\nBASE=outra\n");
    write_file("registry.ini", "[SOFTWARE\\TCTS\\Mbrola\\databases\\BR4]\n@=c:\\mbrola\\br4\\br4\n");
    EXPECT_EQ(verna_backend_files().directory, "c:\\mbrola\\br4\\");
    EXPECT_EQ(verna_backend_files().diphones, "c:\\mbrola\\br4\\outra.dfn");
    verna_backend_reset();
    write_file("TALUNE.INI", "[VERNATTS]\nDIR=" + dir_.string() + "\nMBROLA_DB=" + BR1 + "\n");
    EXPECT_EQ(verna_backend_files().exceptions, dir_.string() + "/portug.exc");

    REQUIRE_MBROLA();
    ASSERT_TRUE(verna_backend_start(7, 3, 0, ""));
    EXPECT_DOUBLE_EQ(verna_duration_factor(), 0.8 - 3.0 / 15.0);
    EXPECT_DOUBLE_EQ(verna_pitch_factor(), 1.0);
    verna_backend_stop();
    ASSERT_TRUE(verna_backend_start(0, 0, 11, ""));
    EXPECT_DOUBLE_EQ(verna_duration_factor(), 0.8);
    EXPECT_DOUBLE_EQ(verna_pitch_factor(), 2.0);
    // A key while it speaks: the next busy silences it and answers false.
    verna_backend_speak("a casa da bola e a casa do sapo");
    EXPECT_TRUE(verna_backend_busy());
    os_post_event(char_event('x'));
    EXPECT_FALSE(verna_backend_busy());
    EXPECT_FALSE(verna_busy());
    EXPECT_EQ(console_read_key(), 'x') << "the key stays for the caller";
    verna_backend_stop();
}

TEST_F(VernaEngine, AnInstalledStopAnswerSilencesItLikeAKey) {
    write_file("TALUNE.INI", "[VERNATTS]\nDIR=" + dir_.string() + "\nMBROLA_DB=" + BR1 + "\n");
    REQUIRE_MBROLA();
    ASSERT_TRUE(verna_backend_start(0, 0, 0, ""));
    verna_backend_speak("a casa da bola e a casa do sapo");
    EXPECT_TRUE(verna_backend_busy());
    key_cut_set_hook([] { return true; });
    EXPECT_FALSE(verna_backend_busy());
    EXPECT_FALSE(verna_busy());
    key_cut_set_hook(nullptr);
    verna_backend_stop();
}

TEST_F(VernaEngine, EveryToneAndRateTheConfigurationAllowsIsHeard) {
    write_file("TALUNE.INI", "[VERNATTS]\nDIR=" + dir_.string() + "\nMBROLA_DB=" + BR1 + "\n");
    REQUIRE_MBROLA();
    // Tone -11 made every pitch 0 and MBROLA stopped on it; far below and
    // far above, and the slowest and fastest rates, are held where MBROLA
    // still speaks.
    const int settings[][2] = {{0, -11}, {0, -1000}, {0, 100000}, {10, 0}, {-300, 0}, {10, -11}};
    for (const auto& s : settings) {
        ASSERT_TRUE(verna_backend_start(0, s[0], s[1], "")) << s[0] << " " << s[1];
        wave_recorder() = WaveRecorder{};
        EXPECT_TRUE(verna_speak("a casa")) << "rate " << s[0] << ", tone " << s[1];
        wait_end();
        EXPECT_GT(sound_bytes(), 2000u) << "rate " << s[0] << ", tone " << s[1];
        EXPECT_GE(verna_pitch_factor(), VERNA_MIN_PITCH_FACTOR);
        verna_backend_stop();
    }
    // The lowest tone whose factor is above zero keeps its own.
    verna_set_factors(0.8, (-10.0 + 11.0) / 11.0);
    EXPECT_DOUBLE_EQ(verna_pitch_factor(), 1.0 / 11.0);
    verna_set_factors(std::nan(""), -1.0);
    EXPECT_DOUBLE_EQ(verna_duration_factor(), 1.0);
    EXPECT_DOUBLE_EQ(verna_pitch_factor(), VERNA_MIN_PITCH_FACTOR);
}
