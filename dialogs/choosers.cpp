// The background and effects choosers, the print and quit confirmations and
// the farewell picture.
#include <optional>

#include "dialogs/dialog_frame.h"
#include "dialogs/dialogs.h"
#include "shell/app.h"
#include "shell/picture_module.h"
#include "shell/sound.h"

int g_backgroundChoice = -1;

namespace {

constexpr int kCancelPicture = 574;
constexpr int kFirstChoice = 101;

constexpr int kBackgroundTemplate = 200;
constexpr int kBackgroundCount = 23;
// Backgrounds 18 to 22 have true-colour variants, five numbers further on.
constexpr int kFirstVariedBackground = 18;
constexpr int kTrueColourOffset = 5;

constexpr int kEffectTemplate = 202;
constexpr int kEffectCount = 22;

constexpr int kFarewellTemplate = 210;
constexpr int kFarewellPicture = 597;
constexpr int kFarewellItem = 100;
constexpr UINT kFarewellDelay = 4000;

int ChoiceOf(int id, int count) {
    return id >= kFirstChoice && id < kFirstChoice + count ? id - kFirstChoice : -1;
}

// A chooser of count pictures, ids 101 on, and Cancel: it ends with the
// picture's index or with kCancelled.
bool ChooserCommand(HWND dialog, int id, int count) {
    if (id == IDCANCEL) {
        PlayCancelSound();
        EndDialog(dialog, kCancelled);
        return true;
    }
    const int choice = ChoiceOf(id, count);
    if (choice >= 0) EndDialog(dialog, choice);
    return choice >= 0;
}

// The background and effects choosers differ only in their templates and
// pictures.
struct Chooser {
    int templateId;
    int count;
    int pictureBase;  // picture 2 x id + base for item id
    bool fromPictureModule;
};
constexpr Chooser kBackgroundChooser{kBackgroundTemplate, kBackgroundCount, 308, true};
constexpr Chooser kEffectChooser{kEffectTemplate, kEffectCount, 398, false};

const Chooser* g_chooser = &kBackgroundChooser;

void DrawChooserItem(const DRAWITEMSTRUCT& item) {
    const int id = static_cast<int>(item.CtlID);
    if (ChoiceOf(id, g_chooser->count) >= 0) {
        std::optional<PictureModuleScope> module;
        if (g_chooser->fromPictureModule) module.emplace();
        DrawPictureButton(item, 2 * id + g_chooser->pictureBase, true);
    } else if (id == IDCANCEL) {
        DrawPictureButton(item, kCancelPicture, true);
    }
}

INT_PTR CALLBACK ChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            LayOutDialog(dialog);
            return TRUE;
        case WM_PAINT:
            PaintDialogBackground(dialog);
            return 0;
        case WM_DRAWITEM:
            DrawChooserItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            ChooserCommand(dialog, LOWORD(wParam), g_chooser->count);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR Choose(const Chooser& chooser) {
    g_chooser = &chooser;
    return RunFramedDialog(chooser.templateId, ChooserProc, 0);
}

// The print and quit confirmations differ only in their texts and pictures.
struct Confirmation {
    int templateId;
    int helpNumber;
    int okPicture;
    int picture;
};
constexpr Confirmation kPrintConfirmation{206, 39, 580, 592};
constexpr Confirmation kQuitConfirmation{209, 43, 584, 594};
constexpr int kConfirmationLabel = 101;
constexpr int kConfirmationPicture = 100;

const Confirmation* g_confirmation = &kQuitConfirmation;

void DrawConfirmationItem(const DRAWITEMSTRUCT& item) {
    switch (item.CtlID) {
        case IDOK:
            DrawPictureButton(item, g_confirmation->okPicture, true);
            break;
        case IDCANCEL:
            DrawPictureButton(item, kCancelPicture, true);
            break;
        case kConfirmationPicture:
            DrawPictureButton(item, g_confirmation->picture, false);
            break;
        case kConfirmationLabel:
            DrawLabel(item, kLabelFormat, kNoBackground, kLabelColour, g_dialogFont);
            break;
        default:
            break;
    }
}

INT_PTR CALLBACK ConfirmationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetLabelToHelpText(dialog, kConfirmationLabel, g_confirmation->helpNumber);
            LayOutDialog(dialog);
            return TRUE;
        case WM_PAINT:
            PaintDialogBackground(dialog);
            return 0;
        case WM_DRAWITEM:
            DrawConfirmationItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
            if (LOWORD(wParam) == IDCANCEL) {
                PlayCancelSound();
                EndDialog(dialog, 0);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

int Confirm(const Confirmation& confirmation) {
    g_confirmation = &confirmation;
    return RunFramedDialog(confirmation.templateId, ConfirmationProc, 0) == 1 ? 1 : 0;
}

INT_PTR CALLBACK FarewellProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            PlayCdSound("Final", SND_ASYNC);
            LayOutDialog(dialog);
            // Another timer may hold an id: take the first free one.
            for (UINT_PTR id = 1; id <= 100 && SetTimer(dialog, id, kFarewellDelay, nullptr) == 0;
                 ++id) {
            }
            return TRUE;
        }
        case WM_DRAWITEM: {
            // The picture is the dialog's only item and so has the focus; it
            // is shown as it is, never veiled.
            DRAWITEMSTRUCT item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID != kFarewellItem) return FALSE;
            item.itemState &= ~ODS_FOCUS;
            PictureModuleScope module;
            DrawPictureButton(item, kFarewellPicture, false);
            return TRUE;
        }
        case WM_COMMAND:
            EndDialog(dialog, 1);
            return TRUE;
        case WM_TIMER:
            KillTimer(dialog, wParam);
            EndDialog(dialog, 1);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int ChooseBackground() {
    const INT_PTR result = Choose(kBackgroundChooser);
    if (result < 0 || result >= kBackgroundCount) return 0;
    g_backgroundChoice = static_cast<int>(result);
    if (result >= kFirstVariedBackground && g_platform.bitsPerPixel > 8) {
        g_backgroundChoice += kTrueColourOffset;
    }
    return 1;
}

int ChooseEffect() {
    const INT_PTR result = Choose(kEffectChooser);
    return result >= 0 && result < kEffectCount ? static_cast<int>(result) : -1;
}

int ConfirmPrint() {
    return Confirm(kPrintConfirmation);
}

int ConfirmQuit() {
    return Confirm(kQuitConfirmation);
}

void ShowFarewell() {
    g_dialogOwner = ActiveMainWindow();
    DialogBoxParamA(theApp.m_instance, MAKEINTRESOURCEA(kFarewellTemplate), g_dialogOwner,
                    FarewellProc, 0);
    SetFocus(g_dialogOwner);
}
