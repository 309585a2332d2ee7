#include "graphics/drawing_state.h"

#include "graphics/patterns.h"
#include "graphics/surface.h"

DrawingState g_drawingState;

namespace {

SavedDrawingState g_savedState;
HPEN g_pen = nullptr;
HGDIOBJ g_previousPen = nullptr;
HBRUSH g_brush = nullptr;
HGDIOBJ g_previousBrush = nullptr;

HPEN MakePen(COLORREF colour) {
    return CreatePen(g_drawingState.penStyle, g_drawingState.penWidth,
                     colour | kPaletteRelative);
}

}  // namespace

int SetDrawingMode(int mode) {
    const int previous = g_drawingState.mode;
    if (mode == kPatternMode) {
        SetROP2(g_currentSurface, R2_COPYPEN);
        SetBkMode(g_currentSurface, TRANSPARENT);
    } else {
        SetROP2(g_currentSurface, mode);
        SetBkMode(g_currentSurface, OPAQUE);
    }
    g_drawingState.mode = mode;
    return previous;
}

int SetPenWidth(int width) {
    const int previous = g_drawingState.penWidth;
    g_drawingState.penWidth = width;
    return previous;
}

int SetPenStyle(int style) {
    const int previous = g_drawingState.penStyle;
    g_drawingState.penStyle = style;
    return previous;
}

int SetFillPattern(int number) {
    const int previous = g_drawingState.pattern;
    g_drawingState.pattern = number;
    g_drawingState.patternBitmap = FillPatternBitmap(number);
    g_drawingState.brushKind = number != 0 ? kPatternBrush : kSolidBrush;
    return previous;
}

COLORREF SetTextBackground(COLORREF colour) {
    const COLORREF previous = g_drawingState.textBackground;
    g_drawingState.textBackground = colour;
    SetBkColor(g_currentSurface, colour | kPaletteRelative);
    return previous;
}

void SaveDrawingState(SavedDrawingState* record) {
    SavedDrawingState& to = record != nullptr ? *record : g_savedState;
    to.mode = g_drawingState.mode;
    to.penWidth = g_drawingState.penWidth;
    to.pattern = g_drawingState.pattern;
    to.patternBitmap = g_drawingState.patternBitmap;
    to.brushKind = g_drawingState.brushKind;
    to.fillColour = g_drawingState.fillColour;
    to.textBackground = g_drawingState.textBackground;
}

void RestoreDrawingState(const SavedDrawingState* record) {
    const SavedDrawingState& from = record != nullptr ? *record : g_savedState;
    SetDrawingMode(from.mode);
    SetPenWidth(from.penWidth);
    g_drawingState.pattern = from.pattern;
    g_drawingState.patternBitmap = from.patternBitmap;
    g_drawingState.brushKind = from.brushKind;
    g_drawingState.fillColour = from.fillColour;
    SetTextBackground(from.textBackground);
}

void ResetDrawingState() {
    SetDrawingMode(R2_COPYPEN);
    SetPenWidth(1);
    SetFillPattern(0);
    g_drawingState.fillColour = 0;
    SetTextBackground(0xFFFFFF);
}

bool InPatternMode() {
    return g_drawingState.mode == kPatternMode && g_drawingState.brushKind == kPatternBrush;
}

void SelectPen(COLORREF colour) {
    g_pen = MakePen(colour);
    g_previousPen = SelectObject(g_currentSurface, g_pen);
    SelectObject(g_currentSurface, GetStockObject(NULL_BRUSH));
}

void ReleasePen() {
    SelectObject(g_currentSurface, g_previousPen);
    DeleteObject(g_pen);
    g_pen = nullptr;
    g_previousPen = nullptr;
}

void SelectBrush(COLORREF colour) {
    if (g_drawingState.brushKind == kPatternBrush) {
        SetTextColor(g_currentSurface, colour | kPaletteRelative);
        g_brush = CreatePatternBrush(g_drawingState.patternBitmap);
    } else {
        g_brush = CreateSolidBrush(colour | kPaletteRelative);
    }
    SelectObject(g_currentSurface, GetStockObject(NULL_PEN));
    g_previousBrush = SelectObject(g_currentSurface, g_brush);
}

void ReleaseBrush() {
    SelectObject(g_currentSurface, g_previousBrush);
    DeleteObject(g_brush);
    g_brush = nullptr;
    g_previousBrush = nullptr;
}

void SelectPenAndBrush(COLORREF penColour, COLORREF brushColour) {
    g_brush = CreateSolidBrush(brushColour | kPaletteRelative);
    g_pen = MakePen(penColour);
    g_previousBrush = SelectObject(g_currentSurface, g_brush);
    g_previousPen = SelectObject(g_currentSurface, g_pen);
}

void ReleasePenAndBrush() {
    ReleaseBrush();
    ReleasePen();
}

HBRUSH SelectedBrush() { return g_brush; }
