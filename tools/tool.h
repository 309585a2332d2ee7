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

// The cursor that the drawing cursor of a figure replaced while the figure
// follows the pointer.
extern HCURSOR g_cursorBeforeFigure;

// The tools that rubber-band a figure between two points: a press starts the
// figure, dragging stretches it, and after the release it still follows the
// pointer until the next click fixes it. Each figure is composed off-screen in
// the screen buffer over the sheet's clean copy in the scratch picture, and
// reaches the window in one blit.
class ShapeTool : public Tool {
public:
    // A null sound name means no drag sound.
    ShapeTool(WorkshopScreen* owner, const char* dragSoundName);
    ~ShapeTool() override;

    void OnActionStart(int x, int y) override;
    void OnActionMove(int x, int y, int leftDown) override;
    void OnRelease(int x, int y) override;
    void OnPress(int x, int y) override;

    virtual void PlayDoneSound();
    // Draws the figure on the current surface.
    virtual void DrawShape() = 0;
    // The extent: the figure rectangle enlarged by the brush width.
    virtual void UpdateExtent();

    RECT m_extent{};
    int m_x0 = 0;
    int m_y0 = 0;
    int m_x1 = 0;
    int m_y1 = 0;
    DWORD m_lastDragSound = 0;
    DWORD m_dragSoundInterval = 100;
    Sound* m_dragSound = nullptr;

protected:
    // Moves the end point to (x, y) and redraws the union of the old and the
    // new extent through the screen buffer; the window surface is acquired.
    void RedrawTo(int x, int y);
    // The figure rectangle of the start and end points, both included.
    RECT FigureRect() const;
};
