// Multimedia: the millisecond clock and its period.
//
// timeGetTime reads the backend's clock, the same one as GetTickCount; the
// period calls only count, since Linux sleeps are already fine-grained.
#pragma once

#include "platform/win/types.h"

typedef UINT MMRESULT;
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

DWORD WINAPI timeGetTime(void);
MMRESULT WINAPI timeBeginPeriod(UINT period);
MMRESULT WINAPI timeEndPeriod(UINT period);
