// The user's folders as the desktop names them, and SHGetFolderPathA over
// them.
#include "platform/kernel/user_dirs.h"

#include <stdlib.h>
#include <sys/stat.h>

#include "platform/kernel/codepage.h"
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/windows.h"

namespace platform {
namespace {

constexpr size_t kMaxFolderBytes = 4096;
constexpr std::string_view kHomeVariable = "$HOME";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The quoted value that starts at text[0] ('"'), unescaped; nothing without
// its closing quote or when it holds a NUL or grows too long.
std::optional<std::string> QuotedValue(std::string_view text) {
    std::string value;
    for (size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            return value;
        }
        if (c == '\\') {
            if (++i == text.size()) {
                return std::nullopt;
            }
            c = text[i];
        }
        if (c == '\0' || value.size() >= kMaxFolderBytes) {
            return std::nullopt;
        }
        value += c;
    }
    return std::nullopt;
}

// The folder one line gives to name, when it gives one.
std::optional<std::string> FolderOfLine(std::string_view line, std::string_view name,
                                        const std::string& home) {
    while (!line.empty() && IsBlank(line.front())) {
        line.remove_prefix(1);
    }
    if (line.substr(0, name.size()) != name) {
        return std::nullopt;
    }
    line.remove_prefix(name.size());
    while (!line.empty() && IsBlank(line.front())) {
        line.remove_prefix(1);
    }
    if (line.empty() || line.front() != '=') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.front())) {
        line.remove_prefix(1);
    }
    if (line.empty() || line.front() != '"') {
        return std::nullopt;
    }
    auto value = QuotedValue(line);
    if (!value) {
        return std::nullopt;
    }
    const bool inHome = value->compare(0, kHomeVariable.size(), kHomeVariable) == 0 &&
                        (value->size() == kHomeVariable.size() ||
                         (*value)[kHomeVariable.size()] == '/');
    if (inHome) {
        return NormalizeLinuxPath(home + "/" + value->substr(kHomeVariable.size()));
    }
    if (value->empty() || value->front() != '/') {
        return std::nullopt;
    }
    return NormalizeLinuxPath(*value);
}

std::optional<std::string> AbsoluteVariable(const char* name) {
    const char* value = getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return NormalizeLinuxPath(value);
}

bool SpeltInCp1252(const std::string& path) {
    bool lost = false;
    Utf8ToCp1252(path, &lost);
    if (lost) {
        ReportUnusableName(path);
    }
    return !lost;
}

}  // namespace

std::optional<std::string> ParseUserDirs(std::string_view bytes, std::string_view name,
                                         const std::string& home) {
    std::optional<std::string> found;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        if (auto folder = FolderOfLine(bytes.substr(start, end - start), name, home)) {
            found = std::move(folder);
        }
        start = end + 1;
    }
    return found;
}

std::optional<std::string> DesktopPicturesFolder() {
    const auto home = AbsoluteVariable("HOME");
    if (!home) {
        return std::nullopt;
    }
    const std::string config = AbsoluteVariable("XDG_CONFIG_HOME").value_or(*home + "/.config");
    std::optional<std::string> candidates[3];
    if (const auto bytes = ReadRegularFile(config + "/user-dirs.dirs", kMaxUserDirsBytes)) {
        candidates[0] = ParseUserDirs(*bytes, "XDG_PICTURES_DIR", *home);
    }
    candidates[1] = AbsoluteVariable("XDG_PICTURES_DIR");
    candidates[2] = NormalizeLinuxPath(*home + "/Pictures");
    for (const auto& candidate : candidates) {
        if (candidate && SpeltInCp1252(*candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace platform

using namespace platform;

HRESULT WINAPI SHGetFolderPathA(HWND /*owner*/, int folder, HANDLE /*token*/, DWORD /*flags*/,
                                LPSTR path) {
    if (path == nullptr) {
        return E_INVALIDARG;
    }
    path[0] = '\0';
    if ((folder & ~CSIDL_FLAG_CREATE) != CSIDL_MYPICTURES) {
        return E_INVALIDARG;
    }
    const auto linuxPath = DesktopPicturesFolder();
    if (!linuxPath) {
        return E_FAIL;
    }
    const std::string windowsPath = ToWindowsPath(*linuxPath);
    if (windowsPath.size() >= MAX_PATH) {
        return E_FAIL;
    }
    if ((folder & CSIDL_FLAG_CREATE) != 0) {
        struct stat info {};
        if (stat(linuxPath->c_str(), &info) != 0 && mkdir(linuxPath->c_str(), 0777) != 0) {
            return E_FAIL;
        }
    }
    CopyPathOut(windowsPath, path, MAX_PATH);
    return S_OK;
}
