// Drives, volumes and the Windows places: the program file, the Windows
// folder and the current folder, all answered in drive-letter form.
#include <errno.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstring>

#include "platform/kernel/codepage.h"
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/resource_pack.h"

namespace platform {
namespace {

constexpr DWORD kMaxComponentLength = 255;

// The drive named by a root path "X:\", "X:/" or "\"; with strictRoot false
// "X:" alone is accepted too. A null root is the current folder's drive.
std::optional<Drive> DriveOfRoot(LPCSTR root, bool strictRoot) {
    std::string text;
    if (root == nullptr || root[0] == '\\' || root[0] == '/') {
        if (root != nullptr && root[1] != '\0') {
            return std::nullopt;
        }
        char buffer[PATH_MAX];
        text = ToWindowsPath(getcwd(buffer, sizeof buffer) != nullptr ? buffer : "/").substr(0, 3);
    } else {
        text = root;
    }
    const bool form = text.size() >= 2 && text[1] == ':' &&
                      (text.size() == 3 ? text[2] == '\\' || text[2] == '/'
                                        : text.size() == 2 && !strictRoot);
    if (!form) {
        return std::nullopt;
    }
    return FindDrive(text[0]);
}

uint32_t SerialOf(const Drive& drive) {
    uint32_t hash = 2166136261u;
    for (char c : drive.root + ":" + drive.label) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    return hash;
}

[[nodiscard]] bool CopyName(const std::string& text, char* buffer, DWORD size) {
    if (buffer == nullptr) {
        return true;
    }
    if (text.size() + 1 > size) {
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace
}  // namespace platform

using namespace platform;

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    std::string path;
    if (module == nullptr || module == GetModuleHandleA(nullptr)) {
        path = ToWindowsPath(ProgramFile());
    } else {
        path = LibraryFileName(module);
        if (path.empty()) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
    }
    if (fileName == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() < size) {
        std::memcpy(fileName, path.c_str(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    }
    std::memcpy(fileName, path.c_str(), size - 1);
    fileName[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    return CopyPathOut(ToWindowsPath(ConfigFolder()), buffer, size);
}

DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    char current[PATH_MAX];
    if (getcwd(current, sizeof current) == nullptr) {
        SetLastError(ErrorFromErrno(errno, false));
        return 0;
    }
    return CopyPathOut(ToWindowsPath(current), buffer, size);
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR pathName) {
    DWORD error = NO_ERROR;
    const auto path = ResolvePath(pathName, error);
    if (path && !path->exists) {
        error = path->parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    } else if (path && chdir(path->linuxPath.c_str()) != 0) {
        error = errno == ENOTDIR ? ERROR_DIRECTORY : ErrorFromErrno(errno, true);
    } else if (path) {
        return TRUE;
    }
    SetLastError(error);
    return FALSE;
}

DWORD WINAPI GetLogicalDrives(void) {
    RescanMediaDrives();
    DWORD mask = 0;
    for (const Drive& drive : CurrentDrives()) {
        mask |= 1u << (drive.letter - 'A');
    }
    return mask;
}

UINT WINAPI GetDriveTypeA(LPCSTR rootPathName) {
    const auto drive = DriveOfRoot(rootPathName, false);
    return drive ? drive->type : DRIVE_NO_ROOT_DIR;
}

BOOL WINAPI GetVolumeInformationA(LPCSTR rootPathName, LPSTR volumeNameBuffer,
                                  DWORD volumeNameSize, LPDWORD volumeSerialNumber,
                                  LPDWORD maximumComponentLength, LPDWORD fileSystemFlags,
                                  LPSTR fileSystemNameBuffer, DWORD fileSystemNameSize) {
    const auto drive = DriveOfRoot(rootPathName, true);
    if (!drive) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    struct stat info {};
    if (stat(drive->root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_NOT_READY);
        return FALSE;
    }
    const bool cd = drive->type == DRIVE_CDROM;
    if (!CopyName(drive->label, volumeNameBuffer, volumeNameSize) ||
        !CopyName(cd ? "CDFS" : "NTFS", fileSystemNameBuffer, fileSystemNameSize)) {
        SetLastError(ERROR_BAD_LENGTH);
        return FALSE;
    }
    if (volumeSerialNumber != nullptr) {
        *volumeSerialNumber = SerialOf(*drive);
    }
    if (maximumComponentLength != nullptr) {
        *maximumComponentLength = kMaxComponentLength;
    }
    if (fileSystemFlags != nullptr) {
        *fileSystemFlags = FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK |
                           (cd ? FILE_READ_ONLY_VOLUME : FILE_CASE_SENSITIVE_SEARCH);
    }
    return TRUE;
}

DWORD WINAPI QueryDosDeviceA(LPCSTR deviceName, LPSTR targetPath, DWORD maxCount) {
    if (deviceName == nullptr || targetPath == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const bool driveName = isalpha(static_cast<unsigned char>(deviceName[0])) &&
                           deviceName[1] == ':' && deviceName[2] == '\0';
    const auto drive = driveName ? FindDrive(deviceName[0]) : std::nullopt;
    if (!drive) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    // The Linux path, in Windows-1252 as every ANSI call answers.
    const std::string target = Utf8ToCp1252(drive->root);
    if (target.size() + 2 > maxCount) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(targetPath, target.c_str(), target.size() + 1);
    targetPath[target.size() + 1] = '\0';
    return static_cast<DWORD>(target.size() + 2);
}
