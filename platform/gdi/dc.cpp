// Device contexts, the display framebuffer, stock objects, solid brushes and
// palettes: the part of GDI that start-up and window painting need.
#include "platform/gdi/dc.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/backend/backend.h"
#include "platform/user/desktop.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

enum class Kind : uintptr_t { Brush = 1, Pen = 2, Palette = 3 };

struct Object {
    Kind kind;
    COLORREF colour = 0;
    bool null = false;
    bool stock = false;
    std::vector<PALETTEENTRY> entries = {};
};

Surface g_display;
int g_depth = 32;
bool g_dirty = false;
std::vector<std::unique_ptr<DeviceContext>> g_contexts;
std::vector<std::unique_ptr<Object>> g_objects;
HDC g_informationContext = reinterpret_cast<HDC>(static_cast<uintptr_t>(0x7FFE0000));

HGDIOBJ MakeObject(Object object) {
    g_objects.push_back(std::make_unique<Object>(std::move(object)));
    return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0x10000 + g_objects.size()));
}

Object* FindObject(HGDIOBJ handle) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value <= 0x10000 || value - 0x10000 > g_objects.size()) return nullptr;
    return g_objects[value - 0x10001].get();
}

HGDIOBJ StockObject(int index) {
    static HGDIOBJ stock[16] = {};
    if (index < 0 || index > 15) return nullptr;
    if (stock[index] == nullptr) {
        Object object{Kind::Brush, 0, false, false, {}};
        object.stock = true;
        switch (index) {
            case WHITE_BRUSH: object.colour = RGB(255, 255, 255); break;
            case LTGRAY_BRUSH: object.colour = RGB(192, 192, 192); break;
            case GRAY_BRUSH: object.colour = RGB(128, 128, 128); break;
            case DKGRAY_BRUSH: object.colour = RGB(64, 64, 64); break;
            case BLACK_BRUSH: object.colour = RGB(0, 0, 0); break;
            case NULL_BRUSH: object.null = true; break;
            case WHITE_PEN: object.kind = Kind::Pen; object.colour = RGB(255, 255, 255); break;
            case BLACK_PEN: object.kind = Kind::Pen; break;
            case NULL_PEN: object.kind = Kind::Pen; object.null = true; break;
            case DEFAULT_PALETTE: object.kind = Kind::Palette; break;
            default: return nullptr;
        }
        stock[index] = MakeObject(object);
    }
    return stock[index];
}

}  // namespace

void InitDisplay(int width, int height, int depth) {
    g_display.width = width;
    g_display.height = height;
    g_display.pixels.assign(static_cast<size_t>(width) * height, 0);
    g_depth = depth;
    g_dirty = true;
}

Surface& Display() {
    if (g_display.pixels.empty()) InitDisplay(640, 480, 32);
    return g_display;
}

int DisplayDepth() { return g_depth; }
void MarkDisplayDirty() { g_dirty = true; }

void PresentIfDirty() {
    if (!g_dirty) return;
    g_dirty = false;
    Surface& display = Display();
    Backend& backend = CurrentBackend();
    if (backend.presenter) {
        backend.presenter->Present(display.pixels.data(), display.width, display.height,
                                   display.width);
    }
}

DeviceContext* LookupDC(HDC dc) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(dc);
    if (value == 0 || value > g_contexts.size()) return nullptr;
    return g_contexts[value - 1].get();
}

HDC CreateDeviceContext(const DeviceContext& context) {
    for (size_t i = 0; i < g_contexts.size(); ++i) {
        if (!g_contexts[i]) {
            g_contexts[i] = std::make_unique<DeviceContext>(context);
            return reinterpret_cast<HDC>(static_cast<uintptr_t>(i + 1));
        }
    }
    g_contexts.push_back(std::make_unique<DeviceContext>(context));
    return reinterpret_cast<HDC>(static_cast<uintptr_t>(g_contexts.size()));
}

void DestroyDeviceContext(HDC dc) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(dc);
    if (value == 0 || value > g_contexts.size()) return;
    g_contexts[value - 1].reset();
}

void FillSurfaceRect(DeviceContext& context, RECT rect, uint32_t pixel) {
    if (context.surface == nullptr) return;
    for (const RECT& clip : context.clip) {
        RECT part;
        if (!user::Intersect(part, rect, clip)) continue;
        for (int y = part.top; y < part.bottom; ++y) {
            std::fill_n(context.surface->Row(y) + part.left, part.right - part.left, pixel);
        }
        if (context.surface == &g_display) g_dirty = true;
    }
}

}  // namespace platform::gdi

using namespace platform::gdi;

HDC WINAPI CreateICA(LPCSTR driver, LPCSTR, LPCSTR, const void*) {
    if (driver == nullptr || strcasecmp(driver, "DISPLAY") != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return g_informationContext;
}

HDC WINAPI CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* data) {
    if (driver != nullptr && strcasecmp(driver, "DISPLAY") == 0) return GetDC(nullptr);
    return CreateICA(driver, device, output, data);
}

BOOL WINAPI DeleteDC(HDC dc) {
    if (dc == g_informationContext) return TRUE;
    DestroyDeviceContext(dc);
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC dc, int index) {
    if (dc != g_informationContext && LookupDC(dc) == nullptr) return 0;
    const Surface& display = Display();
    switch (index) {
        case HORZRES: return display.width;
        case VERTRES: return display.height;
        case BITSPIXEL: return DisplayDepth();
        case PLANES: return 1;
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case NUMCOLORS: return DisplayDepth() <= 8 ? 20 : -1;
        case RASTERCAPS: return DisplayDepth() <= 8 ? RC_PALETTE : 0;
        case SIZEPALETTE: return DisplayDepth() <= 8 ? 256 : 0;
        case NUMRESERVED: return DisplayDepth() <= 8 ? 20 : 0;
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

BOOL WINAPI GetDCOrgEx(HDC dc, LPPOINT origin) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr || origin == nullptr) return FALSE;
    *origin = context->origin;
    return TRUE;
}

HGDIOBJ WINAPI GetStockObject(int index) { return StockObject(index); }

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ handle) {
    DeviceContext* context = LookupDC(dc);
    Object* object = FindObject(handle);
    if (context == nullptr || object == nullptr) return nullptr;
    if (object->kind == Kind::Brush) {
        HGDIOBJ previous = context->brush != nullptr ? context->brush : StockObject(WHITE_BRUSH);
        context->brush = static_cast<HBRUSH>(handle);
        return previous;
    }
    return StockObject(object->kind == Kind::Pen ? BLACK_PEN : DEFAULT_PALETTE);
}

BOOL WINAPI DeleteObject(HGDIOBJ handle) {
    Object* object = FindObject(handle);
    if (object == nullptr) return FALSE;
    if (object->stock) return TRUE;
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    g_objects[value - 0x10001].reset();
    return TRUE;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
    Object object{Kind::Brush, 0, false, false, {}};
    object.colour = colour;
    return static_cast<HBRUSH>(MakeObject(object));
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* context = LookupDC(dc);
    Object* object = FindObject(brush);
    if (context == nullptr || rect == nullptr || object == nullptr) return 0;
    if (object->null) return 1;
    RECT target = *rect;
    OffsetRect(&target, context->origin.x, context->origin.y);
    FillSurfaceRect(*context, target, ColourToPixel(object->colour));
    return 1;
}

HPALETTE WINAPI CreatePalette(const LOGPALETTE* palette) {
    if (palette == nullptr || palette->palNumEntries == 0 || palette->palNumEntries > 256) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Object object{Kind::Palette, 0, false, false, {}};
    object.entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    return static_cast<HPALETTE>(MakeObject(object));
}

HPALETTE WINAPI SelectPalette(HDC dc, HPALETTE palette, BOOL) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr || FindObject(palette) == nullptr) return nullptr;
    HPALETTE previous = context->palette != nullptr
                            ? context->palette
                            : static_cast<HPALETTE>(StockObject(DEFAULT_PALETTE));
    context->palette = palette;
    return previous;
}

UINT WINAPI RealizePalette(HDC dc) {
    // The framebuffer holds true colours, so realising changes no entry.
    return LookupDC(dc) != nullptr ? 0 : GDI_ERROR;
}
