// Starting another program, or opening a document with the program it is
// associated with, detached from ours through the shell's "open"
// (ShellExecuteEx), without a console window of ours.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/os.h"
#include "platform/win32/command_line.h"

namespace {
// UTF-8 to the shell's UTF-16; false for text that is not UTF-8.
bool widen(const std::string& utf8, std::wstring& wide) {
    wide.clear();
    if (utf8.empty()) return true;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
    if (n <= 0) return false;
    wide.resize(size_t(n));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(), n) == n;
}

// The shell's "open" on `file` (a program or a document) with `parameters`,
// in our current directory, with no dialog of the shell's own: a missing
// file or association is reported as failure.
bool shell_open(const std::wstring& file, const std::wstring& parameters) {
    wchar_t directory[MAX_PATH];
    DWORD length = GetCurrentDirectoryW(MAX_PATH, directory);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = length > 0 && length < MAX_PATH ? directory : nullptr;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) && reinterpret_cast<INT_PTR>(info.hInstApp) > 32;
}
}  // namespace

// The names arrive in UTF-8, like every name the program hands outside. The
// argument is quoted as one command-line argument, so that blanks or quotes
// in a file name do not split it.
bool os_spawn_detached(const std::string& program, const std::string& argument) {
    if (program.empty() || program.find('\0') != std::string::npos || argument.find('\0') != std::string::npos)
        return false;
    std::string arg = !argument.empty() && argument[0] == '-' ? "./" + argument : argument;
    std::string parameters;
    if (!arg.empty()) {
        const char* argv[] = {arg.c_str(), nullptr};
        parameters = win32_command_line(argv);
        if (parameters.empty()) return false;
    }
    std::wstring wide_program, wide_parameters;
    if (!widen(program, wide_program) || !widen(parameters, wide_parameters)) return false;
    return shell_open(wide_program, wide_parameters);
}

// The document itself is what the shell opens: its association chooses the
// program, and the name is never part of a command line of ours.
bool os_open_document(const std::string& document) {
    if (document.empty() || document.find('\0') != std::string::npos) return false;
    std::wstring wide;
    return widen(document, wide) && shell_open(wide, L"");
}
