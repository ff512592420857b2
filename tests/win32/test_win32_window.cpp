// The console window and the sound device on the real facilities (under
// Wine with a virtual display and a private sound server in CI): key
// messages as the console's messages, wake-ups and posts from other
// threads, Alt+F4, the screen image, the clipboard, and the wave mapper's
// blocks handed back once each, also after a reset.
#include <gtest/gtest.h>
#include <windows.h>

#include <mmsystem.h>

#include <thread>
#include <vector>

#include "platform/backend.h"
#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_wave.h"
#include "platform/win32/win32_window.h"

namespace {

const OsBackend* b() { return win32_backend(); }

// The events that arrive within `ms`, without the window's own (repaints,
// focus), which come whenever the system likes.
std::vector<OsEvent> events_within(int ms) {
    std::vector<OsEvent> got;
    ULONGLONG end = GetTickCount64() + ULONGLONG(ms);
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        OsEvent ev;
        if (!b()->wait_event(ev, int(end - now), false)) break;
        if (ev.type == OsEventType::Expose || ev.type == OsEventType::FocusIn || ev.type == OsEventType::FocusOut)
            continue;
        got.push_back(ev);
    }
    return got;
}

class Win32Window : public ::testing::Test {
protected:
    void SetUp() override {
        if (!b()->start()) GTEST_SKIP() << "no display for a window";
        OsScreenConfig cfg;
        cfg.font_face = "Courier New";
        cfg.font_width = "10";
        cfg.font_height = "20";
        cfg.slow_scroll = true;
        cfg.title = "teste da janela";
        if (!win32_window_open(cfg)) GTEST_SKIP() << "no display for a window";
        hwnd = win32_window_handle();
        events_within(200);  // the first repaint and focus
    }
    void TearDown() override { win32_window_close(); }
    HWND hwnd = nullptr;
};

TEST_F(Win32Window, KeyMessagesBecomeVirtualKeysReleasesAndLatin1Characters) {
    const LPARAM alt = LPARAM(1) << 29;
    PostMessageW(hwnd, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(hwnd, WM_CHAR, 0xE7, 0);    // ç
    PostMessageW(hwnd, WM_CHAR, 0x20AC, 0);  // the euro sign has a byte in the code page
    PostMessageW(hwnd, WM_CHAR, 0x0101, 0);  // a with macron has none
    PostMessageW(hwnd, WM_KEYUP, 'F', 0);    // a braille chord key let go
    PostMessageW(hwnd, WM_SYSKEYDOWN, 'X', alt);
    PostMessageW(hwnd, WM_SYSCHAR, 'x', alt);  // taken with its key: no menu, no beep
    PostMessageW(hwnd, WM_SYSKEYDOWN, VK_F10, 0);
    std::vector<OsEvent> got = events_within(300);
    ASSERT_EQ(got.size(), 7u);
    EXPECT_EQ(got[0].type, OsEventType::KeyDown);
    EXPECT_EQ(got[0].vkey, VK_UP_KEY);
    EXPECT_FALSE(got[0].alt);
    EXPECT_EQ(got[1].type, OsEventType::Char);
    EXPECT_EQ(got[1].ch, 0xE7);
    EXPECT_EQ(got[2].type, OsEventType::Char);
    EXPECT_EQ(got[2].ch, 0x80);
    EXPECT_EQ(got[3].type, OsEventType::Untypeable);
    EXPECT_EQ(got[4].type, OsEventType::KeyUp);
    EXPECT_EQ(got[4].vkey, 'F');
    EXPECT_EQ(got[5].type, OsEventType::KeyDown);
    EXPECT_EQ(got[5].vkey, 'X');
    EXPECT_TRUE(got[5].alt);
    EXPECT_EQ(got[6].type, OsEventType::KeyDown);
    EXPECT_EQ(got[6].vkey, VK_F1_KEY + 9);
}

TEST_F(Win32Window, AltF4AsksToCloseAndWakeUpsComeFromOtherThreads) {
    PostMessageW(hwnd, WM_SYSKEYDOWN, VK_F4, LPARAM(1) << 29);
    std::vector<OsEvent> got = events_within(300);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].type, OsEventType::KeyDown);
    EXPECT_EQ(got[1].type, OsEventType::Close);
    EXPECT_NE(win32_window_handle(), nullptr) << "the console closes the window, not the system";

    std::thread poster([] {
        OsEvent wake;
        wake.type = OsEventType::Wake;
        wake.param = 1123;
        b()->post_event(wake);
        wake.param = 2980;
        b()->post_event(wake);
        OsEvent other;
        other.type = OsEventType::WaveDone;
        other.param = 3;
        b()->post_event(other);
    });
    poster.join();
    OsEvent ev;
    std::vector<int> params;
    while (b()->wait_event(ev, 300, false))
        if (ev.type == OsEventType::Wake || ev.type == OsEventType::WaveDone) params.push_back(ev.param);
    EXPECT_EQ(params, (std::vector<int>{1123, 2980, 3}));
}

TEST_F(Win32Window, CellsAreDrawnInTheirColoursAndScrollUpOneRow) {
    Win32WindowMetrics m = win32_window_metrics();
    EXPECT_EQ(m.columns, 80);
    EXPECT_EQ(m.rows, 25);
    EXPECT_EQ(m.cell_h, 20);
    ASSERT_GT(m.cell_w, 0);
    const unsigned char text[] = "MMMM";
    b()->screen_draw(2, 1, text, 4, OsRgb{255, 255, 0}, OsRgb{0, 0, 255});
    int yellow = 0, blue = 0;
    for (int y = m.cell_h; y < 2 * m.cell_h; ++y)
        for (int x = 2 * m.cell_w; x < 6 * m.cell_w; ++x) {
            COLORREF c = win32_window_image_pixel(x, y);
            yellow += c == RGB(255, 255, 0);
            blue += c == RGB(0, 0, 255);
        }
    EXPECT_GT(yellow, 4 * m.cell_w);  // the letters
    EXPECT_GT(blue, 4 * m.cell_w);    // the cells' background
    EXPECT_EQ(win32_window_image_pixel(1 * m.cell_w, m.cell_h), RGB(0, 0, 0)) << "a cell not drawn";

    SetForegroundWindow(hwnd);
    if (!b()->screen_scrolled(OsRgb{255, 0, 0})) GTEST_SKIP() << "the window is not the active one here";
    int moved = 0;
    for (int x = 2 * m.cell_w; x < 6 * m.cell_w; ++x) moved += win32_window_image_pixel(x, m.cell_h / 2) == RGB(0, 0, 255);
    EXPECT_GT(moved, 0) << "row 1 moved to row 0";
    EXPECT_EQ(win32_window_image_pixel(0, 24 * m.cell_h), RGB(255, 0, 0)) << "the freed row in the background";
}

TEST_F(Win32Window, ClipboardKeepsLatin1Text) {
    const std::string text = "a\xE7\xE3o \x80 ok";  // "ação € ok"
    win32_clipboard_set(text);
    std::string back;
    ASSERT_TRUE(win32_clipboard_get(back));
    EXPECT_EQ(back, text);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    win32_clipboard_set("");
    ASSERT_TRUE(win32_clipboard_get(back));
    EXPECT_EQ(back, "");
}

// Sound: blocks of a 440 Hz square wave.
class Win32Wave : public ::testing::Test {
protected:
    void SetUp() override {
        if (!b()->start()) GTEST_SKIP() << "no display: no window for the device's messages";
        for (size_t i = 0; i < sizeof block; ++i) block[i] = (i / 12) % 2 ? 160 : 96;
        OsAudioFormat fmt;
        OsAudioOpen r = win32_audio_device()->open(fmt);
        if (r == OsAudioOpen::NoDevice) GTEST_SKIP() << "no sound device";
        ASSERT_EQ(r, OsAudioOpen::Ok);
    }
    void TearDown() override { win32_audio_device()->close(); }
    // The buffer numbers handed back within `ms`.
    std::vector<int> done_within(int ms) {
        std::vector<int> numbers;
        for (const OsEvent& ev : events_within(ms))
            if (ev.type == OsEventType::WaveDone) numbers.push_back(ev.param);
        return numbers;
    }
    uint8_t block[11025] = {};  // a second at 11025 Hz, 8 bits
};

TEST_F(Win32Wave, FourBlocksWrittenComeBackOnceEachAfterPlaying) {
    const OsAudioDevice* d = win32_audio_device();
    unsigned long before = win32_wave_done_count();
    ULONGLONG start = GetTickCount64();
    for (int n = 1; n <= 4; ++n) ASSERT_TRUE(d->write(n, block, 2205));  // a fifth of a second each
    EXPECT_FALSE(d->write(1, block, 2205)) << "a buffer the device still holds";
    std::vector<int> done;
    while (done.size() < 4 && GetTickCount64() - start < 5000)
        for (int n : done_within(100)) done.push_back(n);
    EXPECT_EQ(done, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(win32_wave_done_count() - before, 4u);
    EXPECT_GE(GetTickCount64() - start, 600u) << "the blocks were handed back without being played";
    EXPECT_TRUE(done_within(300).empty());
}

TEST_F(Win32Wave, ResetHandsEveryBlockBackAtOnceAndLateMessagesAreIgnored) {
    const OsAudioDevice* d = win32_audio_device();
    for (int n = 1; n <= 4; ++n) ASSERT_TRUE(d->write(n, block, sizeof block));
    Sleep(100);
    unsigned long before = win32_wave_done_count();
    d->reset();
    std::vector<int> done;
    OsEvent ev;
    while (b()->poll_event(ev))
        if (ev.type == OsEventType::WaveDone) done.push_back(ev.param);
    EXPECT_EQ(done, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(done_within(300).empty()) << "the device's own done messages came late and counted twice";
    EXPECT_EQ(win32_wave_done_count(), before);

    // The buffers are free again, and another format opens the device anew.
    ASSERT_TRUE(d->write(2, block, 256));
    d->close();
    OsAudioFormat stereo;
    stereo.rate = 22050;
    stereo.bits = 16;
    stereo.channels = 2;
    EXPECT_EQ(d->open(stereo), OsAudioOpen::Ok);
    OsAudioFormat odd;
    odd.bits = 12;
    EXPECT_EQ(d->open(odd), OsAudioOpen::BadFormat);
}

}  // namespace
