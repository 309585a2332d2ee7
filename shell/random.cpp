#include "shell/random.h"

#include "platform/windows.h"

uint32_t g_randomSeed = 0;

namespace {
uint32_t g_state = 1;
}

void SeedRandom(uint32_t seed) {
    if (seed == 0) seed = timeGetTime();
    g_randomSeed = seed;
    g_state = seed;
}

int Random() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}
