// The eraser brings back the background picture (the blank paper, or the
// drawing as it was loaded) under a square that follows the pointer.
#pragma once

#include "tools/tool.h"

class EraserTool : public Tool {
public:
    explicit EraserTool(WorkshopScreen* owner);
    ~EraserTool() override;
    void OnActionStart(int x, int y) override;
    void OnActionMove(int x, int y, int leftDown) override;
    void OnRelease(int x, int y) override;
    int OnCommand(int code, LPARAM value) override;

    Sound* m_sound = nullptr;
    int m_width = 4;
    int m_height = 4;

private:
    void EraseAt(int x, int y);
};
