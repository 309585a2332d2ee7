#include "controls/control.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/controls/screen_fixture.h"

using namespace testing_support;
using namespace control_testing;

namespace {

// A control that notes each of its operations as "id:Operation".
class RecordingControl : public Control {
public:
    RecordingControl(Calls& calls, int id, const RECT& bounds, int flags, int group = 0,
                     int hotkey = 0)
        : Control(id, bounds, nullptr, flags, group, hotkey, nullptr), m_calls(calls) {}

    void Pressed() override { Note("Pressed"); }
    void PressedLookChanged() override {
        Note((m_flags & kControlPressedLook) ? "LookOn" : "LookOff");
    }
    void Released(int clicked) override { Note(Call("Released", clicked)); }
    void Dragged() override { Note("Dragged"); }
    void HoverEntered() override { Note("HoverEntered"); }
    void HoverLeft() override { Note("HoverLeft"); }
    void HoverMoved() override { Note("HoverMoved"); }
    void Draw() override {
        Note("Draw");
        drawnOn = g_currentSurface;
    }

    HDC drawnOn = nullptr;

private:
    void Note(const std::string& what) { m_calls.push_back(std::to_string(m_id) + ":" + what); }
    Calls& m_calls;
};

void RepeatKey(uint32_t vk, uint8_t character) {
    platform::InputEvent e;
    e.kind = platform::InputEvent::Kind::KeyDown;
    e.vk = vk;
    e.character = character;
    e.repeat = true;
    Inject(e);
}

using Controls = std::vector<RecordingControl*>;

// 1 push; 2 and 3 radios of group 1, 3 selected with hotkey C; 4 a swatch-like
// click-on-press radio; 5 a push under 1 and 2; 6 a push that redraws on hover.
Controls BuildControls(Calls& calls) {
    Controls controls = {
        new RecordingControl(calls, 1, RECT{10, 10, 30, 30}, kPushFlags),
        new RecordingControl(calls, 2, RECT{40, 10, 60, 30}, kRadioFlags, 1),
        new RecordingControl(calls, 3, RECT{70, 10, 90, 30}, kRadioFlags, 1, 'C'),
        new RecordingControl(calls, 4, RECT{100, 10, 120, 30}, kSwatchFlags, 2),
        new RecordingControl(calls, 5, RECT{20, 20, 50, 50}, kPushFlags),
        new RecordingControl(calls, 6, RECT{130, 10, 150, 30}, kPushFlags | kControlHoverRedraw),
    };
    controls[2]->Select(true);
    return controls;
}

TEST_F(ControlTest, ProtocolAsMessageSequences) {
    struct Case {
        const char* name;
        void (*tweak)(Screen&, Controls&);
        void (*input)();
        Calls expected;
    };
    const Case cases[] = {
        {"a push button clicks when released inside", nullptr, [] { Click(15, 15); },
         {"1:Draw", "1:Pressed", "1:Draw", "1:Released(1)", "OnCommand(1)"}},
        {"dragged out and released outside it does not click", nullptr,
         [] {
             MouseButton(true, true, 15, 15);
             MouseMove(200, 200);
             MouseButton(false, true, 200, 200);
         },
         {"1:Draw", "1:Pressed", "1:Draw", "1:LookOff", "1:Dragged", "1:Draw", "1:Released(0)"}},
        {"dragged back in before the release it clicks", nullptr,
         [] {
             MouseButton(true, true, 15, 15);
             MouseMove(200, 200);
             MouseMove(20, 20);
             MouseButton(false, true, 20, 20);
         },
         {"1:Draw", "1:Pressed", "1:Draw", "1:LookOff", "1:Dragged", "1:Draw", "1:LookOn",
          "1:Dragged", "1:Draw", "1:Released(1)", "OnCommand(1)"}},
        {"a selected radio clicked again reports nothing", nullptr, [] { Click(75, 15); },
         {"3:Draw", "3:Pressed", "3:Draw", "3:Released(0)"}},
        {"unless it reports reclicks",
         [](Screen&, Controls& c) { c[2]->SetReclickReports(true); }, [] { Click(75, 15); },
         {"3:Draw", "3:Pressed", "3:Draw", "3:Released(1)", "OnCommand(3)"}},
        {"a radio click clears the rest of its group", nullptr, [] { Click(45, 15); },
         {"2:Draw", "2:Pressed", "2:Draw", "2:Released(1)", "3:Draw", "OnCommand(2)"}},
        {"a held hotkey presses once; its release reaches OnCommand without a click", nullptr,
         [] {
             Key('C', true, 'C');
             RepeatKey('C', 'C');
             Key('C', false);
         },
         {"3:Draw", "3:Pressed", "OnChar(67,1)", "3:Draw", "3:Released(0)", "OnCommand(3)"}},
        {"an auto-repeated hotkey character alone presses nothing", nullptr,
         [] { RepeatKey('C', 'C'); }, {"OnChar(67,1)"}},
        {"while a hotkey is held the mouse goes to the screen", nullptr,
         [] {
             Key('C', true, 'c');
             MouseMove(16, 16);
             Click(15, 15);
             Key('C', false);
         },
         {"3:Draw", "3:Pressed", "OnMouseMove(16,16)", "OnLButtonDown(15,15)",
          "OnLButtonUp(15,15)", "3:Draw", "3:Released(0)", "OnCommand(3)"}},
        {"of two overlapping controls the earlier registered takes the click", nullptr,
         [] { Click(25, 25); },
         {"1:Draw", "1:Pressed", "1:Draw", "1:Released(1)", "OnCommand(1)"}},
        {"a click-on-press control clicks at the press; its release is the screen's", nullptr,
         [] { Click(105, 15); },
         {"4:Draw", "4:Pressed", "4:Draw", "4:Released(1)", "OnCommand(4)",
          "OnLButtonUp(105,15)"}},
        {"hover enters, moves and leaves; redraws only with hover redraw; a press ends it",
         nullptr,
         [] {
             MouseMove(15, 15);
             MouseMove(16, 16);
             MouseMove(135, 15);
             MouseButton(true, true, 135, 15);
         },
         {"1:HoverEntered", "1:HoverMoved", "1:HoverLeft", "6:Draw", "6:HoverEntered", "6:Draw",
          "6:HoverLeft", "6:Draw", "6:Pressed"}},
        {"no hover while another control is pressed", nullptr,
         [] {
             MouseButton(true, true, 15, 15);
             MouseMove(135, 15);
         },
         {"1:Draw", "1:Pressed", "1:Draw", "1:LookOff", "1:Dragged"}},
        {"switched-off controls leave every event to the screen",
         [](Screen& s, Controls&) { s.m_controlEnable = 0; },
         [] {
             Key('C', true, 'c');
             Click(15, 15);
         },
         {"OnChar(99,0)", "OnLButtonDown(15,15)", "OnLButtonUp(15,15)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        RecordingScreen* screen = ShownScreen();
        Controls controls = BuildControls(calls);
        if (c.tweak) c.tweak(*screen, controls);
        RunUntilIdle();
        calls.clear();
        c.input();
        EXPECT_EQ(calls, c.expected);
        delete screen;
        EXPECT_EQ(g_pressedControl, nullptr);
        EXPECT_EQ(g_hoveredControl, nullptr);
    }
}

TEST_F(ControlTest, PaintDrawsTheFirstRegisteredLast) {
    RecordingScreen* screen = ShownScreen();
    BuildControls(calls);
    RunUntilIdle();
    calls.clear();
    RECT some{0, 0, 35, 35};  // 1 and 5 only
    InvalidateRect(screen->m_window, &some, FALSE);
    RunUntilIdle();
    EXPECT_EQ(calls, (Calls{"5:Draw", "1:Draw"}));
    delete screen;
}

TEST_F(ControlTest, RegistersHitsRedrawsAndLeavesTheList) {
    RecordingScreen* screen = ShownScreen();
    Controls controls = BuildControls(calls);
    ASSERT_EQ(screen->m_controlCount, 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(screen->m_controls[i], controls[i]);
    EXPECT_EQ(controls[0]->m_owner, screen->m_window);

    // Hotkeys are lower-cased letters; the list ends at the first 0.
    EXPECT_EQ(controls[2]->m_hotkeys[0], 'c');
    const int keys[kHotkeyCount] = {'Q', '1', -32734, 0};
    controls[0]->SetHotkeys(keys);
    EXPECT_EQ(controls[0]->m_hotkeys[0], 'q');
    EXPECT_EQ(controls[0]->m_hotkeys[2], -32734);

    // The hit region follows the bounds; an empty rectangle hits nothing
    // until SetBounds, and the region handle stays the same.
    EXPECT_TRUE(controls[0]->HitTest(10, 10));
    EXPECT_FALSE(controls[0]->HitTest(30, 10));
    auto* empty = new RecordingControl(calls, 7, RECT{}, kPushFlags);
    auto* plain = new Control(8, kPushFlags, 0, 0, nullptr);
    EXPECT_FALSE(empty->HitTest(0, 0));
    EXPECT_FALSE(plain->HitTest(0, 0));
    const HRGN region = plain->m_region;
    plain->SetBounds(RECT{200, 200, 210, 210});
    EXPECT_EQ(plain->m_region, region);
    EXPECT_TRUE(plain->HitTest(205, 205));

    // A redraw draws on the window and leaves the caller's surface current.
    HDC callers = reinterpret_cast<HDC>(0x1234);
    g_currentSurface = callers;
    controls[1]->Redraw();
    EXPECT_NE(controls[1]->drawnOn, nullptr);
    EXPECT_NE(controls[1]->drawnOn, callers);
    EXPECT_EQ(g_currentSurface, callers);
    g_currentSurface = nullptr;

    // Leaving the list moves the later entries up; a captured or hovered
    // control takes the process-wide state with it.
    MouseButton(true, true, 45, 15);
    EXPECT_EQ(g_pressedControl, controls[1]);
    delete controls[1];
    EXPECT_EQ(g_pressedControl, nullptr);
    MouseMove(135, 15);
    EXPECT_EQ(g_hoveredControl, controls[5]);
    delete controls[5];
    EXPECT_EQ(g_hoveredControl, nullptr);
    ASSERT_EQ(screen->m_controlCount, 6);
    EXPECT_EQ(screen->m_controls[1], controls[2]);
    EXPECT_EQ(screen->m_controls[4], empty);
    EXPECT_EQ(screen->m_controls[5], plain);
    delete screen;
    EXPECT_EQ(g_focusWindow, nullptr);
}

}  // namespace
