// The stamp tool over a small picture module of its own: the keyboard's
// choice of item, the right button, the items kept from tool to tool, the
// magnify toggle, and a missing picture as a fatal message. The real banks
// are checked through the program in tests/e2e/stamps_test.cpp.
#include "tools/stamp.h"

#include <cstdio>
#include <cstring>

#include "shell/app.h"
#include "shell/picture_module.h"
#include "tests/tools/tool_fixture.h"

namespace {

using tool_testing::ToolTest;

constexpr int kBank = 10;

// A packed 1-bit mask, black (opaque) where the art has 'X'.
std::vector<uint8_t> MaskPicture(const std::vector<std::string>& art) {
    const int w = static_cast<int>(art[0].size());
    const int h = static_cast<int>(art.size());
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = h;
    header.biPlanes = 1;
    header.biBitCount = 1;
    const RGBQUAD colours[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    const size_t rowBytes = (static_cast<size_t>(w) + 31) / 32 * 4;
    std::vector<uint8_t> bytes(sizeof header + sizeof colours + rowBytes * h, 0);
    memcpy(bytes.data(), &header, sizeof header);
    memcpy(bytes.data() + sizeof header, colours, sizeof colours);
    uint8_t* rows = bytes.data() + sizeof header + sizeof colours;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (art[y][x] != 'X') rows[(h - 1 - y) * rowBytes + x / 8] |= 0x80 >> (x % 8);
        }
    }
    return bytes;
}

// A packed 8-bit picture, blue but for its white top left pixel.
std::vector<uint8_t> BluePicture(int w, int h) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = h;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biClrUsed = 2;
    const RGBQUAD colours[2] = {{255, 0, 0, 0}, {255, 255, 255, 0}};
    const size_t rowBytes = (static_cast<size_t>(w) + 3) / 4 * 4;
    std::vector<uint8_t> bytes(sizeof header + sizeof colours + rowBytes * h, 0);
    memcpy(bytes.data(), &header, sizeof header);
    memcpy(bytes.data() + sizeof header, colours, sizeof colours);
    bytes[sizeof header + sizeof colours + (h - 1) * rowBytes] = 1;
    return bytes;
}

// Bank 10 with its eight items: item i is i + 2 pixels wide and 3 high, the
// large one twice that, blue, opaque but for the top left pixel. The item
// left out, if any, lacks its mask.
HMODULE MakeModule(int missingMask = -1) {
    std::vector<platform::PackItem> items;
    for (int i = 0; i < kStampItemCounts[kBank]; ++i) {
        for (int large = 0; large < 2; ++large) {
            const int w = (i + 2) * (large + 1);
            const int h = 3 * (large + 1);
            const int number = StampPictureNumber(kBank, i, large);
            std::vector<std::string> art(h, std::string(w, 'X'));
            art[0][0] = '.';
            std::vector<uint8_t> picture = BluePicture(w, h);
            items.push_back({2, static_cast<uint16_t>(number), picture});
            if (number + 1 != missingMask) {
                items.push_back({2, static_cast<uint16_t>(number + 1), MaskPicture(art)});
            }
        }
    }
    std::vector<uint8_t> pack;
    EXPECT_TRUE(platform::BuildPack(std::move(items), pack));
    return platform::LoadPackFromMemory(pack);
}

class StampTest : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        g_pictureModule = MakeModule();
        for (int& item : g_stampItems) item = 0;
    }
    void TearDown() override {
        ToolTest::TearDown();
        g_pictureModule = nullptr;
    }
    StampTool* Stamp() {
        delete g_workshop.tool;
        g_workshop.tool = nullptr;
        auto* tool = new StampTool(screen, kBank);
        g_workshop.tool = tool;
        return tool;
    }
    static int Width(const StampTool* tool) { return tool->m_pictureRect.right; }
};

TEST(StampKeys, KeysChooseTheItemOfTheBank) {
    const auto key = [](int code) { return static_cast<int>(static_cast<int16_t>(code)); };
    const struct {
        int code;
        int item;
        int expected;
    } cases[] = {
        {'h', 0, 7},           {'z', 0, 1},           {'H', 3, 7},          {'5', 0, 5},
        {'9', 0, 1},           {' ', 4, 0},           {'!', 0, 1},          {233, 0, 1},
        {key(0x8009), 0, 7},   {key(0x8009), 5, 4},   {key(0x800A), 7, 0},  {key(0x800A), 2, 3},
        {key(0x800B), 5, 0},   {key(0x800D), 5, 0},   {key(0x800F), 5, 0},  {key(0x800C), 2, 7},
        {key(0x800E), 2, 7},   {key(0x8010), 2, 7},   {key(0x8011), 2, -1}, {key(0x8013), 2, -1},
        {13, 2, -1},           {31, 2, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StampItemForKey(c.code, c.item, 8), c.expected) << std::hex << c.code << " at " << c.item;
    }
    EXPECT_EQ(StampPictureNumber(0, 0, 0), 2000);
    EXPECT_EQ(StampPictureNumber(12, 25, 1), 2000 + 2400 + 100 + 2);
}

TEST_F(StampTest, TheRightButtonKeysAndMagnifyReloadUnderThePointer) {
    StampTool* tool = Stamp();
    EXPECT_EQ(Width(tool), 2);
    EXPECT_EQ(tool->m_hotSpot.x, 1);
    EXPECT_EQ(tool->m_hotSpot.y, 1);
    EXPECT_EQ(tool->m_masked, 1);

    // The pointer over the sheet: each reload shows the new item there.
    testing_support::MouseMove(300, 200);
    EXPECT_EQ(tool->m_shown, 1);
    EXPECT_EQ(Art(RECT{299, 199, 303, 202}), ".b..\nbb..\nbb..\n");
    tool->OnRightPress(300, 200);
    EXPECT_EQ(g_stampItems[kBank], 1);
    EXPECT_EQ(Art(RECT{299, 199, 303, 202}), ".bb.\nbbb.\nbbb.\n");
    EXPECT_EQ(tool->m_shown, 1);
    tool->OnChar('h', 1);
    EXPECT_EQ(g_stampItems[kBank], 1) << "auto-repeat is ignored";
    tool->OnChar('h', 0);
    EXPECT_EQ(Width(tool), 9);
    for (int i = 0; i < 8; ++i) tool->OnRightPress(300, 200);
    EXPECT_EQ(g_stampItems[kBank], 7);

    // The magnify toggle: the same item at the large size, at once.
    g_workshop.magnify = 1;
    tool->OnCommand(kToolMagnify, 0);
    EXPECT_EQ(Width(tool), 18);
    EXPECT_EQ(tool->m_pictureRect.bottom, 6);
    EXPECT_EQ(PixelsNot('.', kSheetRect).size(), 18u * 6u - 1u);
    g_workshop.magnify = 0;
    tool->OnCommand(kToolMagnify, 0);
    EXPECT_EQ(PixelsNot('.', kSheetRect).size(), 9u * 3u - 1u);

    // During an action nothing reloads.
    g_workshop.actionInProgress = 1;
    tool->OnRightPress(300, 200);
    tool->OnChar('a', 0);
    EXPECT_EQ(g_stampItems[kBank], 7);
    g_workshop.actionInProgress = 0;

    // Another tool and back: the bank keeps its item; the cursor and the
    // sheet are as before the stamp.
    testing_support::MouseMove(30, 200);
    g_stampItems[3] = 2;
    delete g_workshop.tool;
    g_workshop.tool = nullptr;
    EXPECT_EQ(PixelsNot('.', kSheetRect).size(), 0u);
    EXPECT_EQ(g_stampItems[kBank], 7);
    EXPECT_EQ(Width(Stamp()), 9);
}

TEST_F(StampTest, AMissingMaskIsFatalMessage19WithItsNumber) {
    g_pictureModule = MakeModule(StampPictureNumber(kBank, 3, 0) + 1);
    g_stampItems[kBank] = 2;
    StampTool* tool = Stamp();
    EXPECT_EQ(Width(tool), 4);
    // The message boxes of the dying run are written to the error output.
    EXPECT_EXIT(
        {
            AddExitHandler([] {
                for (const std::string& line : testing_support::LogLines()) fprintf(stderr, "%s\n", line.c_str());
            });
            tool->OnChar(static_cast<int16_t>(0x800A), 0);
        },
        ::testing::ExitedWithCode(1), "message 1010 .*(picture|image) n.*4013");
}

}  // namespace
