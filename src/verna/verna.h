// The Portuguese text-to-speech engine: Portuguese text to MBROLA phoneme
// lines, spoken through MBROLA on the sound card or written to a WAV file.
// One engine per process; call in this order: verna_set_output_file,
// verna_start, verna_set_factors, any number of verna_speak (each followed by
// waiting on verna_busy or cutting off with verna_silence), verna_stop.
#pragma once

#include <string>

// Default resources, used for an empty argument of verna_start.
constexpr const char* VERNA_DEFAULT_DATABASE = "br4";
constexpr const char* VERNA_DEFAULT_RULES = "portug.nrl";
constexpr const char* VERNA_DEFAULT_EXCEPTIONS = "portug.exc";
constexpr const char* VERNA_DEFAULT_ABBREVIATIONS = "portug.abr";
constexpr const char* VERNA_DEFAULT_PROSODY = "portug.pro";
constexpr const char* VERNA_DEFAULT_DIPHONES = "portug.dfn";
// The voice database used when the registry names an empty path.
constexpr const char* VERNA_DEFAULT_DATABASE_PATH = "c:\\brelum\\vernatts\\br4";
constexpr size_t VERNA_MAX_ERROR_TEXT = 255;

// The WAV file verna_start creates and all sound then goes to; "" for the
// sound card. Takes effect at the next verna_start.
void verna_set_output_file(const std::string& name);
// The factors every setting of rate and tone is held within: below them
// MBROLA gets durations or pitch of zero and less (and stops speaking); the
// pitch floor is that of the lowest tone whose factor is above zero (-10),
// the ceiling keeps the voice below a pitch MBROLA refuses.
constexpr double VERNA_MIN_DURATION_FACTOR = 0.05;
constexpr double VERNA_MAX_DURATION_FACTOR = 20.0;
constexpr double VERNA_MIN_PITCH_FACTOR = 1.0 / 11.0;
constexpr double VERNA_MAX_PITCH_FACTOR = 11.0;
// Multiply every later duration and pitch value; each factor is held within
// its bounds above (a factor that is not a number counts as 1).
void verna_set_factors(double duration_factor, double pitch_factor);
// Binds MBROLA, opens the voice, loads the five data files and creates the
// output file when one is set. True when the engine is ready. After a
// failure past the voice's opening, verna_stop still has to be called.
bool verna_start(const std::string& database, const std::string& rules, const std::string& exceptions,
                 const std::string& abbreviations, const std::string& prosody, const std::string& diphones);
// Speaks a Latin-1 text: returns once all its samples are queued on the sound
// card (which may still play) or written to the file. False when MBROLA
// reported an error or a file write failed; the rest of the text still goes.
bool verna_speak(const std::string& text);
// False while writing to a file; otherwise whether the engine's sound plays.
bool verna_busy();
// Stops the sound card's playback (nothing while writing to a file).
void verna_silence();
// Completes the output file, releases the tables and MBROLA.
void verna_stop();
double verna_duration_factor();
double verna_pitch_factor();
// Why the last verna_start failed (empty when it gave no reason).
const std::string& verna_last_error();
// The voice database path verna_start hands to MBROLA for `database`.
std::string verna_database_path(const std::string& database);
// The MBROLA lines verna_speak would send for a text (tools, tests).
std::string verna_mbrola_text(const std::string& text);
// Program-end state: no output file, factors 1.0, nothing loaded or bound.
void verna_reset();
