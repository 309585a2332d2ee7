#include "shell/configuration.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/kernel/resource_pack.h"
#include "shell/app.h"
#include "shell/cursors.h"
#include "shell/data_paths.h"
#include "shell/messages.h"
#include "shell/picture_module.h"
#include "shell/resources.h"
#include "shell/sound.h"
#include "shell/text_block.h"
#include "storage/files.h"
#include "tests/platform/kernel/kernel_test_folder.h"
#include "tests/support/layer.h"

namespace {

namespace fs = std::filesystem;
using testing_support::LogLines;
using testing_support::TestEvents;

constexpr char kFontFile[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kFontFiles[] = {
    "Univers.ttf",  "Goudi.ttf",   "BrushScr.ttf", "Joff.ttf",     "BDStyle.ttf", "Bodaciou.ttf",
    "Cyrillic.ttf", "Gothic.ttf",  "MyBahaus.ttf", "MyLithos.ttf", "UsArmy.ttf",  "Western.ttf",
    "Ranson.ttf",   "SecretC.ttf", "Outline.ttf",  "Dingbats.ttf",
};
constexpr int kCursorIds[] = {101, 102, 110, 201, 202, 205, 206, 209, 210, 211, 212,
                              213, 214, 215, 216, 217, 218, 219, 220, 221, 222, 223};

std::vector<uint8_t> BuiltInResource(int type, int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, found));
}

// A help block whose string 46 says that the fonts could not be loaded.
std::vector<uint8_t> HelpBlock() {
    std::string text(46, '\0');
    text += "Styles and fonts loading is not possible.";
    text += std::string(1, '\0') + "\x01" + std::string(1, '\0');
    return std::vector<uint8_t>(text.begin(), text.end());
}

// A 2 x 2 monochrome cursor file.
std::vector<uint8_t> CursorFile() {
    std::vector<uint8_t> bytes = {0, 0, 2, 0,  1, 0, 2, 2,  2, 0, 0,
                                  0, 0, 0, 64, 0, 0, 0, 22, 0, 0, 0};
    const uint8_t header[40] = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 1, 0};
    bytes.insert(bytes.end(), header, header + sizeof header);
    bytes.insert(bytes.end(), {0, 0, 0, 0, 255, 255, 255, 0});  // black, white
    bytes.insert(bytes.end(), {0x40, 0, 0, 0, 0x80, 0, 0, 0});  // image rows
    bytes.insert(bytes.end(), 8, 0);                            // mask rows: opaque
    return bytes;
}

// The installed tree of the program: a program folder, a data drive with its
// sixteen fonts and picture module, a Windows folder that says English, and
// a program pack with the texts and every cursor but those left out.
class ConfigurationTree : public platform::testing::KernelTestFolder {
public:
    explicit ConfigurationTree(std::vector<int> missingCursors = {})
        : m_events(testing_support::ResetLayer()) {
        Write("config/win.ini", "[intl]\nsLanguage=ENU\n");
        fs::create_directories(Path("cd/Datas/Polices"));
        for (const char* file : kFontFiles)
            fs::create_symlink(kFontFile, Path("cd/Datas/Polices/") + file);
        WritePictureModule("cd/Datas/Banques.dat");
        std::vector<platform::PackItem> items = {
            {kTextBlockType, 32000, BuiltInResource(kTextBlockType, 32000)},
            {kTextBlockType, 32001, BuiltInResource(kTextBlockType, 32001)},
            {kTextBlockType, 101, HelpBlock()},
        };
        for (int id : kCursorIds) {
            if (std::find(missingCursors.begin(), missingCursors.end(), id) ==
                missingCursors.end()) {
                items.push_back({1, static_cast<uint16_t>(id), CursorFile()});
            }
        }
        std::vector<uint8_t> pack;
        EXPECT_TRUE(platform::BuildPack(std::move(items), pack));
        EXPECT_TRUE(platform::SetProgramPack(pack.data(), pack.size()));
        theApp.m_instance = GetModuleHandleA(nullptr);
        SetResourceModule(theApp.m_instance);
        LoadErrorTexts();
        g_initialCursor = LoadCursorA(nullptr, IDC_ARROW);
        m_savedSounds = g_soundsFolder;
        m_savedCdSounds = g_cdSoundsFolder;
        // The default pictures folder is made in a home of the tree's own.
        SaveVariable("HOME", m_savedHome);
        SaveVariable("XDG_PICTURES_DIR", m_savedPictures);
        SaveVariable("XDG_CONFIG_HOME", m_savedConfigHome);
        setenv("HOME", Path("home").c_str(), 1);
        unsetenv("XDG_PICTURES_DIR");
        unsetenv("XDG_CONFIG_HOME");
    }
    ~ConfigurationTree() {
        RestoreVariable("HOME", m_savedHome);
        RestoreVariable("XDG_PICTURES_DIR", m_savedPictures);
        RestoreVariable("XDG_CONFIG_HOME", m_savedConfigHome);
        // The text blocks pointed into the pack that goes now.
        platform::ResetProgramPack();
        LoadErrorTexts();
        g_helpTexts = TextBlock{};
        SetBaseFolder("");
        SetBaseFolder("");
        std::snprintf(g_soundsFolder, sizeof g_soundsFolder, "%s", m_savedSounds.c_str());
        std::snprintf(g_cdSoundsFolder, sizeof g_cdSoundsFolder, "%s", m_savedCdSounds.c_str());
    }

    static void SaveVariable(const char* name, std::optional<std::string>& saved) {
        const char* value = getenv(name);
        if (value != nullptr) saved = value;
    }
    static void RestoreVariable(const char* name, const std::optional<std::string>& saved) {
        if (saved) setenv(name, saved->c_str(), 1);
        else unsetenv(name);
    }

    void WritePictureModule(const std::string& relative) const {
        std::vector<uint8_t> pack;
        EXPECT_TRUE(platform::BuildPack({{2, 1490, {1, 2, 3, 4}}}, pack));
        Write(relative, std::string(pack.begin(), pack.end()));
    }

    // The message boxes logged, without the files written.
    static std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const std::string& line : LogLines()) {
            if (line.rfind("file write ", 0) != 0)
                boxes.push_back(line);
        }
        return boxes;
    }

    TestEvents& m_events;

private:
    std::string m_savedSounds;
    std::string m_savedCdSounds;
    std::optional<std::string> m_savedHome;
    std::optional<std::string> m_savedPictures;
    std::optional<std::string> m_savedConfigHome;
};

TEST(Configuration, InstallationFileSettlesLanguageAndPicturesFolder) {
    struct Case {
        const char* name;
        std::string windowsFolderFile;
        std::string programFolderFile;
        const char* windowsLanguage;
        int languageIndex;
        int askLanguage;
        const char* picturesFolder;  // relative to the tree; empty for the home pictures folder
        bool readFromProgramFolder;
    };
    const Case cases[] = {
        {"0 asks", "[param]\nlangage=0\n", "", "DEU", 0, 1, "", false},
        {"2 is English", "[param]\nlangage=2\n", "", "DEU", 1, 0, "", false},
        {"9 follows Windows", "[param]\nlangage=9\n", "", "DEU", 2, 0, "", false},
        {"no file", "", "", "ITA", 5, 0, "", true},
        {"first file lacks langage", "[param]\ndir=Z:$/one\n", "[param]\nlangage=4\ndir=Z:$/two\n",
         "DEU", 3, 0, "two", true},
        {"first file has langage", "[param]\nlangage=6\n", "[param]\nlangage=4\ndir=Z:$/two\n",
         "DEU", 5, 0, "", false},
        {"dir is a file", "[param]\nlangage=1\ndir=Z:$/file.txt\n", "", "DEU", 0, 0, "", false},
        {"dir is missing", "[param]\nlangage=1\ndir=Z:$/none\n", "", "DEU", 0, 0, "", false},
        {"dir is a folder", "[param]\nlangage=1\ndir=Z:$/one\n", "", "DEU", 0, 0, "one", false},
        // A file saved as UTF-8, with or without a byte order mark.
        {"dir with accents in UTF-8", "[param]\nlangage=1\ndir=Z:$/\xC3\xA9t\xC3\xA9\n", "", "DEU",
         0, 0, "\xE9t\xE9", false},
        {"dir with accents after a mark", "\xEF\xBB\xBF[param]\nlangage=1\ndir=Z:$/\xC3\xA9t\xC3\xA9\n",
         "", "DEU", 0, 0, "\xE9t\xE9", false},
        {"dir with accents in Windows-1252", "[param]\nlangage=1\ndir=Z:$/\xE9t\xE9\n", "", "DEU",
         0, 0, "\xE9t\xE9", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigurationTree tree;
        const auto place = [&](std::string text) {
            for (size_t at; (at = text.find('$')) != std::string::npos;)
                text.replace(at, 1, tree.Root());
            return text;
        };
        fs::create_directories(tree.Path("one"));
        fs::create_directories(tree.Path("two"));
        fs::create_directories(tree.Path("\xC3\xA9t\xC3\xA9"));
        tree.Write("file.txt", "x");
        tree.Write("config/win.ini", std::string("[intl]\nsLanguage=") + c.windowsLanguage + "\n");
        if (!c.windowsFolderFile.empty())
            tree.Write("config/Tavelin.ini", place(c.windowsFolderFile));
        if (!c.programFolderFile.empty()) {
            tree.Write("lib/tavelin/Tavelin.ini", place(c.programFolderFile));
        }
        ReadInstallationFile();
        ChooseLanguage();
        EXPECT_EQ(g_languageIndex, c.languageIndex);
        EXPECT_EQ(g_askLanguage, c.askLanguage);
        const std::string expected = c.picturesFolder[0] != '\0'
                                         ? "Z:" + tree.Root() + "/" + c.picturesFolder
                                         : tree.WindowsPath("home/Pictures/Tavelin");
        EXPECT_EQ(std::string(g_picturesFolder), expected);
        EXPECT_EQ(std::string(g_installationFile), c.readFromProgramFolder
                                                       ? tree.WindowsPath("lib/tavelin/Tavelin.ini")
                                                       : "Tavelin.ini");
        EXPECT_FALSE(fs::exists(tree.Path("lib/tavelin/tst.tmp")));
    }
}

TEST(Configuration, WindowsLanguageCodesChooseTheHelpLanguage) {
    const struct {
        const char* code;
        int languageIndex;
    } cases[] = {{"FRA", 0}, {"fra", 0}, {"FRC", 0}, {"ENU", 1}, {"DEU", 2},
                 {"JPN", 1}, {"ESP", 3}, {"NLD", 4}, {"ITA", 5}};
    ConfigurationTree tree;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        tree.Write("config/win.ini", std::string("[intl]\nsLanguage=") + c.code + "\n");
        g_languageIndex = -2;
        ChooseLanguage();
        EXPECT_EQ(g_languageIndex, c.languageIndex);
    }
}

TEST(Configuration, WithoutADirDrawingsGoToTheDesktopPicturesFolder) {
    struct Case {
        const char* name;
        bool programFolderWritable;
        const char* xdgPictures;  // relative to the tree, or null
        const char* userDirs;     // ~/.config/user-dirs.dirs, or null
        const char* expected;     // relative to the tree, or null for the program folder
    };
    const Case cases[] = {
        {"desktop pictures folder", true, "desk/Images", nullptr, "desk/Images/Tavelin"},
        {"home pictures folder", false, nullptr, nullptr, "home/Pictures/Tavelin"},
        // The desktop's own file comes before the variable.
        {"user-dirs.dirs", true, "desk/Images",
         "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Images\"\n",
         "home/Images/Tavelin"},
        {"user-dirs.dirs, a name the program cannot spell", true, "desk/Images",
         "XDG_PICTURES_DIR=\"$HOME/\xD0\x9A\"\n", "desk/Images/Tavelin"},
        {"user-dirs.dirs, a relative path", true, nullptr, "XDG_PICTURES_DIR=\"Images\"\n",
         "home/Pictures/Tavelin"},
        // A file where the folder should be: the program folder keeps them.
        {"no pictures folder", true, "blocked", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigurationTree tree;
        if (!c.programFolderWritable) {
            // A program folder on the CD cannot be written to.
            platform::CurrentOptions().programPath = tree.Path("cd/prog/tavelin");
            fs::create_directories(tree.Path("cd/prog"));
        }
        tree.Write("blocked", "x");
        if (c.xdgPictures != nullptr) setenv("XDG_PICTURES_DIR", tree.Path(c.xdgPictures).c_str(), 1);
        if (c.userDirs != nullptr) tree.Write("home/.config/user-dirs.dirs", c.userDirs);
        ReadInstallationFile();
        if (c.expected == nullptr) {
            EXPECT_STREQ(g_picturesFolder, "");
            continue;
        }
        EXPECT_EQ(std::string(g_picturesFolder), tree.WindowsPath(c.expected));
        EXPECT_TRUE(fs::is_directory(tree.Path(c.expected)));
    }
}

TEST(Configuration, SwatchColoursFromTheInstallationFile) {
    ConfigurationTree tree;
    tree.Write("config/Tavelin.ini",
               "[param]\nlangage=2\n[Couleurs]\nColor0=1 2 3\nColor1=255,0,0\nColor2=255 x\n"
               "Color3=300 0 0\nColor4=-1 256 7\nColor5=\nColor35=8;  16 24\n");
    ReadInstallationFile();
    LoadColours();
    ASSERT_NE(g_configurationPalette, nullptr);
    const struct {
        int swatch;
        COLORREF colour;
    } cases[] = {
        {0, RGB(0x10, 0x10, 0x10)},  // entry 10, not changeable
        {1, RGB(255, 0, 0)},        {2, RGB(255, 0, 0)},  {3, RGB(44, 0, 0)},
        {4, RGB(255, 0, 7)},        {5, RGB(0x98, 0, 0)},  // empty: entry 32
        {6, RGB(0xD8, 0, 0)},                              // missing: entry 36
        {35, RGB(8, 16, 24)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g_swatchColours[c.swatch], c.colour) << "swatch " << c.swatch;
    // Entries keep their top five bits of each component; the static places
    // take the system's colours.
    EXPECT_EQ(g_colourTable[39], RGB(0xF8, 0x20, 0x18));
    EXPECT_EQ(g_colourTable[255], RGB(255, 255, 255));
    EXPECT_EQ(g_colourTable[249], RGB(255, 0, 0));
    ShutdownConfiguration();
}

TEST(Configuration, DrivesFoldersAndTheLabelledCd) {
    ConfigurationTree tree;
    const struct {
        const char* path;
        int kind;
    } kinds[] = {{"\\\\server\\share", DRIVE_REMOTE},
                 {"D:\\Datas", DRIVE_CDROM},
                 {"d:", DRIVE_CDROM},
                 {"Z:/tmp", DRIVE_FIXED},
                 {"Q:\\", -1},
                 {"Datas", -1}};
    for (const auto& c : kinds)
        EXPECT_EQ(GetDriveKind(c.path), c.kind) << c.path;
    EXPECT_EQ(GetDriveKindByIndex(-1), -1);
    EXPECT_EQ(GetDriveKindByIndex(26), -1);
    EXPECT_EQ(GetDriveKindByIndex(3), DRIVE_CDROM);
    EXPECT_EQ(GetDriveKindByIndex(25), DRIVE_FIXED);

    char root[4] = "";
    EXPECT_TRUE(FindVolume("palmiron", root));
    EXPECT_STREQ(root, "D:");
    EXPECT_FALSE(FindVolume("OTHER", root));

    const std::string deep = tree.WindowsPath("made/in/three");
    EXPECT_EQ(CreateFolderPath(deep.c_str()), 0);
    EXPECT_TRUE(fs::is_directory(tree.Path("made/in/three")));
    EXPECT_EQ(CreateFolderPath((deep + "\\").c_str()), 0);
    EXPECT_NE(CreateFolderPath("D:\\Datas\\New"), 0);
    tree.Write("file.txt", "x");
    EXPECT_NE(CreateFolderPath(tree.WindowsPath("file.txt\\below").c_str()), 0);

    EXPECT_EQ(IsFolderWritable(tree.WindowsPath("lib/tavelin").c_str()), 0);
    EXPECT_FALSE(fs::exists(tree.Path("lib/tavelin/tst.tmp")));
    EXPECT_NE(IsFolderWritable("D:\\Datas"), 0);
    EXPECT_NE(IsFolderWritable(tree.WindowsPath("none").c_str()), 0);
}

TEST(Configuration, AsksForTheCdUntilItIsThereOrTheUserCancels) {
    ConfigurationTree tree;
    EXPECT_TRUE(LocateDataRoot());
    EXPECT_STREQ(g_dataRoot, "D:\\Datas");
    EXPECT_EQ(std::string(BaseFolder()), tree.WindowsPath("lib/tavelin"));
    EXPECT_TRUE(LogLines().empty());

    // The data comes after the first question, which names the folder looked
    // for; OK searches again. A folder without "Datas" is not the data.
    const std::string notFound = "message 2021 The program's data folder was not found:\\n";
    platform::CurrentOptions().dataDir = tree.Path("later");
    int asked = 0;
    tree.m_events.onBox = [&](uint32_t) {
        fs::create_directories(tree.Path(++asked == 1 ? "later" : "later/Datas"));
        return IDOK;
    };
    EXPECT_TRUE(LocateDataRoot());
    const std::vector<std::string> twice = {notFound + tree.Path("later"), "answer 1",
                                            notFound + tree.Path("later/Datas"), "answer 1"};
    EXPECT_EQ(LogLines(), twice);

    // Cancel ends the program before anything is shown.
    LogLines().clear();
    platform::CurrentOptions().dataDir = tree.Path("never");
    tree.m_events.onBox = [](uint32_t) { return IDCANCEL; };
    theApp.Run();
    EXPECT_EQ(g_app->m_currentScreen, nullptr);
    const std::vector<std::string> cancelled = {notFound + tree.Path("never"), "answer 2"};
    EXPECT_EQ(tree.Boxes(), cancelled);
}

TEST(Configuration, LoadsEverythingAndShutsItDown) {
    for (const bool programFolderHasIt : {false, true}) {
        SCOPED_TRACE(programFolderHasIt ? "module and sounds in the program folder"
                                        : "from the CD");
        ConfigurationTree tree;
        if (programFolderHasIt) {
            tree.WritePictureModule("lib/tavelin/Banques.dat");
            fs::create_directories(tree.Path("lib/tavelin/Datas/Sons"));
        }
        ASSERT_TRUE(LoadConfiguration());
        EXPECT_TRUE(tree.Boxes().empty());
        EXPECT_STREQ(g_soundsFolder, programFolderHasIt ? "Datas\\Sons" : "Sons");
        EXPECT_STREQ(g_cdSoundsFolder, "D:\\Datas\\CDSons");
        EXPECT_EQ(std::string(BaseFolder()), tree.WindowsPath("lib/tavelin"));
        ASSERT_NE(g_pictureModule, nullptr);
        EXPECT_EQ(platform::LibraryFileName(g_pictureModule),
                  programFolderHasIt ? tree.WindowsPath("lib/tavelin/Banques.dat")
                                     : "D:\\Datas\\Banques.dat");
        {
            PictureModuleScope scope;
            EXPECT_EQ(g_resourceModule, g_pictureModule);
            EXPECT_NE(FindResourceA(g_resourceModule, MAKEINTRESOURCEA(1490), RT_BITMAP), nullptr);
        }
        EXPECT_EQ(g_resourceModule, theApp.m_instance);
        for (int id : kCursorIds)
            EXPECT_NE(LoadedCursor(id), g_initialCursor) << id;
        for (const char* file : kFontFiles) {
            EXPECT_TRUE(platform::gdi::IsFontKeyRegistered(tree.Path("cd/Datas/Polices/") + file))
                << file;
        }

        ShutdownConfiguration();
        EXPECT_EQ(g_pictureModule, nullptr);
        EXPECT_EQ(g_configurationPalette, nullptr);
        for (const char* file : kFontFiles) {
            EXPECT_FALSE(platform::gdi::IsFontKeyRegistered(tree.Path("cd/Datas/Polices/") + file))
                << file;
        }
    }
}

TEST(Configuration, FontsThatCannotBeRegisteredAreReportedOnce) {
    ConfigurationTree tree;
    fs::remove(tree.Path("cd/Datas/Polices/Univers.ttf"));
    fs::remove(tree.Path("cd/Datas/Polices/Joff.ttf"));
    tree.Write("cd/Datas/Polices/Joff.ttf", "not a font");
    ASSERT_TRUE(LoadConfiguration());
    const std::vector<std::string> once = {"message 2030 Styles and fonts loading is not possible.",
                                           "answer 1"};
    EXPECT_EQ(tree.Boxes(), once);
    EXPECT_TRUE(platform::gdi::IsFontKeyRegistered(tree.Path("cd/Datas/Polices/Goudi.ttf")));
    ShutdownConfiguration();
}

TEST(ConfigurationDeathTest, MissingPictureModuleOrCursorIsFatal) {
    {
        ConfigurationTree tree;
        fs::remove(tree.Path("cd/Datas/Banques.dat"));
        EXPECT_EXIT(LoadConfiguration(), ::testing::ExitedWithCode(1),
                    "Can\u2019t find the file D:\\\\Datas\\\\Banques.dat");
    }
    {
        ConfigurationTree tree({209});
        EXPECT_EXIT(LoadConfiguration(), ::testing::ExitedWithCode(1),
                    "Can\u2019t load a mouse cursor.");
    }
}

}  // namespace
