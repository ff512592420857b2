// The dangers that act by themselves: the guard, the alarm and the cold room.
#pragma once

constexpr int GUARD_NOTHING = 255;   // nothing happened
constexpr int GUARD_CARRY_ON = 0;    // carry the command out
constexpr int GUARD_ARRESTED = 1;    // the game is lost
constexpr int GUARD_DEALT_WITH = 2;  // the turn ends without the command

// Runs after the command is read and before it is carried out.
int game_guard_check();
// The dark cold room: the temperature falls and the exits are left to chance.
void game_cold_room();
