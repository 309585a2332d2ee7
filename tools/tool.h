// The base of every drawing tool and the protocol between a tool and the
// workshop. The workshop keeps one current tool, routes the sheet's mouse,
// key, timer and idle events to it, and deletes it when another tool is
// chosen. Between OnActionStart and the tool's call of EndAction the sheet is
// clipped, the controls are deaf and every mouse move is an OnActionMove.
#pragma once

#include "platform/windows.h"

class WorkshopScreen;
class Tool;
struct Sound;

// OnCommand's notification codes.
constexpr int kToolBrushSize = -2;
constexpr int kToolHandOver = -1;
constexpr int kToolMirror = 1;
constexpr int kToolUpsideDown = 2;
constexpr int kToolMagnify = 3;

// The answer to a hand-over query: the tool that takes over, and whether the
// asking tool waits (pending) until the successor's action ends.
struct HandOverRecord {
    Tool* successor = nullptr;
    int keep = 0;
};

class Tool {
public:
    // A cursor given becomes the current one until the tool is deleted.
    Tool(WorkshopScreen* owner, HCURSOR cursor);
    virtual ~Tool();
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;

    virtual void OnActionStart(int x, int y) { OnPress(x, y); }
    virtual void OnPress(int /*x*/, int /*y*/) {}
    virtual void OnRelease(int /*x*/, int /*y*/) {}
    virtual void OnActionMove(int /*x*/, int /*y*/, int /*leftDown*/) {}
    virtual void OnHover(int /*x*/, int /*y*/, int /*leftDown*/) {}
    virtual void OnTimer(int /*timerId*/, int /*x*/, int /*y*/, int /*leftDown*/) {}
    virtual void OnChar(int /*code*/, int /*repeat*/) {}
    virtual void OnRightPress(int /*x*/, int /*y*/) {}
    virtual void OnIdle(int /*x*/, int /*y*/, int /*leftDown*/) {}
    virtual int OnCommand(int /*code*/, LPARAM /*value*/) { return 0; }

    WorkshopScreen* m_owner;
};

// The cursor the current tool set, and the one it replaced.
extern HCURSOR g_toolCursor;
extern HCURSOR g_cursorBeforeTool;

// The tools that rubber-band a figure between two points.
class ShapeTool : public Tool {
public:
    // A null sound name means no drag sound.
    ShapeTool(WorkshopScreen* owner, const char* dragSoundName);
    ~ShapeTool() override;

    virtual void PlayDoneSound();
    virtual void DrawShape() = 0;
    virtual void UpdateExtent() = 0;

    RECT m_extent{};
    int m_x0 = 0;
    int m_y0 = 0;
    int m_x1 = 0;
    int m_y1 = 0;
    DWORD m_lastDragSound = 0;
    DWORD m_dragSoundInterval = 100;
    Sound* m_dragSound = nullptr;
};
