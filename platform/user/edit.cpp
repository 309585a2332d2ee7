// The single-line edit box: Windows-1252 text, a caret and a selection moved
// by the keys and the mouse, and horizontal scrolling that keeps the caret in
// view (ES_AUTOHSCROLL). It draws itself at once whenever it changes.
#include <algorithm>
#include <map>
#include <string>

#include "platform/user/dialog_internal.h"
#include "platform/windows.h"

namespace platform::user {
namespace {

constexpr int kDefaultLimit = 30000;
constexpr int kLargestLimit = 0x7FFFFFFE;
constexpr int kMargin = 1;  // between the border and the text

struct EditState {
    std::string text;
    int anchor = 0;  // the fixed end of the selection
    int caret = 0;   // the moving end, where the caret is
    int scroll = 0;  // pixels of text hidden on the left
    int limit = kDefaultLimit;
    bool dragging = false;
};

std::map<HWND, EditState> g_edits;

// A context holding the edit box's font, for measuring its text.
class Measure {
public:
    explicit Measure(HWND edit) : m_dc(CreateCompatibleDC(nullptr)) {
        m_previous = SelectObject(m_dc, ItemFont(edit));
    }
    ~Measure() {
        SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
    }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;

    int Width(const std::string& text, int count) {
        if (count <= 0) return 0;
        SIZE size{};
        GetTextExtentPoint32A(m_dc, text.c_str(), count, &size);
        return size.cx;
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

int Border(HWND edit) { return (GetWindowLongA(edit, GWL_STYLE) & WS_BORDER) ? 1 : 0; }

// Where the text may show, in client coordinates.
RECT TextArea(HWND edit) {
    RECT r;
    GetClientRect(edit, &r);
    const int inset = Border(edit) + kMargin;
    r.left += inset;
    r.right = std::max(r.left, r.right - inset);
    r.top += Border(edit);
    r.bottom = std::max(r.top, r.bottom - Border(edit));
    return r;
}

int SelectionStart(const EditState& s) { return std::min(s.anchor, s.caret); }
int SelectionEnd(const EditState& s) { return std::max(s.anchor, s.caret); }

// Scrolls so that the caret shows, and no further than the text needs.
void KeepCaretVisible(HWND edit, EditState& s) {
    const RECT area = TextArea(edit);
    const int width = std::max(1, static_cast<int>(area.right - area.left));
    Measure measure(edit);
    const int caretX = measure.Width(s.text, s.caret);
    const int textWidth = measure.Width(s.text, static_cast<int>(s.text.size()));
    if (caretX - s.scroll > width - 1) s.scroll = caretX - width + 1;
    if (caretX < s.scroll) s.scroll = caretX;
    if (textWidth - s.scroll < width - 1) s.scroll = std::max(0, textWidth - width + 1);
    s.scroll = std::clamp(s.scroll, 0, std::max(0, caretX));
}

void Paint(HWND edit, HDC dc) {
    const EditState& s = g_edits[edit];
    RECT client;
    GetClientRect(edit, &client);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    FillRect(dc, &client, white);
    if (Border(edit)) {
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, client.left, client.top, client.right, client.bottom);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
    const RECT area = TextArea(edit);
    SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    HGDIOBJ oldFont = SelectObject(dc, ItemFont(edit));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int top = area.top + std::max(0, static_cast<int>(area.bottom - area.top - metrics.tmHeight) / 2);
    const int left = area.left - s.scroll;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(edit) ? RGB(0, 0, 0) : RGB(128, 128, 128));
    TextOutA(dc, left, top, s.text.c_str(), static_cast<int>(s.text.size()));
    const bool focused = GetFocus() == edit;
    Measure measure(edit);
    if (focused && s.anchor != s.caret) {
        const int from = SelectionStart(s);
        const int x0 = left + measure.Width(s.text, from);
        const int x1 = left + measure.Width(s.text, SelectionEnd(s));
        const RECT band{x0, top, x1, top + metrics.tmHeight};
        HBRUSH highlight = CreateSolidBrush(RGB(0, 0, 128));
        FillRect(dc, &band, highlight);
        DeleteObject(highlight);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutA(dc, x0, top, s.text.c_str() + from, SelectionEnd(s) - from);
    }
    if (focused) {
        const int x = left + measure.Width(s.text, s.caret);
        const RECT caret{x, top, x + 1, top + metrics.tmHeight};
        FillRect(dc, &caret, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    SelectObject(dc, oldFont);
    RestoreDC(dc, -1);
}

void Redraw(HWND edit) {
    if (!IsWindowVisible(edit)) return;
    HDC dc = GetDC(edit);
    Paint(edit, dc);
    ReleaseDC(edit, dc);
}

// Moves the caret; the selection follows unless it is being extended.
void MoveCaret(HWND edit, EditState& s, int to, bool extend) {
    s.caret = std::clamp(to, 0, static_cast<int>(s.text.size()));
    if (!extend) s.anchor = s.caret;
    KeepCaretVisible(edit, s);
    Redraw(edit);
}

// Puts text in place of the selection; false when the limit or, without
// ES_AUTOHSCROLL, the width of the box leaves no room.
bool ReplaceSelection(HWND edit, EditState& s, const std::string& with) {
    const int from = SelectionStart(s);
    const int to = SelectionEnd(s);
    std::string next = s.text.substr(0, from) + with + s.text.substr(to);
    if (!with.empty() && static_cast<int>(next.size()) > s.limit) return false;
    if (!with.empty() && !(GetWindowLongA(edit, GWL_STYLE) & ES_AUTOHSCROLL)) {
        const RECT area = TextArea(edit);
        if (Measure(edit).Width(next, static_cast<int>(next.size())) > area.right - area.left - 1) {
            return false;
        }
    }
    s.text = std::move(next);
    s.caret = s.anchor = from + static_cast<int>(with.size());
    KeepCaretVisible(edit, s);
    Redraw(edit);
    NotifyParent(edit, EN_CHANGE);
    return true;
}

int CaretFromPoint(HWND edit, const EditState& s, int clientX) {
    const int target = clientX - TextArea(edit).left + s.scroll;
    Measure measure(edit);
    int low = 0, high = static_cast<int>(s.text.size());
    while (low < high) {
        const int middle = (low + high) / 2;
        if (measure.Width(s.text, middle) < target) low = middle + 1;
        else high = middle;
    }
    if (low > 0 && target - measure.Width(s.text, low - 1) < measure.Width(s.text, low) - target) --low;
    return low;
}

void OnKeyDown(HWND edit, EditState& s, WPARAM key) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    switch (key) {
        case VK_LEFT: MoveCaret(edit, s, s.caret - 1, shift); break;
        case VK_RIGHT: MoveCaret(edit, s, s.caret + 1, shift); break;
        case VK_HOME: MoveCaret(edit, s, 0, shift); break;
        case VK_END: MoveCaret(edit, s, static_cast<int>(s.text.size()), shift); break;
        case VK_DELETE:
            if (s.anchor == s.caret) {
                if (s.caret >= static_cast<int>(s.text.size())) return;
                s.anchor = s.caret + 1;
            }
            ReplaceSelection(edit, s, "");
            break;
        default: break;
    }
}

void OnChar(HWND edit, EditState& s, WPARAM character) {
    if (character == VK_BACK) {
        if (s.anchor == s.caret) {
            if (s.caret == 0) return;
            s.anchor = s.caret - 1;
        }
        ReplaceSelection(edit, s, "");
        return;
    }
    if (character < 32 || character == 127 || character > 255) return;
    if (!ReplaceSelection(edit, s, std::string(1, static_cast<char>(character)))) MessageBeep(MB_OK);
}

LRESULT OnMouse(HWND edit, EditState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    switch (message) {
        case WM_LBUTTONDOWN:
            SetFocus(edit);
            SetCapture(edit);
            s.dragging = true;
            MoveCaret(edit, s, CaretFromPoint(edit, s, x), (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_MOUSEMOVE:
            if (s.dragging) MoveCaret(edit, s, CaretFromPoint(edit, s, x), true);
            return 0;
        case WM_LBUTTONUP:
            if (s.dragging && GetCapture() == edit) ReleaseCapture();
            s.dragging = false;
            return 0;
        default: return 0;
    }
}

LRESULT OnSelection(HWND edit, EditState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    const int length = static_cast<int>(s.text.size());
    if (message == EM_GETSEL) {
        const DWORD start = static_cast<DWORD>(SelectionStart(s));
        const DWORD end = static_cast<DWORD>(SelectionEnd(s));
        if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = end;
        return MAKELONG(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    const auto start = static_cast<int>(wParam);
    const auto end = static_cast<int>(lParam);
    if (start == -1) {
        s.anchor = s.caret;
    } else {
        s.anchor = std::clamp(start, 0, length);
        s.caret = end < 0 ? length : std::min(end, length);
    }
    KeepCaretVisible(edit, s);
    Redraw(edit);
    return 0;
}

LRESULT OnText(HWND edit, EditState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT: {
            const char* text = reinterpret_cast<const char*>(lParam);
            s.text = text != nullptr ? text : "";
            s.anchor = s.caret = s.scroll = 0;
            Redraw(edit);
            NotifyParent(edit, EN_CHANGE);
            return TRUE;
        }
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<char*>(lParam);
            if (buffer == nullptr || wParam == 0) return 0;
            const size_t count = std::min(s.text.size(), static_cast<size_t>(wParam) - 1);
            std::copy_n(s.text.begin(), count, buffer);
            buffer[count] = '\0';
            return static_cast<LRESULT>(count);
        }
        default: return static_cast<LRESULT>(s.text.size());  // WM_GETTEXTLENGTH
    }
}

}  // namespace

void ResetEdits() { g_edits.clear(); }

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        g_edits.erase(edit);
        SetItemFont(edit, nullptr);
        return DefWindowProcA(edit, message, wParam, lParam);
    }
    EditState& s = g_edits[edit];
    switch (message) {
        case WM_CREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            s.text = create->lpszName != nullptr ? create->lpszName : "";
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(edit, &paint);
            Paint(edit, dc);
            EndPaint(edit, &paint);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SETFOCUS:
        case WM_ENABLE: Redraw(edit); return 0;
        case WM_KILLFOCUS:
            if (s.dragging && GetCapture() == edit) ReleaseCapture();
            s.dragging = false;
            Redraw(edit);
            return 0;
        case WM_SETFONT:
            SetItemFont(edit, reinterpret_cast<HFONT>(wParam));
            KeepCaretVisible(edit, s);
            Redraw(edit);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(ItemFont(edit));
        case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        case WM_KEYDOWN: OnKeyDown(edit, s, wParam); return 0;
        case WM_CHAR: OnChar(edit, s, wParam); return 0;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: return OnMouse(edit, s, message, wParam, lParam);
        case EM_GETSEL:
        case EM_SETSEL: return OnSelection(edit, s, message, wParam, lParam);
        case EM_LIMITTEXT:
            s.limit = wParam == 0 ? kLargestLimit : static_cast<int>(std::min<WPARAM>(wParam, kLargestLimit));
            return 0;
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH: return OnText(edit, s, message, wParam, lParam);
        default: return DefWindowProcA(edit, message, wParam, lParam);
    }
}

}  // namespace platform::user
