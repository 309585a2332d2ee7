// A screen: one full-window page of the program with its own "CWorkWindow"
// child of the main window, its controls, and the operations its window
// procedure calls.
#pragma once

#include "platform/windows.h"

class Control;

constexpr int kMaxControls = 1024;

class Screen {
public:
    Screen(const RECT* rect, HPALETTE palette);
    virtual ~Screen();

    virtual void OnCreate() {}
    virtual void OnStart() {}
    virtual int CanClose() { return 1; }
    // The desktop session ends and the program with it, at once: keep what
    // must not be lost, without asking anything.
    virtual void OnEndSession() {}
    virtual void OnDestroy() {}
    virtual void OnActivate() {}
    virtual void OnDeactivate() {}
    virtual void OnChar(int /*character*/, int /*repeat*/) {}
    virtual void OnKeyUp(int /*virtualKey*/) {}
    virtual void OnLButtonDown(int /*x*/, int /*y*/) {}
    virtual void OnLButtonUp(int /*x*/, int /*y*/) {}
    virtual void OnRButtonDown(int /*x*/, int /*y*/) {}
    virtual void OnRButtonUp(int /*x*/, int /*y*/) {}
    virtual void OnMouseMove(int /*x*/, int /*y*/) {}
    virtual void OnMouseDrag(int /*x*/, int /*y*/) {}
    virtual void OnCommand(int /*id*/) {}
    virtual void OnIdle() {}
    virtual void OnTimer(int /*timerId*/) {}
    virtual void PaintBackground(const RECT& /*rect*/) {}
    virtual void PaintForeground(const RECT& /*rect*/) {}
    virtual void OnWinCommand(int /*notification*/, LPARAM /*control*/, WPARAM /*wParam*/) {}
    // 0: go on; 1: the message is handled and result is its answer; 2: leave
    // the message to the default window procedure.
    virtual int FilterMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return 0;
    }

    void EndScreen();
    void SetEventFilter(int mask);
    void FlushInput(int mask);
    void AddControl(Control* control);
    void RemoveControl(Control* control);

    LPARAM m_lastLParam = 0;
    WPARAM m_lastWParam = 0;
    int m_active = 0;
    int m_leftButton = 0;
    int m_rightButton = 0;
    int m_leftDownX = 0;
    int m_leftDownY = 0;
    int m_rightDownX = 0;
    int m_rightDownY = 0;
    int m_pointerX = 0;
    int m_pointerY = 0;
    int m_scanCode = 0;
    int m_character = 0;
    int m_repeat = 0;
    Control* m_lastClicked = nullptr;
    int m_filterMask = 0;
    int m_flushMask = 0;
    DWORD m_flushTime = 0;
    HPALETTE m_palette = nullptr;
    HWND m_window = nullptr;
    int m_controlCount = 0;
    Control** m_controls = nullptr;
    int m_controlEnable = 1;
    int m_firstPaintPending = 1;
    int m_clickActivation = 0;
    int m_created = 0;
};

void PostScreenResult(int result);
LRESULT CALLBACK ScreenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Set after a screen's first paint, cleared when a screen window closes.
extern int g_screenShown;
// The palette every screen is created with unless it is given another.
extern HPALETTE g_programPalette;
