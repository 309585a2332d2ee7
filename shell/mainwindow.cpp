#include "shell/mainwindow.h"

#include <cstring>

#include "shell/app.h"
#include "shell/cursors.h"
#include "shell/screen.h"

HWND g_mainWindow = nullptr;
HWND g_focusWindow = nullptr;
int g_closing = 0;

namespace {

constexpr char kScreenClass[] = "CWorkWindow";

struct Forwarded {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT answer;
};
Forwarded g_forwarded{};

struct KeyCode {
    WPARAM virtualKey;
    int plain;
    int withCtrl;
};

const KeyCode kKeyCodes[] = {
    {VK_ESCAPE, 0x8002, 0x8002}, {VK_LEFT, 0x8009, 0x8011},  {VK_RIGHT, 0x800A, 0x8012},
    {VK_UP, 0x800B, 0x800F},     {VK_DOWN, 0x800C, 0x8010},  {VK_PRIOR, 0x800F, 0x800F},
    {VK_NEXT, 0x8010, 0x8010},   {VK_HOME, 0x8011, 0x800D},  {VK_END, 0x8012, 0x800E},
    {VK_BACK, 0x8013, 0x8013},   {VK_DELETE, 0x8014, 0x8014}, {VK_TAB, 0x8020, 0x8020},
    {VK_F1, 0x8022, 0x8022},
};

BOOL CALLBACK VisitScreenWindow(HWND window, LPARAM function) {
    char name[32];
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, kScreenClass) == 0) reinterpret_cast<void (*)(HWND)>(function)(window);
    return TRUE;
}

void ForwardToScreen(HWND window) {
    g_forwarded.answer =
        SendMessageA(window, g_forwarded.message, g_forwarded.wParam, g_forwarded.lParam);
}

void RecentreScreen(HWND window) {
    RECT rect, client;
    GetWindowRect(window, &rect);
    GetClientRect(g_mainWindow, &client);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int left = client.left + ((client.right - client.left) - width) / 2;
    int top = client.top + ((client.bottom - client.top) - height) / 2;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DestroyScreenWindow(HWND window) { DestroyWindow(window); }

}  // namespace

void ForEachScreenWindow(void (*function)(HWND)) {
    if (g_mainWindow == nullptr) return;
    EnumChildWindows(g_mainWindow, VisitScreenWindow, reinterpret_cast<LPARAM>(function));
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY: PostQuitMessage(0); return 0;
        case WM_SIZE:
            if (!g_closing) ForEachScreenWindow(RecentreScreen);
            return 0;
        case WM_ACTIVATE:
        case WM_QUERYNEWPALETTE:
        case WM_PALETTECHANGED:
            if (!g_closing) {
                g_forwarded = Forwarded{message, wParam, lParam, g_forwarded.answer};
                ForEachScreenWindow(ForwardToScreen);
            }
            return 0;
        case WM_ENDSESSION:
            // The session ends: each screen keeps what it must, never asking.
            g_forwarded = Forwarded{message, wParam, lParam, g_forwarded.answer};
            ForEachScreenWindow(ForwardToScreen);
            return 0;
        case WM_SETFOCUS:
            if (!g_closing && g_focusWindow != nullptr) SetFocus(g_focusWindow);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_SETCURSOR:
            if (g_displayRecord.windowFlags & 1) {
                SetCursor(g_currentCursor);
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                // The last screen's answer decides; with no screen the previous
                // answer stands, which refuses the close until a screen answered.
                g_forwarded.message = WM_QUERYCLOSE;
                g_forwarded.wParam = wParam;
                g_forwarded.lParam = lParam;
                ForEachScreenWindow(ForwardToScreen);
                if (g_forwarded.answer == 0) return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            if (GetCapture() == nullptr) SetCapture(window);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == window) ReleaseCapture();
            return 0;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterMainClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(theApp.m_instance, g_mainClassName, &wc)) return;
    const uint16_t flags = g_displayRecord.windowFlags;
    wc.style = CS_OWNDC | ((flags & 4) ? 0 : CS_NOCLOSE);
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = theApp.m_instance;
    wc.hIcon = LoadIconA(theApp.m_instance, MAKEINTRESOURCEA(1));
    if (wc.hIcon == nullptr) wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = (flags & 1) ? nullptr : LoadProgramCursor(32000);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = g_mainClassName;
    RegisterClassA(&wc);
}

void CreateMainWindow() {
    const uint16_t flags = g_displayRecord.windowFlags;
    const RECT& screen = g_platform.screenRect;
    DWORD style;
    int show = SW_SHOW;
    if (flags & 4) {
        style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    } else {
        style = WS_POPUP | WS_CLIPCHILDREN;
        if (!(flags & 2) && !(flags & 8)) show = SW_SHOWMAXIMIZED;
    }
    RECT rect = screen;
    if (flags & (2 | 8)) {
        const int width = (flags & 2) ? g_displayRecord.width : g_displayRecord.alternativeWidth;
        const int height = (flags & 2) ? g_displayRecord.height : g_displayRecord.alternativeHeight;
        rect.left = screen.left + ((screen.right - screen.left) - width) / 2;
        rect.top = screen.top + ((screen.bottom - screen.top) - height) / 2;
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
    } else if (!(flags & 4)) {
        style |= WS_MAXIMIZE;
    }
    // A framed window would leave room for the desktop's task bar; this
    // desktop has no window of class "Shell_TrayWnd", so the whole screen stays.
    g_mainWindow = CreateWindowExA(0, g_mainClassName, g_captionText, style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                   theApp.m_instance, nullptr);
    ShowWindow(g_mainWindow, show);
}

void OpenMainWindow() {
    RegisterMainClass();
    CreateMainWindow();
    SetFocusWindow(g_mainWindow);
}

void SetFocusWindow(HWND window) {
    g_focusWindow = window;
    SetFocus(window);
}

int PumpMessage(int& result) {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        const int flags = g_app->PreTranslate(msg);
        if (flags & 1) return 0;
        int answer = 0;
        if (msg.message == WM_QUIT) {
            answer = 1;
            result = static_cast<int>(msg.wParam);
            g_app->m_exitCode = static_cast<int32_t>(msg.wParam);
        } else if (msg.hwnd == nullptr &&
                   (msg.message == WM_SCREENCLOSED || msg.message == WM_SCREENRESULT)) {
            answer = 2;
            result = static_cast<int>(msg.lParam);
        }
        if (!(flags & 2)) TranslateMessage(&msg);
        if (!(flags & 4)) DispatchMessageA(&msg);
        return answer;
    }
    g_app->OnIdle();
    if (g_focusWindow != nullptr) {
        auto* screen = reinterpret_cast<Screen*>(GetWindowLongPtrA(g_focusWindow, GWL_USERDATA));
        if (screen != nullptr && !screen->m_firstPaintPending) screen->OnIdle();
    }
    return 0;
}

void CloseAllScreens() {
    g_closing = 1;
    ForEachScreenWindow(DestroyScreenWindow);
    PostQuitMessage(0);
}

int GetModifierState() {
    int bits = 0;
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000) bits |= 1;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) bits |= 2;
    return bits;
}

int TranslateKey(WPARAM virtualKey, int modifiers) {
    if (virtualKey < 8 || virtualKey > 123) return 0;
    if (virtualKey >= VK_F2 && virtualKey <= VK_F12) {
        return 0x8015 + static_cast<int>(virtualKey - VK_F2);
    }
    for (const KeyCode& key : kKeyCodes) {
        if (key.virtualKey == virtualKey) return (modifiers & 2) ? key.withCtrl : key.plain;
    }
    return 0;
}
