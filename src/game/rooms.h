// Rooms, their descriptions and exits, and moving between them.
#pragma once

// The description of the current room, which also sets its exits.
void game_describe_room();
// What lies in the room, the alarm stopping in the cell, the open exits.
void game_show_surroundings();
// Verb code 1: command_line holds "N", "S", "L" or "O" (or "E", "W").
void game_move();
