// Operations on names: deleting, moving and renaming files, making and
// removing folders, and reading attributes.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "platform/kernel/codepage.h"
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"

namespace platform {
namespace {

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

bool IsFolder(const std::string& linuxPath) {
    struct stat info {};
    return stat(linuxPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ParentOf(const std::string& linuxPath) {
    const size_t slash = linuxPath.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : linuxPath.substr(0, slash);
}

// Makes a rename in folder durable; a failure only costs durability.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Renames without replacing, atomically where the file system allows it.
[[nodiscard]] int RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    struct stat info {};
    if (lstat(to.c_str(), &info) == 0) {
        return EEXIST;
    }
    return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Renames from over to in one step. The moved file takes the permission bits
// of the file it replaces, and a file without any write bit is read-only, as
// Windows keeps a replaced file's attributes and refuses to replace a
// read-only file. Returns 0 or the errno value.
[[nodiscard]] int ReplaceByRename(const std::string& from, const std::string& to) {
    struct stat target {};
    if (stat(to.c_str(), &target) != 0) {
        return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
    if (S_ISDIR(target.st_mode)) {
        return EISDIR;
    }
    if ((target.st_mode & 0222) == 0) {
        return EACCES;
    }
    struct stat source {};
    if (stat(from.c_str(), &source) != 0 || chmod(from.c_str(), target.st_mode & 0777) != 0) {
        return errno;
    }
    if (rename(from.c_str(), to.c_str()) != 0) {
        const int error = errno;
        chmod(from.c_str(), source.st_mode & 0777);
        return error;
    }
    return 0;
}

// The Linux name a move gives its target. A target that resolved onto the
// source itself only changes the case of the name, so it is spelt as given.
std::string MoveTarget(const ResolvedPath& from, const ResolvedPath& to) {
    if (to.linuxPath != from.linuxPath) {
        return to.linuxPath;
    }
    const size_t separator = to.windowsPath.rfind('\\');
    return ParentOf(to.linuxPath) + "/" + Cp1252ToUtf8(to.windowsPath.substr(separator + 1));
}

}  // namespace
}  // namespace platform

using namespace platform;

BOOL WINAPI DeleteFileA(LPCSTR fileName) {
    DWORD error = NO_ERROR;
    const auto path = ResolvePath(fileName, error);
    if (!path) {
        return Fail(error);
    }
    if (!path->exists) {
        return Fail(path->parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    }
    if (path->driveType == DRIVE_CDROM) {
        return Fail(ERROR_WRITE_PROTECT);
    }
    if (IsFolder(path->linuxPath)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (unlink(path->linuxPath.c_str()) != 0) {
        return Fail(ErrorFromErrno(errno, true));
    }
    return TRUE;
}

BOOL WINAPI MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags) {
    if (newFileName == nullptr || (flags & MOVEFILE_DELAY_UNTIL_REBOOT) != 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    DWORD error = NO_ERROR;
    const auto from = ResolvePath(existingFileName, error);
    if (!from) {
        return Fail(error);
    }
    const auto to = ResolvePath(newFileName, error);
    if (!to) {
        return Fail(error);
    }
    if (!from->exists) {
        return Fail(from->parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    }
    if (!to->parentExists) {
        return Fail(ERROR_PATH_NOT_FOUND);
    }
    if (from->driveType == DRIVE_CDROM || to->driveType == DRIVE_CDROM) {
        return Fail(ERROR_WRITE_PROTECT);
    }
    const std::string target = MoveTarget(*from, *to);
    if (target == from->linuxPath) {
        return TRUE;
    }
    const bool sameFile = to->linuxPath == from->linuxPath;
    int result = 0;
    if ((flags & MOVEFILE_REPLACE_EXISTING) != 0 && !sameFile) {
        result = ReplaceByRename(from->linuxPath, target);
    } else {
        if (to->exists && !sameFile) {
            return Fail(ERROR_ALREADY_EXISTS);
        }
        result = RenameNoReplace(from->linuxPath, target);
    }
    if (result != 0) {
        return Fail(result == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFromErrno(result, true));
    }
    if ((flags & MOVEFILE_WRITE_THROUGH) != 0) {
        SyncFolder(ParentOf(target));
    }
    return TRUE;
}

BOOL WINAPI MoveFileA(LPCSTR existingFileName, LPCSTR newFileName) {
    return MoveFileExA(existingFileName, newFileName, 0);
}

BOOL WINAPI CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES /*security*/) {
    DWORD error = NO_ERROR;
    const auto path = ResolvePath(pathName, error);
    if (!path) {
        return Fail(error);
    }
    if (path->exists) {
        return Fail(ERROR_ALREADY_EXISTS);
    }
    if (!path->parentExists) {
        return Fail(ERROR_PATH_NOT_FOUND);
    }
    if (path->driveType == DRIVE_CDROM) {
        return Fail(ERROR_WRITE_PROTECT);
    }
    if (mkdir(path->linuxPath.c_str(), 0777) != 0) {
        return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFromErrno(errno, false));
    }
    return TRUE;
}

BOOL WINAPI RemoveDirectoryA(LPCSTR pathName) {
    DWORD error = NO_ERROR;
    const auto path = ResolvePath(pathName, error);
    if (!path) {
        return Fail(error);
    }
    if (!path->exists) {
        return Fail(path->parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    }
    if (!IsFolder(path->linuxPath)) {
        return Fail(ERROR_DIRECTORY);
    }
    if (path->driveType == DRIVE_CDROM) {
        return Fail(ERROR_WRITE_PROTECT);
    }
    if (rmdir(path->linuxPath.c_str()) != 0) {
        return Fail(ErrorFromErrno(errno, true));
    }
    return TRUE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
    DWORD error = NO_ERROR;
    const auto path = ResolvePath(fileName, error);
    struct stat info {};
    if (path && path->exists && stat(path->linuxPath.c_str(), &info) == 0) {
        return AttributesFromStat(path->linuxPath, info, path->driveType == DRIVE_CDROM);
    }
    if (path) {
        error = path->parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    SetLastError(error);
    return INVALID_FILE_ATTRIBUTES;
}
