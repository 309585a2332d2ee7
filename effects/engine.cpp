// The effects engine: the sound rotation, the effect numbers, and the
// bracket that turns the sheet into an effect image and back.
#include <cstring>

#include "effects/passes.h"
#include "graphics/blit.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/memory.h"
#include "shell/messages.h"
#include "shell/sound.h"
#include "storage/picture_files.h"

EffectImage g_effectImage;

namespace {

constexpr const char* kEffectSounds[8] = {"harpe",  "Zapslnk2", "sircops",  "glingB",
                                          "ziglo1", "Siraigu",  "Zapslnk1", "2gling"};
constexpr int kNoMemoryText = 45;
constexpr RECT kWindowArea{0, 0, 640, 480};

int g_soundCounter = 0;
HGLOBAL g_effectBlock = nullptr;

// What each effect number does: a pass over the effect image, or a drawing
// on the sheet.
struct Effect {
    EffectPass pass;
    void (*onSheet)();
};

constexpr Effect kEffects[kEffectCount] = {
    {Brighten, nullptr},          {DeepenColours, nullptr},
    {MakeNegative, nullptr},      {MakeGreyscale, nullptr},
    {RotateChannels, nullptr},    {GlowBlue, nullptr},
    {GlowWarm, nullptr},          {MakeMosaic, nullptr},
    {ShadeTriangles, nullptr},    {PaintDots, nullptr},
    {PaintLightStreaks, nullptr}, {nullptr, ShiftTiles},
    {BevelTiles, nullptr},        {MottleShadow, nullptr},
    {LetItSnow, nullptr},         {GrowPlants, nullptr},
    {ShineSun, nullptr},          {BlowBubbles, nullptr},
    {nullptr, [] { LayPuzzle(kLargePuzzle); }},
    {nullptr, [] { LayPuzzle(kSmallPuzzle); }},
    {RaiseRelief, nullptr},       {Smooth, nullptr},
};

void MakeScreenBuffer() {
    if (g_screenBuffer == nullptr) g_screenBuffer = CreateSurfaceBitmap(kWindowArea, 0);
}

void FreeEffectBlock() {
    if (g_effectBlock == nullptr) return;
    GlobalUnlock(g_effectBlock);
    GlobalFree(g_effectBlock);
    g_effectBlock = nullptr;
}

// Locks the captured block and notes where its pixels are; false when the
// block is not the 24-bit picture that the effects expect.
bool OpenEffectImage() {
    auto* data = static_cast<uint8_t*>(LockGlobal(g_effectBlock));
    if (data == nullptr) return false;
    BITMAPINFOHEADER header;
    memcpy(&header, data, sizeof header);
    const int64_t stride = DibStride(header.biWidth, 24);
    const int64_t height = header.biHeight;
    if (header.biSize != sizeof header || header.biBitCount != 24 || header.biWidth < 1 || height < 1 ||
        static_cast<int64_t>(GlobalBlockSize(g_effectBlock)) < header.biSize + stride * height) {
        return false;
    }
    g_effectImage = EffectImage{data + header.biSize, static_cast<int>(header.biWidth),
                                static_cast<int>(height), static_cast<int>(stride)};
    return true;
}

}  // namespace

int NextEffectSound() { return g_soundCounter; }

void RunEffect(int number) {
    PlayCdSound(kEffectSounds[g_soundCounter], SND_ASYNC);
    g_soundCounter = (g_soundCounter + 1) % 8;
    if (number < 0 || number >= kEffectCount) return;
    const Effect& effect = kEffects[number];
    if (effect.onSheet != nullptr) {
        effect.onSheet();
        return;
    }
    if (TakeSheetPixels() == 0) return;
    effect.pass(g_effectImage);
    ReturnSheetPixels();
}

int TakeSheetPixels() {
    DeleteObject(g_screenBuffer);
    g_screenBuffer = nullptr;
    CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
    g_effectBlock = CaptureDib(g_scratchPicture, 24, PaletteForSurfaces(), BI_RGB);
    if (g_effectBlock == nullptr || !OpenEffectImage()) {
        FreeEffectBlock();
        g_effectImage = EffectImage{};
        ShowHelpString(kNoMemoryText);
        MakeScreenBuffer();
        return 0;
    }
    return 1;
}

void ReturnSheetPixels() {
    if (g_effectBlock != nullptr) {
        GlobalUnlock(g_effectBlock);
        DrawDib(g_currentSurface, kSheetRect.left, kSheetRect.top, 512, 400, g_effectBlock, 0, 0,
                512, 400, SRCCOPY);
        GlobalFree(g_effectBlock);
        g_effectBlock = nullptr;
    }
    g_effectImage = EffectImage{};
    MakeScreenBuffer();
}

int ChannelDifference(int a, int b) {
    const int d = a - b;
    return d >= 3 || d <= -3 ? d : 0;
}
