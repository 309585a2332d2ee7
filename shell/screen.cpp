#include "shell/screen.h"

#include <algorithm>

#include "controls/control.h"
#include "graphics/palette.h"
#include "graphics/surface.h"
#include "shell/app.h"
#include "shell/cursors.h"
#include "shell/mainwindow.h"
#include "shell/memory.h"

int g_screenShown = 0;
HPALETTE g_programPalette = nullptr;

namespace {

constexpr char kScreenClass[] = "CWorkWindow";

void RegisterScreenClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(theApp.m_instance, kScreenClass, &wc)) return;
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = ScreenWindowProc;
    wc.hInstance = theApp.m_instance;
    wc.hIcon = LoadIconA(theApp.m_instance, MAKEINTRESOURCEA(32512));
    wc.lpszClassName = kScreenClass;
    RegisterClassA(&wc);
}

// The flush gate drops events generated before the last FlushInput; the first
// event of a kind at or after it ends the flush for that kind.
bool PassFlush(Screen& screen, int kind) {
    if (!(screen.m_flushMask & kind)) return true;
    if (static_cast<int32_t>(static_cast<DWORD>(GetMessageTime()) - screen.m_flushTime) < 0) {
        return false;
    }
    screen.m_flushMask &= ~kind;
    return true;
}

// The one-shot filter lets exactly one event of its kinds through, dropping
// every other event until then.
bool PassFilter(Screen& screen, int kind) {
    if (screen.m_filterMask == 0) return true;
    if (!(screen.m_filterMask & kind)) return false;
    screen.m_filterMask = 0;
    return true;
}

bool ControlsTakePart(const Screen& screen) {
    return screen.m_controlCount > 0 && screen.m_controlEnable >= 1;
}

void DeliverClick(Screen& screen, int index) {
    Control* control = screen.m_controls[index];
    screen.m_lastClicked = control;
    if (control->m_flags & kControlRadio) {
        ClearGroup(screen.m_controls, index, screen.m_controlCount);
    }
    screen.OnCommand(control->m_id);
}

// Offers a press or release to the controls until one accepts it.
bool OfferButton(Screen& screen, bool down, int x, int y) {
    if (!ControlsTakePart(screen)) return false;
    for (int i = 0; i < screen.m_controlCount; ++i) {
        int clicked = 0;
        Control* control = screen.m_controls[i];
        const bool accepted = down ? control->MouseDown(x, y, clicked) : control->MouseUp(x, y, clicked);
        if (accepted) {
            if (clicked) DeliverClick(screen, i);
            return true;
        }
    }
    return false;
}

void OnPaint(Screen& screen, HWND window) {
    // The paint record's surface is the current surface while the screen and
    // its controls draw; the first registered control is drawn last, on top.
    BeginPaintSurface(window);
    const RECT area = PaintRecord().rcPaint;
    screen.PaintBackground(area);
    for (int i = screen.m_controlCount - 1; i >= 0; --i) {
        screen.m_controls[i]->PaintIfIntersects(area);
    }
    screen.PaintForeground(area);
    EndPaintSurface();
    if (screen.m_firstPaintPending) {
        screen.m_firstPaintPending = 0;
        screen.OnStart();
        g_screenShown = 1;
        screen.OnActivate();
    }
}

LRESULT RealiseScreenPalette(Screen& screen, HWND window) {
    HDC dc = GetDC(window);
    SelectPalette(dc, screen.m_palette, FALSE);
    const UINT changed = RealizePalette(dc);
    ReleaseDC(window, dc);
    if (changed != 0 && changed != GDI_ERROR) InvalidateRect(window, nullptr, FALSE);
    return changed == GDI_ERROR ? 0 : changed;
}

void TearDown(Screen& screen, HWND window) {
    if (screen.m_window == nullptr) return;
    if (g_focusWindow == window) SetFocusWindow(nullptr);
    g_screenShown = 0;
    screen.OnDestroy();
    while (screen.m_controlCount > 0) {
        const int before = screen.m_controlCount;
        delete screen.m_controls[before - 1];
        if (screen.m_controlCount == before) screen.m_controlCount = before - 1;
    }
    screen.m_window = nullptr;
    // A window that outlives its screen must never reach the deleted object.
    SetWindowLongPtrA(window, GWL_USERDATA, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_SCREENCLOSED, 0, reinterpret_cast<LPARAM>(&screen));
}

LRESULT HandleInput(Screen& screen, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_LBUTTONDOWN:
            if (GetCapture() == nullptr) SetCapture(window);
            else if (GetCapture() != window) return 0;
            if (screen.m_clickActivation || !PassFlush(screen, EV_LDOWN)) return 0;
            screen.m_leftDownX = x;
            screen.m_leftDownY = y;
            screen.m_leftButton = 1;
            if (!PassFilter(screen, EV_LDOWN) || OfferButton(screen, true, x, y)) return 0;
            screen.OnLButtonDown(x, y);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == window) ReleaseCapture();
            if (screen.m_clickActivation) {
                screen.m_clickActivation = 0;
                return 0;
            }
            if (!screen.m_leftButton || !PassFlush(screen, EV_LUP)) return 0;
            screen.m_leftButton = 0;
            if (!PassFilter(screen, EV_LUP) || OfferButton(screen, false, x, y)) return 0;
            screen.OnLButtonUp(x, y);
            return 0;
        case WM_RBUTTONDOWN:
            if (!PassFlush(screen, EV_RDOWN)) return 0;
            screen.m_rightDownX = x;
            screen.m_rightDownY = y;
            screen.m_rightButton = 1;
            if (PassFilter(screen, EV_RDOWN)) screen.OnRButtonDown(x, y);
            return 0;
        case WM_RBUTTONUP:
            if (!screen.m_rightButton) return 0;
            screen.m_rightButton = 0;
            if (PassFlush(screen, EV_RUP) && PassFilter(screen, EV_RUP)) screen.OnRButtonUp(x, y);
            return 0;
        case WM_MOUSEMOVE: {
            screen.m_pointerX = x;
            screen.m_pointerY = y;
            if (!screen.m_active || !PassFlush(screen, EV_MOVE) || !PassFilter(screen, EV_MOVE)) return 0;
            bool taken = false;
            if (ControlsTakePart(screen)) {
                for (int i = 0; i < screen.m_controlCount; ++i) {
                    taken = screen.m_controls[i]->MouseMove(x, y) || taken;
                }
            }
            if (taken) return 0;
            screen.OnMouseMove(x, y);
            if (screen.m_leftButton) screen.OnMouseDrag(x, y);
            return 0;
        }
        case WM_KEYDOWN:
            if (const int code = TranslateKey(wParam, GetModifierState())) {
                SendMessageA(window, WM_CHAR, static_cast<WPARAM>(code), lParam);
            }
            return 0;
        case WM_UNICHAR:
            if (wParam == UNICODE_NOCHAR) return TRUE;
            SendMessageA(window, WM_CHAR, kForeignCharacter, lParam);
            return 0;
        case WM_CHAR: {
            if (!PassFlush(screen, EV_CHAR)) return 0;
            screen.m_character = static_cast<int16_t>(wParam & 0xFFFF);
            screen.m_scanCode = static_cast<int>((lParam >> 16) & 0xFF);
            screen.m_repeat = static_cast<int>((lParam >> 30) & 1);
            if (!PassFilter(screen, EV_CHAR)) return 0;
            if (ControlsTakePart(screen)) {
                for (int i = 0; i < screen.m_controlCount; ++i) {
                    Control* control = screen.m_controls[i];
                    if (control->KeyChar(screen.m_character, screen.m_repeat)) return 0;
                }
            }
            screen.OnChar(screen.m_character, screen.m_repeat);
            return 0;
        }
        case WM_KEYUP: {
            if (!PassFlush(screen, EV_KEYUP) || !PassFilter(screen, EV_KEYUP)) return 0;
            // A hotkey's release reaches OnCommand even when it completed no
            // click, as for a radio button that was already selected.
            if (ControlsTakePart(screen)) {
                for (int i = 0; i < screen.m_controlCount; ++i) {
                    if (screen.m_controls[i]->KeyUp()) {
                        DeliverClick(screen, i);
                        return 0;
                    }
                }
            }
            screen.OnKeyUp(static_cast<int>(wParam));
            return 0;
        }
        case WM_TIMER:
            if (PassFlush(screen, EV_TIMER) && PassFilter(screen, EV_TIMER)) {
                screen.OnTimer(static_cast<int>(wParam));
            }
            return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

Screen::Screen(const RECT* rect, HPALETTE palette) {
    RECT area;
    if (rect != nullptr) {
        area = *rect;
    } else {
        RECT client{};
        GetClientRect(g_mainWindow, &client);
        const int width = g_displayRecord.width;
        const int height = g_displayRecord.height;
        const int left = ((client.right - client.left) - width) / 2;
        const int top = ((client.bottom - client.top) - height) / 2;
        area = RECT{left, top, left + width, top + height};
    }
    if (palette == nullptr) {
        palette = g_platform.bitsPerPixel < 8 ? static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE))
                                              : MakeSystemPalette();
    }
    m_palette = palette;
    g_programPalette = palette;
    RegisterScreenClass();
    m_controls = static_cast<Control**>(AllocBlockOrFail(kMaxControls * sizeof(Control*), 0));
    m_window = CreateWindowExA(0, kScreenClass, "", WS_CHILD | WS_CLIPCHILDREN, area.left, area.top,
                               area.right - area.left, area.bottom - area.top, g_mainWindow,
                               nullptr, theApp.m_instance, nullptr);
    if (m_window != nullptr) {
        HDC dc = GetDC(m_window);
        SetMapMode(dc, MM_TEXT);
        SelectPalette(dc, m_palette, FALSE);
        RealizePalette(dc);
        ReleaseDC(m_window, dc);
        ShowWindow(m_window, SW_SHOW);
        SetWindowLongPtrA(m_window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    SetFocusWindow(m_window);
}

Screen::~Screen() {
    if (m_window != nullptr && g_focusWindow == m_window) SetFocusWindow(nullptr);
    if (m_window != nullptr) DestroyWindow(m_window);
    FreeBlock(m_controls);
}

void Screen::EndScreen() { DestroyWindow(m_window); }

void Screen::SetEventFilter(int mask) { m_filterMask = mask == 255 ? 0 : mask; }

void Screen::FlushInput(int mask) {
    m_flushMask = mask;
    m_flushTime = GetTickCount();
}

void Screen::AddControl(Control* control) { m_controls[m_controlCount++] = control; }

void Screen::RemoveControl(Control* control) {
    Control** end = m_controls + m_controlCount;
    Control** found = std::find(m_controls, end, control);
    if (found == end) return;
    std::copy(found + 1, end, found);
    --m_controlCount;
}

void PostScreenResult(int result) {
    PostThreadMessageA(GetCurrentThreadId(), WM_SCREENRESULT, 0, result);
}

LRESULT CALLBACK ScreenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* screen = reinterpret_cast<Screen*>(GetWindowLongPtrA(window, GWL_USERDATA));
    if (screen == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    screen->m_lastLParam = lParam;
    screen->m_lastWParam = wParam;
    LRESULT result = 0;
    const int filtered = screen->FilterMessage(message, wParam, lParam, result);
    if (filtered == 1) return result;
    if (filtered == 2) return DefWindowProcA(window, message, wParam, lParam);
    if (screen->m_firstPaintPending) {
        if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
        screen->m_active = 1;
        screen->m_created = 1;
        screen->OnCreate();
    }
    switch (message) {
        case WM_PAINT: OnPaint(*screen, window); return 0;
        case WM_ACTIVATE:
            if (wParam == WA_CLICKACTIVE) screen->m_clickActivation = 1;
            screen->m_active = LOWORD(wParam) != 0;
            if (screen->m_active) {
                HDC dc = GetDC(window);
                SelectPalette(dc, screen->m_palette, FALSE);
                ReleaseDC(window, dc);
                screen->OnActivate();
            } else {
                screen->OnDeactivate();
            }
            return 0;
        case WM_SETCURSOR: SetCursor(g_currentCursor); return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: return 0;
        case WM_PALETTECHANGED:
            if (reinterpret_cast<HWND>(wParam) == window) return 0;
            [[fallthrough]];
        case WM_QUERYNEWPALETTE:
            if (screen->m_palette == nullptr) return DefWindowProcA(window, message, wParam, lParam);
            return RealiseScreenPalette(*screen, window);
        case WM_COMMAND: screen->OnWinCommand(HIWORD(wParam), lParam, wParam); return 0;
        case WM_QUERYCLOSE: return screen->CanClose();
        case WM_ENDSESSION:
            if (wParam) screen->OnEndSession();
            return 0;
        case WM_DESTROY:
        case WM_CLOSE: TearDown(*screen, window); return 0;
        default: return HandleInput(*screen, window, message, wParam, lParam);
    }
}
