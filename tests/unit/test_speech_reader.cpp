// The own reader and the recorded output, heard through the sound log with
// the generated installation data: numbers, spelling, dashes, repeated
// symbols, addresses, pauses, and a key that cuts speech short.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "audio/extsynth.h"
#include "console/sound_log.h"
#include "audio/wave_output.h"
#include "console/console.h"
#include "diphone/diphone.h"
#include "platform/headless/headless.h"
#include "platform/os.h"
#include "speech/speech.h"
#include "system_support.h"

namespace {
namespace fs = std::filesystem;
const fs::path DATA = fs::path(FUGA_BINARY_DIR) / "data";

class SpeechReader : public ::testing::Test {
protected:
    void SetUp() override {
        log_path_ = fs::temp_directory_path() / ("fuga_speech_" + std::to_string(::sys_process_id()) + ".log");
        sys_set_env("TALUNE_HOME", DATA);
        sys_set_env("FUGA_SOUND_LOG", log_path_);
        headless_reset_for_test("");
        sound_log_reset();
        console_reset();
        wave_reset();
        diphone_reset();
        extsynth_reset();
        speech_module_start();
        speech_start(3, (DATA / "som").string());
        speech_set_speak_punctuation(false);
        mark();
    }
    void TearDown() override {
        speech_stop();
        sys_unset_env("FUGA_SOUND_LOG");
        sound_log_reset();
        fs::remove(log_path_);
    }
    // Forgets what the log holds so far.
    void mark() { skip_ = read_all().size(); }
    std::vector<std::string> read_all() {
        std::ifstream in(log_path_);
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
    // The log since mark(), with image sizes dropped ("image").
    std::string heard() {
        std::vector<std::string> all = read_all();
        std::string out;
        for (size_t i = skip_; i < all.size(); ++i) {
            std::string l = all[i];
            if (l.rfind("image ", 0) == 0) l = "image";
            if (l.rfind("file ", 0) == 0) l = l.substr(5, l.size() - 9);  // the key
            out += (out.empty() ? "" : " ") + l;
        }
        return out;
    }
    fs::path log_path_;
    size_t skip_ = 0;
};
}  // namespace

TEST_F(SpeechReader, ZerosNumbersAndSpelledRuns) {
    speech_say("007");
    EXPECT_EQ(heard(), "say 007 _zero _zero image");
    mark();
    speech_say("2024-05");
    EXPECT_EQ(heard(), "say 2024-05 _50 _48 _50 _52 _45 _48 _53");
    mark();
    speech_say("1234567");
    EXPECT_EQ(heard(), "say 1234567 _49 _50 _51 _52 _53 _54 _55") << "seven digits are spelled";
    mark();
    speech_say("123456");
    std::string h = heard();
    EXPECT_EQ(h.find('_'), std::string::npos) << "six digits are spoken as a number, not spelled: " << h;
    EXPECT_EQ(h.rfind("say 123456 image", 0), 0u) << h;
    mark();
    speech_say("-5");
    EXPECT_EQ(heard(), "say -5 _MENOS image");
}

TEST_F(SpeechReader, DashesHyphensAndPauses) {
    uint64_t t0 = os_ticks_ms();
    speech_say("a - b");
    EXPECT_EQ(heard(), "say a - b image image") << "the dash is only a pause when punctuation is off";
    EXPECT_GE(os_ticks_ms() - t0, 150u);
    mark();
    speech_set_speak_punctuation(true);
    speech_say("a - b");
    EXPECT_EQ(heard(), "say a - b image _45 image");
    mark();
    speech_set_speak_punctuation(false);
    speech_say("guarda-roupa");
    EXPECT_EQ(heard(), "say guarda-roupa image image") << "the dash of a hyphenated word is not spoken";
    mark();
    speech_say("3.5");
    EXPECT_EQ(heard(), "say 3.5 image _46 image") << "a point inside a number is spoken, without a pause";
}

TEST_F(SpeechReader, RepeatedSymbolsAndAddresses) {
    speech_say("!!!!!!");
    EXPECT_EQ(heard(), "say !!!!!! _33 _33 _33 _33 image image") << "four marks, then two clicks";
    mark();
    speech_say("www.casa");
    EXPECT_EQ(heard(), "say www.casa _119 _119 _119 _46 image");
    mark();
    speech_say("http://casa");
    EXPECT_EQ(heard(), "say http://casa image _58 _47 _47 image");
}

TEST_F(SpeechReader, KeyDuringLongTextStopsWithinOneStep) {
    headless_reset_for_test("{wait 300}x");
    mark();
    speech_say("um texto bem comprido, com muitas palavras, para ser lido devagar: uma, duas, tres, quatro.");
    std::string h = heard();
    size_t images = 0;
    for (size_t at = h.find("image"); at != std::string::npos; at = h.find("image", at + 1)) ++images;
    EXPECT_LE(images, 2u) << "the reader stops at its next step: " << h;
    ASSERT_TRUE(console_key_waiting());
    EXPECT_EQ(console_read_key(), 'x');
}

TEST_F(SpeechReader, RecordingsAndTones) {
    speech_play_key("_DEL");
    speech_play_key("_del");  // found without regard to case
    speech_play_key("NAOEXISTE");
    EXPECT_EQ(heard(), "_DEL _DEL");
    mark();
    console_queue_key('q');
    speech_beep_pattern();
    EXPECT_FALSE(console_key_waiting()) << "keys typed ahead are discarded";
    EXPECT_EQ(heard(), "image");
    mark();
    speech_dial_tones("1*#a");
    EXPECT_EQ(heard(), "dtmf_1 dtmf_X dtmf_#");
}

namespace {
int g_fake_speaking = 0;
std::vector<std::string> g_fake_texts;
const ExtSynthEngine FAKE = {
    "fake",
    [](int, int, int, const std::string&) { return true; },
    [] {},
    [](const std::string& t) {
        g_fake_texts.push_back(t);
        g_fake_speaking = 3;
    },
    // Like a real engine, it wakes the waiting loop while it speaks.
    [](bool) {
        bool speaking = g_fake_speaking > 0 && --g_fake_speaking > 0;
        if (speaking) {
            OsEvent wake;
            wake.type = OsEventType::Wake;
            os_post_event(wake);
        }
        return speaking;
    },
    [] { g_fake_speaking = 0; },
};
}  // namespace

TEST_F(SpeechReader, ExternalSynthesizerReturnsAtOnceAndRecordingsWait) {
    // The generated configuration with the external synthesizer asked for.
    fs::path dir = fs::temp_directory_path() / ("fuga_ext_" + std::to_string(::sys_process_id()));
    fs::create_directories(dir);
    std::ifstream in(DATA / "TALUNE.INI");
    std::ofstream out(dir / "TALUNE.INI");
    for (std::string l; std::getline(in, l);) out << (l == "SAPI=N" ? "SAPI=S\n[SERVFALA]\nTIPOSAPI=4\n[TRADUTOR]" : l) << "\n";
    out.close();
    sys_set_env("TALUNE_HOME", dir);
    extsynth_register(EXTSYNTH_TYPE_SAPI4, &FAKE);
    speech_start(3, (DATA / "som").string());
    mark();
    g_fake_texts.clear();
    speech_say("ola mundo");
    EXPECT_EQ(g_fake_texts.size(), 1u);
    EXPECT_GT(g_fake_speaking, 0) << "speech_say returns while the synthesizer speaks";
    speech_play_key("_DEL");
    EXPECT_EQ(g_fake_speaking, 0) << "a recording waits for the synthesizer to be silent";
    EXPECT_EQ(heard(), "say ola mundo ext ola mundo _DEL");
    speech_stop();
    extsynth_reset();
    sys_set_env("TALUNE_HOME", DATA);
    fs::remove_all(dir);
}
