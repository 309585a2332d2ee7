#include "graphics/blit.h"

#include "graphics/surface.h"
#include "shell/messages.h"

namespace {

DWORD g_blitRop = SRCCOPY;
int g_stretchMode = COLORONCOLOR;

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

RECT RectAt(const RECT& src, int x, int y) { return RECT{x, y, x + Width(src), y + Height(src)}; }

bool SameSize(const RECT& a, const RECT& b) {
    return Width(a) == Width(b) && Height(a) == Height(b);
}

// One plain or stretched copy with the blit raster operation.
void CopyArea(HDC dest, const RECT& dst, HDC source, const RECT& src) {
    if (SameSize(src, dst)) {
        BitBlt(dest, dst.left, dst.top, Width(dst), Height(dst), source, src.left, src.top,
               g_blitRop);
        return;
    }
    SetStretchBltMode(dest, g_stretchMode);
    StretchBlt(dest, dst.left, dst.top, Width(dst), Height(dst), source, src.left, src.top,
               Width(src), Height(src), g_blitRop);
}

// A memory device context compatible with the current surface holding the
// bitmap for the time of one copy.
class BitmapDC {
public:
    explicit BitmapDC(HBITMAP bitmap) : m_dc(CreateCompatibleDC(g_currentSurface)) {
        if (m_dc != nullptr) m_old = SelectObject(m_dc, bitmap);
    }
    ~BitmapDC() {
        if (m_dc == nullptr) return;
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;

    HDC Get() const { return m_dc; }
    // Puts another bitmap in; the first one selected goes back at the end.
    void Select(HBITMAP bitmap) { SelectObject(m_dc, bitmap); }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// Steps 3 and 4 of the transparent draw: the work becomes white under the
// mask's black, then the image is ANDed in.
void ApplyMaskAndImage(HDC work, int x, int y, BitmapDC& pictures, HBITMAP mask,
                       HBITMAP image, const RECT& src) {
    pictures.Select(mask);
    BitBlt(work, x, y, Width(src), Height(src), pictures.Get(), src.left, src.top, MERGEPAINT);
    pictures.Select(image);
    BitBlt(work, x, y, Width(src), Height(src), pictures.Get(), src.left, src.top, SRCAND);
}

// Swaps pairs of one-pixel columns (or rows) of the bitmap, moving inwards from
// the first and the last, through a work bitmap of one column (or row).
void SwapLines(HBITMAP bitmap, const RECT* rect, bool columns) {
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) == 0) {
        ShowMessage(18, kWarning, 212);
        return;
    }
    const RECT area = rect != nullptr ? *rect : RECT{0, 0, info.bmWidth, info.bmHeight};
    const int w = Width(area);
    const int h = Height(area);
    if ((columns ? w : h) < 2 || (columns ? h : w) < 1) return;
    HBITMAP work = CreateBitmap(columns ? 1 : w, columns ? h : 1, info.bmPlanes,
                                info.bmBitsPixel, nullptr);
    if (work == nullptr) {
        ShowMessage(18, kWarning, 213);
        return;
    }
    {
        BitmapDC picture(bitmap);
        BitmapDC line(work);
        if (picture.Get() == nullptr || line.Get() == nullptr) {
            ShowMessage(18, kWarning, 214);
        } else {
            HDC p = picture.Get();
            HDC l = line.Get();
            bool failed = false;
            const int count = (columns ? w : h) / 2;
            const int lw = columns ? 1 : w;
            const int lh = columns ? h : 1;
            for (int k = 0; k < count; ++k) {
                const int ix = columns ? area.left + k : area.left;
                const int iy = columns ? area.top : area.top + k;
                const int jx = columns ? area.left + w - 1 - k : area.left;
                const int jy = columns ? area.top : area.top + h - 1 - k;
                failed |= !BitBlt(l, 0, 0, lw, lh, p, ix, iy, SRCCOPY);
                failed |= !BitBlt(p, ix, iy, lw, lh, p, jx, jy, SRCCOPY);
                failed |= !BitBlt(p, jx, jy, lw, lh, l, 0, 0, SRCCOPY);
            }
            if (failed) ShowMessage(18, kWarning, 215);
        }
    }
    DeleteObject(work);
}

}  // namespace

DWORD SetBlitRasterOp(DWORD rop) {
    const DWORD previous = g_blitRop;
    g_blitRop = rop;
    return previous;
}

int SetBlitStretchMode(int mode) {
    const int previous = g_stretchMode;
    g_stretchMode = mode;
    return previous;
}

void CopySurfaceToBitmap(const RECT& src, HBITMAP bitmap, const RECT& dst) {
    BitmapDC dest(bitmap);
    if (dest.Get() == nullptr) {
        ShowMessage(18, kFatal, 204);
        return;
    }
    if (SameSize(src, dst)) {
        CopyArea(dest.Get(), dst, g_currentSurface, src);
        return;
    }
    HPALETTE old = SelectPalette(dest.Get(), PaletteForSurfaces(), FALSE);
    CopyArea(dest.Get(), dst, g_currentSurface, src);
    SelectPalette(dest.Get(), old, FALSE);
}

void CopySurfaceToBitmapAt(const RECT& src, HBITMAP bitmap, int x, int y) {
    CopySurfaceToBitmap(src, bitmap, RectAt(src, x, y));
}

HBITMAP GrabSurfaceRect(const RECT& rect) {
    HBITMAP bitmap = CreateSurfaceBitmap(rect, 0);
    if (bitmap != nullptr) CopySurfaceToBitmapAt(rect, bitmap, 0, 0);
    return bitmap;
}

void DrawBitmapRect(HBITMAP bitmap, const RECT& src, const RECT& dst) {
    BitmapDC source(bitmap);
    if (source.Get() == nullptr) {
        ShowMessage(18, kFatal, 205);
        return;
    }
    CopyArea(g_currentSurface, dst, source.Get(), src);
}

void DrawBitmapRectAt(HBITMAP bitmap, const RECT& src, int x, int y) {
    DrawBitmapRect(bitmap, src, RectAt(src, x, y));
}

void DrawBitmapAt(HBITMAP bitmap, int x, int y) {
    RECT whole;
    GetBitmapRect(bitmap, whole);
    DrawBitmapRectAt(bitmap, whole, x, y);
}

void CopyBitmapRect(HBITMAP source, const RECT& src, HBITMAP dest, const RECT& dst) {
    if (source == dest) {
        BitmapDC both(source);
        if (both.Get() == nullptr) {
            ShowMessage(18, kFatal, 211);
            return;
        }
        CopyArea(both.Get(), dst, both.Get(), src);
        return;
    }
    BitmapDC from(source);
    BitmapDC to(dest);
    if (from.Get() == nullptr || to.Get() == nullptr) {
        ShowMessage(18, kFatal, 211);
        return;
    }
    CopyArea(to.Get(), dst, from.Get(), src);
}

void CopyBitmapRectAt(HBITMAP source, const RECT& src, HBITMAP dest, int x, int y) {
    CopyBitmapRect(source, src, dest, RectAt(src, x, y));
}

void DrawMaskedRectAt(HBITMAP image, HBITMAP mask, const RECT& src, int x, int y) {
    const int w = Width(src);
    const int h = Height(src);
    HDC workDc = CreateCompatibleDC(g_currentSurface);
    if (workDc == nullptr) {
        ShowMessage(18, kFatal, 206);
        return;
    }
    HBITMAP work = CreateCompatibleBitmap(g_currentSurface, w, h);
    if (work == nullptr) {
        DeleteDC(workDc);
        ShowMessage(18, kFatal, 207);
        return;
    }
    HGDIOBJ oldWork = SelectObject(workDc, work);
    {
        BitmapDC pictures(mask);
        if (pictures.Get() == nullptr) {
            ShowMessage(18, kFatal, 208);
        } else {
            BitBlt(workDc, 0, 0, w, h, g_currentSurface, x, y, SRCCOPY);
            ApplyMaskAndImage(workDc, 0, 0, pictures, mask, image, src);
            BitBlt(g_currentSurface, x, y, w, h, workDc, 0, 0, SRCCOPY);
        }
    }
    SelectObject(workDc, oldWork);
    DeleteObject(work);
    DeleteDC(workDc);
}

void DrawMaskedAt(HBITMAP image, HBITMAP mask, int x, int y) {
    RECT whole;
    GetBitmapRect(image, whole);
    DrawMaskedRectAt(image, mask, whole, x, y);
}

void MaskCopyBitmapRectAt(HBITMAP image, HBITMAP mask, const RECT& src, HBITMAP dest, int x,
                          int y) {
    BitmapDC to(dest);
    BitmapDC pictures(mask);
    if (to.Get() == nullptr || pictures.Get() == nullptr) {
        ShowMessage(18, kFatal, 211);
        return;
    }
    ApplyMaskAndImage(to.Get(), x, y, pictures, mask, image, src);
}

HBITMAP MakeMaskFromBitmap(HBITMAP bitmap) {
    RECT whole;
    GetBitmapRect(bitmap, whole);
    HBITMAP mask = CreateMonoBitmap(whole, 0);
    if (mask != nullptr) CopyBitmapRectAt(bitmap, whole, mask, 0, 0);
    return mask;
}

void MirrorBitmap(HBITMAP bitmap, const RECT* rect) { SwapLines(bitmap, rect, true); }

void FlipBitmap(HBITMAP bitmap, const RECT* rect) { SwapLines(bitmap, rect, false); }
