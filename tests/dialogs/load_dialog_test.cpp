#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_testing;
using LoadDialog = DialogTest;
using Sounds = std::vector<std::string>;

constexpr int kPreview = 101;
constexpr int kPrevious = 102;
constexpr int kNext = 103;
constexpr int kName = 104;

bool OkEnabled(HWND dialog) {
    return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
}

std::string NameShown(HWND dialog) {
    char text[300];
    GetDlgItemTextA(dialog, kName, text, sizeof text);
    return text;
}

COLORREF PreviewCentre() {
    const RECT r = ItemRect(kPreview);
    return ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST_F(LoadDialog, AnEmptyFolderShowsNoPictureAndLoadsNothing) {
    bool okEnabled = true;
    Steps({Check([&](HWND d) { okEnabled = OkEnabled(d); }), ClickItem(kPrevious), ClickItem(kNext),
           ClickItem(IDOK), ClickItem(IDCANCEL)});
    EXPECT_EQ(RunLoadDialog(), 0);
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(g_selectedPicture, -1);
    // The arrows are silent; the disabled OK takes no click; Cancel plays a
    // cancel sound.
    const Sounds sounds = TakeSounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_TRUE(IsCancelSound(sounds[0])) << sounds[0];
}

TEST_F(LoadDialog, OneDrawingKeepsTheArrowsStillAndLoadsOnOk) {
    WritePicture("Chat.BMP", 'r', 0);
    std::string name;
    bool okEnabled = false;
    Steps({ClickItem(kNext), ClickItem(kPrevious), Check([&](HWND d) {
               okEnabled = OkEnabled(d);
               name = NameShown(d);
           }),
           ClickItem(IDOK)});
    EXPECT_EQ(RunLoadDialog(), 1);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(name, "Chat");
    EXPECT_EQ(TakeSounds(), Sounds{"Print"});
    EXPECT_STREQ(g_currentPictureName, "Chat");
    EXPECT_STREQ(g_currentFileName, "Chat.BMP");
    EXPECT_EQ(BitmapPixel(g_scratchPicture, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(g_savedPictures, nullptr) << "the list is freed";
}

TEST_F(LoadDialog, ArrowsGoRoundAndASelectionBeyondTheEndComesBack) {
    WritePicture("Red.BMP", 'r', 20);
    WritePicture("Green.BMP", 'g', 10);
    WritePicture("Blue.BMP", 'b', 0);
    g_selectedPicture = 7;
    std::vector<std::string> names;
    auto look = [&](HWND d) { names.push_back(NameShown(d)); };
    Steps({Check(look), ClickItem(kNext), Check(look), ClickItem(kPrevious), Check(look),
           ClickItem(kPrevious), Check(look), ClickItem(kPrevious), Check(look), ClickItem(IDOK)});
    EXPECT_EQ(RunLoadDialog(), 1);
    EXPECT_EQ(names, (std::vector<std::string>{"Blue", "Red", "Blue", "Green", "Red"}));
    EXPECT_EQ(TakeSounds(), (Sounds{"tic", "tic", "tic", "tic", "Print"}));
    EXPECT_STREQ(g_currentPictureName, "Red");
    EXPECT_EQ(g_selectedPicture, 0) << "kept for the next opening";

    // A cancelled dialog loads nothing and keeps the current picture.
    Steps({ClickItem(kNext), ClickItem(IDCANCEL)});
    EXPECT_EQ(RunLoadDialog(), 0);
    EXPECT_STREQ(g_currentPictureName, "Red");
    EXPECT_EQ(g_selectedPicture, 1);
}

TEST_F(LoadDialog, AnUnreadableDrawingShowsBlackWithoutAMessage) {
    WritePicture("Good.BMP", 'g', 0);
    tree.Write("pictures/Bad.BMP", "BM this is no picture");
    Touch("pictures/Bad.BMP", 10);
    struct Seen {
        bool okEnabled;
        COLORREF centre;
        std::string name;
    };
    std::vector<Seen> seen;
    auto look = [&](HWND d) { seen.push_back({OkEnabled(d), PreviewCentre(), NameShown(d)}); };
    // Each drawing is read once an opening: spoiling Good.BMP after its
    // preview changes nothing until the dialog opens again.
    auto spoil = [&](HWND) {
        tree.Write("pictures/Good.BMP", "BM spoilt");
        Touch("pictures/Good.BMP", 0);
    };
    Steps({Check(look), ClickItem(IDOK), ClickItem(kNext), Check(look), Check(spoil),
           ClickItem(kNext), Check(look), ClickItem(kNext), Check(look), ClickItem(IDCANCEL)});
    EXPECT_EQ(RunLoadDialog(), 0);
    ASSERT_EQ(seen.size(), 4u);
    const Seen expected[] = {{false, RGB(0, 0, 0), "Bad"},
                             {true, RGB(0, 255, 0), "Good"},
                             {false, RGB(0, 0, 0), "Bad"},
                             {true, RGB(0, 255, 0), "Good"}};
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].okEnabled, expected[i].okEnabled) << i;
        EXPECT_EQ(seen[i].centre, expected[i].centre) << i;
        EXPECT_EQ(seen[i].name, expected[i].name) << i;
    }
    EXPECT_TRUE(source->boxes.empty());
    // Opened again, the dialog reads the spoilt file and shows it black.
    seen.clear();
    Steps({Check(look), ClickItem(IDCANCEL)});
    EXPECT_EQ(RunLoadDialog(), 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].centre, RGB(0, 0, 0));
    EXPECT_EQ(seen[0].name, "Good");
}

}  // namespace
