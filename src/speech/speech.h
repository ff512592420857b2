// The speech front end: the one interface through which the game speaks and
// reads its commands. Every text is Latin-1.
#pragma once

#include <cstdint>
#include <string>

constexpr int SPEECH_MAX_LINE = 255;
constexpr int SPEECH_CLICK_SAMPLES = 256;
constexpr int SPEECH_WAVE_HEADER_BYTES = 44;

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
const std::string& speech_sound_directory();

// Whether punctuation marks are spelled before their pauses (on after the
// module start; the game switches it off).
bool speech_speak_punctuation();
void speech_set_speak_punctuation(bool on);

// The click sound: a 44-byte WAV header and 256 samples.
const uint8_t* speech_click_image();

// Speaks a text.
void speech_say(const std::string& text);
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
// True while speech or a recording plays; false at once when a key waits.
bool speech_busy();
// The attention tone; first discards the keys typed ahead. Returns false.
bool speech_beep_pattern();
// Reads one line from the keyboard at the cursor (at most SPEECH_MAX_LINE
// characters, trailing blanks removed); "" when it was cancelled with Esc.
// The console line is ended either way.
std::string speech_read_line();
// "a".."z" and the bytes 224..255 to upper case; everything else unchanged.
std::string speech_upper(const std::string& text);
