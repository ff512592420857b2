// The speech front end's values as other modules read and set them.
#include "speech/speech.h"
#include "speech/speech_state.h"

int speech_current_speed() { return speech_state().speed; }
bool speech_external_active() { return speech_state().external_active; }
const std::string& speech_sound_directory() { return speech_state().sound_directory; }
const std::string& speech_letters_directory() { return speech_state().letters_directory; }
bool speech_speak_punctuation() { return speech_state().speak_punctuation; }
void speech_set_speak_punctuation(bool on) { speech_state().speak_punctuation = on; }
bool speech_echo_typed() { return speech_state().echo_typed; }
void speech_set_echo_typed(bool on) { speech_state().echo_typed = on; }
const uint8_t* speech_click_image() { return speech_state().click; }
int speech_period_pause() { return speech_state().period_pause; }
int speech_comma_pause() { return speech_state().comma_pause; }
int speech_colon_pause() { return speech_state().colon_pause; }
