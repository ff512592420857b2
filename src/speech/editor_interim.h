// Front-end operations the line editor uses that the speech front end does
// not offer yet. Declared exactly as the full front end declares them in
// speech.h; this header goes once that has landed.
#pragma once

#include <cstdint>
#include <string>

void speech_silence();
void speech_spell_char(unsigned char c);
void speech_spell(const std::string& text);
void speech_click();
uint8_t speech_read_key_echo();
void speech_dial_tones(const std::string& text);
void speech_say_time();
void speech_say_date();
bool speech_echo_typed();
void speech_set_echo_typed(bool on);
