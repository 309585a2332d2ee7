// The profile file parser and GetPrivateProfile*/GetProfile* over it. WIN.INI
// is the configuration folder's win.ini, then the program folder's, then the
// desktop's answers.
#include "platform/kernel/profile.h"

#include <cstring>

#include "platform/kernel/codepage.h"
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/win/kernel.h"

namespace platform {
namespace {

constexpr const char* kWinIni = "win.ini";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\'')) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// How the bytes of a file are read: Windows-1252 as they are, or UTF-8 to
// convert line by line.
struct Encoded {
    std::string_view bytes;
    bool utf8 = false;
};

// UTF-16 little-endian text is decoded whole into storage; a UTF-8 byte order
// mark is dropped; without a mark, text that is valid UTF-8 is taken as such
// (Windows-1252 text with accents almost never is).
Encoded DetectEncoding(std::string_view bytes, std::string& storage) {
    bytes = bytes.substr(0, kMaxProfileBytes);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        return {bytes.substr(3), true};
    }
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        storage = Utf16ToCp1252(bytes.substr(2), false);
        return {storage, false};
    }
    return {bytes, IsValidUtf8(bytes)};
}

void ParseLine(std::string_view line, ProfileFile& file, size_t& items) {
    line = Trim(line);
    if (line.empty() || line.front() == ';' || items >= kMaxProfileItems) {
        return;
    }
    if (line.front() == '[') {
        const size_t close = line.rfind(']');
        if (close != std::string_view::npos) {
            file.sections.push_back({std::string(Trim(line.substr(1, close - 1))), {}});
            ++items;
        }
        return;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || file.sections.empty()) {
        return;
    }
    const std::string_view key = Trim(line.substr(0, equals));
    if (!key.empty()) {
        const std::string_view value = Unquote(Trim(line.substr(equals + 1)));
        file.sections.back().entries.push_back({std::string(key), std::string(value)});
        ++items;
    }
}

std::string ParentFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// The Linux file a profile file name stands for: a bare name lives in the
// Windows folder, as on Windows.
std::optional<std::string> ProfilePath(LPCSTR fileName) {
    std::string name(fileName);
    if (name.find_first_of("\\/:") == std::string::npos) {
        name = ToWindowsPath(ConfigFolder()) + "\\" + name;
    }
    DWORD error = NO_ERROR;
    const auto path = ResolvePath(name.c_str(), error);
    if (!path || !path->exists) {
        return std::nullopt;
    }
    return path->linuxPath;
}

std::optional<std::string> FindInFile(const std::string& linuxPath, LPCSTR section, LPCSTR key) {
    if (const auto file = LoadProfile(linuxPath)) {
        if (const auto value = file->Find(section, key)) {
            return std::string(*value);
        }
    }
    return std::nullopt;
}

// WIN.INI: the Windows folder's, the program folder's, then the desktop.
std::optional<std::string> FindInWinIni(LPCSTR section, LPCSTR key) {
    const std::string folders[] = {ConfigFolder(), ParentFolder(ProgramFile())};
    for (const std::string& folder : folders) {
        const std::string name = ToWindowsPath(folder) + "\\" + kWinIni;
        DWORD error = NO_ERROR;
        const auto path = ResolvePath(name.c_str(), error);
        if (path && path->exists) {
            if (auto value = FindInFile(path->linuxPath, section, key)) {
                return value;
            }
        }
    }
    return DesktopProfileValue(section, key);
}

bool IsWinIni(LPCSTR fileName) {
    return fileName == nullptr || EqualNoCase(fileName, kWinIni);
}

std::optional<std::string> FindValue(LPCSTR section, LPCSTR key, LPCSTR fileName) {
    if (IsWinIni(fileName)) {
        return FindInWinIni(section, key);
    }
    const auto path = ProfilePath(fileName);
    return path ? FindInFile(*path, section, key) : std::nullopt;
}

DWORD GetString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                LPCSTR fileName) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    if (section == nullptr || key == nullptr) {
        // Listing sections or keys is not supported: the list is empty.
        buffer[0] = '\0';
        if (size > 1) {
            buffer[1] = '\0';
        }
        return 0;
    }
    if (const auto value = FindValue(section, key, fileName)) {
        return CopyProfileValue(*value, buffer, size);
    }
    std::string_view fallback = defaultValue != nullptr ? defaultValue : "";
    while (!fallback.empty() && IsBlank(fallback.back())) {
        fallback.remove_suffix(1);
    }
    return CopyProfileValue(fallback, buffer, size);
}

UINT GetInt(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
    if (section == nullptr || key == nullptr) {
        return static_cast<UINT>(defaultValue);
    }
    const auto value = FindValue(section, key, fileName);
    if (!value || value->empty()) {
        return static_cast<UINT>(defaultValue);
    }
    return ParseProfileInt(*value);
}

}  // namespace

std::optional<std::string_view> ProfileFile::Find(std::string_view section,
                                                  std::string_view key) const {
    for (const ProfileSection& candidate : sections) {
        if (!EqualNoCase(candidate.name, section)) {
            continue;
        }
        for (const ProfileEntry& entry : candidate.entries) {
            if (EqualNoCase(entry.key, key)) {
                return entry.value;
            }
        }
    }
    return std::nullopt;
}

ProfileFile ParseProfile(std::string_view bytes) {
    std::string storage;
    const Encoded text = DetectEncoding(bytes, storage);
    ProfileFile file;
    size_t items = 0;
    size_t start = 0;
    size_t lineNumber = 0;
    while (start < text.bytes.size()) {
        size_t end = text.bytes.find_first_of(std::string_view("\r\n\0", 3), start);
        if (end == std::string_view::npos) {
            end = text.bytes.size();
        }
        const std::string_view line = text.bytes.substr(start, end - start);
        ++lineNumber;
        bool lost = false;
        ParseLine(text.utf8 ? Utf8ToCp1252(line, &lost) : line, file, items);
        if (lost && file.unusableLines.size() < kMaxUnusableLines) {
            file.unusableLines.push_back(lineNumber);
        }
        start = end + 1;
    }
    return file;
}

std::optional<ProfileFile> LoadProfile(const std::string& linuxPath) {
    const auto bytes = ReadRegularFile(linuxPath, kMaxProfileBytes);
    if (!bytes) {
        return std::nullopt;
    }
    ProfileFile file = ParseProfile(*bytes);
    for (const size_t line : file.unusableLines) {
        ReportUnusableName("line " + std::to_string(line) + " of " + linuxPath);
    }
    return file;
}

DWORD CopyProfileValue(std::string_view value, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const size_t count = std::min<size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), count);
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

UINT ParseProfileInt(std::string_view value) {
    value = Trim(value);
    bool negative = false;
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    uint32_t base = 10;
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        base = 16;
        value.remove_prefix(2);
    }
    uint32_t result = 0;
    for (char c : value) {
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (base == 16 && FoldCase(c) >= 'A' && FoldCase(c) <= 'F') {
            digit = static_cast<uint32_t>(FoldCase(c) - 'A' + 10);
        } else {
            break;
        }
        result = result * base + digit;
    }
    return negative ? 0u - result : result;
}

}  // namespace platform

using namespace platform;

UINT WINAPI GetPrivateProfileIntA(LPCSTR appName, LPCSTR keyName, INT defaultValue,
                                  LPCSTR fileName) {
    return GetInt(appName, keyName, defaultValue, fileName);
}

DWORD WINAPI GetPrivateProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR defaultValue,
                                      LPSTR returnedString, DWORD size, LPCSTR fileName) {
    return GetString(appName, keyName, defaultValue, returnedString, size, fileName);
}

UINT WINAPI GetProfileIntA(LPCSTR appName, LPCSTR keyName, INT defaultValue) {
    return GetInt(appName, keyName, defaultValue, nullptr);
}

DWORD WINAPI GetProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR defaultValue,
                               LPSTR returnedString, DWORD size) {
    return GetString(appName, keyName, defaultValue, returnedString, size, nullptr);
}
