#include "tools/text_layout.h"

#include <algorithm>

#include "graphics/text.h"

namespace {

constexpr int kDoubleQuote = '"';
constexpr int kSingleQuote = '\'';
constexpr unsigned char kOpenSingle = 0x91;
constexpr unsigned char kCloseSingle = 0x92;
constexpr unsigned char kOpenDouble = 0x93;
constexpr unsigned char kCloseDouble = 0x94;
constexpr unsigned char kNoBreakSpace = 0xA0;

// Separators and punctuation, after which a quote opens.
bool IsSeparator(unsigned char c) {
    switch (c) {
        case 0: case 9: case 10: case 13: case ' ': case kNoBreakSpace:
        case ',': case '/': case kOpenSingle: case '\'': case kCloseSingle: case 0xB4:
        case '(': case ')': case '[': case ']': case '{': case '}': case '.': case 0x85:
        case ':': case ';': case 0xA1: case 0xBF: case '"': case kOpenDouble: case kCloseDouble:
        case 0xAB: case 0xBB: case '!': case '?': case '-': case 0x96: case 0x97: case 0xAD:
            return true;
        default:
            return false;
    }
}

// After a separator: an opening quote of the same kind earlier on the line
// (not the text's first character, nor after a no-break space, which
// introduce quotations of their own) is still open, so this one closes it.
bool ClosesEarlierQuote(const unsigned char* text, int length, unsigned char open) {
    for (int i = length - 1; i >= 0 && text[i] != kLineBreak; --i) {
        if (text[i] != open) continue;
        if (i == 0 || text[i - 1] == kNoBreakSpace) continue;
        return true;
    }
    return false;
}

}  // namespace

int ApplyQuoteRule(const char* text, int length, int code) {
    if (code != kDoubleQuote && code != kSingleQuote) return code;
    const unsigned char open = code == kDoubleQuote ? kOpenDouble : kOpenSingle;
    const unsigned char close = code == kDoubleQuote ? kCloseDouble : kCloseSingle;
    if (length <= 0) return open;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (!IsSeparator(bytes[length - 1])) return close;
    return ClosesEarlierQuote(bytes, length, open) ? close : open;
}

TextLayout LayOutText(const char* text, int length, POINT origin, int lineHeight, int modes) {
    TextLayout layout;
    int x = origin.x;
    int y = origin.y;
    int widest = origin.x;
    layout.lines = 1;
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == kLineBreak) {
            x = origin.x;
            y += lineHeight;
            ++layout.lines;
            continue;
        }
        if (modes & kLayoutDraw) DrawCharAt(x, y, c);
        x += CharWidth(c);
        widest = std::max(widest, x);
    }
    if (modes & kLayoutEnd) layout.end = POINT{x, y};
    if (modes & kLayoutMeasure) layout.extent = RECT{origin.x, origin.y, widest, y + lineHeight};
    return layout;
}

BalloonShape BalloonGeometry(int width, int lines, int lineHeight, int style) {
    BalloonShape shape;
    const int w = width;
    const int rx = w / 2;
    const int ry = lines == 1 ? 2 * w / 3 : lines == 2 ? w / 3 : w / 4;
    shape.textOrigin = POINT{rx, ry};
    // The text's rectangle at (rx, ry), enlarged by rx and ry.
    const RECT e{0, 0, rx + w + rx, ry + lines * lineHeight + ry};
    shape.ellipse = e;
    const POINT tip{style == kBalloonRight ? e.right : e.left, e.bottom + rx};
    const int y0 = std::max(e.top, e.bottom - w);
    int x1 = 0;
    int x2 = 0;
    if (style == kBalloonRight) {
        x1 = std::max(e.left, e.right - 2 * w);
        x2 = std::min(e.right, x1 + 2 * w / 3);
    } else {
        x1 = std::min(e.left + 2 * w, e.right);
        x2 = std::max(e.left, x1 - 2 * w / 3);
    }
    shape.tail[0] = tip;
    shape.tail[1] = POINT{x1, y0};
    shape.tail[2] = POINT{x2, y0};
    shape.tail[3] = tip;
    shape.picture = RECT{0, 0, e.right + 2, e.bottom + rx};
    return shape;
}
