// The program's entry.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/console.h"
#include "game/game.h"
#include "platform/os.h"
#include "speech/speech.h"

namespace {
bool env_names(const char* name, const char* value) {
    const char* v = std::getenv(name);
    return v && *v && (!value || !std::strcmp(v, value));
}

// Headless was not asked for and no key script drives it: nobody could see
// or answer the game, which would end at once in silence.
void refuse_unattended_run() {
    if (std::strcmp(os_backend_name(), "headless") != 0) return;
    if (env_names("FUGA_BACKEND", "headless") || env_names("FUGA_KEYS", nullptr)) return;
    std::fprintf(stderr,
        "fuga: no display (DISPLAY or WAYLAND_DISPLAY) and standard input is not a terminal, "
        "so nobody could see or answer the game.\n"
        "fuga: start it from a terminal or a desktop, or replay keys with "
        "FUGA_BACKEND=headless FUGA_KEYS=FILE.\n");
    os_exit(2);
}
}  // namespace

int main(int argc, char** argv) {
    // Started first, so that a refused key script or clock ends the run
    // before any log line is written.
    os_start();
    refuse_unattended_run();
    console_open_logs();
    console_bind_standard_channels();
    speech_module_start();
    game_main(argc, argv);
}
