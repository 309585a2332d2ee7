// The font chooser: sixteen samples, bold and italic switches, a size with its
// preview and the text style of the text tool.
#include "dialogs/dialog_frame.h"
#include "dialogs/dialogs.h"
#include "graphics/drawing_state.h"
#include "graphics/shapes.h"
#include "graphics/surface.h"
#include "graphics/text.h"
#include "shell/configuration.h"

TextSettings g_textSettings;
FontChooserValues g_fontChooser;

namespace {

constexpr int kFontTemplate = 205;
constexpr int kFirstSample = 101;
constexpr int kBoldSwitch = 117;
constexpr int kItalicSwitch = 118;
constexpr int kPreview = 119;
constexpr int kSmaller = 120;
constexpr int kLarger = 121;
constexpr int kStyleButton = 122;

constexpr int kSizes[] = {8,  9,  10, 11, 12, 14, 16, 18, 20,  22,  24,  26,  28, 30,
                          32, 36, 40, 48, 56, 64, 72, 80, 110, 120, 140, 160, 200};
constexpr int kLastSize = static_cast<int>(sizeof kSizes / sizeof kSizes[0]) - 1;
constexpr int kStyleCount = 3;
constexpr int kSampleHeight = 32;
constexpr char kSampleText[] = "ABCDefghijklmnopqrstuvwxyz";

constexpr COLORREF kChosenSample = 0x33B2CC;
constexpr COLORREF kPressedSample = 0x66CCE5;
constexpr COLORREF kPreviewPaper = 0xFFFFFF;
constexpr COLORREF kPreviewEdge = 0x4C4C4C;
constexpr COLORREF kPreviewShadow = 0xCCCCCC;
constexpr COLORREF kInk = 0;

HFONT g_sampleFonts[kFontCount] = {};

void CreateSampleFonts() {
    for (int i = 0; i < kFontCount; ++i) {
        g_sampleFonts[i] = CreateTextFont(kFontFaceNames[i], kSampleHeight, 0, FW_DONTCARE, 0,
                                          ANTIALIASED_QUALITY);
    }
}

void DeleteSampleFonts() {
    for (HFONT& font : g_sampleFonts) {
        DeleteTextFont(font);
        font = nullptr;
    }
}

// The first letters of the sample text centred in the rectangle, in the
// colour and the current surface's font.
void DrawSampleText(const RECT& rect, int length, COLORREF colour) {
    g_drawingState.fillColour = colour;
    DrawTextInRect(kSampleText, length, rect, kLabelFormat);
}

// As many letters of the sample, from its start, as the current font fits into
// the width, and at least one: centred text wider than its box would lose
// both of its ends.
int FittingSampleLength(int width) {
    int length = static_cast<int>(sizeof kSampleText) - 1;
    while (length > 1 && TextWidth(kSampleText, length) > width) --length;
    return length;
}

void DrawSample(const DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.CtlID) - kFirstSample;
    const COLORREF paper = index == g_fontChooser.font            ? kChosenSample
                           : (item.itemState & ODS_SELECTED) != 0 ? kPressedSample
                                                                  : kDialogBackground;
    FillRectangle(item.rcItem, paper);
    HFONT previous = SelectTextFont(g_sampleFonts[index]);
    g_drawingState.fillColour = kInk;
    DrawTextAt(item.rcItem.left, item.rcItem.top, kSampleText, -1);
    SelectTextFont(previous);
}

void DrawPreview(const DRAWITEMSTRUCT& item) {
    const FontChooserValues& v = g_fontChooser;
    HFONT font = CreateTextFont(kFontFaceNames[v.font], kSizes[v.sizeIndex], v.styleBits,
                                FW_DONTCARE, 0, ANTIALIASED_QUALITY);
    const RECT& r = item.rcItem;
    FillRectangle(r, kPreviewPaper);
    MoveToEx(g_currentSurface, r.left, r.bottom - 2, nullptr);
    LineToPoint(r.left, r.top, kPreviewEdge);
    LineToPoint(r.right - 1, r.top, kPreviewEdge);
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    HFONT previous = SelectTextFont(font);
    const int d = v.sizeIndex / 10;
    // A slanted last letter leans out past its advance; centring shares the
    // room left on both sides, so the lean is kept free on each.
    const int lean = (v.styleBits & kItalic) != 0 ? TextHeight() / 4 : 0;
    const int length = FittingSampleLength(inner.right - inner.left - 2 * (d + 2 + lean));
    if (d != 0) {
        RECT shadow = inner;
        OffsetRect(&shadow, d, d);
        DrawSampleText(shadow, length, kPreviewShadow);
    }
    DrawSampleText(inner, length, kInk);
    SelectTextFont(previous);
    DeleteTextFont(font);
}

int SwitchPicture(int id) {
    const FontChooserValues& v = g_fontChooser;
    switch (id) {
        case IDOK:
            return 718;
        case IDCANCEL:
            return 720;
        case kBoldSwitch:
            return (v.styleBits & kBold) ? 710 : 708;
        case kItalicSwitch:
            return (v.styleBits & kItalic) ? 706 : 704;
        case kSmaller:
            return 700;
        case kLarger:
            return 702;
        case kStyleButton:
            return 712 + 2 * v.style;
        default:
            return 0;
    }
}

void DrawFontItem(const DRAWITEMSTRUCT& item) {
    const int id = static_cast<int>(item.CtlID);
    if (const int picture = SwitchPicture(id); picture != 0) {
        DrawPictureButton(item, picture, true);
        return;
    }
    if (id != kPreview && (id < kFirstSample || id >= kFirstSample + kFontCount)) return;
    ItemSurface surface(item.hDC);
    SavedDrawingState saved;
    SaveDrawingState(&saved);
    SetDrawingMode(R2_COPYPEN);
    SetFillPattern(0);
    const int penWidth = SetPenWidth(1);
    const int textMode = SetTextMode(kTransparentText);
    if (id == kPreview) {
        DrawPreview(item);
    } else {
        DrawSample(item);
    }
    SetTextMode(textMode);
    SetPenWidth(penWidth);
    RestoreDrawingState(&saved);
}

void Redraw(HWND dialog, int id) {
    InvalidateRect(GetDlgItem(dialog, id), nullptr, FALSE);
}

void ChangeSize(HWND dialog, int step) {
    const int size = g_fontChooser.sizeIndex + step;
    if (size < 0 || size > kLastSize) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    g_fontChooser.sizeIndex = size;
    Redraw(dialog, kPreview);
}

void OnFontCommand(HWND dialog, int id) {
    FontChooserValues& v = g_fontChooser;
    if (id >= kFirstSample && id < kFirstSample + kFontCount) {
        const int old = v.font;
        v.font = id - kFirstSample;
        Redraw(dialog, kFirstSample + old);
        Redraw(dialog, id);
        Redraw(dialog, kPreview);
        return;
    }
    switch (id) {
        case kBoldSwitch:
        case kItalicSwitch:
            v.styleBits ^= id == kBoldSwitch ? kBold : kItalic;
            Redraw(dialog, id);
            Redraw(dialog, kPreview);
            break;
        case kSmaller:
            ChangeSize(dialog, -1);
            break;
        case kLarger:
            ChangeSize(dialog, 1);
            break;
        case kStyleButton:
            v.style = (v.style + 1) % kStyleCount;
            Redraw(dialog, id);
            break;
        case IDOK:
            DeleteSampleFonts();
            EndDialog(dialog, 0);
            break;
        case IDCANCEL:
            PlayCancelSound();
            DeleteSampleFonts();
            EndDialog(dialog, kCancelled);
            break;
        default:
            break;
    }
}

INT_PTR CALLBACK FontProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            LayOutDialog(dialog);
            CreateSampleFonts();
            return TRUE;
        case WM_PAINT:
            PaintDialogBackground(dialog);
            return 0;
        case WM_DRAWITEM:
            DrawFontItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            OnFontCommand(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int ChooseFont() {
    if (RunFramedDialog(kFontTemplate, FontProc, 0) != 0) return 0;
    g_textSettings.face = g_fontChooser.font;
    g_textSettings.height = kSizes[g_fontChooser.sizeIndex];
    g_textSettings.styleBits = g_fontChooser.styleBits;
    g_textSettings.style = g_fontChooser.style;
    return 1;
}
