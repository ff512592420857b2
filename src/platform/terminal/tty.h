// The controlling terminal: raw mode and its restoration on every way out
// (normal end, signals, crashes), the signals that end, hang up, resize or
// stop the program, and the self-pipe that wakes the event wait.
#pragma once

#include <cstddef>

// Signals seen since the last tty_take_signals, as bits.
enum TtySignal : int {
    TTY_SIGNAL_QUIT = 1,       // SIGINT or SIGTERM
    TTY_SIGNAL_HANGUP = 2,     // SIGHUP
    TTY_SIGNAL_RESIZE = 4,     // SIGWINCH
    TTY_SIGNAL_CONTINUED = 8,  // SIGCONT: raw mode must be entered again
};

// How long the program has to take a quit or hang-up before the terminal is
// restored and the process ends anyway.
constexpr unsigned TTY_FORCED_EXIT_SECONDS = 2;
// The code of that forced end.
constexpr int TTY_FORCED_EXIT_CODE = 255;

// Enters raw mode and the alternate screen and installs the signal handlers;
// false (nothing changed) when standard input or output is not a terminal.
bool tty_start();
// Restores the terminal as it was at tty_start. Safe to call twice, from any
// thread and from a signal handler.
void tty_restore();
// Enters raw mode and the alternate screen again (after the program was
// stopped and continued).
void tty_reenter();
// Restores the terminal and removes the signal handlers.
void tty_stop();

// The erase character the terminal had at start (what its Backspace sends).
unsigned char tty_erase_char();
int tty_input_fd();
// Read end of the self-pipe; readable after tty_wake or a signal.
int tty_wake_fd();
// Wakes the event wait; safe from any thread.
void tty_wake();
// Empties the self-pipe.
void tty_drain_wake();
int tty_take_signals();

// The terminal's size; false when it cannot be read.
bool tty_size(int& cols, int& rows);
// Writes everything to the terminal (retrying short writes); gives up
// quietly once the terminal is gone.
void tty_write(const char* bytes, size_t count);
// Drops what was typed and not yet read.
void tty_discard_input();
// Reads what is available after poll() said so: the byte count, 0 at end of
// input (the terminal hung up), -1 when nothing could be read right now.
long tty_read(unsigned char* buffer, size_t size);
