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

// The tile colours of a button.
struct Tile {
    COLORREF face = RGB(255, 252, 240);
    COLORREF border = RGB(120, 96, 60);
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

// Writes the contact sheet of everything generated; false when it could not be written.
bool WriteContactSheet(const Output& out, const std::string& path);

}  // namespace art
