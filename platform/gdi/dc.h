// The raster engine's shared state: surfaces and their pixel operations, device
// contexts, the object table, the one brush path, colour matching and the
// emulated display. Everything here is internal to the Windows layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/win/types.h"
#include "platform/win/gdi.h"

namespace platform::print {
struct Printer;
}

namespace platform::gdi {

struct Surface;

// One table of pixel operations per surface format, chosen when the surface is
// made. Pixel values are what the format stores: 0 or 1 at 1 bit, a colour
// table index at 8 bits, 0x00RRGGBB at 24 and 32 bits.
struct PixelOps {
    int bitsPerPixel;
    uint32_t valueMask;  // the bits a pixel value can hold
    uint32_t (*getPixel)(const Surface& surface, int x, int y);
    void (*setPixel)(Surface& surface, int x, int y, uint32_t value);
    // Reads or writes count pixel values of row y starting at x, one per uint32_t.
    void (*loadRow)(const Surface& surface, int x, int y, int count, uint32_t* values);
    void (*storeRow)(Surface& surface, int x, int y, int count, const uint32_t* values);
    // dest = (dest & andMask) ^ xorMask over [left, right) of row y.
    void (*fillMasked)(Surface& surface, int y, int left, int right, uint32_t andMask,
                       uint32_t xorMask);
};

const PixelOps& OpsFor(int bitsPerPixel);  // 1, 8, 24 or 32

// A picture in one of the engine's formats. Row 0 is the top row: RowBytes(y)
// is bits + y * stride, so a bottom-up DIB section is presented through its last
// row and a negative stride. Surfaces are not copyable (bits may point into
// storage); use CopySurface.
struct Surface {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    int stride = 0;                // bytes from row y to row y + 1, may be negative
    uint8_t* bits = nullptr;       // row 0
    std::vector<uint8_t> storage;  // owned pixels; empty when bits are external
    std::vector<RGBQUAD> colours;  // colour table for 1 and 8 bits
    bool usesSystemPalette = false;  // an 8-bit display-compatible surface
    const PixelOps* ops = nullptr;

    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    uint8_t* RowBytes(int y) { return bits + static_cast<ptrdiff_t>(y) * stride; }
    const uint8_t* RowBytes(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
    // Rows of a 32-bit surface.
    uint32_t* Row(int y) { return reinterpret_cast<uint32_t*>(RowBytes(y)); }
    const uint32_t* Row(int y) const { return reinterpret_cast<const uint32_t*>(RowBytes(y)); }
    // The colour table that gives pixel values their colours (1 and 8 bits).
    const std::vector<RGBQUAD>& ColourTable() const;
};

// Makes an owned surface, cleared to zero; a 1-bit surface gets black and white,
// an 8-bit one the system palette (usesSystemPalette). False when the size is
// out of range (width or height < 1 or > 32767) or memory is short.
[[nodiscard]] bool InitSurface(Surface& surface, int width, int height, int bitsPerPixel);
// Presents external memory (a DIB section) as a surface; bottomUp rows are
// flipped through a negative stride. The stride is rowBytes.
void AttachSurface(Surface& surface, int width, int height, int bitsPerPixel, uint8_t* memory,
                   int rowBytes, bool bottomUp);
[[nodiscard]] bool CopySurface(Surface& dest, const Surface& source);
// Bytes in one DIB row: rows are padded to 32 bits.
int DibRowBytes(int width, int bitsPerPixel);

// Colour matching without a device context: the nearest colour table entry at
// 1 and 8 bits (ties go to the lower index), the colour itself at 24 and 32.
uint32_t NearestPixel(const Surface& surface, uint32_t rgb);  // rgb is 0x00RRGGBB
uint32_t PixelToRgb(const Surface& surface, uint32_t value);  // 0x00RRGGBB
// Writes and reads one pixel as 0x00RRGGBB, for the layer's own drawing
// (message boxes) on a display of any depth. Unclipped: the caller checks bounds.
void WriteRgb(Surface& surface, int x, int y, uint32_t rgb);
uint32_t ReadRgb(const Surface& surface, int x, int y);

inline uint32_t RgbFromColorref(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF ColorrefFromRgb(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

// The object table. Handles index one table; GetObjectType answers kind.
struct GdiObject {
    virtual ~GdiObject() = default;
    int kind = 0;  // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION, OBJ_PAL
    bool stock = false;
    int selections = 0;          // device contexts that hold it selected
    bool deletePending = false;  // deleted while selected: freed when released
};

HGDIOBJ RegisterObject(std::unique_ptr<GdiObject> object);
// The objects and device contexts alive, as GetGuiResources counts them.
size_t LiveObjectCount();
GdiObject* FindObject(HGDIOBJ handle);
template <class T>
T* FindObjectOf(HGDIOBJ handle, int kind) {
    GdiObject* object = FindObject(handle);
    return object != nullptr && object->kind == kind ? static_cast<T*>(object) : nullptr;
}

struct PenObject : GdiObject {
    UINT style = PS_SOLID;  // PS_NULL for the null pen
    int width = 1;
    COLORREF colour = 0;
};

struct BrushObject : GdiObject {
    UINT style = BS_SOLID;  // BS_SOLID, BS_NULL or BS_PATTERN
    COLORREF colour = 0;
    // BS_PATTERN: a private copy of the bitmap, tiled from the brush origin. A
    // 1-bit pattern takes the text colour for 0 and the bk colour for 1.
    std::unique_ptr<Surface> pattern;
};

struct BitmapObject : GdiObject {
    Surface surface;
    bool dibSection = false;
    BITMAPINFOHEADER dibHeader{};         // for a DIB section, as created
    std::vector<uint8_t> dibMemory;       // a DIB section's bits (what the caller writes)
    HDC selectedInto = nullptr;           // a bitmap is selected into one DC at a time
};

struct PaletteObject : GdiObject {
    std::vector<PALETTEENTRY> entries;
    std::vector<int> systemIndex;  // per entry, once realised on an 8-bit display
};

// A device context is a plain struct; its handle indexes the context table.
struct DeviceContext {
    Surface* surface = nullptr;  // null for an information context
    HWND window = nullptr;
    bool memory = false;         // made by CreateCompatibleDC
    POINT origin{};              // device position of logical (0, 0)
    std::vector<RECT> clip;         // device coordinates, disjoint: where drawing lands
    std::vector<RECT> visibleClip;  // what the surface allows (the window's visible part)
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;        // null: the stock system font
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    // Owned by the DC once selected (SelectClipRgn keeps a private copy). Calling
    // SelectClipRgn(dc, dc.clipRegion) must work: it derives clip again from
    // the region and visibleClip after the window moved.
    HRGN clipRegion = nullptr;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF bkColour = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int mapMode = MM_TEXT;
    UINT textAlign = TA_LEFT | TA_TOP;
    POINT brushOrigin{};         // as SetBrushOrgEx takes it: relative to origin
    POINT currentPosition{};     // logical coordinates
    bool ownedByWindow = false;  // a CS_OWNDC context, kept from GetDC to GetDC
    // A printer context's device, owned by the context; its surface is a
    // clipped-away pixel, and only StretchDIBits reaches the page.
    print::Printer* printer = nullptr;
};

DeviceContext* LookupDC(HDC dc);
size_t LiveContextCount();
// Fills unset pen, brush and palette with the stock defaults.
HDC CreateDeviceContext(const DeviceContext& context);
void DestroyDeviceContext(HDC dc);
// Sets the visible area of a window context (on GetDC and when the window moved)
// and derives the drawing clip from it and the selected clip region.
void SetVisibleClip(HDC dc, std::vector<RECT> rects);

// Spans in device coordinates; right is exclusive.
struct Span {
    int y;
    int left;
    int right;
};

// The one brush path: clipped here to dc.clip; solid or pattern brush in the
// brush origin's phase, combined with the destination by the DC's ROP2. A null
// brush draws nothing.
void FillSpansWithBrush(DeviceContext& dc, const Span* spans, size_t count, HBRUSH brush);
// A solid colour through the ROP2 (pens use it).
void FillSpansWithColour(DeviceContext& dc, const Span* spans, size_t count, COLORREF colour);
// The same for a rectangle in device coordinates, clipped.
void FillRectWithBrush(DeviceContext& dc, const RECT& deviceRect, HBRUSH brush);

// Colour matching for a DC's surface. At 32 bits the colour itself (a
// PALETTEINDEX colour takes the selected palette's entry); at 8 bits the nearest
// colour table entry (palette-relative and plain colours alike; an index colour
// takes its index); at 1 bit a colour equal to the DC's bk colour takes the bk
// colour's pixel and every other colour the other pixel, so with the default
// white bk colour white is 1 and everything else 0. On a display-compatible
// 8-bit surface a plain RGB colour matches the twenty static colours only and a
// palette-relative one the DC's selected palette, as Windows does (without
// dithering).
uint32_t ColourToPixel(const DeviceContext& dc, COLORREF colour);
COLORREF PixelToColour(const DeviceContext& dc, uint32_t pixel);

// Blends coverage (0-255, rows pitch bytes apart) in colour at (x, y) device
// coordinates, clipped. Grey levels blend on 24 and 32 bits when antialiased;
// otherwise pixels with coverage >= 128 are set to the colour. Text ignores the
// ROP2, so this does too.
void BlendCoverage(DeviceContext& dc, int x, int y, int width, int height,
                   const uint8_t* coverage, int pitch, COLORREF colour, bool antialiased);

// Marks the display changed when dc draws on it.
void NoteDrawn(const DeviceContext& dc);

// The emulated display: an 8- or 32-bit surface, and whether it changed since
// the last frame reached the presenter. The presenter always receives 0x00RRGGBB
// rows; an 8-bit display goes through the system palette.
void InitDisplay(int width, int height, int depth);
Surface& Display();
int DisplayDepth();
void MarkDisplayDirty();
// Shows the display when it was drawn on; true when it was.
bool PresentIfDirty();

// The hardware palette of an 8-bit display: the twenty static colours at 0-9
// and 246-255, the realised palette in between.
const std::vector<RGBQUAD>& SystemPalette();

}  // namespace platform::gdi
