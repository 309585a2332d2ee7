// The saving dialog: the drawing being saved and a name to type for it.
#include <cstdio>
#include <cstring>

#include "dialogs/dialog_frame.h"
#include "dialogs/dialogs.h"
#include "dialogs/saved_pictures.h"
#include "graphics/blit.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/messages.h"
#include "shell/sound.h"
#include "storage/picture_files.h"

namespace {

constexpr int kSaveTemplate = 204;
constexpr int kPreview = 101;
constexpr int kNameEdit = 102;
constexpr int kTitleLabel = 103;
constexpr int kSavingHelp = 42;
constexpr int kOkPicture = 578;
constexpr int kCancelPicture = 574;
constexpr char kDefaultName[] = "Image Tavelin";

char g_typedName[kMaxPictureName + 1] = "";

void DrawSaveItem(const DRAWITEMSTRUCT& item) {
    switch (item.CtlID) {
        case IDOK:
            DrawPictureButton(item, kOkPicture, true);
            break;
        case IDCANCEL:
            DrawPictureButton(item, kCancelPicture, true);
            break;
        case kTitleLabel:
            DrawLabel(item, kLabelFormat, kNoBackground, kLabelColour, g_dialogFont);
            break;
        case kPreview: {
            ItemSurface surface(item.hDC);
            DrawBitmapRect(g_scratchPicture, kSheetArea, item.rcItem);
            break;
        }
        default:
            break;
    }
}

INT_PTR CALLBACK SaveDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            LayOutDialog(dialog);
            SetLabelToHelpText(dialog, kTitleLabel, kSavingHelp);
            SetDlgItemTextA(dialog, kNameEdit, g_typedName);
            return TRUE;
        case WM_PAINT:
            PaintDialogBackground(dialog);
            return 0;
        case WM_DRAWITEM:
            DrawSaveItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    GetDlgItemTextA(dialog, kNameEdit, g_typedName, sizeof g_typedName);
                    EndDialog(dialog, 1);
                    return TRUE;
                case IDCANCEL:
                    PlayCancelSound();
                    EndDialog(dialog, kCancelled);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

int RunSaveDialog() {
    snprintf(g_typedName, sizeof g_typedName, "%s", g_currentPictureName);
    if (RunFramedDialog(kSaveTemplate, SaveDialogProc, 0) != 1) return 0;
    PlaySoundFile("Photo", SND_ASYNC);
    char fileName[kPathSize];
    if (g_currentFileName[0] != '\0' && strcmp(g_typedName, g_currentPictureName) == 0) {
        snprintf(fileName, sizeof fileName, "%s", g_currentFileName);
    } else {
        g_givenByPath = 0;
        MakePictureFileName(g_typedName, kPictureExtension, 1, fileName, kDefaultName);
    }
    snprintf(g_currentFileName, sizeof g_currentFileName, "%s", fileName);
    long error;
    const int shownBefore = g_messagesShown;
    {
        DrawingFolderScope folder(g_givenByPath);
        error = SaveSheetPicture(fileName, g_scratchPicture);
    }
    if (error != 0) {
        // The file layer reports the failures of finishing the file itself;
        // the same error is not shown twice.
        if (g_messagesShown == shownBefore) ReportFileError(fileName, error, kReportWrite);
        return 0;
    }
    snprintf(g_currentPictureName, sizeof g_currentPictureName, "%s", g_typedName);
    return 1;
}
