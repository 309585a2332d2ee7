#include "dialogs/dialog_frame.h"

#include <cstring>
#include <memory>

#include "graphics/blit.h"
#include "graphics/drawing_state.h"
#include "graphics/shapes.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "graphics/text.h"
#include "shell/app.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/random.h"
#include "shell/sound.h"

HWND g_dialogOwner = nullptr;
HFONT g_dialogFont = nullptr;

namespace {

constexpr char kDialogFace[] = "JottFLF-BoldItalic.97";
constexpr int kDialogFontHeight = 24;
constexpr int kPixelsPerUnit = 2;
constexpr int kDialogUnavailable = 51;

// The pale yellow screen laid over the workshop and over a focused button:
// only the ink pixels of pattern 3 are painted.
constexpr COLORREF kVeilColour = 0x66E5E5;
constexpr int kVeilPattern = 3;

constexpr RECT kWindowArea{0, 0, 640, 480};

const char* const kCancelSounds[] = {"Gomme1", "Crecel", "Undo4", "WeezCrt"};

void Veil(const RECT& rect) {
    SavedDrawingState saved;
    SaveDrawingState(&saved);
    SetDrawingMode(kPatternMode);
    SetFillPattern(kVeilPattern);
    FillRectangle(rect, kVeilColour);
    RestoreDrawingState(&saved);
}

RECT ScaledRect(const RECT& rect, int mx, int my, int across, int down) {
    return RECT{rect.left * 100 / mx * across, rect.top * 100 / my * down,
                rect.right * 100 / mx * across, rect.bottom * 100 / my * down};
}

void MoveTo(HWND window, const RECT& rect) {
    MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
}

struct Scale {
    HWND dialog;
    int mx;
    int my;
    int across;
    int down;
};

BOOL CALLBACK ScaleChild(HWND child, LPARAM parameter) {
    const Scale& scale = *reinterpret_cast<const Scale*>(parameter);
    if (GetParent(child) != scale.dialog) return TRUE;
    RECT rect;
    GetWindowRect(child, &rect);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ScreenToClient(scale.dialog, &corners[0]);
    ScreenToClient(scale.dialog, &corners[1]);
    const RECT client{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    MoveTo(child, ScaledRect(client, scale.mx, scale.my, scale.across, scale.down));
    return TRUE;
}

}  // namespace

HWND ActiveMainWindow() {
    return g_focusWindow != nullptr ? g_focusWindow : g_mainWindow;
}

ItemSurface::ItemSurface(HDC dc) : m_saved(g_currentSurface) {
    m_palette = SelectPalette(dc, PaletteForSurfaces(), FALSE);
    g_currentSurface = dc;
}

ItemSurface::~ItemSurface() {
    SelectPalette(g_currentSurface, m_palette, FALSE);
    g_currentSurface = m_saved;
}

void OpenDialogFrame() {
    g_dialogOwner = ActiveMainWindow();
    g_dialogFont =
        CreateTextFont(kDialogFace, kDialogFontHeight, 0, FW_DONTCARE, 0, ANTIALIASED_QUALITY);
    GetWindowSurface(g_dialogOwner);
    if (g_screenBuffer != nullptr) CopySurfaceToBitmapAt(kWindowArea, g_screenBuffer, 0, 0);
    Veil(kWindowArea);
    ReleaseWindowSurface();
}

void CloseDialogFrame() {
    GetWindowSurface(g_dialogOwner);
    if (g_screenBuffer != nullptr) {
        DrawBitmapAt(g_screenBuffer, 0, 0);
        if (g_undoPicture != nullptr) {
            CopyBitmapRectAt(g_screenBuffer, kSheetRect, g_undoPicture, 0, 0);
            g_undoFlips = 0;
        }
    }
    ReleaseWindowSurface();
    DeleteTextFont(g_dialogFont);
    g_dialogFont = nullptr;
    SetFocus(g_dialogOwner);
}

INT_PTR RunFramedDialog(int templateId, DLGPROC procedure, LPARAM parameter) {
    OpenDialogFrame();
    const INT_PTR result = DialogBoxParamA(theApp.m_instance, MAKEINTRESOURCEA(templateId),
                                           g_dialogOwner, procedure, parameter);
    CloseDialogFrame();
    if (result == -1) ShowMessage(kDialogUnavailable, kFatal, kNoCode);
    return result;
}

void ScaleDialog(HWND dialog, int across, int down) {
    RECT units{100, 100, 200, 200};
    MapDialogRect(dialog, &units);
    const int mx = units.left;
    const int my = units.top;
    if ((mx == 100 * across && my == 100 * down) || mx <= 0 || my <= 0) return;
    RECT rect;
    GetWindowRect(dialog, &rect);
    MoveTo(dialog, ScaledRect(rect, mx, my, across, down));
    Scale scale{dialog, mx, my, across, down};
    EnumChildWindows(dialog, ScaleChild, reinterpret_cast<LPARAM>(&scale));
}

void CentreDialogOnSheet(HWND dialog) {
    RECT owner;
    GetWindowRect(g_dialogOwner != nullptr ? g_dialogOwner : ActiveMainWindow(), &owner);
    RECT sheet = kSheetRect;
    OffsetRect(&sheet, owner.left, owner.top);
    RECT rect;
    GetWindowRect(dialog, &rect);
    const int dx =
        ((sheet.right - sheet.left) - (rect.right - rect.left)) / 2 - rect.left + sheet.left;
    const int dy =
        ((sheet.bottom - sheet.top) - (rect.bottom - rect.top)) / 2 - rect.top + sheet.top;
    SetWindowPos(dialog, nullptr, rect.left + dx, rect.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayOutDialog(HWND dialog) {
    ScaleDialog(dialog, kPixelsPerUnit, kPixelsPerUnit);
    CentreDialogOnSheet(dialog);
}

void PaintDialogBackground(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    {
        ItemSurface surface(dc);
        SavedDrawingState saved;
        SaveDrawingState(&saved);
        SetDrawingMode(R2_COPYPEN);
        SetFillPattern(0);
        FillRectangle(paint.rcPaint, kDialogBackground);
        RestoreDrawingState(&saved);
    }
    EndPaint(dialog, &paint);
}

void DrawPictureButton(const DRAWITEMSTRUCT& item, int picture, bool pressable) {
    if (pressable && (item.itemState & ODS_SELECTED)) ++picture;
    ItemSurface surface(item.hDC);
    HBITMAP bitmap = LoadPictureOrFail(picture);
    if (bitmap == nullptr) return;
    DrawBitmapAt(bitmap, item.rcItem.left, item.rcItem.top);
    DeleteObject(bitmap);
    if (item.itemState & ODS_FOCUS) Veil(item.rcItem);
}

void DrawLabel(const DRAWITEMSTRUCT& item, UINT format, long background, COLORREF textColour,
               HFONT font) {
    ItemSurface surface(item.hDC);
    SavedDrawingState saved;
    SaveDrawingState(&saved);
    if (background != kNoBackground) {
        SetDrawingMode(R2_COPYPEN);
        SetFillPattern(0);
        FillRectangle(item.rcItem, static_cast<COLORREF>(background));
    }
    const int length = GetWindowTextLengthA(item.hwndItem);
    std::unique_ptr<char[]> text(length > 0 ? new (std::nothrow) char[length + 1] : nullptr);
    if (text != nullptr && GetWindowTextA(item.hwndItem, text.get(), length + 1) > 0) {
        g_drawingState.fillColour = textColour;
        const int mode = SetTextMode(kTransparentText);
        HFONT previous = font != nullptr ? SelectTextFont(font) : nullptr;
        DrawTextInRect(text.get(), -1, item.rcItem, format);
        if (font != nullptr) SelectTextFont(previous);
        SetTextMode(mode);
    }
    RestoreDrawingState(&saved);
}

void SetLabelToHelpText(HWND dialog, int id, int number) {
    char text[256];
    GetHelpString(number, text, sizeof text);
    SetDlgItemTextA(dialog, id, text);
}

void PlayCancelSound() {
    PlaySoundFile(kCancelSounds[Random() % 4], SND_ASYNC);
}
