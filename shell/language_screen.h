// The screen on which the child chooses the language by its flag.
#pragma once

#include "shell/screen.h"

class LanguageScreen : public Screen {
public:
    explicit LanguageScreen(HPALETTE palette) : Screen(nullptr, palette) {}

    // Builds the six flag buttons and the two logos.
    void OnCreate() override;
    void PaintBackground(const RECT& rect) override;
    // A flag chooses its language, plays the choice's sound and ends the
    // screen; the logos do nothing.
    void OnCommand(int id) override;

    // 0 French, 1 English, 2 German, 3 Spanish, 4 Dutch, 5 Italian; -1 until
    // a flag is clicked.
    int m_languageIndex = -1;
};
