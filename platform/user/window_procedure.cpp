// Window data (text, styles, user data), enabling, and the default window
// procedure.
#include <algorithm>
#include <cstring>

#include "platform/backend/backend.h"
#include "platform/user/desktop.h"
#include "platform/user/internal.h"
#include "platform/windows.h"

using namespace platform::user;

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
    if (Find(handle) == nullptr) return FALSE;
    return SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND handle, int index) {
    Window* window = Find(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
        case GWL_USERDATA: return window->userData;
        case GWL_STYLE:
            return static_cast<LONG>(window->style | (window->visible ? WS_VISIBLE : 0) |
                                     (window->enabled ? 0 : WS_DISABLED));
        case GWL_EXSTYLE: return window->exStyle;
        case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(window->proc);
        case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
        case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(window->parent);
        case GWL_ID: return window->id;
        default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    Window* window = Find(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const LONG_PTR previous = GetWindowLongPtrA(handle, index);
    switch (index) {
        case GWL_USERDATA: window->userData = value; break;
        case GWL_STYLE: window->style = static_cast<DWORD>(value) & ~(WS_VISIBLE | WS_DISABLED); break;
        case GWL_EXSTYLE: window->exStyle = static_cast<DWORD>(value); break;
        case GWL_WNDPROC: window->proc = reinterpret_cast<WNDPROC>(value); break;
        case GWL_ID: window->id = value; break;
        default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
    return previous;
}

LONG WINAPI GetWindowLongA(HWND handle, int index) {
    return static_cast<LONG>(GetWindowLongPtrA(handle, index));
}

LONG WINAPI SetWindowLongA(HWND handle, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtrA(handle, index, value));
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    const BOOL wasDisabled = !window->enabled;
    if (window->enabled == (enable != FALSE)) return wasDisabled;
    window->enabled = enable != FALSE;
    if (!window->enabled) {
        // A disabled window can hold neither the focus nor the mouse.
        if (GetFocus() != nullptr && IsDescendant(GetFocus(), handle)) SetFocus(nullptr);
        if (GetCapture() != nullptr && IsDescendant(GetCapture(), handle)) ReleaseCapture();
    }
    SendMessageA(handle, WM_ENABLE, window->enabled ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
    Window* window = Find(handle);
    return window != nullptr && window->enabled;
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    return proc != nullptr ? proc(window, message, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Find(handle);
    if (window == nullptr) return 0;
    switch (message) {
        case WM_NCCREATE: return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(handle, &paint);
            EndPaint(handle, &paint);
            return 0;
        }
        case WM_ERASEBKGND: {
            if (window->background == nullptr) return 0;
            RECT client;
            GetClientRect(handle, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, window->background);
            return 1;
        }
        case WM_SETTEXT:
            window->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            if (IsProgramTopLevel(*window)) {
                platform::CurrentBackend().presenter->SetTitle(window->text);
            }
            return TRUE;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<char*>(lParam);
            if (buffer == nullptr || wParam == 0) return 0;
            const size_t length = std::min<size_t>(window->text.size(), wParam - 1);
            memcpy(buffer, window->text.data(), length);
            buffer[length] = '\0';
            return static_cast<LRESULT>(length);
        }
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
        case WM_CLOSE: DestroyWindow(handle); return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(handle, WM_CLOSE, 0, 0);
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && (lParam & (1 << 29))) {
                HWND top = handle;
                while (Find(top) != nullptr && Find(top)->parent != nullptr) top = Find(top)->parent;
                PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_SETCURSOR:
            if (window->parent != nullptr &&
                SendMessageA(window->parent, WM_SETCURSOR, wParam, lParam) != FALSE) {
                return TRUE;
            }
            if (window->cursor != nullptr) {
                SetCursor(window->cursor);
                return TRUE;
            }
            return FALSE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !(window->style & WS_MINIMIZE)) SetFocus(handle);
            return 0;
        default: return 0;
    }
}
