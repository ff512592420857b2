// The headless backend's virtual clock, event order and sound device.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/headless.h"

namespace {
const OsBackend& hb() { return *headless_backend(); }
const OsAudioDevice& dev() { return *headless_audio_device(); }

void load(const std::string& script) {
    os_set_keys_unread(0);  // the console holds nothing unread
    std::string err;
    ASSERT_TRUE(headless_reset_for_test(script, "2026-05-04 10:20:30", &err)) << err;
}

// A description of an event that reads well in a failed expectation.
std::string describe(const OsEvent& ev) {
    switch (ev.type) {
    case OsEventType::KeyDown: return "down " + std::to_string(ev.vkey);
    case OsEventType::KeyUp: return "up " + std::to_string(ev.vkey);
    case OsEventType::Char: return "char " + std::to_string(ev.ch);
    case OsEventType::Close: return "close";
    case OsEventType::WaveDone: return "done " + std::to_string(ev.param);
    case OsEventType::Wake: return "wake " + std::to_string(ev.param);
    default: return "other";
    }
}

std::string wait_one(int timeout_ms, bool reading_key) {
    OsEvent ev;
    if (!hb().wait_event(ev, timeout_ms, reading_key)) return "none";
    return describe(ev);
}

std::vector<std::string> poll_all() {
    std::vector<std::string> out;
    OsEvent ev;
    while (hb().poll_event(ev)) out.push_back(describe(ev));
    return out;
}

std::vector<uint8_t> silence(size_t n) { return std::vector<uint8_t>(n, 128); }

OsAudioFormat format(int rate, int bits, int channels) {
    OsAudioFormat f;
    f.rate = rate;
    f.bits = bits;
    f.channels = channels;
    return f;
}

using V = std::vector<std::string>;

// A real thread (an engine) posting a wake-up after `delay_ms` of real time.
std::thread post_wake_later(int param, int delay_ms) {
    return std::thread([param, delay_ms] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
        OsEvent ev;
        ev.type = OsEventType::Wake;
        ev.param = param;
        hb().post_event(ev);
    });
}
}  // namespace

TEST(Headless, ScriptKeysComeOnlyWhenTheProgramWaitsForAKey) {
    load("a\n");
    EXPECT_EQ(poll_all(), V{});
    // A timed wait that is not a key wait lets the clock run and gets nothing.
    EXPECT_EQ(wait_one(50, false), "none");
    EXPECT_EQ(hb().ticks_ms(), 50u);
    EXPECT_EQ(wait_one(1000, true), "down 65");
    EXPECT_EQ(poll_all(), (V{"char 97", "up 65"}));
    EXPECT_EQ(hb().ticks_ms(), 50u);  // handing out a key takes no time
    EXPECT_EQ(wait_one(-1, true), "down 13");
    EXPECT_EQ(poll_all(), (V{"char 13", "up 13"}));
    // Used up: every key wait is answered by the close request.
    EXPECT_EQ(wait_one(-1, true), "close");
    EXPECT_EQ(wait_one(10, true), "close");
    EXPECT_EQ(wait_one(-1, false), "close");
    // A wait with a limit that is not for a key still only lets time pass.
    EXPECT_EQ(wait_one(20, false), "none");
}

TEST(Headless, AnEndlessWaitWithNothingScheduledTakesTheNextKey) {
    load("x");
    EXPECT_EQ(wait_one(-1, false), "down 88");
    // With no script at all the first key wait gets Close.
    load("");
    EXPECT_EQ(wait_one(-1, true), "close");
}

TEST(Headless, SoundBlocksPlayBackToBackInVirtualTime) {
    load("");
    ASSERT_EQ(dev().open(format(11025, 8, 1)), OsAudioOpen::Ok);
    auto one_second = silence(11025), half = silence(5513);
    ASSERT_TRUE(dev().write(0, one_second.data(), one_second.size()));
    ASSERT_TRUE(dev().write(1, half.data(), half.size()));
    ASSERT_TRUE(dev().write(2, half.data(), half.size()));
    EXPECT_EQ(poll_all(), V{});
    EXPECT_EQ(wait_one(-1, false), "done 0");
    EXPECT_EQ(hb().ticks_ms(), 1000u);
    EXPECT_EQ(wait_one(-1, false), "done 1");
    EXPECT_EQ(hb().ticks_ms(), 1500u);
    EXPECT_EQ(wait_one(-1, false), "done 2");
    EXPECT_EQ(hb().ticks_ms(), 2000u);

    // A short timeout runs out before the block ends; sleeping past its end
    // makes it due, and polling hands it out without moving the clock.
    ASSERT_EQ(dev().open(format(22050, 16, 2)), OsAudioOpen::Ok);
    auto block = silence(88200);  // one second
    ASSERT_TRUE(dev().write(7, block.data(), block.size()));
    EXPECT_EQ(wait_one(300, false), "none");
    EXPECT_EQ(hb().ticks_ms(), 2300u);
    hb().sleep_ms(800);
    EXPECT_EQ(poll_all(), V{"done 7"});
    EXPECT_EQ(hb().ticks_ms(), 3100u);
    // A block written after the device fell idle starts now, not back then.
    ASSERT_TRUE(dev().write(8, block.data(), block.size()));
    EXPECT_EQ(wait_one(5000, false), "done 8");
    EXPECT_EQ(hb().ticks_ms(), 4100u);
}

TEST(Headless, ManyShortBlocksKeepTheirTrueTotalLength) {
    load("");
    ASSERT_EQ(dev().open(format(11025, 8, 1)), OsAudioOpen::Ok);
    auto tiny = silence(7);  // 0.635 ms each: rounding per block would drift
    for (int i = 0; i < 1575; ++i) ASSERT_TRUE(dev().write(i, tiny.data(), tiny.size()));
    std::string last;
    for (int i = 0; i < 1575; ++i) last = wait_one(-1, false);
    EXPECT_EQ(last, "done 1574");
    EXPECT_EQ(hb().ticks_ms(), 1000u);  // 11025 samples
}

TEST(Headless, ATimedKeyArrivesDuringASoundBlock) {
    load("a{wait 300}b{wait 1200}c");
    ASSERT_EQ(dev().open(format(11025, 8, 1)), OsAudioOpen::Ok);
    EXPECT_EQ(wait_one(-1, true), "down 65");
    poll_all();
    auto one_second = silence(11025);
    ASSERT_TRUE(dev().write(0, one_second.data(), one_second.size()));
    // The program only waits for the block; the typed key comes first.
    EXPECT_EQ(wait_one(-1, false), "down 66");
    EXPECT_EQ(hb().ticks_ms(), 300u);
    EXPECT_EQ(poll_all(), (V{"char 98", "up 66"}));
    EXPECT_EQ(wait_one(-1, false), "done 0");
    EXPECT_EQ(hb().ticks_ms(), 1000u);
    // c is due 1200 ms after b, even through a key wait with a short limit.
    EXPECT_EQ(wait_one(400, true), "none");
    EXPECT_EQ(hb().ticks_ms(), 1400u);
    hb().sleep_ms(99);
    EXPECT_EQ(poll_all(), V{});
    hb().sleep_ms(1);
    EXPECT_EQ(poll_all(), (V{"down 67", "char 99", "up 67"}));
    EXPECT_EQ(hb().ticks_ms(), 1500u);
}

TEST(Headless, ABlockEndingWithATimedKeyComesFirst) {
    load("{wait 1000}q");
    ASSERT_EQ(dev().open(format(11025, 8, 1)), OsAudioOpen::Ok);
    auto one_second = silence(11025);
    ASSERT_TRUE(dev().write(3, one_second.data(), one_second.size()));
    EXPECT_EQ(wait_one(-1, true), "done 3");
    EXPECT_EQ(wait_one(-1, true), "down 81");
    EXPECT_EQ(hb().ticks_ms(), 1000u);
}

TEST(Headless, ResetReportsEveryQueuedBlockAtOnce) {
    load("");
    ASSERT_EQ(dev().open(format(11025, 8, 1)), OsAudioOpen::Ok);
    auto block = silence(11025);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(dev().write(i, block.data(), block.size()));
    EXPECT_EQ(wait_one(100, false), "none");
    dev().reset();
    EXPECT_EQ(poll_all(), (V{"done 0", "done 1", "done 2"}));
    EXPECT_EQ(hb().ticks_ms(), 100u);
    // The device is free again at once.
    ASSERT_TRUE(dev().write(9, block.data(), block.size()));
    EXPECT_EQ(wait_one(-1, false), "done 9");
    EXPECT_EQ(hb().ticks_ms(), 1100u);
}

TEST(Headless, OpenChecksTheFormatAndCloseForgetsIt) {
    load("");
    EXPECT_EQ(dev().open(format(999, 8, 1)), OsAudioOpen::BadFormat);
    EXPECT_EQ(dev().open(format(200001, 8, 1)), OsAudioOpen::BadFormat);
    EXPECT_EQ(dev().open(format(11025, 24, 1)), OsAudioOpen::BadFormat);
    EXPECT_EQ(dev().open(format(11025, 8, 3)), OsAudioOpen::BadFormat);
    EXPECT_EQ(dev().open(format(11025, 8, 0)), OsAudioOpen::BadFormat);
    auto block = silence(100);
    EXPECT_FALSE(dev().write(0, block.data(), block.size()));
    EXPECT_EQ(dev().open(format(1000, 16, 2)), OsAudioOpen::Ok);
    EXPECT_EQ(dev().open(format(200000, 8, 1)), OsAudioOpen::Ok);
    ASSERT_TRUE(dev().write(0, block.data(), block.size()));
    dev().close();
    EXPECT_FALSE(dev().write(1, block.data(), block.size()));
    // A closed device reports nothing more.
    EXPECT_EQ(wait_one(1000, false), "none");
}

TEST(Headless, PostedEventsComeFirstAndFromAnyThread) {
    load("k");
    ASSERT_EQ(dev().open(format(11025, 8, 1)), OsAudioOpen::Ok);
    auto block = silence(110);
    ASSERT_TRUE(dev().write(0, block.data(), block.size()));
    hb().sleep_ms(20);  // the block is due
    std::thread t = post_wake_later(2980, 0);
    t.join();
    EXPECT_EQ(wait_one(-1, true), "wake 2980");
    EXPECT_EQ(wait_one(-1, true), "done 0");
    EXPECT_EQ(wait_one(-1, true), "down 75");

    // An endless wait with nothing to give still sees a late post.
    load("");
    std::thread late = post_wake_later(1123, 20);
    EXPECT_EQ(wait_one(-1, false), "wake 1123");
    late.join();
}

TEST(Headless, TheClockStartsWhereToldAndMovesWithVirtualTime) {
    std::string err;
    ASSERT_TRUE(headless_reset_for_test("", "2024-02-28 23:59:59", &err)) << err;
    OsTime t = hb().local_time();
    EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.weekday, t.hour, t.minute, t.second, t.millisecond}),
              (std::vector<int>{2024, 2, 28, 3, 23, 59, 59, 0}));
    hb().sleep_ms(1250);
    t = hb().local_time();
    EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.weekday, t.hour, t.minute, t.second, t.millisecond}),
              (std::vector<int>{2024, 2, 29, 4, 0, 0, 0, 250}));
    // UTC moves with it.
    OsTime u0 = hb().utc_time();
    hb().sleep_ms(60000);
    OsTime u1 = hb().utc_time();
    EXPECT_EQ((u1.minute - u0.minute + 60) % 60, 1);
    EXPECT_EQ(u1.second, u0.second);

    EXPECT_FALSE(headless_reset_for_test("", "2023-02-29 10:00:00", &err));
    EXPECT_NE(err.find("FUGA_CLOCK"), std::string::npos);
    EXPECT_FALSE(headless_reset_for_test("", "10:00", &err));
    EXPECT_FALSE(headless_reset_for_test("", "2023-01-01 10:00:00x", &err));
    EXPECT_FALSE(headless_reset_for_test("", "2023-1-01 10:00:00", &err));
    EXPECT_FALSE(headless_reset_for_test("", "2023-01-01 24:00:00", &err));
    EXPECT_FALSE(headless_reset_for_test("", "2023-01-01T10:00:00", &err));
}

TEST(Headless, ARefusedScriptLoadsNoKeys) {
    std::string err;
    EXPECT_FALSE(headless_reset_for_test("ok\nok\n{Nope}", "2026-01-01 00:00:00", &err));
    EXPECT_EQ(err.substr(0, 2), "3:");
    EXPECT_NE(err.find("{Nope}"), std::string::npos);
    EXPECT_EQ(wait_one(-1, true), "close");
}

// The last key came during a wait for an engine (no key wait) and the console
// holds it unread: the engine's late answer comes before the close, so that
// the program still reads the key.
TEST(Headless, NoCloseWhileTheConsoleHoldsAnUnreadKey) {
    load("x");
    EXPECT_EQ(wait_one(-1, false), "down 88");
    EXPECT_EQ(poll_all(), (V{"char 120", "up 88"}));
    os_set_keys_unread(1);
    std::thread engine = post_wake_later(1123, 400);
    EXPECT_EQ(wait_one(-1, false), "wake 1123");
    engine.join();
    os_set_keys_unread(0);
    EXPECT_EQ(wait_one(-1, true), "close");
}

TEST(Headless, AWaitAtTheEndTimesTheCloseRequest) {
    load("{wait 2500}");
    EXPECT_EQ(wait_one(1000, false), "none");
    EXPECT_EQ(wait_one(-1, false), "close");
    EXPECT_EQ(hb().ticks_ms(), 2500u);
}

TEST(Headless, ScreenAndClipboardNeedNoDisplay) {
    load("");
    EXPECT_TRUE(hb().start());
    EXPECT_TRUE(hb().screen_focused());
    EXPECT_FALSE(hb().screen_scrolled(OsRgb{0, 0, 0}));
    hb().clipboard_set("c\xE3o");
    std::string got;
    ASSERT_TRUE(hb().clipboard_get(got));
    EXPECT_EQ(got, "c\xE3o");
}
