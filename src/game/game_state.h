// The game's one state record, shared by every part of the game.
#pragma once

#include <string>

constexpr int GAME_MAX_OBJECTS = 14;
constexpr int GAME_MAX_ROOMS = 24;
constexpr int CARRIED = -1;
constexpr int NOWHERE = 0;

// Object numbers.
enum GameObject : int {
    OBJ_SPOON = 1,
    OBJ_SHEET = 2,
    OBJ_LADDER = 3,
    OBJ_SAW = 4,
    OBJ_BOOK = 5,
    OBJ_CRUCIFIX = 6,
    OBJ_ROPE = 7,
    OBJ_BONE = 8,
    OBJ_UNIFORM = 9,
    OBJ_COIN = 10,
    OBJ_PENKNIFE = 11,
    OBJ_LANTERN = 12,
    OBJ_KEY = 13,
    OBJ_GUARD = 14,
};

// Room numbers the rules refer to.
enum GameRoom : int {
    ROOM_CELL = 1,
    ROOM_TUNNEL = 11,
    ROOM_COLD_ROOM = 12,
    ROOM_PASSAGE = 14,
    ROOM_YARD = 15,
    ROOM_RIVER = 17,
    ROOM_EAST_TOWER = 18,
    ROOM_GATE = 24,
};

struct GameState {
    int room = 1;
    int object_location[GAME_MAX_OBJECTS + 1] = {};  // index 1..14; a room, CARRIED or NOWHERE
    int carried_count = 0;  // always the number of objects whose location is CARRIED
    bool bars_sawn = false;
    bool tunnel_dug = false;
    bool lantern_lit = false;
    bool alarm_on = false;
    int body_temperature = 36;
    bool book_on_high_shelf = true;
    bool game_over = false;
    int exit_north = 0, exit_south = 0, exit_east = 0, exit_west = 0;
    std::string command_line;  // Latin-1
    std::string verb_word;
    std::string object_word;
    int verb_code = 0;
};

GameState& game_state();
// The start-up values: objects in their first rooms, the random ones and the
// guard not yet placed.
void game_reset();

// Whether object n is carried.
bool game_carries(int n);
// Moves object n to a room, CARRIED or NOWHERE, keeping carried_count in step.
void game_set_location(int n, int location);
// A number 0..99 from the shared generator.
int game_random();
