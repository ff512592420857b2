// The game with a test voice as its external synthesizer (type 77), for the
// end-to-end runs of what goes to an external synthesizer: the voice takes
// every text at once and is never busy, so the sound log's "ext" lines are
// what it was given. Configure [TRADUTOR] SAPI=S and [SERVFALA] TIPOSAPI=77.
#include <string>

#include "audio/extsynth.h"
#include "console/console.h"
#include "game/game.h"
#include "platform/os.h"
#include "speech/speech.h"

namespace {
constexpr ExtSynthType TEST_VOICE_SLOT = EXTSYNTH_TYPE_SAPI4;  // the dispatcher's slot for "any other type" (77 here)

bool voice_start(int, int, int, const std::string&) { return true; }
void voice_stop() {}
void voice_speak(const std::string&) {}
bool voice_busy(bool) { return false; }
void voice_silence() {}
const ExtSynthEngine TEST_VOICE = {"test voice", voice_start, voice_stop, voice_speak, voice_busy, voice_silence};
}  // namespace

int main(int argc, char** argv) {
    os_start();
    console_bind_standard_channels();
    speech_module_start();
    extsynth_register(TEST_VOICE_SLOT, &TEST_VOICE);
    game_main(argc, argv);
}
