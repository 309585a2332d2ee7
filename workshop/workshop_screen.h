// The workshop screen: the sheet framed by the palette of picture buttons.
// This first form shows the blank sheet on its frame; the palette, the tools
// and the command loop are added to it.
#pragma once

#include "shell/screen.h"

class WorkshopScreen : public Screen {
public:
    explicit WorkshopScreen(HPALETTE palette) : Screen(nullptr, palette) {}

    void OnStart() override;
    void PaintBackground(const RECT& rect) override;
};
