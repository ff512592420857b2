// The introduction, the escape and the failure, and the end of the program.
#pragma once

#include "game/texts.h"

void game_introduction();
// The escape: the valuables carried and what they are worth.
void game_win();
// The failure, after its own first line; the caller plays its recordings.
void game_lose(GameText first_line);
// Ends the program: speech_stop, then console_close. Tests replace it by a
// function that returns, so that an ending can be observed.
void game_end_program();
void game_set_end_program_hook(void (*hook)());
