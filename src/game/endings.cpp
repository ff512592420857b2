// The introduction, the two endings and the end of the program.
#include "game/endings.h"

#include "console/console.h"
#include "game/game_state.h"
#include "game/output.h"
#include "speech/speech.h"

namespace {
struct EndingsState {
    void (*end_program_hook)() = nullptr;
} g_endings;
}  // namespace

void game_introduction() {
    game_colour(GAME_COLOUR_PLAIN);
    game_write_text(TXT_TITLE);
    game_write_text(TXT_TITLE_RULE);
    game_play(TXT_TITLE);
    while (speech_busy()) console_wait_message();
    console_delay(1);
    game_colour(GAME_COLOUR_STORY);
    game_write_line();
    game_write_text(TXT_STORY);
    game_colour(GAME_COLOUR_PLAIN);
    game_play(TXT_STORY);
}

void game_win() {
    game_colour(GAME_COLOUR_STORY);
    game_message(TXT_CONGRATULATIONS);
    if (game_carries(OBJ_BOOK)) game_message(TXT_WORTH_BOOK);
    if (game_carries(OBJ_CRUCIFIX)) game_message(TXT_WORTH_CRUCIFIX);
    if (game_carries(OBJ_COIN)) game_message(TXT_WORTH_COIN);
    game_message(TXT_ENJOY_FREEDOM);
    game_message(TXT_CRIME);
    game_colour(GAME_COLOUR_PLAIN);
    game_state().game_over = true;
}

void game_lose(GameText first_line) {
    game_colour(GAME_COLOUR_STORY);
    game_write_text(first_line);
    game_write_line();
    game_write_text(TXT_FAILED);
    game_colour(GAME_COLOUR_PLAIN);
    game_state().game_over = true;
}

void game_end_program() {
    if (g_endings.end_program_hook) {
        g_endings.end_program_hook();
        return;
    }
    speech_stop();
    console_close();
}

void game_set_end_program_hook(void (*hook)()) { g_endings.end_program_hook = hook; }
