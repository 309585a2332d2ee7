#include "graphics/blit.h"

#include <gtest/gtest.h>

#include "tests/graphics/canvas.h"

namespace {

using canvas::Canvas;
using canvas::Join;
using canvas::MakeBitmap;
using canvas::ReadBitmap;

class BlitTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { canvas::ResetToolkit(GetParam()); }
};

TEST_P(BlitTest, EqualSizesCopyAndOtherSizesStretch) {
    Canvas sheet(6, 4);
    HBITMAP picture = MakeBitmap({"rX", ".b"});
    DrawBitmapAt(picture, 4, 0);
    DrawBitmapRect(picture, RECT{0, 0, 2, 2}, RECT{0, 0, 4, 4});
    EXPECT_EQ(sheet.Art(), Join({
                               "rrXXrX",
                               "rrXX.b",
                               "..bb..",
                               "..bb..",
                           }));
    HBITMAP grabbed = GrabSurfaceRect(RECT{1, 1, 4, 3});
    EXPECT_EQ(ReadBitmap(grabbed), Join({"rXX", ".bb"}));
    DeleteObject(grabbed);
    DeleteObject(picture);
}

TEST_P(BlitTest, CopyInsideOneBitmap) {
    Canvas sheet(1, 1);
    HBITMAP picture = MakeBitmap({"rgb...", "XXy..."});
    CopyBitmapRectAt(picture, RECT{0, 0, 3, 2}, picture, 3, 0);
    EXPECT_EQ(ReadBitmap(picture), Join({"rgbrgb", "XXyXXy"}));
    DeleteObject(picture);
}

TEST_P(BlitTest, MaskedDrawShowsTheImageUnderBlackOnly) {
    Canvas sheet(6, 3, 'g');
    HBITMAP image = MakeBitmap({"r.b", "rrb", ".X."});
    HBITMAP mask = MakeMaskFromBitmap(image);
    EXPECT_EQ(ReadBitmap(mask), Join({"X.X", "XXX", ".X."}));
    DrawMaskedAt(image, mask, 1, 0);
    DrawMaskedRectAt(image, mask, RECT{1, 1, 3, 3}, 4, 1);
    EXPECT_EQ(sheet.Art(), Join({
                               "grgbgg",
                               "grrbrb",
                               "ggXgXg",
                           }));
    HBITMAP target = MakeBitmap({"yyyy", "yyyy"});
    MaskCopyBitmapRectAt(image, mask, RECT{0, 0, 3, 2}, target, 1, 0);
    EXPECT_EQ(ReadBitmap(target), Join({"yryb", "yrrb"}));
    for (HBITMAP bitmap : {image, mask, target}) DeleteObject(bitmap);
}

TEST_P(BlitTest, MirrorAndFlip) {
    struct Case {
        std::vector<std::string> art;
        bool mirror;
        const RECT* rect;
        std::vector<std::string> expected;
    };
    static const RECT kInner{1, 0, 4, 2};
    const Case cases[] = {
        {{"rgbXy"}, true, nullptr, {"yXbgr"}},
        {{"r", "g"}, true, nullptr, {"r", "g"}},
        {{"rg", "bX"}, true, nullptr, {"gr", "Xb"}},
        {{"rgbXy", "XXrgg"}, true, &kInner, {"rXbgy", "XgrXg"}},
        {{"rgb"}, false, nullptr, {"rgb"}},
        {{"rg", "bX", "y."}, false, nullptr, {"y.", "bX", "rg"}},
        {{"rgbXy", "XXrgg", "....."}, false, &kInner, {"rXrgy", "XgbXg", "....."}},
    };
    Canvas sheet(1, 1);
    for (const Case& c : cases) {
        HBITMAP picture = MakeBitmap(c.art);
        if (c.mirror) {
            MirrorBitmap(picture, c.rect);
        } else {
            FlipBitmap(picture, c.rect);
        }
        EXPECT_EQ(ReadBitmap(picture), Join(c.expected)) << Join(c.art);
        DeleteObject(picture);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, BlitTest, ::testing::Values(32, 8));

}  // namespace
