// The layer's windows and classes, shared by the parts of USER.
#pragma once

#include <string>
#include <vector>

#include "platform/win/types.h"
#include "platform/win/user.h"

namespace platform::user {

struct WindowClass {
    std::string name;
    WNDCLASSA info{};
};

struct Window {
    HWND handle = nullptr;
    std::string className;
    UINT classStyle = 0;
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    RECT rect{};  // in the parent's client coordinates, or the screen's
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    std::string text;
    std::vector<HWND> children;
    bool visible = false;
    bool enabled = true;
    bool destroying = false;
    bool updatePending = false;
    bool eraseNeeded = false;
    RECT update{};      // client coordinates
    HDC ownDc = nullptr;
};

Window* Find(HWND handle);
// The top-level windows in creation order.
const std::vector<HWND>& TopLevelWindows();
// The window's client rectangle in screen coordinates.
RECT ScreenRect(const Window& window);
// The visible parts of the window's client area, in screen coordinates, with
// the children cut out when the window clips them.
std::vector<RECT> VisibleRects(const Window& window);
// The deepest visible, enabled window under a screen point, or null.
HWND WindowFromScreenPoint(POINT point);
// Marks a rectangle of a window (client coordinates; null for all) for painting.
void Invalidate(Window& window, const RECT* rect, bool erase);
// True when some window waits for WM_PAINT; takes the first such one.
bool TakePaintWindow(HWND& window);
bool IsDescendant(HWND window, HWND ancestor);
// A top-level window of the program's own classes, not one of the layer's.
bool IsProgramTopLevel(const Window& window);

// Rectangle helpers used inside the layer.
bool Intersect(RECT& out, const RECT& a, const RECT& b);
void SubtractRects(std::vector<RECT>& rects, const RECT& cut);

}  // namespace platform::user
