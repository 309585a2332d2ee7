// Where the emulated display's picture goes on a real output: the largest whole
// scale factor that fits, centred, and the mapping of points both ways. Pure
// arithmetic, shared by the SDL presenter and event source.
#pragma once

namespace platform {

struct ScreenFit {
    int x = 0;  // the picture's top-left corner on the output, in output pixels
    int y = 0;
    int scale = 1;
    int screenWidth = 0;  // the emulated display
    int screenHeight = 0;
};

// The largest whole factor by which a screen fits in the given space; at least 1.
int WholeScaleWithin(int spaceWidth, int spaceHeight, int screenWidth, int screenHeight);

// The picture scaled by the largest whole factor that fits the output, centred.
// When even factor 1 does not fit, the picture is centred and cropped.
ScreenFit FitScreen(int outputWidth, int outputHeight, int screenWidth, int screenHeight);

// The emulated display's pixel under an output point, clamped to the display.
void OutputToScreen(const ScreenFit& fit, int outputX, int outputY, int& screenX, int& screenY);

// The output point at the centre of an emulated display pixel.
void ScreenToOutput(const ScreenFit& fit, int screenX, int screenY, int& outputX, int& outputY);

}  // namespace platform
