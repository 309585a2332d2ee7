// The comic-strip speech bubble of help mode: a rounded rectangle of wrapped
// text with a pointed tail towards a control, drawn straight onto the focus
// window and taken away by putting back the pixels it covered.
#pragma once

#include "platform/windows.h"

class HelpBubble {
public:
    // Draws the bubble at once. The text is not copied: it must outlive the
    // bubble. Without a save bitmap the bubble makes and owns one.
    HelpBubble(const RECT& anchor, const char* text, HFONT font, HBITMAP saveBitmap);
    // Puts back what the bubble covered.
    ~HelpBubble();
    HelpBubble(const HelpBubble&) = delete;
    HelpBubble& operator=(const HelpBubble&) = delete;

    const char* m_text;
    int m_length;
    HFONT m_font;
    RECT m_textBox{};
    RECT m_box{};
    HRGN m_shape = nullptr;
    int m_anchorX;
    int m_anchorY;
    HBITMAP m_saveBitmap;
    int m_ownsSaveBitmap = 0;
    HWND m_window;

private:
    void BuildShape();
    void Draw();
};

// The width at which a text of the given one-line width wraps in a window of
// the given width.
int BubbleTextWidth(int lineWidth, int windowWidth);
