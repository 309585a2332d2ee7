// The multimedia clock: the backend's clock, offset by the run's seed on the
// headless backend so that a program seeding its random numbers from it is
// repeatable and still depends on --seed.
#include "platform/backend/backend.h"
#include "platform/options.h"
#include "platform/windows.h"

namespace {
int g_periodDepth = 0;
}

DWORD WINAPI timeGetTime(void) {
    const platform::Backend& backend = platform::CurrentBackend();
    const DWORD offset = backend.headless ? platform::CurrentOptions().seed : 0;
    return backend.clock->NowMs() + offset;
}

MMRESULT WINAPI timeBeginPeriod(UINT period) {
    if (period == 0) return TIMERR_NOCANDO;
    ++g_periodDepth;
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT period) {
    if (period == 0 || g_periodDepth == 0) return TIMERR_NOCANDO;
    --g_periodDepth;
    return TIMERR_NOERROR;
}
