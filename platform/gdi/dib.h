// Device-independent bitmaps: their headers read from untrusted memory, and
// their rows read and written as colours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/dc.h"

namespace platform::gdi {

// A checked description of a DIB.
struct DibFormat {
    int width = 0;
    int height = 0;        // always positive
    bool topDown = false;
    int bitCount = 0;      // 1, 4, 8, 16, 24 or 32
    DWORD compression = BI_RGB;
    uint32_t masks[3] = {0, 0, 0};  // red, green, blue for 16 and 32 bits
    size_t headerBytes = 0;         // header and colour table together
    int rowBytes = 0;
    size_t imageBytes = 0;
    std::vector<RGBQUAD> colours;   // for 1 to 8 bits, as many as 1 << bitCount
};

// Reads a BITMAPINFO (or BITMAPCOREINFO) of at most available bytes. Colour
// tables of DIB_PAL_COLORS are resolved through palette (null: the default
// palette). False for anything this engine does not draw or that is not
// consistent: a refused DIB is never read.
[[nodiscard]] bool ParseDibInfo(const void* info, size_t available, UINT usage,
                                const DeviceContext* dc, DibFormat& format);

// Reads count pixels of DIB row `row` (0 is the top row) from x as 0x00RRGGBB.
// The caller has checked that the bits hold format.imageBytes.
void ReadDibRow(const DibFormat& format, const uint8_t* bits, int row, int x, int count,
                uint32_t* rgb);

// The same for one stored line of the bits (as it lies in memory).
void ReadDibLine(const DibFormat& format, const uint8_t* line, int x, int count, uint32_t* rgb);

// Makes a surface like dc's (format and colour table) holding the DIB's pixels
// matched as palette-relative colours.
[[nodiscard]] bool DibToSurface(const DibFormat& format, const uint8_t* bits,
                                const DeviceContext& dc, Surface& surface);

}  // namespace platform::gdi
