// FindFirstFileA, FindNextFileA and FindClose: a search takes a sorted
// snapshot of the matching entries of one folder when it starts.
#include "platform/kernel/find.h"

#include <dirent.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/kernel/codepage.h"
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"

namespace platform {
namespace {

constexpr uintptr_t kFirstFindHandle = 0x4000000;
constexpr uintptr_t kHandleStep = 4;
constexpr size_t kMaxSearches = 1024;

struct Search {
    std::vector<WIN32_FIND_DATAA> entries;
    size_t next = 0;
};

struct SearchTable {
    std::mutex mutex;
    std::unordered_map<uintptr_t, Search> searches;
    uintptr_t next = kFirstFindHandle;
};

SearchTable& Searches() {
    static SearchTable table;
    return table;
}

bool MatchFrom(std::string_view pattern, std::string_view name) {
    size_t p = 0;
    size_t n = 0;
    size_t starPattern = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || (pattern[p] != '*' && FoldCase(pattern[p]) == FoldCase(name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool HasWildcards(std::string_view pattern) {
    return pattern.find_first_of("*?") != std::string_view::npos;
}

// Fills a find record for one entry; false when it cannot be described.
bool Describe(const std::string& linuxPath, const std::string& windowsName, bool readOnlyDrive,
              WIN32_FIND_DATAA& data) {
    struct stat info {};
    if (windowsName.size() >= MAX_PATH ||
        (stat(linuxPath.c_str(), &info) != 0 && lstat(linuxPath.c_str(), &info) != 0)) {
        return false;
    }
    data = WIN32_FIND_DATAA{};
    data.dwFileAttributes = AttributesFromStat(linuxPath, info, readOnlyDrive);
    data.ftCreationTime = FileTimeFromTimespec(info.st_ctim);
    data.ftLastAccessTime = FileTimeFromTimespec(info.st_atim);
    data.ftLastWriteTime = FileTimeFromTimespec(info.st_mtim);
    if (!S_ISDIR(info.st_mode)) {
        const auto size = static_cast<uint64_t>(info.st_size);
        data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(size);
    }
    std::memcpy(data.cFileName, windowsName.c_str(), windowsName.size() + 1);
    return true;
}

std::string FileNameOf(const std::string& linuxPath) {
    return linuxPath.substr(linuxPath.rfind('/') + 1);
}

// The matching entries of folder, "." and ".." included outside a drive root
// as Windows lists them, sorted ignoring case.
std::vector<WIN32_FIND_DATAA> ListMatches(const ResolvedPath& folder, bool isDriveRoot,
                                          const std::string& pattern) {
    std::vector<WIN32_FIND_DATAA> matches;
    DIR* dir = opendir(folder.linuxPath.c_str());
    if (dir == nullptr) {
        return matches;
    }
    const bool readOnly = folder.driveType == DRIVE_CDROM;
    while (const dirent* entry = readdir(dir)) {
        const std::string linuxName = entry->d_name;
        const bool dots = linuxName == "." || linuxName == "..";
        bool lost = false;
        const std::string windowsName = dots ? linuxName : Utf8ToCp1252(linuxName, &lost);
        if (lost) {
            // A name the program cannot spell could not be opened again:
            // it is left out of the list, and said why.
            ReportUnusableName(folder.linuxPath + "/" + linuxName);
            continue;
        }
        WIN32_FIND_DATAA data;
        if ((!dots || !isDriveRoot) && MatchWildcard(pattern, windowsName) &&
            Describe(folder.linuxPath + "/" + linuxName, windowsName, readOnly, data)) {
            matches.push_back(data);
        }
    }
    closedir(dir);
    auto folded = [](const WIN32_FIND_DATAA& data) {
        std::string name = data.cFileName;
        std::transform(name.begin(), name.end(), name.begin(), FoldCase);
        return name;
    };
    std::sort(matches.begin(), matches.end(),
              [&](const auto& a, const auto& b) { return folded(a) < folded(b); });
    return matches;
}

HANDLE FailFind(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool MatchWildcard(std::string_view pattern, std::string_view name) {
    if (MatchFrom(pattern, name)) {
        return true;
    }
    return name.find('.') == std::string_view::npos && MatchFrom(pattern, std::string(name) + ".");
}

}  // namespace platform

using namespace platform;

HANDLE WINAPI FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findData) {
    DWORD error = NO_ERROR;
    auto path = ParseWindowsPath(fileName, true, error);
    if (!path) {
        return FailFind(error);
    }
    if (path->components.empty() || findData == nullptr) {
        return FailFind(path->components.empty() ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER);
    }
    const std::string pattern = path->components.back();
    path->components.pop_back();
    const auto folder = Resolve(*path, error);
    struct stat info {};
    if (!folder || !folder->exists || stat(folder->linuxPath.c_str(), &info) != 0 ||
        !S_ISDIR(info.st_mode)) {
        return FailFind(folder ? ERROR_PATH_NOT_FOUND : error);
    }
    std::vector<WIN32_FIND_DATAA> matches;
    if (HasWildcards(pattern)) {
        matches = ListMatches(*folder, path->components.empty(), pattern);
    } else {
        path->components.push_back(pattern);
        const auto file = Resolve(*path, error);
        WIN32_FIND_DATAA data;
        if (file && file->exists &&
            Describe(file->linuxPath, Utf8ToCp1252(FileNameOf(file->linuxPath)),
                     file->driveType == DRIVE_CDROM, data)) {
            matches.push_back(data);
        }
    }
    if (matches.empty()) {
        return FailFind(ERROR_FILE_NOT_FOUND);
    }
    *findData = matches.front();
    SearchTable& table = Searches();
    std::lock_guard lock(table.mutex);
    if (table.searches.size() >= kMaxSearches) {
        return FailFind(ERROR_TOO_MANY_OPEN_FILES);
    }
    const uintptr_t value = table.next;
    table.next += kHandleStep;
    table.searches.emplace(value, Search{std::move(matches), 1});
    SetLastError(NO_ERROR);
    return reinterpret_cast<HANDLE>(value);
}

BOOL WINAPI FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findData) {
    SearchTable& table = Searches();
    std::lock_guard lock(table.mutex);
    const auto found = table.searches.find(reinterpret_cast<uintptr_t>(findFile));
    if (found == table.searches.end() || findData == nullptr) {
        SetLastError(found == table.searches.end() ? ERROR_INVALID_HANDLE
                                                   : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Search& search = found->second;
    if (search.next >= search.entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *findData = search.entries[search.next++];
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE findFile) {
    SearchTable& table = Searches();
    std::lock_guard lock(table.mutex);
    if (table.searches.erase(reinterpret_cast<uintptr_t>(findFile)) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
