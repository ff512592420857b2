// The game's entry, its start-up and the turn loop.
#pragma once

#include <string>

// The program's entry after the module start: reads "-r", starts speech,
// plays the game and ends the program.
[[noreturn]] void game_main(int argc, char** argv);
// The speed setting's number: a signed decimal after leading blanks; for a
// text that is not a whole number, the digits before the first character
// that does not fit, without their sign; 0 for an empty text.
int game_speed_setting(const std::string& text);
// Speech settings and the state of a new game (before the random placements).
void game_setup();
// The lantern, the key, the penknife, then the guard.
void game_place_random_objects();
// Carries out verb_code.
void game_dispatch();
// Turns until the game is over; returns then.
void game_run_turns();
// The second half of a turn with a typed line: parse it, hint when it is not
// understood, the guard check, then the command. False when the game is over.
bool game_command(const std::string& typed_line);
// One turn with a line instead of the keyboard; false when the game is over
// (also when it ended in the room description before the command).
bool game_play_turn(const std::string& typed_line);
