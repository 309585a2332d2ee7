#include "platform/backend/sdl/screen_fit.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(SdlScreenFit, LargestWholeFactorCentred) {
    struct Case {
        int outputWidth, outputHeight, x, y, scale;
    };
    const Case cases[] = {
        {640, 480, 0, 0, 1},       {1279, 959, 319, 239, 1}, {1280, 960, 0, 0, 2},
        {1920, 1080, 320, 60, 2},  {2560, 1440, 320, 0, 3},  {3840, 2160, 640, 120, 4},
        {1366, 768, 363, 144, 1},   {600, 400, -20, -40, 1},
    };
    for (const Case& c : cases) {
        ScreenFit fit = FitScreen(c.outputWidth, c.outputHeight, 640, 480);
        EXPECT_EQ(fit.scale, c.scale) << c.outputWidth << "x" << c.outputHeight;
        EXPECT_EQ(fit.x, c.x) << c.outputWidth << "x" << c.outputHeight;
        EXPECT_EQ(fit.y, c.y) << c.outputWidth << "x" << c.outputHeight;
    }
    EXPECT_EQ(WholeScaleWithin(1920, 1040, 640, 480), 2);
    EXPECT_EQ(WholeScaleWithin(100, 100, 640, 480), 1);
    EXPECT_EQ(WholeScaleWithin(100, 100, 0, 480), 1);
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
