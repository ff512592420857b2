// The program's entry.
#include "console/console.h"
#include "game/game.h"
#include "platform/os.h"
#include "speech/speech.h"

int main(int argc, char** argv) {
    // Started first, so that a refused key script or clock ends the run
    // before any log line is written.
    os_start();
    console_bind_standard_channels();
    speech_module_start();
    game_main(argc, argv);
}
