#include "shell/screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/internal.h"
#include "shell/app.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/resources.h"
#include "tests/support/layer.h"

using namespace testing_support;

namespace {

using Calls = std::vector<std::string>;

class RecordingScreen : public Screen {
public:
    RecordingScreen(Calls& calls, int canClose = 1)
        : Screen(nullptr, nullptr), m_calls(calls), m_canClose(canClose) {}

    void OnCreate() override { Note("OnCreate"); }
    void OnStart() override { Note("OnStart"); }
    int CanClose() override { return m_canClose; }
    void OnDestroy() override { Note("OnDestroy"); }
    void OnActivate() override { Note("OnActivate"); }
    void OnDeactivate() override { Note("OnDeactivate"); }
    void OnChar(int c, int repeat) override { Note("OnChar", c, repeat); }
    void OnKeyUp(int key) override { Note("OnKeyUp", key); }
    void OnLButtonDown(int x, int y) override { Note("OnLButtonDown", x, y); }
    void OnLButtonUp(int x, int y) override { Note("OnLButtonUp", x, y); }
    void OnRButtonDown(int x, int y) override { Note("OnRButtonDown", x, y); }
    void OnRButtonUp(int x, int y) override { Note("OnRButtonUp", x, y); }
    void OnMouseMove(int x, int y) override { Note("OnMouseMove", x, y); }
    void OnMouseDrag(int x, int y) override { Note("OnMouseDrag", x, y); }
    void OnCommand(int id) override { Note("OnCommand", id); }
    void PaintBackground(const RECT&) override { Note("PaintBackground"); }
    void PaintForeground(const RECT&) override { Note("PaintForeground"); }

private:
    void Note(const char* name) { m_calls.push_back(name); }
    void Note(const char* name, int a) { m_calls.push_back(std::string(name) + "(" + std::to_string(a) + ")"); }
    void Note(const char* name, int a, int b) {
        m_calls.push_back(std::string(name) + "(" + std::to_string(a) + "," + std::to_string(b) + ")");
    }
    Calls& m_calls;
    int m_canClose;
};

const Calls kFirstPaint = {"OnCreate", "PaintBackground", "PaintForeground", "OnStart", "OnActivate"};

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        events = &ResetLayer();
        g_mainWindow = nullptr;
        g_focusWindow = nullptr;
        g_closing = 0;
        g_screenShown = 0;
        theApp.m_instance = GetModuleHandleA(nullptr);
        theApp.m_currentScreen = nullptr;
        SetResourceModule(theApp.m_instance);
        LoadErrorTexts();
        SetRect(&g_platform.screenRect, 0, 0, 640, 480);
        OpenMainWindow();
    }

    // A screen whose first paint is done, with the calls of that paint dropped.
    RecordingScreen* ShownScreen(int canClose = 1) {
        auto* screen = new RecordingScreen(calls, canClose);
        RunUntilIdle();
        EXPECT_EQ(calls, kFirstPaint);
        calls.clear();
        return screen;
    }

    TestEvents* events = nullptr;
    Calls calls;
};

TEST_F(ScreenTest, InputBeforeTheFirstPaintIsIgnored) {
    auto* screen = new RecordingScreen(calls);
    platform::InputEvent press;
    press.kind = platform::InputEvent::Kind::MouseDown;
    press.x = press.y = 10;
    platform::user::ApplyInputEvent(press);  // queued ahead of the first paint
    RunUntilIdle();
    MouseButton(false, true, 10, 10);
    EXPECT_EQ(calls, kFirstPaint);
    EXPECT_EQ(g_screenShown, 1);
    delete screen;
}

TEST_F(ScreenTest, GatesFilterAndFlushEventsAsTables) {
    struct Case {
        const char* name;
        int filter;
        void (*input)();
        Calls expected;
    };
    const Case cases[] = {
        {"filter 0x14 drops characters and moves before a press", 0x14,
         [] {
             Key('A', true, 'a');
             MouseMove(3, 4);
             MouseButton(true, false, 5, 6);
             Key('B', true, 'b');
         },
         {"OnRButtonDown(5,6)", "OnChar(98,0)"}},
        {"filter 255 is no filter", 255, [] { Key('A', true, 'a'); }, {"OnChar(97,0)"}},
        {"a filtered press still records the button", EV_CHAR,
         [] {
             MouseButton(true, true, 7, 8);
             Key('A', true, 'a');
             MouseMove(9, 9);
         },
         {"OnChar(97,0)", "OnMouseMove(9,9)", "OnMouseDrag(9,9)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        calls.clear();
        RecordingScreen* screen = ShownScreen();
        screen->SetEventFilter(c.filter);
        c.input();
        EXPECT_EQ(calls, c.expected);
        delete screen;
    }
}

TEST_F(ScreenTest, FlushDropsOnlyEventsMadeBeforeIt) {
    RecordingScreen* screen = ShownScreen();
    platform::InputEvent press;
    press.kind = platform::InputEvent::Kind::MouseDown;
    press.x = press.y = 20;
    events->pending.push_back(press);
    press.kind = platform::InputEvent::Kind::MouseUp;
    events->pending.push_back(press);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the press is queued now
    AdvanceClock(5);
    screen->FlushInput(0x7F);
    RunUntilIdle();
    EXPECT_EQ(calls, Calls{});
    MouseButton(true, true, 30, 31);
    MouseButton(false, true, 30, 31);
    EXPECT_EQ(calls, (Calls{"OnLButtonDown(30,31)", "OnLButtonUp(30,31)"}));
    EXPECT_EQ(screen->m_flushMask, 0x7F & ~(EV_LDOWN | EV_LUP));
    delete screen;
}

TEST_F(ScreenTest, CaptureAndClickActivation) {
    RecordingScreen* screen = ShownScreen();
    MouseButton(true, true, 1, 2);
    EXPECT_EQ(GetCapture(), screen->m_window);
    MouseMove(700, 500);  // outside, still captured
    MouseButton(false, true, 700, 500);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(calls, (Calls{"OnLButtonDown(1,2)", "OnMouseMove(700,500)", "OnMouseDrag(700,500)",
                            "OnLButtonUp(700,500)"}));
    calls.clear();

    // The click that brings the program back is dropped, down and up.
    platform::InputEvent e;
    e.kind = platform::InputEvent::Kind::FocusLost;
    events->pending.push_back(e);
    e.kind = platform::InputEvent::Kind::FocusGained;
    events->pending.push_back(e);
    e.kind = platform::InputEvent::Kind::MouseDown;
    e.x = e.y = 50;
    events->pending.push_back(e);
    e.kind = platform::InputEvent::Kind::MouseUp;
    events->pending.push_back(e);
    RunUntilIdle();
    MouseButton(true, true, 51, 52);
    MouseButton(false, true, 51, 52);
    EXPECT_EQ(calls, (Calls{"OnDeactivate", "OnActivate", "OnLButtonDown(51,52)",
                            "OnLButtonUp(51,52)"}));
    delete screen;
}

TEST_F(ScreenTest, KeysBecomeCodesAndCharacters) {
    struct Case {
        const char* name;
        void (*input)();
        Calls expected;
    };
    const Case cases[] = {
        {"backspace arrives as its code, then as its character",
         [] {
             Key(VK_BACK, true, 8);
             Key(VK_BACK, false);
         },
         {"OnChar(-32749,0)", "OnChar(8,0)", "OnKeyUp(8)"}},
        {"tab and escape likewise",
         [] {
             Key(VK_TAB, true, 9);
             Key(VK_ESCAPE, true, 27);
         },
         {"OnChar(-32736,0)", "OnChar(9,0)", "OnChar(-32766,0)", "OnChar(27,0)"}},
        {"enter only as a character", [] { Key(VK_RETURN, true, 13); }, {"OnChar(13,0)"}},
        {"F10 is a system key and never arrives", [] { Key(VK_F10, true); Key(VK_F10, false); }, {}},
        {"F1 and F2", [] { Key(VK_F1, true); Key(VK_F2, true); }, {"OnChar(-32734,0)", "OnChar(-32747,0)"}},
        {"ctrl+home and ctrl+left",
         [] {
             Key(VK_CONTROL, true);
             Key(VK_HOME, true);
             Key(VK_LEFT, true);
             Key(VK_CONTROL, false);
         },
         {"OnChar(-32755,0)", "OnChar(-32751,0)", "OnKeyUp(17)"}},
        {"shift changes nothing",
         [] {
             Key(VK_SHIFT, true);
             Key(VK_LEFT, true);
         },
         {"OnChar(-32759,0)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        calls.clear();
        RecordingScreen* screen = ShownScreen();
        c.input();
        EXPECT_EQ(calls, c.expected);
        delete screen;
    }
}

TEST_F(ScreenTest, TheLastScreenDecidesWhetherTheProgramCloses) {
    auto closeRequest = [] { SendMessageA(g_mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0); };
    RecordingScreen* yes = ShownScreen(1);
    RecordingScreen* no = ShownScreen(0);
    closeRequest();
    EXPECT_TRUE(IsWindow(g_mainWindow)) << "the last screen refused";
    delete no;
    delete yes;
    RunUntilIdle();
    closeRequest();
    EXPECT_TRUE(IsWindow(g_mainWindow)) << "without screens the refusal stands";

    no = ShownScreen(0);
    yes = ShownScreen(1);
    closeRequest();
    EXPECT_FALSE(IsWindow(g_mainWindow));
    int result = -1;
    int pumped = 0;
    while ((pumped = PumpMessage(result)) != 1) {
    }
    EXPECT_EQ(result, 0);
    delete yes;
    delete no;
}

TEST_F(ScreenTest, CloseAllScreensEndsEachLoopThenQuitsWithZero) {
    RecordingScreen* screen = ShownScreen();
    CloseAllScreens();
    EXPECT_EQ(calls, Calls{"OnDestroy"});
    EXPECT_EQ(screen->m_window, nullptr);
    EXPECT_EQ(g_screenShown, 0);
    int result = 0;
    EXPECT_EQ(PumpMessage(result), 2);
    EXPECT_EQ(result, static_cast<int>(reinterpret_cast<LPARAM>(screen)));
    EXPECT_EQ(PumpMessage(result), 1);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(theApp.m_exitCode, 0);
    delete screen;
}

TEST_F(ScreenTest, FatalMessagesEndWithOneOrTenForASecondOne) {
    EXPECT_EXIT(ShowMessage(10, kFatal, -48), ::testing::ExitedWithCode(1), "");
    events->onBox = [](uint32_t style) {
        if (style & MB_SYSTEMMODAL) ShowMessage(10, kFatal, 1);
        return IDOK;
    };
    EXPECT_EXIT(ShowMessage(10, kFatal, -48), ::testing::ExitedWithCode(10), "");
}

}  // namespace
