// Device contexts and the display framebuffer, shared inside the layer.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/types.h"

namespace platform::gdi {

// A 32-bit picture: 0x00RRGGBB per pixel, rows top-down.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
};

// The emulated display: its framebuffer, depth and whether it changed since the
// last frame reached the presenter.
void InitDisplay(int width, int height, int depth);
Surface& Display();
int DisplayDepth();
void MarkDisplayDirty();
void PresentIfDirty();

struct DeviceContext {
    Surface* surface = nullptr;  // null for an information context
    HWND window = nullptr;
    POINT origin{};              // logical (0, 0) on the surface
    std::vector<RECT> clip;      // surface coordinates, disjoint
    HBRUSH brush = nullptr;
    HPALETTE palette = nullptr;
    int mapMode = 1;
    bool ownedByWindow = false;  // a CS_OWNDC context, kept from GetDC to GetDC
};

DeviceContext* LookupDC(HDC dc);
HDC CreateDeviceContext(const DeviceContext& context);
void DestroyDeviceContext(HDC dc);

// Fills a rectangle given in surface coordinates, clipped to the context.
void FillSurfaceRect(DeviceContext& context, RECT rect, uint32_t pixel);

// Converts a COLORREF to the framebuffer's 0x00RRGGBB.
inline uint32_t ColourToPixel(COLORREF colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace platform::gdi
