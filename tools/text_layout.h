// The text tool's pure parts: the quote rule, the layout of a typed text on
// lines of one height, and the shape of the speech balloon made from it.
#pragma once

#include "platform/windows.h"

// The text holds at most this many bytes; 13 marks a line break.
constexpr int kTextMaxLength = 255;
constexpr char kLineBreak = 13;

// Modes of LayOutText, combined with |.
constexpr int kLayoutDraw = 1;
constexpr int kLayoutEnd = 2;
constexpr int kLayoutMeasure = 4;

struct TextLayout {
    int lines = 0;
    // After the last character, at the top of the last line (kLayoutEnd).
    POINT end{};
    // From the origin to the widest line's right edge and the bottom of the
    // last line (kLayoutMeasure).
    RECT extent{};
};

// One pass over the text from the origin: each character advances by its
// CharWidth in the font selected on the current surface, a line break starts
// the next line at the origin's x. kLayoutDraw draws each character with
// DrawCharAt in the fill colour.
TextLayout LayOutText(const char* text, int length, POINT origin, int lineHeight, int modes);

// The character typed for code after the text typed so far: a straight
// double or single quote becomes the typographic opening or closing form;
// any other code is kept.
int ApplyQuoteRule(const char* text, int length, int code);

// Text styles of the font chooser.
constexpr int kPlainText = 0;
constexpr int kBalloonLeft = 1;
constexpr int kBalloonRight = 2;

// A balloon for a text w pixels wide on n lines of lineHeight: an ellipse
// around the text and a tail below it, on the left or on the right.
struct BalloonShape {
    RECT ellipse{};
    // Tip, the two points on the ellipse, tip again.
    POINT tail[4]{};
    // Where the text starts inside the picture.
    POINT textOrigin{};
    // The whole picture: the ellipse with the tail's length below and two
    // pixels more on the right.
    RECT picture{};
};
BalloonShape BalloonGeometry(int width, int lines, int lineHeight, int style);
