// The shared linear congruential generator.
#include "util/random.h"

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

void random_seed_from_time_of_day(uint32_t milliseconds) { g_random.seed = milliseconds; }

uint32_t random_seed() { return g_random.seed; }
void random_set_seed(uint32_t seed) { g_random.seed = seed; }
