// The start-up failure screen of the own synthesizer: the code, the voice
// database and what it lacked, then a typed line ends the program.
#include "speech/start_failure.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "console/console.h"
#include "diphone/diphone.h"
#include "platform/config.h"
#include "platform/file_lookup.h"
#include "platform/os.h"
#include "speech/speech_settings.h"
#include "speech/speech_state.h"
#include "util/latin1.h"

namespace {
// What the own synthesizer lacked, as two lines: why, then the path on a
// line of its own so that a long one is not broken in the middle.
std::string start_failure_cause() {
    if (diphone_database().empty()) {
        std::string ini = config_file_path();
        // Neither copy exists: both places where it was looked for.
        if (config_file_too_large()) return "Grande demais para um arquivo de configura\xe7\xe3o:\n" + ini;
        if (!os_file_exists(ini)) return "N\xe3o encontrado:\n" + os_windows_directory() + "/TALUNE.INI\n" + ini;
        return "Falta " + speech_speed_key("DIFONES", speech_state().speed) + " em [SINTETIZADOR] de:\n" + ini;
    }
    std::string path = diphone_start_failure_path();
    if (path.empty()) return "";
    bool there = os_file_exists(path) || file_is_directory(path);
    return std::string(there ? "N\xe3o foi poss\xedvel ler:\n" : "N\xe3o encontrado:\n") + path;
}
}  // namespace

void speech_start_failure(int code) {
    std::string message = "Erro de inicializa\xe7\xe3o: " + std::to_string(code) + "\n" +
                          "Banco de dados de voz: " + diphone_database() + "\n";
    std::string cause = start_failure_cause();
    if (!cause.empty()) message += cause + "\n";
    std::cout << message << std::flush;
    // Also where whoever started the program looks when the screen is not seen.
    std::fputs(utf8(message).c_str(), stderr);
    std::fflush(stderr);
    diphone_stop();
    char line[128];
    console_read_line_raw(line, sizeof line);
    console_close();
}
