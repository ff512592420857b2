// The guard check of every turn, bribes and the uniform, and the dark cold room.
#include "game/hazards.h"

#include "game/endings.h"
#include "game/game_state.h"
#include "game/objects.h"
#include "game/output.h"
#include "speech/speech.h"

namespace {
constexpr int BODY_NORMAL = 36;
constexpr int BODY_DEADLY = 10;   // below this the player dies
constexpr int BODY_CONFUSED = 25;  // above this the player is only confused
constexpr int VERB_KILL = 4;

bool guard_turns_up() {
    if (game_random() % 20 == 1) return true;
    return game_state().alarm_on && game_random() % 4 == 1;
}

void open_way_back() {
    GameState& s = game_state();
    char c = s.command_line.empty() ? '\0' : s.command_line[0];
    switch (c) {
    case 'L': s.exit_west = 1; break;
    case 'N': s.exit_south = 1; break;
    case 'O': s.exit_east = 1; break;
    case 'S': s.exit_north = 1; break;
    default: break;
    }
}
}  // namespace

int game_guard_check() {
    GameState& s = game_state();
    if (s.room == ROOM_CELL) return GUARD_NOTHING;
    bool guard_here = s.object_location[OBJ_GUARD] == s.room;
    if (guard_here && s.verb_code == VERB_KILL) return GUARD_CARRY_ON;
    if (guard_here) {
        if (game_carries(OBJ_UNIFORM)) {
            game_write_text(TXT_UNIFORM_FOOLS);
            game_play(TXT_UNIFORM_FOOLS);
            game_place_guard();
            return GUARD_DEALT_WITH;
        }
        if (s.carried_count > 0) {
            int b;
            do {
                b = game_random() % 14 + 1;
            } while (!game_carries(b));
            game_set_location(b, NOWHERE);
            game_write_line(game_text(TXT_BRIBE) + game_object_name(b));
            game_play(TXT_BRIBE);
            game_say_object_name(b);
            game_place_object(OBJ_GUARD);
            return GUARD_DEALT_WITH;
        }
        game_lose(TXT_ARRESTED);
        game_play(TXT_ARRESTED);
        game_play(TXT_FAILED);
        return GUARD_ARRESTED;
    }
    if (!guard_turns_up()) return GUARD_NOTHING;
    game_message(TXT_GUARD_APPEARS);
    game_set_location(OBJ_GUARD, s.room);
    return GUARD_CARRY_ON;
}

void game_cold_room() {
    GameState& s = game_state();
    s.exit_north = s.exit_south = s.exit_east = s.exit_west = 0;
    bool first_dark_turn = s.body_temperature == BODY_NORMAL;
    if (first_dark_turn) {
        game_message(TXT_COLD_DARK);
        open_way_back();
    }
    if (game_carries(OBJ_SHEET)) {
        if (first_dark_turn) game_message(TXT_SHEET_HELPS);
        s.body_temperature -= 2;
    } else {
        s.body_temperature -= 5;
    }
    game_prompt(TXT_TEMPERATURE);
    game_echo(std::to_string(s.body_temperature));
    game_play(TXT_DEGREES);
    game_write_line(game_text(TXT_DEGREES));
    if (s.body_temperature < BODY_DEADLY) {
        game_lose(TXT_FROZEN);
        game_play(TXT_FROZEN);
        game_play(TXT_FAILED);
        game_write_line();
        game_end_program();
        return;
    }
    game_message(s.body_temperature > BODY_CONFUSED ? TXT_CONFUSED : TXT_SPINNING);
    switch (game_random() % 3) {
    case 0: s.exit_north = 1; break;
    case 1: s.exit_south = 1; break;
    default: s.exit_west = 1; break;
    }
}
