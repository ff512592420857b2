// Opening a document, program or web address named in the line editor.
#include "speech/open_help.h"

#include "console/console.h"
#include "platform/os.h"
#include "platform/config.h"
#include "speech/speech.h"

namespace {
const char* const HELP_OPENER = "xdg-open";

bool starts_with(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

HelpCommand speech_help_command(const std::string& target_text, const std::string& current_directory) {
    std::string target = target_text.substr(0, HELP_MAX_TARGET);
    if (starts_with(target, "http://") || starts_with(target, "https://") || starts_with(target, "www.")) {
        std::string program = config_read_setting("TALUNE", "PROG.HTM");
        return {program.empty() ? HELP_OPENER : program, target};
    }
    size_t dot = target.find('.');
    std::string extension = dot == std::string::npos ? "" : speech_upper(target.substr(dot + 1, 3));
    if (extension == "EXE" || extension == "COM") {
        if (starts_with(target, "/")) return {target, ""};
        std::string dir = current_directory;
        if (dir.empty() || dir.back() != '/') dir += '/';
        return {dir + target, ""};
    }
    std::string program = config_read_setting("TALUNE", "PROG." + extension);
    return {program.empty() ? HELP_OPENER : program, target};
}

void speech_open_help(const std::string& target) {
    if (target.empty()) return;
    HelpCommand command = speech_help_command(target, os_current_directory());
    speech_wait_while_busy();
    os_spawn_detached(command.program, command.argument);
    speech_wait_while_busy();
}
