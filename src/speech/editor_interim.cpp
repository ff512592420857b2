// Stand-ins for the front-end operations of editor_interim.h, played
// through the wave output. They are weak definitions: the full front end's
// own ones replace them at link time, and this file goes once it has landed.
#include "speech/editor_interim.h"

#include <cstdio>

#include "audio/wave_output.h"
#include "console/console.h"
#include "speech/config.h"
#include "speech/speech.h"

namespace {
bool g_echo_typed = true;

void wait_while_busy() {
    while (speech_busy() || wave_busy()) console_wait_message();
}

std::string letters_directory() {
    std::string dir = config_read_setting("TRADUTOR", "DIRLETRAS");
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

void play_letters_file(const std::string& name) {
    wave_play_file(letters_directory() + name);
    wait_while_busy();
}
}  // namespace

__attribute__((weak)) void speech_silence() { wave_stop(); }

__attribute__((weak)) void speech_spell_char(unsigned char c) { play_letters_file("_" + std::to_string(c) + ".wav"); }

__attribute__((weak)) void speech_spell(const std::string& text) {
    for (unsigned char c : text) {
        if (console_key_waiting()) return;
        speech_spell_char(c);
    }
}

__attribute__((weak)) void speech_click() {
    wave_play_image(speech_click_image(), SPEECH_WAVE_HEADER_BYTES + SPEECH_CLICK_SAMPLES);
    wait_while_busy();
}

__attribute__((weak)) uint8_t speech_read_key_echo() {
    uint8_t k = console_read_key();
    speech_silence();
    speech_spell_char(k);
    return k;
}

__attribute__((weak)) void speech_dial_tones(const std::string& text) {
    for (unsigned char c : speech_upper(text)) {
        if (c == '#' || c == '*' || (c >= '0' && c <= '9')) {
            play_letters_file(std::string("dtmf_") + (c == '*' ? 'X' : static_cast<char>(c)) + ".wav");
            console_delay(100);
        } else if (c == ',') {
            console_delay(1000);
        }
    }
}

__attribute__((weak)) void speech_say_time() {
    ConsoleTime t = console_get_time();
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d", t.hour, t.minute);
    speech_say(text);
}

__attribute__((weak)) void speech_say_date() {
    ConsoleDate d = console_get_date();
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d/%d", d.day, d.month, d.year);
    speech_say(text);
}

__attribute__((weak)) bool speech_echo_typed() { return g_echo_typed; }
__attribute__((weak)) void speech_set_echo_typed(bool on) { g_echo_typed = on; }
