// What a screen's window procedure asks of the controls in its list. The
// controls register themselves with the screen of their window; the list is
// walked from the first registered to the last.
#pragma once

#include "platform/windows.h"

constexpr int kControlSelected = 0x0001;
constexpr int kControlRadio = 0x0400;

class Control {
public:
    virtual ~Control() = default;

    // Each returns whether the control accepted the event; clicked tells
    // whether a press or release completed a click.
    virtual bool MouseDown(int x, int y, int& clicked) = 0;
    virtual bool MouseMove(int x, int y) = 0;
    virtual bool MouseUp(int x, int y, int& clicked) = 0;
    virtual bool KeyChar(int code, int repeat, int scanCode) = 0;
    virtual bool KeyUp(int virtualKey, int scanCode) = 0;
    virtual void PaintIfIntersects(const RECT& rect) = 0;
    // Takes the selection away from a member of a radio group; redraws.
    virtual void Unselect() = 0;

    int m_flags = 0;
    int m_group = 0;
    int m_id = 0;
};

// Unselects every other selected radio control of the clicked one's group.
void ClearGroup(Control** list, int index, int count);
