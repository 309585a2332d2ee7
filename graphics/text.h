// Fonts, text measurement and text output on the current surface. Text is
// drawn in the fill colour; an opaque background takes the text background
// colour of the drawing state.
#pragma once

#include "platform/windows.h"

// The text mode that draws text on a transparent background; any other mode
// draws it opaque.
constexpr int kTransparentText = 999;

// Style bits of CreateTextFont.
constexpr int kBold = 1;
constexpr int kItalic = 2;
constexpr int kUnderline = 4;

// A font that cannot be made is a fatal error.
HFONT CreateTextFont(const char* face, int height, int style, int weight, int escapement,
                     int quality);
void DeleteTextFont(HFONT font);
// Returns the font it replaced.
HFONT SelectTextFont(HFONT font);

int TextHeight();
int CharWidth(int character);
// A negative length means the whole zero-terminated text.
int TextWidth(const char* text, int length);
// Wraps the text to the rectangle's width, sets its bottom and returns the height.
int MeasureText(const char* text, int length, RECT& rect);

// Returns the previous text mode.
int SetTextMode(int mode);
void DrawTextAt(int x, int y, const char* text, int length);
void DrawCharAt(int x, int y, int character);
// Word-wrapped into the rectangle with the given DrawTextA flags; returns the
// text's height.
int DrawTextInRect(const char* text, int length, const RECT& rect, UINT flags);
