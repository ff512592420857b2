// The special commands, each tied to a place or an object.
#pragma once

void game_kill();        // code 4
void game_dig();         // code 5
void game_open();        // code 6
void game_saw();         // code 7
void game_swim();        // code 8
void game_light();       // code 9
void game_extinguish();  // code 10
void game_give_up();     // code 11
void game_help();        // code 13
