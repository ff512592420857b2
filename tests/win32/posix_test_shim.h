// The few POSIX calls the unit tests use to set up their surroundings
// (environment variables, a fresh temporary directory, the process id, pi),
// made from their Windows equivalents. Included ahead of every unit test
// source of the Windows build; tests that need more of POSIX are left out
// of that build (tests/win32/linux_only_tests.cmake).
#pragma once

#include <direct.h>
#include <process.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <random>

#ifndef M_PI
#define M_PI 3.14159265358979323846
#endif

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name)) return 0;
    return _putenv_s(name, value) == 0 ? 0 : -1;
}

inline int unsetenv(const char* name) { return _putenv_s(name, "") == 0 ? 0 : -1; }

// Replaces the trailing XXXXXX and makes the directory; nullptr when no
// fresh name could be made.
inline char* mkdtemp(char* name_template) {
    size_t n = std::strlen(name_template);
    if (n < 6 || std::strcmp(name_template + n - 6, "XXXXXX") != 0) return nullptr;
    static std::mt19937 random{std::random_device{}()};
    const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (size_t i = n - 6; i < n; ++i) name_template[i] = letters[random() % (sizeof letters - 1)];
        if (_mkdir(name_template) == 0) return name_template;
    }
    return nullptr;
}
