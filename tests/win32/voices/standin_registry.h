// For the tests of the COM voices: the stand-in engines registered from the
// folder of the running program, their settings, and their call records.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "standin_common.h"

// A key cuts an engine at once: a few milliseconds on an idle machine. The
// tests allow this much, so that the scheduling of a loaded machine does not
// fail them, while a wait put before the cut (a settling delay, a poll, the
// end of the text) still does.
constexpr long long STANDIN_CUT_BOUND_US = 100000;

struct StandinCall {
    long long at_us;  // on the performance counter, as standin_now_us
    std::string text;
};

namespace standin_detail {
inline const char* const STANDIN_DLLS[] = {"standin_sapi4.dll", "standin_sapi5.dll", "standin_sapi54.dll"};
inline const char* const STANDIN_SETTINGS[] = {"FUGA_STANDIN_VOICES", "FUGA_STANDIN_SPEAK_MS", "FUGA_STANDIN_FAIL",
                                               "FUGA_STANDIN_NO_END"};
inline std::string g_record;

inline std::string program_folder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path, n);
    return p.substr(0, p.find_last_of("\\/") + 1);
}
}  // namespace standin_detail

// The stand-in DLLs beside the program, each registered as its classes'
// in-process server. False when one is missing or refuses.
inline bool standin_register_all() {
    for (const char* name : standin_detail::STANDIN_DLLS) {
        HMODULE dll = LoadLibraryA((standin_detail::program_folder() + name).c_str());
        if (!dll) return false;
        auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
        bool ok = reg && SUCCEEDED(reg());
        FreeLibrary(dll);
        if (!ok) return false;
    }
    return true;
}

// Sets (or with "" removes) a FUGA_STANDIN_ variable for the stand-ins.
inline void standin_set(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

// Starts a fresh call record in a temporary file and clears the settings.
inline void standin_fresh_record() {
    for (const char* s : standin_detail::STANDIN_SETTINGS) standin_set(s, "");
    if (standin_detail::g_record.empty()) {
        char dir[MAX_PATH], file[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        GetTempFileNameA(dir, "sti", 0, file);
        standin_detail::g_record = file;
    }
    std::ofstream(standin_detail::g_record, std::ios::trunc);
    standin_set("FUGA_STANDIN_LOG", standin_detail::g_record);
}

// Every call recorded since the fresh start, in order.
inline std::vector<StandinCall> standin_calls() {
    std::vector<StandinCall> calls;
    std::ifstream in(standin_detail::g_record, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;
        calls.push_back({std::stoll(line.substr(0, blank)), line.substr(blank + 1)});
    }
    return calls;
}

// The calls' texts only, those that begin with `prefix`.
inline std::vector<std::string> standin_texts(const std::string& prefix = "") {
    std::vector<std::string> texts;
    for (const StandinCall& c : standin_calls())
        if (c.text.compare(0, prefix.size(), prefix) == 0) texts.push_back(c.text);
    return texts;
}

// Time of the first call whose text begins with `prefix`; -1 when none.
inline long long standin_first(const std::string& prefix) {
    for (const StandinCall& c : standin_calls())
        if (c.text.compare(0, prefix.size(), prefix) == 0) return c.at_us;
    return -1;
}

// Now, on the clock of the records.
inline long long standin_clock_us() { return standin_now_us(); }
