// The program's one random generator, shared by the game, the speech front
// end and the own synthesizer: every draw steps the same seed.
#pragma once

#include <cstdint>

// Seed back to 0 (the start-up value).
void random_reset();
// seed := seed * 134775813 + 1 (mod 2^32); returns the upper 32 bits of n * seed.
uint32_t random_next(uint32_t n);
// Seeds from a time of day in milliseconds (the program passes its UTC clock).
void random_seed_from_time_of_day(uint32_t milliseconds);
uint32_t random_seed();
void random_set_seed(uint32_t seed);
