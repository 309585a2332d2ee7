#include "tools/floating_picture.h"

#include <initializer_list>

#include "graphics/blit.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/sound.h"
#include "workshop/workshop_screen.h"

namespace {

// The part of a window rectangle that lies on the sheet.
RECT OnSheet(const RECT& rect) {
    RECT cut{};
    IntersectRect(&cut, &rect, &kSheetRect);
    return cut;
}

// A window rectangle in the sheet's own coordinates.
RECT InSheet(const RECT& rect) {
    RECT moved = rect;
    OffsetRect(&moved, -kSheetRect.left, -kSheetRect.top);
    return moved;
}

}  // namespace

FloatingPicture::FloatingPicture(WorkshopScreen* owner, HCURSOR cursor) : Tool(owner, cursor) {
    g_workshop.heldStamp = 1;
}

FloatingPicture::~FloatingPicture() {
    // A picture still on the screen would leave the cursor hidden for good.
    Hide();
    g_workshop.heldStamp = 0;
    FreeControls();
}

void FloatingPicture::SetPicture(HBITMAP picture, HBITMAP mask) {
    m_picture = picture;
    m_mask = mask;
    if (picture != nullptr) GetBitmapRect(picture, m_pictureRect);
    else m_pictureRect = RECT{};
    m_hotSpot = POINT{m_pictureRect.right / 2, m_pictureRect.bottom / 2};
}

RECT FloatingPicture::PlacedAt(int x, int y) const {
    const int left = x - m_hotSpot.x;
    const int top = y - m_hotSpot.y;
    return RECT{left, top, left + m_pictureRect.right, top + m_pictureRect.bottom};
}

void FloatingPicture::FreeControls() {
    if (m_controlsFree) return;
    ++m_owner->m_controlEnable;
    m_controlsFree = 1;
}

void FloatingPicture::OnHover(int x, int y, int /*leftDown*/) {
    if (m_picture == nullptr) return;
    const RECT rect = PlacedAt(x, y);
    GetWindowSurface(m_owner->m_window);
    ClipToRect(kSheetRect);
    const POINT point{x, y};
    if (!PtInRect(&kSheetRect, point)) {
        FreeControls();
        if (m_shown) {
            Erase();
            ShowCursor(TRUE);
            m_shown = 0;
        }
    } else {
        if (m_controlsFree) {
            --m_owner->m_controlEnable;
            m_controlsFree = 0;
        }
        if (!m_shown) {
            ShowCursor(FALSE);
            CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
            DrawPicture(rect);
            m_shown = 1;
        } else {
            MovePicture(rect);
        }
    }
    m_lastRect = rect;
    ClearClip();
    ReleaseWindowSurface();
}

void FloatingPicture::DrawPicture(const RECT& rect) {
    if (m_masked && m_mask != nullptr) DrawMaskedAt(m_picture, m_mask, rect.left, rect.top);
    else DrawBitmapAt(m_picture, rect.left, rect.top);
}

// The clean sheet under both places and the picture at the new one are
// composed in the screen buffer, and reach the window in one draw.
void FloatingPicture::MovePicture(const RECT& rect) {
    RECT both;
    UnionRect(&both, &m_lastRect, &rect);
    both = OnSheet(both);
    if (IsRectEmpty(&both)) return;
    CopyBitmapRectAt(g_scratchPicture, InSheet(both), g_screenBuffer, both.left, both.top);
    if (m_masked && m_mask != nullptr) {
        MaskCopyBitmapRectAt(m_picture, m_mask, m_pictureRect, g_screenBuffer, rect.left, rect.top);
    } else {
        CopyBitmapRectAt(m_picture, m_pictureRect, g_screenBuffer, rect.left, rect.top);
    }
    DrawBitmapRectAt(g_screenBuffer, both, both.left, both.top);
}

void FloatingPicture::Erase() {
    const RECT shown = OnSheet(m_lastRect);
    if (IsRectEmpty(&shown)) return;
    DrawBitmapRectAt(g_scratchPicture, InSheet(shown), shown.left, shown.top);
}

void FloatingPicture::Hide() {
    if (!m_shown) return;
    GetWindowSurface(m_owner->m_window);
    Erase();
    ReleaseWindowSurface();
    ShowCursor(TRUE);
    m_shown = 0;
}

// The workshop has copied the sheet, with the floating picture on it, into
// the undo picture; the sheet under the picture goes there instead, so that
// undo takes back only the drop.
void FloatingPicture::OnActionStart(int x, int y) {
    // A click that came without a move first shows the picture where it is.
    if (!m_shown) OnHover(x, y, 1);
    PlaySoundFile("Kook", SND_ASYNC);
    if (m_shown) {
        GetWindowSurface(m_owner->m_window);
        const RECT under = OnSheet(m_lastRect);
        if (!IsRectEmpty(&under)) {
            const RECT source = InSheet(under);
            CopyBitmapRectAt(g_scratchPicture, source, g_undoPicture, source.left, source.top);
        }
        ReleaseWindowSurface();
        m_shown = 0;
        ShowCursor(TRUE);
    }
    m_owner->EndAction();
}

int FloatingPicture::OnCommand(int code, LPARAM /*value*/) {
    if (code != kToolMirror && code != kToolUpsideDown) return 0;
    if (m_picture == nullptr) return 0;
    GetWindowSurface(m_owner->m_window);
    for (HBITMAP bitmap : {m_mask, m_picture}) {
        if (bitmap == nullptr) continue;
        if (code == kToolMirror) MirrorBitmap(bitmap, nullptr);
        else FlipBitmap(bitmap, nullptr);
    }
    ReleaseWindowSurface();
    return 0;
}
