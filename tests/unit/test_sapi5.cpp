// The two speech-server bridges against a fake server: the voice and rate
// rules, what is sent, the completion wait and its wake message.
#include <gtest/gtest.h>

#include "audio/extsynth.h"
#include "audio/sapi5.h"
#include "console/console.h"
#include "fake_voices.h"
#include "platform/headless/headless.h"

namespace {
class Sapi5 : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset_for_test("");
        console_reset();
        sapi5_reset();
        use_fake_voices();
    }
    void TearDown() override {
        g_fake_server.speaking = false;
        sapi5_stop();
        sapi54_stop();
        os_set_voice_drivers_for_tests(nullptr, nullptr);
    }
    // Wake messages waiting in the queue (taken out).
    int wakes() {
        int n = 0;
        OsEvent ev;
        while (os_poll_event(ev))
            if (ev.type == OsEventType::Wake && ev.param == EXTSYNTH_WAKE_MESSAGE) ++n;
        return n;
    }
};
}  // namespace

// The fake's rate is 99 until one is set: the voice's own rate is the one
// the user gave it in the system's settings, which no rate sent may replace.
TEST_F(Sapi5, AnInvalidVoiceNumberGivesTheFirstVoiceAtItsOwnRate) {
    ASSERT_TRUE(sapi5_start(0, 7, 3, ""));
    EXPECT_EQ(g_fake_server.selected, 0);
    EXPECT_EQ(g_fake_server.rate, 99) << "the configured rate is ignored and none is sent";
    EXPECT_EQ(sapi5_voice_number(), 1);
    sapi5_stop();

    ASSERT_TRUE(sapi5_start(2, 7, 0, ""));
    EXPECT_EQ(g_fake_server.selected, 1);
    EXPECT_EQ(g_fake_server.rate, 7) << "voice 2 of 3 keeps the rate";
    sapi5_stop();

    g_fake_server.rate = 99;
    ASSERT_TRUE(sapi5_start(4, 7, 0, ""));
    EXPECT_EQ(g_fake_server.selected, 0) << "4 of 3 voices";
    EXPECT_EQ(g_fake_server.rate, 99);
    sapi5_stop();

    ASSERT_TRUE(sapi54_start(1, 0, 0, ""));
    EXPECT_EQ(g_fake_server.rate, 99) << "rate 0 is the voice's own";
    sapi54_stop();
    EXPECT_EQ(g_fake_server.closes, 4);

    g_fake_server.voices = 0;
    EXPECT_FALSE(sapi5_start(1, 0, 0, "")) << "no voices installed";
    EXPECT_EQ(g_fake_server.closes, 5) << "the connection is not kept";
    g_fake_server.voices = 3;
    g_fake_server.opens = false;
    EXPECT_FALSE(sapi54_start(1, 0, 0, "")) << "no server or no such module";
}

TEST_F(Sapi5, EachBridgeHasItsOwnModuleAndConnection) {
    ASSERT_TRUE(sapi5_start(1, 0, 0, ""));
    ASSERT_TRUE(sapi54_start(3, 0, 0, ""));
    std::vector<std::string> modules = {"", "rhvoice"};
    EXPECT_EQ(g_fake_server.modules, modules);
    EXPECT_EQ(sapi5_voice_number(), 1);
    EXPECT_EQ(sapi54_voice_number(), 3);
    sapi54_stop();
    EXPECT_EQ(sapi54_voice_number(), 0);
    EXPECT_EQ(sapi5_voice_number(), 1) << "stopping one leaves the other";
}

TEST_F(Sapi5, SpeakingAndTheCompletionWait) {
    ASSERT_TRUE(sapi5_start(1, 0, 0, ""));
    wakes();
    EXPECT_FALSE(sapi5_busy());
    EXPECT_EQ(wakes(), 0) << "nothing queued: no message";

    sapi5_speak("");
    ASSERT_EQ(g_fake_server.texts.size(), 1u);
    EXPECT_EQ(g_fake_server.texts[0], " ") << "an empty text is one space";
    sapi5_speak("Voc\xea");
    EXPECT_EQ(g_fake_server.texts[1], "Voc\xea");
    EXPECT_TRUE(sapi5_busy());
    EXPECT_EQ(wakes(), 1) << "a busy answer wakes the waiting loop";

    uint64_t t0 = os_ticks_ms();
    sapi5_silence();
    EXPECT_EQ(g_fake_server.cancels, 1);
    EXPECT_GE(os_ticks_ms() - t0, 50u);
    EXPECT_FALSE(sapi5_busy()) << "soon not busy after the silence";

    EXPECT_TRUE(sapi5_available());
    EXPECT_FALSE(sapi54_available()) << "never started";
    g_fake_server.alive = false;
    EXPECT_FALSE(sapi5_available()) << "the server went away";
    g_fake_server.alive = true;

    // A refused text (the server went away) beeps and leaves nothing to wait for.
    g_fake_server.speak_ok = false;
    sapi5_speak("ola");
    EXPECT_FALSE(sapi5_busy());
}

TEST_F(Sapi5, AKeyEndsTheCompletionWaitAtOnce) {
    ASSERT_TRUE(sapi5_start(1, 0, 0, ""));
    sapi5_speak("ola");
    g_fake_server.waited_ms = 0;
    EXPECT_TRUE(sapi5_busy());
    EXPECT_EQ(g_fake_server.waited_ms, 20) << "no key: the whole wait";

    // A key that arrives during the wait ends it at the next slice.
    OsEvent key;
    key.type = OsEventType::Char;
    key.ch = 'a';
    os_post_event(key);
    g_fake_server.waited_ms = 0;
    EXPECT_TRUE(sapi5_busy()) << "still speaking: the caller is to cut it";
    EXPECT_LT(g_fake_server.waited_ms, 20);
    ASSERT_TRUE(console_key_waiting());

    // With the key waiting, no wait at all.
    g_fake_server.waited_ms = 0;
    EXPECT_TRUE(sapi5_busy());
    EXPECT_EQ(g_fake_server.waited_ms, 0);
}

TEST_F(Sapi5, StopLetsTheSpeechEnd) {
    ASSERT_TRUE(sapi54_start(1, 0, 0, ""));
    sapi54_speak("ola");
    // The fake server ends its speech only when cancelled; a busy stop would
    // spin for ever, so let the completion come with the first wait.
    g_fake_server.speaking = false;
    sapi54_stop();
    EXPECT_EQ(g_fake_server.closes, 1);
    EXPECT_FALSE(sapi54_busy()) << "a stopped bridge is never busy";
    sapi54_speak("depois");
    EXPECT_EQ(g_fake_server.texts.size(), 1u) << "nothing is sent after the stop";
}
