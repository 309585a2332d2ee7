// The thread's message queue: posted messages, the quit flag, input from the
// backend, paint requests and timers, taken in the order Windows takes them.
#include <algorithm>
#include <deque>

#include "platform/backend/backend.h"
#include "platform/gdi/dc.h"
#include "platform/user/desktop.h"
#include "platform/user/internal.h"
#include "platform/user/queue.h"
#include "platform/user/session.h"
#include "platform/windows.h"

namespace platform::user {
namespace {

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC function;
    DWORD due;
};

std::deque<MSG> g_posted;
std::deque<MSG> g_input;
std::optional<InputEvent> g_lookahead;
std::vector<Timer> g_timers;
bool g_quitPending = false;
int g_quitCode = 0;
LONG g_messageTime = 0;
DWORD g_messagePos = 0;
uint64_t g_lastEmpty = 0;
uint64_t g_lastBusy = 0;
bool g_wasEmpty = false;
UINT_PTR g_nextTimerId = 1;

DWORD Now() { return CurrentBackend().clock->NowMs(); }

bool Matches(const MSG& msg, HWND window, UINT low, UINT high) {
    if (window != nullptr && !IsDescendant(msg.hwnd, window)) return false;
    if (low == 0 && high == 0) return true;
    return msg.message >= low && msg.message <= high;
}

bool InRange(UINT message, UINT low, UINT high) {
    return (low == 0 && high == 0) || (message >= low && message <= high);
}

bool TakeFrom(std::deque<MSG>& queue, MSG& out, HWND window, UINT low, UINT high, bool remove) {
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!Matches(*it, window, low, high)) continue;
        out = *it;
        if (remove) queue.erase(it);
        return true;
    }
    return false;
}

// Pulls one event from the backend once everything that earlier input caused
// has been handled: the key and button state seen by GetAsyncKeyState is that
// of the message being handled, and a script's screenshot shows the repainted
// screen.
void PumpBackend() {
    Backend& backend = CurrentBackend();
    HWND unpainted = nullptr;
    if (!g_input.empty() || !g_posted.empty() || backend.events == nullptr) return;
    if (TakePaintWindow(unpainted)) return;
    InputEvent event;
    if (g_lookahead) {
        event = *g_lookahead;
        g_lookahead.reset();
    } else if (!backend.events->Poll(event)) {
        return;
    }
    if (event.kind == InputEvent::Kind::FocusGained) {
        // A click that brings the window forward arrives right after the focus;
        // Windows then reports the activation as WA_CLICKACTIVE.
        InputEvent next;
        if (backend.events->Poll(next)) g_lookahead = next;
        const bool byClick = g_lookahead && g_lookahead->kind == InputEvent::Kind::MouseDown;
        for (HWND top : TopLevelWindows()) ActivateTopLevel(top, byClick ? WA_CLICKACTIVE : WA_ACTIVE);
        return;
    }
    ApplyInputEvent(event);
}

bool TakeTimer(MSG& out, HWND window, UINT low, UINT high, bool remove) {
    if (!InRange(WM_TIMER, low, high)) return false;
    const DWORD now = Now();
    for (Timer& timer : g_timers) {
        if (window != nullptr && !IsDescendant(timer.window, window)) continue;
        if (static_cast<int32_t>(now - timer.due) < 0) continue;
        out = MSG{timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.function),
                  now, {}};
        if (remove) timer.due = now + timer.elapse;
        return true;
    }
    return false;
}

}  // namespace

void PostToQueue(const MSG& msg) { g_posted.push_back(msg); }
void PostInput(const MSG& msg) { g_input.push_back(msg); }
size_t PendingInputCount() { return g_input.size(); }

void DropWindowMessages(HWND window) {
    auto forWindow = [window](const MSG& m) { return m.hwnd != nullptr && m.hwnd == window; };
    g_posted.erase(std::remove_if(g_posted.begin(), g_posted.end(), forWindow), g_posted.end());
    g_input.erase(std::remove_if(g_input.begin(), g_input.end(), forWindow), g_input.end());
    g_timers.erase(std::remove_if(g_timers.begin(), g_timers.end(),
                                  [window](const Timer& t) { return t.window == window; }),
                   g_timers.end());
}

// Milliseconds until the next timer is due, at most `limit`.
uint32_t TimeToNextTimer(uint32_t limit) {
    const DWORD now = Now();
    for (const Timer& timer : g_timers) {
        const int32_t left = static_cast<int32_t>(timer.due - now);
        if (left <= 0) return 0;
        limit = std::min(limit, static_cast<uint32_t>(left));
    }
    return limit;
}

// An idle program keeps a millisecond rhythm only while something may need
// it: a held mouse button (the airbrush sprays while it is down), or drawing
// and input in the last few dozen milliseconds (an animation, a stroke).
// Otherwise it waits for the next input or the next due timer; the wait is
// bounded so that other sources of the backend are still looked at.
void RestUntilNeeded(Clock& clock) {
    constexpr uint64_t kBusyMicros = 30000;
    constexpr uint32_t kLongestRestMs = 50;
    const bool busy = clock.NowMicros() - g_lastBusy < kBusyMicros || MouseButtonHeld();
    const uint32_t rest = busy ? 0 : TimeToNextTimer(kLongestRestMs);
    EventSource* events = CurrentBackend().events.get();
    if (rest < 2 || events == nullptr || !events->WaitForInput(rest)) clock.SleepMs(1);
}

bool PeekQueue(MSG& msg, HWND window, UINT low, UINT high, UINT flags) {
    const bool remove = (flags & PM_REMOVE) != 0;
    EndSessionIfRequested();
    PumpBackend();
    bool found = TakeFrom(g_posted, msg, window, low, high, remove);
    if (!found && g_quitPending && InRange(WM_QUIT, low, high)) {
        msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(g_quitCode), 0, Now(), {}};
        if (remove) g_quitPending = false;
        found = true;
    }
    if (!found && TakeFrom(g_input, msg, window, low, high, remove)) {
        found = true;
        g_lastBusy = CurrentBackend().clock->NowMicros();
        if (remove && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
            IsWindow(msg.hwnd)) {
            SendMessageA(msg.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(msg.hwnd),
                         MAKELPARAM(1, msg.message));
        }
    }
    HWND paintWindow = nullptr;
    if (!found && InRange(WM_PAINT, low, high) && TakePaintWindow(paintWindow) &&
        (window == nullptr || IsDescendant(paintWindow, window))) {
        msg = MSG{paintWindow, WM_PAINT, 0, 0, Now(), {}};
        found = true;
    }
    if (!found) found = TakeTimer(msg, window, low, high, remove);
    if (found) {
        g_wasEmpty = false;
        if (remove) {
            g_messageTime = static_cast<LONG>(msg.time);
            g_messagePos = MAKELONG(msg.pt.x, msg.pt.y);
        }
        return true;
    }
    // The queue ran empty: show what was drawn, and give the processor away
    // when the program comes back for more within a millisecond, as an idle
    // loop does; a loop with real work between its looks is not slowed.
    Clock& clock = *CurrentBackend().clock;
    if (gdi::PresentIfDirty()) g_lastBusy = clock.NowMicros();
    if (g_wasEmpty && clock.NowMicros() - g_lastEmpty < 1000) RestUntilNeeded(clock);
    g_lastEmpty = clock.NowMicros();
    g_wasEmpty = true;
    return false;
}

void ResetQueue() {
    g_posted.clear();
    g_input.clear();
    g_lookahead.reset();
    g_timers.clear();
    g_quitPending = false;
    g_quitCode = 0;
    g_messageTime = 0;
    g_lastEmpty = 0;
    g_lastBusy = 0;
    g_wasEmpty = false;
}

void SetQuit(int code) {
    g_quitPending = true;
    g_quitCode = code;
}

LONG MessageTime() { return g_messageTime; }
DWORD MessagePos() { return g_messagePos; }

UINT_PTR AddTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function) {
    if (window == nullptr) id = g_nextTimerId++;
    elapse = std::max<UINT>(elapse, 10);
    const DWORD due = Now() + elapse;
    for (Timer& timer : g_timers) {
        if (timer.window == window && timer.id == id) {
            timer = Timer{window, id, elapse, function, due};
            return id;
        }
    }
    g_timers.push_back(Timer{window, id, elapse, function, due});
    return window == nullptr ? id : 1;
}

bool RemoveTimer(HWND window, UINT_PTR id) {
    auto it = std::find_if(g_timers.begin(), g_timers.end(),
                           [&](const Timer& t) { return t.window == window && t.id == id; });
    if (it == g_timers.end()) return false;
    g_timers.erase(it);
    return true;
}

}  // namespace platform::user

using namespace platform::user;

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT low, UINT high, UINT remove) {
    if (msg == nullptr) return FALSE;
    return PeekQueue(*msg, window, low, high, remove) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT low, UINT high) {
    if (msg == nullptr) return -1;
    while (!PeekQueue(*msg, window, low, high, PM_REMOVE)) {
    }
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI WaitMessage(void) {
    MSG msg;
    while (!PeekQueue(msg, nullptr, 0, 0, PM_NOREMOVE)) {
    }
    return TRUE;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    PostToQueue(MSG{window, message, wParam, lParam, GetTickCount(), {}});
    return TRUE;
}

BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    if (threadId != GetCurrentThreadId()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    PostToQueue(MSG{nullptr, message, wParam, lParam, GetTickCount(), {}});
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Find(handle);
    if (window == nullptr || window->proc == nullptr) return 0;
    return window->proc(handle, message, wParam, lParam);
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    Window* window = Find(msg->hwnd);
    if (window == nullptr || window->proc == nullptr) return 0;
    const LRESULT result = window->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT) {
        // A procedure that never called BeginPaint would be asked again and
        // again; Windows validates the window for it.
        if (Window* painted = Find(msg->hwnd)) painted->updatePending = false;
    }
    return result;
}

// A character that Windows-1252 lacks comes as WM_UNICHAR with its code point,
// which a window that cannot take it leaves to DefWindowProc.
BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
    const auto hidden = static_cast<uint64_t>(msg->lParam);
    const auto character = static_cast<uint8_t>((hidden >> 32) & 0xFF);
    const auto codePoint = static_cast<uint32_t>((hidden >> 40) & 0x1FFFFF);
    if (character == 0 && codePoint == 0) return FALSE;
    const bool known = character != 0;
    PostToQueue(MSG{msg->hwnd, known ? UINT{WM_CHAR} : UINT{WM_UNICHAR}, known ? character : codePoint,
                    msg->lParam & 0xFFFFFFFF, msg->time, msg->pt});
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) { SetQuit(exitCode); }

LONG WINAPI GetMessageTime(void) { return MessageTime(); }
DWORD WINAPI GetMessagePos(void) { return MessagePos(); }

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function) {
    if (window != nullptr && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const UINT_PTR result = AddTimer(window, id, elapse, function);
    return window != nullptr ? (id != 0 ? id : 1) : result;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) { return RemoveTimer(window, id) ? TRUE : FALSE; }
