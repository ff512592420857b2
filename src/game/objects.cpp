// Objects: their names and texts, where they are put, and the take, drop and
// list commands.
#include "game/objects.h"

#include <cstdio>

#include "game/game_state.h"
#include "game/output.h"
#include "speech/speech.h"

namespace {
int random_room() { return game_random() % 24 + 1; }

bool unreachable(int room) { return room == 1 || room == 22 || room == 23; }
}  // namespace

const std::string& game_object_name(int n) { return game_text(static_cast<GameText>(TXT_NAME_SPOON + n - 1)); }

GameText game_object_description(int n) { return static_cast<GameText>(TXT_DESC_SPOON + n - 1); }

int game_find_object(const std::string& word, int last) {
    for (int n = 1; n <= last; ++n) {
        const std::string& name = game_object_name(n);
        if (word.compare(0, name.size(), name) == 0) return n;
    }
    return 0;
}

void game_place_object(int n) {
    if (game_carries(n)) return;
    // Rooms 22 and 23 exist on the map but no exit leads to them: an object
    // put there (the gate's key above all) could never be found.
    int room;
    do {
        room = random_room();
    } while (unreachable(room));
    game_set_location(n, room);
}

void game_place_guard() {
    GameState& s = game_state();
    int room;
    do {
        room = random_room();
    } while (room == s.room || room == 1);
    game_set_location(OBJ_GUARD, room);
}

void game_say_object_name(int n) {
    char key[8];
    std::snprintf(key, sizeof key, "%02d", n);
    if (speech_key_exists(key)) {
        game_play_key(key);
    } else {
        speech_say(game_object_name(n));
    }
}

void game_take() {
    GameState& s = game_state();
    if (s.object_word.empty()) {
        game_echo(s.verb_word);
        game_play(TXT_WHAT_AFTER_VERB);
        game_write_line(game_text(TXT_WHAT_AFTER_VERB));
        return;
    }
    int n = game_find_object(s.object_word, GAME_MAX_OBJECTS - 1);
    if (n == 0) {
        game_prompt(TXT_DONT_KNOW);
        speech_write_line(s.object_word);
        return;
    }
    if (game_carries(n)) {
        game_message(TXT_ALREADY_TAKEN);
        return;
    }
    if (s.object_location[n] != s.room) {
        game_message(TXT_NOT_HERE);
        return;
    }
    if (s.carried_count >= GAME_CARRY_LIMIT && !game_carries(OBJ_ROPE)) {
        game_message(TXT_TOO_MANY);
        return;
    }
    if (n == OBJ_BOOK && s.book_on_high_shelf) {
        if (!game_carries(OBJ_LADDER)) {
            game_message(TXT_BOOK_TOO_HIGH);
            return;
        }
        game_message(TXT_LUCKY_LADDER);
        s.book_on_high_shelf = false;
    }
    game_message(TXT_OK);
    game_set_location(n, CARRIED);
}

void game_drop() {
    GameState& s = game_state();
    if (s.object_word.empty()) {
        game_echo(s.verb_word);
        game_write_line(game_after_echo(TXT_WHAT));
        game_play(TXT_WHAT);
        return;
    }
    int n = game_find_object(s.object_word, GAME_MAX_OBJECTS);
    if (n == 0) {
        game_prompt(TXT_DONT_KNOW);
        speech_write_line(s.object_word);
        return;
    }
    if (!game_carries(n)) {
        game_prompt(TXT_CANNOT);
        game_echo(s.verb_word);
        game_write_line(game_after_echo(TXT_NOT_CARRIED));
        game_play(TXT_NOT_CARRIED);
        return;
    }
    game_message(TXT_OK);
    game_set_location(n, s.room);
}

void game_list_inventory() {
    GameState& s = game_state();
    if (s.carried_count == 0) {
        game_message(TXT_CARRYING_NOTHING);
        return;
    }
    game_message(TXT_CARRYING);
    int k = 0;
    for (int n = 1; n <= GAME_MAX_OBJECTS; ++n) {
        if (!game_carries(n)) continue;
        ++k;
        std::string number = std::to_string(k);
        game_write_line(number + " - " + game_object_name(n));
        speech_say(number);
        game_say_object_name(n);
    }
}
