// Skipping a test whose generated data or tools are missing, except under
// continuous integration (CI=true), where everything has been installed and
// built, so that a missing piece fails there instead of passing unseen.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

inline bool running_under_ci() {
    const char* ci = std::getenv("CI");
    return ci && std::strcmp(ci, "true") == 0;
}

// Returns from the test function: a skip, or a failure under CI.
#define SKIP_UNLESS_CI(message)                                                 \
    do {                                                                        \
        if (running_under_ci()) {                                               \
            FAIL() << message << " (CI=true: it must be there)";               \
        } else {                                                                \
            GTEST_SKIP() << message;                                            \
        }                                                                       \
    } while (0)
