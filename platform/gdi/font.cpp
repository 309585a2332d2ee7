// Font objects: CreateFontA and CreateFontIndirectA, the stock fonts, the font
// a context draws with, and the questions the program asks about it.
#include <algorithm>
#include <cstring>

#include "platform/gdi/font.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

// The font of a context with none selected: the default face with a 16-pixel
// cell, as the stock system font.
FontObject& SystemFont() {
    static FontObject font = [] {
        FontObject made;
        made.kind = OBJ_FONT;
        made.stock = true;
        made.logFont.lfHeight = 16;
        made.logFont.lfWeight = FW_NORMAL;
        std::strcpy(made.logFont.lfFaceName, "System");
        return made;
    }();
    return font;
}

// Realises on first use: a font costs nothing until something draws with it.
SelectedFont Select(FontObject& font) {
    if (font.instance == nullptr)
        font.instance = RealizeFont(font.logFont);
    return SelectedFont{&font.logFont, font.instance.get()};
}

}  // namespace

SelectedFont CurrentFont(const DeviceContext& dc) {
    FontObject* font = FindObjectOf<FontObject>(dc.font, OBJ_FONT);
    return Select(font != nullptr ? *font : SystemFont());
}

}  // namespace platform::gdi

using platform::gdi::CurrentFont;
using platform::gdi::LookupDC;
using platform::gdi::SelectedFont;

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                         DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                         DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                         DWORD pitchAndFamily, LPCSTR faceName) {
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWidth = width;
    logFont.lfEscapement = escapement;
    logFont.lfOrientation = orientation;
    logFont.lfWeight = weight;
    logFont.lfItalic = static_cast<BYTE>(italic);
    logFont.lfUnderline = static_cast<BYTE>(underline);
    logFont.lfStrikeOut = static_cast<BYTE>(strikeOut);
    logFont.lfCharSet = static_cast<BYTE>(charSet);
    logFont.lfOutPrecision = static_cast<BYTE>(outPrecision);
    logFont.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    logFont.lfQuality = static_cast<BYTE>(quality);
    logFont.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName != nullptr) {
        std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    }
    return CreateFontIndirectA(&logFont);
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* logFont) {
    if (logFont == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto font = std::make_unique<platform::gdi::FontObject>();
    font->kind = OBJ_FONT;
    font->logFont = *logFont;
    font->logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(platform::gdi::RegisterObject(std::move(font)));
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA metrics) {
    platform::gdi::DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || metrics == nullptr)
        return FALSE;
    const SelectedFont font = CurrentFont(*dc);
    const platform::gdi::FontMetrics& m = font.instance->Metrics();
    TEXTMETRICA tm{};
    tm.tmHeight = m.height;
    tm.tmAscent = m.ascent;
    tm.tmDescent = m.descent;
    tm.tmInternalLeading = m.internalLeading;
    tm.tmExternalLeading = m.externalLeading;
    tm.tmAveCharWidth = m.aveCharWidth;
    tm.tmMaxCharWidth = m.maxCharWidth;
    tm.tmWeight = m.weight;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x1E;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = font.logFont->lfItalic != 0 ? 0xFF : 0;
    tm.tmUnderlined = font.logFont->lfUnderline != 0 ? 0xFF : 0;
    tm.tmStruckOut = font.logFont->lfStrikeOut != 0 ? 0xFF : 0;
    // TMPF_FIXED_PITCH set means variable pitch; every face here is TrueType.
    tm.tmPitchAndFamily = static_cast<BYTE>((m.fixedPitch ? 0 : 0x01) | 0x02 | 0x04);
    tm.tmCharSet = m.symbol ? SYMBOL_CHARSET : ANSI_CHARSET;
    *metrics = tm;
    return TRUE;
}

int WINAPI GetTextFaceA(HDC hdc, int count, LPSTR faceName) {
    platform::gdi::DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return 0;
    const std::string& name = CurrentFont(*dc).instance->FaceName();
    if (faceName == nullptr)
        return static_cast<int>(name.size()) + 1;
    if (count <= 0)
        return 0;
    const size_t copied = std::min(name.size(), static_cast<size_t>(count) - 1);
    std::memcpy(faceName, name.data(), copied);
    faceName[copied] = '\0';
    return static_cast<int>(copied) + 1;
}
