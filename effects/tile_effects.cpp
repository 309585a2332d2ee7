// The tile effects: the effect image cut into square tiles from row 0 and
// column 0, each reworked by a fixed pattern (i is the row inside the tile,
// its bottom line on screen first, j the column); and the two effects that
// redraw the sheet with the toolkit: shifted tiles and the puzzle overlays.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "effects/passes.h"
#include "effects/pixel_quads.h"
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

// The dots a band of eight rows at a time, each row in 64-bit words: a byte
// inside its tile's dot takes the colour of the tile's first pixel, a byte
// outside it is halved (a shift, the bit crossing from the next byte masked
// off). A tile row is 24 bytes, three words, so the dot's rows repeat every
// three words along an image row; the tiles' colours are taken before the
// band's first row changes.
void PaintDots(const EffectImage& image) {
    constexpr uint64_t kLowSevenBits = 0x7F7F7F7F7F7F7F7Full;
    const int tiles = image.width / 8;
    const size_t words = static_cast<size_t>(tiles) * 3;
    std::vector<uint64_t> masks(8 * words);
    std::vector<uint64_t> colours(words);
    for (int i = 0; i < 8; ++i) {
        uint8_t bytes[24];
        for (int b = 0; b < 24; ++b) bytes[b] = kDot[i][b / 3] != 0 ? 0xFF : 0;
        for (int t = 0; t < tiles; ++t) memcpy(&masks[i * words + 3 * t], bytes, sizeof bytes);
    }
    for (int top = 0; top + 8 <= image.height; top += 8) {
        const uint8_t* first = image.pixels + static_cast<ptrdiff_t>(top) * image.stride;
        for (int t = 0; t < tiles; ++t) {
            uint8_t colour[24];
            for (int j = 0; j < 8; ++j) memcpy(colour + 3 * j, first + 24 * t, 3);
            memcpy(&colours[3 * static_cast<size_t>(t)], colour, sizeof colour);
        }
        for (int i = 0; i < 8; ++i) {
            uint8_t* row = image.pixels + static_cast<ptrdiff_t>(top + i) * image.stride;
            const uint64_t* mask = &masks[i * words];
            for (size_t w = 0; w < words; ++w) {
                uint64_t bytes;
                memcpy(&bytes, row + 8 * w, sizeof bytes);
                bytes = (colours[w] & mask[w]) | ((bytes >> 1) & kLowSevenBits & ~mask[w]);
                memcpy(row + 8 * w, &bytes, sizeof bytes);
            }
        }
    }
}

#if defined(__SSE2__)
namespace {

// The lanes of each bevel code in the three 16-byte blocks of a tile row.
struct BevelRow {
    __m128i codes[3][4];
    bool present[3][4];
};

const std::array<BevelRow, 16>& BevelRows() {
    static const auto rows = [] {
        std::array<BevelRow, 16> table{};
        for (int i = 0; i < 16; ++i) {
            for (int block = 0; block < 3; ++block) {
                for (int code = 1; code < 4; ++code) {
                    alignas(16) uint8_t lanes[16];
                    bool present = false;
                    for (int lane = 0; lane < 16; ++lane) {
                        const bool match = kBevel[i][(16 * block + lane) / 3] == code;
                        lanes[lane] = match ? 0xFF : 0;
                        present = present || match;
                    }
                    table[i].codes[block][code] = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes));
                    table[i].present[block][code] = present;
                }
            }
        }
        return table;
    }();
    return rows;
}

__m128i Choose(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// Two thirds of 2c / 3 for c up to 255, by multiplication and shift.
constexpr uint32_t kBy3 = 21846;
static_assert(DividesExactly(3, kBy3, 16, 2 * 255));

// One 16-byte block of a tile row: halved, two thirds, or half as bright
// again, up to 255, where its codes say.
__m128i BevelBlock(__m128i bytes, const BevelRow& row, int block) {
    const __m128i* codes = row.codes[block];
    const bool* present = row.present[block];
    __m128i out = bytes;
    if (present[1]) {
        out = Choose(codes[1], _mm_and_si128(_mm_srli_epi16(bytes, 1), _mm_set1_epi8(0x7F)), out);
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_unpacklo_epi8(bytes, zero);
    const __m128i high = _mm_unpackhi_epi8(bytes, zero);
    if (present[2]) {
        const __m128i third = _mm_set1_epi16(static_cast<short>(kBy3));
        const __m128i twoThirds = _mm_packus_epi16(_mm_mulhi_epu16(_mm_add_epi16(low, low), third),
                                                   _mm_mulhi_epu16(_mm_add_epi16(high, high), third));
        out = Choose(codes[2], twoThirds, out);
    }
    if (present[3]) {
        const __m128i three = _mm_set1_epi16(3);
        const __m128i more = _mm_packus_epi16(_mm_srli_epi16(_mm_mullo_epi16(low, three), 1),
                                              _mm_srli_epi16(_mm_mullo_epi16(high, three), 1));
        out = Choose(codes[3], more, out);
    }
    return out;
}

}  // namespace
#endif

void BevelTiles(const EffectImage& image) {
#if defined(__SSE2__)
    const auto& rows = BevelRows();
    ForEachTile<16>(image, [&rows](uint8_t* const* tileRows, int offset) {
        for (int i = 0; i < 16; ++i) {
            for (int block = 0; block < 3; ++block) {
                auto* at = reinterpret_cast<__m128i*>(tileRows[i] + offset + 16 * block);
                _mm_storeu_si128(at, BevelBlock(_mm_loadu_si128(at), rows[i], block));
            }
        }
    });
#else
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
#endif
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
