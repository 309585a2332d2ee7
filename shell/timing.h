// Waits for animations: single pauses and frame pacing on the multimedia clock.
#pragma once

#include "platform/windows.h"

extern UINT g_timerPeriod;
extern DWORD g_frameTime;

void ProbeTimerPeriod(UINT start);
void Delay(DWORD ms);
void WaitFrame(DWORD ms);
