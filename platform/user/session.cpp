// The end of the desktop session. A signal handler may do almost nothing
// safely, so it only sets a flag; the queue sees the flag at its next look,
// which every message loop makes within a few milliseconds, and the windows
// are then told on the program's own thread.
#include "platform/user/session.h"

#include <signal.h>

#include <vector>

#include "platform/backend/backend.h"
#include "platform/user/desktop.h"
#include "platform/windows.h"

namespace platform::user {
namespace {

volatile sig_atomic_t g_requested = 0;
bool g_ending = false;

void OnSessionEndSignal(int) { g_requested = 1; }

}  // namespace

void CatchSessionEndSignals() {
    struct sigaction action {};
    action.sa_handler = OnSessionEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGHUP, SIGINT}) sigaction(number, &action, nullptr);
}

bool SessionEndRequested() { return g_requested != 0; }

bool SessionEnding() { return g_ending; }

void EndSessionIfRequested() {
    if (g_requested == 0 || g_ending) return;
    g_ending = true;
    LogLine("session end");
    // A window may go while another is told: the list is copied first.
    const std::vector<HWND> windows = TopLevelWindows();
    for (HWND window : windows) {
        if (IsWindow(window)) SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    }
    ExitProcess(0);
}

void ResetSessionEnd() {
    g_requested = 0;
    g_ending = false;
}

}  // namespace platform::user
