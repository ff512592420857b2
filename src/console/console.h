// The console: an 80x25 text screen with colour attributes, the keyboard
// queue in PC codes and the message pump every wait loop of the program uses.
// Positions are 1-based (column, row). Text is Latin-1.
//
// Which file defines what:
//   screen.cpp        the screen, text output, colours, cursor, paint, beep
//   key_queue.cpp     key bytes in PC codes, discarding and queueing keys,
//                     the modifiers of the key read last
//   message_pump.cpp  dispatching and waiting for messages, key waiting and
//                     reading, the sound device's block-done hook
//   delay.cpp         console_delay
//   close.cpp         console_close, console_quit
//   line_read.cpp     console_read_line_raw
//   braille.cpp       braille mode and tones
//   clipboard.cpp     copy and paste
//   clock.cpp         date and time
//   channels.cpp      the standard channels
//   reset.cpp         console_reset
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int CONSOLE_MAX_COLUMNS = 80;
constexpr int CONSOLE_MAX_ROWS = 25;
constexpr int CONSOLE_MAX_KEYS = 64;

// Key bytes of ordinary keys: the control characters, Ctrl+A..Ctrl+Z as 1..26.
constexpr uint8_t KEY_BACKSPACE = 8;
constexpr uint8_t KEY_TAB = 9;
constexpr uint8_t KEY_LINE_FEED = 10;  // Ctrl+Enter
constexpr uint8_t KEY_ENTER = 13;
constexpr uint8_t KEY_ESC = 27;
constexpr uint8_t KEY_CTRL_BACKSLASH = 28;
constexpr uint8_t KEY_CTRL_BACKSPACE = 127;
constexpr uint8_t key_ctrl(char letter) { return static_cast<uint8_t>(letter - 'A' + 1); }

// The PC codes that follow a 0 byte in the key queue for extended keys. F11
// and F12 continue the F1..F10 row (69, 70), and Ctrl+F1..Ctrl+F12 continue
// from 94 on, as this console has always numbered them.
constexpr uint8_t KEY_F1 = 59;  // F1..F12 are KEY_F1 + 0..11
constexpr uint8_t KEY_F4 = 62;
constexpr uint8_t KEY_F8 = 66;
constexpr uint8_t KEY_F12 = 70;
constexpr uint8_t KEY_HOME = 71;
constexpr uint8_t KEY_UP = 72;
constexpr uint8_t KEY_PAGE_UP = 73;
constexpr uint8_t KEY_LEFT = 75;
constexpr uint8_t KEY_RIGHT = 77;
constexpr uint8_t KEY_END = 79;
constexpr uint8_t KEY_DOWN = 80;
constexpr uint8_t KEY_PAGE_DOWN = 81;
constexpr uint8_t KEY_INSERT = 82;
constexpr uint8_t KEY_DELETE = 83;  // also with Ctrl
constexpr uint8_t KEY_CTRL_F1 = 94;  // Ctrl+F1..Ctrl+F12 are KEY_CTRL_F1 + 0..11
constexpr uint8_t KEY_CTRL_F4 = 97;
constexpr uint8_t KEY_CTRL_F8 = 101;
constexpr uint8_t KEY_CTRL_F9 = 102;
constexpr uint8_t KEY_CTRL_F11 = 104;
constexpr uint8_t KEY_CTRL_UP = 113;
constexpr uint8_t KEY_CTRL_DOWN = 114;
constexpr uint8_t KEY_CTRL_LEFT = 115;
constexpr uint8_t KEY_CTRL_RIGHT = 116;
constexpr uint8_t KEY_CTRL_END = 117;
constexpr uint8_t KEY_CTRL_PAGE_DOWN = 118;
constexpr uint8_t KEY_CTRL_HOME = 119;
constexpr uint8_t KEY_ALT_1 = 120;  // Alt+1..Alt+9 are 120..128, Alt+0 is 129
constexpr uint8_t KEY_ALT_0 = 129;
constexpr uint8_t KEY_CTRL_PAGE_UP = 132;
constexpr uint8_t KEY_SHIFT_INSERT = 254;
constexpr uint8_t KEY_CTRL_INSERT = 255;
// Alt+Q, Alt+W and Alt+E (their letter codes).
constexpr uint8_t KEY_ALT_Q = 16;
constexpr uint8_t KEY_ALT_W = 17;
constexpr uint8_t KEY_ALT_E = 18;

// Restores the start-up state (no screen, empty queue, settings unread).
void console_reset();
// Creates the logs asked for by FUGA_SCREEN_LOG and FUGA_SOUND_LOG at the
// program's start; a log that cannot be created, or at exit could not be
// written whole, is reported on standard error.
void console_open_logs();

// Screen

// Creates the screen on first use, reading the VIDEO and BRAILLE settings.
void console_open();
// The standard output channel's routine: puts characters into the grid.
void console_write_text(const char* chars, size_t count);
void console_write_text(const std::string& text);
void console_set_text_colour(uint8_t colour);
void console_set_background_colour(uint8_t colour);
void console_move_cursor(int column, int row);
int console_cursor_column();
// Ends the current line unless the cursor stands at the start of one, so
// that a notice written next is not spliced into a line of the game's.
void console_start_line();
int console_cursor_row();
void console_clear_to_end_of_line();
uint8_t console_char_at(int column, int row);
uint8_t console_attribute_at(int column, int row);
uint8_t console_current_attribute();
// The RGB value a colour index shows as, through the colour map.
void console_colour_rgb(int index, uint8_t& r, uint8_t& g, uint8_t& b);
// Repaints cells [col0,col1) x [row0,row1), zero-based (the paint handler).
void console_paint(int col0, int row0, int col1, int row1);

// Keyboard and messages

// Dispatches pending messages; true when a key byte is queued.
bool console_key_waiting();
// Waits for and removes the next key byte (0 then a scan code for extended keys).
uint8_t console_read_key();
// Sleeps, then dispatches pending messages.
void console_delay(unsigned ms);
// Takes every pending message and handles it.
void console_dispatch_messages();
// Waits for the next message (or timeout_ms, negative for no limit), then
// dispatches everything pending. The wait loops of speech and sound use it.
void console_wait_message(int timeout_ms = -1);
// Discards every waiting key.
void console_discard_keys();
// Queues one key byte as if typed (the braille keyboard uses it); false if full.
bool console_queue_key(uint8_t code);
// Closes the screen and ends the program with exit code 0. Never returns.
[[noreturn]] void console_close();
// Ends the program with exit code 255 (quit message, Ctrl+Break).
[[noreturn]] void console_quit();
// Reads a line for the standard input channel: echoed, ended by Return,
// stored with CR LF. Returns its length including the CR LF.
int console_read_line_raw(char* buffer, int capacity);

// Handler for the sound device's block-done message (buffer number).
void console_set_wave_done_hook(void (*hook)(int buffer_number));
// Run at each wake message (never within itself), in every wait including
// the wait for a key: an engine whose samples come back as messages keeps
// playing while the player is asked for a key.
void console_set_wake_hook(void (*hook)());
void console_enable_wave_done_hook(bool enabled);

// Modifier state kept with the byte console_read_key returned last, so the
// key being handled answers, whatever came after it (Alt+Left reaches the
// program as the plain Left code; the line editor asks whether Alt was held).
// False for bytes queued by console_queue_key.
bool console_shift_held();
bool console_ctrl_held();
bool console_alt_held();

// The platform's beep, noted as "beep" in the sound log: for the bell
// character and for a typed character that the code page cannot hold.
void console_beep();

// Starts a square-wave tone (asynchronously) / stops it.
void console_tone(uint16_t frequency);
void console_tone_stop();

// Braille keyboard mode 0..2.
int console_braille_mode();
void console_set_braille_mode(int mode);

// Clipboard, date and time
void console_copy_to_clipboard(const std::string& text);
// At most size-1 bytes of the clipboard's text; "" when empty or size is 0.
std::string console_paste_from_clipboard(size_t size);
struct ConsoleDate {
    int year, month, day, weekday;  // weekday 0 = Sunday
};
struct ConsoleTime {
    int hour, minute, second, hundredths;
};
ConsoleDate console_get_date();
ConsoleTime console_get_time();

// Binds std::cout and std::cin to the console (128-byte buffers).
void console_bind_standard_channels();
