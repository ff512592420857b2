// Quoting of arguments for a Windows command line.
#include "platform/win32/command_line.h"

#include <cstring>

namespace {
void append_argument(std::string& line, const char* arg) {
    if (*arg && !std::strpbrk(arg, " \t\v\"")) {
        line += arg;
        return;
    }
    line += '"';
    size_t backslashes = 0;
    for (const char* p = arg;; ++p) {
        if (*p == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: doubled there (and before
        // the closing quote), kept as they are anywhere else.
        if (*p == '\0') {
            line.append(backslashes * 2, '\\');
            break;
        }
        if (*p == '"') {
            line.append(backslashes * 2 + 1, '\\');
            line += '"';
        } else {
            line.append(backslashes, '\\');
            line += *p;
        }
        backslashes = 0;
    }
    line += '"';
}
}  // namespace

std::string win32_command_line(const char* const* argv) {
    std::string line;
    if (!argv) return line;
    for (const char* const* a = argv; *a; ++a) {
        if (std::strpbrk(*a, "\r\n")) return "";
        if (a != argv) line += ' ';
        append_argument(line, *a);
    }
    return line;
}
