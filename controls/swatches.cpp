// The colour swatch and the pattern selector of the workshop palette.
#include "controls/buttons.h"

#include "graphics/drawing_state.h"
#include "graphics/palette.h"
#include "graphics/shapes.h"

const int kSelectorPatterns[kSelectorPatternCount] = {0,  1,  3,  22, 21, 20, 8,  13, 32, 11, 30,
                                                      33, 34, 35, 15, 18, 36, 14, 16, 17, 37};

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kGrey = 0x7F7F7F;
// Colours darker than this show their pattern on white, lighter ones on grey.
constexpr int kDarkLuminance = 80;

void Shrink(RECT& rect) { InflateRect(&rect, -1, -1); }

// Keeps the caller's drawing state and draws with a solid copy pen one pixel
// wide and the given pattern until it goes out of scope.
class PlainDrawing {
public:
    explicit PlainDrawing(int pattern) {
        SaveDrawingState(&m_saved);
        SetDrawingMode(R2_COPYPEN);
        SetPenWidth(1);
        m_penStyle = SetPenStyle(PS_SOLID);
        SetFillPattern(pattern);
    }
    ~PlainDrawing() {
        SetPenStyle(m_penStyle);
        RestoreDrawingState(&m_saved);
    }
    PlainDrawing(const PlainDrawing&) = delete;
    PlainDrawing& operator=(const PlainDrawing&) = delete;

private:
    SavedDrawingState m_saved;
    int m_penStyle = PS_SOLID;
};

}  // namespace

ColourSwatch::ColourSwatch(int id, const RECT& rect, int group, COLORREF colour,
                           const char* soundName, int helpNumber)
    : Control(id, rect, nullptr, kSwatchFlags, group, 0, MakeControlInfo(soundName, helpNumber)),
      m_colour(colour) {}

ColourSwatch::~ColourSwatch() {
    delete m_info;
    m_info = nullptr;
}

void ColourSwatch::Draw() {
    PlainDrawing drawing(0);
    RECT r = m_bounds;
    Shrink(r);
    FillRectangle(r, m_colour);
    const bool captured = (m_flags & kControlCaptured) != 0;
    if ((m_flags & kControlSelected) || captured) {
        Shrink(r);
        FrameRectangle(r, kWhite);
        Shrink(r);
        FrameRectangle(r, kBlack);
    }
    if (captured) {
        Shrink(r);
        FrameRectangle(r, (m_flags & kControlPressedLook) ? kBlack : m_colour);
    }
}

void ColourSwatch::Released(int clicked) { PlayClickSound(m_info, clicked); }

PatternSelector::PatternSelector(int id, int x, int y, int width, int height, COLORREF colour,
                                 const char* soundName, int helpNumber)
    : Control(id, kPushFlags, 0, 0, MakeControlInfo(soundName, helpNumber)), m_colour(colour) {
    SetBounds(RECT{x, y, x + width, y + height});
}

PatternSelector::~PatternSelector() {
    delete m_info;
    m_info = nullptr;
}

void PatternSelector::Draw() {
    PlainDrawing drawing(kSelectorPatterns[m_index]);
    SetTextBackground(Luminance(m_colour) < kDarkLuminance ? kWhite : kGrey);
    FillRectangle(m_bounds, m_colour);
    FrameRectangle(m_bounds, kBlack);
    if (m_flags & kControlCaptured) {
        RECT r = m_bounds;
        Shrink(r);
        FrameRectangle(r, kWhite);
        Shrink(r);
        FrameRectangle(r, kBlack);
    }
}

void PatternSelector::Released(int clicked) {
    if (!clicked) return;
    PlayClickSound(m_info, clicked);
    Step(0);
}

void PatternSelector::SetColour(COLORREF colour) {
    m_colour = colour;
    Redraw();
}

void PatternSelector::Step(int delta) {
    if (delta != 0) {
        m_index += delta;
        if (m_index < 0) m_index += kSelectorPatternCount;
        if (m_index >= kSelectorPatternCount) m_index -= kSelectorPatternCount;
    } else if (m_index != 0) {
        m_rememberedIndex = m_index;
        m_index = 0;
    } else {
        m_index = m_rememberedIndex;
    }
    Redraw();
}
