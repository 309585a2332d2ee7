#include "platform/backend/sdl/screen_fit.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(SdlScreenFit, FillsTheOutputSharplyAndCentred) {
    struct Case {
        int outputWidth, outputHeight;
        bool wholeOnly;
        int x, y, width, height, scale, drawFactor;
    };
    const Case cases[] = {
        {640, 480, false, 0, 0, 640, 480, 1, 1},
        {1280, 960, false, 0, 0, 1280, 960, 2, 2},
        // A whole factor close to the fill is kept: 2x on 1920 x 1080.
        {1920, 1080, false, 320, 60, 1280, 960, 2, 2},
        {2560, 1440, false, 320, 0, 1920, 1440, 3, 3},
        {3840, 2160, false, 640, 120, 2560, 1920, 4, 4},
        // Between whole factors the picture fills the output.
        {1366, 768, false, 171, 0, 1024, 768, 1, 2},
        {1279, 959, false, 0, 0, 1279, 959, 1, 2},
        {1920, 1200, false, 160, 0, 1600, 1200, 2, 3},
        {1024, 600, false, 112, 0, 800, 600, 1, 2},
        {1366, 768, true, 363, 144, 640, 480, 1, 1},
        {1920, 1200, true, 320, 120, 1280, 960, 2, 2},
        // Too small for the picture: centred and cropped at 1x.
        {600, 400, false, -20, -40, 640, 480, 1, 1},
    };
    for (const Case& c : cases) {
        ScreenFit fit = FitScreen(c.outputWidth, c.outputHeight, 640, 480, c.wholeOnly);
        const std::string where = std::to_string(c.outputWidth) + "x" + std::to_string(c.outputHeight);
        EXPECT_EQ(fit.x, c.x) << where;
        EXPECT_EQ(fit.y, c.y) << where;
        EXPECT_EQ(fit.width, c.width) << where;
        EXPECT_EQ(fit.height, c.height) << where;
        EXPECT_EQ(fit.scale, c.scale) << where;
        EXPECT_EQ(fit.drawFactor, c.drawFactor) << where;
        EXPECT_EQ(fit.Filtered(), c.drawFactor * 640 != c.width) << where;
    }
    EXPECT_EQ(WholeScaleWithin(1920, 1040, 640, 480), 2);
    EXPECT_EQ(WholeScaleWithin(100, 100, 640, 480), 1);
    EXPECT_EQ(WholeScaleWithin(100, 100, 0, 480), 1);
}

// At 1024 x 768 on 1366 x 768 each picture pixel covers 1.6 output pixels:
// every output pixel maps to the picture pixel it shows, and every picture
// pixel's centre maps back to itself.
TEST(SdlScreenFit, FilledPointsMapBothWays) {
    ScreenFit fit = FitScreen(1366, 768, 640, 480);
    int x = -1;
    int y = -1;
    const int table[][4] = {{171, 0, 0, 0},     {172, 1, 0, 0},       {173, 2, 1, 1},
                            {1194, 767, 639, 479}, {0, 0, 0, 0},     {1365, 767, 639, 479},
                            {171 + 512, 384, 320, 240}};
    for (const auto& row : table) {
        OutputToScreen(fit, row[0], row[1], x, y);
        EXPECT_EQ(x, row[2]) << row[0];
        EXPECT_EQ(y, row[3]) << row[1];
    }
    for (int screen = 0; screen < 480; ++screen) {
        int outputX = 0;
        int outputY = 0;
        ScreenToOutput(fit, screen + 160, screen, outputX, outputY);
        OutputToScreen(fit, outputX, outputY, x, y);
        ASSERT_EQ(x, screen + 160);
        ASSERT_EQ(y, screen);
    }
}

TEST(SdlScreenFit, PointsMapBothWaysAndClamp) {
    ScreenFit fit = FitScreen(1920, 1080, 640, 480);  // scale 2 at (320, 60)
    int x = -1;
    int y = -1;
    OutputToScreen(fit, 320, 60, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    OutputToScreen(fit, 321, 61, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    OutputToScreen(fit, 322, 62, x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
    OutputToScreen(fit, 1599, 1019, x, y);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 479);
    // The black borders clamp to the nearest edge of the display.
    OutputToScreen(fit, 0, 0, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    OutputToScreen(fit, 319, 59, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    OutputToScreen(fit, 1919, 1079, x, y);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 479);
    for (int screenX : {0, 1, 317, 639}) {
        int outputX = 0;
        int outputY = 0;
        ScreenToOutput(fit, screenX, 479 - screenX % 480, outputX, outputY);
        OutputToScreen(fit, outputX, outputY, x, y);
        EXPECT_EQ(x, screenX);
        EXPECT_EQ(y, 479 - screenX % 480);
    }
}

}  // namespace
}  // namespace platform
