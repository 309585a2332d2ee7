// Feeds untrusted bytes to the DIB readers: the first bytes are a BITMAPINFO,
// the rest its pixels. Every header that is accepted must describe pixels
// that fit in what is left, or it is never drawn.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/dib.h"
#include "platform/windows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace platform::gdi;
    static HDC screen = [] {
        InitDisplay(64, 64, 32);
        return CreateCompatibleDC(nullptr);
    }();
    for (UINT usage : {DIB_RGB_COLORS, DIB_PAL_COLORS}) {
        DibFormat format;
        if (!ParseDibInfo(data, size, usage, nullptr, format)) continue;
        if (format.headerBytes > size || size - format.headerBytes < format.imageBytes) continue;
        // Stay small: the fuzzer looks for reads out of bounds, not big pictures.
        if (static_cast<uint64_t>(format.width) * format.height > 1 << 16) continue;
        const uint8_t* bits = data + format.headerBytes;
        std::vector<uint32_t> row(format.width);
        for (int y = 0; y < format.height; ++y) ReadDibRow(format, bits, y, 0, format.width, row.data());
        if (usage != DIB_RGB_COLORS || format.headerBytes < sizeof(BITMAPINFOHEADER)) continue;
        // The Windows calls read the same header from a copy padded to the size
        // they trust, so that a short input cannot send them past its end.
        std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 12 + 256 * sizeof(RGBQUAD), 0);
        std::copy(data, data + std::min(format.headerBytes, info.size()), info.begin());
        const auto* header = reinterpret_cast<const BITMAPINFO*>(info.data());
        HBITMAP bitmap = CreateDIBitmap(screen, &header->bmiHeader, CBM_INIT, bits, header, usage);
        if (bitmap != nullptr) {
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, 8, 8));
            StretchDIBits(dc, 0, 0, 8, 8, 0, 0, format.width, format.height, bits, header, usage,
                          SRCCOPY);
            BITMAPINFO out{};
            out.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            GetDIBits(dc, bitmap, 0, 0, nullptr, &out, DIB_RGB_COLORS);
            DeleteObject(SelectObject(dc, old));
            DeleteDC(dc);
            DeleteObject(bitmap);
        }
    }
    return 0;
}
