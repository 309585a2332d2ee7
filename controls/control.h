// The base of every clickable thing on a screen: a rectangle and a hit region
// in its owner window, a set of state flags, the id it reports when clicked,
// up to four hotkeys, and the record naming its click sound and help text.
//
// Controls register themselves with the screen of the focus window when they
// are built and leave its list when they are destroyed. The screen's window
// procedure offers every press, release, move and key to the list, first
// registered first, through the entry points below; they turn those events
// into presses, releases, hovers and clicks.
#pragma once

#include "platform/windows.h"

// The sound a control plays when clicked, by name (null for a silent
// control), and the number of its help text.
struct ControlInfo {
    const char* soundName = nullptr;
    int helpNumber = 0;
};

constexpr int kControlSelected = 0x0001;
constexpr int kControlCaptured = 0x0002;
constexpr int kControlPressedLook = 0x0004;
constexpr int kControlHover = 0x0008;
constexpr int kControlClickable = 0x0100;
constexpr int kControlToggle = 0x0200;
constexpr int kControlRadio = 0x0400;
constexpr int kControlClickOnPress = 0x1000;
constexpr int kControlHoverRedraw = 0x2000;
constexpr int kControlReclickReports = 0x4000;

// The flag sets of the control kinds.
constexpr int kPushFlags = kControlClickable;
constexpr int kToggleFlags = kControlClickable | kControlToggle;
constexpr int kRadioFlags = kControlClickable | kControlRadio;
constexpr int kSwatchFlags = kRadioFlags | kControlClickOnPress;

constexpr int kHotkeyCount = 4;

class Control {
public:
    // Bounds stay empty and the region is an empty rectangle until SetBounds.
    Control(int id, int flags, int group, int hotkey, ControlInfo* info);
    // Without a region, a non-empty bounds rectangle becomes the hit region.
    Control(int id, const RECT& bounds, HRGN region, int flags, int group, int hotkey,
            ControlInfo* info);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual bool HitTest(int x, int y);
    virtual void Pressed() {}
    virtual void PressedLookChanged() {}
    // clicked is 1 when the release completes a click.
    virtual void Released(int /*clicked*/) {}
    // Each mouse move while captured.
    virtual void Dragged() {}
    virtual void HoverEntered() {}
    virtual void HoverLeft() {}
    virtual void HoverMoved() {}
    // Draws the control on the current surface.
    virtual void Draw() {}
    // Moves the control; the region handle stays the same.
    virtual void SetBounds(const RECT& rect);

    // The list ends at the first 0; upper-case letters are lower-cased.
    void SetHotkeys(const int keys[kHotkeyCount]);
    // Neither redraws.
    void Select(bool on);
    void SetReclickReports(bool on);

    void Press();
    void Release(int clicked);
    void SetPressedLook(bool on);
    void BeginHover();
    void EndHover();
    // Ends a capture; returns whether it counts as a click.
    int Complete(int inside);

    // Draws the control on its owner window at once, keeping the current
    // surface of whoever called it.
    void Redraw();
    // Draws on the paint handler's surface when the control lies in rect.
    void PaintIfIntersects(const RECT& rect);

    // The window procedure's entry points; each returns whether the control
    // took the event.
    bool MouseDown(int x, int y, int& clicked);
    bool MouseMove(int x, int y);
    bool MouseUp(int x, int y, int& clicked);
    bool KeyChar(int code, int repeat);
    bool KeyUp();

    RECT m_bounds{};
    HRGN m_region = nullptr;
    int m_lastX = 0;
    int m_lastY = 0;
    int m_flags = 0;
    int m_group = 0;
    int m_hotkeys[kHotkeyCount] = {};
    int m_id = 0;
    ControlInfo* m_info = nullptr;
    HWND m_owner = nullptr;

private:
    void Register(int hotkey);
    bool TakesInput() const;
    void StorePosition(int x, int y);
};

// The control that the mouse button or a hotkey holds down, the one the
// pointer hovers over, and whether a hotkey is down.
extern Control* g_pressedControl;
extern Control* g_hoveredControl;
extern bool g_keyPressActive;

// After a radio click: the other selected members of the clicked control's
// group lose their selection and are redrawn.
void ClearGroup(Control** list, int index, int count);

// A new record for a control that owns it.
ControlInfo* MakeControlInfo(const char* soundName, int helpNumber);
