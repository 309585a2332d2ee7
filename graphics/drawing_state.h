// The process-wide drawing state that every primitive reads, and the pens and
// brushes made from it for one primitive at a time.
//
// Callers that change the mode, pen width, pen style or fill pattern put the
// previous value back before they return; each setter returns it.
#pragma once

#include "platform/windows.h"

// The drawing mode that lays only a pattern's ink pixels, leaving the picture
// visible through its paper pixels.
constexpr int kPatternMode = 999;
// Colours handed to GDI carry this flag so that they are matched in the palette.
constexpr COLORREF kPaletteRelative = 0x02000000;

constexpr int kSolidBrush = 0;
constexpr int kPatternBrush = 1;

struct DrawingState {
    int mode = R2_COPYPEN;  // a SetROP2 code, or kPatternMode
    int penWidth = 1;
    int penStyle = PS_SOLID;
    int pattern = 0;  // 0..44, 0 is a plain fill
    HBITMAP patternBitmap = nullptr;
    int brushKind = kSolidBrush;
    COLORREF fillColour = 0;
    COLORREF textBackground = 0xFFFFFF;
};
extern DrawingState g_drawingState;

// What SaveDrawingState keeps: everything but the pen style.
struct SavedDrawingState {
    int mode = R2_COPYPEN;
    int penWidth = 1;
    int pattern = 0;
    HBITMAP patternBitmap = nullptr;
    int brushKind = kSolidBrush;
    COLORREF fillColour = 0;
    COLORREF textBackground = 0xFFFFFF;
};

int SetDrawingMode(int mode);
int SetPenWidth(int width);
int SetPenStyle(int style);
// Returns the previous pattern number.
int SetFillPattern(int number);
COLORREF SetTextBackground(COLORREF colour);
// A null record means the one process-wide record.
void SaveDrawingState(SavedDrawingState* record);
void RestoreDrawingState(const SavedDrawingState* record);
void ResetDrawingState();

bool InPatternMode();

// Each select is followed by its release within the same primitive.
void SelectPen(COLORREF colour);
void ReleasePen();
void SelectBrush(COLORREF colour);
void ReleaseBrush();
void SelectPenAndBrush(COLORREF penColour, COLORREF brushColour);
void ReleasePenAndBrush();
// The brush made by the last SelectBrush, until its release.
HBRUSH SelectedBrush();
