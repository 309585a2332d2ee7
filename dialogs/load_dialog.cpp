// The loading dialog: one saved drawing at a time, scaled down, with arrows to
// the previous and next ones and the drawing's name below.
#include <cstdio>
#include <vector>

#include "dialogs/dialog_frame.h"
#include "dialogs/dialogs.h"
#include "dialogs/saved_pictures.h"
#include "graphics/blit.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/sound.h"
#include "storage/picture_files.h"

namespace {

constexpr int kLoadTemplate = 203;
constexpr int kPreview = 101;
constexpr int kPrevious = 102;
constexpr int kNext = 103;
constexpr int kNameLabel = 104;
constexpr int kTitleLabel = 105;
constexpr int kLoadingHelp = 41;

constexpr int kOkPicture = 576;
constexpr int kCancelPicture = 574;
constexpr int kPreviousPicture = 570;
constexpr int kNextPicture = 572;
constexpr int kNoPicture = 590;
constexpr COLORREF kNameColour = 0x0000BF;

bool HasSelection() {
    return g_selectedPicture >= 0 && g_selectedPicture < g_savedPictureCount;
}

// The previews decoded during this opening of the dialog, one per entry,
// at the preview's size: each drawing is read at most once per opening.
std::vector<HBITMAP> g_previews;

void FreePreviews() {
    for (HBITMAP preview : g_previews) {
        if (preview != nullptr) DeleteObject(preview);
    }
    g_previews.clear();
}

// Reads the drawing into the scratch picture and keeps it at the preview's
// size; false, with the entry marked, when it cannot be read. A file that
// failed once is not tried again.
bool MakePreview(int index, HDC dc, const RECT& rect) {
    if (IsUnreadable(index)) return false;
    if (g_previews[index] != nullptr) return true;
    long error;
    {
        PicturesFolderScope folder;
        error = LoadPictureIntoBitmap(g_savedPictures[index].name, g_scratchPicture);
    }
    HBITMAP preview = nullptr;
    if (error == 0) preview = CreateCompatibleBitmap(dc, rect.right - rect.left, rect.bottom - rect.top);
    if (preview == nullptr) {
        MarkUnreadable(index);
        return false;
    }
    CopyBitmapRect(g_scratchPicture, kSheetArea, preview,
                   RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top});
    g_previews[index] = preview;
    return true;
}

// Shows the selected drawing and its name; false, with the item black, when
// it cannot be read.
bool DrawPreview(HWND dialog, const DRAWITEMSTRUCT& item) {
    const int index = g_selectedPicture;
    const bool shown = MakePreview(index, item.hDC, item.rcItem);
    char title[256];
    BaseName(g_savedPictures[index].name, title, sizeof title);
    SetDlgItemTextA(dialog, kNameLabel, title);
    ItemSurface surface(item.hDC);
    const RECT& r = item.rcItem;
    if (shown) {
        DrawBitmapRectAt(g_previews[index], RECT{0, 0, r.right - r.left, r.bottom - r.top}, r.left,
                         r.top);
    } else {
        PatBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, BLACKNESS);
    }
    return shown;
}

void DrawLoadItem(HWND dialog, const DRAWITEMSTRUCT& item) {
    switch (item.CtlID) {
        case IDOK:
            DrawPictureButton(item, kOkPicture, true);
            break;
        case IDCANCEL:
            DrawPictureButton(item, kCancelPicture, true);
            break;
        case kPrevious:
            DrawPictureButton(item, kPreviousPicture, true);
            break;
        case kNext:
            DrawPictureButton(item, kNextPicture, true);
            break;
        case kTitleLabel:
            DrawLabel(item, kLabelFormat, kNoBackground, kLabelColour, g_dialogFont);
            break;
        case kNameLabel:
            DrawLabel(item, kNameFormat, kDialogBackground, kNameColour, g_dialogFont);
            break;
        case kPreview: {
            bool shown = false;
            if (HasSelection()) {
                shown = DrawPreview(dialog, item);
            } else {
                DrawPictureButton(item, kNoPicture, false);
            }
            EnableWindow(GetDlgItem(dialog, IDOK), shown);
            break;
        }
        default:
            break;
    }
}

void Step(HWND dialog, int id) {
    const int count = g_savedPictureCount;
    if (count < 2) return;
    if (id == kPrevious) {
        g_selectedPicture = g_selectedPicture <= 0 ? count - 1 : g_selectedPicture - 1;
    } else {
        g_selectedPicture = g_selectedPicture + 1 >= count ? 0 : g_selectedPicture + 1;
    }
    InvalidateRect(GetDlgItem(dialog, kPreview), nullptr, FALSE);
    PlaySoundFile("tic", SND_ASYNC);
}

void OnLoadCommand(HWND dialog, int id) {
    switch (id) {
        case kPrevious:
        case kNext:
            Step(dialog, id);
            break;
        case IDOK:
            if (HasSelection()) {
                EndDialog(dialog, g_selectedPicture);
                break;
            }
            PlayCancelSound();
            EndDialog(dialog, kCancelled);
            break;
        case IDCANCEL:
            PlayCancelSound();
            EndDialog(dialog, kCancelled);
            break;
        default:
            break;
    }
}

void BringSelectionIntoRange() {
    if (g_selectedPicture >= g_savedPictureCount) g_selectedPicture = g_savedPictureCount - 1;
    if (g_savedPictureCount > 0 && g_selectedPicture < 0) g_selectedPicture = 0;
}

INT_PTR CALLBACK LoadDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            LayOutDialog(dialog);
            SetLabelToHelpText(dialog, kTitleLabel, kLoadingHelp);
            SetDlgItemTextA(dialog, kNameLabel, "");
            BringSelectionIntoRange();
            FreePreviews();
            g_previews.assign(static_cast<size_t>(g_savedPictureCount), nullptr);
            return TRUE;
        case WM_PAINT:
            PaintDialogBackground(dialog);
            return 0;
        case WM_DRAWITEM:
            DrawLoadItem(dialog, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            OnLoadCommand(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int RunLoadDialog() {
    ListSavedPictures();
    const INT_PTR result = RunFramedDialog(kLoadTemplate, LoadDialogProc, 0);
    FreePreviews();
    if (result < 0 || result >= g_savedPictureCount) {
        FreeSavedPictures();
        return 0;
    }
    PlaySoundFile("Print", SND_ASYNC);
    char name[sizeof g_savedPictures[0].name];
    snprintf(name, sizeof name, "%s", g_savedPictures[result].name);
    FreeSavedPictures();
    return LoadDrawing(name, 0);
}
