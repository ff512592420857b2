// The special commands: saw, dig, swim, light, put out, open, kill, give up
// and help.
#include "game/actions.h"

#include "game/endings.h"
#include "game/game_state.h"
#include "game/output.h"

namespace {
bool names_lantern(const std::string& word) { return word.compare(0, 8, "LANTERNA") == 0; }

bool guard_here() {
    const GameState& s = game_state();
    return s.object_location[OBJ_GUARD] == s.room;
}

void cannot_without_it() {
    game_prompt(TXT_CANNOT);
    game_echo(game_state().verb_word);
    game_write_line(game_text(TXT_NOT_CARRIED_PLAIN));
    game_play(TXT_NOT_CARRIED_PLAIN);
}
}  // namespace

void game_saw() {
    GameState& s = game_state();
    if (s.room != ROOM_CELL || s.bars_sawn) {
        game_write(game_text(TXT_SAW_VERB));
        game_write_line(game_text(TXT_WHAT_LOWER));
        game_play(TXT_WHAT_LOWER);
    } else if (!game_carries(OBJ_SAW)) {
        game_message(TXT_NO_SAW);
    } else {
        game_message(TXT_OK);
        s.bars_sawn = true;
    }
}

void game_dig() {
    GameState& s = game_state();
    if (s.room != ROOM_TUNNEL || s.tunnel_dug) {
        game_message(TXT_WHERE);
    } else if (game_carries(OBJ_LADDER)) {
        game_lose(TXT_STUCK);
        game_play(TXT_STUCK);
        game_play(TXT_FAILED);
    } else if (game_carries(OBJ_SPOON)) {
        game_message(TXT_OK);
        s.tunnel_dug = true;
    } else {
        game_message(TXT_NO_SPOON);
    }
}

void game_swim() {
    GameState& s = game_state();
    if (s.room != ROOM_RIVER) {
        game_message(TXT_WHERE);
    } else if (game_carries(OBJ_SAW)) {
        game_message(TXT_TOO_HEAVY_TO_SWIM);
    } else if (!game_carries(OBJ_COIN)) {
        // Found wherever it was, above the carrying limit.
        game_message(TXT_FOUND_COIN);
        game_set_location(OBJ_COIN, CARRIED);
    } else {
        // The current takes back the coin it gave, and only the coin.
        game_message(TXT_SWALLOWED);
        game_message(TXT_LOST_COIN);
        game_set_location(OBJ_COIN, NOWHERE);
    }
}

void game_light() {
    GameState& s = game_state();
    if (s.object_word.empty()) {
        game_message(TXT_WHAT);
    } else if (!names_lantern(s.object_word)) {
        game_message(TXT_DOES_NOT_LIGHT);
    } else if (s.lantern_lit) {
        game_message(TXT_ALREADY_LIT);
    } else if (game_carries(OBJ_LANTERN)) {
        game_message(TXT_OK);
        s.lantern_lit = true;
    } else {
        cannot_without_it();
    }
}

void game_extinguish() {
    GameState& s = game_state();
    if (s.object_word.empty()) {
        game_message(TXT_WHAT);
    } else if (!names_lantern(s.object_word)) {
        game_message(TXT_DOES_NOT_GO_OUT);
    } else if (!game_carries(OBJ_LANTERN)) {
        cannot_without_it();
    } else if (s.lantern_lit) {
        game_message(TXT_OK);
        s.lantern_lit = false;
    } else {
        game_message(TXT_ALREADY_OUT);
    }
}

void game_open() {
    GameState& s = game_state();
    if (s.room != ROOM_GATE) {
        game_message(TXT_CANNOT_DO_THAT);
    } else if (!game_carries(OBJ_KEY)) {
        game_message(TXT_WITH_WHAT);
    } else if (!game_carries(OBJ_BONE)) {
        game_win();
    } else {
        game_lose(TXT_DOGS);
        game_play(TXT_DOGS);
        game_play(TXT_FAILED);
    }
}

void game_kill() {
    GameState& s = game_state();
    if (game_carries(OBJ_PENKNIFE) || game_carries(OBJ_BONE)) {
        if (guard_here()) {
            game_message(TXT_KILLED_GUARD);
            game_set_location(OBJ_GUARD, NOWHERE);
        } else {
            game_echo(s.verb_word);
            game_play(TXT_WHOM);
            game_write_line(game_text(TXT_WHOM));
        }
    } else {
        game_message(TXT_NO_WEAPON);
        if (guard_here()) {
            game_message(TXT_GUARD_GAVE_ALARM);
            s.alarm_on = true;
        }
    }
}

void game_give_up() {
    game_lose(TXT_GIVE_UP);
    game_play(TXT_OK);
    // Giving up names the closing recording in lower case; the lookup finds
    // the same file as "FUGA".
    game_play_key("fuga");
}

void game_help() {
    const GameState& s = game_state();
    if (s.room == ROOM_RIVER && game_carries(OBJ_SAW)) {
        game_message(TXT_HELP_HEAVY);
    } else if (s.room == ROOM_PASSAGE && game_carries(OBJ_LANTERN) && s.lantern_lit) {
        game_message(TXT_HELP_CONSPICUOUS);
    } else if (s.room == ROOM_COLD_ROOM && !game_carries(OBJ_LANTERN)) {
        game_message(TXT_HELP_NO_LANTERN);
    } else {
        game_message(TXT_HELP_NONE);
    }
    if (s.alarm_on) game_message(TXT_HELP_ALARM);
}
