// The shared linear congruential generator.
#include "util/random.h"

#include "platform/os.h"

namespace {
struct RandomState {
    uint32_t seed = 0;
} g_random;
}  // namespace

void random_reset() { g_random = RandomState{}; }

uint32_t random_next(uint32_t n) {
    g_random.seed = g_random.seed * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(n) * g_random.seed) >> 32);
}

void random_seed_from_clock() {
    OsTime t = os_utc_time();
    g_random.seed = static_cast<uint32_t>(((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond);
}

uint32_t random_seed() { return g_random.seed; }
void random_set_seed(uint32_t seed) { g_random.seed = seed; }
