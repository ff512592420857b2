// A test binary must never end through the program's own exit path (which
// would report success half-way through the tests): if anything under test
// calls os_exit, say so and fail.
#include <cstdio>
#include <cstdlib>

#include "platform/os.h"

namespace {
void unexpected_exit() {
    if (os_ending_by_return()) return;  // the test program itself is done
    std::fprintf(stderr, "test: the code under test ended the program (os_exit)\n");
    std::_Exit(99);
}

struct ExitGuard {
    ExitGuard() { os_at_exit(unexpected_exit); }
} g_exit_guard;
}  // namespace
