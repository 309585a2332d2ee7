// The thirteen stamp banks of the picture module: each item a picture and its
// mask at a normal size and at twice that, and each bank's button.
#include <algorithm>
#include <cmath>

#include "buildtools/art/art.h"
#include "buildtools/art/emoji.h"

namespace art {
namespace {

constexpr int kNormal = 48;

// The banks in order; their item counts are fixed by the stamp tool.
const std::vector<std::vector<char32_t>>& Banks() {
    static const std::vector<std::vector<char32_t>> banks = {
        // Animals.
        {0x1F436, 0x1F431, 0x1F42D, 0x1F430, 0x1F98A, 0x1F43B, 0x1F43C, 0x1F428, 0x1F42F,
         0x1F981, 0x1F438},
        // Sea life.
        {0x1F433, 0x1F40B, 0x1F42C, 0x1F41F, 0x1F420, 0x1F421, 0x1F988, 0x1F419, 0x1F991,
         0x1F980, 0x1F99E, 0x1F990, 0x1F41A, 0x1F422, 0x1F9AD, 0x1F9DC, 0x26F5},
        // The farm.
        {0x1F404, 0x1F416, 0x1F411, 0x1F410, 0x1F413, 0x1F414, 0x1F423, 0x1F986, 0x1F434,
         0x1F40E, 0x1F407, 0x1F415, 0x1F408, 0x1F983, 0x1F69C, 0x1F33E, 0x1F95A, 0x1F41D},
        // Food.
        {0x1F34E, 0x1F34C, 0x1F353, 0x1F349, 0x1F347, 0x1F955, 0x1F355, 0x1F354, 0x1F366,
         0x1F382},
        // Vehicles.
        {0x1F697, 0x1F695, 0x1F68C, 0x1F692, 0x1F693, 0x1F691, 0x1F6B2, 0x1F682, 0x2708,
         0x1F681, 0x1F6A4, 0x1F6F5},
        // Plants.
        {0x1F338, 0x1F339, 0x1F33B, 0x1F337, 0x1F33C, 0x1F33A, 0x1F335, 0x1F332, 0x1F333,
         0x1F334, 0x1F344, 0x1F340, 0x1F341, 0x1F33F, 0x1F331},
        // Faces.
        {0x1F600, 0x1F602, 0x1F60D, 0x1F60E, 0x1F61C, 0x1F62E, 0x1F622, 0x1F621, 0x1F634,
         0x1F929, 0x1F973, 0x1F921, 0x1F607, 0x1F920},
        // Fairy tales.
        {0x1F984, 0x1F409, 0x1F9DA, 0x1F9D9, 0x1F9DB, 0x1F47B, 0x1F47D, 0x1F916, 0x1F451,
         0x1F3F0, 0x1F9DE, 0x1FA84, 0x1F52E, 0x1F308},
        // Sports.
        {0x26BD, 0x1F3C0, 0x1F3C8, 0x26BE, 0x1F3BE, 0x1F3D0, 0x1F3C9, 0x1F3B1, 0x1F3D3,
         0x1F3F8, 0x1F94A, 0x26F8, 0x1F3BF, 0x1F6F9, 0x1F3C6, 0x1F947, 0x1F3AF},
        // Music.
        {0x1F3B8, 0x1F3B9, 0x1F3BA, 0x1F3BB, 0x1F941, 0x1F3B7, 0x1FA95, 0x1FA97, 0x1F3A4,
         0x1F3A7, 0x1F3B5, 0x1F3B6, 0x1F4EF, 0x1F514, 0x1FA98},
        // Space.
        {0x1F680, 0x1F6F8, 0x1F30D, 0x1F319, 0x2B50, 0x2600, 0x1FA90, 0x2604},
        // Buildings.
        {0x1F3E0, 0x1F3E1, 0x1F3E2, 0x1F3E3, 0x1F3E5, 0x1F3E6, 0x1F3E8, 0x1F3EB, 0x1F3EA,
         0x1F3F0, 0x1F3EF, 0x26EA, 0x1F54C, 0x1F5FC, 0x1F5FD, 0x26FA, 0x1F3ED, 0x1F3A1},
        // Everyday things.
        {0x270F, 0x1F58D, 0x1F4DA, 0x23F0, 0x1F4F7, 0x2602, 0x1F388, 0x1F381, 0x1F9F8,
         0x1FA81, 0x1F511, 0x1F4A1, 0x1F528, 0x2702, 0x1F4CC, 0x1F380, 0x1F9E6, 0x1F453,
         0x1F45F, 0x1F3A9, 0x2693, 0x1F9F2, 0x1FA80, 0x1F6D2, 0x1F3A8, 0x1F56F},
    };
    return banks;
}

// One stamp picture: the emoji at the given height (or width, for wide ones),
// opaque where the glyph is, white elsewhere, and its mask.
void Stamp(Output& out, int id, char32_t codePoint, int size) {
    const EmojiGlyph* glyph = LoadEmoji(codePoint);
    const int gw = glyph ? glyph->inkRight - glyph->inkLeft : 1;
    const int gh = glyph ? glyph->inkBottom - glyph->inkTop : 1;
    const double scale = static_cast<double>(size) / std::max(gw, gh);
    const int w = std::max(1, static_cast<int>(std::lround(gw * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(gh * scale)));
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0);
    if (glyph != nullptr) {
        pixels = ResamplePremultiplied(glyph->pixels.data(), glyph->width, glyph->inkLeft,
                                       glyph->inkTop, gw, gh, w, h);
    }
    Canvas picture(w, h);
    std::vector<bool> opaque(pixels.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t p = pixels[y * w + x];
            const uint32_t a = p >> 24;
            if (a < 110) continue;
            opaque[y * w + x] = true;
            uint32_t rgb = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                rgb |= std::min<uint32_t>(255, ((p >> shift) & 0xFF) * 255 / a) << shift;
            }
            picture.Set(x, y, rgb);
        }
    }
    out.Picture(Pack::Module, id, picture);
    out.Mask(Pack::Module, id + 1, w, h, opaque);
}

}  // namespace

void MakeStamps(Output& out) {
    const char32_t buttons[] = {0x1F436, 0x1F420, 0x1F404, 0x1F34E, 0x1F697, 0x1F33B, 0x1F600,
                                0x1F984, 0x26BD, 0x1F3B8, 0x1F680, 0x1F3E0, 0x1F388};
    const COLORREF tiles[] = {RGB(255, 236, 214), RGB(214, 236, 255), RGB(226, 246, 214),
                              RGB(255, 226, 226), RGB(236, 236, 246), RGB(240, 255, 220),
                              RGB(255, 250, 210), RGB(245, 225, 255), RGB(220, 245, 235),
                              RGB(255, 232, 240), RGB(220, 220, 250), RGB(250, 240, 225),
                              RGB(230, 245, 255)};
    const auto& banks = Banks();
    for (int b = 0; b < static_cast<int>(banks.size()); ++b) {
        const char32_t emoji = buttons[b];
        MakeButton(out, Pack::Module, 300 + 10 * b, 40, 40, Kind::Choice,
                   [emoji](Canvas& c, int dx, int dy) { c.Emoji(emoji, 5 + dx, 5 + dy, 35 + dx, 35 + dy); },
                   Tile{tiles[b], RGB(120, 96, 60), kWorkshopFrame});
        for (int i = 0; i < static_cast<int>(banks[b].size()); ++i) {
            const int id = 2000 + 200 * b + 4 * i;
            Stamp(out, id, banks[b][i], kNormal);
            Stamp(out, id + 2, banks[b][i], kNormal * 2);
        }
    }
}

}  // namespace art
