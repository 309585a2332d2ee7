#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/files.h"
#include "tests/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_testing;
using Sounds = std::vector<std::string>;

constexpr int kNameEdit = 102;

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class SaveDialog : public DialogTest {
protected:
    // Saves the scratch picture, filled with the colour, under the typed
    // name; an empty name keeps what the box offers, which goes to offered.
    int Save(const std::string& typed, COLORREF colour, std::string* offered = nullptr) {
        FillBitmap(g_scratchPicture, kSheetArea, colour);
        Steps({Check([offered](HWND d) {
            char text[300];
            GetDlgItemTextA(d, kNameEdit, text, sizeof text);
            if (offered != nullptr) *offered = text;
        })});
        if (!typed.empty()) Steps({Type(typed)});
        Steps({ClickItem(IDOK)});
        return RunSaveDialog();
    }
};

TEST_F(SaveDialog, SavingTwiceUnderOneNameReplacesTheFile) {
    std::string offered = "?";
    EXPECT_EQ(Save("Chat", RGB(255, 0, 0), &offered), 1);
    EXPECT_EQ(offered, "");
    EXPECT_EQ(TakeSounds(), Sounds{"Photo"});
    EXPECT_EQ(FilesIn(tree.Path("pictures")), std::vector<std::string>{"Chat.BMP"});
    EXPECT_STREQ(g_currentPictureName, "Chat");
    EXPECT_STREQ(g_currentFileName, "Chat.BMP");

    // The box offers the name again; keeping it writes over the same file.
    EXPECT_EQ(Save("", RGB(0, 255, 0), &offered), 1);
    EXPECT_EQ(offered, "Chat");
    EXPECT_EQ(FilesIn(tree.Path("pictures")), std::vector<std::string>{"Chat.BMP"});
    EXPECT_EQ(LoadDrawing("Chat.BMP", 0), 1);
    EXPECT_EQ(BitmapPixel(g_scratchPicture, 10, 10), RGB(0, 255, 0));

    // A new drawing under an existing name gets a name of its own.
    ForgetCurrentPicture();
    EXPECT_EQ(Save("Chat", RGB(0, 0, 255)), 1);
    EXPECT_EQ(Save("", RGB(0, 0, 255)), 1);
    ForgetCurrentPicture();
    EXPECT_EQ(Save("Chat", RGB(0, 0, 255)), 1);
    EXPECT_EQ(FilesIn(tree.Path("pictures")),
              (std::vector<std::string>{"Chat.BMP", "Chat0.BMP", "Chat01.BMP"}));
    EXPECT_STREQ(g_currentFileName, "Chat01.BMP");
}

TEST_F(SaveDialog, ADrawingGivenByPathIsSavedBackThere) {
    const std::string row(4, 'r');
    tree.Write("elsewhere/Lion.BMP", bmp_maker::MakeBmp(bmp_maker::BmpLayout{}, {row, row, row}));
    const std::string path = tree.WindowsPath("elsewhere/Lion.BMP");
    ASSERT_EQ(LoadDrawing(path.c_str(), 1), 1);
    EXPECT_EQ(Save("", RGB(0, 0, 255)), 1);
    EXPECT_TRUE(FilesIn(tree.Path("pictures")).empty());
    EXPECT_EQ(LoadDrawing(path.c_str(), 1), 1);
    EXPECT_EQ(BitmapPixel(g_scratchPicture, 10, 10), RGB(0, 0, 255));

    // Another name goes into the pictures folder, and so does every save after.
    EXPECT_EQ(Save("Lion2", RGB(0, 255, 0)), 1);
    EXPECT_EQ(g_givenByPath, 0);
    EXPECT_EQ(Save("", RGB(0, 255, 0)), 1);
    EXPECT_EQ(FilesIn(tree.Path("pictures")), std::vector<std::string>{"Lion2.BMP"});
}

TEST_F(SaveDialog, CancelAndFailureKeepWhatWasThere) {
    FillBitmap(g_scratchPicture, kSheetArea, RGB(255, 0, 0));
    Steps({Type("Chat"), ClickItem(IDCANCEL)});
    EXPECT_EQ(RunSaveDialog(), 0);
    const Sounds sounds = TakeSounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_TRUE(IsCancelSound(sounds[0]));
    EXPECT_TRUE(FilesIn(tree.Path("pictures")).empty());

    // A pictures folder that is gone: the save is reported with the file's
    // name, and the name chosen stays for the next try.
    SetPicturesFolder(tree.WindowsPath("gone"));
    EXPECT_EQ(Save("Chat", RGB(255, 0, 0)), 0);
    ASSERT_FALSE(source->boxes.empty());
    bool named = false;
    for (const std::string& line : testing_support::LogLines()) {
        named =
            named || (line.rfind("message ", 0) == 0 && line.find("Chat.BMP") != std::string::npos);
    }
    EXPECT_TRUE(named);
    EXPECT_STREQ(g_currentFileName, "Chat.BMP");
    EXPECT_STREQ(g_currentPictureName, "");

    // A rename that fails is reported once, by the file layer, and the
    // drawing saved before stays whole.
    SetPicturesFolder(tree.WindowsPath("pictures"));
    ASSERT_EQ(Save("Chat", RGB(0, 0, 255)), 1);
    const size_t boxes = source->boxes.size();
    FailSaveStepForTesting(SaveStep::kRename, ERROR_ACCESS_DENIED);
    EXPECT_EQ(Save("Chat", RGB(0, 255, 0)), 0);
    FailSaveStepForTesting(SaveStep::kNone, 0);
    EXPECT_EQ(source->boxes.size(), boxes + 1);
    EXPECT_EQ(FilesIn(tree.Path("pictures")).size(), 1u);
}

}  // namespace
