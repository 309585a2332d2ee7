#include "workshop/workshop_screen.h"

#include <initializer_list>

#include "controls/buttons.h"
#include "dialogs/dialogs.h"
#include "graphics/blit.h"
#include "graphics/shapes.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "graphics/text.h"
#include "shell/app.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/picture_module.h"
#include "tools/brush.h"

WorkshopState g_workshop;

namespace {

constexpr int kBlankPaper = 1490;
constexpr int kDefaultCursor = 101;
constexpr COLORREF kFrameColour = 0xA7DFF3;
constexpr COLORREF kFrameEdgeColour = 0x262626;

// Kinds of the palette's buttons.
enum class Kind { Push, Toggle, Radio, RadioReclick };

struct ButtonPlace {
    int id;
    int x;
    int y;
    Kind kind;
    const char* sound;
    int help;
    int hotkey;
};

// The function keys reach the screens as negative program key codes.
constexpr int kKeyF1 = static_cast<int16_t>(0x8022);
constexpr int kToolGroup = 10;
constexpr int kSizeGroup = 800;
constexpr int kSwatchGroup = 600;

// Construction order is hit-testing order.
constexpr ButtonPlace kButtons[] = {
    {100, 11, 4, Kind::Push, "Help", 0, kKeyF1},
    {104, 102, 4, Kind::Push, "tac", 1, 0},
    {108, 193, 4, Kind::Push, "GlingC", 2, 0},
    {112, 284, 4, Kind::Push, "tac", 3, 0},
    {116, 375, 4, Kind::Push, "tac", 4, 0},
    {120, 466, 4, Kind::Push, "tac", 5, 0},
    {124, 557, 4, Kind::Push, "tac", 6, 17},
    {905, 0, 34, Kind::Radio, "Brsh_Re2", 7, 0},
    {910, 20, 34, Kind::Radio, "Brsh_Si", 8, 0},
    {915, 40, 34, Kind::Radio, "Brsh_Sol", 9, 0},
    {920, 60, 34, Kind::Radio, "Brsh_ReD", 10, 0},
    {925, 0, 56, Kind::Radio, "Brsh_DoD", 11, 0},
    {930, 20, 56, Kind::Radio, "Brsh_La", 12, 0},
    {935, 40, 56, Kind::Radio, "Brsh_Fa", 13, 0},
    {940, 60, 56, Kind::Radio, "Brsh_UtD", 14, 0},
    {140, 0, 80, Kind::Radio, "Chirt", 15, 0},
    {145, 40, 80, Kind::Radio, "gomme0", 16, 0},
    {150, 0, 120, Kind::Radio, "TiBip", 17, 0},
    {155, 40, 120, Kind::Radio, "Bender", 18, 0},
    {160, 0, 160, Kind::Radio, "Weez", 19, 0},
    {165, 40, 160, Kind::Radio, "AlarmP", 20, 0},
    {170, 0, 200, Kind::Radio, "Hammer", 21, 0},
    {175, 40, 200, Kind::Radio, "Klank", 22, 0},
    {190, 0, 240, Kind::Push, "Trrrrr", 23, 0},
    {195, 40, 240, Kind::Radio, "tac", 24, 0},
    {180, 0, 280, Kind::Radio, "ZigloCrt", 25, 0},
    {185, 40, 280, Kind::Radio, "Gloup", 26, 0},
    {200, 0, 320, Kind::Push, nullptr, 27, 0},
    {205, 40, 320, Kind::Push, nullptr, 28, 0},
    {210, 0, 360, Kind::RadioReclick, "Pshat", 29, 0},
    {215, 40, 360, Kind::Toggle, "sfit", 30, 0},
    {220, 0, 400, Kind::RadioReclick, "tac", 31, 0},
    {225, 40, 400, Kind::Push, nullptr, 32, ' '},
};

constexpr int kStampCount = 13;
constexpr int kBackgroundButton = 900;

// The swatches play a scale up and down the two columns.
constexpr const char* kNotes[8] = {"Col_Ut", "Col_Re", "Col_Mi", "Col_Fa",
                                   "Col_Sol", "Col_La", "Col_Si", "Col_Do"};

int SwatchNote(int k) {
    if (k < 8) return k;
    if (k < 15) return 14 - k;
    if (k < 22) return k - 14;
    if (k < 29) return 28 - k;
    return k - 28;
}

Control* MakeButton(const ButtonPlace& place) {
    ControlInfo* info = MakeControlInfo(place.sound, place.help);
    switch (place.kind) {
        case Kind::Push:
            return new SoundPushButton(place.id, place.x, place.y, place.id, place.hotkey, info);
        case Kind::Toggle:
            return new SoundToggleButton(place.id, place.x, place.y, place.id, place.hotkey, info);
        case Kind::Radio:
        case Kind::RadioReclick: {
            const int group = place.id >= 905 ? kSizeGroup : kToolGroup;
            auto* button =
                new SoundRadioButton(place.id, place.x, place.y, place.id, group, place.hotkey, info);
            if (place.kind == Kind::RadioReclick) button->SetReclickReports(true);
            return button;
        }
    }
    return nullptr;
}

}  // namespace

void WorkshopScreen::OnCreate() {
    g_workshop = WorkshopState{};
    for (int k = 0; k < kSwatchCount; ++k) m_paletteColours[k] = g_swatchColours[k];
    g_workshop.colour = m_paletteColours[0];
    GetWindowSurface(m_window);
    RECT client;
    GetClientRect(m_window, &client);
    g_screenBuffer = CreateSurfaceBitmap(client, 0);
    g_scratchPicture = CreateSurfaceBitmap(kSheetArea, 0);
    g_undoPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
    LoadBackground(kBlankPaper);
    BuildPalette();
    ReleaseWindowSurface();
    g_workshop.bubbleFont = CreateTextFont("Dom Very Casual", 28, 0, 0, 0, ANTIALIASED_QUALITY);
    SetCurrentCursor(LoadedCursor(kDefaultCursor));

    m_firstSwatch->Select(true);
    m_sizeButtons[0]->Select(true);
    m_brushButton->Select(true);
    g_workshop.tool = new BrushTool(this);
    g_workshop.toolButton = m_brushButton;
    g_workshop.sizeButton = m_sizeButtons[0];
    OpenStartupPicture();
}

void WorkshopScreen::BuildPalette() {
    for (const ButtonPlace& place : kButtons) {
        Control* button = MakeButton(place);
        if (place.id >= 905) m_sizeButtons[(place.id - 905) / 5] = button;
        if (place.id == 140) m_brushButton = button;
        if (place.id == 195) m_textButton = button;
        if (place.id == 220) m_magnifierButton = button;
        if (place.id == 225) {
            const int undoKeys[kHotkeyCount] = {' ', 26, 8, 127};
            button->SetHotkeys(undoKeys);
        }
    }
    {
        PictureModuleScope module;
        for (int i = 0; i < kStampCount; ++i) {
            const int id = 300 + 10 * i;
            new SoundRadioButton(id, 80 + 43 * i, 440, id, kToolGroup, 0, MakeControlInfo("tac", 35));
        }
    }
    new SoundPushButton(kBackgroundButton, 0, 440, kBackgroundButton, 0,
                        MakeControlInfo("Latch1", 34));
    for (int k = 0; k < kSwatchCount; ++k) {
        const int x = k < 18 ? 600 : 620;
        const int y = 95 + 19 * (k % 18);
        const RECT rect{x, y, x + 20, y + 19};
        auto* swatch = new ColourSwatch(600 + k, rect, kSwatchGroup, m_paletteColours[k],
                                        kNotes[SwatchNote(k)], 33);
        swatch->SetReclickReports(true);
        if (k == 0) m_firstSwatch = swatch;
    }
    m_patternSelector = new PatternSelector(258, 600, 54, 40, 24, m_paletteColours[0], "tac", 37);
    new SoundPushButton(250, 600, 38, 250, 0, MakeControlInfo("tac", 37));
    new SoundPushButton(254, 600, 78, 254, 0, MakeControlInfo("tac", 37));
}

// A drawing named on the command line becomes the first sheet; without one,
// or when it cannot be read, the blank paper.
void WorkshopScreen::OpenStartupPicture() {
    if (g_commandLinePicture && LoadDrawing(g_commandLine, 1)) {
        AdoptLoadedPicture();
        return;
    }
    GetWindowSurface(m_window);
    DrawBitmapAt(g_backgroundPicture, kSheetRect.left, kSheetRect.top);
    ReleaseWindowSurface();
    RememberKeptSheet();
}

void WorkshopScreen::OnStart() {}

void WorkshopScreen::OnDestroy() {
    if (g_workshop.bubbleShown) CloseBubble();
    DeleteTools();
    for (HBITMAP* bitmap : {&g_undoPicture, &g_scratchPicture, &g_screenBuffer, &g_backgroundPicture}) {
        if (*bitmap != nullptr) DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
    if (g_workshop.bubbleFont != nullptr) DeleteTextFont(g_workshop.bubbleFont);
    g_workshop.bubbleFont = nullptr;
}

void WorkshopScreen::OnDeactivate() {
    if (g_undoPicture == nullptr) return;
    GetWindowSurface(m_window);
    CopySurfaceToBitmapAt(kSheetRect, g_undoPicture, 0, 0);
    g_undoFlips = 0;
    ReleaseWindowSurface();
}

void WorkshopScreen::PaintBackground(const RECT&) {
    static constexpr RECT kLight[] = {{0, 0, 640, 32},    {0, 32, 80, 36},   {596, 32, 640, 36},
                                      {80, 440, 640, 480}, {0, 36, 80, 80},   {600, 36, 640, 440}};
    static constexpr RECT kDark[] = {{80, 32, 600, 36}, {80, 32, 596, 440}, {80, 32, 84, 440},
                                     {596, 32, 600, 440}};
    for (const RECT& rect : kLight) FillRectangle(rect, kFrameColour);
    for (const RECT& rect : kDark) FillRectangle(rect, kFrameEdgeColour);
    if (g_undoPicture != nullptr) DrawBitmapAt(g_undoPicture, kSheetRect.left, kSheetRect.top);
}

void WorkshopScreen::LoadBackground(int number) {
    PictureModuleScope module;
    if (g_backgroundPicture != nullptr) DeleteObject(g_backgroundPicture);
    g_backgroundPicture = LoadPictureOrFail(number);
}

void WorkshopScreen::AdoptLoadedPicture() {
    GetWindowSurface(m_window);
    DrawBitmapAt(g_scratchPicture, kSheetRect.left, kSheetRect.top);
    CopySurfaceToBitmapAt(kSheetRect, g_undoPicture, 0, 0);
    g_undoFlips = 0;
    if (g_backgroundPicture != nullptr) DeleteObject(g_backgroundPicture);
    g_backgroundPicture = GrabSurfaceRect(kSheetRect);
    ReleaseWindowSurface();
    RememberKeptSheet(g_scratchPicture);
}
