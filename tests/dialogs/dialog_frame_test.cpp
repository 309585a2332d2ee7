#include "dialogs/dialog_frame.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_testing;
using DialogFrame = DialogTest;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kVeil = RGB(0xE5, 0xE5, 0x66);

struct Launcher {
    const char* name;
    int (*run)();
    int templateId;
    int width;  // in dialog units
    int height;
};

const Launcher kLaunchers[] = {
    {"background", ChooseBackground, 200, 256, 200},
    {"effects", ChooseEffect, 202, 148, 100},
    {"loading", RunLoadDialog, 203, 167, 159},
    {"saving", RunSaveDialog, 204, 141, 160},
    {"fonts", ChooseFont, 205, 256, 200},
    {"printing", ConfirmPrint, 206, 135, 100},
    {"quitting", ConfirmQuit, 209, 131, 97},
};

// The owner window's sheet: blue with a red square 16 pixels in.
void PaintOwnerSheet() {
    testing_support::RunUntilIdle();
    HDC dc = GetDC(g_mainWindow);
    HBRUSH blue = CreateSolidBrush(kBlue);
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(dc, &kSheetRect, blue);
    const RECT square{100, 52, 110, 62};
    FillRect(dc, &square, red);
    DeleteObject(blue);
    DeleteObject(red);
    ReleaseDC(g_mainWindow, dc);
}

TEST_F(DialogFrame, EveryDialogSitsOnTheVeiledSheetAndLeavesItForUndo) {
    for (const Launcher& l : kLaunchers) {
        SCOPED_TRACE(l.name);
        PaintOwnerSheet();
        FillBitmap(g_undoPicture, kSheetArea, RGB(0, 255, 0));
        RECT client{}, window{};
        int veiled = 0, kept = 0;
        Steps({Check([&](HWND d) {
                   GetClientRect(d, &client);
                   GetWindowRect(d, &window);
                   for (int x = 20; x < 28; ++x) {
                       for (int y = 200; y < 208; ++y) {
                           const COLORREF c = ScreenPixel(x, y);
                           veiled += c == kVeil;
                           kept += c == 0;
                       }
                   }
               }),
               ClickItem(IDCANCEL)});
        EXPECT_EQ(l.run(), l.run == ChooseEffect ? -1 : 0);

        // Two pixels a unit, up to the rounding of the conversion, and the
        // middle of the window on the middle of the sheet.
        EXPECT_NEAR(client.right, 2 * l.width, 2);
        EXPECT_NEAR(client.bottom, 2 * l.height, 2);
        EXPECT_NEAR(window.left + window.right, 84 + 596, 2);
        EXPECT_NEAR(window.top + window.bottom, 36 + 436, 2);
        EXPECT_GT(veiled, 0);
        EXPECT_GT(kept, 0);
        EXPECT_EQ(veiled + kept, 64);

        // The window is back as it was, and so is undo's picture of it.
        EXPECT_EQ(ScreenPixel(340, 236), kBlue);
        EXPECT_EQ(ScreenPixel(84, 36), kBlue);
        EXPECT_EQ(ScreenPixel(105, 57), kRed);
        EXPECT_EQ(BitmapPixel(g_undoPicture, 0, 0), kBlue);
        EXPECT_EQ(BitmapPixel(g_undoPicture, 16 + 5, 16 + 5), kRed);
        EXPECT_EQ(BitmapPixel(g_undoPicture, 511, 399), kBlue);
        EXPECT_EQ(g_dialogFont, nullptr);
        EXPECT_EQ(GetFocus(), g_mainWindow);
    }
}

TEST_F(DialogFrame, PictureButtonsShowTheirPressedPicture) {
    // Held down, Cancel shows picture 575; the confirmation's picture never
    // changes (a click gives it the focus, which veils it as any button).
    auto digest = [](int id) {
        const RECT r = ItemRect(id);
        uint64_t sum = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) sum = sum * 31 + ScreenPixel(x, y);
        }
        return sum;
    };
    using Kind = Event::Kind;
    uint64_t up = 0, down = 0, pictureUp = 0, pictureDown = 0;
    Steps({Check([&](HWND) { up = digest(IDCANCEL); }),
           MouseOn(100, {Kind::MouseMove, Kind::MouseDown}),
           Check([&](HWND) { pictureDown = digest(100); }), MouseOn(100, {Kind::MouseUp}),
           Check([&](HWND) { pictureUp = digest(100); }),
           MouseOn(IDCANCEL, {Kind::MouseMove, Kind::MouseDown}),
           Check([&](HWND) { down = digest(IDCANCEL); }), MouseOn(IDCANCEL, {Kind::MouseUp})});
    EXPECT_EQ(ConfirmQuit(), 0);
    EXPECT_NE(up, down);
    EXPECT_EQ(pictureUp, pictureDown);
}

}  // namespace
