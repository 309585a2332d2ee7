// The title page: a picture and a spoken welcome, until a key or a mouse
// button is released.
#pragma once

#include "shell/screen.h"

class TitleScreen : public Screen {
public:
    explicit TitleScreen(HPALETTE palette) : Screen(nullptr, palette) {}

    // Loads the picture for the display's depth and starts the voice.
    void OnCreate() override;
    // The picture, or a plain page when the picture could not be loaded.
    void PaintBackground(const RECT& rect) override;
    void OnKeyUp(int virtualKey) override;
    void OnLButtonUp(int x, int y) override;
    void OnRButtonUp(int x, int y) override;
    void OnDestroy() override;

    HBITMAP m_picture = nullptr;

private:
    void Finish();
};
