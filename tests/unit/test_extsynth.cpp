// The dispatcher: which back end each type reaches, the start wait with its
// flag, and a key that cuts an engine's speech at the next busy test.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "audio/extsynth.h"
#include "audio/wave_output.h"
#include "console/console.h"
#include "platform/headless/headless.h"
#include "platform/os.h"
#include "speech/speech.h"
#include "speech/speech_state.h"

namespace {
std::vector<std::string> g_calls;
int g_busy_answers = 0;  // how many busy calls still answer true
bool g_start_ok = true;
bool g_engine_there = true;  // what the engines answer when asked if they are still there

template <int N>
struct Recorder {
    static const char* name() {
        static const char* names[] = {"verna", "sapi4", "sapi5", "sapi54"};
        return names[N];
    }
    static constexpr ExtSynthEngine engine = {
        "recorder",
        [](int voice, int rate, int pitch, const std::string&) {
            g_calls.push_back(std::string(name()) + " start " + std::to_string(voice) + " " + std::to_string(rate) +
                              " " + std::to_string(pitch));
            return g_start_ok;
        },
        [] { g_calls.push_back(std::string(name()) + " stop"); },
        [](const std::string& t) { g_calls.push_back(std::string(name()) + " speak " + t); },
        [](bool start_wait) {
            g_calls.push_back(std::string(name()) + (start_wait ? " busy wait" : " busy"));
            return g_busy_answers > 0 && g_busy_answers-- > 0;
        },
        [] { g_calls.push_back(std::string(name()) + " silence"); },
        [] { return g_engine_there; },
    };
};

class ExtSynth : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset_for_test("");
        console_reset();
        wave_reset();
        extsynth_reset();
        g_calls.clear();
        g_busy_answers = 0;
        g_start_ok = true;
        g_engine_there = true;
        extsynth_register(EXTSYNTH_TYPE_VERNA, &Recorder<0>::engine);
        extsynth_register(EXTSYNTH_TYPE_SAPI4, &Recorder<1>::engine);
        extsynth_register(EXTSYNTH_TYPE_SAPI5, &Recorder<2>::engine);
        extsynth_register(EXTSYNTH_TYPE_SAPI54, &Recorder<3>::engine);
    }
    void TearDown() override {
        extsynth_stop();
        extsynth_reset();
    }
};
}  // namespace

TEST_F(ExtSynth, EachTypeReachesItsBackEnd) {
    EXPECT_EQ(extsynth_type(), 4) << "the type before any start";
    struct Case {
        int type;
        const char* engine;
    } cases[] = {{7, "sapi4"}, {0, "sapi4"}, {4, "sapi4"}, {5, "sapi5"}, {54, "sapi54"}, {3, "verna"}, {-5, "sapi4"}};
    for (const Case& c : cases) {
        g_calls.clear();
        ASSERT_TRUE(extsynth_start(2, 3, 4, "", c.type));
        EXPECT_EQ(extsynth_type(), c.type) << "the type itself is kept";
        extsynth_speak("ola");
        extsynth_silence();
        extsynth_stop();
        std::string e = c.engine;
        std::vector<std::string> expected = {e + " start 2 3 4", e + " busy wait", e + " speak ola", e + " silence",
                                             e + " stop"};
        EXPECT_EQ(g_calls, expected) << "type " << c.type;
    }
}

TEST_F(ExtSynth, StartWaitsUntilTheEngineIsQuietOnlyWhenItStarted) {
    g_busy_answers = 3;
    uint64_t t0 = os_ticks_ms();
    ASSERT_TRUE(extsynth_start(1, 0, 0, "", 5));
    EXPECT_EQ(os_ticks_ms() - t0, 150u) << "three 50 ms steps";
    EXPECT_EQ(g_calls.size(), 5u) << "start, then four busy tests with the start-wait flag";
    EXPECT_EQ(g_calls.back(), "sapi5 busy wait");
    g_calls.clear();
    EXPECT_FALSE(extsynth_busy());
    EXPECT_EQ(g_calls.back(), "sapi5 busy") << "the front end's busy test passes false";
    extsynth_stop();

    g_calls.clear();
    g_start_ok = false;
    g_busy_answers = 3;
    t0 = os_ticks_ms();
    EXPECT_FALSE(extsynth_start(1, 0, 0, "", 54));
    EXPECT_EQ(g_calls.size(), 1u) << "a failed start does not wait";
    EXPECT_EQ(os_ticks_ms(), t0);
    extsynth_speak("perdido");
    EXPECT_FALSE(extsynth_busy());
    EXPECT_EQ(g_calls.size(), 1u) << "nothing reaches an engine that failed";

    extsynth_register(EXTSYNTH_TYPE_SAPI5, nullptr);
    EXPECT_FALSE(extsynth_start(1, 0, 0, "", 5)) << "a type without a back end";
}

TEST_F(ExtSynth, AKeyWhileTheEngineSpeaksSilencesItAtTheNextBusyTest) {
    ASSERT_TRUE(extsynth_start(1, 0, 0, "", 7));
    SpeechState& s = speech_state();
    s.external_active = true;
    s.external_type = 7;
    extsynth_speak("uma frase longa");
    g_busy_answers = 100;
    EXPECT_TRUE(speech_busy());
    g_calls.clear();
    console_queue_key('a');
    EXPECT_FALSE(speech_busy());
    EXPECT_NE(std::find(g_calls.begin(), g_calls.end(), "sapi4 silence"), g_calls.end());
    EXPECT_TRUE(console_key_waiting()) << "the key stays for the caller";
    s.external_active = false;
}

TEST_F(ExtSynth, AnEngineThatWentAwayHandsTheSpeechBackToTheOwnReader) {
    EXPECT_FALSE(extsynth_available()) << "nothing started";
    ASSERT_TRUE(extsynth_start(1, 0, 0, "", 5));
    SpeechState& s = speech_state();
    s.external_active = true;
    s.external_type = 5;
    speech_say("antes");
    EXPECT_EQ(g_calls.back(), "sapi5 speak antes");

    g_engine_there = false;  // the server died
    EXPECT_FALSE(extsynth_available());
    g_calls.clear();
    speech_say("depois");
    EXPECT_FALSE(s.external_active) << "the front end speaks with its own reader again";
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "sapi5 stop"), 1) << "the lost engine is released";
    EXPECT_EQ(std::find(g_calls.begin(), g_calls.end(), "sapi5 speak depois"), g_calls.end());
    EXPECT_FALSE(speech_busy());
}
