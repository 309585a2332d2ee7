// The picture module's other pictures: the blank paper, the backgrounds'
// thumbnails, the two puzzle frames and the farewell picture.
#include <cmath>

#include "buildtools/art/art.h"

namespace art {
namespace {

// One edge of a piece from a to b, with a knob sticking out on one side.
std::vector<Pt> Edge(Pt a, Pt b, int side) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double nx = -dy / len * side;
    const double ny = dx / len * side;
    auto at = [&](double t, double n) {
        return Pt{static_cast<int>(std::lround(a.x + dx * t + nx * n * len)),
                  static_cast<int>(std::lround(a.y + dy * t + ny * n * len))};
    };
    std::vector<Pt> points = {at(0, 0), at(0.38, 0)};
    for (Pt p : Canvas::Bezier(at(0.38, 0), at(0.30, 0.18), at(0.70, 0.18), at(0.62, 0), 20)) {
        points.push_back(p);
    }
    points.push_back(at(1, 0));
    return points;
}

}  // namespace

void DrawJigsaw(Canvas& c, int left, int top, int width, int height, int cols, int rows,
                int penWidth, unsigned seed) {
    auto flip = [&seed]() {
        seed = seed * 214013 + 2531011;
        return ((seed >> 16) & 1) ? 1 : -1;
    };
    auto x = [&](int i) { return left + i * (width - 1) / cols; };
    auto y = [&](int j) { return top + j * (height - 1) / rows; };
    for (int j = 1; j < rows; ++j) {
        for (int i = 0; i < cols; ++i) c.Lines(Edge({x(i), y(j)}, {x(i + 1), y(j)}, flip()), kBlack, penWidth);
    }
    for (int i = 1; i < cols; ++i) {
        for (int j = 0; j < rows; ++j) c.Lines(Edge({x(i), y(j)}, {x(i), y(j + 1)}, flip()), kBlack, penWidth);
    }
    c.Box(left, top, left + width - 1, top + height - 1, kNone, kBlack, penWidth);
}

void MakeModuleExtras(Output& out) {
    {
        Canvas paper(512, 400, kWhite);
        out.Picture(Pack::Module, 1490, paper);
    }
    for (int j = 0; j < 23; ++j) {
        Canvas scene(512, 400);
        DrawBackground(scene, j);
        for (int pressed = 0; pressed < 2; ++pressed) {
            Canvas thumb(100, 78, pressed ? RGB(255, 214, 72) : RGB(120, 96, 60));
            const int inset = pressed ? 3 : 1;
            thumb.Draw(scene, inset, inset, 100 - 2 * inset, 78 - 2 * inset);
            if (pressed) thumb.Box(0, 0, 99, 77, kNone, RGB(230, 110, 20), 1);
            out.Picture(Pack::Module, 510 + 2 * j + pressed, thumb);
        }
    }
    {
        Canvas large(512, 400, kWhite);
        DrawJigsaw(large, 0, 0, 512, 400, 4, 3, 2, 17);
        out.Picture(Pack::Module, 1470, large);
        Canvas small(512, 400, kWhite);
        DrawJigsaw(small, 0, 0, 512, 400, 8, 6, 2, 29);
        out.Picture(Pack::Module, 1474, small);
    }
    {
        // The farewell: a whole rainbow over the hills and a big waving hand,
        // without words, so that it says goodbye in every language.
        Canvas bye(450, 250);
        bye.Gradient(0, 0, 450, 250, RGB(160, 208, 250), RGB(200, 238, 255));
        const COLORREF bands[] = {RGB(230, 40, 40), RGB(255, 150, 30), RGB(255, 230, 40),
                                  RGB(60, 190, 70), RGB(40, 120, 240), RGB(130, 60, 200)};
        for (int i = 0; i < 6; ++i) bye.Oval(45 + i * 14, 22 + i * 14, 405 - i * 14, 382 - i * 14, bands[i]);
        bye.Oval(129, 106, 321, 298, RGB(200, 232, 255));
        for (int side = 0; side < 2; ++side) {
            const int x = side == 0 ? 14 : 316;
            bye.Oval(x, 176, x + 120, 226, kWhite);
            bye.Oval(x + 26, 150, x + 86, 206, kWhite);
            bye.Oval(x + 62, 162, x + 112, 210, kWhite);
        }
        bye.Oval(-80, 205, 250, 330, RGB(120, 200, 90));
        bye.Oval(190, 212, 540, 330, RGB(90, 180, 70));
        bye.Emoji(0x1F44B, 168, 124, 282, 238);
        bye.Emoji(0x2600, 8, 6, 68, 66);
        bye.Emoji(0x1F98B, 384, 12, 434, 62);
        bye.Emoji(0x1F3A8, 26, 196, 76, 246);
        bye.Emoji(0x1F58C, 376, 194, 426, 244);
        out.Picture(Pack::Module, 597, bye);
    }
}

}  // namespace art
