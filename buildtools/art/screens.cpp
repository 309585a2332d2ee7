// The language screen's flags and logos and the title picture.
#include <cmath>

#include "buildtools/art/art.h"

namespace art {
namespace {

constexpr int kFlagW = 120;
constexpr int kFlagH = 80;
// The language screen's yellow, behind its buttons.
constexpr COLORREF kScreenYellow = RGB(255, 206, 24);

void Stripes(Canvas& f, bool vertical, std::vector<COLORREF> colours) {
    const int n = static_cast<int>(colours.size());
    for (int i = 0; i < n; ++i) {
        if (vertical) {
            f.Box(i * f.Width() / n, 0, (i + 1) * f.Width() / n - 1, f.Height() - 1, colours[i]);
        } else {
            f.Box(0, i * f.Height() / n, f.Width() - 1, (i + 1) * f.Height() / n - 1, colours[i]);
        }
    }
}

void UnionFlag(Canvas& f) {
    const COLORREF blue = RGB(1, 33, 105);
    const COLORREF red = RGB(200, 16, 46);
    const int w = f.Width();
    const int h = f.Height();
    f.Fill(blue);
    f.Line(0, 0, w, h, kWhite, 14);
    f.Line(0, h, w, 0, kWhite, 14);
    f.Line(0, 0, w, h, red, 5);
    f.Line(0, h, w, 0, red, 5);
    f.Box(0, h / 2 - 13, w, h / 2 + 13, kWhite);
    f.Box(w / 2 - 13, 0, w / 2 + 13, h, kWhite);
    f.Box(0, h / 2 - 8, w, h / 2 + 8, red);
    f.Box(w / 2 - 8, 0, w / 2 + 8, h, red);
}

// The blues and the green lean a little away from teal, which is the nearest
// colour of the program palette to their usual shades: on a 256-colour screen
// the French and the Italian flags would otherwise look alike.
void DrawFlag(Canvas& f, int language) {
    switch (language) {
    case 0: Stripes(f, true, {RGB(0, 55, 170), kWhite, RGB(239, 65, 53)}); break;
    case 1: UnionFlag(f); break;
    case 2: Stripes(f, false, {kBlack, RGB(221, 0, 0), RGB(255, 206, 0)}); break;
    case 3:
        // Red, a yellow band twice as tall, red.
        f.Fill(RGB(198, 11, 30));
        f.Box(0, f.Height() / 4, f.Width() - 1, f.Height() * 3 / 4 - 1, RGB(255, 196, 0));
        break;
    case 4: Stripes(f, false, {RGB(174, 28, 40), kWhite, RGB(25, 50, 150)}); break;
    default: Stripes(f, true, {RGB(0, 146, 50), kWhite, RGB(206, 43, 55)}); break;
    }
}

void Logo(Output& out, int id, int width, int height, const std::string& words, char32_t emoji,
          COLORREF tile) {
    MakeButton(out, Pack::Program, id, width, height, Kind::Push,
               [=](Canvas& c, int dx, int dy) {
                   c.Emoji(emoji, 6 + dx, 6 + dy, height - 6 + dx, height - 6 + dy);
                   c.OutlinedText(words, height - 4 + dx, dy, width - 6 + dx, height + dy, kFaceFat,
                                  height / 2 - 2, RGB(255, 255, 255), RGB(60, 40, 120), 2);
               },
               Tile{tile, RGB(60, 40, 120), kScreenYellow});
}

// The title picture: the name in big friendly letters over a painted sky,
// with the painter's tools around it.
void DrawTitle(Canvas& c) {
    c.Gradient(0, 0, 640, 480, RGB(120, 200, 255), RGB(255, 240, 200));
    const COLORREF bands[] = {RGB(230, 40, 40),  RGB(255, 150, 30), RGB(255, 230, 40),
                              RGB(60, 190, 70),  RGB(40, 120, 240), RGB(130, 60, 200)};
    for (int i = 0; i < 6; ++i) c.Oval(20 + i * 22, 60 + i * 22, 620 - i * 22, 660 - i * 22, bands[i]);
    c.Oval(152, 192, 488, 528, RGB(210, 235, 250));
    c.Oval(-80, 380, 300, 560, RGB(120, 200, 90));
    c.Oval(260, 400, 720, 600, RGB(90, 180, 70));
    c.OutlinedText("Le petit", 0, 110, 640, 180, kFaceFat, 56, RGB(255, 230, 60), RGB(60, 40, 120), 4);
    c.OutlinedText("Tavelin", 0, 170, 640, 290, kFaceFat, 100, RGB(240, 70, 90), RGB(60, 40, 120), 5);
    c.Emoji(0x1F3A8, 40, 330, 160, 450);
    c.Emoji(0x1F58C, 480, 320, 600, 440);
    c.Emoji(0x1F58D, 250, 330, 330, 410);
    c.Emoji(0x2600, 20, 10, 110, 100);
    c.Emoji(0x1F98B, 540, 30, 610, 100);
    c.Emoji(0x2B50, 340, 360, 400, 420);
    const COLORREF dots[] = {RGB(230, 40, 40), RGB(40, 120, 240), RGB(255, 170, 0), RGB(60, 190, 70)};
    for (int i = 0; i < 14; ++i) {
        const int x = 170 + (i * 137) % 300;
        const int y = 300 + (i * 53) % 70;
        c.Oval(x, y, x + 10 + i % 3 * 4, y + 10 + i % 3 * 4, dots[i % 4]);
    }
}

}  // namespace

void MakeScreens(Output& out) {
    for (int language = 0; language < 6; ++language) {
        MakeButton(out, Pack::Program, 800 + 10 * language, kFlagW, kFlagH, Kind::Push,
                   [language](Canvas& c, int dx, int dy) {
                       Canvas flag(kFlagW - 12, kFlagH - 12);
                       DrawFlag(flag, language);
                       // Copied pixel for pixel: resampling would blur the stripes' edges.
                       for (int y = 0; y < flag.Height(); ++y) {
                           for (int x = 0; x < flag.Width(); ++x) c.Set(6 + dx + x, 6 + dy + y, flag.Get(x, y));
                       }
                       c.Box(5 + dx, 5 + dy, kFlagW - 7 + dx, kFlagH - 7 + dy, kNone, kInk, 1);
                   },
                   Tile{RGB(255, 252, 240), RGB(60, 40, 120), kScreenYellow});
    }
    Logo(out, 860, 240, 64, "Palmiron", 0x1F3A8, kPaleOrange);
    Logo(out, 865, 280, 68, "Petit Tavelin", 0x1F58C, kPaleBlue);
    Canvas title(640, 480);
    DrawTitle(title);
    out.Picture(Pack::Program, 870, title, 8);
    out.Picture(Pack::Program, 871, title, 24);
}

}  // namespace art
