#include "platform/kernel/paths.h"

#include <gtest/gtest.h>

#include "platform/kernel/codepage.h"
#include "platform/win/kernel.h"
#include "tests/platform/kernel/kernel_test_folder.h"

namespace platform {
namespace {

using testing::KernelTestFolder;

TEST(KernelPaths, DriveLettersAndSeparatorsMapToLinuxFolders) {
    KernelTestFolder folder;
    folder.Write("cd/Datas/Sons/clic.wav", "RIFF");
    const struct {
        const char* windows;
        std::string linux;
    } cases[] = {
        {"Z:\\", "/"},
        {"z:/usr/../usr/bin", "/usr/bin"},
        {"D:\\", folder.Path("cd")},
        {"D:\\Datas\\Sons\\clic.wav", folder.Path("cd/Datas/Sons/clic.wav")},
        {"d:/Datas/Sons/clic.wav", folder.Path("cd/Datas/Sons/clic.wav")},
        {"D:\\Datas\\..\\..\\..\\Datas", folder.Path("cd/Datas")},
        {"D:\\Datas\\.\\Sons\\\\clic.wav", folder.Path("cd/Datas/Sons/clic.wav")},
        {"D:\\Datas\\Sons\\new.bmp", folder.Path("cd/Datas/Sons/new.bmp")},
        {"D:\\Datas\\Sons\\clic.wav. ", folder.Path("cd/Datas/Sons/clic.wav")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToLinuxPath(c.windows), c.linux) << c.windows;
    }
    for (const char* bad : {"", "Q:\\x", "\\\\server\\share\\x", "Z:\\a<b", "Z:\\a*"}) {
        EXPECT_EQ(ToLinuxPath(bad), "") << bad;
    }
    EXPECT_EQ(ToLinuxPath(nullptr), "");
}

TEST(KernelPaths, ResolvesEachComponentIgnoringCase) {
    KernelTestFolder folder;
    folder.Write("cd/Datas/Sons/clic.wav", "RIFF");
    folder.Write("cd/Datas/\xc3\xa9t\xc3\xa9.bmp", "BM");  // "été.bmp" in UTF-8
    EXPECT_EQ(ToLinuxPath("D:\\DATAS\\SONS\\Clic.WAV"), folder.Path("cd/Datas/Sons/clic.wav"));
    // A missing last component keeps the case it was given; its folder is found.
    EXPECT_EQ(ToLinuxPath("D:\\datas\\sons\\Nouveau.WAV"),
              folder.Path("cd/Datas/Sons/Nouveau.WAV"));
    // Windows-1252 names reach their UTF-8 files, in either case.
    EXPECT_EQ(ToLinuxPath("D:\\Datas\\\xc9T\xc9.BMP"),
              folder.Path("cd/Datas/\xc3\xa9t\xc3\xa9.bmp"));

    DWORD error = 0;
    const auto missingFolder = ResolvePath("D:\\Datas\\Nope\\x.wav", error);
    ASSERT_TRUE(missingFolder);
    EXPECT_FALSE(missingFolder->exists);
    EXPECT_FALSE(missingFolder->parentExists);
    const auto missingFile = ResolvePath("D:\\DATAS\\x.wav", error);
    ASSERT_TRUE(missingFile);
    EXPECT_FALSE(missingFile->exists);
    EXPECT_TRUE(missingFile->parentExists);
    EXPECT_EQ(missingFile->driveType, static_cast<UINT>(DRIVE_CDROM));
}

TEST(KernelPaths, ExactNameWinsOverOtherCases) {
    KernelTestFolder folder;
    folder.Write("cd/a.txt", "lower");
    folder.Write("cd/A.TXT", "upper");
    EXPECT_EQ(ToLinuxPath("D:\\A.TXT"), folder.Path("cd/A.TXT"));
    EXPECT_EQ(ToLinuxPath("D:\\a.txt"), folder.Path("cd/a.txt"));
    // With no exact match the choice among several is stable.
    EXPECT_EQ(ToLinuxPath("D:\\A.txt"), folder.Path("cd/A.TXT"));
}

TEST(KernelPaths, RelativePathsFollowTheCurrentFolder) {
    KernelTestFolder folder;
    folder.Write("cd/Datas/Sons/clic.wav", "RIFF");
    ASSERT_TRUE(SetCurrentDirectoryA("D:\\datas"));
    char current[MAX_PATH];
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, current), 8u);
    EXPECT_STREQ(current, "D:\\Datas");
    EXPECT_EQ(ToLinuxPath("sons\\CLIC.wav"), folder.Path("cd/Datas/Sons/clic.wav"));
    EXPECT_EQ(ToLinuxPath("..\\Datas"), folder.Path("cd/Datas"));
    EXPECT_EQ(ToLinuxPath("\\Datas"), folder.Path("cd/Datas"));
    EXPECT_EQ(ToLinuxPath("D:Sons"), folder.Path("cd/Datas/Sons"));
    EXPECT_EQ(ToLinuxPath("Z:tmp"), "/tmp");
    EXPECT_EQ(GetCurrentDirectoryA(3, current), 9u);  // the size needed, NUL included
    EXPECT_FALSE(SetCurrentDirectoryA("D:\\Nope"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(KernelPaths, WindowsFormOfLinuxPaths) {
    KernelTestFolder folder;
    EXPECT_EQ(ToWindowsPath("/"), "Z:\\");
    EXPECT_EQ(ToWindowsPath("/home/x/a.bmp"), "Z:\\home\\x\\a.bmp");
    EXPECT_EQ(ToWindowsPath(folder.Path("cd")), "D:\\");
    EXPECT_EQ(ToWindowsPath(folder.Path("cd/Datas//Sons/")), "D:\\Datas\\Sons");
    EXPECT_EQ(ToWindowsPath(folder.Path("cdrom/x")), folder.WindowsPath("cdrom/x"));
    EXPECT_EQ(ToWindowsPath("/tmp/\xc3\xa9t\xc3\xa9\xe2\x82\xac\xe4\xb8\xad"), "Z:\\tmp\\\xe9t\xe9\x80?");
}

TEST(KernelPaths, DataFolderIsACdLabelledPalmiron) {
    KernelTestFolder folder;
    const DWORD drives = GetLogicalDrives();
    EXPECT_EQ(drives, (1u << ('D' - 'A')) | (1u << ('Z' - 'A')));
    EXPECT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM));
    EXPECT_EQ(GetDriveTypeA("D:"), static_cast<UINT>(DRIVE_CDROM));
    EXPECT_EQ(GetDriveTypeA("Z:\\"), static_cast<UINT>(DRIVE_FIXED));
    EXPECT_EQ(GetDriveTypeA("C:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_EQ(GetDriveTypeA("D:\\Datas"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));

    char label[32] = {};
    char fileSystem[16] = {};
    DWORD serial = 0;
    ASSERT_TRUE(GetVolumeInformationA("d:\\", label, sizeof label, &serial, nullptr, nullptr,
                                      fileSystem, sizeof fileSystem));
    EXPECT_STREQ(label, "PALMIRON");
    EXPECT_STREQ(fileSystem, "CDFS");
    EXPECT_FALSE(GetVolumeInformationA("D:\\", label, 4, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_FALSE(GetVolumeInformationA("Q:\\", label, sizeof label, nullptr, nullptr, nullptr,
                                       nullptr, 0));

    // A data folder that is not there is a CD drive with no disc in it.
    CurrentOptions().dataDir = folder.Path("missing");
    EXPECT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM));
    EXPECT_FALSE(GetVolumeInformationA("D:\\", label, sizeof label, nullptr, nullptr, nullptr,
                                       nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
}

TEST(KernelPaths, DefaultDataFolderIsBesideTheProgram) {
    KernelTestFolder folder;
    folder.Write("share/tavelin/cd/Datas/x.bin", "x");
    CurrentOptions().dataDir.clear();
    EXPECT_EQ(ToLinuxPath("D:\\Datas\\X.BIN"), folder.Path("share/tavelin/cd/Datas/x.bin"));
}

TEST(KernelPaths, LabelledMediaFoldersBecomeFurtherCdDrives) {
    KernelTestFolder folder;
    folder.Write("media/user/DISC/.tavelin-label", "PALMIRON\r\nignored");
    folder.Write("media/user/OTHER/.tavelin-label", "  Holidays  ");
    folder.Write("media/user/plain/file", "");
    SetMediaRoots({{folder.Path("media"), 2}});
    EXPECT_EQ(GetLogicalDrives(), (1u << 3) | (1u << 4) | (1u << 5) | (1u << 25));
    char label[32];
    ASSERT_TRUE(GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr,
                                      nullptr, 0));
    EXPECT_STREQ(label, "PALMIRON");
    ASSERT_TRUE(GetVolumeInformationA("F:\\", label, sizeof label, nullptr, nullptr, nullptr,
                                      nullptr, 0));
    EXPECT_STREQ(label, "Holidays");
    EXPECT_EQ(ToLinuxPath("E:\\x"), folder.Path("media/user/DISC/x"));
    EXPECT_EQ(ToWindowsPath(folder.Path("media/user/OTHER/y")), "F:\\y");

    EXPECT_EQ(ParseVolumeLabel(""), "PALMIRON");
    EXPECT_EQ(ParseVolumeLabel(std::string("\0abc", 4)), "PALMIRON");
    EXPECT_EQ(ParseVolumeLabel(std::string(100, 'x')), std::string(32, 'x'));
}

TEST(KernelPaths, ProgramAndWindowsFoldersInDriveLetterForm) {
    KernelTestFolder folder;
    char buffer[MAX_PATH];
    const std::string program = folder.WindowsPath("lib/tavelin/tavelin");
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, MAX_PATH), program.size());
    EXPECT_EQ(buffer, program);
    EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, MAX_PATH), program.size());
    // A short buffer gets the start of the name, terminated, and its size back.
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, 5), 5u);
    EXPECT_STREQ(buffer, "Z:\\t");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    const std::string windows = folder.WindowsPath("config");
    EXPECT_EQ(GetWindowsDirectoryA(buffer, MAX_PATH), windows.size());
    EXPECT_EQ(buffer, windows);
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 2), windows.size() + 1);
}

TEST(KernelPaths, CodePageConversionsRoundTrip) {
    std::string all;
    for (int c = 1; c < 256; ++c) {
        all += static_cast<char>(c);
    }
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xe2\x82\xac");
    // Bytes that are not UTF-8 pass through unchanged.
    EXPECT_EQ(Utf8ToCp1252("a\xff\xc3"), "a\xff\xc3");
    EXPECT_EQ(Utf8ToCp1252("\xed\xa0\x80"), "\xed\xa0\x80");  // an encoded surrogate
    EXPECT_TRUE(EqualNoCase("\xe9t\xe9", "\xc9T\xc9"));
    EXPECT_TRUE(EqualNoCase("\x9c\xff", "\x8c\x9f"));
    EXPECT_FALSE(EqualNoCase("\xf7", "\xd7"));
}

}  // namespace
}  // namespace platform
