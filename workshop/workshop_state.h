// The workshop's state that the tools, the dialogs and the command loop read:
// one workshop exists at a time.
#pragma once

#include "platform/windows.h"

class Control;
class Tool;

// Brush widths in pixels of the brush sizes 0..7.
constexpr int kBrushWidths[8] = {1, 2, 4, 6, 3, 5, 8, 10};

// Workshop modes.
constexpr int kModeNormal = 0;
constexpr int kModeHelp = 1;
constexpr int kModeEraseWait = 2;

struct WorkshopState {
    COLORREF colour = 0;
    int pattern = 0;
    int brushSize = 0;
    int brushWidth = 1;
    int magnify = 0;
    int backgroundNumber = -1;
    // Bit 0: mirrored left-right; bit 1: turned upside down.
    int flipState = 0;
    int mode = kModeNormal;
    int bubbleShown = 0;
    HCURSOR savedCursor = nullptr;
    Tool* tool = nullptr;
    Tool* pendingTool = nullptr;
    int actionInProgress = 0;
    int keepUndoOnce = 0;
    Control* toolButton = nullptr;
    Control* sizeButton = nullptr;
    HFONT bubbleFont = nullptr;
    int magnifierActive = 0;
    int heldStamp = 0;
    int textTool = 0;
};

extern WorkshopState g_workshop;
