// The tool base class: the cursor a tool puts up and takes down, the default
// first press, and the shape tools' sounds.
#include "tools/tool.h"

#include "shell/configuration.h"
#include "shell/cursors.h"
#include "tests/tools/tool_fixture.h"

namespace {

using tool_testing::TakeSounds;
using tool_testing::ToolTest;

class PressRecorder : public Tool {
public:
    PressRecorder(WorkshopScreen* owner, HCURSOR cursor) : Tool(owner, cursor) {}
    void OnPress(int x, int y) override { presses.push_back({x, y}); }
    std::vector<POINT> presses;
};

class Figure : public ShapeTool {
public:
    Figure(WorkshopScreen* owner, const char* sound) : ShapeTool(owner, sound) {}
    void DrawShape() override {}
    void UpdateExtent() override {}
};

TEST_F(ToolTest, ACursorGivenIsShownUntilTheToolGoes) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    struct Case {
        HCURSOR toolCursor;
        HCURSOR before;
        HCURSOR after;
    };
    const Case cases[] = {{wait, wait, nullptr}, {nullptr, nullptr, nullptr}};
    for (const Case& c : cases) {
        SetCurrentCursor(arrow);
        auto* tool = new PressRecorder(screen, c.toolCursor);
        EXPECT_EQ(g_toolCursor, c.toolCursor);
        EXPECT_EQ(g_cursorBeforeTool, c.toolCursor != nullptr ? arrow : nullptr);
        EXPECT_EQ(g_currentCursor, c.toolCursor != nullptr ? c.toolCursor : arrow);
        // Whatever the tool did with the cursor meanwhile, its end puts back
        // the one it found, or leaves the cursor alone.
        SetCurrentCursor(cross);
        delete tool;
        EXPECT_EQ(g_currentCursor, c.toolCursor != nullptr ? arrow : cross);
    }
}

TEST_F(ToolTest, TheFirstPressOfAnActionReachesOnPress) {
    auto* recorder = new PressRecorder(screen, nullptr);
    g_workshop.tool = recorder;
    control_testing::Click(300, 200);
    // The tool never ends its action, so the second press is one of it too.
    control_testing::Click(310, 210);
    ASSERT_EQ(recorder->presses.size(), 2u);
    EXPECT_EQ(recorder->presses[0].x, 300);
    EXPECT_EQ(recorder->presses[1].y, 210);
    EXPECT_EQ(g_workshop.actionInProgress, 1);
}

TEST_F(ToolTest, ShapeToolsLoadTheirDragSoundAndCloseWithPook) {
    auto* plain = new Figure(screen, nullptr);
    EXPECT_EQ(plain->m_dragSound, nullptr);
    EXPECT_EQ(plain->m_dragSoundInterval, 100u);
    EXPECT_EQ(g_toolCursor, LoadedCursor(202));
    plain->PlayDoneSound();
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"pook.wav 3"});
    delete plain;
    auto* ticking = new Figure(screen, "TicHaut");
    ASSERT_NE(ticking->m_dragSound, nullptr);
    EXPECT_NE(ticking->m_dragSound->data, nullptr);
    delete ticking;
}

}  // namespace
