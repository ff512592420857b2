// From a verb code to its command.
#include "game/actions.h"
#include "game/game.h"
#include "game/game_state.h"
#include "game/objects.h"
#include "game/rooms.h"

namespace {
using Handler = void (*)();
constexpr Handler HANDLERS[] = {
    nullptr,   game_move, game_drop,   game_take,       game_kill,    game_dig,           game_open,
    game_saw,  game_swim, game_light, game_extinguish, game_give_up, game_list_inventory, game_help,
};
constexpr int HANDLER_COUNT = sizeof HANDLERS / sizeof HANDLERS[0];
}  // namespace

void game_dispatch() {
    int code = game_state().verb_code;
    if (code > 0 && code < HANDLER_COUNT) HANDLERS[code]();
}
