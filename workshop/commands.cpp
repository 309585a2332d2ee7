// The workshop's command operation: what each palette control does when it
// is clicked.
#include "controls/buttons.h"
#include "dialogs/dialogs.h"
#include "graphics/blit.h"
#include "graphics/regions.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/mainwindow.h"
#include "shell/random.h"
#include "shell/sound.h"
#include "tools/brush.h"
#include "tools/eraser.h"
#include "tools/figures.h"
#include "tools/fill.h"
#include "tools/magnifier.h"
#include "tools/selection.h"
#include "tools/stamp.h"
#include "tools/text.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr int kBlankPaper = 1490;
constexpr int kHelpCursor = 102;
constexpr int kEraseCursor = 209;
constexpr const char* kUndoSounds[4] = {"Gomme1", "Crecel", "Undo4", "WeezCrt"};

// The tool of a tool or stamp button; the brush button, and any other,
// paints with the brush.
Tool* MakeTool(WorkshopScreen* owner, int id) {
    if (id >= 300 && id < 300 + 10 * kStampBankCount) return new StampTool(owner, (id - 300) / 10);
    switch (id) {
        case 145: return new EraserTool(owner);
        case 150: return new LineTool(owner);
        case 155: return new CurveTool(owner);
        case 160: return new EllipseTool(owner);
        case 165: return new FilledEllipseTool(owner);
        case 170: return new RectangleTool(owner);
        case 175: return new FilledRectangleTool(owner);
        case 180: return new AirbrushTool(owner);
        case 185: return new FillTool(owner);
        case 195: return new TextTool(owner);
        case 210: return new SelectionTool(owner);
        case 220: return new MagnifierTool(owner);
        default: return new BrushTool(owner);
    }
}

}  // namespace

void WorkshopScreen::OnCommand(int id) {
    if (g_workshop.mode == kModeEraseWait) EndEraseWait(false);
    if (id >= 600 && id < 636) {
        g_workshop.colour = m_paletteColours[id - 600];
        m_patternSelector->SetColour(g_workshop.colour);
        m_patternSelector->Redraw();
    } else if (id == 250 || id == 254) {
        m_patternSelector->Step(id == 250 ? -1 : 1);
        g_workshop.pattern = m_patternSelector->Pattern();
    } else if (id == 258) {
        g_workshop.pattern = m_patternSelector->Pattern();
    } else if (id == 900) {
        ChooseNewBackground();
    } else if (id == 200 || id == 205) {
        FlipSheet(id == 205);
    } else if (id == 215) {
        g_workshop.magnify ^= 1;
        if (g_workshop.heldStamp && g_workshop.tool != nullptr) g_workshop.tool->OnCommand(kToolMagnify, 0);
    } else if (id == 225) {
        PlaySoundFile(kUndoSounds[Random() % 4], SND_ASYNC);
        Undo();
    } else if (id == 100) {
        StartHelpMode();
    } else if (id == 104) {
        StartEraseWait();
    } else if (id == 108) {
        RunEffectCommand();
    } else if (id == 112) {
        RunPrintCommand();
    } else if (id == 116) {
        RunLoadCommand();
    } else if (id == 120) {
        RunSaveCommand();
    } else if (id == 124) {
        RunQuitCommand();
    } else if (id == 190) {
        ChooseFontsAndStyles();
    } else if (id >= 905 && id <= 940) {
        for (Control* button : m_sizeButtons) {
            if (button != nullptr && button->m_id == id) ChooseBrushSize(button);
        }
    } else {
        ChooseTool(id);
    }
}

void WorkshopScreen::ChooseTool(int id) {
    DeleteTools();
    g_workshop.tool = MakeTool(this, id);
    for (int i = 0; i < m_controlCount; ++i) {
        if (m_controls[i]->m_id == id) g_workshop.toolButton = m_controls[i];
    }
}

// Selects a tool button that was not clicked, and forgets the last one.
void WorkshopScreen::SelectToolButton(Control* button) {
    if (g_workshop.toolButton == button) return;
    if (g_workshop.toolButton != nullptr) {
        g_workshop.toolButton->Select(false);
        g_workshop.toolButton->Redraw();
    }
    button->Select(true);
    button->Redraw();
    g_workshop.toolButton = button;
}

void WorkshopScreen::BackToBrush() {
    DeleteTools();
    g_workshop.tool = new BrushTool(this);
    SelectToolButton(m_brushButton);
}

void WorkshopScreen::FlipSheet(bool upsideDown) {
    if (g_workshop.magnifierActive) BackToBrush();
    if (g_workshop.heldStamp && g_workshop.tool != nullptr) {
        PlaySoundFile(upsideDown ? "HFlip" : "VFlip", SND_ASYNC);
        g_workshop.tool->OnCommand(upsideDown ? kToolUpsideDown : kToolMirror, 0);
        POINT point{m_pointerX, m_pointerY};
        GetWindowSurface(m_window);
        ToScreenPoint(point);
        ReleaseWindowSurface();
        SetCursorPos(point.x + 120, point.y);
        return;
    }
    PlaySoundFile(upsideDown ? "HFlip1" : "VFlip1", SND_ASYNC);
    GetWindowSurface(m_window);
    CopySurfaceToBitmapAt(kSheetRect, g_undoPicture, 0, 0);
    CopySurfaceToBitmapAt(kSheetRect, g_screenBuffer, 0, 0);
    if (upsideDown) {
        FlipBitmap(g_screenBuffer, &kSheetArea);
        FlipBitmap(g_backgroundPicture, nullptr);
    } else {
        MirrorBitmap(g_screenBuffer, &kSheetArea);
        MirrorBitmap(g_backgroundPicture, nullptr);
    }
    DrawBitmapRectAt(g_screenBuffer, kSheetArea, kSheetRect.left, kSheetRect.top);
    ReleaseWindowSurface();
    g_workshop.flipState ^= upsideDown ? 2 : 1;
    g_undoFlips = upsideDown ? 2 : 1;
}

// Help mode: the next click on a control or on the sheet shows its bubble.
void WorkshopScreen::StartHelpMode() {
    g_workshop.mode = kModeHelp;
    g_workshop.savedCursor = SetCurrentCursor(LoadedCursor(kHelpCursor));
    SetEventFilter(EV_LDOWN | EV_RDOWN);
    --m_controlEnable;
}

void WorkshopScreen::StartEraseWait() {
    g_workshop.savedCursor = SetCurrentCursor(LoadedCursor(kEraseCursor));
    g_workshop.mode = kModeEraseWait;
}

void WorkshopScreen::EndEraseWait(bool confirmed) {
    SetCurrentCursor(g_workshop.savedCursor);
    g_workshop.mode = kModeNormal;
    if (!confirmed) return;
    if (g_workshop.magnifierActive) BackToBrush();
    GetWindowSurface(m_window);
    CrackSheet();
    LoadBackground(kBlankPaper);
    g_workshop.backgroundNumber = -1;
    g_workshop.flipState = 0;
    ForgetCurrentPicture();
    DrawBitmapAt(g_backgroundPicture, kSheetRect.left, kSheetRect.top);
    CopySurfaceToBitmapAt(kSheetRect, g_undoPicture, 0, 0);
    g_undoFlips = 0;
    ReleaseWindowSurface();
}
