// The program's random numbers: one linear congruential generator for the
// whole process, state = state * 214013 + 2531011, values 0..32767.
#pragma once

#include <cstdint>

extern uint32_t g_randomSeed;

// Seed 0 takes the multimedia clock.
void SeedRandom(uint32_t seed);
int Random();
