#include "shell/data_paths.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "shell/messages.h"
#include "storage/files.h"

char g_programFolder[MAX_PATH];
char g_dataRoot[MAX_PATH];

namespace {

constexpr int kInsertTheCd = 40;
constexpr int kDataFolderNotFound = 52;
constexpr int kFloppyDrive = 10;
constexpr int kNoSuchDrive = -1;
constexpr int kFirstSearchedDrive = 2;  // C
constexpr int kDriveCount = 26;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool EqualIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::toupper(static_cast<unsigned char>(*a)) !=
            std::toupper(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

// True when the drive root ("X:" or "X:\\") holds the program's data folder.
bool HoldsData(const char* root) {
    char folder[] = "X:\\Datas";
    folder[0] = root[0];
    return DirectoryExists(folder);
}

long LastErrorOrFailure() {
    const DWORD error = GetLastError();
    return error != NO_ERROR ? static_cast<long>(error) : ERROR_GEN_FAILURE;
}

// Where the first component after the drive (or after a network path's
// server) starts.
size_t FirstComponent(const char* path) {
    if (IsSeparator(path[0]) && IsSeparator(path[1])) {
        size_t i = 2;
        while (path[i] != '\0' && !IsSeparator(path[i])) ++i;
        return path[i] != '\0' ? i + 1 : i;
    }
    size_t i = std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' ? 2 : 0;
    while (IsSeparator(path[i])) ++i;
    return i;
}

}  // namespace

void UseDataRoot() { SetBaseFolder(g_dataRoot); }

void UseProgramFolder() { SetBaseFolder(g_programFolder); }

bool LocateDataRoot() {
    GetProgramFolder(g_programFolder);
    char root[4] = "";
    while (!FindVolume(kCdVolumeLabel, root) || !HoldsData(root)) {
        char folder[MAX_PATH];
        const bool asked = FindMissingDataFolder(folder)
                               ? ShowMessageWithText(kDataFolderNotFound, folder, kQuestion, kNoCode)
                               : ShowMessage(kInsertTheCd, kQuestion, kNoCode);
        if (!asked) return false;
    }
    std::snprintf(g_dataRoot, sizeof g_dataRoot, "%s\\Datas", root);
    UseProgramFolder();
    return true;
}

bool FindMissingDataFolder(char* folder) {
    folder[0] = '\0';
    const DWORD drives = GetLogicalDrives();
    for (int index = kFirstSearchedDrive; index < kDriveCount; ++index) {
        if ((drives & (1u << index)) == 0 || GetDriveKindByIndex(index) != DRIVE_CDROM) continue;
        const char driveRoot[4] = {static_cast<char>('A' + index), ':', '\\', '\0'};
        char volumeName[MAX_PATH] = "";
        const bool ready = GetVolumeInformationA(driveRoot, volumeName, sizeof volumeName, nullptr,
                                                 nullptr, nullptr, nullptr, 0) != FALSE;
        if (ready && (!EqualIgnoringCase(volumeName, kCdVolumeLabel) || HoldsData(driveRoot))) {
            continue;
        }
        const char drive[3] = {driveRoot[0], ':', '\0'};
        char target[MAX_PATH];
        if (QueryDosDeviceA(drive, target, sizeof target) == 0) continue;
        const int length = std::snprintf(folder, MAX_PATH, ready ? "%s/Datas" : "%s", target);
        if (length > 0 && length < MAX_PATH) return true;
        folder[0] = '\0';
    }
    return false;
}

bool FindVolume(const char* label, char* root) {
    const DWORD drives = GetLogicalDrives();
    for (int index = kFirstSearchedDrive; index < kDriveCount; ++index) {
        if ((drives & (1u << index)) == 0 || GetDriveKindByIndex(index) != DRIVE_CDROM) continue;
        const char driveRoot[4] = {static_cast<char>('A' + index), ':', '\\', '\0'};
        char volumeName[MAX_PATH] = "";
        if (!GetVolumeInformationA(driveRoot, volumeName, sizeof volumeName, nullptr, nullptr,
                                   nullptr, nullptr, 0)) {
            continue;
        }
        if (EqualIgnoringCase(volumeName, label)) {
            root[0] = driveRoot[0];
            root[1] = ':';
            root[2] = '\0';
            return true;
        }
    }
    return false;
}

int GetDriveKind(const char* path) {
    if (IsSeparator(path[0]) && IsSeparator(path[1])) return DRIVE_REMOTE;
    char root[MAX_PATH];
    size_t length = 0;
    while (path[length] != '\0' && !IsSeparator(path[length]) && length < sizeof root - 2) {
        root[length] = path[length];
        ++length;
    }
    root[length] = IsSeparator(path[length]) ? path[length] : '\\';
    root[length + 1] = '\0';
    const UINT type = GetDriveTypeA(root);
    if (type == DRIVE_NO_ROOT_DIR) return kNoSuchDrive;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
    if (type == DRIVE_REMOVABLE && (letter == 'A' || letter == 'B') && root[1] == ':') {
        return kFloppyDrive;
    }
    return static_cast<int>(type);
}

int GetDriveKindByIndex(int index) {
    if (index < 0 || index >= kDriveCount) return kNoSuchDrive;
    const char root[4] = {static_cast<char>('A' + index), ':', '\\', '\0'};
    return GetDriveKind(root);
}

long CreateFolderPath(const char* path) {
    char prefix[MAX_PATH];
    const size_t length = std::strlen(path);
    if (length >= sizeof prefix) return ERROR_FILENAME_EXCED_RANGE;
    for (size_t end = FirstComponent(path); end <= length; ++end) {
        if (end < length && !IsSeparator(path[end])) continue;
        if (end == 0 || IsSeparator(path[end - 1])) continue;
        std::memcpy(prefix, path, end);
        prefix[end] = '\0';
        if (DirectoryExists(prefix)) continue;
        if (!CreateDirectoryA(prefix, nullptr)) return LastErrorOrFailure();
    }
    return 0;
}

long IsFolderWritable(const char* folder) {
    char path[MAX_PATH];
    const int length = std::snprintf(path, sizeof path, "%s\\tst.tmp", folder);
    if (length < 0 || length >= static_cast<int>(sizeof path)) return ERROR_FILENAME_EXCED_RANGE;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastErrorOrFailure();
    long error = 0;
    const char bytes[4] = {'t', 'e', 's', 't'};
    DWORD written = 0;
    if (!WriteFile(file, bytes, sizeof bytes, &written, nullptr)) error = LastErrorOrFailure();
    if (!CloseHandle(file) && error == 0) error = LastErrorOrFailure();
    if (!DeleteFileA(path) && error == 0) error = LastErrorOrFailure();
    return error;
}

bool DefaultPicturesFolder(char* out) {
    out[0] = '\0';
    char folder[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) {
        return false;
    }
    StripTrailingSeparator(folder);
    const int length = std::snprintf(out, MAX_PATH, "%s\\Tavelin", folder);
    if (length < 0 || length >= MAX_PATH) {
        out[0] = '\0';
        return false;
    }
    return true;
}
