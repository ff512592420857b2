// The game's state record and its start-up values.
#include "game/game_state.h"

#include "util/random.h"

namespace {
// Where each object lies at start-up; 11, 12, 13 and the guard are placed at random.
constexpr int START_LOCATION[GAME_MAX_OBJECTS + 1] = {0, 3, 4, 5, 1, 7, 10, 16, 19, 20, NOWHERE, 0, 0, 0, 0};

struct GameModule {
    GameState state;
} g_game;
}  // namespace

GameState& game_state() { return g_game.state; }

void game_reset() {
    g_game = GameModule{};
    for (int n = 1; n <= GAME_MAX_OBJECTS; ++n) g_game.state.object_location[n] = START_LOCATION[n];
}

bool game_carries(int n) { return g_game.state.object_location[n] == CARRIED; }

void game_set_location(int n, int location) {
    GameState& s = g_game.state;
    if (s.object_location[n] == CARRIED) --s.carried_count;
    if (location == CARRIED) ++s.carried_count;
    s.object_location[n] = location;
}

int game_random() { return static_cast<int>(random_next(100)); }
