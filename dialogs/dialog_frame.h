// The frame every dialog of the program shares: the veiled workshop behind it,
// two pixels a dialog unit, centring on the sheet, the cream background,
// buttons drawn from pictures, labels in the program's own font and a comic
// sound on Cancel.
//
// A launcher opens the frame, runs its dialog and closes the frame again;
// frames are not nested. While a frame is open the screen buffer holds the
// owner window as it was, and nothing else may use it.
#pragma once

#include "platform/windows.h"

// The frame's background and label colours.
constexpr COLORREF kDialogBackground = 0xA5EAFF;
constexpr COLORREF kLabelColour = 0;
// A DrawLabel background that leaves the item as it is.
constexpr long kNoBackground = -1;
// The dialog result of Cancel.
constexpr INT_PTR kCancelled = 9999;

// Label formats: centred on one line, and the same cut with an ellipsis.
constexpr UINT kLabelFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kNameFormat = kLabelFormat | DT_END_ELLIPSIS;

// Set by OpenDialogFrame: the window the dialogs belong to and the font of
// their labels.
extern HWND g_dialogOwner;
extern HFONT g_dialogFont;

// The program's active main window: the screen window that has the focus.
HWND ActiveMainWindow();

void OpenDialogFrame();
void CloseDialogFrame();
// Opens the frame, runs the dialog template, closes the frame; a dialog that
// cannot be made is fatal message 51. Returns the dialog's result.
INT_PTR RunFramedDialog(int templateId, DLGPROC procedure, LPARAM parameter);

void ScaleDialog(HWND dialog, int across, int down);
void CentreDialogOnSheet(HWND dialog);
// What every dialog procedure does with WM_INITDIALOG first.
void LayOutDialog(HWND dialog);
void PaintDialogBackground(HWND dialog);

// Picture n, or n + 1 while a pressable item is pressed; a focused item is
// veiled like the workshop.
void DrawPictureButton(const DRAWITEMSTRUCT& item, int picture, bool pressable);
// The item's own window text with the format in the text colour, over the
// background colour unless it is kNoBackground, in the font when one is given.
void DrawLabel(const DRAWITEMSTRUCT& item, UINT format, long background, COLORREF textColour,
               HFONT font);
// Shows help text number in the dialog's item id.
void SetLabelToHelpText(HWND dialog, int id, int number);
void PlayCancelSound();

// Runs the body with the item's device context as the current surface and the
// program's palette selected into it.
class ItemSurface {
public:
    explicit ItemSurface(HDC dc);
    ~ItemSurface();
    ItemSurface(const ItemSurface&) = delete;
    ItemSurface& operator=(const ItemSurface&) = delete;

private:
    HDC m_saved;
    HPALETTE m_palette;
};
