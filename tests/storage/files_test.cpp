#include "storage/files.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/paths.h"
#include "shell/app.h"
#include "shell/memory.h"
#include "shell/messages.h"
#include "shell/resources.h"
#include "tests/support/layer.h"

using namespace testing_support;

namespace {

namespace fs = std::filesystem;

// A fresh layer with the English error texts, an empty base folder and a
// temporary folder, reached from the program through its Windows name.
class StorageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* language = getenv("LC_ALL");
        if (language != nullptr) {
            m_savedLanguage = language;
        }
        setenv("LC_ALL", "en_GB.UTF-8", 1);
        ResetLayer();
        theApp.m_instance = GetModuleHandleA(nullptr);
        SetResourceModule(theApp.m_instance);
        LoadErrorTexts();
        char pattern[] = "/tmp/tavelin-storage-XXXXXX";
        m_root = mkdtemp(pattern);
        m_windowsRoot = platform::ToWindowsPath(m_root);
        SetBaseFolder("");
        SetBaseFolder("");
    }

    void TearDown() override {
        FailSaveStepForTesting(SaveStep::kNone, 0);
        SetBaseFolder("");
        SetBaseFolder("");
        if (m_savedLanguage) {
            setenv("LC_ALL", m_savedLanguage->c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    void Write(const std::string& name, const std::string& bytes) {
        fs::create_directories(fs::path(m_root + "/" + name).parent_path());
        std::ofstream(m_root + "/" + name, std::ios::binary) << bytes;
    }

    std::string Read(const std::string& name) {
        std::ifstream in(m_root + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::vector<std::string> Listing(const std::string& folder = "") {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_root + "/" + folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::vector<std::string> Messages() {
        std::vector<std::string> shown;
        for (const std::string& line : LogLines()) {
            if (line.rfind("message ", 0) == 0) {
                shown.push_back(line);
            }
        }
        return shown;
    }

    // Saves bytes to name (in the base folder) through the safe replacement.
    long Save(const char* name, const std::string& bytes, std::string* tempName = nullptr) {
        char temp[kPathSize];
        HANDLE file = nullptr;
        const long opened = OpenForSafeWrite(name, temp, &file);
        if (opened != 0) {
            return opened;
        }
        if (tempName != nullptr) {
            *tempName = temp;
        }
        const long written =
            WriteBlockReporting(file, static_cast<DWORD>(bytes.size()), bytes.data());
        return CloseSafeWrite(file, name, temp, written);
    }

    std::string m_root;
    std::string m_windowsRoot;
    std::optional<std::string> m_savedLanguage;
};

TEST(StorageFiles, PathHelpersFollowTheLastSeparatorAndDot) {
    struct ExtensionCase {
        const char* path;
        const char* extension;
        const char* expected;
    };
    const ExtensionCase extensions[] = {
        {"a.b\\c", "BMP", "a.b\\c.BMP"},
        {"c.txt", "", "c"},
        {"c.txt", "BMP", "c.BMP"},
        {"x/y.z/w", "bin", "x/y.z/w.bin"},
        {"C:\\d\\e.f.g", "h", "C:\\d\\e.f.h"},
        {"noext", "", "noext"},
    };
    for (const auto& c : extensions) {
        char path[kPathSize];
        strcpy(path, c.path);
        EXPECT_TRUE(SetExtension(path, c.extension)) << c.path;
        EXPECT_STREQ(path, c.expected) << c.path << " with " << c.extension;
    }
    char tight[8] = "abc.d";
    EXPECT_FALSE(SetExtension(tight, "long", sizeof tight));
    EXPECT_STREQ(tight, "abc.d");

    const std::pair<const char*, const char*> names[] = {
        {"C:\\a\\b.bmp", "b.bmp"}, {"a/b/c", "c"}, {"C:x.bmp", "x.bmp"},
        {"plain", "plain"},        {"a\\", ""},    {"Z:\\tmp/x\\y/z.bmp", "z.bmp"},
    };
    for (const auto& [path, expected] : names) {
        EXPECT_STREQ(FileNamePart(path), expected) << path;
    }

    char base[8];
    EXPECT_EQ(BaseName("C:\\p\\chat.bmp", base, sizeof base), 0u);
    EXPECT_STREQ(base, "chat");
    EXPECT_EQ(BaseName("C:\\p\\elephant.bmp", base, 4), 9u);
    EXPECT_STREQ(base, "ele");
    EXPECT_EQ(BaseName("a.b\\noext", base, sizeof base), 0u);
    EXPECT_STREQ(base, "noext");

    char folder[16] = "C:\\a\\\\";
    StripTrailingSeparator(folder);
    EXPECT_STREQ(folder, "C:\\a\\");
    strcpy(folder, "a/");
    StripTrailingSeparator(folder);
    EXPECT_STREQ(folder, "a");
}

TEST(StorageFiles, BaseFolderIsPutInFrontAndRestored) {
    char out[kPathSize];
    SetBaseFolder("");
    ASSERT_TRUE(ResolveName("D:\\x.bin", out));
    EXPECT_STREQ(out, "D:\\x.bin");

    SetBaseFolder("C:\\Pictures\\");
    ASSERT_TRUE(ResolveName("chat.bmp", out));
    EXPECT_STREQ(out, "C:\\Pictures\\chat.bmp");
    SetBaseFolder("D:/Datas/");
    ASSERT_TRUE(ResolveName("D:\\x.bin", out));  // not examined
    EXPECT_STREQ(out, "D:/Datas\\D:\\x.bin");
    RestoreBaseFolder();
    EXPECT_STREQ(BaseFolder(), "C:\\Pictures");

    EXPECT_STREQ(BuildPath("chat", "Z:\\tmp\\", "BMP"), "C:\\Pictures\\Z:\\tmp\\chat.BMP");
    SetBaseFolder("");
    EXPECT_STREQ(BuildPath("chat.txt", "Z:\\tmp", "BMP"), "Z:\\tmp\\chat.BMP");
    EXPECT_STREQ(g_givenName, "Z:\\tmp\\chat.BMP");
    EXPECT_STREQ(BuildPath("chat", nullptr, nullptr), "chat");

    const std::string longName(kPathSize, 'n');
    EXPECT_FALSE(ResolveName(longName.c_str(), out));
    EXPECT_STREQ(out, "");
    EXPECT_STREQ(BuildPath(longName.c_str(), "C:\\", "BMP"), "");
}

TEST_F(StorageFilesTest, BlocksReadShortAtTheEndAndPositionsMove) {
    std::string bytes(100, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i);
    }
    Write("data.bin", bytes);
    SetBaseFolder(m_windowsRoot.c_str());
    EXPECT_TRUE(RelativeFileExists("DATA.BIN"));
    EXPECT_FALSE(RelativeDirectoryExists("data.bin"));
    EXPECT_TRUE(DirectoryExists(m_windowsRoot.c_str()));

    HANDLE file = nullptr;
    ASSERT_EQ(OpenNamedFile("data.bin", &file, kOpenRead), 0);
    DWORD size = 0;
    EXPECT_EQ(FileSize(file, &size), 0);
    EXPECT_EQ(size, 100u);
    long position = 90;
    EXPECT_EQ(SeekFile(file, &position, FILE_BEGIN), 0);
    char buffer[40] = {};
    DWORD count = 40;
    EXPECT_EQ(ReadBlock(file, &count, buffer), kShortRead);
    EXPECT_EQ(count, 10u);
    EXPECT_EQ(std::string(buffer, 10), bytes.substr(90));
    position = -50;
    EXPECT_EQ(SeekFile(file, &position, FILE_CURRENT), 0);
    EXPECT_EQ(position, 50);
    DWORD where = 0;
    EXPECT_EQ(TellFile(file, &where), 0);
    EXPECT_EQ(where, 50u);
    position = -60;
    EXPECT_NE(SeekFile(file, &position, FILE_CURRENT), 0);
    EXPECT_EQ(CloseFile(file), 0);

    file = reinterpret_cast<HANDLE>(1);
    EXPECT_EQ(OpenNamedFile("missing.bin", &file, kOpenReadWrite), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(file, nullptr);
    EXPECT_STREQ(g_givenName, "missing.bin");
    EXPECT_EQ(g_fullPath, m_windowsRoot + "\\missing.bin");
    EXPECT_EQ(DeleteRelativeFile("data.bin"), 0);
    EXPECT_EQ(DeleteRelativeFile("data.bin"), ERROR_FILE_NOT_FOUND);
}

TEST_F(StorageFilesTest, WholeFileReadsGiveTheAskedRange) {
    const std::string bytes = "0123456789abcdefghij";
    Write("range.bin", bytes);
    SetBaseFolder(m_windowsRoot.c_str());
    struct Case {
        DWORD from, to;
        long error;
        DWORD size;
    };
    const Case cases[] = {
        {0, kWholeFile, 0, 20},
        {0, 0, 0, 20},
        {5, 9, 0, 4},
        {20, 0, 0, 0},
        {15, 30, kShortRead, 15},
        {25, kWholeFile, kShortRead, 0},
    };
    for (const Case& c : cases) {
        DWORD size = 999;
        long error = 999;
        void* block = ReadWholeFile("range.bin", c.from, c.to, &size, &error);
        EXPECT_EQ(error, c.error) << c.from << ".." << c.to;
        EXPECT_EQ(size, c.size) << c.from << ".." << c.to;
        EXPECT_EQ(block != nullptr, c.error == 0);
        if (block != nullptr) {
            EXPECT_EQ(std::string(static_cast<char*>(block), size), bytes.substr(c.from, c.size));
            FreeBlock(block);
        }
        HGLOBAL global = ReadWholeFileGlobal("range.bin", c.from, c.to, &size, &error);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(global != nullptr, c.error == 0);
        if (global != nullptr) {
            EXPECT_EQ(GlobalSize(global), std::max<size_t>(c.size, 1));
            EXPECT_EQ(std::string(static_cast<char*>(LockGlobal(global)), size),
                      bytes.substr(c.from, c.size));
            GlobalUnlock(global);
            GlobalFree(global);
        }
    }
    long error = 0;
    EXPECT_EQ(ReadWholeFile("none.bin", 0, 0, nullptr, &error), nullptr);
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
}

TEST_F(StorageFilesTest, SavingBesideTakenTemporaryNamesReplacesInOneStep) {
    Write("Chat.BMP", "old drawing");
    Write("TempName.0", "someone else's");
    SetBaseFolder(m_windowsRoot.c_str());
    std::string temp;
    EXPECT_EQ(Save("Chat.BMP", "new drawing", &temp), 0);
    EXPECT_EQ(temp, m_windowsRoot + "\\TempName.1");
    EXPECT_EQ(Read("Chat.BMP"), "new drawing");
    EXPECT_EQ(Read("TempName.0"), "someone else's");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"Chat.BMP", "TempName.0"}));

    // A new name is written directly.
    EXPECT_EQ(Save("Chien.BMP", "first", &temp), 0);
    EXPECT_EQ(temp, "");
    EXPECT_EQ(Read("Chien.BMP"), "first");

    // The temporary file goes beside the file, also for a path without a
    // drive letter and without a base folder.
    SetBaseFolder("");
    Write("pics/Chat.BMP", "old");
    const fs::path savedCurrent = fs::current_path();
    fs::current_path(m_root);
    EXPECT_EQ(Save("pics\\Chat.BMP", "new", &temp), 0);
    fs::current_path(savedCurrent);
    EXPECT_EQ(temp, "pics\\TempName.0");
    EXPECT_EQ(Read("pics/Chat.BMP"), "new");
    EXPECT_EQ(Listing("pics"), std::vector<std::string>{"Chat.BMP"});
    EXPECT_EQ(Messages(), std::vector<std::string>{});
}

TEST_F(StorageFilesTest, SavingKeepsThePermissionBits) {
    Write("Chat.BMP", "old");
    ASSERT_EQ(chmod((m_root + "/Chat.BMP").c_str(), 0640), 0);
    SetBaseFolder(m_windowsRoot.c_str());
    EXPECT_EQ(Save("Chat.BMP", "new"), 0);
    struct stat info {};
    ASSERT_EQ(stat((m_root + "/Chat.BMP").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(Read("Chat.BMP"), "new");

    // A read-only drawing is not replaced.
    ASSERT_EQ(chmod((m_root + "/Chat.BMP").c_str(), 0444), 0);
    EXPECT_EQ(Save("Chat.BMP", "newer"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Read("Chat.BMP"), "new");
    EXPECT_EQ(Listing(), std::vector<std::string>{"Chat.BMP"});
}

TEST_F(StorageFilesTest, AFailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    struct Case {
        const char* what;
        SaveStep step;
        DWORD error;
        long result;
        const char* message;
        bool onNewNameToo;  // a new name is written directly, without a rename
    };
    const Case cases[] = {
        {"disk full while writing", SaveStep::kWrite, ERROR_DISK_FULL, 0,
         "message 2030 Disk is full.", true},
        {"input/output error while writing", SaveStep::kWrite, ERROR_IO_DEVICE, 0,
         "message 2030 Can’t write the file Chat.BMP\\nError type 1117.", true},
        {"flush to disk fails", SaveStep::kFlush, ERROR_IO_DEVICE, ERROR_IO_DEVICE,
         "message 2030 Can’t write the file Chat.BMP\\nError type 1117.", true},
        {"rename fails", SaveStep::kRename, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
         "message 2030 Can’t write the file Chat.BMP\\nError type 5.", false},
        {"rename fails on a protected disk", SaveStep::kRename, ERROR_WRITE_PROTECT,
         ERROR_WRITE_PROTECT, "message 2030 Disk is write protected.", false},
    };
    SetBaseFolder(m_windowsRoot.c_str());
    for (const Case& c : cases) {
        for (const bool exists : {true, false}) {
            if (!exists && !c.onNewNameToo) {
                continue;
            }
            LogLines().clear();
            if (exists) {
                Write("Chat.BMP", "old drawing");
            }
            FailSaveStepForTesting(c.step, c.error);
            EXPECT_EQ(Save("Chat.BMP", "new drawing"), c.result) << c.what;
            EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.what;
            const std::vector<std::string> left =
                exists ? std::vector<std::string>{"Chat.BMP"} : std::vector<std::string>{};
            EXPECT_EQ(Listing(), left) << c.what << (exists ? "" : " on a new name");
            if (exists) {
                EXPECT_EQ(Read("Chat.BMP"), "old drawing") << c.what;
            }
            fs::remove(m_root + "/Chat.BMP");
        }
    }

    // A real failure: the bytes go through a handle that cannot write.
    Write("Chat.BMP", "old drawing");
    char temp[kPathSize];
    HANDLE file = nullptr;
    ASSERT_EQ(OpenForSafeWrite("Chat.BMP", temp, &file), 0);
    const HANDLE reader =
        CreateFileA(temp, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    DWORD count = 3;
    const long written = WriteBlock(reader, &count, "new");
    EXPECT_EQ(written, ERROR_ACCESS_DENIED);
    EXPECT_EQ(CloseFile(reader), 0);
    EXPECT_EQ(CloseSafeWrite(file, "Chat.BMP", temp, written), 0);
    EXPECT_EQ(Read("Chat.BMP"), "old drawing");
    EXPECT_EQ(Listing(), std::vector<std::string>{"Chat.BMP"});
}

TEST_F(StorageFilesTest, FileErrorsShowTheirMessages) {
    struct Case {
        long error;
        int how;
        const char* line;
    };
    const Case cases[] = {
        {5, kReportWrite, "message 2030 Can’t write the file Chat.BMP\\nError type 5."},
        {2, kReportWrite, "message 2030 Can’t find the file Chat.BMP\\nError type 2."},
        {21, kReportRead, "message 2030 There is no disk in the drive.\\nInsert a disk."},
        {32, kReportWrite, "message 2030 The file is already open by another program."},
        {5, kReportRead, "message 2030 Can’t read the file Chat.BMP\\nError type 5."},
        {5, 0, "message 2030 Disk error... File Chat.BMP\\nError type 5."},
        {19, kReportWrite, "message 2030 Disk is write protected."},
        {80, kReportWrite, "message 2030 A file with de same name already exist."},
        {112, kReportWrite, "message 2030 Disk is full."},
        {19, kReportRead, "message 2030 Can’t read the file Chat.BMP\\nError type 19."},
        {112, kReportWrite | kReportRetry, "message 1015 Disk is full."},
    };
    for (const Case& c : cases) {
        LogLines().clear();
        ReportFileError("Chat.BMP", c.error, c.how);
        EXPECT_EQ(Messages(), std::vector<std::string>{c.line}) << c.error << " " << c.how;
    }
}

}  // namespace
