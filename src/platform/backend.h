// What each backend (sdl, terminal, headless) and each sound device supplies
// to platform.cpp, which routes the os_ calls to the chosen one.
#pragma once

#include "platform/os.h"

struct OsBackend {
    const char* name;
    // False when this backend cannot run here (no display, not a tty).
    bool (*start)();
    // Restores terminal modes, closes windows; must be safe to call twice and
    // from a signal handler path (async-signal-safe where it matters).
    void (*shutdown)();
    bool (*wait_event)(OsEvent& ev, int timeout_ms, bool reading_key);
    bool (*poll_event)(OsEvent& ev);
    void (*post_event)(const OsEvent& ev);
    uint64_t (*ticks_ms)();
    void (*sleep_ms)(int ms);
    OsTime (*local_time)();
    OsTime (*utc_time)();
    void (*screen_open)(const OsScreenConfig& cfg);
    void (*screen_draw)(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg);
    void (*screen_caret)(bool visible, int col, int row);
    bool (*screen_scrolled)(OsRgb bg);
    void (*screen_title)(const std::string& title);
    void (*beep)();
    bool (*screen_focused)();
    void (*screen_close)();
    void (*clipboard_set)(const std::string& text);
    bool (*clipboard_get)(std::string& text);
    // A modal message box; nullptr where the backend has none.
    bool (*message_box)(const std::string& title, const std::string& text) = nullptr;
    // Drops the key presses the backend keeps waiting for the console's room;
    // nullptr where it keeps none.
    void (*discard_held_keys)() = nullptr;
};

struct OsAudioDevice {
    const char* name;
    OsAudioOpen (*open)(const OsAudioFormat& fmt);
    bool (*write)(int buffer_number, const uint8_t* data, size_t bytes);
    void (*reset)();
    void (*close)();
    void (*play_tone)(const OsAudioFormat& fmt, const uint8_t* samples, size_t bytes);
};

const OsBackend* sdl_backend();
const OsBackend* terminal_backend();
const OsBackend* headless_backend();

// Sound devices: the headless one keeps virtual time, the SDL one plays, the
// null one keeps real time when no sound card can be opened.
const OsAudioDevice* headless_audio_device();
const OsAudioDevice* sdl_audio_device();
const OsAudioDevice* null_audio_device();

// Replaces the sound device that os_audio_* routes to (tests that watch what
// reaches the device); nullptr returns to the backend's own choice.
void os_set_audio_device_for_tests(const OsAudioDevice* device);

// Posts the block-done event of a sound device for `buffer_number`.
void os_post_wave_done(int buffer_number);
// A process-local clipboard for backends without a system one.
void local_clipboard_set(const std::string& text);
bool local_clipboard_get(std::string& text);

// Voice libraries: one driver file each, chosen by voices/voices.cpp.
struct OsSynthDriver {
    const char* name;
    bool (*open)();
    bool (*voice)(int index, std::string& name);
    bool (*select_voice)(int index);
    bool (*set_rate)(int words_per_minute);
    void (*set_pitch)(int hertz);
    int (*sample_rate)();
    bool (*speak)(const std::string& latin1_text);
    bool (*next_event)(OsSynthEvent& ev);
    void (*cancel)();
    void (*close)();
};

struct OsVoiceServerDriver {
    const char* name;
    int (*open)(const std::string& module);
    int (*voice_count)(int handle);
    bool (*select_voice)(int handle, int index);
    bool (*set_rate)(int handle, int rate);
    bool (*speak)(int handle, const std::string& latin1_text);
    bool (*cancel)(int handle);
    bool (*wait_done)(int handle, int timeout_ms);
    bool (*alive)(int handle);
    void (*close)(int handle);
};

// espeak-ng and speech-dispatcher, and the silent stand-ins that accept
// everything, play nothing and finish each text at once (headless runs).
const OsSynthDriver* espeak_synth_driver();
const OsSynthDriver* silent_synth_driver();
const OsVoiceServerDriver* speechd_voice_driver();
const OsVoiceServerDriver* silent_voice_server_driver();

// Replaces the voice drivers that os_synth_* and os_voice_server_* route to
// (tests with fake engines); nullptr returns to the platform's choice.
void os_set_voice_drivers_for_tests(const OsSynthDriver* synth, const OsVoiceServerDriver* server);
