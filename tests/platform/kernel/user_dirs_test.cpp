// The desktop's folders: user-dirs.dirs as outside input, the pictures folder
// chosen from it, and the Linux folder behind a drive letter.
#include "platform/kernel/user_dirs.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <optional>
#include <string>

#include "platform/windows.h"
#include "tests/platform/kernel/kernel_test_folder.h"

namespace platform {
namespace {

using testing::KernelTestFolder;

TEST(KernelUserDirs, ReadsTheFolderAsTheDesktopDoesAndRefusesBadLines) {
    const struct {
        std::string bytes;
        const char* folder;  // null: no folder
    } cases[] = {
        {"XDG_PICTURES_DIR=\"$HOME/Images\"\n", "/home/child/Images"},
        {"  XDG_PICTURES_DIR = \"$HOME/Mes images\"", "/home/child/Mes images"},
        {"XDG_PICTURES_DIR=\"/srv/photos/\"", "/srv/photos"},
        {"XDG_PICTURES_DIR=\"$HOME\"", "/home/child"},
        {"XDG_PICTURES_DIR=\"$HOME/a\\\"b\\\\c\"", "/home/child/a\"b\\c"},
        {"XDG_PICTURES_DIR=\"$HOME/\xC3\xA9t\xC3\xA9\"", "/home/child/\xC3\xA9t\xC3\xA9"},
        {"XDG_PICTURES_DIR=\"$HOME/first\"\nXDG_PICTURES_DIR=\"$HOME/last\"", "/home/child/last"},
        {"XDG_PICTURES_DIR=\"$HOME/good\"\nXDG_PICTURES_DIR=\"relative\"", "/home/child/good"},
        {"XDG_DESKTOP_DIR=\"$HOME/Bureau\"\nXDG_PICTURES_DIR=\"$HOME/Images\"", "/home/child/Images"},
        {"# XDG_PICTURES_DIR=\"$HOME/comment\"", nullptr},
        {"XDG_PICTURES_DIRS=\"$HOME/longer name\"", nullptr},
        {"XDG_PICTURES_DIR=\"Images\"", nullptr},
        {"XDG_PICTURES_DIR=\"\"", nullptr},
        {"XDG_PICTURES_DIR=\"$HOMEWORK/x\"", nullptr},
        {"XDG_PICTURES_DIR=\"$HOME/unclosed", nullptr},
        {"XDG_PICTURES_DIR=\"$HOME/ends in a backslash\\", nullptr},
        {"XDG_PICTURES_DIR=$HOME/unquoted", nullptr},
        {"XDG_PICTURES_DIR", nullptr},
        {std::string("XDG_PICTURES_DIR=\"$HOME/a\0b\"", 28), nullptr},
        {"XDG_PICTURES_DIR=\"/" + std::string(5000, 'a') + "\"", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto folder = ParseUserDirs(c.bytes, "XDG_PICTURES_DIR", "/home/child");
        EXPECT_EQ(folder.value_or("<none>"), c.folder != nullptr ? c.folder : "<none>") << c.bytes;
    }
}

// Sets the desktop's variables for one test and puts them back after it.
class DesktopVariables {
public:
    DesktopVariables() {
        for (int i = 0; i < 3; ++i) {
            const char* value = getenv(kNames[i]);
            if (value != nullptr) m_saved[i] = value;
            unsetenv(kNames[i]);
        }
    }
    ~DesktopVariables() {
        for (int i = 0; i < 3; ++i) {
            if (m_saved[i]) setenv(kNames[i], m_saved[i]->c_str(), 1);
            else unsetenv(kNames[i]);
        }
    }

private:
    static constexpr const char* kNames[3] = {"HOME", "XDG_CONFIG_HOME", "XDG_PICTURES_DIR"};
    std::optional<std::string> m_saved[3];
};

TEST(KernelUserDirs, PicturesFolderComesFromTheDesktopFileThenTheVariableThenHome) {
    KernelTestFolder folder;
    DesktopVariables variables;
    setenv("HOME", folder.Path("home").c_str(), 1);
    char path[MAX_PATH];
    auto answer = [&]() {
        EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
        return std::string(path);
    };
    const std::string home = folder.WindowsPath("home");
    EXPECT_EQ(answer(), home + "\\Pictures");
    setenv("XDG_PICTURES_DIR", folder.Path("photos").c_str(), 1);
    EXPECT_EQ(answer(), folder.WindowsPath("photos"));
    folder.Write("home/.config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Images\"\n");
    EXPECT_EQ(answer(), home + "\\Images");
    // XDG_CONFIG_HOME moves the desktop file; a pipe there is not waited on.
    setenv("XDG_CONFIG_HOME", folder.Path("elsewhere").c_str(), 1);
    ASSERT_EQ(mkdir(folder.Path("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(mkfifo(folder.Path("elsewhere/user-dirs.dirs").c_str(), 0600), 0);
    EXPECT_EQ(answer(), folder.WindowsPath("photos"));
    // A folder that Windows-1252 cannot spell is passed over.
    setenv("XDG_PICTURES_DIR", folder.Path("\xD0\x9A").c_str(), 1);
    EXPECT_EQ(answer(), home + "\\Pictures");

    EXPECT_EQ(SHGetFolderPathA(nullptr, 0x0005, nullptr, 0, path), E_INVALIDARG);
    unsetenv("HOME");
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, 0, path), E_FAIL);
    EXPECT_STREQ(path, "");
}

TEST(KernelUserDirs, QueryDosDeviceNamesTheFolderBehindADrive) {
    KernelTestFolder folder;
    char target[MAX_PATH];
    const std::string data = folder.Path("cd");
    ASSERT_EQ(QueryDosDeviceA("d:", target, sizeof target), data.size() + 2);
    EXPECT_EQ(std::string(target), data);
    EXPECT_EQ(target[data.size() + 1], '\0');
    ASSERT_EQ(QueryDosDeviceA("Z:", target, sizeof target), 3u);
    EXPECT_STREQ(target, "/");
    EXPECT_EQ(QueryDosDeviceA("Z:", target, 2), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    for (const char* name : {"Q:", "D:\\", "D", "COM1", ""}) {
        EXPECT_EQ(QueryDosDeviceA(name, target, sizeof target), 0u) << name;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << name;
    }
}

}  // namespace
}  // namespace platform
