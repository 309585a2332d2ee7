// Colour emoji glyphs from the Noto Color Emoji font, read through FreeType as
// premultiplied BGRA bitmaps at the font's one bitmap size, and resampled to
// the size a picture needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct EmojiGlyph {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // premultiplied 0xAARRGGBB, rows top-down
    // The smallest rectangle holding every pixel that is not transparent.
    int inkLeft = 0;
    int inkTop = 0;
    int inkRight = 0;
    int inkBottom = 0;
};

// Opens the font; false with a message when it cannot be read.
bool OpenEmojiFont(const std::string& path);

// The glyph of one code point, kept for the whole run; null when the font has none.
const EmojiGlyph* LoadEmoji(char32_t codePoint);

// Area-averaged (downscaling) or bilinear (upscaling) resampling of the
// sub-rectangle (x, y, w, h) of a premultiplied picture to outW x outH.
std::vector<uint32_t> ResamplePremultiplied(const uint32_t* pixels, int stride, int x, int y,
                                            int w, int h, int outW, int outH);

}  // namespace art
