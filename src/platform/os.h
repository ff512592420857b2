// The one platform interface: everything the core needs from the operating
// system, the window and the sound device. Nothing outside src/platform
// includes another platform header.
//
// Each group of calls says who answers it:
//   per backend: routed by platform.cpp to the running backend (sdl,
//     terminal, headless; on Windows its window): screen, keys and events,
//     clock, clipboard, sound device. The headless backend is the same code
//     on every system; its clock is virtual.
//   per system: one implementation for each operating system (posix/ on
//     Linux, win32/ on Windows): files and settings, child programs,
//     libraries, temporary files, opening documents, and the system voices
//     (voices/ on Linux, which routes headless runs to silent stand-ins).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Windows virtual-key numbers the backends translate into.
enum OsVirtualKey : int {
    VK_CANCEL_BREAK = 3,  // Ctrl+Break
    VK_BACK_KEY = 8,
    VK_TAB_KEY = 9,
    VK_RETURN_KEY = 13,
    VK_SHIFT_KEY = 16,
    VK_CONTROL_KEY = 17,
    VK_MENU_KEY = 18,  // Alt
    VK_ESCAPE_KEY = 27,
    VK_SPACE_KEY = 32,
    VK_PRIOR_KEY = 33,  // Page Up
    VK_NEXT_KEY = 34,   // Page Down
    VK_END_KEY = 35,
    VK_HOME_KEY = 36,
    VK_LEFT_KEY = 37,
    VK_UP_KEY = 38,
    VK_RIGHT_KEY = 39,
    VK_DOWN_KEY = 40,
    VK_INSERT_KEY = 45,
    VK_DELETE_KEY = 46,
    // '0'..'9' are 48..57, 'A'..'Z' are 65..90, as on Windows.
    VK_F1_KEY = 112,  // F1..F12 are 112..123
    VK_F12_KEY = 123,
};

enum class OsEventType {
    None,
    KeyDown,   // vkey, modifiers
    KeyUp,     // vkey, modifiers (only backends with real key-up: sdl, headless)
    Char,      // ch: one Latin-1 byte, as a translated character message
    Untypeable,  // a character was typed that has no byte in the code page
    Close,     // the user asked to close the window (or the terminal hung up)
    Quit,      // end now with exit code 255 (SIGINT, SIGTERM, a quit message)
    Wake,      // private wake-up message (param = its number, e.g. 1123 or 2980)
    WaveDone,  // the sound device finished a block; param = buffer number
    Expose,    // cells [col0,col1) x [row0,row1) must be repainted from the planes
    FocusIn,
    FocusOut,
};

struct OsEvent {
    OsEventType type = OsEventType::None;
    int vkey = 0;
    bool shift = false, ctrl = false, alt = false;
    unsigned char ch = 0;
    int param = 0;
    int col0 = 0, row0 = 0, col1 = 0, row1 = 0;
};

// Lifetime (routing; the backends on offer are per system)

// Chooses and starts the backend once: FUGA_BACKEND=sdl|terminal|headless
// forces one; otherwise sdl when a display is available, else terminal when
// standard input is a tty, else headless. Every other os_ call starts it on
// first use, so calling this is optional.
void os_start();
// Name of the running backend: "sdl", "terminal" or "headless".
const char* os_backend_name();
// Restores what the backend changed (terminal modes, window), flushes the logs
// and ends the process with `code`. The only way the program exits.
[[noreturn]] void os_exit(int code);
// Functions run before the backend is shut down when the program ends, by
// os_exit or by returning from main (log writers).
void os_at_exit(void (*fn)());
// True while those functions run because the program returned from main (or
// called exit) instead of ending through os_exit.
bool os_ending_by_return();

// Events and keys (per backend)

// Waits up to timeout_ms (negative: no limit) for the next event and removes
// it from the queue. `reading_key` says the caller is blocked waiting for a
// key; the headless backend hands out its next scripted key only then.
// Returns false when the time ran out with no event.
bool os_wait_event(OsEvent& ev, int timeout_ms, bool reading_key);
// Removes the next pending event without waiting; false when there is none.
bool os_poll_event(OsEvent& ev);
// Queues an event for the main thread; safe from any thread (audio callback).
void os_post_event(const OsEvent& ev);
// The most bytes one key press puts in the console's key queue.
constexpr int OS_KEY_MAX_BYTES = 2;
// The console says how many key bytes its queue can still take. While that
// is fewer than OS_KEY_MAX_BYTES, backends keep further key presses waiting
// (as a window's message queue does) instead of handing them out to be
// dropped, in the order typed; the other events still come, and so do a
// quit press (Ctrl+Break) and a close request (Alt+F4) from behind the
// waiting keys. Unset, there is no limit.
void os_set_key_room(int bytes);
// What the console last said (a large number when it never said).
int os_key_room();
// The console says how many key bytes it holds that the program has not
// read yet; the headless backend does not close the window on them.
void os_set_keys_unread(int bytes);
int os_keys_unread();
// Drops the key presses and characters kept that way, with the typed-ahead
// keys the console drops (key releases still come).
void os_discard_held_keys();

// Clock (per backend: the real clocks are per system, the headless one is virtual)

struct OsTime {
    int year, month, day;  // month 1..12, day 1..31
    int weekday;           // 0 = Sunday .. 6 = Saturday
    int hour, minute, second, millisecond;
};
OsTime os_local_time();
OsTime os_utc_time();
// Milliseconds on a monotonic clock (virtual in the headless backend).
uint64_t os_ticks_ms();
// Sleeps; the headless backend advances its virtual clock instead.
void os_sleep_ms(int ms);

// Clipboard, Latin-1 text (per backend)

void os_clipboard_set(const std::string& text);
// False when the clipboard holds no text.
bool os_clipboard_get(std::string& text);

// Screen (per backend)

struct OsRgb {
    uint8_t r, g, b;
};

// What the console read from its configuration; the window backend uses it
// for the font, size and magnifier, the others ignore what they cannot show.
struct OsScreenConfig {
    int columns = 80, rows = 25;
    std::string font_face = "Lucida Console";
    std::string font_width;   // "" = derive from the work area
    std::string font_height;  // "" = derive from the work area
    int font_weight = 700;
    bool start_maximised = false;
    bool slow_scroll = false;
    int magnifier = 2;
    std::string title;
};

// Creates the screen (window, or takes over the terminal). Called once by the
// console when it is first needed; the backend then posts an Expose event
// whenever it needs cells repainted.
void os_screen_open(const OsScreenConfig& cfg);
// Draws `count` Latin-1 characters of one attribute run starting at the
// zero-based cell (col, row).
void os_screen_draw(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg);
// Shows the caret under the zero-based cell (col, row), or hides it.
void os_screen_caret(bool visible, int col, int row);
// The grid scrolled up one row. Returns true if the backend moved its pixels
// itself and painted the new bottom row in `bg`; false if the console must
// repaint every row from its planes.
bool os_screen_scrolled(OsRgb bg);
// The window title.
void os_screen_title(const std::string& title);
// The platform's default beep (bell character).
void os_beep();
// Whether the screen has the keyboard focus (always true without a window).
bool os_screen_focused();
// Releases the screen.
void os_screen_close();
// Shows a modal message box with a Latin-1 text and waits until the user
// acknowledges it. False when the backend has no message boxes (terminal,
// headless): the caller then writes the text on the console and waits for a
// key instead.
bool os_message_box(const std::string& title, const std::string& text);

// Sound device (per backend)

struct OsAudioFormat {
    int rate = 11025;  // samples per second
    int bits = 8;      // 8 (unsigned) or 16 (signed little-endian)
    int channels = 1;
};

enum class OsAudioOpen {
    Ok,
    Allocated,   // the device is busy; try again later
    BadFormat,   // this format cannot be played
    NoDevice,
};

// Opens the sound device for exactly this format. When no real device can be
// opened the backend falls back to a null device that keeps real time (and
// says so once on the console through the announce hook).
OsAudioOpen os_audio_open(const OsAudioFormat& fmt);
// Queues a block; the bytes must stay valid until its WaveDone event (param =
// buffer_number) has been posted. Blocks play in the order written.
bool os_audio_write(int buffer_number, const uint8_t* data, size_t bytes);
// Stops playback at once; every queued block still gets its WaveDone event.
void os_audio_reset();
void os_audio_close();
// Installs what runs, once per run and on the caller's thread inside
// os_audio_open, when no sound device can be opened and the null device takes
// over (the wave output writes a line on the console).
void os_set_audio_announce(void (*announce)());
// Plays samples of the format on a second stream independent of the blocks
// above (short tones); a new tone replaces the one playing; no samples
// (bytes 0) stop it. A format the device cannot play is ignored.
void os_audio_play_tone(const OsAudioFormat& fmt, const uint8_t* samples, size_t bytes);

// Files and settings (per system)

// The directory that stands in for the Windows directory: $TALUNE_HOME if
// set, else ${XDG_CONFIG_HOME:-$HOME/.config}/talune. No trailing "/".
std::string os_windows_directory();
// Current working directory, no trailing "/".
std::string os_current_directory();
// Whether PATH leads to its file without the current directory, so that no
// directory may be put in front of it: "/..." on Linux; on Windows also
// "\\..." (the current drive's root or a "\\server\share\") and a drive
// letter's "C:\..." or "C:name" (the latter counts from that drive's own
// current directory). Either separator counts on Windows.
bool os_path_is_absolute(const std::string& path);
// Where the file name in PATH begins: after its last separator ("/" on
// Linux; "/", "\\" or the drive letter's ":" on Windows), else 0.
size_t os_path_name_start(const std::string& path);
// Full path of the program's own executable.
std::string os_program_path();
bool os_file_exists(const std::string& path);
// How the directory spells the name of the regular file PATH, where the
// system can tell at once: on Windows, whose names ignore case, "FUGA.WAV"
// gives "Fuga.wav" without the directory being listed, and "" when no
// regular file answers to PATH (or PATH holds a wildcard). False where
// names keep their case (Linux): there a case-free match needs a listing.
bool os_stored_file_name(const std::string& path, std::string& stored);

// Programs and opening documents (per system)

// Starts `program` (a path, or a name looked up on PATH) with `argument` as
// its one argument, or with none when `argument` is empty. No shell is
// involved: both are argv elements exactly as given, except that an argument
// beginning with "-" is passed as "./-..." so that it cannot be taken for an
// option. The program runs in the current directory, in a session of its
// own, with standard input and output on /dev/null and none of our other
// files open. Returns at once; the child is reaped in the background, so
// none is left as a zombie. False when the program could not be started
// (empty name, not found, not executable).
bool os_spawn_detached(const std::string& program, const std::string& argument);
// Opens a document or web address (UTF-8) with the program the system
// associates with it (the desktop's opener on Linux, the shell's association
// on Windows), detached as above. False when nothing could be started (an
// empty name, no opener, no association).
bool os_open_document(const std::string& document);
// The full path of an executable `name` on PATH (or `name` itself when it
// holds a "/" and is executable); "" when there is none.
std::string os_find_program(const std::string& name);

// Programs over pipes, temporary files and loadable libraries (per system)

// A program running with its standard input, output and error on pipes to us
// (our ends non-blocking). pid is -1 when none runs.
struct OsChild {
    int pid = -1;
    int input = -1, output = -1, error = -1;
};

// Starts argv[0] (a path, or a name looked up on PATH) with the arguments
// exactly as given, no shell, none of our other files open. From the first
// call on, SIGPIPE is ignored in this process: writing to a child that died
// fails with an error instead of ending the program. False when it could not
// be started.
bool os_child_start(const char* const* argv, OsChild& child);

enum class OsChildIo {
    Progress,  // something was written or read
    Idle,      // nothing happened within the wait
    Ended,     // the child closed its output (it ended, or will output no more)
    Failed,    // its input is gone (it died) while data was still to be written
};

// One step of traffic both ways: writes what the child takes of
// data[written..size) (advancing `written`), appends its output to `out` and
// its error output to `err`. Waits up to wait_ms (0: not at all) for the
// first of these to become possible. Reading while writing means a child
// whose output fills its pipe never blocks us, nor we it.
OsChildIo os_child_exchange(OsChild& child, const char* data, size_t size, size_t& written, std::string& out,
                            std::string& err, int wait_ms);
// Closes the child's input: it sees the end of its input.
void os_child_close_input(OsChild& child);
// Ends the child (after SIGKILL when `kill`), waits for it and closes the
// pipes. Returns its exit code 0..255, 128 + the signal number when a signal
// ended it, -1 when there was no child.
int os_child_finish(OsChild& child, bool kill);

// Creates an empty file under the temporary directory whose name ends in
// `suffix`; "" when that fails. The caller removes it (os_remove_file).
std::string os_make_temp_file(const std::string& suffix);
void os_remove_file(const std::string& path);

// The file name that the shared library called `name` has on this system
// ("libNAME.so" on Linux, "NAME.dll" on Windows), for os_library_open to
// find where the system looks for libraries.
std::string os_library_file_name(const std::string& name);
// A shared library: nullptr when it cannot be loaded (missing, not a library).
void* os_library_open(const std::string& path);
// The address of an exported name; nullptr when it does not export it.
void* os_library_symbol(void* library, const char* name);
void os_library_close(void* library);

// System voices (per system)

// A synthesizer engine chosen by mode number (espeak-ng on Linux, whose sound
// comes back to the program as samples; on Windows the installed engines of
// the version 4 speech interface, which play through their own multimedia
// audio destination and report the sound's start and end instead; a silent
// stand-in on the headless backend, see FUGA_VOICES). Texts are synthesized
// in the background, one after another in the order given; what happened is
// collected on the program's thread with os_synth_next_event (a Wake event is
// posted whenever something new is there or the engine is still at work, so
// wait loops wake up). An engine sends either Samples or AudioStarted and
// AudioStopped, never both.
struct OsSynthEvent {
    enum Type { TextStarted, Samples, TextDone, AudioStarted, AudioStopped } type = TextDone;
    const int16_t* samples = nullptr;  // Samples: mono, os_synth_sample_rate()
    size_t count = 0;                  // valid until the next call
};
// False when the library or its data cannot be started.
bool os_synth_open();
// Name of voice `index` (0-based) in the library's order with Brazilian
// Portuguese first; false past the last one.
bool os_synth_voice(int index, std::string& name);
bool os_synth_select_voice(int index);
// Words per minute (clamped to what the library can do); false when the
// engine refused it and keeps the rate it had.
bool os_synth_set_rate(int words_per_minute);
// Base pitch in Hz (mapped onto the library's own scale).
void os_synth_set_pitch(int hertz);
// Rate of the Samples events; 0 for an engine that plays its own sound.
int os_synth_sample_rate();
// Queues a Latin-1 text; false when the library refused it.
bool os_synth_speak(const std::string& latin1_text);
bool os_synth_next_event(OsSynthEvent& ev);
// Drops every queued text, cuts the one being synthesized (and the sound an
// engine plays itself) and forgets every event not yet collected.
void os_synth_cancel();
void os_synth_close();

// A speech server that plays the sound itself (speech-dispatcher on Linux,
// the version 5 speech interface's voice classes on Windows, a silent
// stand-in on the headless backend). Each open gives a connection of its own
// (a handle >= 0), -1 when there is no server or the output module is
// missing. `module` "" is the server's default module (on Windows the
// system's voice class); "rhvoice" is the second one (on Windows the second
// voice class).
int os_voice_server_open(const std::string& module);
// Voices of the connection's module, Brazilian Portuguese first.
int os_voice_server_voice_count(int handle);
bool os_voice_server_select_voice(int handle, int index);
// -10 (slowest) .. 10 (fastest); 0 is the voice's own rate.
bool os_voice_server_set_rate(int handle, int rate);
// Queues a Latin-1 text after what is still speaking; returns at once.
bool os_voice_server_speak(int handle, const std::string& latin1_text);
// Drops everything queued and cuts the current speech.
bool os_voice_server_cancel(int handle);
// Waits up to timeout_ms until everything queued has ended or was cancelled
// (a driver may give up sooner, so that the caller's loop sees keys soon).
// True when nothing is left to speak, also when the server has gone away.
bool os_voice_server_wait_done(int handle, int timeout_ms);
// False once the connection's server has gone away; it never comes back for
// that handle (close it; a new open may find a new server).
bool os_voice_server_alive(int handle);
void os_voice_server_close(int handle);
