// The real MBROLA program and its br1 voice, for the engine tests: skipped
// where they are not installed, a failure under CI, which installs both.
#pragma once

#include "platform/os.h"
#include "skip_unless_ci.h"

constexpr const char* BR1 = "/usr/share/mbrola/br1/br1";

inline bool have_mbrola_voice() { return !os_find_program("mbrola").empty() && os_file_exists(BR1); }

#define REQUIRE_MBROLA()                                                      \
    do {                                                                      \
        if (!have_mbrola_voice()) SKIP_UNLESS_CI("mbrola or its br1 voice is not installed"); \
    } while (0)
