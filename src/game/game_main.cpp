// Start-up of the game, the turn loop and the end of the program.
#include <cstring>

#include "console/console.h"
#include "game/endings.h"
#include "game/game.h"
#include "game/game_state.h"
#include "game/hazards.h"
#include "game/objects.h"
#include "game/parser.h"
#include "game/rooms.h"
#include "platform/config.h"
#include "platform/os.h"
#include "review/review.h"
#include "speech/line_editor.h"
#include "speech/speech.h"
#include "util/number_scan.h"
#include "util/random.h"

// A minus counts only when the whole text is the number.
int game_speed_setting(const std::string& text) {
    ScannedNumber n = scan_leading_number(text, 1000000);
    bool whole = n.end == text.size() && n.end > n.digits;
    return static_cast<int>(n.negative && whole ? -n.value : n.value);
}

namespace {
// The room, what is in it and the command; false when the game ended in the
// description.
bool before_the_command(const std::string* typed_line) {
    GameState& s = game_state();
    game_describe_room();
    if (s.game_over) return false;
    game_show_surroundings();
    if (typed_line) {
        game_parse_command(*typed_line);
    } else {
        game_read_command();
    }
    if (s.verb_code == 0) game_hint();
    return true;
}

// The rest of a turn after the command is known; false when the game is over.
bool carry_out() {
    GameState& s = game_state();
    if (game_guard_check() == GUARD_DEALT_WITH) return true;
    if (s.game_over) return false;
    game_dispatch();
    return !s.game_over;
}
}  // namespace

void game_setup() {
    int speed = game_speed_setting(config_read_setting("SMORVELA", "VELOCIDADE"));
    speech_start(speed, config_read_setting("SMORVELA", "DIRSMORVELA"));
    game_reset();
}

void game_place_random_objects() {
    game_place_object(OBJ_LANTERN);
    game_place_object(OBJ_KEY);
    game_place_object(OBJ_PENKNIFE);
    game_place_guard();
}

void game_run_turns() {
    while (before_the_command(nullptr) && carry_out()) {
    }
}

bool game_play_turn(const std::string& typed_line) { return before_the_command(&typed_line) && carry_out(); }

bool game_command(const std::string& typed_line) {
    game_parse_command(typed_line);
    if (game_state().verb_code == 0) game_hint();
    return carry_out();
}

void game_main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "-r") != 0) {
        OsTime t = os_utc_time();
        int ms = ((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
        random_seed_from_time_of_day(static_cast<uint32_t>(ms));
    }
    speech_set_screen_review(review_run);
    speech_start(0, config_read_setting("SMORVELA", "DIRSMORVELA"));
    speech_set_speak_punctuation(false);
    game_setup();
    game_place_random_objects();
    game_introduction();
    game_run_turns();
    game_end_program();
    // Reached only when a test hook let game_end_program return.
    console_close();
}
