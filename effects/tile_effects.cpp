// The tile effects: the effect image cut into square tiles from row 0 and
// column 0, each reworked by a fixed pattern (i is the row inside the tile,
// its bottom line on screen first, j the column); and the two effects that
// redraw the sheet with the toolkit: shifted tiles and the puzzle overlays.
#include <algorithm>
#include <array>
#include <cstring>

#include "effects/passes.h"
#include "graphics/blit.h"
#include "graphics/sheet.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "shell/picture_module.h"
#include "shell/random.h"

namespace {

// The dot of the dots effect, row i = 0 first: 1 inside the dot.
constexpr uint8_t kDot[8][8] = {
    {0, 0, 1, 1, 1, 0, 0, 0}, {0, 1, 1, 1, 1, 1, 0, 0}, {1, 1, 1, 1, 1, 1, 1, 0},
    {1, 1, 1, 1, 1, 1, 1, 0}, {1, 1, 1, 1, 1, 1, 1, 0}, {0, 1, 1, 1, 1, 1, 0, 0},
    {0, 0, 1, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0},
};

// The bevel of a 16-pixel tile: 0 unchanged, 1 halved, 2 two thirds, 3 half
// as bright again.
constexpr uint8_t kBevel[16][16] = {
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2},
    {0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2}, {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2},
    {0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2}, {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2},
    {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2}, {0, 0, 0, 0, 0, 0, 0, 1, 1, 2, 2, 2, 2, 2, 2, 2},
    {0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 2, 2, 2, 2, 2, 2}, {0, 0, 0, 0, 0, 0, 0, 3, 3, 2, 2, 2, 2, 2, 2, 2},
    {0, 0, 0, 0, 0, 0, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2}, {0, 0, 0, 0, 0, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2},
    {0, 0, 0, 0, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2}, {0, 0, 0, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2},
    {0, 0, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2}, {0, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2},
};

constexpr int kShiftedTile = 18;
constexpr int kShiftedStep = 20;

void Halve(uint8_t* pixel) {
    pixel[0] = static_cast<uint8_t>(pixel[0] / 2);
    pixel[1] = static_cast<uint8_t>(pixel[1] / 2);
    pixel[2] = static_cast<uint8_t>(pixel[2] / 2);
}

// Calls visit(tile row pointers, j0) for every whole tile of the given size:
// rows[i] is the start of the tile's row i.
template <int Size, typename Visit>
void ForEachTile(const EffectImage& image, Visit visit) {
    for (int top = 0; top + Size <= image.height; top += Size) {
        uint8_t* rows[Size];
        for (int i = 0; i < Size; ++i) {
            rows[i] = image.pixels + static_cast<ptrdiff_t>(top + i) * image.stride;
        }
        for (int left = 0; left + Size <= image.width; left += Size) {
            visit(rows, 3 * left);
        }
    }
}

}  // namespace

void MakeMosaic(const EffectImage& image) {
    ForEachTile<8>(image, [](uint8_t* const* rows, int offset) {
        uint8_t first[3];
        memcpy(first, rows[0] + offset, 3);
        for (int i = 0; i < 8; ++i) {
            for (int j = 0; j < 8; ++j) memcpy(rows[i] + offset + 3 * j, first, 3);
        }
    });
}

void ShadeTriangles(const EffectImage& image) {
    ForEachTile<8>(image, [](uint8_t* const* rows, int offset) {
        for (int i = 0; i < 8; ++i) {
            for (int j = i + 1; j < 8; ++j) Halve(rows[i] + offset + 3 * j);
        }
    });
}

void PaintDots(const EffectImage& image) {
    ForEachTile<8>(image, [](uint8_t* const* rows, int offset) {
        uint8_t colour[3];
        memcpy(colour, rows[0] + offset, 3);
        for (int i = 0; i < 8; ++i) {
            for (int j = 0; j < 8; ++j) {
                uint8_t* pixel = rows[i] + offset + 3 * j;
                if (kDot[i][j] != 0) memcpy(pixel, colour, 3);
                else Halve(pixel);
            }
        }
    });
}

void BevelTiles(const EffectImage& image) {
    // One table of the 256 results per bevel code.
    static const auto kCodes = [] {
        std::array<std::array<uint8_t, 256>, 4> codes{};
        for (int c = 0; c < 256; ++c) {
            codes[0][c] = static_cast<uint8_t>(c);
            codes[1][c] = static_cast<uint8_t>(c / 2);
            codes[2][c] = static_cast<uint8_t>(c * 2 / 3);
            codes[3][c] = static_cast<uint8_t>(std::min(c * 3 / 2, 255));
        }
        return codes;
    }();
    ForEachTile<16>(image, [](uint8_t* const* rows, int offset) {
        for (int i = 0; i < 16; ++i) {
            uint8_t* pixel = rows[i] + offset;
            for (int j = 0; j < 16; ++j, pixel += 3) {
                const auto& table = kCodes[kBevel[i][j]];
                pixel[0] = table[pixel[0]];
                pixel[1] = table[pixel[1]];
                pixel[2] = table[pixel[2]];
            }
        }
    });
}

// The sheet redrawn as tiles of 18 pixels every 20, each moved 0 or 1 pixel
// right and down, on black.
void ShiftTiles() {
    CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
    FillRectangle(kSheetRect, 0);
    for (int y = 0; y < 400; y += kShiftedStep) {
        for (int x = 0; x < 512; x += kShiftedStep) {
            const int dx = 1 - Random() % 2;
            const int dy = 1 - Random() % 2;
            const RECT tile{x, y, x + kShiftedTile, y + kShiftedTile};
            DrawBitmapRectAt(g_scratchPicture, tile, kSheetRect.left + x + dx, kSheetRect.top + y + dy);
        }
    }
}

// The outlines of the picture's jigsaw pieces laid over the drawing: its
// white leaves the drawing as it is, its dark lines darken it.
void LayPuzzle(int picture) {
    HBITMAP overlay = nullptr;
    {
        PictureModuleScope module;
        overlay = LoadPictureOrFail(picture);
    }
    const DWORD previous = SetBlitRasterOp(SRCAND);
    DrawBitmapAt(overlay, kSheetRect.left, kSheetRect.top);
    SetBlitRasterOp(previous);
    DeleteObject(overlay);
}
