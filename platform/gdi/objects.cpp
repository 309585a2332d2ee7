// The object table: handles, stock objects, selection into device contexts,
// deletion, GetObjectA, and brush creation.
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

// A handle is its slot's number (from 1, bits 0-15) under the slot's
// generation (1 to 32767, bits 16-30), so handles sit above the device
// contexts' small numbers and under 2^31. A deleted object's slot is used
// again, as Windows does, so that a program making and deleting objects for
// hours keeps a table of the size it needs at once; the generation changes
// with each use, so that a handle kept after DeleteObject names nothing, not
// its successor. As on Windows, 65,535 live objects are the most there can be.
constexpr int kSlotBits = 16;
constexpr uintptr_t kSlotMask = (uintptr_t{1} << kSlotBits) - 1;
constexpr uint32_t kLastGeneration = 0x7FFF;

struct Slot {
    std::unique_ptr<GdiObject> object;
    uint32_t generation = 1;
};
std::vector<Slot> g_objects;
std::vector<size_t> g_freeSlots;
size_t g_liveObjects = 0;

size_t SlotOf(HGDIOBJ handle) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    const uintptr_t number = value & kSlotMask;
    if (number == 0 || number > g_objects.size() || (value >> kSlotBits) != g_objects[number - 1].generation) {
        return SIZE_MAX;
    }
    return number - 1;
}

void Free(HGDIOBJ handle) {
    const size_t slot = SlotOf(handle);
    if (slot == SIZE_MAX || !g_objects[slot].object) return;
    g_objects[slot].object.reset();
    --g_liveObjects;
    uint32_t& generation = g_objects[slot].generation;
    generation = generation == kLastGeneration ? 1 : generation + 1;
    g_freeSlots.push_back(slot);
}

HGDIOBJ MakeStockBrush(UINT style, COLORREF colour) {
    auto brush = std::make_unique<BrushObject>();
    brush->kind = OBJ_BRUSH;
    brush->stock = true;
    brush->style = style;
    brush->colour = colour;
    return RegisterObject(std::move(brush));
}

HGDIOBJ MakeStockPen(UINT style, COLORREF colour) {
    auto pen = std::make_unique<PenObject>();
    pen->kind = OBJ_PEN;
    pen->stock = true;
    pen->style = style;
    pen->colour = colour;
    return RegisterObject(std::move(pen));
}

HGDIOBJ MakeStockPalette() {
    // The default palette holds the twenty static colours.
    auto palette = std::make_unique<PaletteObject>();
    palette->kind = OBJ_PAL;
    palette->stock = true;
    const std::vector<RGBQUAD>& system = SystemPalette();
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 246, 247, 248, 249, 250, 251, 252, 253, 254, 255}) {
        palette->entries.push_back(
            PALETTEENTRY{system[i].rgbRed, system[i].rgbGreen, system[i].rgbBlue, 0});
        palette->systemIndex.push_back(i);
    }
    return RegisterObject(std::move(palette));
}

HGDIOBJ MakeStockFont(int index) {
    LOGFONTA font{};
    font.lfHeight = 16;
    font.lfWeight = index == SYSTEM_FONT ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    const bool fixed = index == OEM_FIXED_FONT || index == ANSI_FIXED_FONT ||
                       index == SYSTEM_FIXED_FONT;
    font.lfPitchAndFamily = fixed ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS;
    std::strcpy(font.lfFaceName, fixed ? "Courier New" : index == SYSTEM_FONT ? "System" : "MS Sans Serif");
    HFONT handle = CreateFontIndirectA(&font);
    if (GdiObject* object = FindObject(handle)) object->stock = true;
    return handle;
}

HGDIOBJ MakeStock(int index) {
    switch (index) {
        case WHITE_BRUSH: return MakeStockBrush(BS_SOLID, RGB(255, 255, 255));
        case LTGRAY_BRUSH: return MakeStockBrush(BS_SOLID, RGB(192, 192, 192));
        case GRAY_BRUSH: return MakeStockBrush(BS_SOLID, RGB(128, 128, 128));
        case DKGRAY_BRUSH: return MakeStockBrush(BS_SOLID, RGB(64, 64, 64));
        case BLACK_BRUSH: return MakeStockBrush(BS_SOLID, RGB(0, 0, 0));
        case NULL_BRUSH: return MakeStockBrush(BS_NULL, 0);
        case WHITE_PEN: return MakeStockPen(PS_SOLID, RGB(255, 255, 255));
        case BLACK_PEN: return MakeStockPen(PS_SOLID, RGB(0, 0, 0));
        case NULL_PEN: return MakeStockPen(PS_NULL, 0);
        case DEFAULT_PALETTE: return MakeStockPalette();
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case ANSI_VAR_FONT:
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT:
        case SYSTEM_FIXED_FONT:
        case DEFAULT_GUI_FONT: return MakeStockFont(index);
        default: return nullptr;
    }
}

HGDIOBJ* CurrentSlot(DeviceContext& dc, int kind) {
    switch (kind) {
        case OBJ_PEN: return reinterpret_cast<HGDIOBJ*>(&dc.pen);
        case OBJ_BRUSH: return reinterpret_cast<HGDIOBJ*>(&dc.brush);
        case OBJ_FONT: return reinterpret_cast<HGDIOBJ*>(&dc.font);
        case OBJ_BITMAP: return reinterpret_cast<HGDIOBJ*>(&dc.bitmap);
        case OBJ_PAL: return reinterpret_cast<HGDIOBJ*>(&dc.palette);
        default: return nullptr;
    }
}

HGDIOBJ SelectBitmap(HDC handle, DeviceContext& dc, HGDIOBJ object) {
    BitmapObject* bitmap = FindObjectOf<BitmapObject>(object, OBJ_BITMAP);
    // Only memory contexts hold bitmaps, and a bitmap sits in one at a time.
    if (!dc.memory) return nullptr;
    if (!bitmap->stock && bitmap->selectedInto != nullptr && bitmap->selectedInto != handle) {
        return nullptr;
    }
    const HGDIOBJ previous = dc.bitmap;
    if (BitmapObject* old = FindObjectOf<BitmapObject>(previous, OBJ_BITMAP)) {
        if (old->selectedInto == handle) old->selectedInto = nullptr;
    }
    if (!bitmap->stock) bitmap->selectedInto = handle;
    AddSelection(object);
    dc.bitmap = static_cast<HBITMAP>(object);
    dc.surface = &bitmap->surface;
    dc.visibleClip = {RECT{0, 0, bitmap->surface.width, bitmap->surface.height}};
    if (dc.clipRegion != nullptr) {
        SelectClipRgn(handle, nullptr);
    }
    dc.clip = dc.visibleClip;
    DropSelection(previous);
    return previous;
}

}  // namespace

HGDIOBJ RegisterObject(std::unique_ptr<GdiObject> object) {
    size_t slot = g_objects.size();
    if (!g_freeSlots.empty()) {
        slot = g_freeSlots.back();
        g_freeSlots.pop_back();
    } else if (slot < kSlotMask) {
        g_objects.emplace_back();
    } else {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    g_objects[slot].object = std::move(object);
    ++g_liveObjects;
    const uintptr_t generation = g_objects[slot].generation;
    return reinterpret_cast<HGDIOBJ>((generation << kSlotBits) | (slot + 1));
}

size_t LiveObjectCount() { return g_liveObjects + LiveContextCount(); }

GdiObject* FindObject(HGDIOBJ handle) {
    const size_t slot = SlotOf(handle);
    return slot == SIZE_MAX ? nullptr : g_objects[slot].object.get();
}

HGDIOBJ Stock(int index) {
    static HGDIOBJ stock[DEFAULT_GUI_FONT + 1] = {};
    if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
    if (stock[index] == nullptr) stock[index] = MakeStock(index);
    return stock[index];
}

HBITMAP DefaultBitmap() {
    static HGDIOBJ handle = nullptr;
    if (handle == nullptr) {
        auto bitmap = std::make_unique<BitmapObject>();
        bitmap->kind = OBJ_BITMAP;
        bitmap->stock = true;
        (void)InitSurface(bitmap->surface, 1, 1, 1);
        handle = RegisterObject(std::move(bitmap));
    }
    return static_cast<HBITMAP>(handle);
}

void AddSelection(HGDIOBJ handle) {
    if (GdiObject* object = FindObject(handle)) ++object->selections;
}

void DropSelection(HGDIOBJ handle) {
    GdiObject* object = FindObject(handle);
    if (object == nullptr) return;
    if (--object->selections <= 0 && object->deletePending) Free(handle);
}

}  // namespace platform::gdi

using namespace platform::gdi;

HGDIOBJ WINAPI GetStockObject(int index) { return Stock(index); }

HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ object) {
    DeviceContext* dc = LookupDC(handle);
    GdiObject* found = FindObject(object);
    if (dc == nullptr || found == nullptr || found->deletePending) return nullptr;
    if (found->kind == OBJ_REGION) {
        const int result = SelectClipRgn(handle, static_cast<HRGN>(object));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(result == ERROR ? 0 : result));
    }
    if (found->kind == OBJ_BITMAP) return SelectBitmap(handle, *dc, object);
    HGDIOBJ* slot = CurrentSlot(*dc, found->kind);
    if (slot == nullptr) return nullptr;
    HGDIOBJ previous = *slot;
    if (previous == nullptr && found->kind == OBJ_FONT) previous = Stock(SYSTEM_FONT);
    AddSelection(object);
    *slot = object;
    DropSelection(previous);
    return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ handle) {
    GdiObject* object = FindObject(handle);
    if (object == nullptr) return FALSE;
    if (object->stock) return TRUE;
    if (object->kind == OBJ_BITMAP && static_cast<BitmapObject*>(object)->selectedInto != nullptr) {
        return FALSE;  // Windows refuses to delete a bitmap still selected.
    }
    if (object->selections > 0) {
        object->deletePending = true;
        return TRUE;
    }
    Free(handle);
    return TRUE;
}

DWORD WINAPI GetObjectType(HGDIOBJ handle) {
    if (const GdiObject* object = FindObject(handle)) return static_cast<DWORD>(object->kind);
    if (const DeviceContext* dc = LookupDC(static_cast<HDC>(handle))) {
        return dc->memory ? OBJ_MEMDC : OBJ_DC;
    }
    return 0;
}

HGDIOBJ WINAPI GetCurrentObject(HDC handle, UINT kind) {
    DeviceContext* dc = LookupDC(handle);
    if (dc == nullptr) return nullptr;
    HGDIOBJ* slot = CurrentSlot(*dc, static_cast<int>(kind));
    if (slot == nullptr) return nullptr;
    if (*slot == nullptr && kind == OBJ_FONT) return Stock(SYSTEM_FONT);
    return *slot;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
    auto brush = std::make_unique<BrushObject>();
    brush->kind = OBJ_BRUSH;
    brush->colour = colour;
    return static_cast<HBRUSH>(RegisterObject(std::move(brush)));
}

HBRUSH WINAPI CreatePatternBrush(HBITMAP handle) {
    const BitmapObject* bitmap = FindObjectOf<BitmapObject>(handle, OBJ_BITMAP);
    if (bitmap == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto brush = std::make_unique<BrushObject>();
    brush->kind = OBJ_BRUSH;
    brush->style = BS_PATTERN;
    brush->pattern = std::make_unique<Surface>();
    if (!CopySurface(*brush->pattern, bitmap->surface)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    brush->pattern->colours = bitmap->surface.ColourTable();
    brush->pattern->usesSystemPalette = false;
    return static_cast<HBRUSH>(RegisterObject(std::move(brush)));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* logBrush) {
    if (logBrush == nullptr) return nullptr;
    switch (logBrush->lbStyle) {
        case BS_SOLID: return CreateSolidBrush(logBrush->lbColor);
        case BS_NULL: return static_cast<HBRUSH>(Stock(NULL_BRUSH));
        case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(logBrush->lbHatch));
        default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}
