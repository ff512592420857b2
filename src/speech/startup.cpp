// Start and stop of the speech front end, its settings and the click sound.
#include <cstring>

#include "console/console.h"
#include "speech/config.h"
#include "speech/speech.h"
#include "util/random.h"

namespace {
struct SpeechStartState {
    std::string sound_directory;
    int speed = 0;
    bool speak_punctuation = true;
    uint8_t click[SPEECH_WAVE_HEADER_BYTES + SPEECH_CLICK_SAMPLES] = {};
} g_start;

void put_le(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The canonical 44-byte header of an 8-bit mono 11025 Hz image.
void make_header(uint8_t* image, uint32_t data_size) {
    const uint32_t rate = 11025;
    std::memcpy(image, "RIFF", 4);
    put_le(image + 4, data_size + 36, 4);
    std::memcpy(image + 8, "WAVEfmt ", 8);
    put_le(image + 16, 16, 4);
    put_le(image + 20, 1, 2);
    put_le(image + 22, 1, 2);
    put_le(image + 24, rate, 4);
    put_le(image + 28, rate, 4);
    put_le(image + 32, 1, 2);
    put_le(image + 34, 8, 2);
    std::memcpy(image + 36, "data", 4);
    put_le(image + 40, data_size, 4);
}

int parse_speed(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100000; ++i) value = value * 10 + (text[i] - '0');
    return static_cast<int>(negative ? -value : value);
}
}  // namespace

void speech_module_start() {
    g_start.speak_punctuation = true;
    uint8_t* image = g_start.click;
    make_header(image, SPEECH_CLICK_SAMPLES);
    uint8_t* samples = image + SPEECH_WAVE_HEADER_BYTES;
    // 65 draws, although sample 64 is overwritten by the silence after them:
    // the number of draws fixes where the game's own draws begin.
    for (int i = 0; i <= 64; ++i) samples[i] = static_cast<uint8_t>(128 + random_next(60));
    for (int i = 64; i < SPEECH_CLICK_SAMPLES; ++i) samples[i] = 128;
}

void speech_reset() { g_start = SpeechStartState{}; }

void speech_start(int speed, const std::string& sound_directory) {
    if (speed <= 0) speed = parse_speed(config_read_setting("TRADUTOR", "VELOCIDADE"));
    if (speed <= 0 || speed > 5) speed = 3;
    g_start.speed = speed;
    g_start.sound_directory = sound_directory;
    if (!g_start.sound_directory.empty() && g_start.sound_directory.back() != '/') g_start.sound_directory += '/';
}

void speech_stop() {
    while (speech_busy()) console_wait_message();
}

int speech_current_speed() { return g_start.speed; }
const std::string& speech_sound_directory() { return g_start.sound_directory; }
bool speech_speak_punctuation() { return g_start.speak_punctuation; }
void speech_set_speak_punctuation(bool on) { g_start.speak_punctuation = on; }
const uint8_t* speech_click_image() { return g_start.click; }
