// Parsing of Windows paths and their resolution through the drive table, with
// a case-insensitive match for each component that does not exist as written.
#include "platform/kernel/paths.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/backend/backend.h"
#include "platform/kernel/codepage.h"
#include "platform/win/kernel.h"

namespace platform {
namespace {

constexpr size_t kMaxReportedNames = 64;

std::string CurrentLinuxFolder() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr) {
        return "/";
    }
    return buffer;
}

std::vector<std::string> SplitLinux(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        start = end + 1;
    }
    return parts;
}

std::string JoinLinux(const std::string& folder, const std::string& name) {
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The entry of folder whose Windows name equals name ignoring case; the
// smallest such entry when several match, so that the answer is stable.
std::optional<std::string> FindEntryNoCase(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* entry = readdir(dir)) {
        const std::string linuxName = entry->d_name;
        if (linuxName == "." || linuxName == "..") {
            continue;
        }
        if (EqualNoCase(Utf8ToCp1252(linuxName), name) && (!best || linuxName < *best)) {
            best = linuxName;
        }
    }
    closedir(dir);
    return best;
}

bool IsInvalidNameChar(char c, bool allowWildcards) {
    if (static_cast<unsigned char>(c) < 0x20) {
        return true;
    }
    switch (c) {
        case '<':
        case '>':
        case '|':
        case '"':
        case ':':
            return true;
        case '*':
        case '?':
            return !allowWildcards;
        default:
            return false;
    }
}

// Splits the part after the drive into components, applying "." and "..",
// which never climb above the drive's root.
bool AppendComponents(std::string_view rest, bool allowWildcards, WindowsPath& path) {
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string_view::npos) {
            end = rest.size();
        }
        const std::string_view part = rest.substr(start, end - start);
        const bool last = end == rest.size();
        start = end + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            if (!path.components.empty()) {
                path.components.pop_back();
            }
            continue;
        }
        for (char c : part) {
            if (IsInvalidNameChar(c, allowWildcards && last)) {
                return false;
            }
        }
        path.components.emplace_back(part);
    }
    return true;
}

// Windows drops the dots and blanks that end a file name.
void TrimLastComponent(WindowsPath& path) {
    if (path.components.empty()) {
        return;
    }
    std::string& last = path.components.back();
    while (!last.empty() && (last.back() == '.' || last.back() == ' ')) {
        last.pop_back();
    }
    if (last.empty()) {
        path.components.pop_back();
    }
}

WindowsPath CurrentWindowsFolder() {
    const std::string current = ToWindowsPath(CurrentLinuxFolder());
    WindowsPath path;
    path.letter = current[0];
    AppendComponents(std::string_view(current).substr(2), false, path);
    return path;
}

}  // namespace

std::string NormalizeLinuxPath(std::string_view path) {
    std::string absolute(path);
    if (path.empty() || path[0] != '/') {
        absolute = JoinLinux(CurrentLinuxFolder(), absolute);
    }
    std::string out;
    for (const std::string& part : SplitLinux(absolute)) {
        out += "/" + part;
    }
    return out.empty() ? "/" : out;
}

std::string WindowsPath::ToString() const {
    std::string out{letter, ':', '\\'};
    for (size_t i = 0; i < components.size(); ++i) {
        out += (i == 0 ? "" : "\\") + components[i];
    }
    return out;
}

std::optional<WindowsPath> ParseWindowsPath(const char* text, bool allowWildcards, DWORD& error) {
    error = ERROR_PATH_NOT_FOUND;
    if (text == nullptr || text[0] == '\0') {
        return std::nullopt;
    }
    std::string given(text);
    std::replace(given.begin(), given.end(), '/', '\\');
    std::string_view rest(given);
    WindowsPath path;
    const bool hasDrive =
        rest.size() >= 2 && rest[1] == ':' && isalpha(static_cast<unsigned char>(rest[0]));
    if (hasDrive) {
        path.letter = FoldCase(rest[0]);
        rest.remove_prefix(2);
        if (rest.empty() || rest[0] != '\\') {
            const WindowsPath current = CurrentWindowsFolder();
            if (current.letter == path.letter) {
                path = current;
            }
        }
    } else if (rest.substr(0, 2) == "\\\\") {
        return std::nullopt;
    } else if (!rest.empty() && rest[0] == '\\') {
        path.letter = CurrentWindowsFolder().letter;
    } else {
        path = CurrentWindowsFolder();
    }
    if (!AppendComponents(rest, allowWildcards, path)) {
        error = ERROR_INVALID_NAME;
        return std::nullopt;
    }
    if (!allowWildcards) {
        TrimLastComponent(path);
    }
    error = NO_ERROR;
    return path;
}

std::optional<ResolvedPath> Resolve(const WindowsPath& path, DWORD& error) {
    const auto drive = FindDrive(path.letter);
    if (!drive) {
        error = ERROR_PATH_NOT_FOUND;
        return std::nullopt;
    }
    ResolvedPath resolved;
    resolved.windowsPath = path.ToString();
    resolved.driveType = drive->type;
    std::string current = drive->root;
    bool exists = Exists(current);
    bool parentExists = exists;
    for (const std::string& component : path.components) {
        parentExists = exists && IsFolder(current);
        std::string candidate = JoinLinux(current, Cp1252ToUtf8(component));
        if (exists && !Exists(candidate)) {
            if (const auto match = FindEntryNoCase(current, component)) {
                candidate = JoinLinux(current, *match);
            } else {
                exists = false;
            }
        }
        current = std::move(candidate);
    }
    resolved.linuxPath = std::move(current);
    resolved.exists = exists;
    resolved.parentExists = parentExists;
    error = NO_ERROR;
    return resolved;
}

std::optional<ResolvedPath> ResolvePath(const char* text, DWORD& error) {
    const auto path = ParseWindowsPath(text, false, error);
    if (!path) {
        return std::nullopt;
    }
    return Resolve(*path, error);
}

std::string ToLinuxPath(const char* windowsPath) {
    DWORD error = NO_ERROR;
    const auto resolved = ResolvePath(windowsPath, error);
    return resolved ? resolved->linuxPath : std::string();
}

namespace {

// The folder drive (any but Z:) whose root holds path, the deepest one.
const Drive* FindFolderDrive(const std::vector<Drive>& drives, const std::string& path) {
    const Drive* best = nullptr;
    for (const Drive& drive : drives) {
        const std::string& root = drive.root;
        const bool inside =
            root != "/" && path.rfind(root, 0) == 0 &&
            (path.size() == root.size() || path[root.size()] == '/');
        if (inside && (best == nullptr || root.size() > best->root.size())) {
            best = &drive;
        }
    }
    return best;
}

}  // namespace

std::string ToWindowsPath(const std::string& linuxPath) {
    std::string path = NormalizeLinuxPath(linuxPath);
    const std::vector<Drive> drives = CurrentDrives();
    const Drive* drive = FindFolderDrive(drives, path);
    if (drive == nullptr) {
        // A path outside every folder drive may still reach one through a link.
        char buffer[PATH_MAX];
        if (realpath(path.c_str(), buffer) != nullptr) {
            drive = FindFolderDrive(drives, buffer);
            if (drive != nullptr) {
                path = buffer;
            }
        }
    }
    std::string out{drive != nullptr ? drive->letter : kRootDriveLetter, ':'};
    const std::string rest = drive != nullptr ? path.substr(drive->root.size()) : path;
    bool lost = false;
    for (const std::string& part : SplitLinux(rest)) {
        out += "\\" + Utf8ToCp1252(part, &lost);
    }
    if (lost) {
        ReportUnusableName(path);
    }
    return out.size() == 2 ? out + "\\" : out;
}

void ReportUnusableName(const std::string& what) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    {
        std::lock_guard lock(mutex);
        if (reported.size() >= kMaxReportedNames || !reported.insert(what).second) {
            return;
        }
    }
    const std::string text = "\"" + what +
                             "\" holds a character missing from Windows-1252, the program's "
                             "character set; the program cannot use this name: rename it "
                             "with Western European letters only";
    fprintf(stderr, "tavelin: %s\n", text.c_str());
    LogLine("unusable name " + what);
}

DWORD CopyPathOut(const std::string& text, char* buffer, DWORD size) {
    if (buffer == nullptr || text.size() + 1 > size) {
        return static_cast<DWORD>(text.size() + 1);
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

}  // namespace platform
