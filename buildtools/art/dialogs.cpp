// The dialogs' pictures: arrows, OK and Cancel, previews, the effect buttons
// (each showing its effect on a small picture) and the font chooser's buttons.
#include <algorithm>
#include <cmath>

#include "buildtools/art/art.h"

namespace art {
namespace {

const Tile kYes{kPaleGreen, RGB(40, 130, 60), kDialogCream};
const Tile kNo{kPalePink, RGB(170, 40, 40), kDialogCream};
const Tile kPlain{RGB(255, 252, 240), RGB(120, 96, 60), kDialogCream};

void OkButton(Output& out, int id, int width, int height, char32_t extra) {
    MakeButton(out, Pack::Program, id, width, height, Kind::Dialog,
               [=](Canvas& c, int dx, int dy) {
                   const int s = height - 8;
                   if (extra == 0) {
                       c.Emoji(0x2705, (width - s) / 2 + dx, 4 + dy, (width + s) / 2 + dx, 4 + s + dy);
                   } else {
                       c.Emoji(0x2705, width / 2 - s - 2 + dx, 4 + dy, width / 2 - 2 + dx, 4 + s + dy);
                       if (extra == 0x1F6AA) {
                           // The way out is the same open door as on the quit button.
                           DrawDoor(c, width / 2 + 4 + dx, 4 + dy, s * 3 / 4, s);
                       } else {
                           c.Emoji(extra, width / 2 + 2 + dx, 4 + dy, width / 2 + 2 + s + dx, 4 + s + dy);
                       }
                   }
               },
               kYes);
}

void CancelButton(Output& out, int id, int width, int height) {
    MakeButton(out, Pack::Program, id, width, height, Kind::Dialog,
               [=](Canvas& c, int dx, int dy) {
                   const int s = height - 10;
                   c.Emoji(0x274C, (width - s) / 2 + dx, 5 + dy, (width + s) / 2 + dx, 5 + s + dy);
               },
               kNo);
}

void ArrowButton(Output& out, int id, bool right) {
    MakeButton(out, Pack::Program, id, 32, 200, Kind::Dialog,
               [=](Canvas& c, int dx, int dy) {
                   const int tip = right ? 27 : 5;
                   const int back = right ? 7 : 25;
                   c.Polygon({{back + dx, 70 + dy}, {tip + dx, 100 + dy}, {back + dx, 130 + dy}},
                             RGB(40, 120, 240), kInk, 2);
               },
               Tile{kPaleBlue, RGB(90, 110, 150), kDialogCream});
}

// The small picture every effect button transforms.
void Sample(Canvas& c) {
    c.Gradient(0, 0, 34, 24, RGB(90, 170, 255), RGB(200, 235, 255));
    c.Box(0, 24, 34, 34, RGB(80, 190, 70));
    c.Oval(22, 3, 31, 12, RGB(255, 210, 40));
    c.Box(5, 15, 18, 27, RGB(240, 80, 70), kInk, 1);
    c.Polygon({{3, 16}, {11, 8}, {20, 16}}, RGB(150, 70, 40), kInk, 1);
    c.Box(10, 20, 13, 27, RGB(120, 70, 30));
}

uint32_t Rgb(int r, int g, int b) {
    return (std::clamp(r, 0, 255) << 16) | (std::clamp(g, 0, 255) << 8) | std::clamp(b, 0, 255);
}

// Applies effect e (in the order of the effects chooser) to the sample.
void ApplyEffect(Canvas& c, int e) {
    const int w = c.Width();
    const int h = c.Height();
    std::vector<uint32_t> src(w * h);
    for (int y = 0; y < h; ++y) for (int x = 0; x < w; ++x) src[y * w + x] = c.Get(x, y);
    auto R = [&](int x, int y) { x = std::clamp(x, 0, w - 1); y = std::clamp(y, 0, h - 1); return static_cast<int>((src[y * w + x] >> 16) & 0xFF); };
    auto G = [&](int x, int y) { x = std::clamp(x, 0, w - 1); y = std::clamp(y, 0, h - 1); return static_cast<int>((src[y * w + x] >> 8) & 0xFF); };
    auto B = [&](int x, int y) { x = std::clamp(x, 0, w - 1); y = std::clamp(y, 0, h - 1); return static_cast<int>(src[y * w + x] & 0xFF); };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int r = R(x, y), g = G(x, y), b = B(x, y);
            const int grey = (r * 30 + g * 59 + b * 11) / 100;
            uint32_t v = src[y * w + x];
            switch (e) {
            case 0: v = Rgb(r + 70, g + 70, b + 70); break;
            case 1: v = Rgb(grey + (r - grey) * 2, grey + (g - grey) * 2, grey + (b - grey) * 2); break;
            case 2: v = Rgb(255 - r, 255 - g, 255 - b); break;
            case 3: v = Rgb(grey, grey, grey); break;
            case 4: v = Rgb(g, b, r); break;
            case 5: v = Rgb(grey / 3, grey / 2 + 40, grey + 60); break;
            case 6: v = Rgb(grey + 70, grey + 20, grey / 3); break;
            case 7: v = Rgb(R(x / 6 * 6 + 3, y / 6 * 6 + 3), G(x / 6 * 6 + 3, y / 6 * 6 + 3), B(x / 6 * 6 + 3, y / 6 * 6 + 3)); break;
            case 8: {
                const int cx = x / 8 * 8, cy = y / 8 * 8;
                const bool upper = (x - cx) > (y - cy);
                const int sx = cx + (upper ? 5 : 2), sy = cy + (upper ? 2 : 5);
                v = Rgb(R(sx, sy), G(sx, sy), B(sx, sy));
                break;
            }
            case 9: {
                const int cx = x / 5 * 5 + 2, cy = y / 5 * 5 + 2;
                const bool in = (x - cx) * (x - cx) + (y - cy) * (y - cy) <= 4;
                v = in ? Rgb(R(cx, cy), G(cx, cy), B(cx, cy)) : 0xFFFFFF;
                break;
            }
            case 10: v = ((x + y) % 9 < 2) ? Rgb(r + 110, g + 110, b + 90) : v; break;
            case 11: { const int sx = x + ((y / 8) % 2 ? 3 : -3); v = Rgb(R(sx, y), G(sx, y), B(sx, y)); break; }
            case 12: {
                const int lx = x % 9, ly = y % 9;
                v = (lx == 0 || ly == 0) ? Rgb(r + 80, g + 80, b + 80) : (lx == 8 || ly == 8) ? Rgb(r / 2, g / 2, b / 2) : v;
                break;
            }
            case 13: { const int m = static_cast<int>(40 * std::sin(x * 0.7) * std::cos(y * 0.6)); v = Rgb(r - 40 + m, g - 40 + m, b - 40 + m); break; }
            case 20: v = Rgb(128 + (r - R(x + 1, y + 1)) * 2, 128 + (g - G(x + 1, y + 1)) * 2, 128 + (b - B(x + 1, y + 1)) * 2); break;
            case 21: {
                int sr = 0, sg = 0, sb = 0;
                for (int j = -2; j <= 2; ++j) for (int i = -2; i <= 2; ++i) { sr += R(x + i, y + j); sg += G(x + i, y + j); sb += B(x + i, y + j); }
                v = Rgb(sr / 25, sg / 25, sb / 25);
                break;
            }
            default: break;
            }
            c.Set(x, y, v);
        }
    }
    switch (e) {
    case 14:
        for (int i = 0; i < 16; ++i) c.Oval((i * 13) % 32, (i * 7) % 32, (i * 13) % 32 + 3, (i * 7) % 32 + 3, kWhite);
        break;
    case 15:
        c.Lines(Canvas::Bezier({0, 34}, {4, 20}, {0, 10}, {6, 0}), RGB(30, 130, 40), 2);
        c.Oval(4, 8, 12, 14, RGB(50, 170, 60));
        c.Oval(0, 18, 8, 24, RGB(50, 170, 60));
        break;
    case 16:
        for (int i = 0; i < 8; ++i) c.Line(28, 2, 28 - 40 * std::cos(i * 0.2), 2 + 40 * std::sin(i * 0.2), RGB(255, 240, 150), 1);
        c.Oval(22, -4, 34, 8, RGB(255, 230, 80));
        break;
    case 17:
        for (int i = 0; i < 5; ++i) {
            const int x = (i * 11) % 28, y = (i * 17) % 26, s = 5 + i % 3 * 2;
            c.Oval(x, y, x + s, y + s, kNone, RGB(230, 250, 255), 1);
            c.Box(x + 2, y + 2, x + 2, y + 2, kWhite);
        }
        break;
    case 18: DrawJigsaw(c, 0, 0, w, h, 2, 2, 1, 5); break;
    case 19: DrawJigsaw(c, 0, 0, w, h, 4, 4, 1, 9); break;
    default: break;
    }
}

void EffectButtons(Output& out) {
    for (int e = 0; e < 22; ++e) {
        MakeButton(out, Pack::Program, 600 + 2 * e, 40, 40, Kind::Dialog,
                   [e](Canvas& c, int dx, int dy) {
                       Canvas sample(34, 34);
                       Sample(sample);
                       ApplyEffect(sample, e);
                       c.Draw(sample, 3 + dx, 3 + dy, 34, 34);
                       c.Box(3 + dx, 3 + dy, 36 + dx, 36 + dy, kNone, kInk, 1);
                   },
                   kPlain);
    }
}

void FontButtons(Output& out) {
    auto letter = [&](int id, int w, int h, const char* text, int size, int weight, bool italic, const Tile& tile) {
        MakeButton(out, Pack::Program, id, w, h, Kind::Dialog,
                   [=](Canvas& c, int dx, int dy) {
                       if (italic) {
                           // Slant the letter by drawing it row band by row band.
                           Canvas glyph(w, h, RGB(255, 0, 255));
                           glyph.Text(text, 0, 0, w, h, kFaceSans, size, kInk, weight);
                           for (int y = 0; y < h; ++y) {
                               const int shift = (h / 2 - y) / 4;
                               for (int x = 0; x < w; ++x) {
                                   const uint32_t p = glyph.Get(x, y);
                                   if (p != 0xFF00FF && c.Inside(x + shift + dx, y + dy)) c.Set(x + shift + dx, y + dy, p);
                               }
                           }
                       } else {
                           c.Text(text, dx, dy, w + dx, h + dy, kFaceSans, size, kInk, weight);
                       }
                   },
                   tile);
    };
    letter(700, 38, 38, "A-", 13, FW_BOLD, false, kPlain);
    letter(702, 38, 38, "A+", 22, FW_BOLD, false, kPlain);
    letter(704, 38, 34, "I", 24, FW_NORMAL, false, kPlain);
    letter(706, 38, 34, "I", 24, FW_NORMAL, true, Tile{RGB(255, 214, 72), RGB(230, 110, 20), kDialogCream});
    letter(708, 38, 34, "B", 22, FW_NORMAL, false, kPlain);
    letter(710, 38, 34, "B", 24, 900, false, Tile{RGB(255, 214, 72), RGB(230, 110, 20), kDialogCream});
    for (int style = 0; style < 3; ++style) {
        MakeButton(out, Pack::Program, 712 + 2 * style, 80, 34, Kind::Dialog,
                   [style](Canvas& c, int dx, int dy) {
                       const COLORREF fill = style == 2 ? RGB(255, 240, 120) : kWhite;
                       c.Oval(18 + dx, 4 + dy, 62 + dx, 26 + dy, fill, kInk, 2);
                       c.Polygon({{28 + dx, 23 + dy}, {24 + dx, 31 + dy}, {36 + dx, 25 + dy}}, fill);
                       c.Lines({{28 + dx, 24 + dy}, {24 + dx, 31 + dy}, {36 + dx, 26 + dy}}, kInk, 2);
                       if (style == 0) {
                           c.Line(16 + dx, 30 + dy, 64 + dx, 3 + dy, RGB(220, 30, 40), 3);
                       } else {
                           c.Text("abc", 18 + dx, 4 + dy, 62 + dx, 26 + dy, kFaceComic, 13, kInk, FW_BOLD);
                       }
                   },
                   kPlain);
    }
    OkButton(out, 718, 80, 34, 0);
    CancelButton(out, 720, 80, 34);
}

}  // namespace

void MakeDialogPictures(Output& out) {
    ArrowButton(out, 570, false);
    ArrowButton(out, 572, true);
    CancelButton(out, 574, 80, 40);
    OkButton(out, 576, 80, 40, 0x1F4C2);
    OkButton(out, 578, 80, 40, 0x1F4BE);
    OkButton(out, 580, 80, 40, 0x1F5A8);
    OkButton(out, 582, 80, 40, 0);
    OkButton(out, 584, 80, 40, 0x1F6AA);
    {
        Canvas empty(256, 200, RGB(255, 250, 235));
        empty.Box(60, 20, 196, 180, kWhite, RGB(160, 150, 130), 2);
        empty.Polygon({{170, 20}, {196, 46}, {170, 46}}, RGB(230, 225, 210), RGB(160, 150, 130), 2);
        empty.Text("?", 60, 30, 196, 180, kFaceFat, 90, RGB(200, 190, 170));
        out.Picture(Pack::Program, 590, empty);
    }
    MakeButton(out, Pack::Program, 592, 128, 100, Kind::Fixed, [](Canvas& c, int, int) {
        c.Box(44, 8, 84, 44, kWhite, kInk, 1);
        c.Emoji(0x1F308, 48, 14, 80, 40);
        c.Emoji(0x1F5A8, 24, 30, 104, 96);
    }, kPlain);
    MakeButton(out, Pack::Program, 594, 128, 100, Kind::Fixed, [](Canvas& c, int, int) {
        DrawDoor(c, 14, 12, 54, 76);
        c.Emoji(0x1F44B, 66, 24, 116, 74);
    }, kPlain);
    EffectButtons(out);
    FontButtons(out);
}

}  // namespace art
