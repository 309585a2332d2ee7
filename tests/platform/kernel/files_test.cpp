#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/kernel/find.h"
#include "platform/win/kernel.h"
#include "tests/platform/kernel/kernel_test_folder.h"

namespace platform {
namespace {

using testing::KernelTestFolder;

class CapturedLog : public EventLog {
public:
    explicit CapturedLog(std::vector<std::string>& lines) : m_lines(lines) {}
    void Line(const std::string& line) override { m_lines.push_back(line); }

private:
    std::vector<std::string>& m_lines;
};

HANDLE Open(const std::string& name, DWORD access, DWORD disposition) {
    return CreateFileA(name.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

TEST(KernelFiles, CreateWriteSeekReadAndSize) {
    KernelTestFolder folder;
    const std::string name = folder.WindowsPath("pictures/Chat.BMP");
    ASSERT_TRUE(CreateDirectoryA(folder.WindowsPath("pictures").c_str(), nullptr));

    std::vector<std::string> lines;
    std::unique_ptr<EventLog> saved = std::move(CurrentBackend().log);
    CurrentBackend().log = std::make_unique<CapturedLog>(lines);
    HANDLE file = Open(name, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    CurrentBackend().log = std::move(saved);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(lines, std::vector<std::string>{"file write " + name});

    DWORD count = 0;
    ASSERT_TRUE(WriteFile(file, "0123456789", 10, &count, nullptr));
    EXPECT_EQ(count, 10u);
    EXPECT_EQ(GetFileSize(file, nullptr), 10u);
    EXPECT_EQ(SetFilePointer(file, 2, nullptr, FILE_BEGIN), 2u);
    EXPECT_EQ(SetFilePointer(file, 3, nullptr, FILE_CURRENT), 5u);
    EXPECT_EQ(SetFilePointer(file, -4, nullptr, FILE_END), 6u);
    EXPECT_EQ(SetFilePointer(file, -7, nullptr, FILE_END), 3u);
    EXPECT_EQ(SetFilePointer(file, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    char buffer[40] = {};
    // Reading past the end delivers what there is and still succeeds.
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(count, 7u);
    EXPECT_STREQ(buffer, "3456789");
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(FlushFileBuffers(file));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ReadFile(file, buffer, 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    // Opened for reading only, the same file refuses writes.
    file = Open(folder.WindowsPath("PICTURES\\chat.bmp"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFile(file, "x", 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(file);

    file = Open(name, GENERIC_WRITE, CREATE_ALWAYS);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    CloseHandle(file);
}

TEST(KernelFiles, OpenFailuresGiveWindowsErrors) {
    KernelTestFolder folder;
    folder.Write("cd/Datas/x.bin", "data");
    folder.Write("home/old.bmp", "old");
    const struct {
        std::string name;
        DWORD access;
        DWORD disposition;
        DWORD error;
    } cases[] = {
        {folder.WindowsPath("home/none.bmp"), GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {folder.WindowsPath("nowhere/none.bmp"), GENERIC_READ, OPEN_EXISTING,
         ERROR_PATH_NOT_FOUND},
        {folder.WindowsPath("nowhere/none.bmp"), GENERIC_WRITE, CREATE_ALWAYS,
         ERROR_PATH_NOT_FOUND},
        {folder.WindowsPath("home/old.bmp/x"), GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {folder.WindowsPath("HOME/OLD.bmp"), GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
        {folder.WindowsPath("home"), GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {folder.WindowsPath("home/old.bmp"), GENERIC_READ, TRUNCATE_EXISTING,
         ERROR_INVALID_PARAMETER},
        {folder.WindowsPath("home/old.bmp"), GENERIC_READ, 9, ERROR_INVALID_PARAMETER},
        {"D:\\Datas\\x.bin", GENERIC_WRITE, OPEN_EXISTING, ERROR_WRITE_PROTECT},
        {"D:\\Datas\\new.bin", GENERIC_WRITE, CREATE_NEW, ERROR_WRITE_PROTECT},
        {"Q:\\x.bin", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {folder.WindowsPath("home/a?b"), GENERIC_WRITE, CREATE_NEW, ERROR_INVALID_NAME},
        {folder.WindowsPath("home/pipe.bmp"), GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {folder.WindowsPath("home/pipe.bmp"), GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
    };
    // A pipe with nobody writing would block a plain open forever.
    ASSERT_EQ(mkfifo(folder.Path("home/pipe.bmp").c_str(), 0600), 0);
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_EQ(Open(c.name, c.access, c.disposition), INVALID_HANDLE_VALUE) << c.name;
        EXPECT_EQ(GetLastError(), c.error) << c.name;
    }
    EXPECT_EQ(folder.Read("home/old.bmp"), "old");
    HANDLE data = Open("D:\\DATAS\\X.BIN", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(data, INVALID_HANDLE_VALUE);
    CloseHandle(data);

    if (geteuid() != 0) {
        chmod(folder.Path("home/old.bmp").c_str(), 0444);
        EXPECT_EQ(Open(folder.WindowsPath("home/old.bmp"), GENERIC_WRITE, OPEN_EXISTING),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_EQ(GetFileAttributesA(folder.WindowsPath("home/old.bmp").c_str()),
                  static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    }
}

TEST(KernelFiles, MoveRefusesAnExistingTargetUnlessAskedToReplace) {
    KernelTestFolder folder;
    folder.Write("p/TempName.0", "new");
    folder.Write("p/chat.bmp", "old");
    const std::string temp = folder.WindowsPath("p/TempName.0");
    const std::string target = folder.WindowsPath("p/Chat.BMP");

    EXPECT_FALSE(MoveFileA(temp.c_str(), target.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(folder.Read("p/chat.bmp"), "old");

    ASSERT_TRUE(MoveFileExA(temp.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(folder.Read("p/chat.bmp"), "new");
    EXPECT_EQ(GetFileAttributesA(temp.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    EXPECT_FALSE(MoveFileA(temp.c_str(), target.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(MoveFileA(target.c_str(), folder.WindowsPath("q/x.bmp").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    // Renaming a file onto itself in another case changes only the case.
    ASSERT_TRUE(MoveFileA(target.c_str(), target.c_str()));
    EXPECT_EQ(folder.Read("p/Chat.BMP"), "new");

    ASSERT_TRUE(MoveFileA(target.c_str(), folder.WindowsPath("p/renamed.bmp").c_str()));
    EXPECT_TRUE(DeleteFileA(folder.WindowsPath("P/RENAMED.BMP").c_str()));
    EXPECT_FALSE(DeleteFileA(folder.WindowsPath("p/renamed.bmp").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileA(folder.WindowsPath("p").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(KernelFiles, FoldersAreMadeAndRemoved) {
    KernelTestFolder folder;
    const std::string name = folder.WindowsPath("Pictures");
    ASSERT_TRUE(CreateDirectoryA(name.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA(folder.WindowsPath("PICTURES").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryA(folder.WindowsPath("a/b").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA(name.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    folder.Write("Pictures/x", "");
    EXPECT_FALSE(RemoveDirectoryA(name.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_FALSE(RemoveDirectoryA((name + "\\x").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
    ASSERT_TRUE(DeleteFileA((name + "\\X").c_str()));
    EXPECT_TRUE(RemoveDirectoryA(name.c_str()));
    EXPECT_FALSE(CreateDirectoryA("D:\\New", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
}

TEST(KernelFiles, WildcardsMatchLikeWindows) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*", "anything", true},      {"*.bmp", "Chat.BMP", true}, {"*.BMP", "chat.bmp.txt", false},
        {"*.*", "README", true},      {"*.", "README", true},      {"*.", "a.b", false},
        {"?at.bmp", "Chat.bmp", false}, {"??at.bmp", "Chat.bmp", true}, {"c*t*", "Chat.bmp", true},
        {"*a*a*", "banana", true},    {"*x", "banana", false},     {"TempName.?", "tempname.7", true},
        {"", "", true},               {"", "a", false},            {"\xe9*", "\xc9t\xe9", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
    }
}

std::vector<std::string> FindAll(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.push_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return names;
}

TEST(KernelFiles, FindListsMatchesWithTheirAttributes) {
    KernelTestFolder folder;
    folder.Write("p/b.BMP", "12345");
    folder.Write("p/A.bmp", "");
    folder.Write("p/c.txt", "");
    folder.Write("p/Sub/x", "");
    const std::string p = folder.WindowsPath("P");
    using Names = std::vector<std::string>;
    EXPECT_EQ(FindAll(p + "\\*.bmp"), (Names{"A.bmp", "b.BMP"}));
    EXPECT_EQ(FindAll(p + "\\*"), (Names{".", "..", "A.bmp", "b.BMP", "c.txt", "Sub"}));
    EXPECT_EQ(FindAll(p + "\\B.bmp"), (Names{"b.BMP"}));
    EXPECT_EQ(FindAll(p), (Names{"p"}));
    EXPECT_EQ(FindAll("D:\\*"), (Names{}));

    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((p + "\\b.bmp").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    // A FILETIME counts from 1601: anything written this century is past
    // 0x01D0000000000000.
    EXPECT_GT(data.ftLastWriteTime.dwHighDateTime, 0x01D00000u);
    FindClose(search);
    search = FindFirstFileA((p + "\\sub").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    FindClose(search);

    EXPECT_EQ(FindFirstFileA((p + "\\*.gif").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirstFileA((p + "\\none\\*.gif").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
}

}  // namespace
}  // namespace platform
