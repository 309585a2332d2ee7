// The workshop palette's buttons and the state pictures every picture button has.
#include <algorithm>
#include <cmath>

#include "buildtools/art/art.h"

namespace art {
namespace {

constexpr COLORREF kSelected = RGB(255, 214, 72);
constexpr COLORREF kSelectedBorder = RGB(230, 110, 20);
constexpr COLORREF kChosenMiddle = kPaleYellow;
constexpr COLORREF kHoverBorder = RGB(40, 140, 230);

enum class Look { Normal, Pressed, Selected, SelectedPressed, Hover };

void DrawState(Canvas& c, Look look, const Face& face, Tile tile) {
    const int w = c.Width();
    const int h = c.Height();
    const bool pressed = look == Look::Pressed || look == Look::SelectedPressed;
    const bool selected = look == Look::Selected || look == Look::SelectedPressed;
    c.Fill(tile.ground);
    COLORREF fill = tile.face;
    COLORREF border = tile.border;
    if (selected) {
        fill = kSelected;
        border = kSelectedBorder;
    } else if (look == Look::Hover) {
        fill = Mix(tile.face, kWhite, 50);
        border = kHoverBorder;
    } else if (pressed) {
        fill = Mix(tile.face, RGB(150, 140, 120), 25);
    }
    const int radius = std::min(w, h) / 5;
    c.RoundBox(0, 0, w - 1, h - 1, radius, fill, border, selected || look == Look::Hover ? 2 : 1);
    if (selected && std::min(w, h) >= 36) {
        // A chosen tile keeps a yellow ring around a paler yellow middle, so that
        // yellow faces (stars, suns, smiles) stay clear on it.
        c.RoundBox(5, 5, w - 6, h - 6, radius - 3, kChosenMiddle);
    }
    // A soft light on the upper edge and a shade on the lower one, swapped when pressed.
    const COLORREF light = Mix(fill, kWhite, 70);
    const COLORREF shade = Mix(fill, kBlack, 22);
    const int inset = selected || look == Look::Hover ? 3 : 2;
    c.Line(radius, inset, w - radius, inset, pressed ? shade : light, 1);
    c.Line(radius, h - 1 - inset, w - radius, h - 1 - inset, pressed ? light : shade, 1);
    const int shift = pressed ? 1 : 0;
    face(c, shift, shift);
}

// The fitted emoji face of most buttons.
Face EmojiFace(char32_t codePoint, int margin) {
    return [codePoint, margin](Canvas& c, int dx, int dy) {
        c.Emoji(codePoint, margin + dx, margin + dy, c.Width() - margin + dx,
                c.Height() - margin + dy);
    };
}

// The quit button: the open door and a waving hand, as in the quit dialog.
void QuitFace(Canvas& c, int dx, int dy) {
    DrawDoor(c, 17 + dx, 2 + dy, 20, 20);
    c.Emoji(U'\U0001F44B', 40 + dx, 3 + dy, 58 + dx, 21 + dy);
}

// The erase-everything button: a bright bin with its lid, outlined in ink,
// where the emoji's pale grey bin read as a disabled button.
void BinFace(Canvas& c, int dx, int dy) {
    const COLORREF body = RGB(40, 150, 230);
    c.Polygon({{30 + dx, 7 + dy}, {46 + dx, 7 + dy}, {44 + dx, 20 + dy}, {32 + dx, 20 + dy}}, body, kInk, 1);
    for (int x = 35; x <= 41; x += 3) c.Line(x + dx, 10 + dy, x + dx, 18 + dy, RGB(20, 90, 170), 1);
    c.Box(35 + dx, 1 + dy, 41 + dx, 3 + dy, kNone, kInk, 1);
    c.Box(28 + dx, 3 + dy, 48 + dx, 6 + dy, RGB(90, 185, 250), kInk, 1);
}

void MakeCommandButtons(Output& out) {
    struct Command {
        int id;
        char32_t emoji;
        COLORREF tile;
    };
    const Command commands[] = {
        {100, U'\u2753', kPaleBlue}, {104, U'\U0001F5D1', kPalePink},
        {108, U'\u2728', kPaleLilac}, {112, U'\U0001F5A8', kPaleYellow},
        {116, U'\U0001F4C2', kPaleOrange}, {120, U'\U0001F4BE', kPaleBlue},
        {124, U'\U0001F6AA', kPalePink}};
    for (const Command& command : commands) {
        const Face face = command.id == 124   ? Face(QuitFace)
                           : command.id == 104 ? Face(BinFace)
                                               : EmojiFace(command.emoji, 3);
        MakeButton(out, Pack::Program, command.id, 76, 24, Kind::Push, face,
                   Tile{command.tile, RGB(110, 90, 60), kWorkshopFrame});
    }
}

void MakeSizeButtons(Output& out) {
    // The brush widths of sizes 0 to 7: lines on the upper row, discs on the
    // lower one. Each button shows its dab four pixels wider than the brush
    // draws it, so that the finest is a dot a child can see and the others
    // grow from it in the brushes' order.
    const int widths[] = {1, 2, 4, 6, 3, 5, 8, 10};
    for (int size = 0; size < 8; ++size) {
        const int side = widths[size] + 4;
        const bool disc = size >= 4;
        MakeButton(out, Pack::Program, 905 + 5 * size, 20, 22, Kind::Choice,
                   [side, disc](Canvas& c, int dx, int dy) {
                       const int left = 10 + dx - side / 2;
                       const int top = 11 + dy - side / 2;
                       if (disc) {
                           c.Oval(left, top, left + side - 1, top + side - 1, kInk);
                       } else {
                           c.Box(left, top, left + side - 1, top + side - 1, kInk);
                       }
                   },
                   Tile{kWhite, RGB(120, 96, 60), kWorkshopFrame});
    }
}

Face ShapeFace(int shape) {
    return [shape](Canvas& c, int dx, int dy) {
        const int l = 8 + dx, t = 8 + dy, r = 32 + dx, b = 32 + dy;
        switch (shape) {
        case 0: c.Oval(l, t, r, b, kNone, RGB(220, 30, 40), 4); break;
        case 1: c.Oval(l, t, r, b, RGB(40, 120, 240), kInk, 2); break;
        case 2: c.Box(l + 1, t + 1, r - 1, b - 1, kNone, RGB(20, 160, 60), 4); break;
        default: c.Box(l + 1, t + 1, r - 1, b - 1, RGB(255, 140, 20), kInk, 2); break;
        }
    };
}

void EraserFace(Canvas& c, int dx, int dy) {
    const std::vector<Pt> body = {{8 + dx, 24 + dy}, {22 + dx, 10 + dy}, {33 + dx, 21 + dy},
                                  {19 + dx, 35 + dy}};
    const std::vector<Pt> sleeve = {{8 + dx, 24 + dy}, {15 + dx, 17 + dy}, {26 + dx, 28 + dy},
                                    {19 + dx, 35 + dy}};
    c.Polygon(body, RGB(255, 140, 170), kInk, 2);
    c.Polygon(sleeve, RGB(60, 130, 230), kInk, 2);
    c.Line(6 + dx, 36 + dy, 16 + dx, 36 + dy, RGB(150, 150, 150), 2);
}

void AirbrushFace(Canvas& c, int dx, int dy) {
    c.RoundBox(18 + dx, 14 + dy, 32 + dx, 36 + dy, 3, RGB(230, 50, 60), kInk, 2);
    c.Box(22 + dx, 9 + dy, 28 + dx, 14 + dy, RGB(200, 200, 210), kInk, 1);
    c.Box(24 + dx, 6 + dy, 30 + dx, 9 + dy, RGB(90, 90, 100));
    c.Box(21 + dx, 20 + dy, 29 + dx, 26 + dy, kWhite);
    const Pt dots[] = {{16, 6}, {12, 9}, {8, 5}, {14, 13}, {9, 12}, {5, 9}, {11, 17}, {6, 15}, {4, 4}};
    const COLORREF dotColour[] = {RGB(230, 50, 60), RGB(40, 120, 240), RGB(255, 170, 0)};
    int k = 0;
    for (Pt p : dots) {
        c.Oval(p.x + dx - 1, p.y + dy - 1, p.x + dx + 2, p.y + dy + 2, dotColour[k++ % 3]);
    }
}

void BalloonFace(Canvas& c, int dx, int dy) {
    c.Oval(4 + dx, 5 + dy, 36 + dx, 30 + dy, kWhite, kInk, 2);
    c.Polygon({{11 + dx, 25 + dy}, {8 + dx, 36 + dy}, {19 + dx, 28 + dy}}, kWhite);
    c.Lines({{11 + dx, 26 + dy}, {8 + dx, 36 + dy}, {19 + dx, 29 + dy}}, kInk, 2);
    c.Text("A", 4 + dx, 4 + dy, 36 + dx, 30 + dy, kFaceFat, 20, RGB(220, 30, 40));
}

void MirrorFace(Canvas& c, int dx, int dy, bool upsideDown) {
    auto map = [&](int x, int y) { return upsideDown ? Pt{y + dx, x + dy} : Pt{x + dx, y + dy}; };
    c.Polygon({map(6, 12), map(17, 20), map(6, 28)}, RGB(40, 120, 240), kInk, 1);
    c.Polygon({map(34, 12), map(23, 20), map(34, 28)}, RGB(255, 140, 20), kInk, 1);
    for (int i = 5; i < 36; i += 6) c.Line(map(20, i).x, map(20, i).y, map(20, i + 3).x, map(20, i + 3).y, kInk, 2);
    c.Lines({map(9, 33), map(31, 33)}, RGB(220, 30, 40), 2);
    c.Lines({map(12, 30), map(9, 33), map(12, 36)}, RGB(220, 30, 40), 2);
    c.Lines({map(28, 30), map(31, 33), map(28, 36)}, RGB(220, 30, 40), 2);
}

// A bright arrow turning back to the left, outlined in ink.
void UndoFace(Canvas& c, int dx, int dy) {
    const std::vector<Pt> bend = Canvas::Bezier({15 + dx, 14 + dy}, {40 + dx, 8 + dy},
                                                {40 + dx, 34 + dy}, {18 + dx, 31 + dy}, 16);
    c.Lines(bend, kInk, 9);
    const std::vector<Pt> head = {{4 + dx, 14 + dy}, {17 + dx, 4 + dy}, {17 + dx, 24 + dy}};
    c.Polygon(head, RGB(40, 170, 70), kInk, 2);
    c.Lines(bend, RGB(40, 170, 70), 5);
    c.Line(18 + dx, 10 + dy, 18 + dx, 18 + dy, RGB(40, 170, 70), 3);
}

void MakeToolButtons(Output& out) {
    const Tile tile{RGB(255, 252, 240), RGB(120, 96, 60), kWorkshopFrame};
    auto add = [&](int id, Kind kind, const Face& face) {
        MakeButton(out, Pack::Program, id, 40, 40, kind, face, tile);
    };
    add(140, Kind::Choice, EmojiFace(U'\U0001F58C', 4));
    add(145, Kind::Choice, EraserFace);
    add(150, Kind::Choice, [](Canvas& c, int dx, int dy) {
        c.Line(9 + dx, 31 + dy, 31 + dx, 9 + dy, kInk, 4);
        c.Oval(5 + dx, 27 + dy, 13 + dx, 35 + dy, RGB(220, 30, 40));
        c.Oval(27 + dx, 5 + dy, 35 + dx, 13 + dy, RGB(40, 120, 240));
    });
    add(155, Kind::Choice, [](Canvas& c, int dx, int dy) {
        c.Lines(Canvas::Bezier({6 + dx, 30 + dy}, {12 + dx, 0 + dy}, {26 + dx, 44 + dy},
                               {34 + dx, 10 + dy}), RGB(140, 40, 200), 4);
    });
    for (int shape = 0; shape < 4; ++shape) add(160 + 5 * shape, Kind::Choice, ShapeFace(shape));
    add(190, Kind::Push, [](Canvas& c, int dx, int dy) {
        c.Text("A", 3 + dx, 2 + dy, 23 + dx, 36 + dy, kFaceFat, 26, RGB(220, 30, 40));
        c.Text("a", 18 + dx, 8 + dy, 38 + dx, 38 + dy, kFaceComic, 24, RGB(40, 120, 240), FW_BOLD);
    });
    add(195, Kind::Choice, BalloonFace);
    add(180, Kind::Choice, AirbrushFace);
    add(185, Kind::Choice, EmojiFace(U'\U0001FAA3', 5));
    add(200, Kind::Push, [](Canvas& c, int dx, int dy) { MirrorFace(c, dx, dy, false); });
    add(205, Kind::Push, [](Canvas& c, int dx, int dy) { MirrorFace(c, dx, dy, true); });
    add(210, Kind::Choice, EmojiFace(U'\u2702', 5));
    // Outlined stars, so that they stay clear on the yellow of the chosen tool.
    add(215, Kind::Choice, [](Canvas& c, int dx, int dy) {
        DrawStar(c, 10 + dx, 27 + dy, 7, RGB(255, 150, 30));
        DrawStar(c, 25 + dx, 17 + dy, 13, RGB(255, 220, 50));
        c.Lines({{8 + dx, 17 + dy}, {8 + dx, 8 + dy}, {12 + dx, 12 + dy}}, kInk, 2);
    });
    add(220, Kind::Choice, EmojiFace(U'\U0001F50D', 5));
    add(225, Kind::Push, UndoFace);
}

void MakeArrowsAndBackgroundButton(Output& out) {
    const Tile tile{kPaleBlue, RGB(90, 110, 150), kWorkshopFrame};
    MakeButton(out, Pack::Program, 250, 40, 16, Kind::Push, [](Canvas& c, int dx, int dy) {
        c.Polygon({{20 + dx, 3 + dy}, {29 + dx, 12 + dy}, {11 + dx, 12 + dy}}, RGB(40, 120, 240), kInk, 1);
    }, tile);
    MakeButton(out, Pack::Program, 254, 40, 17, Kind::Push, [](Canvas& c, int dx, int dy) {
        c.Polygon({{11 + dx, 4 + dy}, {29 + dx, 4 + dy}, {20 + dx, 13 + dy}}, RGB(40, 120, 240), kInk, 1);
    }, tile);
    MakeButton(out, Pack::Program, 900, 80, 41, Kind::Push, [](Canvas& c, int dx, int dy) {
        Canvas scene(512, 400);
        DrawBackground(scene, 0);
        c.Box(9 + dx, 5 + dy, 71 + dx, 36 + dy, RGB(160, 100, 40));
        c.Draw(scene, 12 + dx, 8 + dy, 57, 26);
        c.Box(9 + dx, 5 + dy, 71 + dx, 36 + dy, kNone, RGB(120, 70, 20), 2);
    }, Tile{kPaleOrange, RGB(120, 96, 60), kWorkshopFrame});
}

}  // namespace

void DrawDoor(Canvas& c, int left, int top, int width, int height) {
    const int right = left + width - 1;
    const int bottom = top + height - 1;
    const int pen = std::max(1, height / 20);
    const int lean = std::max(1, height / 10);
    // The doorway on the right, opening on the sky and the grass outside...
    const int hinge = left + width / 2;
    const int grass = bottom - lean - (height - 2 * lean) / 3;
    c.Box(hinge, top + lean, right, grass, RGB(110, 190, 255));
    c.Box(hinge, grass, right, bottom - lean, RGB(90, 190, 70));
    c.Box(hinge, top + lean, right, bottom - lean, kNone, RGB(120, 70, 30), pen);
    // ...and the leaf swung open towards us on its hinges, taller at its near edge.
    const std::vector<Pt> leaf = {{hinge, top + lean}, {left, top}, {left, bottom}, {hinge, bottom - lean}};
    c.Polygon(leaf, RGB(215, 130, 55), RGB(110, 60, 20), pen);
    if (height >= 30) {
        // Two panels on the leaf, when there is room for them.
        const int inset = (hinge - left) / 4;
        const int third = height / 3;
        c.Box(left + inset, top + third / 3 + lean, hinge - inset, top + third + lean, kNone, RGB(150, 80, 30), pen);
        c.Box(left + inset, top + third + 2 * lean + pen, hinge - inset, bottom - third / 3 - lean, kNone, RGB(150, 80, 30), pen);
    }
    const int knob = std::max(2, height / 8);
    const int knobX = left + pen + 1;
    const int knobY = top + height / 2 - knob / 2;
    c.Oval(knobX, knobY, knobX + knob - 1, knobY + knob - 1, RGB(255, 210, 60));
}

void DrawStar(Canvas& c, int x, int y, int radius, COLORREF fill) {
    std::vector<Pt> points;
    for (int i = 0; i < 10; ++i) {
        const double angle = -3.14159265 / 2 + i * 3.14159265 / 5;
        const double r = i % 2 ? radius * 0.45 : radius;
        points.push_back({x + static_cast<int>(std::lround(r * std::cos(angle))),
                          y + static_cast<int>(std::lround(r * std::sin(angle)))});
    }
    c.Polygon(points, fill, kInk, radius >= 10 ? 2 : 1);
}

void MakeButton(Output& out, Pack pack, int id, int width, int height, Kind kind,
                const Face& face, Tile tile) {
    const Look looks[] = {Look::Normal, Look::Pressed, Look::Selected, Look::SelectedPressed,
                          Look::Hover};
    std::vector<Look> order(std::begin(looks), std::end(looks));
    if (kind == Kind::Push) order = {Look::Normal, Look::Pressed, Look::Hover};
    if (kind == Kind::Dialog) order = {Look::Normal, Look::Pressed};
    if (kind == Kind::Fixed) order = {Look::Normal};
    for (size_t i = 0; i < order.size(); ++i) {
        Canvas canvas(width, height);
        DrawState(canvas, order[i], face, tile);
        out.Picture(pack, id + static_cast<int>(i), canvas);
    }
}

void MakeWorkshopButtons(Output& out) {
    MakeCommandButtons(out);
    MakeSizeButtons(out);
    MakeToolButtons(out);
    MakeArrowsAndBackgroundButton(out);
}

}  // namespace art
