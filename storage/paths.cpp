// Names: the base folder, resolution into the name buffers, the path helpers
// and the existence tests.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "storage/files.h"
#include "storage/internal.h"

char g_givenName[kPathSize];
char g_fullPath[kPathSize];

namespace {

char g_baseFolder[kPathSize];
char g_savedBaseFolder[kPathSize];

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Copies text into out of size bytes; false, with out empty, when it does not fit.
bool CopyFitting(char* out, size_t size, const char* text) {
    const size_t length = strlen(text);
    if (length >= size) {
        out[0] = '\0';
        return false;
    }
    memmove(out, text, length + 1);
    return true;
}

}  // namespace

namespace storage {

long LastError() {
    const DWORD error = GetLastError();
    return error != NO_ERROR ? static_cast<long>(error) : ERROR_GEN_FAILURE;
}

bool ResolveGivenName(const char* name) {
    char given[kPathSize];
    snprintf(given, sizeof given, "%s", name != nullptr ? name : "");
    memcpy(g_givenName, given, sizeof given);
    return ResolveName(given, g_fullPath);
}

}  // namespace storage

void SetBaseFolder(const char* folder) {
    memcpy(g_savedBaseFolder, g_baseFolder, sizeof g_baseFolder);
    snprintf(g_baseFolder, sizeof g_baseFolder, "%s", folder != nullptr ? folder : "");
    StripTrailingSeparator(g_baseFolder);
}

void RestoreBaseFolder() {
    memcpy(g_baseFolder, g_savedBaseFolder, sizeof g_baseFolder);
}

const char* BaseFolder() {
    return g_baseFolder;
}

bool ResolveName(const char* name, char* out) {
    if (name == nullptr) {
        name = "";
    }
    char resolved[kPathSize];
    const int length = g_baseFolder[0] != '\0'
                           ? snprintf(resolved, sizeof resolved, "%s\\%s", g_baseFolder, name)
                           : snprintf(resolved, sizeof resolved, "%s", name);
    if (length < 0 || length >= kPathSize) {
        out[0] = '\0';
        return false;
    }
    memcpy(out, resolved, static_cast<size_t>(length) + 1);
    return true;
}

const char* BuildPath(const char* name, const char* folder, const char* extension) {
    if (name == nullptr) {
        name = "";
    }
    char composed[kPathSize];
    bool fits = true;
    if (folder != nullptr && folder[0] != '\0') {
        char stripped[kPathSize];
        fits = CopyFitting(stripped, sizeof stripped, folder);
        StripTrailingSeparator(stripped);
        const int length = snprintf(composed, sizeof composed, "%s\\%s", stripped, name);
        fits = fits && length >= 0 && length < kPathSize;
    } else {
        fits = CopyFitting(composed, sizeof composed, name);
    }
    if (fits && extension != nullptr) {
        fits = SetExtension(composed, extension);
    }
    if (!fits) {
        snprintf(g_givenName, sizeof g_givenName, "%s", name);
        g_fullPath[0] = '\0';
        return g_fullPath;
    }
    storage::ResolveGivenName(composed);
    return g_fullPath;
}

bool SetExtension(char* path, const char* extension, size_t size) {
    if (extension == nullptr) {
        extension = "";
    }
    char* name = path;
    for (char* p = path; *p != '\0'; ++p) {
        if (IsSeparator(*p)) {
            name = p + 1;
        }
    }
    char* dot = strrchr(name, '.');
    const size_t stem = dot != nullptr ? static_cast<size_t>(dot - path) : strlen(path);
    if (extension[0] == '\0') {
        path[stem] = '\0';
        return true;
    }
    const size_t extensionLength = strlen(extension);
    if (stem + 1 + extensionLength + 1 > size) {
        return false;
    }
    path[stem] = '.';
    memmove(path + stem + 1, extension, extensionLength + 1);
    return true;
}

// The later of the last "\" and the last "/" ends the folder part, so that a
// path mixing both separators still gives its file name.
const char* FileNamePart(const char* path) {
    const char* separator = nullptr;
    const char* colon = nullptr;
    for (const char* p = path; *p != '\0'; ++p) {
        if (IsSeparator(*p)) {
            separator = p;
        }
        if (*p == ':') {
            colon = p;
        }
    }
    if (separator != nullptr) {
        return separator + 1;
    }
    return colon != nullptr ? colon + 1 : path;
}

char* FileNamePart(char* path) {
    return path + (FileNamePart(static_cast<const char*>(path)) - path);
}

void StripTrailingSeparator(char* path) {
    const size_t length = strlen(path);
    if (length > 0 && IsSeparator(path[length - 1])) {
        path[length - 1] = '\0';
    }
}

size_t BaseName(const char* path, char* out, size_t size) {
    const char* name = FileNamePart(path);
    const char* dot = strrchr(name, '.');
    const size_t length = dot != nullptr ? static_cast<size_t>(dot - name) : strlen(name);
    if (size == 0) {
        return length + 1;
    }
    const size_t kept = length < size - 1 ? length : size - 1;
    memmove(out, name, kept);
    out[kept] = '\0';
    return kept < length ? length + 1 : 0;
}

void GetProgramFolder(char* out) {
    const DWORD length = GetModuleFileNameA(nullptr, out, kPathSize);
    if (length == 0 || length >= static_cast<DWORD>(kPathSize)) {
        out[0] = '\0';
        return;
    }
    char* name = FileNamePart(out);
    if (name > out && IsSeparator(name[-1])) {
        --name;
    }
    *name = '\0';
}

bool FileExists(const char* fullPath) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(fullPath, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}

bool FindWithAttributes(const char* pattern, DWORD attributes) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool matched = false;
    do {
        matched = (found.dwFileAttributes & attributes) != 0;
    } while (!matched && FindNextFileA(search, &found));
    FindClose(search);
    return matched;
}

bool DirectoryExists(const char* fullPath) {
    return FindWithAttributes(fullPath, FILE_ATTRIBUTE_DIRECTORY);
}

bool RelativeFileExists(const char* name) {
    return storage::ResolveGivenName(name) && FileExists(g_fullPath);
}

bool RelativeDirectoryExists(const char* name) {
    return storage::ResolveGivenName(name) && DirectoryExists(g_fullPath);
}

long DeleteRelativeFile(const char* name) {
    if (!storage::ResolveGivenName(name)) {
        return ERROR_FILENAME_EXCED_RANGE;
    }
    return DeleteFileA(g_fullPath) ? 0 : storage::LastError();
}

size_t OnDiskNameLength(const char* name) {
    // The names on disk are UTF-8: the program's Windows-1252 characters take
    // one byte below 0x80, two from 0xA0, and two or three (the euro sign,
    // the quotes, dashes and other signs that sit at U+2000 and above)
    // between.
    static constexpr uint8_t kHighBytes[32] = {3, 2, 3, 2, 3, 3, 3, 3, 2, 3, 2, 3, 2, 2, 2, 2,
                                               2, 3, 3, 3, 3, 3, 3, 3, 2, 3, 2, 3, 2, 2, 2, 2};
    size_t bytes = 0;
    for (const char* c = name; *c != '\0'; ++c) {
        const auto byte = static_cast<uint8_t>(*c);
        bytes += byte < 0x80 ? 1 : byte >= 0xA0 ? 2 : kHighBytes[byte - 0x80];
    }
    return bytes;
}

size_t MaxNameLength(const char* fullPath) {
    constexpr DWORD kUsualLimit = 255;
    DWORD limit = 0;
    if (fullPath[0] != '\0' && fullPath[1] == ':') {
        const char root[] = {fullPath[0], ':', '\\', '\0'};
        if (!GetVolumeInformationA(root, nullptr, 0, nullptr, &limit, nullptr, nullptr, 0)) limit = 0;
    }
    return limit != 0 ? limit : kUsualLimit;
}

bool NameFits(const char* name) {
    char resolved[kPathSize];
    return ResolveName(name, resolved) &&
           OnDiskNameLength(FileNamePart(resolved)) <= MaxNameLength(resolved);
}
