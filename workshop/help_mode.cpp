// Help mode's bubbles: the help text of the control or the sheet under a
// click, shown in a speech bubble while a voice reads it.
#include <cstring>

#include "controls/control.h"
#include "controls/help_bubble.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/sound.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr int kSheetHelp = 36;
constexpr int kBubbleCursor = 110;
// The next character, left press or right press closes the bubble.
constexpr int kBubbleFilter = EV_CHAR | EV_LDOWN | EV_RDOWN;

// The text of the bubble on screen; the bubble keeps a pointer to it.
char g_bubbleText[512];

}  // namespace

bool WorkshopScreen::ShowBubbleAt(int x, int y) {
    RECT anchor;
    int help = -1;
    Control* found = nullptr;
    for (int i = 0; i < m_controlCount && found == nullptr; ++i) {
        if (m_controls[i]->HitTest(x, y)) found = m_controls[i];
    }
    const POINT point{x, y};
    if (found != nullptr) {
        anchor = found->m_bounds;
        if (found->m_info != nullptr) help = found->m_info->helpNumber;
    } else if (PtInRect(&kSheetRect, point)) {
        anchor = kSheetRect;
        help = kSheetHelp;
    } else {
        return false;
    }
    GetHelpString(help, g_bubbleText, sizeof g_bubbleText);
    const char* recording = "";
    if (char* mark = strchr(g_bubbleText, '#')) {
        *mark = '\0';
        recording = mark + 1;
    }
    SetEventFilter(kBubbleFilter);
    g_workshop.bubbleShown = 1;
    m_bubble = new HelpBubble(anchor, g_bubbleText, g_workshop.bubbleFont, g_screenBuffer);
    SetCurrentCursor(LoadedCursor(kBubbleCursor));
    if (recording[0] != '\0') {
        PlayCdSound(recording, SND_ASYNC);
    } else {
        PlaySoundFile("Synthac", SND_ASYNC);
    }
    return true;
}

void WorkshopScreen::CloseBubble() {
    delete m_bubble;
    m_bubble = nullptr;
    ++m_controlEnable;
    SetCurrentCursor(g_workshop.savedCursor);
    g_workshop.mode = kModeNormal;
    g_workshop.bubbleShown = 0;
    SetEventFilter(0);
    StopSound(nullptr);
}
