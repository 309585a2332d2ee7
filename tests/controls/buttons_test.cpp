#include "controls/buttons.h"

#include <gtest/gtest.h>

#include "graphics/drawing_state.h"
#include "graphics/patterns.h"
#include "tests/controls/screen_fixture.h"

using namespace testing_support;
using namespace control_testing;

namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 6;

// Picture n + k is drawn in the k-th of these colours, so that a pixel tells
// which look a button shows.
constexpr char kLooks[] = "rgbyX";

// 100..104 complete; 200 with its pressed look only; 300 with a push button's
// hover picture; 400 without n + 2; 500 without n + 3.
void UseButtonPack() {
    std::vector<platform::PackItem> items;
    auto add = [&](int base, std::initializer_list<int> offsets) {
        for (int k : offsets) {
            const auto number = static_cast<uint16_t>(base + k);
            const COLORREF colour = canvas::ColourOf(kLooks[k]);
            items.push_back({2, number, SolidPicture(kWidth, kHeight, colour)});
        }
    };
    add(100, {0, 1, 2, 3, 4});
    add(200, {0, 1});
    add(300, {0, 1, 2});
    add(400, {0, 1, 3, 4});
    add(500, {0, 1, 2, 4});
    UsePack(std::move(items));
}

class ButtonTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        UseButtonPack();
        screen = ShownScreen();
    }
    void TearDown() override {
        delete screen;
        ControlTest::TearDown();
    }

    // Built controls load their pictures against the window's surface.
    template <typename T, typename... Args>
    T* Make(Args... args) {
        GetWindowSurface(screen->m_window);
        T* control = new T(args...);
        ReleaseWindowSurface();
        RunUntilIdle();
        return control;
    }

    char Look(int x = 10, int y = 10) const { return PixelAt(screen->m_window, x, y); }

    RecordingScreen* screen = nullptr;
};

enum class Kind { Push, Toggle, Radio };

PictureButton* MakeButton(Kind kind, int picture) {
    switch (kind) {
        case Kind::Push: return new PushButton(1, 10, 10, picture, 0, nullptr);
        case Kind::Toggle: return new ToggleButton(1, 10, 10, picture, 0, nullptr);
        case Kind::Radio: return new RadioButton(1, 10, 10, picture, 3, 0, nullptr);
    }
    return nullptr;
}

struct LookStep {
    void (*action)();
    char look;
};

void Enter() { MouseMove(12, 12); }
void Leave() { MouseMove(100, 100); }
void Press() { MouseButton(true, true, 12, 12); }
void ReleaseInside() { MouseButton(false, true, 12, 12); }
void ReleaseOutside() { MouseButton(false, true, 100, 100); }

TEST_F(ButtonTest, LooksFollowTheStates) {
    struct Case {
        const char* name;
        Kind kind;
        int picture;
        std::vector<LookStep> steps;  // each action, then the look it leaves
    };
    const Case cases[] = {
        {"a toggle through hover, press, drag and a selected press dragged out",
         Kind::Toggle,
         100,
         {{Enter, 'X'},
          {Press, 'g'},
          {Leave, 'r'},
          {Enter, 'g'},
          {ReleaseInside, 'b'},
          {Press, 'y'},
          {Leave, 'b'},
          {ReleaseOutside, 'b'},
          {Enter, 'X'},
          {Leave, 'b'}}},
        {"a radio without n + 3 shows its selected picture while pressed, and no hover",
         Kind::Radio,
         500,
         {{Press, 'g'}, {ReleaseInside, 'b'}, {Press, 'b'}, {ReleaseInside, 'b'}, {Enter, 'b'}}},
        {"a radio without n + 2 shows no selection and no hover",
         Kind::Radio,
         400,
         {{Press, 'g'}, {ReleaseInside, 'r'}, {Press, 'r'}, {ReleaseOutside, 'r'}, {Enter, 'r'}}},
        {"a push button's hover picture",
         Kind::Push,
         300,
         {{Enter, 'b'}, {Press, 'g'}, {Leave, 'r'}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GetWindowSurface(screen->m_window);
        PictureButton* button = MakeButton(c.kind, c.picture);
        ReleaseWindowSurface();
        RunUntilIdle();
        EXPECT_EQ(Look(), 'r');
        int step = 0;
        for (const LookStep& s : c.steps) {
            s.action();
            EXPECT_EQ(Look(), s.look) << "step " << step++;
        }
        ReleaseOutside();
        delete button;
    }
}

TEST_F(ButtonTest, OnlyAHoverPictureRedrawsOnHover) {
    for (int picture : {200, 300}) {
        SCOPED_TRACE(picture);
        auto* button = Make<PushButton>(1, 10, 10, picture, 0, nullptr);
        HDC dc = GetDC(screen->m_window);
        SetPixelV(dc, 10, 10, RGB(255, 255, 255));
        ReleaseDC(screen->m_window, dc);
        Enter();
        EXPECT_EQ(Look(), picture == 300 ? 'b' : '.');
        Leave();
        EXPECT_EQ(Look(), picture == 300 ? 'r' : '.');
        delete button;
    }
}

std::string SoundOf(const char* name) { return std::string("\\") + name + ".WAV 3"; }

bool PlayedOnly(const Calls& lines, const char* name) {
    if (lines.size() != 1) return false;
    return lines[0].ends_with(SoundOf(name));
}

TEST_F(ButtonTest, SoundVariantsPlayOnClicksOnly) {
    auto* push = Make<SoundPushButton>(1, 10, 10, 200, 0, "Chirt", 5);
    auto* toggle = Make<SoundToggleButton>(2, 30, 10, 100, 0, MakeControlInfo("Plop", 6));
    auto* radio = Make<SoundRadioButton>(3, 50, 10, 100, 4, 0, MakeControlInfo("Zip", 7));
    auto* silent = Make<SoundPushButton>(4, 70, 10, 200, 0, MakeControlInfo(nullptr, 8));
    EXPECT_EQ(push->m_info->helpNumber, 5);
    struct Case {
        const char* name;
        void (*input)();
        const char* sound;  // null: nothing played
    };
    const Case cases[] = {
        {"push clicked", [] { Click(12, 12); }, "Chirt"},
        {"push dragged out",
         [] {
             MouseButton(true, true, 12, 12);
             MouseButton(false, true, 100, 100);
         },
         nullptr},
        {"toggle on", [] { Click(32, 12); }, "Plop"},
        {"toggle off", [] { Click(32, 12); }, "Plop"},
        {"radio selected", [] { Click(52, 12); }, "Zip"},
        {"radio clicked again", [] { Click(52, 12); }, nullptr},
        {"a button without a sound", [] { Click(72, 12); }, nullptr},
    };
    TakeSoundLines();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.input();
        const Calls lines = TakeSoundLines();
        if (c.sound == nullptr) EXPECT_TRUE(lines.empty());
        else EXPECT_TRUE(PlayedOnly(lines, c.sound)) << (lines.empty() ? "" : lines[0]);
    }
    EXPECT_EQ(calls, (Calls{"OnCommand(1)", "OnCommand(2)", "OnCommand(2)", "OnCommand(3)",
                            "OnCommand(4)"}));
    delete silent;
    delete radio;
    delete toggle;
    delete push;
}

TEST_F(ButtonTest, SwatchesClickOnPressAndFrameTheSelectedOne) {
    auto* red = Make<ColourSwatch>(1, RECT{10, 10, 22, 22}, 7, RGB(255, 0, 0), "Bip", 9);
    auto* blue = Make<ColourSwatch>(2, RECT{30, 10, 42, 22}, 7, RGB(0, 0, 255), "Bip", 9);
    red->Select(true);
    red->Redraw();
    // Filled inside a one-pixel margin; the selection is a white frame, then
    // a black one.
    EXPECT_EQ(std::string() + Look(11, 11) + Look(12, 12) + Look(13, 13) + Look(14, 14), "r.Xr");
    EXPECT_EQ(std::string() + Look(31, 11) + Look(32, 12) + Look(33, 13), "bbb");
    TakeSoundLines();

    MouseButton(true, true, 35, 15);
    EXPECT_EQ(calls, Calls{"OnCommand(2)"});
    EXPECT_TRUE(PlayedOnly(TakeSoundLines(), "Bip"));
    EXPECT_TRUE(blue->m_flags & kControlSelected);
    EXPECT_FALSE(red->m_flags & kControlSelected);
    EXPECT_EQ(std::string() + Look(32, 12) + Look(33, 13) + Look(34, 14), ".Xb");
    EXPECT_EQ(std::string() + Look(12, 12) + Look(13, 13), "rr");
    MouseButton(false, true, 35, 15);
    EXPECT_EQ(calls, (Calls{"OnCommand(2)", "OnLButtonUp(35,15)"}));
    delete blue;
    delete red;
}

TEST_F(ButtonTest, PatternSelectorStepsAndSwitches) {
    auto* selector = Make<PatternSelector>(5, 16, 16, 16, 16, RGB(0, 0, 0), "Tic", 3);
    EXPECT_EQ(selector->m_index, 0);
    EXPECT_EQ(selector->m_rememberedIndex, 10);
    struct Case {
        int from;
        int delta;
        int to;
    };
    const Case cases[] = {{0, -1, 20}, {20, 1, 0}, {3, -5, 19}, {19, 4, 2}, {7, 0, 0}, {0, 0, 7}};
    for (const Case& c : cases) {
        selector->m_index = c.from;
        selector->Step(c.delta);
        EXPECT_EQ(selector->m_index, c.to) << c.from << " " << c.delta;
    }
    EXPECT_EQ(selector->Pattern(), 13);

    // A click switches to the plain colour and back to the pattern, with its
    // sound each time.
    TakeSoundLines();
    Click(20, 20);
    EXPECT_EQ(selector->m_index, 0);
    EXPECT_TRUE(PlayedOnly(TakeSoundLines(), "Tic"));
    Click(20, 20);
    EXPECT_EQ(selector->m_index, 7);
    EXPECT_EQ(calls, (Calls{"OnCommand(5)", "OnCommand(5)"}));
    delete selector;
}

TEST_F(ButtonTest, PatternGapsAreWhiteUnderDarkColoursAndGreyUnderLight) {
    auto* selector = Make<PatternSelector>(5, 16, 16, 16, 16, RGB(0, 0, 0), "Tic", 3);
    selector->m_index = 1;
    const int pattern = selector->Pattern();
    int inkX = -1, inkY = -1, paperX = -1, paperY = -1;
    for (int y = 18; y < 26; ++y) {
        for (int x = 18; x < 26; ++x) {
            if (IsPatternInk(pattern, x, y)) inkX = x, inkY = y;
            else paperX = x, paperY = y;
        }
    }
    ASSERT_GE(inkX, 0);
    ASSERT_GE(paperX, 0);
    // The caller's drawing state is left as it was.
    SetFillPattern(5);
    const int width = SetPenWidth(7);
    struct Case {
        COLORREF colour;
        COLORREF gap;
    };
    // Luminance 8 and 89.
    const Case cases[] = {{RGB(0, 0, 200), RGB(255, 255, 255)},
                          {RGB(255, 255, 0), RGB(127, 127, 127)}};
    for (const Case& c : cases) {
        selector->SetColour(c.colour);
        EXPECT_EQ(ColourAt(screen->m_window, inkX, inkY), c.colour);
        EXPECT_EQ(ColourAt(screen->m_window, paperX, paperY), c.gap) << std::hex << c.colour;
        EXPECT_EQ(ColourAt(screen->m_window, 16, 16), RGB(0, 0, 0));
    }
    EXPECT_EQ(g_drawingState.pattern, 5);
    EXPECT_EQ(g_drawingState.penWidth, 7);
    SetPenWidth(width);
    SetFillPattern(0);
    delete selector;
}

}  // namespace
