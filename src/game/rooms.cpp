// The room table, room descriptions with their special cases, the exits list
// and movement. Rooms form four rows of six: north is -6, south +6, east +1,
// west -1.
#include "game/rooms.h"

#include "game/endings.h"
#include "game/game_state.h"
#include "game/hazards.h"
#include "game/objects.h"
#include "game/output.h"
#include "speech/speech.h"

namespace {
struct RoomRow {
    GameText description;  // TXT_COUNT: no description
    int north, south, east, west;
};

constexpr RoomRow ROOMS[GAME_MAX_ROOMS + 1] = {
    {TXT_COUNT, 0, 0, 0, 0},
    {TXT_ROOM_CELL, 0, 0, 0, 0},
    {TXT_ROOM_CORRIDOR, 0, 1, 1, 1},
    {TXT_ROOM_DINING_HALL, 0, 1, 1, 1},
    {TXT_ROOM_INFIRMARY, 0, 1, 0, 1},
    {TXT_ROOM_STOREROOM, 0, 1, 1, 0},
    {TXT_ROOM_GARDEN, 0, 1, 0, 1},
    {TXT_ROOM_LIBRARY, 0, 1, 1, 0},
    {TXT_ROOM_VISITING_HALL, 1, 1, 0, 1},
    {TXT_ROOM_KITCHEN, 1, 0, 0, 0},
    {TXT_ROOM_CHAPEL, 1, 0, 1, 0},
    {TXT_ROOM_TUNNEL, 1, 1, 1, 1},
    {TXT_ROOM_COLD_ROOM, 1, 1, 0, 1},
    {TXT_ROOM_OFFICE, 1, 1, 0, 0},
    {TXT_ROOM_PASSAGE, 1, 1, 1, 0},
    {TXT_ROOM_YARD, 0, 1, 1, 1},
    {TXT_ROOM_WORKSHOP, 0, 0, 0, 1},
    {TXT_ROOM_RIVER, 1, 0, 0, 1},
    {TXT_ROOM_EAST_TOWER, 1, 1, 1, 0},
    {TXT_ROOM_PUNISHMENT_CELL, 1, 0, 0, 0},
    {TXT_ROOM_LAUNDRY, 1, 0, 0, 0},
    {TXT_ROOM_SOUTH_TOWER, 1, 0, 0, 0},
    {TXT_COUNT, 0, 0, 0, 0},
    {TXT_COUNT, 0, 0, 0, 0},
    {TXT_ROOM_GATE, 1, 0, 0, 0},
};

void set_exits(int north, int south, int east, int west) {
    GameState& s = game_state();
    s.exit_north = north;
    s.exit_south = south;
    s.exit_east = east;
    s.exit_west = west;
}

void set_table_exits(int room) {
    const RoomRow& r = ROOMS[room];
    set_exits(r.north, r.south, r.east, r.west);
}

bool lit_lantern_in_hand() { return game_carries(OBJ_LANTERN) && game_state().lantern_lit; }
}  // namespace

void game_describe_room() {
    GameState& s = game_state();
    speech_beep_pattern();
    game_write_line();
    int room = s.room;
    if (room >= 1 && room <= GAME_MAX_ROOMS && ROOMS[room].description != TXT_COUNT) {
        game_message(ROOMS[room].description);
        switch (room) {
        case ROOM_CELL:
            // The saw must be at hand to squeeze through the sawn bars.
            if (!s.bars_sawn || !game_carries(OBJ_SAW)) game_message(TXT_LOCKED_IN);
            set_exits(0, 0, s.bars_sawn ? 1 : 0, 0);
            break;
        case ROOM_TUNNEL:
            if (game_carries(OBJ_SPOON) && s.tunnel_dug) {
                set_exits(1, 1, 1, 1);
            } else {
                set_exits(1, 0, 0, 1);
                game_message(TXT_TUNNEL_BLOCKED);
            }
            break;
        case ROOM_COLD_ROOM:
            if (lit_lantern_in_hand()) {
                s.body_temperature = 36;
                set_table_exits(room);
            } else {
                game_cold_room();
            }
            break;
        case ROOM_YARD:
            if (lit_lantern_in_hand()) {
                game_lose(TXT_YARD_SHOT);
                game_play(TXT_YARD_SHOT);
                game_play(TXT_FAILED);
            } else {
                game_message(TXT_SEARCHLIGHTS);
                set_table_exits(room);
            }
            break;
        case ROOM_EAST_TOWER:
            set_table_exits(room);
            if (!s.alarm_on) {
                s.alarm_on = true;
                game_message(TXT_DETECTOR);
            }
            break;
        case ROOM_GATE:
            game_message(TXT_PADLOCK);
            set_table_exits(room);
            break;
        default:
            set_table_exits(room);
            break;
        }
    }
    if (s.alarm_on) {
        game_write_text(TXT_ALARM_SOUNDS);
        game_play(TXT_ALARM_SOUNDS);
        game_play_key(GAME_SIREN_KEY);
    }
}

void game_show_surroundings() {
    GameState& s = game_state();
    for (int n = 1; n <= GAME_MAX_OBJECTS; ++n) {
        if (s.object_location[n] == s.room) game_message(game_object_description(n));
    }
    if (s.room == ROOM_CELL && s.alarm_on) {
        s.alarm_on = false;
        game_message(TXT_ALARM_STOPPED);
    }
    if (!((s.room != ROOM_COLD_ROOM && s.bars_sawn) || lit_lantern_in_hand())) return;
    if (s.exit_north + s.exit_south + s.exit_east + s.exit_west != 0) game_prompt(TXT_EXITS);
    if (s.exit_north > 0) game_prompt(TXT_NORTH);
    if (s.exit_south > 0) game_prompt(TXT_SOUTH);
    if (s.exit_east > 0) game_prompt(TXT_EAST);
    if (s.exit_west > 0) game_prompt(TXT_WEST);
    game_write_line();
}

void game_move() {
    GameState& s = game_state();
    const std::string& c = s.command_line;
    if (c == "N" && s.exit_north > 0) {
        s.room -= 6;
    } else if (c == "S" && s.exit_south > 0) {
        s.room += 6;
    } else if ((c == "L" || c == "E") && s.exit_east > 0) {
        s.room += 1;
    } else if ((c == "O" || c == "W") && s.exit_west > 0) {
        s.room -= 1;
    } else {
        game_message(TXT_WALL);
    }
}
