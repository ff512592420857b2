// The folder fuga.exe lives in, for what is looked for beside the program
// (a portable installation's TALUNE.INI, programs shipped with it).
#pragma once

#include <string>

// Without a trailing separator; "." when the program's path is unknown.
std::string win32_program_folder();
