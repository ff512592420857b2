// The window backend's keyboard translation and event queue, on SDL's dummy
// video driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend.h"
#include "platform/sdl/sdl_draw.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_window.h"

namespace {
SDL_Event key(Uint32 type, SDL_Keycode sym, SDL_Scancode sc, Uint16 mod = KMOD_NONE) {
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = sc;
    e.key.keysym.mod = mod;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    return e;
}

SDL_Event text(const char* utf8) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_TEXTINPUT;
    size_t n = std::min(std::strlen(utf8), sizeof e.text.text - 1);
    std::memcpy(e.text.text, utf8, n);  // SDL_zero left the terminating zero
    return e;
}

// Each message as a short word: "D38", "D65c" (Ctrl), "U16", "C231", "X".
std::string describe(const OsEvent& ev) {
    std::string s;
    switch (ev.type) {
        case OsEventType::KeyDown: s = "D" + std::to_string(ev.vkey); break;
        case OsEventType::KeyUp: s = "U" + std::to_string(ev.vkey); break;
        case OsEventType::Char: s = "C" + std::to_string(ev.ch); break;
        case OsEventType::Close: return "X";
        case OsEventType::Untypeable: return "B";
        default: return "?";
    }
    if (ev.shift) s += "s";
    if (ev.ctrl) s += "c";
    if (ev.alt) s += "a";
    return s;
}

// Translates the events in order; a key press sees the text event after it.
std::string run(std::vector<SDL_Event> events) {
    std::string all;
    for (size_t k = 0; k < events.size(); ++k) {
        const SDL_Event& e = events[k];
        const char* next_text = k + 1 < events.size() && events[k + 1].type == SDL_TEXTINPUT ? events[k + 1].text.text : nullptr;
        OsEvent out[SDL_KEYS_MAX_OUT];
        int n = sdl_keys_translate(e, next_text, out, SDL_KEYS_MAX_OUT);
        for (int i = 0; i < n; ++i) all += (all.empty() ? "" : " ") + describe(out[i]);
    }
    return all;
}
}  // namespace

TEST(SdlKeys, KeysBecomeVirtualKeysWithTheirModifiers) {
    sdl_keys_reset();
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP)}), "D38");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, KMOD_LCTRL)}), "D38c");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_INSERT, SDL_SCANCODE_INSERT, KMOD_RSHIFT)}), "D45s");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_F1, SDL_SCANCODE_F1)}), "D112");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_F12, SDL_SCANCODE_F12, KMOD_LCTRL | KMOD_LALT)}), "D123ca");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN)}), "D34");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_PAUSE, SDL_SCANCODE_PAUSE, KMOD_LCTRL)}), "D3c");
    // Alt+Left reaches the program as Left with Alt held.
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_LALT)}), "D37a");
    // The keypad follows Num Lock.
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_KP_8, SDL_SCANCODE_KP_8)}), "D38");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_KP_8, SDL_SCANCODE_KP_8, KMOD_NUM)}), "D104");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD)}), "D46");
    // A layout without Latin letters keeps the key's position.
    EXPECT_EQ(run({key(SDL_KEYDOWN, 0x0444, SDL_SCANCODE_A)}), "D65");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN)}), "");
    // Releases are reported for the braille chords.
    EXPECT_EQ(run({key(SDL_KEYUP, SDLK_f, SDL_SCANCODE_F), key(SDL_KEYUP, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT)}),
        "U70 U16s");
}

TEST(SdlKeys, TextAndControlCharactersBecomeCharMessages) {
    sdl_keys_reset();
    // A letter: the key, then SDL's text.
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A), text("a")}), "D65 C97");
    // UTF-8 is taken to Latin-1; characters outside it are dropped.
    // A character the code page lacks (Cyrillic here) beeps instead of vanishing.
    EXPECT_EQ(run({text("ç\xC3\xA3o€\xD0\xB4!")}), "C231 C227 C111 C128 B C33");
    // A whole text event of letters (an input method's commit) is kept.
    std::string expected;
    for (int i = 0; i < 31; ++i) expected += std::string(i ? " " : "") + "C120";
    EXPECT_EQ(run({text("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx")}), expected);
    // SDL types no text for these keys: a keyboard types their control codes.
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN)}), "D13 C13");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER)}), "D13 C13");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE)}), "D8 C8");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_TAB, SDL_SCANCODE_TAB)}), "D9 C9");
    // Shift+Tab is Tab with Shift held (the screen review's previous field).
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_TAB, SDL_SCANCODE_TAB, KMOD_LSHIFT)}), "D9s C9s");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE)}), "D27 C27");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_c, SDL_SCANCODE_C, KMOD_LCTRL), text("c")}), "D67c C3c");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, KMOD_RCTRL)}), "D8c C8c");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LCTRL)}), "D13c C13c");
    // Alt combinations type nothing; the next plain key types again.
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_x, SDL_SCANCODE_X, KMOD_LALT), text("x")}), "D88a");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT)}), "D13a");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_y, SDL_SCANCODE_Y), text("y")}), "D89 C121");
    // A right Alt that types another character is the AltGr shift; one that
    // leaves the key's own letter is Alt.
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q, KMOD_RALT), text("/")}), "D81 C47");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q, KMOD_RALT), text("q")}), "D81a");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_e, SDL_SCANCODE_E, KMOD_RALT | KMOD_LSHIFT), text("E")}), "D69sa");
    // Alt+F4 asks to close the window.
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT)}), "X");
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4)}), "D115");
    // With Ctrl as well it is a key like any other, as in the other backends.
    EXPECT_EQ(run({key(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT | KMOD_LCTRL)}), "D115ca");
}

class SdlBackend : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        b = sdl_backend();
        ASSERT_TRUE(b->start());
    }
    void TearDown() override { b->shutdown(); }
    const OsBackend* b = nullptr;
};

TEST_F(SdlBackend, OpensAWindowAndAsksForTheFirstPaint) {
    OsScreenConfig cfg;
    cfg.font_width = "10";
    cfg.font_height = "20";
    cfg.title = "FUGA";
    b->screen_open(cfg);
    ASSERT_NE(sdl_draw_canvas(), nullptr);
    EXPECT_EQ(sdl_draw_canvas()->w, 800);
    EXPECT_EQ(sdl_draw_canvas()->h, 500);
    // The window fits 80 x 25 cells and can shrink to 16 x 4 of them.
    SDL_Window* window = SDL_GetWindowFromID(sdl_window_id());
    ASSERT_NE(window, nullptr);
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ((std::vector<int>{w, h}), (std::vector<int>{800, 500}));
    SDL_GetWindowMinimumSize(window, &w, &h);
    EXPECT_EQ((std::vector<int>{w, h}), (std::vector<int>{160, 80}));
    SDL_GetWindowMaximumSize(window, &w, &h);
    EXPECT_EQ((std::vector<int>{w, h}), (std::vector<int>{800, 500}));
    EXPECT_STREQ(SDL_GetWindowTitle(window), "FUGA");
    OsEvent ev;
    ASSERT_TRUE(b->poll_event(ev));
    EXPECT_EQ(ev.type, OsEventType::Expose);
    EXPECT_EQ((std::vector<int>{ev.col0, ev.row0, ev.col1, ev.row1}), (std::vector<int>{0, 0, 80, 25}));
    EXPECT_FALSE(b->wait_event(ev, 0, false));

    const unsigned char row[] = "Sala 1";
    b->screen_draw(0, 0, row, 6, OsRgb{255, 255, 0}, OsRgb{0, 0, 0});
    // Without slow scrolling the console repaints after a scroll.
    EXPECT_FALSE(b->screen_scrolled(OsRgb{0, 0, 0}));
    b->screen_title("Programa terminado");
    b->screen_close();
    EXPECT_EQ(sdl_draw_canvas(), nullptr);
}

// Writes polled in a burst right after the window opened wait for the next
// wait (the first sound starts first); polls later show what they drew.
TEST_F(SdlBackend, PollsShowTheImageAtMostEveryFewMilliseconds) {
    OsScreenConfig cfg;
    cfg.font_width = "10";
    cfg.font_height = "20";
    Uint64 opened = SDL_GetTicks64();
    b->screen_open(cfg);
    SDL_Surface* shown = SDL_GetWindowSurface(SDL_GetWindowFromID(sdl_window_id()));
    ASSERT_NE(shown, nullptr);
    auto lit = [shown] {
        // The first cell's background.
        Uint32 v = reinterpret_cast<Uint32*>(static_cast<Uint8*>(shown->pixels) + 10 * shown->pitch)[5];
        Uint8 r, g, bl;
        SDL_GetRGB(v, shown->format, &r, &g, &bl);
        return r == 255 && g == 255 && bl == 255;
    };
    const unsigned char* blank = reinterpret_cast<const unsigned char*>(" ");
    OsEvent ev;
    b->screen_draw(0, 0, blank, 1, OsRgb{0, 0, 0}, OsRgb{255, 255, 255});
    while (b->poll_event(ev)) {
    }
    // Only a machine that stalled this test for the whole interval shows it.
    if (SDL_GetTicks64() - opened < 25) {
        EXPECT_FALSE(lit());
    }
    EXPECT_FALSE(b->wait_event(ev, 0, false));
    EXPECT_TRUE(lit());

    b->screen_draw(0, 0, blank, 1, OsRgb{255, 255, 255}, OsRgb{0, 0, 0});
    SDL_Delay(40);
    EXPECT_FALSE(b->poll_event(ev));
    EXPECT_FALSE(lit());
    b->screen_close();
}

TEST_F(SdlBackend, EventsPostedFromAnotherThreadWakeTheWait) {
    std::thread poster([this] {
        SDL_Delay(30);
        OsEvent ev;
        ev.type = OsEventType::WaveDone;
        ev.param = 3;
        b->post_event(ev);
    });
    OsEvent ev;
    Uint64 start = SDL_GetTicks64();
    ASSERT_TRUE(b->wait_event(ev, 5000, false));
    poster.join();
    EXPECT_EQ(ev.type, OsEventType::WaveDone);
    EXPECT_EQ(ev.param, 3);
    EXPECT_LT(SDL_GetTicks64() - start, 2000u);

    Uint64 before = SDL_GetTicks64();
    EXPECT_FALSE(b->wait_event(ev, 50, false));
    EXPECT_GE(SDL_GetTicks64() - before, 45u);
}

TEST_F(SdlBackend, KeysAndTheCloseButtonArriveInOrder) {
    OsScreenConfig cfg;
    cfg.font_width = "8";
    cfg.font_height = "16";
    b->screen_open(cfg);
    OsEvent ev;
    ASSERT_TRUE(b->poll_event(ev));  // the first paint
    SDL_Event down = key(SDL_KEYDOWN, SDLK_h, SDL_SCANCODE_H);
    SDL_PushEvent(&down);
    SDL_Event typed = text("h");
    SDL_PushEvent(&typed);
    SDL_Event close;
    SDL_zero(close);
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    // Our window is the only one; find its id.
    for (Uint32 id = 1; id < 16; ++id)
        if (SDL_GetWindowFromID(id)) close.window.windowID = id;
    SDL_PushEvent(&close);
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);

    std::string seen;
    while (b->wait_event(ev, 20, true)) seen += describe(ev) + " ";
    EXPECT_EQ(seen, "D72 C104 X ");
}

TEST_F(SdlBackend, ClipboardKeepsLatin1Text) {
    OsScreenConfig cfg;
    cfg.font_width = "8";
    cfg.font_height = "16";
    b->screen_open(cfg);
    b->clipboard_set(std::string("a\xE7\xE3o"));
    std::string got;
    ASSERT_TRUE(b->clipboard_get(got));
    EXPECT_EQ(got, "a\xE7\xE3o");
    b->clipboard_set("");
    EXPECT_FALSE(b->clipboard_get(got));
}
