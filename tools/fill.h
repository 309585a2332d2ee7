// The paint can: fills the connected area of one colour under the click with
// the current colour, plain or in the current pattern. Black outlines are
// never filled.
#pragma once

#include "tools/tool.h"

class FillTool : public Tool {
public:
    explicit FillTool(WorkshopScreen* owner);
    void OnActionStart(int x, int y) override;
};
