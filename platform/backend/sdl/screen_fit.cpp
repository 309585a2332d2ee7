#include "platform/backend/sdl/screen_fit.h"

#include <algorithm>

namespace platform {
namespace {

// Division that rounds towards minus infinity, for points left of the picture.
int FloorDiv(int value, int divisor) {
    int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

}  // namespace

int WholeScaleWithin(int spaceWidth, int spaceHeight, int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) {
        return 1;
    }
    return std::max(1, std::min(spaceWidth / screenWidth, spaceHeight / screenHeight));
}

ScreenFit FitScreen(int outputWidth, int outputHeight, int screenWidth, int screenHeight) {
    ScreenFit fit;
    fit.screenWidth = screenWidth;
    fit.screenHeight = screenHeight;
    fit.scale = WholeScaleWithin(outputWidth, outputHeight, screenWidth, screenHeight);
    fit.x = FloorDiv(outputWidth - screenWidth * fit.scale, 2);
    fit.y = FloorDiv(outputHeight - screenHeight * fit.scale, 2);
    return fit;
}

void OutputToScreen(const ScreenFit& fit, int outputX, int outputY, int& screenX, int& screenY) {
    screenX = std::clamp(FloorDiv(outputX - fit.x, fit.scale), 0, std::max(0, fit.screenWidth - 1));
    screenY = std::clamp(FloorDiv(outputY - fit.y, fit.scale), 0, std::max(0, fit.screenHeight - 1));
}

void ScreenToOutput(const ScreenFit& fit, int screenX, int screenY, int& outputX, int& outputY) {
    outputX = fit.x + screenX * fit.scale + fit.scale / 2;
    outputY = fit.y + screenY * fit.scale + fit.scale / 2;
}

}  // namespace platform
