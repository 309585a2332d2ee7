// The program's cursors, 32 x 32, drawn on a key colour that becomes transparent.
#include "buildtools/art/art.h"

namespace art {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

// The classic pointer, its tip at (x, y), filled with the given colour.
void Arrow(Canvas& c, int x, int y, COLORREF fill) {
    const std::vector<Pt> shape = {{x, y},           {x, y + 19},      {x + 5, y + 15},
                                   {x + 8, y + 22},  {x + 11, y + 21}, {x + 8, y + 14},
                                   {x + 14, y + 14}};
    c.Polygon(shape, fill, kBlack, 1);
}

void WithArrow(Output& out, int id, COLORREF fill, const std::function<void(Canvas&)>& extra) {
    Canvas c(32, 32, kKey);
    if (extra) extra(c);
    Arrow(c, 0, 0, fill);
    out.Cursor(id, c, kKey, 0, 0);
}

void Crosshair(Canvas& c, int cx, int cy, int reach) {
    c.Box(cx - reach, cy - 1, cx + reach, cy + 1, kWhite);
    c.Box(cx - 1, cy - reach, cx + 1, cy + reach, kWhite);
    c.Line(cx - reach + 1, cy, cx + reach, cy, kBlack, 1);
    c.Line(cx, cy - reach + 1, cx, cy + reach, kBlack, 1);
}

// A pointing hand with the finger tip at (x, y).
void Hand(Canvas& c, int x, int y) {
    const COLORREF skin = RGB(255, 214, 160);
    c.RoundBox(x - 3, y, x + 3, y + 16, 3, skin, kBlack, 1);
    c.RoundBox(x - 5, y + 12, x + 15, y + 28, 5, skin, kBlack, 1);
    for (int k = 0; k < 3; ++k) c.RoundBox(x + 3 + k * 4, y + 9, x + 8 + k * 4, y + 17, 2, skin, kBlack, 1);
    c.Box(x - 2, y + 13, x + 2, y + 17, skin);
    c.RoundBox(x - 5, y + 19, x + 8, y + 24, 2, skin, kBlack, 1);
}

void IBeam(Canvas& c, COLORREF balloon, int style) {
    if (style > 0) {
        c.Oval(14, 1, 31, 13, kWhite, kBlack, 1);
        c.Text(style == 1 ? "A" : "a", 14, 1, 31, 13, kFaceFat, 10, balloon);
    }
    c.Box(5, 3, 11, 5, kWhite, kBlack, 1);
    c.Box(5, 26, 11, 28, kWhite, kBlack, 1);
    c.Box(7, 4, 9, 27, kWhite, kBlack, 1);
    c.Line(8, 4, 8, 27, kBlack, 1);
}

// The brush cursor of one width: a ring the size of the brush's dot, a cross
// that stays visible over any colour, and a small brush beside it.
void BrushCursor(Output& out, int id, int width) {
    Canvas c(32, 32, kKey);
    const int cx = 12;
    const int cy = 19;
    c.Polygon({{20, 11}, {29, 2}, {31, 4}, {22, 13}}, RGB(200, 130, 60), kBlack, 1);
    c.Polygon({{18, 11}, {20, 9}, {24, 13}, {22, 15}}, RGB(190, 190, 200), kBlack, 1);
    Crosshair(c, cx, cy, 9);
    const int r = width / 2;
    c.Oval(cx - r - 2, cy - r - 2, cx - r + width + 2, cy - r + width + 2, kNone, kWhite, 1);
    if (width <= 2) {
        c.Box(cx - r, cy - r, cx - r + width - 1, cy - r + width - 1, kBlack);
    } else {
        c.Oval(cx - r, cy - r, cx - r + width, cy - r + width, kBlack);
    }
    out.Cursor(id, c, kKey, cx, cy);
}

// The eraser cursor: the square that the eraser brings back, whose top-left
// corner is the pointer, and a small eraser beside it.
void EraserCursor(Output& out, int id, int side) {
    Canvas c(32, 32, kKey);
    c.Polygon({{18, 27}, {25, 20}, {31, 26}, {26, 31}}, RGB(255, 140, 170), kBlack, 1);
    c.Polygon({{18, 27}, {21, 24}, {26, 29}, {24, 31}}, RGB(60, 130, 230), kBlack, 1);
    c.Box(0, 0, side + 1, side + 1, kNone, kWhite, 1);
    c.Box(0, 0, side, side, kNone, kBlack, 1);
    out.Cursor(id, c, kKey, 0, 0);
}

}  // namespace

void MakeCursors(Output& out) {
    // The main window's pointer, and the workshop's own.
    WithArrow(out, 32000, kWhite, nullptr);
    WithArrow(out, 101, RGB(255, 230, 70), nullptr);
    // Help mode: the pointer with a question balloon.
    WithArrow(out, 102, RGB(120, 200, 255), [](Canvas& c) {
        c.Oval(15, 8, 31, 24, RGB(40, 120, 240), kBlack, 1);
        c.Text("?", 15, 7, 31, 24, kFaceSans, 13, kWhite, FW_BOLD);
    });
    // Waiting for the click that confirms erasing.
    WithArrow(out, 209, RGB(255, 160, 160), [](Canvas& c) {
        c.Box(17, 13, 29, 15, RGB(150, 150, 160), kBlack, 1);
        c.Polygon({{18, 16}, {28, 16}, {27, 30}, {19, 30}}, RGB(200, 200, 210), kBlack, 1);
        c.Line(21, 18, 21, 28, kBlack, 1);
        c.Line(25, 18, 25, 28, kBlack, 1);
    });
    // The shape tools draw from a cross's centre.
    {
        Canvas c(32, 32, kKey);
        Crosshair(c, 15, 15, 12);
        c.Box(14, 14, 16, 16, kKey);
        out.Cursor(32001, c, kKey, 15, 15);
    }
    {
        Canvas c(32, 32, kKey);
        Crosshair(c, 15, 15, 12);
        c.Box(14, 14, 16, 16, kKey);
        c.Oval(20, 20, 31, 31, RGB(40, 120, 240), kBlack, 1);
        c.Box(20, 1, 30, 10, RGB(255, 140, 20), kBlack, 1);
        out.Cursor(202, c, kKey, 15, 15);
    }
    // Pointing hands: the language screen, help bubbles and the title screen.
    for (int id : {32002, 110}) {
        Canvas c(32, 32, kKey);
        Hand(c, 10, 1);
        out.Cursor(id, c, kKey, 11, 1);
    }
    // The text tool, plain and with the two balloon styles.
    const int textIds[] = {201, 218, 219};
    for (int style = 0; style < 3; ++style) {
        Canvas c(32, 32, kKey);
        IBeam(c, style == 1 ? RGB(220, 30, 40) : RGB(40, 120, 240), style);
        out.Cursor(textIds[style], c, kKey, 8, 16);
    }
    // The airbrush sprays from the nozzle at the top left.
    for (int id : {205, 206}) {
        Canvas c(32, 32, kKey);
        c.RoundBox(14, 11, 26, 30, 3, id == 205 ? RGB(230, 50, 60) : RGB(40, 160, 80), kBlack, 1);
        c.Box(17, 6, 23, 11, RGB(200, 200, 210), kBlack, 1);
        c.Box(11, 6, 17, 9, RGB(90, 90, 100), kBlack, 1);
        const Pt dots[] = {{3, 3}, {6, 1}, {1, 7}, {7, 6}, {4, 10}, {9, 3}};
        for (Pt p : dots) c.Box(p.x, p.y, p.x + 1, p.y + 1, kBlack);
        out.Cursor(id, c, kKey, 4, 5);
    }
    const int brushWidths[] = {1, 2, 4, 6, 3, 5, 8, 10};
    for (int size = 0; size < 8; ++size) BrushCursor(out, 210 + size, brushWidths[size]);
    const int eraserSides[] = {4, 8, 12, 20};
    for (int size = 0; size < 4; ++size) EraserCursor(out, 220 + size, eraserSides[size]);
}

}  // namespace art
