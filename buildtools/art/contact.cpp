// The contact sheet: every generated picture and cursor on one page, transparent
// pixels shown as a checkerboard, so that a person can check them at a glance.
#include <algorithm>

#include "buildtools/art/art.h"

namespace art {

bool WriteContactSheet(const Output& out, const std::string& path) {
    constexpr int kWidth = 1600;
    constexpr int kGap = 4;
    // Lay the pictures out in rows, shrinking the large ones to half size.
    struct Place {
        const Shown* shown;
        int x, y, w, h;
    };
    std::vector<Place> places;
    int x = kGap;
    int y = kGap;
    int rowHeight = 0;
    for (const Shown& shown : out.Gallery()) {
        const int scale = shown.width > 200 ? 2 : 1;
        const int w = shown.width / scale;
        const int h = shown.height / scale;
        if (x + w + kGap > kWidth) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        places.push_back({&shown, x, y, w, h});
        x += w + kGap;
        rowHeight = std::max(rowHeight, h);
    }
    Canvas sheet(kWidth, y + rowHeight + kGap, RGB(90, 90, 100));
    for (const Place& p : places) {
        const int scale = p.shown->width / p.w;
        for (int j = 0; j < p.h; ++j) {
            for (int i = 0; i < p.w; ++i) {
                uint32_t c = p.shown->rgb[(j * scale) * p.shown->width + i * scale];
                if (c == 0xFF000000u) c = ((i / 4 + j / 4) % 2) ? 0xC8C8C8 : 0xF0F0F0;
                sheet.Set(p.x + i, p.y + j, c);
            }
        }
    }
    return out.WriteBmpFile(path, sheet, 24);
}

}  // namespace art
