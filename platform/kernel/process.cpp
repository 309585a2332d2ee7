// The thread's last error, the tick count, sleeping and ending the process.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/backend/backend.h"
#include "platform/gdi/dc.h"
#include "platform/windows.h"

namespace {
DWORD g_lastError = 0;
}

DWORD WINAPI GetLastError(void) { return g_lastError; }
void WINAPI SetLastError(DWORD error) { g_lastError = error; }

DWORD WINAPI GetTickCount(void) { return platform::CurrentBackend().clock->NowMs(); }

void WINAPI Sleep(DWORD milliseconds) {
    platform::gdi::PresentIfDirty();
    platform::CurrentBackend().clock->SleepMs(milliseconds);
}

DWORD WINAPI GetCurrentThreadId(void) { return 1; }

[[noreturn]] void WINAPI ExitProcess(UINT exitCode) {
    platform::LogLine("exit " + std::to_string(static_cast<int>(exitCode)));
    fflush(nullptr);
    _exit(static_cast<int>(exitCode));
}
