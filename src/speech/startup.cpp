// Start and stop of the speech front end: its state, the own synthesizer,
// the optional external synthesizer and the click sound built at module start.
#include "audio/extsynth.h"
#include "console/console.h"
#include "diphone/diphone.h"
#include "platform/config.h"
#include "platform/profile.h"
#include "speech/speech.h"
#include "speech/speech_settings.h"
#include "speech/speech_state.h"
#include "speech/start_failure.h"
#include "speech/wave_image.h"
#include "util/random.h"
#include "util/wave_format.h"
#include "verna/backend.h"
#include "verna/message.h"

namespace {
SpeechState g_speech;
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
    if (speed <= 0) speed = speech_setting_number(config_read_setting("TRADUTOR", "VELOCIDADE"), 0);
    if (speed <= 0 || speed > 5) speed = 3;
    speech_apply_synthesizer_settings(speed);
    // The synthesizer's utterances play through the wave output, each to its
    // end or until a key stops it, before the next is assembled.
    diphone_set_output_hook([](const uint8_t* image, size_t bytes, void*) { speech_play_image_and_wait(image, bytes); },
                            nullptr);
    int code = diphone_start();
    if (code != 0) speech_start_failure(code);
    g_speech.sound_directory = speech_setting_directory(sound_directory);
    // Read without "@" expansion, straight from the profile, as the own
    // synthesizer reads its directories.
    g_speech.letters_directory = speech_setting_directory(
        profile_read_string("TRADUTOR", "DIRLETRAS", "c:\\brelum\\som\\letras\\", "TALUNE.INI", 256));
    speech_apply_synthesizer_settings(speed);
    g_speech.external_active = false;
    if (speech_setting_yes(config_read_setting("TRADUTOR", "SAPI"))) {
        int voice = speech_setting_number(config_read_setting("SERVFALA", "VOZ"), 0);
        int rate = speech_setting_number(config_read_setting("SERVFALA", "VELOCIDADE"), 0);
        int pitch = speech_setting_number(config_read_setting("SERVFALA", "TOM"), 0);
        int type = speech_setting_number(config_read_setting("SERVFALA", "TIPOSAPI"), 0);
        if (type != EXTSYNTH_TYPE_SAPI4 && rate > 10) rate = 0;
        // The MBROLA engine sits beside audio, so the front end hands it over,
        // with the own reader for its messages about damaged data files.
        extsynth_register(EXTSYNTH_TYPE_VERNA, verna_backend_engine());
        verna_set_message_voice(speech_say_own);
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
