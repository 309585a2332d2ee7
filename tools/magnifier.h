// The magnifier: an inverted frame shows the area that a press enlarges over
// the whole sheet; the child then paints whole enlarged pixels in the current
// colour, and the right button puts back the pixels as they were. Leaving the
// tool shrinks the enlarged sheet back into its place in the drawing.
//
// While the sheet is zoomed the true drawing lives only in the scratch
// picture, so the workshop puts the magnifier away (the brush takes over)
// before any command that needs the true drawing.
#pragma once

#include "tools/tool.h"

// The zoom factor, 8, 4 or 16: each source pixel becomes a cell of zoom x
// zoom pixels. It stays from one magnifier to the next.
extern int g_magnifierZoom;

// The zoom factor that follows zoom when the right button steps it.
int NextMagnifierZoom(int zoom);

// The area of the zoom's size around the pointer, kept inside the sheet, in
// sheet coordinates: what a press at that frame enlarges.
RECT ClampedSource(const RECT& frame);

class MagnifierTool : public Tool {
public:
    explicit MagnifierTool(WorkshopScreen* owner);
    ~MagnifierTool() override;
    void OnActionStart(int x, int y) override;
    void OnPress(int x, int y) override;
    void OnRelease(int x, int y) override;
    void OnActionMove(int x, int y, int leftDown) override;
    void OnHover(int x, int y, int leftDown) override;
    void OnRightPress(int x, int y) override;

    // The steps of zooming in and out without their sound and rings: the
    // sheet kept in the scratch picture and the source stretched over the
    // sheet; the edited sheet shrunk back into its place.
    void Enlarge();
    void ShrinkBack();
    // Paints the enlarged pixel (the cell of the zoom grid) under (x, y).
    void PaintCell(int x, int y, COLORREF colour);

    // Window coordinates while the frame follows the pointer, sheet
    // coordinates once zoomed.
    RECT m_source{};
    int m_frameShown = 0;
    int m_notZoomed = 1;
    int m_paintingAllowed = 0;
    Sound* m_sound = nullptr;
    RECT m_drawnFrame{};
    // 0 while the tool holds the owner's control-enable counter one lower.
    int m_counterUntouched = 1;

private:
    void FollowFrame(int x, int y);
    void InvertFrame(const RECT& rect);
    void ZoomIn();
    void ZoomOut();
    void PutBack(int x, int y);
    void HoldCounter();
    void ReleaseCounter();
};
