#include "controls/help_bubble.h"

#include <algorithm>
#include <cstring>

#include "graphics/blit.h"
#include "graphics/drawing_state.h"
#include "graphics/regions.h"
#include "graphics/surface.h"
#include "graphics/text.h"
#include "shell/mainwindow.h"

namespace {

constexpr int kMargin = 16;
constexpr int kCorner = 32;
constexpr int kWindowMargin = 4;
constexpr int kMaxTextWidth = 512;
// The tail: its far corners lie this far across and down (or up) from the
// anchor; the bubble starts a little short of them vertically when it hangs
// above the anchor.
constexpr int kTailReach = 50;
constexpr int kTailNear = 38;
constexpr int kGapAbove = 48;

}  // namespace

int BubbleTextWidth(int lineWidth, int windowWidth) {
    if (lineWidth <= windowWidth / 4) return lineWidth;
    if (lineWidth > windowWidth / 2) return std::min(lineWidth / 3, kMaxTextWidth);
    return 2 * (lineWidth / 3);
}

HelpBubble::HelpBubble(const RECT& anchor, const char* text, HFONT font, HBITMAP saveBitmap)
    : m_text(text),
      m_length(static_cast<int>(strlen(text))),
      m_font(font),
      m_anchorX(anchor.left + (anchor.right - anchor.left) / 2),
      m_anchorY(anchor.top + (anchor.bottom - anchor.top) / 2),
      m_saveBitmap(saveBitmap),
      m_window(g_focusWindow) {
    GetWindowSurface(m_window);
    HFONT previous = SelectTextFont(m_font);
    BuildShape();
    GetRgnBox(m_shape, &m_box);
    if (m_saveBitmap == nullptr) {
        m_saveBitmap = CreateSurfaceBitmap(m_box, 0);
        m_ownsSaveBitmap = 1;
    }
    SelectTextFont(previous);
    ReleaseWindowSurface();
    Draw();
}

HelpBubble::~HelpBubble() {
    GetWindowSurface(m_window);
    const RECT saved{0, 0, m_box.right - m_box.left, m_box.bottom - m_box.top};
    DrawBitmapRectAt(m_saveBitmap, saved, m_box.left, m_box.top);
    ReleaseWindowSurface();
    DeleteObject(m_shape);
    if (m_ownsSaveBitmap) DeleteObject(m_saveBitmap);
}

// On the window's surface with the bubble font selected.
void HelpBubble::BuildShape() {
    RECT client{};
    GetClientRect(m_window, &client);
    const int W = client.right - client.left;
    const int H = client.bottom - client.top;
    const int width = BubbleTextWidth(TextWidth(m_text, m_length), W);
    RECT box{0, 0, width, 0};
    MeasureText(m_text, m_length, box);
    InflateRect(&box, kMargin, kMargin);
    const int bubbleWidth = box.right - box.left;
    const int bubbleHeight = box.bottom - box.top;

    // Away from the anchor, towards the middle of the window.
    const int x = m_anchorX;
    const int y = m_anchorY;
    const bool right = x >= W / 2;
    const bool below = y >= H / 2;
    const int across = right ? -1 : 1;
    const int down = below ? -1 : 1;
    const int left = right ? x - bubbleWidth : x;
    const int top = below ? y - kGapAbove - bubbleHeight : y + kTailReach;
    SetRect(&box, left, top, left + bubbleWidth, top + bubbleHeight);
    if (box.left < kWindowMargin) OffsetRect(&box, kWindowMargin - box.left, 0);
    if (box.right > W - kWindowMargin) OffsetRect(&box, W - kWindowMargin - box.right, 0);

    const POINT tail[4] = {{x, y},
                           {x + across * kTailReach, y + down * kTailReach},
                           {x + across * kTailNear, y + down * kTailReach},
                           {x, y}};
    m_shape = MakeRoundRectRegion(box, kCorner, kCorner);
    HRGN tailRegion = CreatePolygonRgn(tail, 4, ALTERNATE);
    UniteRegions(m_shape, tailRegion, m_shape);
    DeleteObject(tailRegion);
    InflateRect(&box, -kMargin, -kMargin);
    m_textBox = box;
}

void HelpBubble::Draw() {
    GetWindowSurface(m_window);
    CopySurfaceToBitmapAt(m_box, m_saveBitmap, 0, 0);
    HFONT previous = SelectTextFont(m_font);
    FillRegion(m_shape, RGB(255, 255, 255));
    SetPenWidth(2);
    FrameRegion(m_shape, RGB(0, 0, 0));
    SetPenWidth(1);
    g_drawingState.fillColour = RGB(0, 0, 0);
    DrawTextInRect(m_text, m_length, m_textBox, 0);
    SelectTextFont(previous);
    ReleaseWindowSurface();
}
