// The floating picture: following the pointer over the sheet in place of the
// cursor, leaving the sheet exactly as it was, the deaf controls kept
// balanced, the drop and its undo, and the flips of picture and mask.
#include "tools/floating_picture.h"

#include "graphics/blit.h"
#include "tests/tools/tool_fixture.h"

namespace {

using tool_testing::TakeSounds;
using tool_testing::ToolTest;

// A floating picture made at run time from art, white being transparent.
class ArtPicture : public FloatingPicture {
public:
    ArtPicture(WorkshopScreen* owner, const std::vector<std::string>& art)
        : FloatingPicture(owner, nullptr) {
        GetWindowSurface(owner->m_window);
        HBITMAP picture = canvas::MakeBitmap(art);
        HBITMAP mask = MakeMaskFromBitmap(picture);
        ReleaseWindowSurface();
        SetPicture(picture, mask);
        m_masked = 1;
    }
    ~ArtPicture() override {
        DeleteObject(m_picture);
        DeleteObject(m_mask);
    }
};

// The display counter of ShowCursor: below 0 the cursor is hidden.
int CursorCount() {
    const int count = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return count - 1;
}

const std::vector<std::string> kArrow = {
    "rr.",
    "rbb",
    "r..",
};

class FloatingPictureTest : public ToolTest {
protected:
    // The sheet with a few marks, so that a wrong restore shows.
    void MarkSheet() {
        Paint(RECT{200, 100, 203, 103}, 'g');
        Paint(RECT{300, 200, 304, 201}, 'X');
    }
    void Hover(int x, int y) { g_workshop.tool->OnHover(x, y, 0); }
    ArtPicture* Float(const std::vector<std::string>& art) {
        delete g_workshop.tool;
        g_workshop.tool = nullptr;
        auto* tool = new ArtPicture(screen, art);
        g_workshop.tool = tool;
        return tool;
    }
};

// The sheet's art with the arrow's opaque pixels laid over it, hot spot at
// (x, y) in window coordinates.
std::string WithArrow(std::string sheet, int x, int y) {
    const int width = kSheetRect.right - kSheetRect.left;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int sx = x - 1 + column - kSheetRect.left;
            const int sy = y - 1 + row - kSheetRect.top;
            const char c = kArrow[row][column];
            if (c == '.' || sx < 0 || sy < 0 || sx >= width || sy >= 400) continue;
            sheet[static_cast<size_t>(sy) * (width + 1) + sx] = c;
        }
    }
    return sheet;
}

TEST_F(FloatingPictureTest, FollowsThePointerAndLeavesTheSheetAsItWas) {
    MarkSheet();
    const std::string before = Art(kSheetRect);
    const int cursor = CursorCount();
    ArtPicture* tool = Float(kArrow);
    EXPECT_EQ(g_workshop.heldStamp, 1);
    EXPECT_EQ(tool->m_hotSpot.x, 1);
    EXPECT_EQ(tool->m_hotSpot.y, 1);

    // The hot spot sits under the pointer; white parts let the sheet show.
    Hover(202, 101);
    EXPECT_EQ(Art(RECT{200, 100, 204, 103}), "grr.\ngrbb\ngrg.\n");
    EXPECT_EQ(CursorCount(), cursor - 1);
    EXPECT_EQ(screen->m_controlEnable, 0);
    // Moving a little and far away: the old place comes back each time.
    const struct {
        int x, y;
    } moves[] = {{203, 101}, {204, 103}, {400, 300}, {85, 37}, {595, 435}};
    for (const auto& move : moves) {
        Hover(move.x, move.y);
        EXPECT_EQ(tool->m_lastRect.left, move.x - 1);
        EXPECT_EQ(Art(kSheetRect), WithArrow(before, move.x, move.y)) << move.x << "," << move.y;
    }
    EXPECT_EQ(screen->m_controlEnable, 0);
    // Off the sheet the picture goes, the cursor and the controls come back.
    Hover(40, 200);
    EXPECT_EQ(Art(kSheetRect), before);
    EXPECT_EQ(CursorCount(), cursor);
    EXPECT_EQ(screen->m_controlEnable, 1);
    Hover(30, 200);
    EXPECT_EQ(screen->m_controlEnable, 1);
    EXPECT_EQ(CursorCount(), cursor);

    // Deleted while over the sheet: the sheet, the cursor, the counter and the
    // flag are all given back.
    Hover(300, 300);
    delete g_workshop.tool;
    g_workshop.tool = nullptr;
    EXPECT_EQ(Art(kSheetRect), before);
    EXPECT_EQ(CursorCount(), cursor);
    EXPECT_EQ(screen->m_controlEnable, 1);
    EXPECT_EQ(g_workshop.heldStamp, 0);
}

TEST_F(FloatingPictureTest, ADropStaysWithKookAndUndoTakesOnlyItBack) {
    MarkSheet();
    const std::string before = Art(kSheetRect);
    const int cursor = CursorCount();
    Float(kArrow);
    Hover(250, 150);
    control_testing::Click(250, 150);
    EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"kook.wav 3"}));
    EXPECT_EQ(g_workshop.actionInProgress, 0);
    EXPECT_EQ(CursorCount(), cursor);
    // The pointer moves on: a second copy floats, the first stays.
    Hover(350, 250);
    EXPECT_EQ(Art(RECT{249, 149, 252, 152}), "rr.\nrbb\nr..\n");
    EXPECT_EQ(Art(RECT{349, 249, 352, 252}), "rr.\nrbb\nr..\n");
    Hover(30, 200);
    EXPECT_EQ(screen->m_controlEnable, 1);
    screen->Undo();
    EXPECT_EQ(Art(kSheetRect), before);

    // A click with no move before it drops the picture where the pointer is.
    Float(kArrow);
    control_testing::Click(400, 200);
    EXPECT_EQ(Art(RECT{399, 199, 402, 202}), "rr.\nrbb\nr..\n");
    EXPECT_EQ(CursorCount(), cursor);
    screen->Undo();
    EXPECT_EQ(Art(kSheetRect), before);
}

TEST_F(FloatingPictureTest, MirrorAndUpsideDownTurnPictureAndMaskAtTheNextMove) {
    const struct {
        int code;
        const char* art;
    } cases[] = {
        {kToolMirror, ".rr\nbbr\n..r\n"},
        {kToolUpsideDown, "r..\nrbb\nrr.\n"},
        {kToolMagnify, "rr.\nrbb\nr..\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Float(kArrow);
        Paint(RECT{300, 200, 303, 203}, 'g');
        Hover(301, 201);
        EXPECT_EQ(g_workshop.tool->OnCommand(c.code, 0), 0);
        EXPECT_EQ(Art(RECT{300, 200, 303, 203}), "rrg\nrbb\nrgg\n") << "nothing redrawn yet";
        Hover(302, 201);
        Hover(301, 201);
        std::string expected = c.art;
        for (char& ch : expected) ch = ch == '.' ? 'g' : ch;
        EXPECT_EQ(Art(RECT{300, 200, 303, 203}), expected);
    }
}

}  // namespace
