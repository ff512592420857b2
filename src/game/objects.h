// The object table, random placements, and taking, dropping and listing.
#pragma once

#include <string>

#include "game/texts.h"

constexpr int GAME_CARRY_LIMIT = 3;

const std::string& game_object_name(int n);
GameText game_object_description(int n);
// The first object of first..last that the word names (the word begins with
// its name), or 0.
int game_find_object(const std::string& word, int last);
// A random room 2..24 for object n, unless it is carried; never a room that
// no exit leads to.
void game_place_object(int n);
// A random room for the guard, never the cell and never the current room.
void game_place_guard();
// Speaks object n's name: its recording, else through the synthesizer.
void game_say_object_name(int n);
// Verb codes 3, 2 and 12.
void game_take();
void game_drop();
void game_list_inventory();
