#include "graphics/surface.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/kernel/resource_pack.h"
#include "shell/resources.h"
#include "tests/graphics/canvas.h"

namespace {

using canvas::Canvas;
using canvas::Join;
using canvas::ReadBitmap;

// A packed 8-bit bitmap of 3 x 2 pixels, bottom-up, with four colours.
std::vector<uint8_t> SmallPicture() {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 3;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biClrUsed = 4;
    const RGBQUAD colours[4] = {{255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {0, 0, 0, 0}};
    const uint8_t rows[8] = {0, 3, 1, 0, /* top: */ 1, 2, 3, 0};
    std::vector<uint8_t> bytes(sizeof header + sizeof colours + sizeof rows);
    memcpy(bytes.data(), &header, sizeof header);
    memcpy(bytes.data() + sizeof header, colours, sizeof colours);
    memcpy(bytes.data() + sizeof header + sizeof colours, rows, sizeof rows);
    return bytes;
}

class SurfaceTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { canvas::ResetToolkit(GetParam()); }
    void TearDown() override { SetResourceModule(nullptr); }
};

TEST_P(SurfaceTest, MonoBitmapFills) {
    struct Case {
        int flags;
        const char* row;
    };
    const Case cases[] = {{kFillWhite, "...."}, {kFillBlack, "XXXX"}, {kFillWhite | kFillBlack, "XXXX"}};
    Canvas sheet(1, 1);
    for (const Case& c : cases) {
        HBITMAP mono = CreateMonoBitmap(RECT{2, 3, 6, 5}, c.flags);
        EXPECT_EQ(ReadBitmap(mono), Join({c.row, c.row})) << c.flags;
        DeleteObject(mono);
    }
    HBITMAP white = CreateSurfaceBitmap(RECT{0, 0, 3, 1}, kFillWhite);
    EXPECT_EQ(ReadBitmap(white), Join({"..."}));
    RECT size;
    GetBitmapRect(white, size);
    EXPECT_EQ(size.right, 3);
    EXPECT_EQ(size.bottom, 1);
    DeleteObject(white);
}

TEST_P(SurfaceTest, PicturesComeFromTheResourceModule) {
    std::vector<uint8_t> truncated = SmallPicture();
    truncated.resize(truncated.size() - 3);
    std::vector<uint8_t> bigTable = SmallPicture();
    reinterpret_cast<BITMAPINFOHEADER*>(bigTable.data())->biClrUsed = 300;
    std::vector<uint8_t> pack;
    ASSERT_TRUE(platform::BuildPack({{2, 10, SmallPicture()}, {2, 11, truncated}, {2, 12, bigTable}},
                                    pack));
    SetResourceModule(platform::LoadPackFromMemory(pack));
    Canvas sheet(1, 1);

    HBITMAP picture = LoadPicture(10);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(g_lastLoadError, 0);
    EXPECT_EQ(ReadBitmap(picture), Join({"rgX", ".Xr"}));
    DeleteObject(picture);

    for (int number : {11, 12}) {
        EXPECT_EQ(LoadPicture(number), nullptr) << number;
        EXPECT_EQ(g_lastLoadError, -48) << number;
    }
    EXPECT_EQ(LoadResourceBitmap(12), nullptr);
    EXPECT_EQ(g_lastLoadError, -101);
    EXPECT_EQ(LoadPicture(99), nullptr);
    EXPECT_NE(g_lastLoadError, 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, SurfaceTest, ::testing::Values(32, 8));

}  // namespace
