// The thread's last error, the tick count, sleeping and ending the process.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/backend/backend.h"
#include "platform/backend/headless/monkey.h"
#include "platform/gdi/dc.h"
#include "platform/user/session.h"
#include "platform/windows.h"

namespace {
DWORD g_lastError = 0;
}

DWORD WINAPI GetLastError(void) { return g_lastError; }
void WINAPI SetLastError(DWORD error) { g_lastError = error; }

void WINAPI OutputDebugStringA(LPCSTR text) {
    const std::string line = text != nullptr ? text : "";
    platform::LogLine("debug: " + line);
    if (platform::Monkey* monkey = platform::CurrentMonkey()) monkey->Fail("the program says: " + line);
}

DWORD WINAPI GetTickCount(void) { return platform::CurrentBackend().clock->NowMs(); }

// A long sleep is cut short when the session ends, so that the windows
// hear of it in time.
void WINAPI Sleep(DWORD milliseconds) {
    constexpr DWORD kSlice = 50;
    platform::gdi::PresentIfDirty();
    platform::Clock& clock = *platform::CurrentBackend().clock;
    while (milliseconds > 0 && !platform::user::SessionEndRequested()) {
        const DWORD slice = std::min(milliseconds, kSlice);
        clock.SleepMs(slice);
        milliseconds -= slice;
    }
}

DWORD WINAPI GetCurrentThreadId(void) { return 1; }

// The pseudo handle Windows answers with: -1, meaning this process.
HANDLE WINAPI GetCurrentProcess(void) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

[[noreturn]] void WINAPI ExitProcess(UINT exitCode) {
    if (platform::CurrentBackend().events != nullptr) platform::CurrentBackend().events->Ending();
    platform::LogLine("exit " + std::to_string(static_cast<int>(exitCode)));
    fflush(nullptr);
    _exit(static_cast<int>(exitCode));
}
