// Start and stop of the speech front end: its settings, the own synthesizer,
// the optional external synthesizer and the click sound built at module start.
#include <cstdio>
#include <iostream>

#include "audio/extsynth.h"
#include "audio/wave_output.h"
#include "console/console.h"
#include "diphone/diphone.h"
#include "platform/os.h"
#include "platform/profile.h"
#include "platform/config.h"
#include "speech/speech.h"
#include "speech/speech_state.h"
#include "speech/wave_image.h"
#include "util/file_lookup.h"
#include "util/latin1.h"
#include "util/number_scan.h"
#include "util/random.h"
#include "util/wave_format.h"
#include "verna/backend.h"

namespace {
SpeechState g_speech;

// Signed decimal after optional blanks; "$" or "0x" gives hexadecimal. The
// digits before the first bad character count; `fallback` when there are none.
int parse_number(const std::string& text, int fallback) {
    ScannedNumber n = scan_leading_number(text, 100000000L, true, true);
    if (n.end == n.digits) return fallback;
    return static_cast<int>(n.negative ? -n.value : n.value);
}

// A yes/no setting of the speech keys: empty or beginning with N is no.
bool is_yes(const std::string& v) { return !v.empty() && v[0] != 'N' && v[0] != 'n'; }

std::string with_slash(std::string dir) {
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
    return dir;
}

std::string speed_key(const char* key, int speed) { return key + std::to_string(speed); }

void apply_synthesizer_settings(int v) {
    g_speech.speed = v;
    // An empty value leaves the name empty, so the own synthesizer cannot start.
    diphone_set_database(config_read_setting("SINTETIZADOR", speed_key("DIFONES", v)).substr(0, 8));
    int cut = parse_number(config_read_setting("SINTETIZADOR", speed_key("CORTEFON", v)), 0);
    int kept = parse_number(config_read_setting("SINTETIZADOR", speed_key("SOBRAFON", v)), 0);
    int gap = parse_number(config_read_setting("SINTETIZADOR", speed_key("INTERPAL", v)), 0);
    bool fast = is_yes(config_read_setting("SINTETIZADOR", speed_key("RAPIDINHO", v)));
    bool compress = is_yes(config_read_setting("SINTETIZADOR", speed_key("CORTAFALA", v)));
    diphone_set_timing(cut, kept, gap);
    wave_set_speed(fast, compress);
    g_speech.period_pause = parse_number(config_read_setting("SINTETIZADOR", speed_key("PAUSAPONTO", v)), 250);
    g_speech.comma_pause = parse_number(config_read_setting("SINTETIZADOR", speed_key("PAUSAVIRG", v)), 150);
    g_speech.colon_pause = parse_number(config_read_setting("SINTETIZADOR", speed_key("PAUSADOISPONTOS", v)), 200);
}

// What the own synthesizer lacked, as two lines: why, then the path on a
// line of its own so that a long one is not broken in the middle.
std::string start_failure_cause() {
    if (diphone_database().empty()) {
        std::string ini = config_file_path();
        // Neither copy exists: both places where it was looked for.
        if (!os_file_exists(ini)) return "N\xe3o encontrado:\n" + os_windows_directory() + "/TALUNE.INI\n" + ini;
        return "Falta " + speed_key("DIFONES", g_speech.speed) + " em [SINTETIZADOR] de:\n" + ini;
    }
    std::string path = diphone_start_failure_path();
    if (path.empty()) return "";
    bool there = os_file_exists(path) || file_is_directory(path);
    return std::string(there ? "N\xe3o foi poss\xedvel ler:\n" : "N\xe3o encontrado:\n") + path;
}

void start_failure(int code) {
    std::string message = "Erro de inicializa\xe7\xe3o: " + std::to_string(code) + "\n" +
                          "Banco de dados de voz: " + diphone_database() + "\n";
    std::string cause = start_failure_cause();
    if (!cause.empty()) message += cause + "\n";
    std::cout << message << std::flush;
    // Also where whoever started the program looks when the screen is not seen.
    std::fputs(utf8(message).c_str(), stderr);
    std::fflush(stderr);
    diphone_stop();
    char line[128];
    console_read_line_raw(line, sizeof line);
    console_close();
}
}  // namespace

SpeechState& speech_state() { return g_speech; }

void speech_module_start() {
    g_speech = SpeechState{};
    g_speech.startup_directory = config_startup_directory();
    uint8_t* image = g_speech.click;
    wave_make_header(image, SPEECH_CLICK_SAMPLES, 11025, 1, 8);
    uint8_t* samples = image + WAVE_HEADER_BYTES;
    // 65 draws although sample 64 is then silenced: the number of draws fixes
    // where the game's own draws begin.
    for (int i = 0; i <= 64; ++i) samples[i] = static_cast<uint8_t>(128 + random_next(60));
    for (int i = 64; i < SPEECH_CLICK_SAMPLES; ++i) samples[i] = 128;
}

void speech_reset() { g_speech = SpeechState{}; }

void speech_start(int speed, const std::string& sound_directory) {
    if (speed <= 0) speed = parse_number(config_read_setting("TRADUTOR", "VELOCIDADE"), 0);
    if (speed <= 0 || speed > 5) speed = 3;
    apply_synthesizer_settings(speed);
    // The synthesizer's utterances play through the wave output, each to its
    // end or until a key stops it, before the next is assembled.
    diphone_set_output_hook([](const uint8_t* image, size_t bytes, void*) { speech_play_image_and_wait(image, bytes); },
                            nullptr);
    int code = diphone_start();
    if (code != 0) start_failure(code);
    g_speech.sound_directory = with_slash(sound_directory);
    // Read without "@" expansion, straight from the profile, as the own
    // synthesizer reads its directories.
    g_speech.letters_directory =
        with_slash(profile_read_string("TRADUTOR", "DIRLETRAS", "c:\\brelum\\som\\letras\\", "TALUNE.INI", 256));
    apply_synthesizer_settings(speed);
    g_speech.external_active = false;
    if (is_yes(config_read_setting("TRADUTOR", "SAPI"))) {
        int voice = parse_number(config_read_setting("SERVFALA", "VOZ"), 0);
        int rate = parse_number(config_read_setting("SERVFALA", "VELOCIDADE"), 0);
        int pitch = parse_number(config_read_setting("SERVFALA", "TOM"), 0);
        int type = parse_number(config_read_setting("SERVFALA", "TIPOSAPI"), 0);
        if (type != EXTSYNTH_TYPE_SAPI4 && rate > 10) rate = 0;
        // The MBROLA engine sits beside audio, so the front end hands it over.
        extsynth_register(EXTSYNTH_TYPE_VERNA, verna_backend_engine());
        g_speech.external_active = extsynth_start(voice, rate, pitch, "", type);
        g_speech.external_type = type;
    }
}

void speech_stop() {
    while (speech_busy()) console_wait_message();
    speech_silence();
    if (g_speech.external_active) extsynth_stop();
    g_speech.external_active = false;
    diphone_stop();
}

int speech_current_speed() { return g_speech.speed; }
bool speech_external_active() { return g_speech.external_active; }
const std::string& speech_sound_directory() { return g_speech.sound_directory; }
const std::string& speech_letters_directory() { return g_speech.letters_directory; }
bool speech_speak_punctuation() { return g_speech.speak_punctuation; }
void speech_set_speak_punctuation(bool on) { g_speech.speak_punctuation = on; }
bool speech_echo_typed() { return g_speech.echo_typed; }
void speech_set_echo_typed(bool on) { g_speech.echo_typed = on; }
const uint8_t* speech_click_image() { return g_speech.click; }
int speech_period_pause() { return g_speech.period_pause; }
int speech_comma_pause() { return g_speech.comma_pause; }
int speech_colon_pause() { return g_speech.colon_pause; }
