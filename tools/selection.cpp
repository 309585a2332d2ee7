#include "tools/selection.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "graphics/blit.h"
#include "graphics/drawing_state.h"
#include "graphics/regions.h"
#include "graphics/shapes.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/sound.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr int kDottedPen = PS_DOT;

}  // namespace

SelectionTool::SelectionTool(WorkshopScreen* owner) : ShapeTool(owner, "Ticbel2") {}

void SelectionTool::PlayDoneSound() { PlaySoundFile("Pshit", SND_ASYNC); }

RECT SelectionTool::SelectedRect() const {
    RECT rect;
    RectFromPoints(rect, m_x0, m_y0, m_x1, m_y1);
    RECT cut{};
    IntersectRect(&cut, &rect, &kSheetRect);
    return cut;
}

void SelectionTool::UpdateExtent() {
    RectFromPoints(m_extent, m_x0, m_y0, m_x1, m_y1);
    InflateRect(&m_extent, g_workshop.brushWidth, g_workshop.brushWidth);
}

// White dots over inverted gaps: the frame shows on any picture.
void SelectionTool::DrawShape() {
    const RECT rect = SelectedRect();
    if (IsRectEmpty(&rect)) return;
    const int width = SetPenWidth(1);
    const int style = SetPenStyle(kDottedPen);
    const COLORREF background = SetTextBackground(0);
    const int mode = SetDrawingMode(R2_NOT);
    FrameRectangle(rect, 0xFFFFFF);
    SetDrawingMode(kPatternMode);
    FrameRectangle(rect, 0xFFFFFF);
    SetDrawingMode(mode);
    SetTextBackground(background);
    SetPenStyle(style);
    SetPenWidth(width);
}

void SelectionTool::OnPress(int x, int y) {
    ShapeTool::OnPress(x, y);
    m_x1 = x;
    m_y1 = y;
    const RECT rect = SelectedRect();
    if (!IsRectEmpty(&rect)) {
        // The undo picture still holds the sheet without the frame.
        RECT source = rect;
        OffsetRect(&source, -kSheetRect.left, -kSheetRect.top);
        GetWindowSurface(m_owner->m_window);
        DrawBitmapRectAt(g_undoPicture, source, rect.left, rect.top);
        ReleaseWindowSurface();
    }
    m_owner->HandOver();
}

int SelectionTool::OnCommand(int code, LPARAM value) {
    if (code != kToolHandOver) return 0;
    auto* record = reinterpret_cast<HandOverRecord*>(value);
    const RECT rect = SelectedRect();
    record->successor = IsRectEmpty(&rect) ? nullptr : new FloatingSelection(m_owner, rect);
    record->keep = 0;
    return 1;
}

FloatingSelection::FloatingSelection(WorkshopScreen* owner, const RECT& selection)
    : FloatingPicture(owner, nullptr) {
    GetWindowSurface(owner->m_window);
    HBITMAP picture = GrabSurfaceRect(selection);
    HBITMAP mask = picture != nullptr ? MakeMaskFromBitmap(picture) : nullptr;
    ReleaseWindowSurface();
    SetPicture(picture, mask);
    m_masked = 0;
}

FloatingSelection::~FloatingSelection() {
    for (HBITMAP bitmap : {m_picture, m_mask, m_alternatePicture, m_alternateMask}) {
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
}

void FloatingSelection::OnRightPress(int x, int y) {
    m_masked = 1 - m_masked;
    OnHover(x, y, 0);
}

// The second size is half as large again when the magnify toggle has just
// been switched on, and two thirds of the size when it has been switched off.
void FloatingSelection::MakeAlternate() {
    const int w = m_pictureRect.right;
    const int h = m_pictureRect.bottom;
    const bool larger = g_workshop.magnify != 0;
    const int w2 = std::max(1, larger ? 3 * w / 2 : 2 * w / 3);
    const int h2 = std::max(1, larger ? 3 * h / 2 : 2 * h / 3);
    m_alternateRect = RECT{0, 0, w2, h2};
    GetWindowSurface(m_owner->m_window);
    m_alternatePicture = CreateSurfaceBitmap(m_alternateRect, 0);
    m_alternateMask = CreateMonoBitmap(m_alternateRect, 0);
    if (m_alternatePicture != nullptr) {
        CopyBitmapRect(m_picture, m_pictureRect, m_alternatePicture, m_alternateRect);
    }
    if (m_alternateMask != nullptr && m_mask != nullptr) {
        CopyBitmapRect(m_mask, m_pictureRect, m_alternateMask, m_alternateRect);
    }
    ReleaseWindowSurface();
}

int FloatingSelection::OnCommand(int code, LPARAM value) {
    if (code == kToolMagnify && m_picture != nullptr) {
        m_sizeToggle ^= 1;
        if (m_sizeToggle && m_alternatePicture == nullptr) MakeAlternate();
        if (m_alternatePicture == nullptr || m_alternateMask == nullptr) return 0;
        std::swap(m_picture, m_alternatePicture);
        std::swap(m_mask, m_alternateMask);
        std::swap(m_pictureRect, m_alternateRect);
        OnHover(m_owner->m_pointerX, m_owner->m_pointerY, 0);
        return 0;
    }
    const int result = FloatingPicture::OnCommand(code, value);
    // The other size turns with the shown one, so that a later size toggle
    // keeps the turn.
    if ((code == kToolMirror || code == kToolUpsideDown) && m_alternatePicture != nullptr) {
        std::swap(m_picture, m_alternatePicture);
        std::swap(m_mask, m_alternateMask);
        FloatingPicture::OnCommand(code, value);
        std::swap(m_picture, m_alternatePicture);
        std::swap(m_mask, m_alternateMask);
    }
    return result;
}
