// A picture that floats under the pointer over the sheet in place of the
// mouse cursor, and that a click drops onto the drawing. The stamps, the text
// balloon and the cut-out of the selection are floating pictures.
//
// A derived tool supplies the picture (and the mask, when it has one) with
// SetPicture, and owns and deletes them. While the pointer is over the sheet
// the picture is drawn there and the controls are deaf, so that a click on
// the sheet reaches the tool rather than a control under the picture; when
// the pointer leaves the sheet the picture is erased, the cursor comes back
// and the palette works again. The held-stamp flag of the workshop is set for
// as long as a floating picture exists.
#pragma once

#include "tools/tool.h"

class FloatingPicture : public Tool {
public:
    FloatingPicture(WorkshopScreen* owner, HCURSOR cursor);
    ~FloatingPicture() override;

    // Follows the pointer: draws the picture with its hot spot at (x, y)
    // while (x, y) is on the sheet, erases it otherwise.
    void OnHover(int x, int y, int leftDown) override;
    // Drops a copy of the picture onto the sheet; the tool stays.
    void OnActionStart(int x, int y) override;
    // Mirrors (1) or turns upside down (2) the picture and its mask. The
    // picture on the screen changes at the next OnHover.
    int OnCommand(int code, LPARAM value) override;

    // Takes a picture and its mask (or none) without owning them: the
    // rectangle becomes the picture's, the hot spot its centre.
    void SetPicture(HBITMAP picture, HBITMAP mask);
    // Takes the picture off the screen if it is shown, bringing back the
    // cursor; the next OnHover on the sheet shows it again.
    void Hide();

    HBITMAP m_picture = nullptr;
    // Black where the picture is opaque, white where the sheet shows through.
    HBITMAP m_mask = nullptr;
    // 1: drawn through the mask; 0: drawn as a plain rectangle.
    int m_masked = 0;
    RECT m_pictureRect{};
    POINT m_hotSpot{};
    // 1 while the picture is drawn over the sheet and the cursor hidden.
    int m_shown = 0;
    // Where the picture was last drawn, in window coordinates.
    RECT m_lastRect{};
    // 0 while this tool holds the controls deaf.
    int m_controlsFree = 1;

protected:
    // The picture's rectangle with the hot spot at (x, y).
    RECT PlacedAt(int x, int y) const;
    // Draws the scratch picture (the sheet without the floating picture) back
    // over the last rectangle, on the current surface.
    void Erase();

private:
    void FreeControls();
    void DrawPicture(const RECT& rect);
    void MovePicture(const RECT& rect);
};
