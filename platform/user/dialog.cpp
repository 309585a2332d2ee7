// Modal dialogs: DialogBoxParamA from a template resource, the dialog window's
// procedure, the modal loop and the dialog's keyboard.
#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/user/desktop.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/internal.h"
#include "platform/windows.h"

namespace platform::user {
namespace {

struct Dialog {
    HWND window = nullptr;
    DLGPROC proc = nullptr;
    SIZE base{};  // the template font's base units
    HFONT font = nullptr;
    HWND savedFocus = nullptr;
    bool ended = false;
    bool destroyed = false;
    INT_PTR result = 0;
};

std::vector<std::unique_ptr<Dialog>> g_dialogs;

Dialog* FindDialog(HWND window) {
    for (auto& d : g_dialogs) {
        if (d->window == window && !d->destroyed) return d.get();
    }
    return nullptr;
}

int MulDivRound(int value, int numerator, int denominator) {
    const int64_t product = static_cast<int64_t>(value) * numerator;
    const int64_t half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

RECT MapUnits(const RECT& units, SIZE base) {
    return RECT{MulDivRound(units.left, base.cx, 4), MulDivRound(units.top, base.cy, 8),
                MulDivRound(units.right, base.cx, 4), MulDivRound(units.bottom, base.cy, 8)};
}

// Windows' rule: the average width of the 52 letters, rounded, and the cell
// height of the template's font (the system font without DS_SETFONT).
SIZE BaseUnits(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics{};
    SIZE letters{};
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const bool measured = GetTextMetricsA(dc, &metrics) && GetTextExtentPoint32A(dc, kLetters, 52, &letters);
    SelectObject(dc, previous);
    DeleteDC(dc);
    if (!measured || letters.cx <= 0 || metrics.tmHeight <= 0) return SIZE{8, 16};
    return SIZE{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

HFONT TemplateFont(const DialogTemplate& dialog) {
    if (!(dialog.style & DS_SETFONT)) return nullptr;
    const int height = -MulDivRound(dialog.pointSize, 96, 72);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                       dialog.face.c_str());
}

[[nodiscard]] bool LoadTemplate(HINSTANCE instance, LPCSTR name, DialogTemplate& out) {
    HRSRC resource = FindResourceA(instance, name, RT_DIALOG);
    if (resource == nullptr) return false;
    HGLOBAL loaded = LoadResource(instance, resource);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    return bytes != nullptr && ParseDialogTemplate(bytes, SizeofResource(instance, resource), out);
}

HWND TopLevelOf(HWND window) {
    for (Window* w = Find(window); w != nullptr; w = Find(w->parent)) {
        if (w->parent == nullptr) return w->handle;
    }
    return nullptr;
}

// Visible by its own style: the dialog may not be shown yet.
bool IsShownItem(HWND item) { return (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0; }

bool IsTabStop(HWND item) {
    return IsShownItem(item) && IsWindowEnabled(item) &&
           (GetWindowLongA(item, GWL_STYLE) & WS_TABSTOP) != 0;
}

bool IsPushButton(HWND item) {
    char name[8];
    if (GetClassNameA(item, name, sizeof name) == 0 || strcasecmp(name, "Button") != 0) return false;
    const LONG type = GetWindowLongA(item, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

// Gives an item the focus as the dialog does: an edit box's text is selected.
void FocusItem(HWND item) {
    if (SendMessageA(item, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        SendMessageA(item, EM_SETSEL, 0, -1);
    }
    SetFocus(item);
}

HWND FirstFocusItem(HWND dialog) {
    if (HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE)) return first;
    const Window* window = Find(dialog);
    if (window == nullptr) return nullptr;
    for (HWND child : window->children) {
        if (IsShownItem(child) && IsWindowEnabled(child)) return child;
    }
    return nullptr;
}

void RestoreFocus(Dialog& dialog) {
    if (dialog.ended) return;
    HWND focus = GetFocus();
    if (focus != nullptr && focus != dialog.window && IsDescendant(focus, dialog.window)) return;
    HWND target = dialog.savedFocus;
    if (!IsWindow(target) || !IsDescendant(target, dialog.window) || !IsWindowEnabled(target)) {
        target = FirstFocusItem(dialog.window);
    }
    if (target != nullptr) SetFocus(target);
}

// Enter clicks the focused control only when it is a push button (an
// owner-drawn button answers DLGC_BUTTON alone); otherwise it sends the
// dialog's default command, IDOK unless DM_GETDEFID names another, which a
// dialog without such an item may ignore. A disabled default item takes
// nothing.
void PressEnter(HWND dialog) {
    HWND focus = GetFocus();
    if (focus != nullptr && focus != dialog && IsDescendant(focus, dialog) &&
        IsWindowEnabled(focus) &&
        (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                     reinterpret_cast<LPARAM>(focus));
        return;
    }
    const LRESULT defId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    const int id = HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : IDOK;
    HWND item = GetDlgItem(dialog, id);
    if (item != nullptr && !IsWindowEnabled(item)) return;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item));
}

// The keys a dialog takes for itself; true when the key was one of them.
bool HandleDialogKey(HWND dialog, const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam,
                                      reinterpret_cast<LPARAM>(&msg));
    if (code & DLGC_WANTALLKEYS) return false;
    switch (msg.wParam) {
        case VK_TAB: {
            if (code & DLGC_WANTTAB) return false;
            HWND focus = GetFocus();
            if (focus == dialog || !IsDescendant(focus, dialog)) focus = nullptr;
            const BOOL previous = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            if (HWND next = GetNextDlgTabItem(dialog, focus, previous)) FocusItem(next);
            return true;
        }
        case VK_RETURN: PressEnter(dialog); return true;
        case VK_ESCAPE:
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            return true;
        default: return false;
    }
}

LRESULT DialogDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog = FindDialog(window);
    switch (message) {
        case WM_ACTIVATE:
            if (dialog == nullptr) return 0;
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != window && IsDescendant(focus, window)) dialog->savedFocus = focus;
            } else {
                RestoreFocus(*dialog);
            }
            return 0;
        case WM_SETFOCUS:
            if (dialog != nullptr) RestoreFocus(*dialog);
            return 0;
        case WM_CLOSE: {
            HWND cancel = GetDlgItem(window, IDCANCEL);
            if (cancel == nullptr || IsWindowEnabled(cancel)) {
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                             reinterpret_cast<LPARAM>(cancel));
            }
            return 0;
        }
        case DM_GETDEFID: {
            if (dialog == nullptr || dialog->ended) return 0;
            const Window* w = Find(window);
            for (HWND child : w != nullptr ? w->children : std::vector<HWND>{}) {
                if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
                    IsPushButton(child)) {
                    return MAKELONG(GetDlgCtrlID(child), DC_HASDEFID);
                }
            }
            return MAKELONG(IDOK, DC_HASDEFID);
        }
        case WM_GETDLGCODE: return 0;
        case WM_NCDESTROY:
            if (dialog != nullptr) {
                if (dialog->font != nullptr) DeleteObject(dialog->font);
                dialog->font = nullptr;
                dialog->proc = nullptr;
                dialog->destroyed = true;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Creates the items of the template; false when one cannot be made.
[[nodiscard]] bool CreateItems(HWND dialog, const DialogTemplate& tpl, HINSTANCE instance,
                               const Dialog& state) {
    for (const DialogTemplateItem& item : tpl.items) {
        const RECT r = MapUnits(item.units, state.base);
        const DWORD style = (item.style & ~WS_POPUP) | WS_CHILD;
        HWND handle = CreateWindowExA(item.exStyle, item.className.c_str(), item.text.c_str(), style,
                                      r.left, r.top, r.right - r.left, r.bottom - r.top, dialog,
                                      reinterpret_cast<HMENU>(static_cast<uintptr_t>(item.id)),
                                      instance, nullptr);
        if (handle == nullptr) return false;
        if (state.font != nullptr) SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), 0);
    }
    return true;
}

// Makes the hidden dialog window and its items; null when either fails.
HWND CreateDialogWindow(const DialogTemplate& tpl, HINSTANCE instance, HWND owner, DLGPROC proc) {
    auto state = std::make_unique<Dialog>();
    state->font = TemplateFont(tpl);
    state->base = BaseUnits(state->font);
    RECT r = MapUnits(tpl.units, state->base);
    POINT origin{0, 0};
    if (owner != nullptr) ClientToScreen(owner, &origin);
    OffsetRect(&r, origin.x, origin.y);
    // As on Windows, the dialog paints under its items unless the template
    // asks it to clip them; the items are painted after it.
    const DWORD style = tpl.style & ~(WS_VISIBLE | WS_CHILD);
    HWND window = CreateWindowExA(tpl.exStyle, kDialogClass, tpl.caption.c_str(), style, r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                  instance, nullptr);
    if (window == nullptr) {
        if (state->font != nullptr) DeleteObject(state->font);
        return nullptr;
    }
    state->window = window;
    g_dialogs.push_back(std::move(state));
    if (!CreateItems(window, tpl, instance, *g_dialogs.back())) {
        DestroyWindow(window);
        g_dialogs.pop_back();
        return nullptr;
    }
    g_dialogs.back()->proc = proc;
    return window;
}

void InitDialog(HWND window, LPARAM param) {
    HWND focus = FirstFocusItem(window);
    if (SendMessageA(window, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param) == 0) return;
    if (Dialog* dialog = FindDialog(window); dialog != nullptr && !dialog->ended) {
        focus = FirstFocusItem(window);
        if (focus != nullptr) FocusItem(focus);
        else SetFocus(window);
    }
}

// Runs until EndDialog, dispatching the messages of every window; an idle
// queue sleeps inside PeekMessageA as the layer's pump does.
void RunModalLoop(HWND window) {
    MSG msg;
    for (;;) {
        Dialog* dialog = FindDialog(window);
        if (dialog == nullptr || dialog->ended) return;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        // Closing the disabled owner (the desktop's close button, the end of
        // a script) closes the dialog, as Escape does.
        if (msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_CLOSE &&
            msg.hwnd != window && !IsWindowEnabled(msg.hwnd)) {
            SendMessageA(window, WM_CLOSE, 0, 0);
            continue;
        }
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace

void EnsureDialogClasses() {
    struct Class {
        const char* name;
        WNDPROC proc;
        HBRUSH background;
        LPCSTR cursor;
    };
    const Class classes[] = {
        {kDialogClass, DefDlgProcA, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)), IDC_ARROW},
        {"Button", ButtonProc, nullptr, IDC_ARROW},
        {"Static", StaticProc, nullptr, IDC_ARROW},
        {"Edit", EditProc, nullptr, IDC_IBEAM},
    };
    for (const Class& c : classes) {
        WNDCLASSA info{};
        if (GetClassInfoA(nullptr, c.name, &info)) continue;
        info.lpfnWndProc = c.proc;
        info.hbrBackground = c.background;
        info.hCursor = LoadCursorA(nullptr, c.cursor);
        info.lpszClassName = c.name;
        RegisterClassA(&info);
    }
}

void ResetDialogs() {
    g_dialogs.clear();
    ResetDialogItems();
    ResetEdits();
}

}  // namespace platform::user

using namespace platform::user;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC dialogProc, LPARAM initParam) {
    DialogTemplate tpl;
    if (!LoadTemplate(instance, templateName, tpl)) return -1;
    EnsureDialogClasses();
    HWND ownerTop = TopLevelOf(owner);
    HWND previousFocus = GetFocus();
    const bool ownerWasActive = ownerTop != nullptr && GetActiveWindow() == ownerTop;
    HWND window = CreateDialogWindow(tpl, instance, ownerTop, dialogProc);
    if (window == nullptr) return -1;
    const bool disabledOwner = ownerTop != nullptr && IsWindowEnabled(ownerTop);
    if (disabledOwner) EnableWindow(ownerTop, FALSE);
    InitDialog(window, initParam);
    Dialog* dialog = FindDialog(window);
    if (dialog != nullptr && !dialog->ended) {
        if (ownerWasActive) ActivateTopLevel(ownerTop, WA_INACTIVE);
        ShowWindow(window, SW_SHOWNORMAL);
        RunModalLoop(window);
    }
    auto it = std::find_if(g_dialogs.begin(), g_dialogs.end(),
                           [window](const auto& d) { return d->window == window; });
    const INT_PTR result = it != g_dialogs.end() ? (*it)->result : 0;
    if (disabledOwner) EnableWindow(ownerTop, TRUE);
    if (IsWindow(window)) DestroyWindow(window);
    it = std::find_if(g_dialogs.begin(), g_dialogs.end(),
                      [window](const auto& d) { return d->window == window; });
    if (it != g_dialogs.end()) g_dialogs.erase(it);
    if (ownerWasActive && IsWindow(ownerTop)) ActivateTopLevel(ownerTop, WA_ACTIVE);
    if (previousFocus != nullptr && IsWindow(previousFocus)) SetFocus(previousFocus);
    return result;
}

BOOL WINAPI EndDialog(HWND window, INT_PTR result) {
    Dialog* dialog = FindDialog(window);
    if (dialog == nullptr) return FALSE;
    dialog->result = result;
    dialog->ended = true;
    if (IsDescendant(GetFocus(), window)) SetFocus(window);
    ShowWindow(window, SW_HIDE);
    return TRUE;
}

LRESULT WINAPI DefDlgProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Dialog* dialog = FindDialog(window); dialog != nullptr && dialog->proc != nullptr) {
        const INT_PTR handled = dialog->proc(window, message, wParam, lParam);
        // A procedure may destroy its own dialog; the messages of the
        // destruction itself still need the defaults, which free the font.
        if (handled != 0 || FindDialog(window) == nullptr) return handled;
    }
    return DialogDefault(window, message, wParam, lParam);
}

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
    if (msg == nullptr || FindDialog(dialog) == nullptr || !IsDescendant(msg->hwnd, dialog)) return FALSE;
    if (HandleDialogKey(dialog, *msg)) return TRUE;
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}

BOOL WINAPI MapDialogRect(HWND window, LPRECT rect) {
    Dialog* dialog = FindDialog(window);
    if (dialog == nullptr || rect == nullptr) return FALSE;
    *rect = MapUnits(*rect, dialog->base);
    return TRUE;
}

HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    const Window* window = Find(dialog);
    if (window == nullptr) return nullptr;
    const std::vector<HWND>& items = window->children;
    const int count = static_cast<int>(items.size());
    if (count == 0) return nullptr;
    const auto at = std::find(items.begin(), items.end(), control);
    int start = at != items.end() ? static_cast<int>(at - items.begin()) : (previous ? count : -1);
    const int step = previous ? -1 : 1;
    for (int n = 1; n <= count; ++n) {
        const int index = ((start + step * n) % count + count) % count;
        if (IsTabStop(items[index])) return items[index];
    }
    return control;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    const Window* window = Find(dialog);
    if (window == nullptr) return nullptr;
    for (HWND child : window->children) {
        if (GetDlgCtrlID(child) == id) return child;
    }
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND window) {
    const Window* w = Find(window);
    return w != nullptr && w->parent != nullptr ? static_cast<int>(w->id) : 0;
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SetWindowTextA(item, text) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount) {
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) {
        if (text != nullptr && maxCount > 0) text[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(item, text, maxCount));
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SendMessageA(item, message, wParam, lParam) : 0;
}
