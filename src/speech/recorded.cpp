// Recorded output: message keys, letter recordings, the click, the attention
// tone, dial tones, pauses, and the busy, wait and silence rules by which a
// key press cuts any speech short.
#include <iostream>

#include "audio/extsynth.h"
#include "audio/wave_output.h"
#include "console/console.h"
#include "console/key_cut.h"
#include "diphone/diphone.h"
#include "platform/file_lookup.h"
#include "platform/os.h"
#include "speech/speech.h"
#include "speech/speech_state.h"
#include "speech/wave_image.h"
#include "util/latin1.h"
#include "util/wave_format.h"

namespace {
constexpr int SPEECH_BEEP_SAMPLES = 512;
constexpr int SPEECH_WAKE_MESSAGE = 1123;

void play_file_and_wait(const std::string& path, unsigned flags = 0) {
    if (path.empty()) return;
    wave_play_file(path, flags);
    speech_wait_while_busy();
}

// Waits ms milliseconds unless a key is waiting or arrives meanwhile; the
// wait wakes on every message, so the key ends it at once. False when a key
// ended it.
bool wait_unless_key(unsigned ms) {
    uint64_t end = os_ticks_ms() + ms;
    for (;;) {
        if (key_cut_should_stop()) return false;
        uint64_t now = os_ticks_ms();
        if (now >= end) return true;
        console_wait_message(static_cast<int>(end - now));
    }
}

bool safe_key(const std::string& key) { return !key.empty() && key.find('/') == std::string::npos && key != "." && key != ".."; }
}  // namespace

void speech_wait_while_busy() {
    while (speech_busy()) console_wait_message();
}

bool speech_busy() {
    if (key_cut_should_stop()) {
        speech_silence();
        return false;
    }
    SpeechState& s = speech_state();
    return wave_busy() || (s.external_active && extsynth_busy());
}

void speech_wait() {
    SpeechState& s = speech_state();
    if (!s.external_pending) return;
    speech_wait_while_busy();
    s.external_pending = false;
}

void speech_silence() {
    SpeechState& s = speech_state();
    wave_stop();
    s.abort = true;
    if (s.external_active && (extsynth_busy() || extsynth_engine_type(s.external_type) == EXTSYNTH_TYPE_VERNA)) extsynth_silence();
    OsEvent wake;
    wake.type = OsEventType::Wake;
    wake.param = SPEECH_WAKE_MESSAGE;
    os_post_event(wake);
}

std::string speech_key_file(const std::string& key) {
    if (!safe_key(key)) return "";
    const SpeechState& s = speech_state();
    const std::string& dir = key[0] == '_' ? s.letters_directory : s.sound_directory;
    return file_lookup(dir, key + ".wav");
}

bool speech_key_exists(const std::string& key) { return !speech_key_file(key).empty(); }

void speech_play_key(const std::string& key) {
    std::cout.flush();
    speech_wait();
    play_file_and_wait(speech_key_file(key));
}

void speech_spell_char(unsigned char c) {
    speech_wait();
    play_file_and_wait(file_lookup(diphone_letters_directory(), "_" + std::to_string(c) + ".wav"));
}

void speech_spell(const std::string& text) {
    for (unsigned char c : text) {
        if (key_cut_should_stop()) return;
        speech_spell_char(c);
    }
}

void speech_pause(int ms) {
    for (int i = 0; i < ms / 50; ++i) {
        if (!wait_unless_key(50)) return;
    }
}

void speech_click() {
    speech_wait();
    wave_play_image(speech_click_image(), WAVE_HEADER_BYTES + SPEECH_CLICK_SAMPLES, WAVE_KEEP_LENGTH);
    speech_wait_while_busy();
}

bool speech_beep_pattern() {
    static uint8_t beep[WAVE_HEADER_BYTES + SPEECH_BEEP_SAMPLES];
    static const uint8_t cycle[8] = {128, 112, 96, 80, 64, 80, 96, 112};
    std::cout.flush();
    speech_wait();
    console_discard_keys();
    wave_make_header(beep, SPEECH_BEEP_SAMPLES, 11025, 1, 8);
    for (int i = 0; i < SPEECH_BEEP_SAMPLES; ++i) beep[WAVE_HEADER_BYTES + i] = cycle[i % 8];
    beep[WAVE_HEADER_BYTES + SPEECH_BEEP_SAMPLES - 1] = 128;
    wave_play_image(beep, sizeof beep);
    speech_wait_while_busy();
    return false;
}

uint8_t speech_read_key_echo() {
    uint8_t k = console_read_key();
    speech_silence();
    speech_spell_char(k);
    return k;
}

void speech_dial_tones(const std::string& text) {
    // A key ends the dialling: the tones and the gaps between them alike.
    for (unsigned char c : speech_upper(text)) {
        if (key_cut_should_stop()) break;
        if (c == '#' || c == '*' || (c >= '0' && c <= '9')) {
            std::string name = std::string("dtmf_") + (c == '*' ? 'X' : static_cast<char>(c)) + ".wav";
            play_file_and_wait(file_lookup(diphone_letters_directory(), name), WAVE_KEEP_RATE);
            wait_unless_key(100);
        } else if (c == ',') {
            wait_unless_key(1000);
        }
    }
}

void speech_play_image_and_wait(const uint8_t* image, size_t bytes) {
    speech_wait();
    wave_play_image(image, bytes);
    speech_wait_while_busy();
}

std::string speech_upper(const std::string& text) { return latin1_upper(text); }
