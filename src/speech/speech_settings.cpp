// The speech front end's settings: how its values are read and the own
// synthesizer's values of each speed.
#include "speech/speech_settings.h"

#include "audio/wave_output.h"
#include "diphone/diphone.h"
#include "platform/config.h"
#include "speech/speech_state.h"
#include "util/number_scan.h"

int speech_setting_number(const std::string& text, int fallback) {
    ScannedNumber n = scan_leading_number(text, 100000000L, true, true);
    if (n.end == n.digits) return fallback;
    return static_cast<int>(n.negative ? -n.value : n.value);
}

bool speech_setting_yes(const std::string& v) { return !v.empty() && v[0] != 'N' && v[0] != 'n'; }

std::string speech_setting_directory(std::string dir) {
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
    return dir;
}

std::string speech_speed_key(const char* key, int speed) { return key + std::to_string(speed); }

void speech_apply_synthesizer_settings(int v) {
    SpeechState& s = speech_state();
    s.speed = v;
    auto value = [v](const char* key) { return config_read_setting("SINTETIZADOR", speech_speed_key(key, v)); };
    // An empty value leaves the name empty, so the own synthesizer cannot start.
    diphone_set_database(value("DIFONES").substr(0, 8));
    int cut = speech_setting_number(value("CORTEFON"), 0);
    int kept = speech_setting_number(value("SOBRAFON"), 0);
    int gap = speech_setting_number(value("INTERPAL"), 0);
    bool fast = speech_setting_yes(value("RAPIDINHO"));
    bool compress = speech_setting_yes(value("CORTAFALA"));
    diphone_set_timing(cut, kept, gap);
    wave_set_speed(fast, compress);
    s.period_pause = speech_setting_number(value("PAUSAPONTO"), 250);
    s.comma_pause = speech_setting_number(value("PAUSAVIRG"), 150);
    s.colon_pause = speech_setting_number(value("PAUSADOISPONTOS"), 200);
}
