#include "dialogs/saved_pictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/dialogs/dialog_fixture.h"

namespace {

using SavedPictures = dialog_testing::DialogTest;

std::string FileName(const char* typed, int unique, const char* defaultName = "Image Tavelin") {
    char out[kPathSize];
    MakePictureFileName(typed, "BMP", unique, out, defaultName);
    return out;
}

TEST_F(SavedPictures, TypedNamesBecomeFileNames) {
    struct Case {
        const char* typed;
        const char* defaultName;
        std::string expected;
    };
    const std::string longName(300, 'a');
    const std::string accents(250, '\xE9');
    const std::string accentsAndSpaces = std::string(125, '\xE9') + " x";
    // A name has 255 bytes on disk, or what the path buffers leave.
    const size_t room = kPathSize - 1 - (strlen(g_picturesFolder) + 1) - 4;
    const Case cases[] = {
        {"  ", "Image Tavelin", "_.BMP"},
        {"a/b?", "Image Tavelin", "a_b_.BMP"},
        {"Mon.dessin", "Image Tavelin", "Mon_dessin.BMP"},
        {"", "Image Tavelin", "Image Tavelin.BMP"},
        {"", nullptr, "Default.BMP"},
        {"Chat  ", "Image Tavelin", "Chat.BMP"},
        {" Chat", "Image Tavelin", " Chat.BMP"},
        {"\\\"<>:/|*?.x", "Image Tavelin", "__________x.BMP"},
        {"a\tb\x1f", "Image Tavelin", "a_b_.BMP"},
        {"\xE9t\xE9", "Image Tavelin", "\xE9t\xE9.BMP"},
        {longName.c_str(), "Image Tavelin", std::string(std::min<size_t>(251, room), 'a') + ".BMP"},
        // Each accent is two bytes on disk: 125 of them fill the 255 bytes.
        {accents.c_str(), "Image Tavelin", std::string(std::min<size_t>(125, room), '\xE9') + ".BMP"},
        {accentsAndSpaces.c_str(), "Image Tavelin", std::string(std::min<size_t>(125, room), '\xE9') + ".BMP"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileName(c.typed, 0, c.defaultName), c.expected) << c.typed;
    }
}

TEST_F(SavedPictures, NewNamesAreUniqueInThePicturesFolder) {
    // The base folder is the program folder, which holds drawings of its own:
    // only the pictures folder, where the drawing goes, decides.
    tree.Write("lib/tavelin/Lion.BMP", "x");
    tree.Write("pictures/Chat.BMP", "x");
    const std::string base = BaseFolder();
    EXPECT_EQ(FileName("Lion", 1), "Lion.BMP");
    EXPECT_EQ(FileName("Chat", 0), "Chat.BMP");
    EXPECT_EQ(FileName("Chat", 1), "Chat0.BMP");
    tree.Write("pictures/chat0.bmp", "x");
    EXPECT_EQ(FileName("Chat", 1), "Chat01.BMP");
    tree.Write("pictures/Chat01.BMP", "x");
    EXPECT_EQ(FileName("Chat", 1), "Chat012.BMP");
    EXPECT_EQ(BaseFolder(), base);
    RestoreBaseFolder();
    EXPECT_EQ(std::string(BaseFolder()), "") << "the saved slot is kept too";
    SetBaseFolder(base.c_str());

    // Without a pictures folder the base folder is where drawings go.
    SetPicturesFolder("");
    EXPECT_EQ(FileName("Lion", 1), "Lion0.BMP");
    EXPECT_EQ(FileName("Chat", 1), "Chat.BMP");
}

TEST_F(SavedPictures, NewNamesAlwaysFitTheFolderAndStayUnique) {
    // Untitled drawings: "Image Tavelin", "Image Tavelin0", "Image
    // Tavelin01"... grow until the numbers must replace the name's end.
    std::set<std::string> made;
    for (int i = 0; i < 130; ++i) {
        const std::string name = FileName("", 1);
        ASSERT_TRUE(made.insert(name).second) << i << " " << name;
        ASSERT_LE(OnDiskNameLength(name.c_str()), 255u) << i;
        tree.Write("pictures/" + name, "x");
    }
    // Long accented names numbered: the number takes the place of accents,
    // never a half of one.
    const std::string accents(200, '\xE9');
    for (int i = 0; i < 12; ++i) {
        const std::string name = FileName(accents.c_str(), 1);
        ASSERT_TRUE(made.insert(name).second) << i << " " << name;
        ASSERT_LE(OnDiskNameLength(name.c_str()), 255u) << i;
        EXPECT_EQ(name.substr(0, 100), accents.substr(0, 100));
        tree.Write("pictures/" + name, "x");
    }
    // A pictures folder deep enough leaves less room than 255 bytes for a
    // name: the path buffers decide.
    const std::string deep = "pictures/" + std::string(180, 'd');
    std::filesystem::create_directories(tree.Path(deep));
    SetPicturesFolder(tree.WindowsPath(deep));
    const std::string name = FileName(std::string(250, 'n').c_str(), 1);
    char resolved[kPathSize];
    {
        PicturesFolderScope folder;
        EXPECT_TRUE(ResolveName(name.c_str(), resolved)) << name;
    }
    EXPECT_EQ(strlen(resolved), static_cast<size_t>(kPathSize - 1));
}

TEST_F(SavedPictures, ListsTheFolderNewestFirstUpToTheCap) {
    WritePicture("old.bmp", 'r', 0);
    WritePicture("A.Bmp", 'g', 10);
    WritePicture("middle.BMP", 'b', 5);
    WritePicture("a.bmp.txt", 'r', 20);
    WritePicture("noextension", 'r', 20);
    std::filesystem::create_directories(tree.Path("pictures/folder.bmp"));
    ListSavedPictures();
    std::vector<std::string> names;
    for (int i = 0; i < g_savedPictureCount; ++i) names.push_back(g_savedPictures[i].name);
    EXPECT_EQ(names, (std::vector<std::string>{"A.Bmp", "middle.BMP", "old.bmp"}));
    EXPECT_GT(g_savedPictures[0].size, 0u);
    EXPECT_FALSE(IsUnreadable(0));
    FreeSavedPictures();

    // Of 300 drawings, the 256 newest are listed, newest first, whatever the
    // order of their names.
    for (int i = 0; i < 300; ++i) {
        const std::string name = "pictures/many" + std::to_string((i * 7) % 300) + ".bmp";
        tree.Write(name, "");
        Touch(name, 100 + (i * 7) % 300);
    }
    ListSavedPictures();
    ASSERT_EQ(g_savedPictureCount, kMaxSavedPictures);
    EXPECT_STREQ(g_savedPictures[0].name, "many299.bmp");
    EXPECT_STREQ(g_savedPictures[255].name, "many44.bmp");
    for (int i = 1; i < kMaxSavedPictures; ++i) {
        ASSERT_GT(g_savedPictures[i - 1].writeTicks, g_savedPictures[i].writeTicks) << i;
    }
    MarkUnreadable(255);
    EXPECT_TRUE(IsUnreadable(255));
    EXPECT_FALSE(IsUnreadable(254));
    FreeSavedPictures();
    EXPECT_EQ(g_savedPictureCount, 0);
}

TEST_F(SavedPictures, FileTimesBecomeMsDosDatesAndTimes) {
    struct Case {
        uint64_t unixSeconds;
        bool converted;
        WORD date;
        WORD time;
    };
    const Case cases[] = {
        {315532800, true, 0x0021, 0x0000},   // 1980-01-01 00:00:00
        {315532799, false, 0, 0},            // the second before
        {951868799, true, 0x285D, 0xBF7D},   // 2000-02-29 23:59:59
        {4354819198, true, 0xFF9F, 0xBF7D},  // 2107-12-31 23:59:58
        {4354819200, false, 0, 0},           // 2108-01-01
    };
    for (const Case& c : cases) {
        const uint64_t ticks = (c.unixSeconds + 11644473600ULL) * 10000000ULL;
        const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        WORD date = 1, dosTime = 1;
        WrittenTime written{};
        EXPECT_EQ(ConvertFileTime(time, date, dosTime, written), c.converted) << c.unixSeconds;
        EXPECT_EQ(date, c.date) << c.unixSeconds;
        EXPECT_EQ(dosTime, c.time) << c.unixSeconds;
    }
}

TEST_F(SavedPictures, LoadingReadsIntoTheScratchPictureOrReportsTheName) {
    WritePicture("Chat.BMP", 'r', 0);
    tree.Write("pictures/Broken.BMP", "BM not a picture");
    dialog_testing::FillBitmap(g_scratchPicture, kSheetArea, RGB(0, 0, 255));
    struct Case {
        const char* name;
        int loaded;
        COLORREF scratch;
    };
    const Case cases[] = {
        {"Missing.BMP", 0, RGB(0, 0, 255)},
        {"Broken.BMP", 0, RGB(0, 0, 255)},
        {"Chat.BMP", 1, RGB(255, 0, 0)},
    };
    for (const Case& c : cases) {
        testing_support::LogLines().clear();
        EXPECT_EQ(LoadDrawing(c.name, 0), c.loaded) << c.name;
        EXPECT_EQ(dialog_testing::BitmapPixel(g_scratchPicture, 300, 200), c.scratch) << c.name;
        const std::vector<std::string>& log = testing_support::LogLines();
        const bool reported = !log.empty() && log[0].rfind("message ", 0) == 0 &&
                              log[0].find(c.name) != std::string::npos;
        EXPECT_EQ(reported, c.loaded == 0) << c.name;
        EXPECT_STREQ(g_currentPictureName, c.loaded ? "Chat" : "") << c.name;
    }
    EXPECT_STREQ(g_currentFileName, "Chat.BMP");
    EXPECT_EQ(g_givenByPath, 0);

    // A path of its own is read whatever the base folder.
    const std::string path = tree.WindowsPath("pictures/Chat.BMP");
    EXPECT_EQ(LoadDrawing(path.c_str(), 1), 1);
    EXPECT_STREQ(g_currentPictureName, "Chat");
    EXPECT_EQ(g_givenByPath, 1);
}

}  // namespace
