// Painting: update areas, BeginPaint and EndPaint, window device contexts, and
// the rectangle helpers.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/user/desktop.h"
#include "platform/user/internal.h"
#include "platform/windows.h"

using namespace platform::user;
namespace gdi = platform::gdi;

namespace {

// A context whose origin is the window's client origin and whose clip is what
// shows of the window, optionally narrowed to a client rectangle.
HDC MakeWindowDC(Window& window, const RECT* limit) {
    gdi::DeviceContext context;
    context.surface = &gdi::Display();
    context.window = window.handle;
    const RECT screen = ScreenRect(window);
    context.origin = POINT{screen.left, screen.top};
    context.clip = VisibleRects(window);
    if (limit != nullptr) {
        RECT bound = *limit;
        OffsetRect(&bound, screen.left, screen.top);
        std::vector<RECT> narrowed;
        for (const RECT& r : context.clip) {
            RECT part;
            if (Intersect(part, r, bound)) narrowed.push_back(part);
        }
        context.clip.swap(narrowed);
    }
    if (window.classStyle & CS_OWNDC) {
        if (window.ownDc == nullptr) {
            window.ownDc = gdi::CreateDeviceContext(context);
        } else if (gdi::DeviceContext* own = gdi::LookupDC(window.ownDc)) {
            // The objects and modes stay; the geometry follows the window.
            own->origin = context.origin;
            gdi::SetVisibleClip(window.ownDc, context.clip);
        }
        gdi::LookupDC(window.ownDc)->ownedByWindow = true;
        return window.ownDc;
    }
    return gdi::CreateDeviceContext(context);
}

void ReleaseWindowDC(HWND handle, HDC dc) {
    Window* window = Find(handle);
    if (window != nullptr && window->ownDc == dc) return;
    gdi::DestroyDeviceContext(dc);
}

void RefreshTree(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr || window->destroying) return;
    if (gdi::DeviceContext* dc = gdi::LookupDC(window->ownDc)) {
        const RECT screen = ScreenRect(*window);
        dc->origin = POINT{screen.left, screen.top};
        gdi::SetVisibleClip(window->ownDc, VisibleRects(*window));
    }
    for (HWND child : window->children) RefreshTree(child);
}

}  // namespace

namespace platform::user {

// A window's own device context always draws into what shows of its window:
// when a window appears, moves or goes, every kept context follows.
void RefreshOwnDCs() {
    for (HWND top : TopLevelWindows()) RefreshTree(top);
}

}  // namespace platform::user

HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
    Window* window = Find(handle);
    if (window == nullptr || paint == nullptr) return nullptr;
    *paint = PAINTSTRUCT{};
    RECT update = window->updatePending ? window->update : RECT{0, 0, 0, 0};
    const bool erase = window->eraseNeeded;
    window->updatePending = false;
    window->eraseNeeded = false;
    HDC dc = MakeWindowDC(*window, &update);
    paint->hdc = dc;
    paint->rcPaint = update;
    // fErase tells the procedure that the background still needs erasing.
    if (erase) {
        const LRESULT erased = SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        paint->fErase = erased ? FALSE : TRUE;
    }
    return dc;
}

BOOL WINAPI EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    ReleaseWindowDC(handle, paint->hdc);
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    if (handle == nullptr) {
        for (HWND top : TopLevelWindows()) InvalidateRect(top, rect, erase);
        return TRUE;
    }
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    Invalidate(*window, rect, erase != FALSE);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND handle, const RECT*) {
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    window->updatePending = false;
    window->eraseNeeded = false;
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND handle, LPRECT rect, BOOL) {
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    if (rect != nullptr) *rect = window->updatePending ? window->update : RECT{0, 0, 0, 0};
    return window->updatePending ? TRUE : FALSE;
}

HDC WINAPI GetDC(HWND handle) {
    if (handle == nullptr) {
        gdi::DeviceContext context;
        context.surface = &gdi::Display();
        context.clip.push_back(RECT{0, 0, context.surface->width, context.surface->height});
        return gdi::CreateDeviceContext(context);
    }
    Window* window = Find(handle);
    return window != nullptr ? MakeWindowDC(*window, nullptr) : nullptr;
}

int WINAPI ReleaseDC(HWND handle, HDC dc) {
    ReleaseWindowDC(handle, dc);
    return 1;
}

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (rect == nullptr) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL WINAPI CopyRect(LPRECT destination, const RECT* source) {
    if (destination == nullptr || source == nullptr) return FALSE;
    *destination = *source;
    return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT* rect) {
    return rect == nullptr || rect->left >= rect->right || rect->top >= rect->bottom;
}

BOOL WINAPI PtInRect(const RECT* rect, POINT point) {
    return rect != nullptr && point.x >= rect->left && point.x < rect->right &&
           point.y >= rect->top && point.y < rect->bottom;
}

BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL WINAPI InflateRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL WINAPI IntersectRect(LPRECT destination, const RECT* a, const RECT* b) {
    if (destination == nullptr || a == nullptr || b == nullptr) return FALSE;
    return Intersect(*destination, *a, *b) ? TRUE : FALSE;
}

BOOL WINAPI UnionRect(LPRECT destination, const RECT* a, const RECT* b) {
    if (destination == nullptr || a == nullptr || b == nullptr) return FALSE;
    if (IsRectEmpty(a) && IsRectEmpty(b)) {
        SetRectEmpty(destination);
        return FALSE;
    }
    if (IsRectEmpty(a)) return CopyRect(destination, b);
    if (IsRectEmpty(b)) return CopyRect(destination, a);
    *destination = RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                        std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    return TRUE;
}

BOOL WINAPI SubtractRect(LPRECT destination, const RECT* a, const RECT* b) {
    if (destination == nullptr || a == nullptr || b == nullptr) return FALSE;
    // The result is a rectangle only when b covers a whole side of a.
    RECT result = *a;
    RECT overlap;
    if (Intersect(overlap, *a, *b)) {
        if (overlap.top == a->top && overlap.bottom == a->bottom) {
            if (overlap.left == a->left) result.left = overlap.right;
            else if (overlap.right == a->right) result.right = overlap.left;
        } else if (overlap.left == a->left && overlap.right == a->right) {
            if (overlap.top == a->top) result.top = overlap.bottom;
            else if (overlap.bottom == a->bottom) result.bottom = overlap.top;
        }
    }
    *destination = result;
    if (IsRectEmpty(&result)) {
        SetRectEmpty(destination);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI EqualRect(const RECT* a, const RECT* b) {
    return a != nullptr && b != nullptr && a->left == b->left && a->top == b->top &&
           a->right == b->right && a->bottom == b->bottom;
}
