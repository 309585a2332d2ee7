// Cut and move: the selection tool frames a part of the sheet with a dotted
// rubber band, and the click that fixes the frame hands over to a floating
// selection, a floating picture cut from the sheet under the frame.
#pragma once

#include "tools/floating_picture.h"

class SelectionTool : public ShapeTool {
public:
    explicit SelectionTool(WorkshopScreen* owner);

    // Fixes the frame, takes it off the sheet and hands over to the cut-out.
    void OnPress(int x, int y) override;
    // The hand-over query: the cut-out of the framed rectangle takes over.
    int OnCommand(int code, LPARAM value) override;
    void PlayDoneSound() override;
    void DrawShape() override;
    void UpdateExtent() override;

    // The framed rectangle: start and end point included, cut to the sheet.
    RECT SelectedRect() const;
};

// The cut-out: opaque at first; the right button makes its white parts
// transparent and back, and the magnify toggle switches it between its own
// size and a second size, larger or smaller by half.
class FloatingSelection : public FloatingPicture {
public:
    FloatingSelection(WorkshopScreen* owner, const RECT& selection);
    ~FloatingSelection() override;

    void OnRightPress(int x, int y) override;
    int OnCommand(int code, LPARAM value) override;

    HBITMAP m_alternatePicture = nullptr;
    HBITMAP m_alternateMask = nullptr;
    RECT m_alternateRect{};
    // 1 while the second size is shown.
    int m_sizeToggle = 0;

private:
    void MakeAlternate();
};
