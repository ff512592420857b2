// Opening a document, program or web address named in the line editor.
#include "speech/open_help.h"

#include "console/console.h"
#include "platform/os.h"
#include "platform/config.h"
#include "speech/speech.h"
#include "util/latin1.h"

namespace {
bool starts_with(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

HelpCommand speech_help_command(const std::string& target_text, const std::string& current_directory) {
    std::string target = target_text.substr(0, HELP_MAX_TARGET);
    if (starts_with(target, "http://") || starts_with(target, "https://") || starts_with(target, "www.")) {
        std::string program = config_read_setting("TALUNE", "PROG.HTM");
        return {program, target};
    }
    // The extension is the file name's, so that the dots of "./" and "../"
    // or of a directory are not taken for it, and only a whole ".exe" or
    // ".com" makes a program ("manual.compendio" is a document).
    size_t dot = target.find('.', os_path_name_start(target));
    std::string after_dot = dot == std::string::npos ? "" : target.substr(dot + 1);
    std::string extension = speech_upper(after_dot.substr(0, 3));
    if (after_dot.size() == 3 && (extension == "EXE" || extension == "COM")) {
        if (os_path_is_absolute(target)) return {target, ""};
        std::string dir = current_directory;
        // A root ("/", "C:\\") ends in its separator already.
        if (dir.empty() || os_path_name_start(dir) != dir.size()) dir += '/';
        return {dir + target, ""};
    }
    std::string program = config_read_setting("TALUNE", "PROG." + extension);
    return {program, target};
}

void speech_open_help(const std::string& target) {
    if (target.empty()) return;
    HelpCommand command = speech_help_command(target, os_current_directory());
    speech_wait_while_busy();
    // Names outside the program are UTF-8.
    if (command.program.empty()) os_open_document(utf8(command.argument));
    else os_spawn_detached(utf8(command.program), utf8(command.argument));
    speech_wait_while_busy();
}
