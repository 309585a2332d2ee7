// Window classes, windows and their geometry.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "platform/backend/backend.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"
#include "platform/user/desktop.h"
#include "platform/user/internal.h"
#include "platform/user/single_instance.h"
#include "platform/windows.h"

namespace platform::user {
namespace {

std::vector<WindowClass> g_classes;
std::vector<std::unique_ptr<Window>> g_windows;  // index + 1 is the handle value
std::vector<HWND> g_topLevel;
HWND g_remoteWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0000));

bool SameName(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

WindowClass* FindClass(const char* name) {
    if (name == nullptr || IS_INTRESOURCE(name)) return nullptr;
    for (auto& wc : g_classes) {
        if (SameName(wc.name, name)) return &wc;
    }
    return nullptr;
}

POINT ClientOrigin(const Window& window) {
    POINT origin{window.rect.left, window.rect.top};
    for (HWND p = window.parent; p != nullptr;) {
        Window* parent = Find(p);
        if (parent == nullptr) break;
        origin.x += parent->rect.left;
        origin.y += parent->rect.top;
        p = parent->parent;
    }
    return origin;
}

bool IsShown(const Window& window) {
    for (const Window* w = &window; w != nullptr; w = Find(w->parent)) {
        if (!w->visible) return false;
        if (w->parent == nullptr) break;
    }
    return true;
}

// A disabled window takes no mouse input, and neither do its children.
HWND ChildFromPoint(HWND handle, POINT screen) {
    Window* window = Find(handle);
    if (window == nullptr || !window->visible || !window->enabled) return nullptr;
    RECT r = ScreenRect(*window);
    if (!::PtInRect(&r, screen)) return nullptr;
    for (auto it = window->children.rbegin(); it != window->children.rend(); ++it) {
        HWND hit = ChildFromPoint(*it, screen);
        if (hit != nullptr) return hit;
    }
    return handle;
}

// The layer's own classes ("#32770", the dialogs) neither claim the single
// instance nor name the desktop window.
bool IsSystemClass(const std::string& name) { return !name.empty() && name[0] == '#'; }

void SendSize(Window& window) {
    const int width = window.rect.right - window.rect.left;
    const int height = window.rect.bottom - window.rect.top;
    SendMessageA(window.handle, WM_SIZE, 0, MAKELPARAM(width, height));
}

// Marks what a window covered on its parent (or the screen) for repainting.
void ExposeArea(const Window& window) {
    if (!IsShown(window)) return;
    if (Window* parent = Find(window.parent)) {
        Invalidate(*parent, &window.rect, true);
        return;
    }
    RECT screenRect = window.rect;
    for (HWND other : g_topLevel) {
        Window* w = Find(other);
        if (w == nullptr || w == &window || !w->visible) continue;
        RECT local;
        if (Intersect(local, screenRect, w->rect)) {
            ::OffsetRect(&local, -w->rect.left, -w->rect.top);
            Invalidate(*w, &local, true);
        }
    }
}

void InvalidateTree(Window& window) {
    Invalidate(window, nullptr, true);
    for (HWND child : window.children) {
        if (Window* c = Find(child)) InvalidateTree(*c);
    }
}

// Every descendant, each child before its own children.
void CollectDescendants(const Window& window, std::vector<HWND>& out) {
    for (HWND child : window.children) {
        out.push_back(child);
        if (const Window* c = Find(child)) CollectDescendants(*c, out);
    }
}

void DestroyTree(Window& window) {
    window.destroying = true;
    OnWindowDestroying(window.handle);
    SendMessageA(window.handle, WM_DESTROY, 0, 0);
    const std::vector<HWND> children = window.children;
    for (HWND child : children) {
        if (Window* c = Find(child)) DestroyTree(*c);
    }
    SendMessageA(window.handle, WM_NCDESTROY, 0, 0);
    if (window.ownDc != nullptr) gdi::DestroyDeviceContext(window.ownDc);
    window.ownDc = nullptr;
}

}  // namespace

Window* Find(HWND handle) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value == 0 || value > g_windows.size()) return nullptr;
    return g_windows[value - 1].get();
}

const std::vector<HWND>& TopLevelWindows() { return g_topLevel; }

RECT ScreenRect(const Window& window) {
    const POINT origin = ClientOrigin(window);
    return RECT{origin.x, origin.y, origin.x + window.rect.right - window.rect.left,
                origin.y + window.rect.bottom - window.rect.top};
}

std::vector<RECT> VisibleRects(const Window& window) {
    std::vector<RECT> rects;
    if (!IsShown(window)) return rects;
    RECT visible = ScreenRect(window);
    for (const Window* p = Find(window.parent); p != nullptr; p = Find(p->parent)) {
        if (!Intersect(visible, visible, ScreenRect(*p))) return rects;
    }
    const gdi::Surface& display = gdi::Display();
    if (!Intersect(visible, visible, RECT{0, 0, display.width, display.height})) return rects;
    rects.push_back(visible);
    // Top-level windows made later lie above this one.
    const Window* top = &window;
    while (top->parent != nullptr && Find(top->parent) != nullptr) top = Find(top->parent);
    auto above = std::find(g_topLevel.begin(), g_topLevel.end(), top->handle);
    if (above != g_topLevel.end()) {
        for (++above; above != g_topLevel.end(); ++above) {
            const Window* w = Find(*above);
            if (w != nullptr && w->visible) SubtractRects(rects, w->rect);
        }
    }
    if (window.style & WS_CLIPCHILDREN) {
        for (HWND child : window.children) {
            const Window* c = Find(child);
            if (c != nullptr && c->visible) SubtractRects(rects, ScreenRect(*c));
        }
    }
    return rects;
}

HWND WindowFromScreenPoint(POINT point) {
    // The topmost window under the point takes it, or nobody when it is disabled.
    for (auto it = g_topLevel.rbegin(); it != g_topLevel.rend(); ++it) {
        const Window* top = Find(*it);
        if (top == nullptr || !top->visible || !::PtInRect(&top->rect, point)) continue;
        return ChildFromPoint(*it, point);
    }
    return nullptr;
}

void Invalidate(Window& window, const RECT* rect, bool erase) {
    RECT client{0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top};
    RECT area = client;
    if (rect != nullptr && !Intersect(area, *rect, client)) return;
    if (area.left >= area.right || area.top >= area.bottom) return;
    if (window.updatePending) {
        ::UnionRect(&window.update, &window.update, &area);
    } else {
        window.update = area;
        window.updatePending = true;
    }
    window.eraseNeeded = window.eraseNeeded || erase;
    // A window that does not clip its children paints over them, so they
    // are painted again after it, as on Windows.
    if (window.style & WS_CLIPCHILDREN) return;
    for (HWND child : window.children) {
        Window* c = Find(child);
        RECT local;
        if (c == nullptr || !c->visible || !Intersect(local, area, c->rect)) continue;
        ::OffsetRect(&local, -c->rect.left, -c->rect.top);
        Invalidate(*c, &local, erase);
    }
}

bool TakePaintWindow(HWND& handle) {
    for (auto& w : g_windows) {
        if (w && !w->destroying && w->updatePending && IsShown(*w)) {
            handle = w->handle;
            return true;
        }
    }
    return false;
}

bool IsDescendant(HWND window, HWND ancestor) {
    for (HWND w = window; w != nullptr;) {
        if (w == ancestor) return true;
        Window* found = Find(w);
        if (found == nullptr) return false;
        w = found->parent;
    }
    return false;
}

bool Intersect(RECT& out, const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom) {
        out = RECT{0, 0, 0, 0};
        return false;
    }
    out = r;
    return true;
}

void SubtractRects(std::vector<RECT>& rects, const RECT& cut) {
    std::vector<RECT> result;
    for (const RECT& r : rects) {
        RECT overlap;
        if (!Intersect(overlap, r, cut)) {
            result.push_back(r);
            continue;
        }
        if (r.top < overlap.top) result.push_back(RECT{r.left, r.top, r.right, overlap.top});
        if (overlap.bottom < r.bottom)
            result.push_back(RECT{r.left, overlap.bottom, r.right, r.bottom});
        if (r.left < overlap.left)
            result.push_back(RECT{r.left, overlap.top, overlap.left, overlap.bottom});
        if (overlap.right < r.right)
            result.push_back(RECT{overlap.right, overlap.top, r.right, overlap.bottom});
    }
    rects.swap(result);
}

void ResetWindows() {
    ResetDialogs();
    g_classes.clear();
    g_windows.clear();
    g_topLevel.clear();
}

bool IsRemoteWindow(HWND window) { return window == g_remoteWindow; }

bool IsProgramTopLevel(const Window& window) {
    return window.parent == nullptr && !IsSystemClass(window.className);
}

}  // namespace platform::user

using namespace platform::user;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass) {
    if (wndClass == nullptr || wndClass->lpszClassName == nullptr ||
        wndClass->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(wndClass->lpszClassName) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass wc;
    wc.name = wndClass->lpszClassName;
    wc.info = *wndClass;
    wc.info.lpszClassName = nullptr;
    wc.info.lpszMenuName = nullptr;
    g_classes.push_back(wc);
    return static_cast<ATOM>(0xC000 + g_classes.size());
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    auto it = std::find_if(g_classes.begin(), g_classes.end(),
                           [&](const WindowClass& wc) { return SameName(wc.name, className); });
    if (it == g_classes.end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    g_classes.erase(it);
    return TRUE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE, LPCSTR className, LPWNDCLASSA wndClass) {
    WindowClass* wc = FindClass(className);
    if (wc == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (wndClass != nullptr) {
        *wndClass = wc->info;
        wndClass->lpszClassName = className;
    }
    return TRUE;
}

int WINAPI GetClassNameA(HWND handle, LPSTR className, int maxCount) {
    Window* window = Find(handle);
    if (window == nullptr || className == nullptr || maxCount <= 0) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const int length = std::min<int>(static_cast<int>(window->className.size()), maxCount - 1);
    memcpy(className, window->className.data(), length);
    className[length] = '\0';
    return length;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    WindowClass* wc = FindClass(className);
    if (wc == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return nullptr;
    }
    if (parent != nullptr && Find(parent) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    const platform::gdi::Surface& display = platform::gdi::Display();
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = display.width;
        height = display.height;
    }
    if (parent == nullptr && (style & WS_MAXIMIZE)) {
        x = y = 0;
        width = display.width;
        height = display.height;
    }
    auto window = std::make_unique<Window>();
    window->handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(g_windows.size() + 1));
    window->className = wc->name;
    window->classStyle = wc->info.style;
    window->background = wc->info.hbrBackground;
    window->cursor = wc->info.hCursor;
    window->proc = wc->info.lpfnWndProc;
    window->instance = instance;
    window->style = style & ~(WS_VISIBLE | WS_DISABLED);
    window->enabled = (style & WS_DISABLED) == 0;
    window->exStyle = exStyle;
    window->parent = parent;
    window->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    window->text = windowName != nullptr ? windowName : "";
    window->id = reinterpret_cast<LONG_PTR>(menu);
    HWND handle = window->handle;
    g_windows.push_back(std::move(window));
    if (parent != nullptr) {
        Find(parent)->children.push_back(handle);
    } else {
        g_topLevel.push_back(handle);
        if (platform::CurrentOptions().singleInstance && !IsSystemClass(wc->name)) {
            platform::ClaimSingleInstance(wc->name);
        }
        // The program's window names the desktop window from its caption, as
        // WM_SETTEXT does later on.
        if (!IsSystemClass(wc->name) && !g_windows.back()->text.empty()) {
            platform::CurrentBackend().presenter->SetTitle(g_windows.back()->text);
        }
    }
    CREATESTRUCTA create{param,  instance, menu,  parent,    height,   width,
                         y,      x,        static_cast<LONG>(style), windowName, className,
                         exStyle};
    if (SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == FALSE &&
        Find(handle)->proc != DefWindowProcA) {
        // A window procedure that refuses WM_NCCREATE by not passing it on still
        // gets its window, as most procedures forward it to DefWindowProcA.
    }
    if (SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (Window* created = Find(handle); created != nullptr && !created->destroying) {
        SendSize(*created);
        if (style & WS_VISIBLE) {
            ShowWindow(handle, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
        }
    }
    return handle;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr || window->destroying) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    ExposeArea(*window);
    DestroyTree(*window);
    window = Find(handle);
    if (Window* parent = Find(window->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    } else {
        g_topLevel.erase(std::remove(g_topLevel.begin(), g_topLevel.end(), handle),
                         g_topLevel.end());
    }
    // The slot stays so that the handle is never reused within a run.
    const uintptr_t index = reinterpret_cast<uintptr_t>(handle) - 1;
    g_windows[index].reset();
    RefreshOwnDCs();
    return TRUE;
}

DWORD WINAPI GetGuiResources(HANDLE process, DWORD flags) {
    if (process != GetCurrentProcess()) return 0;
    if (flags == GR_GDIOBJECTS) return static_cast<DWORD>(platform::gdi::LiveObjectCount());
    if (flags != GR_USEROBJECTS) return 0;
    DWORD windows = 0;
    for (const auto& window : g_windows) windows += window != nullptr;
    return windows;
}

BOOL WINAPI IsWindow(HWND handle) {
    Window* window = Find(handle);
    return window != nullptr && !window->destroying;
}

BOOL WINAPI IsWindowVisible(HWND handle) {
    Window* window = Find(handle);
    return window != nullptr && IsShown(*window);
}

BOOL WINAPI IsIconic(HWND handle) {
    Window* window = Find(handle);
    return window != nullptr && (window->style & WS_MINIMIZE) != 0;
}

BOOL WINAPI ShowWindow(HWND handle, int showCommand) {
    if (IsRemoteWindow(handle)) return TRUE;
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    const BOOL wasVisible = window->visible;
    if (showCommand == SW_HIDE) {
        if (wasVisible) {
            ExposeArea(*window);
            window->visible = false;
            RefreshOwnDCs();
        }
        return wasVisible;
    }
    window->style &= ~WS_MINIMIZE;
    if (showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED) window->style |= WS_MINIMIZE;
    if (window->parent == nullptr &&
        (showCommand == SW_SHOWMAXIMIZED || (window->style & WS_MAXIMIZE))) {
        const platform::gdi::Surface& display = platform::gdi::Display();
        const RECT full{0, 0, display.width, display.height};
        if (!::EqualRect(&full, &window->rect)) {
            window->rect = full;
            SendSize(*window);
        }
        window->style |= WS_MAXIMIZE;
    }
    if (!wasVisible) {
        window->visible = true;
        RefreshOwnDCs();
        InvalidateTree(*window);
        if (window->parent == nullptr) ActivateTopLevel(handle, WA_ACTIVE);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    if (window->updatePending) SendMessageA(handle, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND handle, HWND, int x, int y, int cx, int cy, UINT flags) {
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    RECT next = window->rect;
    if (!(flags & SWP_NOMOVE)) ::OffsetRect(&next, x - next.left, y - next.top);
    if (!(flags & SWP_NOSIZE)) {
        next.right = next.left + std::max(cx, 0);
        next.bottom = next.top + std::max(cy, 0);
    }
    const bool sized = (next.right - next.left) != (window->rect.right - window->rect.left) ||
                       (next.bottom - next.top) != (window->rect.bottom - window->rect.top);
    if (!::EqualRect(&next, &window->rect)) {
        ExposeArea(*window);
        window->rect = next;
        RefreshOwnDCs();
        InvalidateTree(*window);
        if (sized) SendSize(*window);
    }
    if (flags & SWP_SHOWWINDOW) ShowWindow(handle, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW) ShowWindow(handle, SW_HIDE);
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL) {
    return SetWindowPos(handle, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    Window* window = Find(handle);
    if (window == nullptr || rect == nullptr) return FALSE;
    *rect = RECT{0, 0, window->rect.right - window->rect.left,
                 window->rect.bottom - window->rect.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
    Window* window = Find(handle);
    if (window == nullptr || rect == nullptr) return FALSE;
    *rect = ScreenRect(*window);
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND handle, LPPOINT point) {
    Window* window = Find(handle);
    if (window == nullptr || point == nullptr) return FALSE;
    const POINT origin = ClientOrigin(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND handle, LPPOINT point) {
    Window* window = Find(handle);
    if (window == nullptr || point == nullptr) return FALSE;
    const POINT origin = ClientOrigin(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

HWND WINAPI GetParent(HWND handle) {
    Window* window = Find(handle);
    return window != nullptr ? window->parent : nullptr;
}

HWND WINAPI GetDesktopWindow(void) { return nullptr; }

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC function, LPARAM lParam) {
    Window* window = Find(parent);
    if (window == nullptr || function == nullptr) return FALSE;
    // Windows walks a snapshot, so that a callback may destroy what it visits.
    std::vector<HWND> all;
    CollectDescendants(*window, all);
    for (HWND h : all) {
        if (Find(h) == nullptr) continue;
        if (!function(h, lParam)) break;
    }
    return TRUE;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    for (HWND h : g_topLevel) {
        Window* w = Find(h);
        if (w == nullptr || w->destroying) continue;
        if (className != nullptr && !SameName(w->className, className)) continue;
        if (windowName != nullptr && w->text != windowName) continue;
        return h;
    }
    // Another copy of the program holds its windows in its own process: the
    // single-instance socket finds it, and asking brings it forward at once.
    if (className != nullptr && platform::CurrentOptions().singleInstance &&
        platform::AskFirstInstanceToRaise(className)) {
        return g_remoteWindow;
    }
    return nullptr;
}

BOOL WINAPI SetForegroundWindow(HWND handle) {
    if (IsRemoteWindow(handle)) return TRUE;
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    platform::CurrentBackend().presenter->Raise();
    return TRUE;
}
