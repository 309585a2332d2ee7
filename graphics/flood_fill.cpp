#include "graphics/flood_fill.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "graphics/drawing_state.h"
#include "graphics/patterns.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"

// The pattern fill is computed directly rather than through a chain of work
// bitmaps and system flood fills. The pixels of the seed's colour become one
// bit per pixel; the connected area is found on those bits; and the ink pixels
// of the area are laid on the surface in one blit. A 32-bit surface is read and
// written straight through a DIB section. On other surfaces the system makes
// the bits, as a monochrome copy with the seed's colour as background does, and
// the last blit takes the colour where the mask is set and keeps the surface
// elsewhere.
//
// A 1-pixel frame just outside the bounds, black unless the seed's colour is
// black, keeps the work fills inside. When the seed's colour is black the frame
// is white, so the area also takes in every other black area that touches a
// framed side; the frame's left and top sides fall off the work bitmap, and so
// do not count, when the bounds' left or top is a multiple of 8.

namespace {

HBITMAP g_lentColourA = nullptr;
HBITMAP g_lentColourB = nullptr;
HBITMAP g_lentMono = nullptr;

// D ^ (S & (P ^ D)): the brush where the source is white, the surface elsewhere.
constexpr DWORD kPaintWhereSource = 0x00E20746;

// One bit per pixel, 64 pixels a word, the leftmost pixel in the lowest bit.
class BitPlane {
public:
    BitPlane(int width, int height)
        : m_width(width), m_height(height), m_words((width + 63) / 64),
          m_bits(static_cast<size_t>(m_words) * height, 0) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Words() const { return m_words; }
    uint64_t* Row(int y) { return m_bits.data() + static_cast<size_t>(y) * m_words; }
    const uint64_t* Row(int y) const { return m_bits.data() + static_cast<size_t>(y) * m_words; }
    bool Test(int x, int y) const { return (Row(y)[x >> 6] >> (x & 63)) & 1; }

private:
    int m_width;
    int m_height;
    int m_words;
    std::vector<uint64_t> m_bits;
};

uint8_t ReverseBits(uint8_t b) {
    b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

struct ByteTable {
    uint8_t reversed[256];
    ByteTable() {
        for (int i = 0; i < 256; ++i) reversed[i] = ReverseBits(static_cast<uint8_t>(i));
    }
};
const ByteTable kBytes;

int DibStride(int width) { return (width + 31) / 32 * 4; }

struct MonoDib {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

MonoDib MakeMonoDib(int width, int height) {
    MonoDib dib{};
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biWidth = width;
    dib.header.biHeight = height;  // bottom-up
    dib.header.biPlanes = 1;
    dib.header.biBitCount = 1;
    dib.header.biCompression = BI_RGB;
    dib.colours[1] = RGBQUAD{0xFF, 0xFF, 0xFF, 0};
    return dib;
}

// Reads a monochrome bitmap into a plane: 1 where the bitmap is white.
bool ReadMono(HBITMAP bitmap, BitPlane& plane) {
    const int w = plane.Width();
    const int h = plane.Height();
    const int stride = DibStride(w);
    std::vector<uint8_t> bytes(static_cast<size_t>(stride) * h);
    MonoDib dib = MakeMonoDib(w, h);
    if (GetDIBits(g_currentSurface, bitmap, 0, h, bytes.data(),
                  reinterpret_cast<BITMAPINFO*>(&dib), DIB_RGB_COLORS) != h) {
        return false;
    }
    const uint8_t flip = dib.colours[0].rgbRed != 0 ? 0xFF : 0x00;
    const uint64_t tail = (w & 63) != 0 ? (uint64_t{1} << (w & 63)) - 1 : ~uint64_t{0};
    for (int y = 0; y < h; ++y) {
        const uint8_t* from = bytes.data() + static_cast<size_t>(h - 1 - y) * stride;
        uint64_t* row = plane.Row(y);
        for (int k = 0; k < plane.Words(); ++k) {
            uint64_t word = 0;
            const int count = std::min(8, stride - 8 * k);
            for (int b = 0; b < count; ++b) {
                word |= uint64_t{kBytes.reversed[from[8 * k + b] ^ flip]} << (8 * b);
            }
            row[k] = word;
        }
        row[plane.Words() - 1] &= tail;
    }
    return true;
}

bool WriteMono(HBITMAP bitmap, const BitPlane& plane) {
    const int w = plane.Width();
    const int h = plane.Height();
    const int stride = DibStride(w);
    std::vector<uint8_t> bytes(static_cast<size_t>(stride) * h);
    for (int y = 0; y < h; ++y) {
        uint8_t* to = bytes.data() + static_cast<size_t>(h - 1 - y) * stride;
        const uint64_t* row = plane.Row(y);
        for (int k = 0; k < plane.Words(); ++k) {
            const int count = std::min(8, stride - 8 * k);
            for (int b = 0; b < count; ++b) {
                to[8 * k + b] = kBytes.reversed[static_cast<uint8_t>(row[k] >> (8 * b))];
            }
        }
    }
    const MonoDib dib = MakeMonoDib(w, h);
    return SetDIBits(g_currentSurface, bitmap, 0, h, bytes.data(),
                     reinterpret_cast<const BITMAPINFO*>(&dib), DIB_RGB_COLORS) == h;
}

// The 4-connected flood of the set bits of a plane, one whole run at a time.
class AreaFinder {
public:
    AreaFinder(const BitPlane& candidates, BitPlane& area) : m_in(candidates), m_area(area) {}

    void Push(int x, int y) { m_stack.emplace_back(x, y); }
    void Run();

private:
    bool Fillable(int x, int y) const { return m_in.Test(x, y) && !m_area.Test(x, y); }
    int RunStart(int x, int y) const;
    int RunEnd(int x, int y) const;
    void SetRun(int y, int left, int right);
    void PushRunsOf(int y, int left, int right);

    const BitPlane& m_in;
    BitPlane& m_area;
    std::vector<std::pair<int, int>> m_stack;
};

int AreaFinder::RunStart(int x, int y) const {
    const uint64_t* row = m_in.Row(y);
    int word = x >> 6;
    int bit = x & 63;
    const int ones = std::countl_one(row[word] << (63 - bit));
    if (ones <= bit) return x - ones + 1;
    while (word > 0 && row[word - 1] == ~uint64_t{0}) --word;
    return word == 0 ? 0 : word * 64 - std::countl_one(row[word - 1]);
}

int AreaFinder::RunEnd(int x, int y) const {
    const uint64_t* row = m_in.Row(y);
    int word = x >> 6;
    const int bit = x & 63;
    const int ones = std::countr_one(row[word] >> bit);
    if (ones < 64 - bit) return x + ones;
    ++word;
    while (word < m_in.Words() && row[word] == ~uint64_t{0}) ++word;
    return word == m_in.Words() ? m_in.Width() : word * 64 + std::countr_one(row[word]);
}

void AreaFinder::SetRun(int y, int left, int right) {
    uint64_t* row = m_area.Row(y);
    for (int word = left >> 6; word <= (right - 1) >> 6; ++word) {
        const int from = std::max(left - word * 64, 0);
        const int to = std::min(right - word * 64, 64);
        const uint64_t high = to == 64 ? ~uint64_t{0} : (uint64_t{1} << to) - 1;
        row[word] |= high & ~((uint64_t{1} << from) - 1);
    }
}

// Pushes the start of every fillable run of row y that meets [left, right).
void AreaFinder::PushRunsOf(int y, int left, int right) {
    if (y < 0 || y >= m_in.Height()) return;
    const uint64_t* in = m_in.Row(y);
    const uint64_t* done = m_area.Row(y);
    for (int word = left >> 6; word <= (right - 1) >> 6; ++word) {
        const int from = std::max(left - word * 64, 0);
        const int to = std::min(right - word * 64, 64);
        const uint64_t high = to == 64 ? ~uint64_t{0} : (uint64_t{1} << to) - 1;
        uint64_t open = in[word] & ~done[word] & high & ~((uint64_t{1} << from) - 1);
        while (open != 0) {
            const int bit = std::countr_zero(open);
            Push(word * 64 + bit, y);
            const int length = std::countr_one(open >> bit);
            open &= length + bit >= 64 ? 0 : ~uint64_t{0} << (bit + length);
        }
    }
}

void AreaFinder::Run() {
    while (!m_stack.empty()) {
        const auto [x, y] = m_stack.back();
        m_stack.pop_back();
        if (!Fillable(x, y)) continue;
        const int left = RunStart(x, y);
        const int right = RunEnd(x, y);
        SetRun(y, left, right);
        PushRunsOf(y - 1, left, right);
        PushRunsOf(y + 1, left, right);
    }
}

bool RowHasAny(const BitPlane& plane, int y) {
    const uint64_t* row = plane.Row(y);
    for (int k = 0; k < plane.Words(); ++k) {
        if (row[k] != 0) return true;
    }
    return false;
}

// Whether the area meets a side of the work area that has the frame beside it.
bool TouchesFrame(const BitPlane& area, bool frameLeft, bool frameTop) {
    const int w = area.Width();
    const int h = area.Height();
    if (RowHasAny(area, h - 1) || (frameTop && RowHasAny(area, 0))) return true;
    for (int y = 0; y < h; ++y) {
        if (area.Test(w - 1, y) || (frameLeft && area.Test(0, y))) return true;
    }
    return false;
}

// Adds every candidate area that touches a framed side, as the white frame
// around a black area joins them.
void JoinThroughFrame(AreaFinder& finder, const BitPlane& candidates, bool frameLeft,
                      bool frameTop) {
    const int w = candidates.Width();
    const int h = candidates.Height();
    for (int x = 0; x < w; ++x) {
        if (candidates.Test(x, h - 1)) finder.Push(x, h - 1);
        if (frameTop && candidates.Test(x, 0)) finder.Push(x, 0);
    }
    for (int y = 0; y < h; ++y) {
        if (candidates.Test(w - 1, y)) finder.Push(w - 1, y);
        if (frameLeft && candidates.Test(0, y)) finder.Push(0, y);
    }
    finder.Run();
}

// Keeps only the pattern's ink pixels of the area, with the pattern in the
// phase it has on the surface; returns the rows and columns that hold any.
RECT KeepInk(BitPlane& area, int left, int top) {
    const int pattern = g_drawingState.pattern;
    RECT box{area.Width(), area.Height(), 0, 0};
    for (int y = 0; y < area.Height(); ++y) {
        uint64_t ink = 0;
        for (int i = 0; i < 64; ++i) {
            if (IsPatternInk(pattern, left + i, top + y)) ink |= uint64_t{1} << i;
        }
        uint64_t* row = area.Row(y);
        for (int k = 0; k < area.Words(); ++k) {
            row[k] &= ink;
            if (row[k] == 0) continue;
            box.left = std::min<LONG>(box.left, k * 64 + std::countr_zero(row[k]));
            box.right = std::max<LONG>(box.right, k * 64 + 64 - std::countl_zero(row[k]));
            box.top = std::min<LONG>(box.top, y);
            box.bottom = y + 1;
        }
    }
    return box;
}

// The bits of the bounds area that have the seed's colour, through a
// monochrome copy with the surface's background colour set to it.
bool ReadSeedColour(HDC monoDc, const RECT& bounds, COLORREF seed) {
    const int w = bounds.right - bounds.left;
    const int h = bounds.bottom - bounds.top;
    const COLORREF background = SetBkColor(g_currentSurface, seed);
    const BOOL copied =
        BitBlt(monoDc, 0, 0, w, h, g_currentSurface, bounds.left, bounds.top, SRCCOPY);
    SetBkColor(g_currentSurface, background);
    return copied != FALSE;
}

// Lays the colour on the surface where the mask is white, in one blit.
void PaintThroughMask(HDC monoDc, const RECT& bounds, const RECT& box, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    if (brush == nullptr) return;
    HGDIOBJ oldBrush = SelectObject(g_currentSurface, brush);
    const COLORREF text = SetTextColor(g_currentSurface, 0);
    const COLORREF background = SetBkColor(g_currentSurface, 0xFFFFFF);
    BitBlt(g_currentSurface, bounds.left + box.left, bounds.top + box.top, box.right - box.left,
           box.bottom - box.top, monoDc, box.left, box.top, kPaintWhereSource);
    SetBkColor(g_currentSurface, background);
    SetTextColor(g_currentSurface, text);
    SelectObject(g_currentSurface, oldBrush);
    DeleteObject(brush);
}

// The monochrome work bitmap in its device context. The bitmap leaves the
// device context while its bits are read or written.
class MonoWork {
public:
    MonoWork(int width, int height)
        : m_dc(CreateCompatibleDC(g_currentSurface)), m_bitmap(CreateBitmap(width, height, 1, 1, nullptr)) {}
    ~MonoWork() {
        if (m_bitmap != nullptr) DeleteObject(m_bitmap);
        if (m_dc != nullptr) DeleteDC(m_dc);
    }
    MonoWork(const MonoWork&) = delete;
    MonoWork& operator=(const MonoWork&) = delete;

    bool Made() const { return m_dc != nullptr && m_bitmap != nullptr; }
    HDC Enter() {
        m_old = SelectObject(m_dc, m_bitmap);
        return m_dc;
    }
    void Leave() { SelectObject(m_dc, m_old); }
    HBITMAP Bitmap() const { return m_bitmap; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old = nullptr;
};

// Finds the connected area of the candidates around the seed, joining other
// areas through the frame when the seed's colour is black, and keeps its ink
// pixels; returns the box that holds them.
RECT FindInk(const BitPlane& candidates, BitPlane& area, int seedX, int seedY, const RECT& bounds,
             bool seedIsBlack) {
    AreaFinder finder(candidates, area);
    finder.Push(seedX, seedY);
    finder.Run();
    const bool frameLeft = PatternPhase(bounds.left) > 0;
    const bool frameTop = PatternPhase(bounds.top) > 0;
    if (seedIsBlack && TouchesFrame(area, frameLeft, frameTop)) {
        JoinThroughFrame(finder, candidates, frameLeft, frameTop);
    }
    return KeepInk(area, bounds.left, bounds.top);
}

// The fill through the system's monochrome conversion, for surfaces of any
// depth; false when a work object could not be made.
bool FillThroughMono(int x, int y, const RECT& bounds, COLORREF colour) {
    const int w = bounds.right - bounds.left;
    const int h = bounds.bottom - bounds.top;
    MonoWork work(w, h);
    if (!work.Made()) return false;
    const COLORREF seed = GetPixel(g_currentSurface, x, y) | kPaletteRelative;
    const bool copied = ReadSeedColour(work.Enter(), bounds, seed);
    work.Leave();
    BitPlane candidates(w, h);
    if (!copied || !ReadMono(work.Bitmap(), candidates)) return false;
    BitPlane area(w, h);
    const RECT box =
        FindInk(candidates, area, x - bounds.left, y - bounds.top, bounds, (seed & 0xFFFFFF) == 0);
    if (box.right <= box.left) return true;
    if (!WriteMono(work.Bitmap(), area)) return false;
    PaintThroughMask(work.Enter(), bounds, box, colour);
    work.Leave();
    return true;
}

bool SurfaceHas32Bits() {
    if (GetObjectType(g_currentSurface) == OBJ_MEMDC) {
        BITMAP info{};
        HGDIOBJ bitmap = GetCurrentObject(g_currentSurface, OBJ_BITMAP);
        return GetObjectA(bitmap, sizeof info, &info) != 0 && info.bmBitsPixel == 32;
    }
    return GetDeviceCaps(g_currentSurface, BITSPIXEL) == 32;
}

// A top-down 32-bit DIB section in a device context of its own.
class PixelWork {
public:
    PixelWork(int width, int height) : m_dc(CreateCompatibleDC(g_currentSurface)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(g_currentSurface, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<uint32_t*>(bits);
        m_width = width;
        if (m_dc != nullptr && m_bitmap != nullptr) m_old = SelectObject(m_dc, m_bitmap);
    }
    ~PixelWork() {
        if (m_old != nullptr) SelectObject(m_dc, m_old);
        if (m_bitmap != nullptr) DeleteObject(m_bitmap);
        if (m_dc != nullptr) DeleteDC(m_dc);
    }
    PixelWork(const PixelWork&) = delete;
    PixelWork& operator=(const PixelWork&) = delete;

    bool Made() const { return m_old != nullptr && m_bits != nullptr; }
    HDC Dc() const { return m_dc; }
    uint32_t* Row(int y) { return m_bits + static_cast<size_t>(y) * m_width; }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
    int m_width = 0;
};

// Sets bit i of the row's bits when pixel i has the value. Whole words go
// through byte flags, which the compiler turns into vector compares, and are
// packed eight at a time by one multiplication.
void MarkEqual(const uint32_t* pixels, int width, uint32_t value, uint64_t* bits) {
    for (int start = 0; start < width; start += 64) {
        const int count = std::min(64, width - start);
        const uint32_t* from = pixels + start;
        uint64_t word = 0;
        if (count == 64) {
            uint8_t flags[64];
            for (int i = 0; i < 64; ++i) flags[i] = from[i] == value ? 1 : 0;
            for (int b = 0; b < 8; ++b) {
                uint64_t eight;
                memcpy(&eight, flags + 8 * b, 8);
                word |= ((eight * 0x0102040810204080) >> 56) << (8 * b);
            }
        } else {
            for (int i = 0; i < count; ++i) word |= uint64_t{from[i] == value} << i;
        }
        bits[start >> 6] = word;
    }
}

// Writes the value into the pixels whose bits are set.
void PutInk(const uint64_t* bits, int width, uint32_t value, uint32_t* pixels) {
    for (int start = 0; start < width; start += 64) {
        const uint64_t word = bits[start >> 6];
        if (word == 0) continue;
        uint32_t* to = pixels + start;
        if (width - start >= 64) {
            for (int i = 0; i < 64; ++i) to[i] = ((word >> i) & 1) != 0 ? value : to[i];
        } else {
            for (int i = 0; i < width - start; ++i) {
                if ((word >> i) & 1) to[i] = value;
            }
        }
    }
}

// A value no pixel of a 32-bit surface has: what lies outside the surface.
constexpr uint32_t kOutside = 0xFFFFFFFF;

// The fill on a 32-bit surface, whose pixels are read and written straight:
// a pixel has the seed's colour when its value is the seed's value, exactly as
// the monochrome conversion decides.
bool FillDirectly(int x, int y, const RECT& bounds, COLORREF colour) {
    const int w = bounds.right - bounds.left;
    const int h = bounds.bottom - bounds.top;
    PixelWork pixels(w, h);
    if (!pixels.Made()) return false;
    memset(pixels.Row(0), 0xFF, static_cast<size_t>(w) * h * sizeof(uint32_t));
    BitBlt(pixels.Dc(), 0, 0, w, h, g_currentSurface, bounds.left, bounds.top, SRCCOPY);
    const uint32_t seed = pixels.Row(y - bounds.top)[x - bounds.left];
    if (seed == kOutside) return true;
    BitPlane candidates(w, h);
    for (int row = 0; row < h; ++row) MarkEqual(pixels.Row(row), w, seed, candidates.Row(row));
    BitPlane area(w, h);
    const RECT box =
        FindInk(candidates, area, x - bounds.left, y - bounds.top, bounds, (seed & 0xFFFFFF) == 0);
    if (box.right <= box.left) return true;
    const uint32_t ink = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
    for (int row = box.top; row < box.bottom; ++row) PutInk(area.Row(row), w, ink, pixels.Row(row));
    BitBlt(g_currentSurface, bounds.left + box.left, bounds.top + box.top, box.right - box.left,
           box.bottom - box.top, pixels.Dc(), box.left, box.top, SRCCOPY);
    return true;
}

}  // namespace

void LendFillBitmaps(HBITMAP colourA, HBITMAP colourB, HBITMAP mono) {
    g_lentColourA = colourA;
    g_lentColourB = colourB;
    g_lentMono = mono;
}

void FloodFill(int x, int y, COLORREF colour, const RECT* bounds) {
    SelectBrush(colour);
    if (InPatternMode()) {
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        PatternFloodFill(x, y, bounds != nullptr ? *bounds : screen, colour | kPaletteRelative);
    } else {
        const COLORREF area = GetPixel(g_currentSurface, x, y) | kPaletteRelative;
        ExtFloodFill(g_currentSurface, x, y, area, FLOODFILLSURFACE);
    }
    ReleaseBrush();
}

int PatternFloodFill(int x, int y, const RECT& bounds, COLORREF colour) {
    // The direct computation needs no colour work bitmaps; what is lent is
    // forgotten all the same.
    LendFillBitmaps(nullptr, nullptr, nullptr);
    const int w = bounds.right - bounds.left;
    const int h = bounds.bottom - bounds.top;
    if (w <= 0 || h <= 0 || x < bounds.left || x >= bounds.right || y < bounds.top ||
        y >= bounds.bottom) {
        return 0;
    }
    const bool done = SurfaceHas32Bits() ? FillDirectly(x, y, bounds, colour)
                                         : FillThroughMono(x, y, bounds, colour);
    return done ? 1 : 0;
}
