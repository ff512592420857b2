// The dispatcher's bridges on the COM voices of Windows, through the stand-in
// engines: a key during a long text reaches the engine as its cut at once
// and the next text is spoken; an engine that never reports an end
// does not hold the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "audio/extsynth.h"
#include "audio/sapi4.h"
#include "audio/sapi5.h"
#include "audio/wave_output.h"
#include "console/console.h"
#include "platform/headless/headless.h"
#include "platform/win32/sapi4_voice.h"
#include "platform/win32/sapi5_voice.h"
#include "standin_registry.h"

namespace {
constexpr int LONG_TEXT_MS = 10000;

class ComVoiceBridges : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(standin_register_all()); }
    void restart(int t) {
        extsynth_stop();
        type = t;
        standin_fresh_record();
        headless_reset_for_test("");
        console_reset();
        wave_reset();
        sapi4_reset();
        sapi5_reset();
        extsynth_reset();
        os_set_voice_drivers_for_tests(sapi4_synth_driver(), sapi5_voice_driver());
    }
    void key_cuts_at_once();
    void key_before_the_start_cuts();
    void endless_engine_does_not_hold();
    void TearDown() override {
        extsynth_stop();
        os_set_voice_drivers_for_tests(nullptr, nullptr);
    }
    int type = 7;
    // The engine's record of the cut for this type.
    std::string cut_call() const {
        switch (type) {
            case 5: return "voice5 Speak 2  ";
            case 54: return "voice54 Speak 2  ";
            default: return "AudioReset";
        }
    }
    std::string start_of(const std::string& text) const {
        switch (type) {
            case 5: return "voice5 start " + text;
            case 54: return "voice54 start " + text;
            default: return "start " + text;
        }
    }
};

// Waits, as the front end does, while the engine speaks and no key came;
// a key cuts the engine. Answers whether a key ended the wait.
bool wait_like_the_front_end() {
    for (;;) {
        if (console_key_waiting()) {
            extsynth_silence();
            return true;
        }
        if (!extsynth_busy(false)) return false;
        console_wait_message();
    }
}

bool wait_for_record(const std::string& prefix, int ms) {
    uint64_t end = GetTickCount64() + uint64_t(ms);
    while (standin_first(prefix) == -1) {
        if (GetTickCount64() > end) return false;
        extsynth_busy(false);
        Sleep(1);
    }
    return true;
}
}  // namespace

// For each of the types 7 (version 4), 5 and 54 (version 5).
void ComVoiceBridges::key_cuts_at_once() {
    standin_set("FUGA_STANDIN_SPEAK_MS", std::to_string(LONG_TEXT_MS));
    ASSERT_TRUE(extsynth_start(1, 0, 0, "", type));
    extsynth_speak("Uma frase muito longa, que ainda fala quando a tecla chega.");
    ASSERT_TRUE(wait_for_record(start_of("Uma frase"), 3000)) << "the engine began to speak";

    long long key_at = 0;
    std::thread typist([&key_at] {
        Sleep(100);
        // What is spoken after the key (the blank that purges, the next
        // text) is short.
        standin_set("FUGA_STANDIN_SPEAK_MS", "20");
        key_at = standin_clock_us();
        OsEvent key;
        key.type = OsEventType::Char;
        key.ch = 'x';
        os_post_event(key);
    });
    bool cut = wait_like_the_front_end();
    typist.join();
    ASSERT_TRUE(cut) << "the key ended the wait, not the text";
    long long cut_at = standin_first(cut_call());
    ASSERT_NE(cut_at, -1) << "the engine was cut";
    EXPECT_LT(cut_at - key_at, STANDIN_CUT_BOUND_US) << "at once after the key";
    EXPECT_GE(cut_at, key_at);

    // The game goes on: the key is read, and the next text is spoken.
    EXPECT_EQ(console_read_key(), 'x');
    extsynth_speak("depois");
    EXPECT_FALSE(wait_like_the_front_end());
    EXPECT_NE(standin_first(start_of("depois")), -1);
}

// A key that comes before the engine has begun the text it was just handed
// cuts that text too.
void ComVoiceBridges::key_before_the_start_cuts() {
    standin_set("FUGA_STANDIN_SPEAK_MS", std::to_string(LONG_TEXT_MS));
    ASSERT_TRUE(extsynth_start(1, 0, 0, "", type));
    extsynth_speak("Mal entregue, ainda calada.");
    EXPECT_TRUE(extsynth_busy(false)) << "a text handed over keeps the engine busy";
    standin_set("FUGA_STANDIN_SPEAK_MS", "20");  // the blank that purges
    OsEvent key;
    key.type = OsEventType::Char;
    key.ch = 'x';
    os_post_event(key);
    EXPECT_TRUE(wait_like_the_front_end());
    EXPECT_NE(standin_first(cut_call()), -1) << "the engine was cut";
    EXPECT_EQ(console_read_key(), 'x');
    EXPECT_FALSE(wait_like_the_front_end()) << "quiet soon after, with no key";
    // Whether the engine began before the cut depends on when its thread
    // ran (each look at a busy engine lets it work for a moment); what
    // counts is that it was cut and is quiet.
}

void ComVoiceBridges::endless_engine_does_not_hold() {
    standin_set("FUGA_STANDIN_NO_END", "1");
    ASSERT_TRUE(extsynth_start(1, 0, 0, "", type));
    uint64_t t0 = GetTickCount64();
    extsynth_speak("ola");
    EXPECT_FALSE(wait_like_the_front_end());
    EXPECT_LT(GetTickCount64() - t0, 15000u);
    EXPECT_NE(standin_first(cut_call()), -1) << "the engine is cut, so what it owes is not heard later";
}

TEST_F(ComVoiceBridges, AKeyCutsTheEngineAtOnceAndTheGameGoesOn) {
    for (int t : {7, 5, 54}) {
        SCOPED_TRACE("type " + std::to_string(t));
        restart(t);
        key_cuts_at_once();
    }
}

TEST_F(ComVoiceBridges, AKeyBeforeTheEngineBeganCutsTheTextItWasHanded) {
    for (int t : {7, 5, 54}) {
        SCOPED_TRACE("type " + std::to_string(t));
        restart(t);
        key_before_the_start_cuts();
    }
}

TEST_F(ComVoiceBridges, AnEngineThatNeverEndsDoesNotHoldTheProgram) {
    for (int t : {7, 5, 54}) {
        SCOPED_TRACE("type " + std::to_string(t));
        restart(t);
        endless_engine_does_not_hold();
    }
}
