#include "graphics/text.h"

#include <cstring>

#include "graphics/drawing_state.h"
#include "graphics/surface.h"
#include "shell/messages.h"

namespace {

int g_textMode = kTransparentText;
int g_textBackgroundMode = TRANSPARENT;

// Sets the text colour and background mode for one output and puts the
// background mode back afterwards.
class TextOutput {
public:
    TextOutput() : m_oldMode(SetBkMode(g_currentSurface, g_textBackgroundMode)) {
        SetTextColor(g_currentSurface, g_drawingState.fillColour | kPaletteRelative);
    }
    ~TextOutput() { SetBkMode(g_currentSurface, m_oldMode); }
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

private:
    int m_oldMode;
};

}  // namespace

HFONT CreateTextFont(const char* face, int height, int style, int weight, int escapement,
                     int quality) {
    HFONT font = CreateFontA(height, 0, escapement, 0, (style & kBold) ? FW_BOLD : weight,
                             (style & kItalic) ? TRUE : FALSE, (style & kUnderline) ? TRUE : FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             static_cast<DWORD>(quality), 0, face);
    if (font == nullptr) ShowMessageWithText(24, face, kFatal, kNoCode);
    return font;
}

void DeleteTextFont(HFONT font) { DeleteObject(font); }

HFONT SelectTextFont(HFONT font) { return static_cast<HFONT>(SelectObject(g_currentSurface, font)); }

int TextHeight() {
    SIZE size{};
    GetTextExtentPoint32A(g_currentSurface, "n", 1, &size);
    return size.cy;
}

int CharWidth(int character) {
    const UINT code = static_cast<UINT>(character) & 0xFF;
    int width = 0;
    GetCharWidthA(g_currentSurface, code, code, &width);
    return width;
}

int TextWidth(const char* text, int length) {
    if (length < 0) length = static_cast<int>(strlen(text));
    SIZE size{};
    GetTextExtentPoint32A(g_currentSurface, text, length, &size);
    return size.cx;
}

int MeasureText(const char* text, int length, RECT& rect) {
    RECT measured = rect;
    const int height = DrawTextA(g_currentSurface, text, length, &measured,
                                 DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    rect.bottom = rect.top + height;
    return height;
}

int SetTextMode(int mode) {
    const int previous = g_textMode;
    g_textMode = mode;
    g_textBackgroundMode = mode == kTransparentText ? TRANSPARENT : OPAQUE;
    return previous;
}

void DrawTextAt(int x, int y, const char* text, int length) {
    if (length < 0) length = static_cast<int>(strlen(text));
    TextOutput output;
    TextOutA(g_currentSurface, x, y, text, length);
}

void DrawCharAt(int x, int y, int character) {
    const char text[2] = {static_cast<char>(character), 0};
    DrawTextAt(x, y, text, 1);
}

int DrawTextInRect(const char* text, int length, const RECT& rect, UINT flags) {
    RECT area = rect;
    TextOutput output;
    return DrawTextA(g_currentSurface, text, length, &area, flags | DT_WORDBREAK | DT_NOPREFIX);
}
