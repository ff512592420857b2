// Fuzz target: typed command lines are outside input. Each input line is
// played as one turn of a replayable game; the state must stay consistent.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

#include "game/endings.h"
#include "game/game.h"
#include "game/game_state.h"
#include "speech/speech.h"
#include "util/random.h"

namespace {
void check_state() {
    const GameState& s = game_state();
    int carried = 0;
    for (int n = 1; n <= GAME_MAX_OBJECTS; ++n) {
        int at = s.object_location[n];
        if (at == CARRIED) ++carried;
        if (at != CARRIED && (at < 0 || at > GAME_MAX_ROOMS)) __builtin_trap();
    }
    if (carried != s.carried_count || s.room < 1 || s.room > GAME_MAX_ROOMS) __builtin_trap();
    if (s.verb_code < 0 || s.verb_code > 13) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::stringstream sink;
    std::cout.rdbuf(sink.rdbuf());
    game_set_end_program_hook([] {});
    random_reset();
    speech_reset();
    speech_module_start();
    speech_start(3, "");
    game_reset();
    game_place_random_objects();
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        // The line editor never hands over more than its maximum.
        std::string line = input.substr(start, std::min<size_t>(end - start, SPEECH_MAX_LINE));
        bool going_on = game_play_turn(line);
        check_state();
        if (!going_on) break;
        start = end + 1;
    }
    sink.str("");
    return 0;
}
