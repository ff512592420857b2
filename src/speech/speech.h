// The speech front end: the one interface through which the game speaks and
// reads its commands. Every text is Latin-1.
//
// Which file defines what:
//   startup.cpp        module start, reset, speech_start, speech_stop
//   state_access.cpp   the speed, directories, pauses, echo and punctuation
//                      switches, the click sound, whether a synthesizer is
//                      external
//   recorded.cpp       recordings of keys and characters, busy, wait,
//                      silence, spelling, pauses, the click, dial tones, the
//                      attention tone, the echoed key read, speech_upper
//   own_reader.cpp     speech_say, speech_write, speech_write_line,
//                      speech_say_punctuation
//   number_speech.cpp  numbers, time and date from recorded fragments
//   line_editor.cpp    speech_read_line
#pragma once

#include <cstdint>
#include <string>

#include "speech/number_words.h"
#include "speech/wave_image.h"

constexpr int SPEECH_MAX_LINE = 255;
constexpr int SPEECH_CLICK_SAMPLES = 256;

// Module start, once before the program's main code: builds the click sound,
// which draws 65 numbers from the shared random generator.
void speech_module_start();
// Back to the state before the module start (tests).
void speech_reset();

// Starts the front end. A speed <= 0 is taken from [TRADUTOR] VELOCIDADE and
// one outside 1..5 becomes 3. Recordings of message keys are then looked up
// in `sound_directory` (a trailing "/" is added when it is not empty). May be
// called again to restart with other values.
void speech_start(int speed, const std::string& sound_directory);
// Waits for the end of current speech, then shuts speech down.
void speech_stop();
int speech_current_speed();
// Whether an external synthesizer was started and speaks every synthesized
// text instead of the own reader.
bool speech_external_active();
const std::string& speech_sound_directory();

// The letters directory (recordings whose key begins with "_"), ending in "/".
const std::string& speech_letters_directory();
// The pauses after a full stop, a comma or dash, and brackets, colons and
// semicolons, in milliseconds, for the current speed.
int speech_period_pause();
int speech_comma_pause();
int speech_colon_pause();
// Whether the line editor speaks each typed character.
bool speech_echo_typed();
void speech_set_echo_typed(bool on);

// Whether punctuation marks are spelled before their pauses (on after the
// module start; the game switches it off).
bool speech_speak_punctuation();
void speech_set_speak_punctuation(bool on);

// The click sound: a 44-byte WAV header and 256 samples.
const uint8_t* speech_click_image();

// Speaks a text.
void speech_say(const std::string& text);
// Speaks a text with the own reader even while an external synthesizer is
// active: for the engines' own messages, which cannot go through the engine.
void speech_say_own(const std::string& text);
// Writes the text to the console (no line end), then speaks it.
void speech_write(const std::string& text);
// speech_write, then ends the console line.
void speech_write_line(const std::string& text);
// Plays the recording of a message key; returns when it has ended or a key
// press stopped it. A missing recording is silent.
void speech_play_key(const std::string& key);
// Whether the recording of a key exists.
bool speech_key_exists(const std::string& key);
// The file of a key's recording: the exact name when it exists, else a file of
// the same directory whose name matches without case; "" when there is none.
std::string speech_key_file(const std::string& key);
// True while speech or a recording plays; false at once (and everything
// silenced) when a key waits.
bool speech_busy();
// Waits until speech handed to the external synthesizer has ended, so a
// recording never overlaps it.
void speech_wait();
// Stops every sound at once and ends the own reader at its next step.
void speech_silence();
// Plays the recording of one character (_NN.wav) to its end.
void speech_spell_char(unsigned char c);
// Spells a text character by character; stops when a key is waiting.
void speech_spell(const std::string& text);
// Pauses ms milliseconds in steps of 50 while no key is waiting.
void speech_pause(int ms);
// The short noise click.
void speech_click();
// Reads a key, silences speech and speaks the key's character.
uint8_t speech_read_key_echo();
// Plays the dial tones of the digits, "*" and "#" of a text; "," waits 1 s.
void speech_dial_tones(const std::string& text);
// The pause (and, with speak punctuation on, the name) of the mark that
// begins `t`.
void speech_say_punctuation(const std::string& t);

// Numbers, time and date from recorded fragments.
// speech_number_words is declared in speech/number_words.h.
void speech_play_number_words(const std::string& words, bool feminine);
void speech_say_time();
void speech_say_hour_minute(int hour, int minute);
void speech_say_date();
void speech_say_day_month_year(int day, int month, int year);
// The attention tone; first discards the keys typed ahead. Returns false.
bool speech_beep_pattern();
// Reads one line from the keyboard at the cursor (at most SPEECH_MAX_LINE
// characters, trailing blanks removed); "" when it was cancelled with Esc.
// The console line is ended either way.
std::string speech_read_line();
// "a".."z" and the bytes 224..255 to upper case; everything else unchanged.
std::string speech_upper(const std::string& text);
