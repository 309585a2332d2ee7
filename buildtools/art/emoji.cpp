#include "buildtools/art/emoji.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

namespace art {
namespace {

FT_Library g_library = nullptr;
FT_Face g_face = nullptr;
std::map<char32_t, std::unique_ptr<EmojiGlyph>> g_glyphs;

}  // namespace

bool OpenEmojiFont(const std::string& path) {
    if (FT_Init_FreeType(&g_library) != 0 || FT_New_Face(g_library, path.c_str(), 0, &g_face) != 0) {
        std::fprintf(stderr, "tavelin_art: cannot open the emoji font %s\n", path.c_str());
        return false;
    }
    if (g_face->num_fixed_sizes > 0) FT_Select_Size(g_face, 0);
    return true;
}

const EmojiGlyph* LoadEmoji(char32_t codePoint) {
    auto found = g_glyphs.find(codePoint);
    if (found != g_glyphs.end()) return found->second.get();
    const FT_UInt index = g_face == nullptr ? 0 : FT_Get_Char_Index(g_face, codePoint);
    if (index == 0 || FT_Load_Glyph(g_face, index, FT_LOAD_COLOR) != 0 ||
        FT_Render_Glyph(g_face->glyph, FT_RENDER_MODE_NORMAL) != 0 ||
        g_face->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_BGRA) {
        std::fprintf(stderr, "tavelin_art: no colour glyph for U+%04X\n",
                     static_cast<unsigned>(codePoint));
        g_glyphs[codePoint] = nullptr;
        return nullptr;
    }
    const FT_Bitmap& bitmap = g_face->glyph->bitmap;
    auto glyph = std::make_unique<EmojiGlyph>();
    glyph->width = static_cast<int>(bitmap.width);
    glyph->height = static_cast<int>(bitmap.rows);
    glyph->pixels.resize(static_cast<size_t>(glyph->width) * glyph->height);
    glyph->inkLeft = glyph->width;
    glyph->inkTop = glyph->height;
    for (int y = 0; y < glyph->height; ++y) {
        const uint8_t* row = bitmap.buffer + y * bitmap.pitch;
        for (int x = 0; x < glyph->width; ++x) {
            const uint8_t* p = row + x * 4;
            const uint32_t argb = (p[3] << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
            glyph->pixels[y * glyph->width + x] = argb;
            if (p[3] > 8) {
                glyph->inkLeft = std::min(glyph->inkLeft, x);
                glyph->inkTop = std::min(glyph->inkTop, y);
                glyph->inkRight = std::max(glyph->inkRight, x + 1);
                glyph->inkBottom = std::max(glyph->inkBottom, y + 1);
            }
        }
    }
    if (glyph->inkRight <= glyph->inkLeft) {
        glyph->inkLeft = glyph->inkTop = 0;
        glyph->inkRight = glyph->width;
        glyph->inkBottom = glyph->height;
    }
    const EmojiGlyph* result = glyph.get();
    g_glyphs[codePoint] = std::move(glyph);
    return result;
}

std::vector<uint32_t> ResamplePremultiplied(const uint32_t* pixels, int stride, int x, int y,
                                            int w, int h, int outW, int outH) {
    std::vector<uint32_t> out(static_cast<size_t>(outW) * outH);
    const double sx = static_cast<double>(w) / outW;
    const double sy = static_cast<double>(h) / outH;
    // Each output pixel averages a grid of bilinear samples over its footprint,
    // which is a box filter when shrinking and a smooth stretch when growing.
    const int samplesX = std::clamp(static_cast<int>(std::ceil(sx)) * 2, 2, 16);
    const int samplesY = std::clamp(static_cast<int>(std::ceil(sy)) * 2, 2, 16);
    auto at = [&](int px, int py) {
        px = std::clamp(px, 0, w - 1);
        py = std::clamp(py, 0, h - 1);
        return pixels[(y + py) * stride + x + px];
    };
    for (int oy = 0; oy < outH; ++oy) {
        for (int ox = 0; ox < outW; ++ox) {
            double sum[4] = {0, 0, 0, 0};
            for (int j = 0; j < samplesY; ++j) {
                for (int i = 0; i < samplesX; ++i) {
                    const double fx = (ox + (i + 0.5) / samplesX) * sx - 0.5;
                    const double fy = (oy + (j + 0.5) / samplesY) * sy - 0.5;
                    const int x0 = static_cast<int>(std::floor(fx));
                    const int y0 = static_cast<int>(std::floor(fy));
                    const double tx = fx - x0;
                    const double ty = fy - y0;
                    const uint32_t c[4] = {at(x0, y0), at(x0 + 1, y0), at(x0, y0 + 1),
                                           at(x0 + 1, y0 + 1)};
                    const double wgt[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty,
                                           tx * ty};
                    for (int k = 0; k < 4; ++k) {
                        for (int ch = 0; ch < 4; ++ch) sum[ch] += wgt[k] * ((c[k] >> (ch * 8)) & 0xFF);
                    }
                }
            }
            uint32_t v = 0;
            for (int ch = 0; ch < 4; ++ch) {
                const double avg = sum[ch] / (samplesX * samplesY);
                v |= static_cast<uint32_t>(std::clamp(std::lround(avg), 0L, 255L)) << (ch * 8);
            }
            out[oy * outW + ox] = v;
        }
    }
    return out;
}

}  // namespace art
