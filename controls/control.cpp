#include "controls/control.h"

#include "graphics/regions.h"
#include "graphics/surface.h"
#include "shell/mainwindow.h"
#include "shell/screen.h"

Control* g_pressedControl = nullptr;
Control* g_hoveredControl = nullptr;
bool g_keyPressActive = false;

namespace {

int LowerKey(int key) { return key >= 'A' && key <= 'Z' ? key | 0x20 : key; }

Screen* ScreenOf(HWND window) {
    if (window == nullptr) return nullptr;
    return reinterpret_cast<Screen*>(GetWindowLongPtrA(window, GWL_USERDATA));
}

bool IsEmpty(const RECT& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

}  // namespace

Control::Control(int id, int flags, int group, int hotkey, ControlInfo* info)
    : m_flags(flags), m_group(group), m_id(id), m_info(info) {
    m_region = CreateRectRgn(0, 0, 0, 0);
    Register(hotkey);
}

Control::Control(int id, const RECT& bounds, HRGN region, int flags, int group, int hotkey,
                 ControlInfo* info)
    : m_bounds(bounds), m_region(region), m_flags(flags), m_group(group), m_id(id), m_info(info) {
    if (m_region == nullptr) {
        m_region = IsEmpty(bounds) ? CreateRectRgn(0, 0, 0, 0) : CreateRectRgnIndirect(&bounds);
    }
    Register(hotkey);
    InvalidateRect(m_owner, &m_bounds, FALSE);
}

void Control::Register(int hotkey) {
    m_hotkeys[0] = LowerKey(hotkey);
    m_hotkeys[1] = 0;
    m_owner = g_focusWindow;
    if (Screen* screen = ScreenOf(m_owner)) screen->AddControl(this);
}

Control::~Control() {
    if (m_flags & kControlCaptured) {
        g_pressedControl = nullptr;
        // A control destroyed while its hotkey is down must not leave every
        // other control deaf to input.
        g_keyPressActive = false;
    }
    if (m_flags & kControlHover) {
        m_flags &= ~kControlHover;
        g_hoveredControl = nullptr;
    }
    InvalidateRect(m_owner, &m_bounds, FALSE);
    DeleteObject(m_region);
    if (Screen* screen = ScreenOf(m_owner)) screen->RemoveControl(this);
}

bool Control::HitTest(int x, int y) { return PtInRegion(m_region, x, y) != FALSE; }

void Control::SetBounds(const RECT& rect) {
    m_bounds = rect;
    SetRegionToRect(m_region, rect);
    InvalidateRect(m_owner, &m_bounds, FALSE);
}

void Control::SetHotkeys(const int keys[kHotkeyCount]) {
    for (int i = 0; i < kHotkeyCount; ++i) m_hotkeys[i] = LowerKey(keys[i]);
}

void Control::Select(bool on) {
    if (on) m_flags |= kControlSelected;
    else m_flags &= ~kControlSelected;
}

void Control::SetReclickReports(bool on) {
    if (on) m_flags |= kControlReclickReports;
    else m_flags &= ~kControlReclickReports;
}

void Control::Press() {
    g_pressedControl = this;
    m_flags |= kControlCaptured | kControlPressedLook;
    Redraw();
    Pressed();
}

void Control::Release(int clicked) {
    m_flags &= ~(kControlCaptured | kControlPressedLook);
    Redraw();
    Released(clicked);
    g_pressedControl = nullptr;
}

void Control::SetPressedLook(bool on) {
    if (on) m_flags |= kControlPressedLook;
    else m_flags &= ~kControlPressedLook;
    Redraw();
    PressedLookChanged();
}

void Control::BeginHover() {
    g_hoveredControl = this;
    m_flags |= kControlHover;
    if (m_flags & kControlHoverRedraw) Redraw();
    HoverEntered();
}

void Control::EndHover() {
    m_flags &= ~kControlHover;
    if (m_flags & kControlHoverRedraw) Redraw();
    HoverLeft();
    g_hoveredControl = nullptr;
}

int Control::Complete(int inside) {
    const bool selected = (m_flags & kControlSelected) != 0;
    if (inside && (m_flags & kControlRadio) && selected) {
        const int reported = (m_flags & kControlReclickReports) ? 1 : 0;
        Release(reported);
        return reported;
    }
    if (inside && (m_flags & (kControlToggle | kControlRadio))) {
        m_flags ^= kControlSelected;
        Release(1);
        return 1;
    }
    Release(inside ? 1 : 0);
    return inside ? 1 : 0;
}

void Control::Redraw() {
    // The window's own device context is taken directly so that a redraw in
    // the middle of someone else's drawing leaves their surface as it was.
    if (m_owner == nullptr) return;
    HDC dc = GetDC(m_owner);
    if (dc == nullptr) return;
    HDC saved = g_currentSurface;
    g_currentSurface = dc;
    Draw();
    g_currentSurface = saved;
    ReleaseDC(m_owner, dc);
}

void Control::PaintIfIntersects(const RECT& rect) {
    if (RectsOverlap(m_bounds, rect)) Draw();
}

bool Control::TakesInput() const { return (m_flags & kControlClickable) && !g_keyPressActive; }

void Control::StorePosition(int x, int y) {
    m_lastX = x;
    m_lastY = y;
}

bool Control::MouseDown(int x, int y, int& clicked) {
    if (!TakesInput() || !HitTest(x, y)) return false;
    StorePosition(x, y);
    if (g_hoveredControl != nullptr) g_hoveredControl->EndHover();
    if (g_pressedControl != nullptr) g_pressedControl->Release(0);
    Press();
    clicked = (m_flags & kControlClickOnPress) ? Complete(1) : 0;
    return true;
}

bool Control::MouseMove(int x, int y) {
    if (!TakesInput()) return false;
    const bool inside = HitTest(x, y);
    if (m_flags & kControlHover) {
        StorePosition(x, y);
        if (inside) HoverMoved();
        else EndHover();
        return true;
    }
    if (m_flags & kControlCaptured) {
        StorePosition(x, y);
        const bool looksPressed = (m_flags & kControlPressedLook) != 0;
        if (inside && !looksPressed) SetPressedLook(true);
        if (!inside && looksPressed) SetPressedLook(false);
        Dragged();
        return true;
    }
    if (g_pressedControl != nullptr || !inside) return false;
    StorePosition(x, y);
    if (g_hoveredControl != nullptr) g_hoveredControl->EndHover();
    BeginHover();
    return true;
}

bool Control::MouseUp(int x, int y, int& clicked) {
    if (!TakesInput() || !(m_flags & kControlCaptured)) return false;
    StorePosition(x, y);
    clicked = Complete(HitTest(x, y) ? 1 : 0);
    return true;
}

bool Control::KeyChar(int code, int repeat) {
    if (repeat || !TakesInput() || g_pressedControl != nullptr) return false;
    code = LowerKey(code);
    bool matches = false;
    for (int i = 0; i < kHotkeyCount && m_hotkeys[i] != 0 && !matches; ++i) {
        matches = m_hotkeys[i] == code;
    }
    if (!matches) return false;
    if (g_hoveredControl != nullptr) g_hoveredControl->EndHover();
    g_keyPressActive = true;
    Press();
    return true;
}

bool Control::KeyUp() {
    if (!g_keyPressActive || g_pressedControl != this) return false;
    Complete(1);
    g_keyPressActive = false;
    return true;
}

void ClearGroup(Control** list, int index, int count) {
    const Control* clicked = list[index];
    for (int i = 0; i < count; ++i) {
        Control* other = list[i];
        if (i == index || !(other->m_flags & kControlRadio)) continue;
        if (other->m_group == clicked->m_group && (other->m_flags & kControlSelected)) {
            other->m_flags &= ~kControlSelected;
            other->Redraw();
        }
    }
}

ControlInfo* MakeControlInfo(const char* soundName, int helpNumber) {
    auto* info = new ControlInfo;
    info->soundName = soundName;
    info->helpNumber = helpNumber;
    return info;
}
