// Where the emulated display's picture goes on a real output, centred, and the
// mapping of points both ways. Pure arithmetic, shared by the SDL presenter and
// event source.
//
// A whole factor is drawn with nearest-neighbour. When the largest whole factor
// leaves much of the output unused (a 1366 x 768 laptop shows a 640 x 480
// picture at 1x), the picture fills the output instead with a sharp fill: it is
// scaled by the next whole factor with nearest-neighbour, then down to the
// target with linear filtering, so edges stay clean. A whole factor that comes
// within kWholeFactorShare of the fill (2x on 1920 x 1080) is kept, since it is
// the sharper of the two.
#pragma once

namespace platform {

struct ScreenFit {
    int x = 0;  // the picture's top-left corner on the output, in output pixels
    int y = 0;
    int width = 0;  // the picture's size on the output, in output pixels
    int height = 0;
    int scale = 1;       // the largest whole factor not above the picture's size
    int drawFactor = 1;  // the whole factor the picture is first drawn at
    int screenWidth = 0;  // the emulated display
    int screenHeight = 0;

    // True when the picture is drawn at drawFactor and then filtered to its size.
    bool Filtered() const { return width != screenWidth * drawFactor || height != screenHeight * drawFactor; }
};

// How close a whole factor must come to the fill to be kept instead.
inline constexpr double kWholeFactorShare = 0.85;

// The largest whole factor by which a screen fits in the given space; at least 1.
int WholeScaleWithin(int spaceWidth, int spaceHeight, int screenWidth, int screenHeight);

// The picture scaled to fit the output, centred: by whole factors only when
// wholeOnly is set, else by the rule above. When even factor 1 does not fit,
// the picture is centred and cropped.
ScreenFit FitScreen(int outputWidth, int outputHeight, int screenWidth, int screenHeight,
                    bool wholeOnly = false);

// The emulated display's pixel under an output point, clamped to the display.
void OutputToScreen(const ScreenFit& fit, int outputX, int outputY, int& screenX, int& screenY);

// The output point at the centre of an emulated display pixel.
void ScreenToOutput(const ScreenFit& fit, int screenX, int screenY, int& outputX, int& outputY);

}  // namespace platform
