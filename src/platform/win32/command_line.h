// The command line a Windows program splits back into the arguments given,
// by the rules its C runtime uses (quotes and the backslashes before them).
#pragma once

#include <string>

// One line from argv (ended by a null pointer): each argument quoted when it
// is empty or holds a blank or a quote. "" when an argument holds a NUL or a
// line end, which no command line can carry.
std::string win32_command_line(const char* const* argv);
