// Opening a document, program or web address named in the line editor (F12):
// the program is chosen from the "PROG." keys of section TALUNE.
#pragma once

#include <string>

// The longest target opened; a longer one is cut to it.
constexpr int HELP_MAX_TARGET = 255;

// What opening a target runs: `program` with `argument` as its one argument
// (none when empty); an empty `program` opens `argument` with the program
// the system associates with it.
struct HelpCommand {
    std::string program;
    std::string argument;
};

// The command for a target, `current_directory` without a trailing "/":
// - "http://", "https://" or "www." (exactly, case-sensitive): the program of
//   key PROG.HTM with the target; without that key, no program: the system's
//   association opens the target;
// - extension (the 3 characters after the first "." of the file name, the
//   part after the last separator, upper-cased) EXE or COM, with nothing
//   after them: the target itself as a program, made absolute against the
//   current directory unless it is absolute already (os_path_is_absolute:
//   "/..." on Linux, "C:\...", "\\server\..." and the like on Windows);
// - any other: the program of key "PROG." + extension with the target, or
//   without that key no program (the system's association).
// Both are Latin-1, like every text of the program.
HelpCommand speech_help_command(const std::string& target, const std::string& current_directory);

// Lets speech in progress finish, starts the target's command without
// waiting for it (a missing program or association opens nothing), then
// waits for speech again. Nothing passes through a shell; the program and
// its argument are handed over in UTF-8.
void speech_open_help(const std::string& target);
