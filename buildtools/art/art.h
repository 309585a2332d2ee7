// The generators of the program's pictures and cursors and of the picture
// module's pictures. Each writes its pictures through the output.
#pragma once

#include <functional>

#include "buildtools/art/canvas.h"
#include "buildtools/art/output.h"

namespace art {

// How a button changes its look: push buttons have a normal, a pressed and a
// hover picture (n, n + 1, n + 2); toggle and radio buttons add the selected
// ones (n + 2 selected, n + 3 selected and pressed, n + 4 hover). Dialog
// buttons have only n and n + 1, fixed pictures only n.
enum class Kind { Push, Choice, Dialog, Fixed };

// Draws a button's face; (dx, dy) is the shift of a pressed look.
using Face = std::function<void(Canvas&, int dx, int dy)>;

// The colour behind the workshop's buttons, and behind the dialogs' buttons.
constexpr COLORREF kWorkshopFrame = RGB(0xF3, 0xDF, 0xA7);
constexpr COLORREF kDialogCream = RGB(0xFF, 0xEA, 0xA5);

// Pale tile colours that the program's 256-colour palette holds, so that the
// buttons keep their colours on a 256-colour screen.
constexpr COLORREF kPaleBlue = RGB(0xB8, 0xE8, 0xF8);
constexpr COLORREF kPalePink = RGB(0xF8, 0xE0, 0xD0);
constexpr COLORREF kPaleLilac = RGB(0xF8, 0xB8, 0xF8);
constexpr COLORREF kPaleGreen = RGB(0xC0, 0xD8, 0xC0);
constexpr COLORREF kPaleOrange = RGB(0xF8, 0xE8, 0xC8);
constexpr COLORREF kPaleYellow = RGB(0xF8, 0xF8, 0xA8);

// The tile colours of a button; the ground shows in its rounded corners and
// is the colour of what the button stands on.
struct Tile {
    COLORREF face = RGB(255, 252, 240);
    COLORREF border = RGB(120, 96, 60);
    COLORREF ground = kWorkshopFrame;
};

void MakeButton(Output& out, Pack pack, int id, int width, int height, Kind kind,
                const Face& face, Tile tile = {});

void MakeCursors(Output& out);
void MakeWorkshopButtons(Output& out);
void MakeScreens(Output& out);
void MakeDialogPictures(Output& out);
void MakeBackgrounds(Output& out);
void MakeStamps(Output& out);
void MakeModuleExtras(Output& out);

// Background k (0..27) of the picture module as the backgrounds module draws it.
void DrawBackground(Canvas& canvas, int k);

// A jigsaw of cols x rows pieces over the rectangle, in black lines.
void DrawJigsaw(Canvas& canvas, int left, int top, int width, int height, int cols, int rows,
                int penWidth, unsigned seed);

// An open door with the outdoors beyond it, filling the rectangle: the way out.
void DrawDoor(Canvas& canvas, int left, int top, int width, int height);

// A five-pointed star with an outline, centred on (x, y).
void DrawStar(Canvas& canvas, int x, int y, int radius, COLORREF fill);

// Writes the contact sheet of everything generated; false when it could not be written.
bool WriteContactSheet(const Output& out, const std::string& path);

}  // namespace art
