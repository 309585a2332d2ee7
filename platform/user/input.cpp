// Input: backend events turned into mouse and keyboard messages, capture,
// focus, activation and the key state.
#include <array>
#include <cstdio>
#include <string>

#include "platform/backend/backend.h"
#include "platform/user/desktop.h"
#include "platform/user/internal.h"
#include "platform/user/queue.h"
#include "platform/windows.h"

namespace platform::user {
namespace {

HWND g_capture = nullptr;
HWND g_focus = nullptr;
HWND g_active = nullptr;
POINT g_cursor{};
std::array<bool, 256> g_keyDown{};
// The right Alt key is AltGr on the layouts that have one. Windows makes it
// Ctrl+Alt, so that the keys it changes type their characters (the euro
// sign, "@", brackets) instead of reaching the menus as Alt keys.
bool g_altGrDown = false;
constexpr uint32_t kExtendedScan = 0x100;

WPARAM MouseKeyFlags() {
    WPARAM flags = 0;
    if (g_keyDown[VK_LBUTTON]) flags |= MK_LBUTTON;
    if (g_keyDown[VK_RBUTTON]) flags |= MK_RBUTTON;
    if (g_keyDown[VK_SHIFT]) flags |= MK_SHIFT;
    if (g_keyDown[VK_CONTROL]) flags |= MK_CONTROL;
    return flags;
}

}  // namespace

bool MouseButtonHeld() { return g_keyDown[VK_LBUTTON] || g_keyDown[VK_RBUTTON]; }

namespace {

void PostMouse(UINT message) {
    HWND target = g_capture != nullptr ? g_capture : WindowFromScreenPoint(g_cursor);
    if (target == nullptr) return;
    POINT client = g_cursor;
    ScreenToClient(target, &client);
    const DWORD now = GetTickCount();
    PostInput(MSG{target, message, MouseKeyFlags(),
                  MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)), now,
                  g_cursor});
}

HWND KeyboardTarget() {
    if (g_focus != nullptr && IsWindow(g_focus)) return g_focus;
    return g_active;
}

void PostKey(const InputEvent& event, bool down) {
    HWND target = KeyboardTarget();
    if (target == nullptr) return;
    const bool altGr = g_altGrDown && event.vk != VK_MENU;
    const bool alt = g_keyDown[VK_MENU] && !altGr;
    const bool system = alt || event.vk == VK_F10 || event.vk == VK_MENU;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    uint64_t lParam = 1 | ((event.scan & 0xFF) << 16);
    if (alt) lParam |= 1u << 29;
    if (!down) lParam |= (1u << 30) | (1u << 31);
    if (down && event.repeat) lParam |= 1u << 30;
    // The character the key typed rides above the 32 bits Windows defines,
    // for TranslateMessage: in Windows-1252, or as a code point that it lacks.
    if (down && message == WM_KEYDOWN) {
        lParam |= static_cast<uint64_t>(event.character) << 32;
        lParam |= static_cast<uint64_t>(event.codePoint & 0x1FFFFF) << 40;
    }
    PostInput(MSG{target, message, event.vk, static_cast<LPARAM>(lParam), GetTickCount(), g_cursor});
}

}  // namespace

void ApplyInputEvent(const InputEvent& event) {
    using Kind = InputEvent::Kind;
    switch (event.kind) {
        case Kind::MouseMove:
            g_cursor = POINT{event.x, event.y};
            PostMouse(WM_MOUSEMOVE);
            break;
        case Kind::MouseDown:
        case Kind::MouseUp: {
            g_cursor = POINT{event.x, event.y};
            const bool down = event.kind == Kind::MouseDown;
            const bool left = event.button == MouseButton::Left;
            g_keyDown[left ? VK_LBUTTON : VK_RBUTTON] = down;
            PostMouse(left ? (down ? WM_LBUTTONDOWN : WM_LBUTTONUP)
                           : (down ? WM_RBUTTONDOWN : WM_RBUTTONUP));
            break;
        }
        case Kind::KeyDown:
            g_keyDown[event.vk & 0xFF] = true;
            if (event.vk == VK_MENU) g_altGrDown = (event.scan & kExtendedScan) != 0;
            PostKey(event, true);
            break;
        case Kind::KeyUp:
            PostKey(event, false);
            g_keyDown[event.vk & 0xFF] = false;
            if (event.vk == VK_MENU) g_altGrDown = false;
            break;
        case Kind::Character:
            if (HWND target = KeyboardTarget()) {
                const bool known = event.character != 0;
                const UINT message = known ? UINT{WM_CHAR} : UINT{WM_UNICHAR};
                PostInput(MSG{target, message, known ? event.character : event.codePoint, 1, GetTickCount(),
                              g_cursor});
            }
            break;
        case Kind::FocusGained:
            for (HWND top : TopLevelWindows()) ActivateTopLevel(top, WA_ACTIVE);
            break;
        case Kind::FocusLost:
            g_keyDown.fill(false);
            g_altGrDown = false;
            for (HWND top : TopLevelWindows()) ActivateTopLevel(top, WA_INACTIVE);
            break;
        case Kind::Close:
            if (!TopLevelWindows().empty()) {
                PostMessageA(TopLevelWindows().front(), WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            break;
        case Kind::Raise:
            LogLine("raise");
            CurrentBackend().presenter->Raise();
            break;
    }
}

void ActivateTopLevel(HWND window, WORD how) {
    const bool activate = how != WA_INACTIVE;
    if (activate == (g_active == window)) return;
    if (activate) {
        HWND previous = g_active;
        g_active = window;
        SendMessageA(window, WM_ACTIVATE, how, reinterpret_cast<LPARAM>(previous));
        if (g_focus == nullptr || !IsDescendant(g_focus, window)) SetFocus(window);
        else SendMessageA(window, WM_SETFOCUS, 0, 0);
    } else {
        g_active = nullptr;
        SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
    }
}

void OnWindowDestroying(HWND window) {
    if (g_capture == window) g_capture = nullptr;
    if (g_focus == window) g_focus = nullptr;
    if (g_active == window) g_active = nullptr;
    DropWindowMessages(window);
}

void ResetInput() {
    g_capture = g_focus = g_active = nullptr;
    g_cursor = POINT{};
    g_keyDown.fill(false);
    g_altGrDown = false;
}

}  // namespace platform::user

using namespace platform::user;

HWND WINAPI SetCapture(HWND window) {
    HWND previous = g_capture;
    if (IsWindow(window)) g_capture = window;
    return previous;
}

BOOL WINAPI ReleaseCapture(void) {
    g_capture = nullptr;
    return TRUE;
}

HWND WINAPI GetCapture(void) { return g_capture; }

HWND WINAPI SetFocus(HWND window) {
    HWND previous = g_focus;
    if (window != nullptr && !IsWindow(window)) return nullptr;
    if (previous == window) return previous;
    g_focus = window;
    if (previous != nullptr && IsWindow(previous)) {
        SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    if (window != nullptr && g_focus == window) {
        SendMessageA(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND WINAPI GetFocus(void) { return g_focus; }
HWND WINAPI GetActiveWindow(void) { return g_active; }
HWND WINAPI GetForegroundWindow(void) { return g_active; }

SHORT WINAPI GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    bool down = g_keyDown[virtualKey];
    if (virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT) down = g_keyDown[VK_SHIFT];
    if (virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL) down = g_keyDown[VK_CONTROL];
    return down ? static_cast<SHORT>(0x8000) : 0;
}

SHORT WINAPI GetKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (point == nullptr) return FALSE;
    *point = g_cursor;
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    g_cursor = POINT{x, y};
    platform::CurrentBackend().presenter->WarpMouse(x, y);
    return TRUE;
}

BOOL WINAPI RegisterHotKey(HWND, int, UINT, UINT) {
    // The desktop keeps its own shortcuts; the registration is accepted so that
    // the program runs on, and no WM_HOTKEY ever arrives.
    return TRUE;
}

BOOL WINAPI UnregisterHotKey(HWND, int) { return TRUE; }

BOOL WINAPI MessageBeep(UINT type) {
    char text[16];
    snprintf(text, sizeof text, "%x", type);
    platform::LogLine(std::string("beep ") + text);
    return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
    if (index == SM_CXSCREEN || index == SM_CYSCREEN) {
        HDC dc = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
        const int value = GetDeviceCaps(dc, index == SM_CXSCREEN ? HORZRES : VERTRES);
        DeleteDC(dc);
        return value;
    }
    return 0;
}
