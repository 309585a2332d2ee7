// The dialog items "Button" and "Static": owner-drawn ones ask their dialog to
// draw them through WM_DRAWITEM, the others paint a plain face with their
// text. Buttons press, capture and release as Windows buttons do.
#include <map>
#include <string>

#include "platform/user/dialog_internal.h"
#include "platform/windows.h"

namespace platform::user {
namespace {

struct ButtonState {
    bool tracking = false;  // the mouse button or Space went down on it
    bool pushed = false;    // drawn pressed: tracking and the pointer inside
};

std::map<HWND, ButtonState> g_buttons;
std::map<HWND, HFONT> g_fonts;

constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kGreyText = RGB(128, 128, 128);

LONG StyleOf(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

void FillColour(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void FrameColour(HDC dc, RECT r, COLORREF colour) {
    const RECT sides[] = {{r.left, r.top, r.right, r.top + 1},
                          {r.left, r.bottom - 1, r.right, r.bottom},
                          {r.left, r.top, r.left + 1, r.bottom},
                          {r.right - 1, r.top, r.right, r.bottom}};
    for (const RECT& side : sides) FillColour(dc, side, colour);
}

void DrawItemText(HWND window, HDC dc, RECT r, UINT format) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, text.data(), length + 1);
    HGDIOBJ previous = SelectObject(dc, ItemFont(window));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(window) ? kText : kGreyText);
    DrawTextA(dc, text.c_str(), length, &r, format | DT_NOPREFIX);
    SelectObject(dc, previous);
}

// Sends WM_DRAWITEM to the item's dialog with the item's state.
void SendDrawItem(HWND item, HDC dc, UINT type, UINT action, UINT state) {
    if (!IsWindowEnabled(item)) state |= ODS_DISABLED;
    DRAWITEMSTRUCT draw{};
    draw.CtlType = type;
    draw.CtlID = static_cast<UINT>(GetDlgCtrlID(item));
    draw.itemAction = action;
    draw.itemState = state;
    draw.hwndItem = item;
    draw.hDC = dc;
    GetClientRect(item, &draw.rcItem);
    SendMessageA(GetParent(item), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
}

void PaintButton(HWND button, HDC dc, UINT action) {
    const ButtonState& state = g_buttons[button];
    const bool focused = GetFocus() == button;
    if ((StyleOf(button) & BS_TYPEMASK) == BS_OWNERDRAW) {
        const UINT itemState = (state.pushed ? ODS_SELECTED : 0) | (focused ? ODS_FOCUS : 0);
        SendDrawItem(button, dc, ODT_BUTTON, action, itemState);
        return;
    }
    RECT r;
    GetClientRect(button, &r);
    FillColour(dc, r, kFace);
    FrameColour(dc, r, state.pushed ? kShadow : kText);
    if (focused) {
        RECT inner = r;
        InflateRect(&inner, -3, -3);
        FrameColour(dc, inner, kShadow);
    }
    if (state.pushed) OffsetRect(&r, 1, 1);
    DrawItemText(button, dc, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// Draws at once, as Windows buttons do when their state changes.
void RedrawButton(HWND button, UINT action) {
    if (!IsWindowVisible(button)) return;
    HDC dc = GetDC(button);
    PaintButton(button, dc, action);
    ReleaseDC(button, dc);
}

void SetPushed(HWND button, bool pushed) {
    ButtonState& state = g_buttons[button];
    if (state.pushed == pushed) return;
    state.pushed = pushed;
    RedrawButton(button, ODA_SELECT);
}

bool PointerInside(HWND button, LPARAM lParam) {
    RECT r;
    GetClientRect(button, &r);
    return PtInRect(&r, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
}

void Press(HWND button) {
    g_buttons[button].tracking = true;
    SetCapture(button);
    SetPushed(button, true);
}

// The mouse button or Space came up: a click when the button was still drawn
// pressed.
void Release(HWND button, bool inside) {
    ButtonState& state = g_buttons[button];
    if (!state.tracking) return;
    state.tracking = false;
    const bool clicked = state.pushed && inside;
    SetPushed(button, false);
    if (GetCapture() == button) ReleaseCapture();
    if (clicked) NotifyParent(button, BN_CLICKED);
}

LRESULT ButtonInput(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    ButtonState& state = g_buttons[button];
    switch (message) {
        case WM_LBUTTONDOWN:
            SetFocus(button);
            Press(button);
            return 0;
        case WM_MOUSEMOVE:
            if (state.tracking && GetCapture() == button) SetPushed(button, PointerInside(button, lParam));
            return 0;
        case WM_LBUTTONUP: Release(button, PointerInside(button, lParam)); return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && !state.tracking) Press(button);
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE) Release(button, true);
            return 0;
        default: return 0;
    }
}

UINT ButtonDialogCode(HWND button) {
    switch (StyleOf(button) & BS_TYPEMASK) {
        case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        default: return DLGC_BUTTON;
    }
}

}  // namespace

HFONT ItemFont(HWND item) {
    auto it = g_fonts.find(item);
    return it != g_fonts.end() ? it->second : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void SetItemFont(HWND item, HFONT font) {
    if (font != nullptr) g_fonts[item] = font;
    else g_fonts.erase(item);
}

void NotifyParent(HWND item, WORD code) {
    SendMessageA(GetParent(item), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(item), code),
                 reinterpret_cast<LPARAM>(item));
}

void ResetDialogItems() {
    g_buttons.clear();
    g_fonts.clear();
}

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(button, &paint);
            PaintButton(button, dc, ODA_DRAWENTIRE);
            EndPaint(button, &paint);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (message == WM_KILLFOCUS) Release(button, false);
            RedrawButton(button, ODA_FOCUS);
            return 0;
        case WM_ENABLE:
            if (!wParam) Release(button, false);
            InvalidateRect(button, nullptr, FALSE);
            return 0;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcA(button, message, wParam, lParam);
            InvalidateRect(button, nullptr, FALSE);
            return result;
        }
        case WM_SETFONT: SetItemFont(button, reinterpret_cast<HFONT>(wParam)); return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(ItemFont(button));
        case WM_GETDLGCODE: return ButtonDialogCode(button);
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_KEYDOWN:
        case WM_KEYUP: return ButtonInput(button, message, wParam, lParam);
        case WM_NCDESTROY:
            g_buttons.erase(button);
            g_fonts.erase(button);
            return DefWindowProcA(button, message, wParam, lParam);
        default: return DefWindowProcA(button, message, wParam, lParam);
    }
}

LRESULT CALLBACK StaticProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(label, &paint);
            const LONG type = StyleOf(label) & SS_TYPEMASK;
            if (type == SS_OWNERDRAW) {
                SendDrawItem(label, dc, ODT_STATIC, ODA_DRAWENTIRE, 0);
            } else {
                RECT r;
                GetClientRect(label, &r);
                FillColour(dc, r, kFace);
                const UINT align = type == SS_CENTER ? DT_CENTER : type == 2 ? DT_RIGHT : DT_LEFT;
                DrawItemText(label, dc, r, align | DT_WORDBREAK);
            }
            EndPaint(label, &paint);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_ENABLE: InvalidateRect(label, nullptr, FALSE); return 0;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcA(label, message, wParam, lParam);
            InvalidateRect(label, nullptr, FALSE);
            return result;
        }
        case WM_SETFONT: SetItemFont(label, reinterpret_cast<HFONT>(wParam)); return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(ItemFont(label));
        case WM_GETDLGCODE: return DLGC_STATIC;
        case WM_NCDESTROY:
            g_fonts.erase(label);
            return DefWindowProcA(label, message, wParam, lParam);
        default: return DefWindowProcA(label, message, wParam, lParam);
    }
}

}  // namespace platform::user

int WINAPI GetWindowTextA(HWND window, LPSTR text, int maxCount) {
    if (text == nullptr || maxCount <= 0) return 0;
    text[0] = '\0';
    if (!IsWindow(window)) return 0;
    return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND window) {
    return IsWindow(window) ? static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}
