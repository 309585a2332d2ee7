// Device contexts, the display and colour matching: the context table, memory
// and information contexts, modes, saved states and device capabilities.
#include "platform/gdi/dc.h"

#include <strings.h>

#include <algorithm>
#include <map>

#include "platform/backend/backend.h"
#include "platform/gdi/raster.h"
#include "platform/print/printer.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

Surface g_display;
int g_depth = 32;
bool g_dirty = false;
std::vector<uint32_t> g_presentBuffer;
std::vector<std::unique_ptr<DeviceContext>> g_contexts;
std::map<HDC, std::vector<DeviceContext>> g_saved;
const HDC kInformationContext = reinterpret_cast<HDC>(static_cast<uintptr_t>(0x7FFE0000));

void SelectDefaults(DeviceContext& dc) {
    if (dc.pen == nullptr) dc.pen = static_cast<HPEN>(Stock(BLACK_PEN));
    if (dc.brush == nullptr) dc.brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
    if (dc.palette == nullptr) dc.palette = static_cast<HPALETTE>(Stock(DEFAULT_PALETTE));
}

void AddSelections(const DeviceContext& dc) {
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(dc.pen), static_cast<HGDIOBJ>(dc.brush),
                      static_cast<HGDIOBJ>(dc.font), static_cast<HGDIOBJ>(dc.bitmap),
                      static_cast<HGDIOBJ>(dc.palette)}) {
        AddSelection(h);
    }
}

void DropSelections(const DeviceContext& dc) {
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(dc.pen), static_cast<HGDIOBJ>(dc.brush),
                      static_cast<HGDIOBJ>(dc.font), static_cast<HGDIOBJ>(dc.bitmap),
                      static_cast<HGDIOBJ>(dc.palette)}) {
        DropSelection(h);
    }
}

COLORREF WithoutFlags(COLORREF colour) { return colour & 0x00FFFFFF; }

}  // namespace

void InitDisplay(int width, int height, int depth) {
    // The emulated depth is what GetDeviceCaps reports; the framebuffer stores
    // 8 bits up to 256 colours and 32 bits above.
    g_depth = depth;
    const int stored = depth <= 8 ? 8 : 32;
    if (!InitSurface(g_display, width, height, stored)) {
        (void)InitSurface(g_display, 640, 480, stored);
    }
    g_dirty = true;
}

Surface& Display() {
    if (g_display.bits == nullptr) InitDisplay(640, 480, 32);
    return g_display;
}

int DisplayDepth() { return g_depth; }
void MarkDisplayDirty() { g_dirty = true; }

void NoteDrawn(const DeviceContext& dc) {
    if (dc.surface == &g_display) g_dirty = true;
}

bool PresentIfDirty() {
    if (!g_dirty) return false;
    g_dirty = false;
    Surface& display = Display();
    Backend& backend = CurrentBackend();
    if (!backend.presenter) return true;
    if (display.bitsPerPixel == 32) {
        backend.presenter->Present(display.Row(0), display.width, display.height,
                                   display.stride / 4);
        return true;
    }
    // An 8-bit display shows its indices through the hardware palette.
    uint32_t lookup[256];
    const std::vector<RGBQUAD>& table = SystemPalette();
    for (int i = 0; i < 256; ++i) {
        lookup[i] = (static_cast<uint32_t>(table[i].rgbRed) << 16) | (table[i].rgbGreen << 8) |
                    table[i].rgbBlue;
    }
    g_presentBuffer.resize(static_cast<size_t>(display.width) * display.height);
    for (int y = 0; y < display.height; ++y) {
        const uint8_t* row = display.RowBytes(y);
        uint32_t* out = g_presentBuffer.data() + static_cast<size_t>(y) * display.width;
        for (int x = 0; x < display.width; ++x) out[x] = lookup[row[x]];
    }
    backend.presenter->Present(g_presentBuffer.data(), display.width, display.height,
                               display.width);
    return true;
}

DeviceContext* LookupDC(HDC dc) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(dc);
    if (value == 0 || value > g_contexts.size()) return nullptr;
    return g_contexts[value - 1].get();
}

size_t LiveContextCount() {
    size_t count = 0;
    for (const auto& context : g_contexts) count += context != nullptr;
    return count;
}

HDC CreateDeviceContext(const DeviceContext& context) {
    auto made = std::make_unique<DeviceContext>(context);
    SelectDefaults(*made);
    if (made->visibleClip.empty()) made->visibleClip = made->clip;
    AddSelections(*made);
    for (size_t i = 0; i < g_contexts.size(); ++i) {
        if (!g_contexts[i]) {
            g_contexts[i] = std::move(made);
            return reinterpret_cast<HDC>(static_cast<uintptr_t>(i + 1));
        }
    }
    g_contexts.push_back(std::move(made));
    return reinterpret_cast<HDC>(static_cast<uintptr_t>(g_contexts.size()));
}

void DestroyDeviceContext(HDC handle) {
    DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr) return;
    if (auto saved = g_saved.find(handle); saved != g_saved.end()) {
        for (const DeviceContext& state : saved->second) DropSelections(state);
        g_saved.erase(saved);
    }
    if (BitmapObject* bitmap = FindObjectOf<BitmapObject>(dc->bitmap, OBJ_BITMAP)) {
        if (bitmap->selectedInto == handle) bitmap->selectedInto = nullptr;
    }
    DropSelections(*dc);
    if (dc->clipRegion != nullptr) DeleteObject(dc->clipRegion);
    g_contexts[reinterpret_cast<uintptr_t>(handle) - 1].reset();
}

void SetVisibleClip(HDC handle, std::vector<RECT> rects) {
    DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr) return;
    dc->visibleClip = std::move(rects);
    if (dc->clipRegion != nullptr) {
        SelectClipRgn(handle, dc->clipRegion);
    } else {
        dc->clip = dc->visibleClip;
    }
}

PaletteObject* SelectedPalette(const DeviceContext& dc) {
    PaletteObject* palette = FindObjectOf<PaletteObject>(dc.palette, OBJ_PAL);
    return palette != nullptr ? palette : FindObjectOf<PaletteObject>(Stock(DEFAULT_PALETTE), OBJ_PAL);
}

uint32_t MatchPaletteColour(const DeviceContext& dc, uint32_t rgb) {
    const Surface& surface = *dc.surface;
    if (surface.bitsPerPixel != 8 || !surface.usesSystemPalette) return NearestPixel(surface, rgb);
    // The nearest entry of the selected logical palette, where it was realised.
    const PaletteObject* palette = SelectedPalette(dc);
    if (palette == nullptr || palette->entries.empty()) return NearestPixel(surface, rgb);
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    size_t best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i < palette->entries.size(); ++i) {
        const PALETTEENTRY& e = palette->entries[i];
        const int dr = e.peRed - r, dg = e.peGreen - g, db = e.peBlue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0) break;
        }
    }
    const int index = RealisedIndex(*palette, best);
    if (index >= 0) return static_cast<uint32_t>(index);
    const PALETTEENTRY& e = palette->entries[best];
    return NearestPixel(surface, (e.peRed << 16) | (e.peGreen << 8) | e.peBlue);
}

uint32_t ColourToPixel(const DeviceContext& dc, COLORREF colour) {
    if (dc.surface == nullptr) return RgbFromColorref(colour);
    const Surface& surface = *dc.surface;
    const uint32_t flags = colour >> 24;
    if (flags == 1) {
        // PALETTEINDEX: an index into the selected logical palette.
        const PaletteObject* palette = SelectedPalette(dc);
        const size_t index = colour & 0xFFFF;
        if (palette == nullptr || index >= palette->entries.size()) return 0;
        if (surface.bitsPerPixel == 8 && surface.usesSystemPalette) {
            const int system = RealisedIndex(*palette, index);
            if (system >= 0) return static_cast<uint32_t>(system);
        }
        const PALETTEENTRY& e = palette->entries[index];
        colour = RGB(e.peRed, e.peGreen, e.peBlue);
    }
    const uint32_t rgb = RgbFromColorref(colour);
    switch (surface.bitsPerPixel) {
        case 1: {
            const uint32_t bkPixel = NearestPixel(surface, RgbFromColorref(dc.bkColour));
            return WithoutFlags(colour) == WithoutFlags(dc.bkColour) ? bkPixel : 1 - bkPixel;
        }
        case 8:
            if (!surface.usesSystemPalette) return NearestPixel(surface, rgb);
            if (flags == 2) return MatchPaletteColour(dc, rgb);
            {
                // Plain colours take the nearest static colour.
                const uint32_t index = NearestPixel(surface, rgb);
                if (index < 10 || index > 245) return index;
                uint32_t best = 0;
                int bestDistance = 1 << 30;
                const std::vector<RGBQUAD>& table = surface.ColourTable();
                for (uint32_t i : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 246u, 247u, 248u, 249u,
                                   250u, 251u, 252u, 253u, 254u, 255u}) {
                    const int dr = table[i].rgbRed - static_cast<int>((rgb >> 16) & 0xFF);
                    const int dg = table[i].rgbGreen - static_cast<int>((rgb >> 8) & 0xFF);
                    const int db = table[i].rgbBlue - static_cast<int>(rgb & 0xFF);
                    const int distance = dr * dr + dg * dg + db * db;
                    if (distance < bestDistance) {
                        bestDistance = distance;
                        best = i;
                    }
                }
                return best;
            }
        default: return rgb;
    }
}

COLORREF PixelToColour(const DeviceContext& dc, uint32_t pixel) {
    if (dc.surface == nullptr) return ColorrefFromRgb(pixel);
    return ColorrefFromRgb(PixelToRgb(*dc.surface, pixel));
}

}  // namespace platform::gdi

using namespace platform::gdi;

HDC WINAPI CreateICA(LPCSTR driver, LPCSTR, LPCSTR, const void*) {
    if (driver == nullptr || strcasecmp(driver, "DISPLAY") != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return kInformationContext;
}

HDC WINAPI CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* data) {
    if (driver != nullptr && strcasecmp(driver, "DISPLAY") == 0) return GetDC(nullptr);
    if (driver != nullptr) return platform::print::CreatePrinterContext(device);
    return CreateICA(driver, device, output, data);
}

HDC WINAPI CreateCompatibleDC(HDC dc) {
    if (dc != nullptr && dc != kInformationContext && LookupDC(dc) == nullptr) return nullptr;
    DeviceContext context;
    context.memory = true;
    context.bitmap = DefaultBitmap();
    BitmapObject* bitmap = FindObjectOf<BitmapObject>(context.bitmap, OBJ_BITMAP);
    context.surface = &bitmap->surface;
    context.clip = {RECT{0, 0, 1, 1}};
    return CreateDeviceContext(context);
}

BOOL WINAPI DeleteDC(HDC dc) {
    if (dc == kInformationContext) return TRUE;
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return FALSE;
    platform::print::Printer* printer = context->printer;
    DestroyDeviceContext(dc);
    platform::print::ClosePrinter(printer);
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC dc, int index) {
    const DeviceContext* context = LookupDC(dc);
    if (dc != kInformationContext && context == nullptr) return 0;
    if (context != nullptr && context->printer != nullptr) {
        return platform::print::DeviceCaps(context->printer->target->Page(), index);
    }
    const Surface& display = Display();
    const bool memory = context != nullptr && context->memory;
    const int depth = memory ? context->surface->bitsPerPixel : DisplayDepth();
    switch (index) {
        case HORZRES: return memory ? context->surface->width : display.width;
        case VERTRES: return memory ? context->surface->height : display.height;
        case BITSPIXEL: return depth;
        case PLANES: return 1;
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case NUMCOLORS: return depth == 1 ? 2 : depth <= 8 ? 20 : -1;
        case RASTERCAPS:
            return RC_BITBLT | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB |
                   (DisplayDepth() <= 8 ? RC_PALETTE : 0);
        case SIZEPALETTE: return DisplayDepth() <= 8 ? 256 : 0;
        case NUMRESERVED: return DisplayDepth() <= 8 ? 20 : 0;
        case COLORRES: return DisplayDepth() <= 8 ? 18 : 24;
        default: return 0;
    }
}

BOOL WINAPI GdiFlush(void) {
    PresentIfDirty();
    return TRUE;
}

int WINAPI SetMapMode(HDC dc, int mode) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return 0;
    const int previous = context->mapMode;
    context->mapMode = mode;
    return previous;
}

int WINAPI GetMapMode(HDC dc) {
    const DeviceContext* context = LookupDC(dc);
    return context != nullptr ? context->mapMode : 0;
}

BOOL WINAPI GetDCOrgEx(HDC dc, LPPOINT origin) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr || origin == nullptr) return FALSE;
    *origin = context->origin;
    return TRUE;
}

int WINAPI SaveDC(HDC dc) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return 0;
    std::vector<DeviceContext>& stack = g_saved[dc];
    stack.push_back(*context);
    stack.back().clipRegion = nullptr;
    AddSelections(stack.back());
    return static_cast<int>(stack.size());
}

BOOL WINAPI RestoreDC(HDC dc, int savedDc) {
    DeviceContext* context = LookupDC(dc);
    auto found = g_saved.find(dc);
    if (context == nullptr || found == g_saved.end()) return FALSE;
    std::vector<DeviceContext>& stack = found->second;
    const int size = static_cast<int>(stack.size());
    const int level = savedDc < 0 ? size + savedDc + 1 : savedDc;
    if (level < 1 || level > size) return FALSE;
    const DeviceContext state = stack[level - 1];
    for (int i = size - 1; i >= level - 1; --i) DropSelections(stack[i]);
    stack.resize(level - 1);
    SelectObject(dc, state.bitmap != nullptr ? state.bitmap : nullptr);
    SelectObject(dc, state.pen);
    SelectObject(dc, state.brush);
    SelectObject(dc, state.font);
    SelectPalette(dc, state.palette, FALSE);
    if (context->clipRegion != nullptr) SelectClipRgn(dc, nullptr);
    context->clip = state.clip;
    context->textColour = state.textColour;
    context->bkColour = state.bkColour;
    context->bkMode = state.bkMode;
    context->rop2 = state.rop2;
    context->stretchMode = state.stretchMode;
    context->mapMode = state.mapMode;
    context->textAlign = state.textAlign;
    context->brushOrigin = state.brushOrigin;
    context->currentPosition = state.currentPosition;
    return TRUE;
}

int WINAPI GetClipBox(HDC dc, LPRECT rect) {
    const DeviceContext* context = LookupDC(dc);
    if (context == nullptr || rect == nullptr) return ERROR;
    if (context->clip.empty()) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    RECT box = context->clip.front();
    for (const RECT& r : context->clip) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    OffsetRect(&box, -context->origin.x, -context->origin.y);
    *rect = box;
    return context->clip.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

#define DC_MODE(Setter, Getter, Type, field, valid)             \
    Type WINAPI Setter(HDC dc, Type value) {                    \
        DeviceContext* context = LookupDC(dc);                  \
        if (context == nullptr || !(valid)) return 0;           \
        const Type previous = static_cast<Type>(context->field); \
        context->field = value;                                 \
        return previous;                                        \
    }                                                           \
    Type WINAPI Getter(HDC dc) {                                \
        const DeviceContext* context = LookupDC(dc);            \
        return context != nullptr ? static_cast<Type>(context->field) : 0; \
    }

DC_MODE(SetROP2, GetROP2, int, rop2, value >= R2_BLACK && value <= R2_WHITE)
DC_MODE(SetBkMode, GetBkMode, int, bkMode, value == TRANSPARENT || value == OPAQUE)
DC_MODE(SetStretchBltMode, GetStretchBltMode, int, stretchMode, value >= 1 && value <= 4)
#undef DC_MODE

COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return CLR_INVALID;
    const COLORREF previous = context->bkColour;
    context->bkColour = colour;
    return previous;
}

COLORREF WINAPI GetBkColor(HDC dc) {
    const DeviceContext* context = LookupDC(dc);
    return context != nullptr ? context->bkColour : CLR_INVALID;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF colour) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return CLR_INVALID;
    const COLORREF previous = context->textColour;
    context->textColour = colour;
    return previous;
}

COLORREF WINAPI GetTextColor(HDC dc) {
    const DeviceContext* context = LookupDC(dc);
    return context != nullptr ? context->textColour : CLR_INVALID;
}

BOOL WINAPI SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr) return FALSE;
    if (previous != nullptr) *previous = context->brushOrigin;
    context->brushOrigin = POINT{x, y};
    return TRUE;
}

BOOL WINAPI GetBrushOrgEx(HDC dc, LPPOINT origin) {
    const DeviceContext* context = LookupDC(dc);
    if (context == nullptr || origin == nullptr) return FALSE;
    *origin = context->brushOrigin;
    return TRUE;
}
