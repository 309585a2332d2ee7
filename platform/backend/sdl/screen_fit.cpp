#include "platform/backend/sdl/screen_fit.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

// Division that rounds towards minus infinity, for points left of the picture.
int FloorDiv(int value, int divisor) {
    int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

int64_t FloorDiv64(int64_t value, int64_t divisor) {
    int64_t quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

}  // namespace

int WholeScaleWithin(int spaceWidth, int spaceHeight, int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) {
        return 1;
    }
    return std::max(1, std::min(spaceWidth / screenWidth, spaceHeight / screenHeight));
}

ScreenFit FitScreen(int outputWidth, int outputHeight, int screenWidth, int screenHeight,
                    bool wholeOnly) {
    ScreenFit fit;
    fit.screenWidth = screenWidth;
    fit.screenHeight = screenHeight;
    fit.scale = WholeScaleWithin(outputWidth, outputHeight, screenWidth, screenHeight);
    fit.drawFactor = fit.scale;
    fit.width = screenWidth * fit.scale;
    fit.height = screenHeight * fit.scale;
    const bool fits = outputWidth >= screenWidth && outputHeight >= screenHeight;
    if (!wholeOnly && fits && screenWidth > 0 && screenHeight > 0) {
        // The largest size of the picture's shape within the output.
        int fillWidth = outputWidth;
        int fillHeight = static_cast<int>(int64_t{outputWidth} * screenHeight / screenWidth);
        if (fillHeight > outputHeight) {
            fillHeight = outputHeight;
            fillWidth = static_cast<int>(int64_t{outputHeight} * screenWidth / screenHeight);
        }
        if (fit.width < kWholeFactorShare * fillWidth) {
            fit.width = fillWidth;
            fit.height = fillHeight;
            fit.drawFactor = fit.scale + 1;
        }
    }
    fit.x = FloorDiv(outputWidth - fit.width, 2);
    fit.y = FloorDiv(outputHeight - fit.height, 2);
    return fit;
}

void OutputToScreen(const ScreenFit& fit, int outputX, int outputY, int& screenX, int& screenY) {
    const int64_t width = std::max(1, fit.width);
    const int64_t height = std::max(1, fit.height);
    const int64_t x = FloorDiv64((outputX - int64_t{fit.x}) * fit.screenWidth, width);
    const int64_t y = FloorDiv64((outputY - int64_t{fit.y}) * fit.screenHeight, height);
    screenX = static_cast<int>(std::clamp<int64_t>(x, 0, std::max(0, fit.screenWidth - 1)));
    screenY = static_cast<int>(std::clamp<int64_t>(y, 0, std::max(0, fit.screenHeight - 1)));
}

void ScreenToOutput(const ScreenFit& fit, int screenX, int screenY, int& outputX, int& outputY) {
    // The centre of the pixel's span on the output.
    const int64_t screenWidth = std::max(1, fit.screenWidth);
    const int64_t screenHeight = std::max(1, fit.screenHeight);
    outputX = fit.x + static_cast<int>((2 * int64_t{screenX} + 1) * fit.width / (2 * screenWidth));
    outputY = fit.y + static_cast<int>((2 * int64_t{screenY} + 1) * fit.height / (2 * screenHeight));
}

}  // namespace platform
