// The picture module's backgrounds: scenes to draw on, and colouring pages
// whose black outlines are closed and hard-edged so that the paint can fills
// each part cleanly. Backgrounds 18 to 22 are kept in 256 colours; 23 to 27
// are the same scenes in true colour.
#include <algorithm>
#include <cmath>

#include "buildtools/art/art.h"

namespace art {
namespace {

constexpr int kW = 512;
constexpr int kH = 400;
constexpr int kPen = 3;

void Sun(Canvas& c, int x, int y, int r) {
    for (int i = 0; i < 12; ++i) {
        const double a = i * 3.14159265 / 6;
        c.Line(x + static_cast<int>((r + 6) * std::cos(a)), y + static_cast<int>((r + 6) * std::sin(a)),
               x + static_cast<int>((r + 18) * std::cos(a)), y + static_cast<int>((r + 18) * std::sin(a)),
               RGB(255, 200, 40), 4);
    }
    c.Oval(x - r, y - r, x + r, y + r, RGB(255, 220, 50), RGB(255, 170, 30), 3);
}

void Cloud(Canvas& c, int x, int y, int s, COLORREF colour = kWhite) {
    c.Oval(x, y + s / 3, x + s * 2, y + s + s / 6, colour);
    c.Oval(x + s / 3, y, x + s + s / 3, y + s, colour);
    c.Oval(x + s, y + s / 6, x + s * 2 - s / 5, y + s, colour);
}

// Rolling ground from y downwards, made of a wave.
void Hills(Canvas& c, int y, int amplitude, double phase, COLORREF colour) {
    std::vector<Pt> shape = {{0, kH}};
    for (int x = 0; x <= kW; x += 8) {
        shape.push_back({x, y + static_cast<int>(amplitude * std::sin(x / 90.0 + phase))});
    }
    shape.push_back({kW, kH});
    c.Polygon(shape, colour);
}

void Put(Canvas& c, char32_t emoji, int x, int y, int size) {
    c.Emoji(emoji, x - size / 2, y - size / 2, x + size / 2, y + size / 2);
}

void Meadow(Canvas& c) {
    c.Gradient(0, 0, kW, kH, RGB(120, 190, 255), RGB(210, 240, 255));
    Sun(c, 440, 70, 34);
    Cloud(c, 60, 50, 50);
    Cloud(c, 250, 90, 36);
    Hills(c, 290, 14, 0.5, RGB(120, 200, 90));
    Hills(c, 320, 10, 2.0, RGB(90, 180, 70));
    Put(c, U'\U0001F3E1', 110, 270, 110);
    Put(c, U'\U0001F333', 400, 260, 120);
    for (int i = 0; i < 7; ++i) Put(c, i % 2 ? U'\U0001F33C' : U'\U0001F337', 30 + i * 70, 370, 26);
}

void Beach(Canvas& c) {
    c.Gradient(0, 0, kW, 220, RGB(90, 180, 255), RGB(200, 235, 255));
    Sun(c, 80, 70, 30);
    Cloud(c, 300, 40, 40);
    c.Gradient(0, 220, kW, 300, RGB(40, 140, 220), RGB(90, 200, 230));
    for (int x = 0; x < kW; x += 40) c.Lines(Canvas::Bezier({x, 250}, {x + 10, 244}, {x + 20, 244}, {x + 30, 250}, 8), kWhite, 2);
    c.Polygon({{0, 300}, {kW, 280}, {kW, kH}, {0, kH}}, RGB(250, 220, 150));
    Put(c, U'\U0001F334', 420, 220, 150);
    Put(c, U'\u26F5', 200, 215, 56);
    Put(c, U'\U0001F41A', 90, 360, 36);
    Put(c, U'\U0001F980', 300, 365, 40);
}

void Underwater(Canvas& c) {
    c.Gradient(0, 0, kW, kH, RGB(60, 170, 230), RGB(10, 60, 140));
    c.Polygon({{0, 350}, {120, 335}, {260, 350}, {400, 330}, {kW, 345}, {kW, kH}, {0, kH}}, RGB(230, 205, 140));
    for (int i = 0; i < 5; ++i) {
        const int x = 40 + i * 110;
        c.Lines(Canvas::Bezier({x, 350}, {x - 20, 300}, {x + 20, 280}, {x, 230 + (i % 2) * 30}), RGB(20, 150, 40), 6);
    }
    Put(c, U'\U0001F420', 120, 120, 70);
    Put(c, U'\U0001F419', 420, 300, 80);
    Put(c, U'\U0001F421', 360, 90, 56);
    for (int i = 0; i < 8; ++i) c.Oval(240 + (i % 3) * 9, 200 - i * 22, 250 + (i % 3) * 9 + i, 210 - i * 22 + i, kNone, RGB(200, 240, 255), 2);
}

void Space(Canvas& c) {
    c.Gradient(0, 0, kW, kH, RGB(10, 10, 50), RGB(50, 20, 90));
    unsigned seed = 7;
    for (int i = 0; i < 120; ++i) {
        seed = seed * 214013 + 2531011;
        const int x = (seed >> 16) % kW;
        seed = seed * 214013 + 2531011;
        const int y = (seed >> 16) % kH;
        c.Box(x, y, x + (i % 7 == 0), y + (i % 7 == 0), i % 3 ? kWhite : RGB(255, 240, 150));
    }
    Put(c, U'\U0001FA90', 400, 90, 110);
    Put(c, U'\U0001F680', 130, 250, 110);
    c.Oval(-60, 330, 260, 520, RGB(190, 190, 200));
    c.Oval(60, 360, 100, 380, RGB(160, 160, 170));
    c.Oval(150, 345, 180, 360, RGB(160, 160, 170));
}

void Winter(Canvas& c) {
    c.Gradient(0, 0, kW, kH, RGB(170, 200, 240), RGB(235, 245, 255));
    Hills(c, 270, 20, 1.0, RGB(245, 250, 255));
    Hills(c, 310, 12, 3.0, kWhite);
    Put(c, U'\u26C4', 130, 270, 120);
    Put(c, U'\U0001F332', 380, 240, 120);
    Put(c, U'\U0001F332', 460, 270, 80);
    unsigned seed = 3;
    for (int i = 0; i < 60; ++i) {
        seed = seed * 214013 + 2531011;
        const int x = (seed >> 16) % kW;
        seed = seed * 214013 + 2531011;
        const int y = (seed >> 16) % 260;
        c.Oval(x, y, x + 5, y + 5, kWhite);
    }
}

void Farm(Canvas& c) {
    c.Gradient(0, 0, kW, kH, RGB(140, 200, 255), RGB(230, 245, 255));
    Sun(c, 70, 60, 28);
    // Greens that the program palette holds, or the field turns brown on a
    // 256-colour screen.
    Hills(c, 250, 18, 0.0, RGB(130, 215, 100));
    c.Box(0, 300, kW, kH, RGB(100, 200, 80));
    c.Box(0, 300, kW, 302, RGB(70, 170, 50));
    for (int x = 10; x < kW; x += 34) c.Box(x, 270, x + 6, 312, RGB(180, 120, 60), RGB(120, 80, 40), 1);
    c.Box(0, 280, kW, 286, RGB(180, 120, 60), RGB(120, 80, 40), 1);
    Put(c, U'\U0001F404', 130, 330, 90);
    Put(c, U'\U0001F414', 390, 350, 50);
    Put(c, U'\U0001F69C', 400, 230, 80);
}

void Sunset(Canvas& c) {
    // Pink and purple rather than the greyer mauves between, which the
    // program palette would show grey on a 256-colour screen.
    c.Gradient(0, 0, kW, 260, RGB(200, 80, 200), RGB(255, 170, 90));
    c.Oval(190, 170, 320, 300, RGB(255, 220, 90));
    c.Gradient(0, 240, kW, kH, RGB(250, 110, 90), RGB(130, 30, 130));
    for (int y = 250; y < 390; y += 18) c.Line(200 - (y - 240) / 2, y, 310 + (y - 240) / 2, y, RGB(255, 210, 110), 2);
    Cloud(c, 40, 60, 40, RGB(255, 190, 200));
    Cloud(c, 360, 100, 34, RGB(255, 190, 200));
    Put(c, U'\u26F5', 410, 260, 60);
}

void Rainbow(Canvas& c) {
    c.Gradient(0, 0, kW, kH, RGB(150, 210, 255), RGB(235, 250, 255));
    const COLORREF bands[] = {RGB(230, 40, 40),  RGB(255, 150, 30), RGB(255, 230, 40),
                              RGB(60, 190, 70),  RGB(40, 120, 240), RGB(130, 60, 200)};
    for (int i = 0; i < 6; ++i) c.Oval(40 + i * 16, 60 + i * 16, 472 - i * 16, 500 - i * 16, bands[i]);
    c.Oval(136, 156, 376, 404, RGB(200, 232, 255));
    Cloud(c, 10, 230, 60);
    Cloud(c, 380, 230, 60);
    Hills(c, 320, 16, 1.5, RGB(120, 200, 90));
    Put(c, U'\U0001F984', 256, 300, 90);
}

// A tree trunk from the ground up into the leaves, with a branch reaching
// out to one side at the given height for an animal to sit on.
void JungleTree(Canvas& c, int x, int branchY, int branchEnd) {
    const COLORREF bark = RGB(120, 80, 40);
    const COLORREF edge = RGB(80, 50, 25);
    c.Polygon({{x - 16, 335}, {x - 10, 0}, {x + 10, 0}, {x + 16, 335}}, bark, edge, 2);
    const int tip = branchEnd > x ? branchEnd + 8 : branchEnd - 8;
    c.Polygon({{x, branchY - 12}, {tip, branchY - 3}, {tip, branchY + 3}, {x, branchY + 12}}, bark, edge, 2);
    c.Oval(branchEnd - 14, branchY - 14, branchEnd + 10, branchY - 2, RGB(60, 160, 50));
}

void Jungle(Canvas& c) {
    // Light greens down to the ground: the program palette's greens are pure
    // ones, and the darker natural greens between would turn grey on a
    // 256-colour screen.
    c.Gradient(0, 0, kW, kH, RGB(160, 230, 150), RGB(90, 190, 80));
    JungleTree(c, 40, 232, 150);
    JungleTree(c, 470, 152, 380);
    // The leaves overhead, with vines hanging from them.
    for (int i = 0; i < 6; ++i) {
        const int x = 20 + i * 95;
        c.Lines(Canvas::Bezier({x, 20}, {x + 30, 80}, {x - 30, 130}, {x + 10, 190}), RGB(40, 120, 30), 4);
    }
    for (int x = -30; x < kW + 30; x += 56) {
        c.Oval(x, -40, x + 90, 40 + (x / 56 % 2) * 14, RGB(30, 130, 30));
        c.Oval(x + 24, -30, x + 90, 26, RGB(60, 160, 50));
    }
    c.Box(0, 330, kW, kH, RGB(110, 80, 40));
    // The monkey and the parrot sit on the branches, the lizard on the ground.
    Put(c, U'\U0001F412', 100, 190, 80);
    Put(c, U'\U0001F99C', 400, 118, 66);
    Put(c, U'\U0001F98E', 300, 350, 60);
    Put(c, U'\U0001F33F', 210, 320, 70);
}

void CloudCastle(Canvas& c) {
    c.Gradient(0, 0, kW, kH, RGB(255, 200, 230), RGB(180, 220, 255));
    Cloud(c, 20, 280, 90);
    Cloud(c, 260, 290, 100);
    Put(c, U'\U0001F3F0', 256, 220, 170);
    // A cloud under the castle, so that it stands on something.
    Cloud(c, 150, 282, 110);
    Put(c, U'\U0001F409', 80, 90, 90);
    Put(c, U'\u2B50', 440, 60, 40);
    Put(c, U'\u2B50', 380, 110, 24);
}

void Desert(Canvas& c) {
    c.Gradient(0, 0, kW, kH, RGB(255, 210, 120), RGB(255, 240, 200));
    Sun(c, 430, 70, 32);
    c.Polygon({{60, 300}, {170, 150}, {280, 300}}, RGB(220, 170, 80), RGB(170, 120, 50), 2);
    c.Polygon({{220, 300}, {300, 190}, {380, 300}}, RGB(230, 185, 95), RGB(170, 120, 50), 2);
    Hills(c, 300, 10, 0.7, RGB(240, 200, 120));
    Put(c, U'\U0001F335', 430, 290, 90);
    Put(c, U'\U0001F42A', 130, 330, 90);
    Put(c, U'\U0001F995', 330, 350, 70);
}

void Night(Canvas& c) {
    // Blues and greens that stay blue and green, not grey, on a 256-colour screen.
    c.Gradient(0, 0, kW, kH, RGB(10, 20, 80), RGB(40, 50, 150));
    unsigned seed = 11;
    for (int i = 0; i < 70; ++i) {
        seed = seed * 214013 + 2531011;
        const int x = (seed >> 16) % kW;
        seed = seed * 214013 + 2531011;
        const int y = (seed >> 16) % 250;
        c.Box(x, y, x + i % 2, y + i % 2, RGB(255, 250, 200));
    }
    Put(c, U'\U0001F319', 430, 80, 90);
    Hills(c, 290, 14, 0.5, RGB(20, 110, 40));
    Hills(c, 320, 10, 2.0, RGB(10, 90, 30));
    Put(c, U'\U0001F3E1', 110, 270, 110);
    Put(c, U'\U0001F333', 400, 260, 120);
    Put(c, U'\U0001F989', 385, 235, 44);
}

// Colouring pages: black outlines on white.
void Page(Canvas& c) { c.Fill(kWhite); }

void Ground(Canvas& c, int y) { c.Line(0, y, kW, y, kBlack, kPen); }

void PageHouse(Canvas& c) {
    Page(c);
    Ground(c, 340);
    c.Box(110, 180, 300, 340, kWhite, kBlack, kPen);
    c.Polygon({{90, 182}, {205, 80}, {320, 182}}, kWhite, kBlack, kPen);
    c.Box(250, 90, 275, 140, kWhite, kBlack, kPen);
    c.Polygon({{90, 182}, {205, 80}, {320, 182}}, kWhite, kBlack, kPen);
    c.Box(180, 260, 230, 340, kWhite, kBlack, kPen);
    c.Box(130, 205, 170, 245, kWhite, kBlack, kPen);
    c.Box(240, 205, 280, 245, kWhite, kBlack, kPen);
    c.Line(150, 205, 150, 245, kBlack, kPen);
    c.Line(260, 205, 260, 245, kBlack, kPen);
    c.Box(390, 250, 410, 340, kWhite, kBlack, kPen);
    c.Oval(350, 160, 450, 260, kWhite, kBlack, kPen);
    c.Oval(420, 30, 480, 90, kWhite, kBlack, kPen);
    c.Oval(30, 40, 120, 80, kWhite, kBlack, kPen);
}

void PageFish(Canvas& c) {
    Page(c);
    c.Lines(Canvas::Bezier({0, 360}, {150, 330}, {350, 390}, {kW, 350}), kBlack, kPen);
    c.Polygon({{330, 200}, {440, 130}, {420, 200}, {440, 270}}, kWhite, kBlack, kPen);
    c.Oval(110, 110, 360, 290, kWhite, kBlack, kPen);
    c.Oval(150, 160, 190, 200, kWhite, kBlack, kPen);
    c.Oval(163, 173, 177, 187, kBlack);
    c.Polygon({{220, 110}, {260, 60}, {300, 120}}, kWhite, kBlack, kPen);
    c.Lines(Canvas::Bezier({230, 110}, {210, 160}, {210, 240}, {230, 290}), kBlack, kPen);
    c.Lines(Canvas::Bezier({280, 115}, {260, 160}, {260, 240}, {280, 285}), kBlack, kPen);
    for (int i = 0; i < 3; ++i) c.Oval(70 - i * 8, 120 - i * 40, 100 - i * 4, 150 - i * 36, kWhite, kBlack, kPen);
    c.Oval(40, 250, 90, 352, kWhite, kBlack, kPen);
}

void PageFlower(Canvas& c) {
    Page(c);
    c.Polygon({{190, 300}, {320, 300}, {300, 390}, {210, 390}}, kWhite, kBlack, kPen);
    c.Box(180, 285, 330, 305, kWhite, kBlack, kPen);
    c.Box(250, 170, 260, 285, kWhite, kBlack, kPen);
    c.Oval(260, 210, 340, 250, kWhite, kBlack, kPen);
    c.Oval(170, 230, 250, 270, kWhite, kBlack, kPen);
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        const int x = 255 + static_cast<int>(62 * std::cos(a));
        const int y = 110 + static_cast<int>(62 * std::sin(a));
        c.Oval(x - 32, y - 32, x + 32, y + 32, kWhite, kBlack, kPen);
    }
    c.Oval(215, 70, 295, 150, kWhite, kBlack, kPen);
}

void PageButterfly(Canvas& c) {
    Page(c);
    c.Oval(80, 60, 250, 210, kWhite, kBlack, kPen);
    c.Oval(262, 60, 432, 210, kWhite, kBlack, kPen);
    c.Oval(110, 190, 250, 320, kWhite, kBlack, kPen);
    c.Oval(262, 190, 402, 320, kWhite, kBlack, kPen);
    c.Oval(130, 100, 190, 160, kWhite, kBlack, kPen);
    c.Oval(322, 100, 382, 160, kWhite, kBlack, kPen);
    c.Oval(150, 230, 200, 280, kWhite, kBlack, kPen);
    c.Oval(312, 230, 362, 280, kWhite, kBlack, kPen);
    c.Oval(236, 80, 276, 330, kWhite, kBlack, kPen);
    c.Oval(231, 45, 281, 95, kWhite, kBlack, kPen);
    c.Lines(Canvas::Bezier({245, 48}, {235, 20}, {215, 15}, {200, 20}), kBlack, kPen);
    c.Lines(Canvas::Bezier({267, 48}, {277, 20}, {297, 15}, {312, 20}), kBlack, kPen);
}

void PageCat(Canvas& c) {
    Page(c);
    c.Polygon({{120, 140}, {140, 30}, {220, 100}}, kWhite, kBlack, kPen);
    c.Polygon({{392, 140}, {372, 30}, {292, 100}}, kWhite, kBlack, kPen);
    c.Oval(100, 70, 412, 370, kWhite, kBlack, kPen);
    c.Oval(170, 160, 230, 230, kWhite, kBlack, kPen);
    c.Oval(282, 160, 342, 230, kWhite, kBlack, kPen);
    c.Oval(190, 180, 215, 215, kBlack);
    c.Oval(302, 180, 327, 215, kBlack);
    c.Polygon({{236, 250}, {276, 250}, {256, 275}}, kWhite, kBlack, kPen);
    c.Lines(Canvas::Bezier({256, 275}, {250, 300}, {225, 305}, {215, 290}), kBlack, kPen);
    c.Lines(Canvas::Bezier({256, 275}, {262, 300}, {287, 305}, {297, 290}), kBlack, kPen);
    for (int i = -1; i <= 1; ++i) {
        c.Line(200, 270 + i * 14, 110, 260 + i * 28, kBlack, kPen);
        c.Line(312, 270 + i * 14, 402, 260 + i * 28, kBlack, kPen);
    }
}

void PageCar(Canvas& c) {
    Page(c);
    Ground(c, 330);
    c.Polygon({{60, 300}, {60, 220}, {150, 210}, {200, 140}, {340, 140}, {400, 210}, {460, 225}, {460, 300}},
              kWhite, kBlack, kPen);
    c.Polygon({{170, 210}, {210, 155}, {265, 155}, {265, 210}}, kWhite, kBlack, kPen);
    c.Polygon({{280, 210}, {280, 155}, {330, 155}, {375, 210}}, kWhite, kBlack, kPen);
    c.Oval(100, 250, 180, 330, kWhite, kBlack, kPen);
    c.Oval(340, 250, 420, 330, kWhite, kBlack, kPen);
    c.Oval(125, 275, 155, 305, kWhite, kBlack, kPen);
    c.Oval(365, 275, 395, 305, kWhite, kBlack, kPen);
    c.Box(430, 230, 458, 250, kWhite, kBlack, kPen);
}

void PageCastle(Canvas& c) {
    Page(c);
    Ground(c, 350);
    c.Box(140, 170, 372, 350, kWhite, kBlack, kPen);
    for (int x = 140; x < 372; x += 40) c.Box(x, 150, x + 20, 172, kWhite, kBlack, kPen);
    for (int side = 0; side < 2; ++side) {
        const int x = side == 0 ? 70 : 372;
        c.Box(x, 120, x + 70, 350, kWhite, kBlack, kPen);
        c.Polygon({{x - 10, 122}, {x + 35, 40}, {x + 80, 122}}, kWhite, kBlack, kPen);
        c.Box(x + 25, 180, x + 45, 220, kWhite, kBlack, kPen);
        c.Line(x + 35, 40, x + 35, 10, kBlack, kPen);
        c.Polygon({{x + 36, 10}, {x + 66, 20}, {x + 36, 30}}, kWhite, kBlack, kPen);
    }
    c.Polygon({{216, 350}, {216, 270}, {226, 250}, {256, 240}, {286, 250}, {296, 270}, {296, 350}}, kWhite, kBlack, kPen);
    c.Oval(236, 190, 276, 230, kWhite, kBlack, kPen);
}

void PageRocket(Canvas& c) {
    Page(c);
    c.Polygon({{206, 120}, {256, 20}, {306, 120}}, kWhite, kBlack, kPen);
    c.Box(206, 118, 306, 320, kWhite, kBlack, kPen);
    c.Polygon({{206, 240}, {150, 330}, {206, 310}}, kWhite, kBlack, kPen);
    c.Polygon({{306, 240}, {362, 330}, {306, 310}}, kWhite, kBlack, kPen);
    c.Oval(226, 150, 286, 210, kWhite, kBlack, kPen);
    c.Polygon({{220, 322}, {256, 390}, {292, 322}}, kWhite, kBlack, kPen);
    c.Oval(60, 60, 130, 130, kWhite, kBlack, kPen);
    for (Pt p : {Pt{420, 70}, Pt{400, 250}, Pt{90, 250}}) {
        c.Polygon({{p.x, p.y - 24}, {p.x + 7, p.y - 7}, {p.x + 24, p.y}, {p.x + 7, p.y + 7},
                   {p.x, p.y + 24}, {p.x - 7, p.y + 7}, {p.x - 24, p.y}, {p.x - 7, p.y - 7}},
                  kWhite, kBlack, kPen);
    }
}

void PageRobot(Canvas& c) {
    Page(c);
    c.Line(256, 40, 256, 70, kBlack, kPen);
    c.Oval(244, 22, 268, 46, kWhite, kBlack, kPen);
    c.Box(186, 70, 326, 160, kWhite, kBlack, kPen);
    c.Oval(206, 90, 246, 130, kWhite, kBlack, kPen);
    c.Oval(266, 90, 306, 130, kWhite, kBlack, kPen);
    c.Box(226, 138, 286, 150, kWhite, kBlack, kPen);
    c.Box(166, 170, 346, 310, kWhite, kBlack, kPen);
    c.Box(236, 158, 276, 172, kWhite, kBlack, kPen);
    c.Box(110, 180, 166, 210, kWhite, kBlack, kPen);
    c.Box(346, 180, 402, 210, kWhite, kBlack, kPen);
    c.Oval(90, 200, 130, 240, kWhite, kBlack, kPen);
    c.Oval(382, 200, 422, 240, kWhite, kBlack, kPen);
    for (int i = 0; i < 3; ++i) c.Oval(196 + i * 45, 200, 226 + i * 45, 230, kWhite, kBlack, kPen);
    c.Box(196, 250, 316, 290, kWhite, kBlack, kPen);
    c.Box(190, 310, 236, 380, kWhite, kBlack, kPen);
    c.Box(276, 310, 322, 380, kWhite, kBlack, kPen);
}

void PageBear(Canvas& c) {
    Page(c);
    c.Oval(110, 40, 200, 130, kWhite, kBlack, kPen);
    c.Oval(312, 40, 402, 130, kWhite, kBlack, kPen);
    c.Oval(130, 60, 180, 110, kWhite, kBlack, kPen);
    c.Oval(332, 60, 382, 110, kWhite, kBlack, kPen);
    c.Oval(130, 60, 382, 300, kWhite, kBlack, kPen);
    c.Oval(190, 140, 220, 175, kBlack);
    c.Oval(292, 140, 322, 175, kBlack);
    c.Oval(196, 190, 316, 280, kWhite, kBlack, kPen);
    c.Oval(236, 200, 276, 230, kBlack);
    c.Lines(Canvas::Bezier({226, 250}, {240, 268}, {272, 268}, {286, 250}), kBlack, kPen);
    c.Oval(150, 290, 362, 400, kWhite, kBlack, kPen);
}

void PageBoat(Canvas& c) {
    Page(c);
    c.Polygon({{250, 60}, {250, 250}, {120, 250}}, kWhite, kBlack, kPen);
    c.Polygon({{262, 80}, {262, 250}, {380, 250}}, kWhite, kBlack, kPen);
    c.Line(256, 40, 256, 262, kBlack, kPen);
    c.Polygon({{90, 260}, {420, 260}, {370, 320}, {140, 320}}, kWhite, kBlack, kPen);
    c.Oval(170, 275, 195, 300, kWhite, kBlack, kPen);
    c.Oval(240, 275, 265, 300, kWhite, kBlack, kPen);
    c.Oval(310, 275, 335, 300, kWhite, kBlack, kPen);
    std::vector<Pt> wave;
    for (int x = 0; x <= kW; x += 4) wave.push_back({x, 335 + static_cast<int>(10 * std::sin(x / 20.0))});
    c.Lines(wave, kBlack, kPen);
    c.Oval(400, 30, 470, 100, kWhite, kBlack, kPen);
}

}  // namespace

void DrawBackground(Canvas& c, int k) {
    using Drawer = void (*)(Canvas&);
    static const Drawer drawers[23] = {
        Meadow,     Beach,      Underwater,    Space,   Winter,   Farm,     Jungle,
        PageHouse,  PageFish,   PageFlower,    PageButterfly, PageCat, PageCar, PageCastle,
        PageRocket, PageRobot,  PageBear,      PageBoat, Sunset,  Rainbow,  CloudCastle,
        Desert,     Night};
    if (k >= 23) k -= 5;
    drawers[k](c);
}

void MakeBackgrounds(Output& out) {
    for (int k = 0; k < 28; ++k) {
        Canvas canvas(kW, kH);
        DrawBackground(canvas, k);
        out.Picture(Pack::Module, 1500 + 10 * k, canvas, k >= 18 && k <= 22 ? 8 : 24);
    }
}

}  // namespace art
