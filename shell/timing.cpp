#include "shell/timing.h"

UINT g_timerPeriod = 1;
DWORD g_frameTime = 0;

namespace {

// Waits until the clock reaches a time, sleeping in slices of a millisecond so
// that the wait keeps its rhythm without holding a processor.
void WaitUntil(DWORD end) {
    while (static_cast<int32_t>(timeGetTime() - end) < 0) Sleep(1);
}

}  // namespace

void ProbeTimerPeriod(UINT start) {
    UINT period = start;
    while (timeBeginPeriod(period) == TIMERR_NOCANDO) ++period;
    timeEndPeriod(period);
    g_timerPeriod = period;
}

void Delay(DWORD ms) {
    const DWORD end = timeGetTime() + ms;
    GdiFlush();
    timeBeginPeriod(g_timerPeriod);
    WaitUntil(end);
    timeEndPeriod(g_timerPeriod);
}

void WaitFrame(DWORD ms) {
    GdiFlush();
    timeBeginPeriod(g_timerPeriod);
    WaitUntil(g_frameTime + ms);
    g_frameTime = timeGetTime();
    timeEndPeriod(g_timerPeriod);
}
