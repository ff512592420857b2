// How the speech front end reads its settings from TALUNE.INI: numbers,
// yes/no values, directories and the own synthesizer's values per speed.
#pragma once

#include <string>

// Signed decimal after optional blanks; "$" or "0x" gives hexadecimal. The
// digits before the first bad character count; `fallback` when there are none.
int speech_setting_number(const std::string& text, int fallback);
// A yes/no setting of the speech keys: empty or beginning with N is no.
bool speech_setting_yes(const std::string& value);
// A directory setting with a trailing "/" unless it is empty or has one ("\" too).
std::string speech_setting_directory(std::string dir);
// The name of a per-speed key: "DIFONES" and 3 give "DIFONES3".
std::string speech_speed_key(const char* key, int speed);
// Reads the [SINTETIZADOR] values of a speed 1..5 and hands them to the own
// synthesizer, the wave output and the front end's pauses.
void speech_apply_synthesizer_settings(int speed);
