// Open files: CreateFileA and the calls on file handles, over POSIX file
// descriptors kept in a table of handles.
#include "platform/kernel/files.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "platform/backend/backend.h"
#include "platform/kernel/paths.h"

namespace platform {
namespace {

constexpr uintptr_t kFirstFileHandle = 0x10000;
constexpr uintptr_t kHandleStep = 4;
constexpr size_t kMaxOpenFiles = 4096;
constexpr int64_t kFileTimeEpochOffset = 11644473600LL;

struct OpenFile {
    int fd = -1;
    DWORD access = 0;
};

struct FileTable {
    std::mutex mutex;
    std::unordered_map<uintptr_t, OpenFile> files;
    uintptr_t next = kFirstFileHandle;
};

FileTable& Files() {
    static FileTable table;
    return table;
}

// A copy of the entry behind a handle; the descriptor stays open until
// CloseHandle, which only the program's one thread calls.
std::optional<OpenFile> Lookup(HANDLE handle) {
    FileTable& table = Files();
    std::lock_guard lock(table.mutex);
    const auto found = table.files.find(reinterpret_cast<uintptr_t>(handle));
    if (found == table.files.end()) {
        return std::nullopt;
    }
    return found->second;
}

HANDLE AddFile(int fd, DWORD access) {
    FileTable& table = Files();
    std::lock_guard lock(table.mutex);
    if (table.files.size() >= kMaxOpenFiles) {
        return nullptr;
    }
    const uintptr_t value = table.next;
    table.next += kHandleStep;
    table.files.emplace(value, OpenFile{fd, access});
    return reinterpret_cast<HANDLE>(value);
}

[[nodiscard]] bool CheckDisposition(DWORD disposition, DWORD access, int& flags) {
    switch (disposition) {
        case CREATE_NEW:
            flags |= O_CREAT | O_EXCL;
            return true;
        case CREATE_ALWAYS:
            flags |= O_CREAT | O_TRUNC;
            return true;
        case OPEN_EXISTING:
            return true;
        case OPEN_ALWAYS:
            flags |= O_CREAT;
            return true;
        case TRUNCATE_EXISTING:
            flags |= O_TRUNC;
            return (access & GENERIC_WRITE) != 0;
        default:
            return false;
    }
}

HANDLE FailOpen(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// A handle on a folder, as Windows gives with FILE_FLAG_BACKUP_SEMANTICS. It
// has no read or write access; FlushFileBuffers syncs the folder's entries.
HANDLE OpenFolder(const std::string& linuxPath, DWORD flagsAndAttributes, DWORD disposition) {
    const bool opens = (flagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) != 0 &&
                       (disposition == OPEN_EXISTING || disposition == OPEN_ALWAYS);
    if (!opens) {
        return FailOpen(ERROR_ACCESS_DENIED);
    }
    int fd = -1;
    do {
        fd = open(linuxPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return FailOpen(ErrorFromErrno(errno, true));
    }
    const HANDLE handle = AddFile(fd, 0);
    if (handle == nullptr) {
        close(fd);
        return FailOpen(ERROR_TOO_MANY_OPEN_FILES);
    }
    SetLastError(disposition == OPEN_ALWAYS ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return handle;
}

}  // namespace

DWORD ErrorFromErrno(int error, bool parentExists) {
    switch (error) {
        case 0:
            return NO_ERROR;
        case ENOENT:
            return parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EROFS:
            return ERROR_WRITE_PROTECT;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EBUSY:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        case EXDEV:
            return ERROR_NOT_SAME_DEVICE;
        case ENOMEDIUM:
            return ERROR_NOT_READY;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case EIO:
            return ERROR_IO_DEVICE;
        default:
            return ERROR_GEN_FAILURE;
    }
}

FILETIME FileTimeFromTimespec(const timespec& time) {
    const int64_t seconds = static_cast<int64_t>(time.tv_sec) + kFileTimeEpochOffset;
    const uint64_t ticks =
        seconds < 0 ? 0 : static_cast<uint64_t>(seconds) * 10000000u + time.tv_nsec / 100;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

DWORD AttributesFromStat(const std::string& linuxPath, const struct stat& info,
                         bool readOnlyDrive) {
    DWORD attributes = 0;
    if (S_ISDIR(info.st_mode)) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    } else {
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
        if (readOnlyDrive || access(linuxPath.c_str(), W_OK) != 0) {
            attributes |= FILE_ATTRIBUTE_READONLY;
        }
    }
    const size_t slash = linuxPath.rfind('/');
    if (slash != std::string::npos && slash + 1 < linuxPath.size() && linuxPath[slash + 1] == '.') {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

std::optional<std::string> ReadRegularFile(const std::string& linuxPath, size_t limit) {
    int fd = -1;
    do {
        fd = open(linuxPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    // A regular file may still grow while it is read: what is past the limit
    // is left unread.
    std::string bytes;
    char chunk[65536];
    while (bytes.size() < limit) {
        const ssize_t got = read(fd, chunk, std::min(sizeof chunk, limit - bytes.size()));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        bytes.append(chunk, static_cast<size_t>(got));
    }
    close(fd);
    return bytes;
}

}  // namespace platform

using namespace platform;

HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD /*shareMode*/,
                          LPSECURITY_ATTRIBUTES /*security*/, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE /*templateFile*/) {
    const DWORD access = desiredAccess & (GENERIC_READ | GENERIC_WRITE);
    int flags = O_CLOEXEC | ((access & GENERIC_WRITE) == 0  ? O_RDONLY
                             : (access & GENERIC_READ) == 0 ? O_WRONLY
                                                            : O_RDWR);
    if (!CheckDisposition(creationDisposition, access, flags)) {
        return FailOpen(ERROR_INVALID_PARAMETER);
    }
    DWORD error = NO_ERROR;
    const auto path = ResolvePath(fileName, error);
    if (!path) {
        return FailOpen(error);
    }
    struct stat info {};
    const bool existed = path->exists && stat(path->linuxPath.c_str(), &info) == 0;
    if (existed && S_ISDIR(info.st_mode)) {
        return OpenFolder(path->linuxPath, flagsAndAttributes, creationDisposition);
    }
    if (!path->parentExists) {
        return FailOpen(ERROR_PATH_NOT_FOUND);
    }
    if (!existed && (flags & O_CREAT) == 0) {
        return FailOpen(ERROR_FILE_NOT_FOUND);
    }
    // A pipe, socket or device that looks like a file would block or stream
    // forever; only regular files are opened.
    if (existed && !S_ISREG(info.st_mode)) {
        return FailOpen(ERROR_ACCESS_DENIED);
    }
    const bool created = !existed && (flags & O_CREAT) != 0;
    const bool modifies = (access & GENERIC_WRITE) != 0 || (flags & O_TRUNC) != 0 || created;
    if (modifies && path->driveType == DRIVE_CDROM) {
        return FailOpen(ERROR_WRITE_PROTECT);
    }
    const mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    // Opened without blocking, so that a pipe put there since the check
    // cannot hold the program; what was opened is checked once more.
    int fd = -1;
    do {
        fd = open(path->linuxPath.c_str(), flags | O_NONBLOCK, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return FailOpen(ErrorFromErrno(errno, path->parentExists));
    }
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return FailOpen(ERROR_ACCESS_DENIED);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const HANDLE handle = AddFile(fd, access);
    if (handle == nullptr) {
        close(fd);
        return FailOpen(ERROR_TOO_MANY_OPEN_FILES);
    }
    if (modifies) {
        LogLine("file write " + path->windowsPath);
    }
    const bool reportsExisting =
        creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS;
    SetLastError(reportsExisting && existed ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return handle;
}

BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
                     LPOVERLAPPED overlapped) {
    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    const auto entry = Lookup(file);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (overlapped != nullptr || (buffer == nullptr && bytesToRead > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((entry->access & GENERIC_READ) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    while (total < bytesToRead) {
        const ssize_t count = read(entry->fd, static_cast<char*>(buffer) + total, bytesToRead - total);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            SetLastError(ErrorFromErrno(errno, true));
            if (bytesRead != nullptr) {
                *bytesRead = total;
            }
            return FALSE;
        }
        if (count == 0) {
            break;
        }
        total += static_cast<DWORD>(count);
    }
    if (bytesRead != nullptr) {
        *bytesRead = total;
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
                      LPOVERLAPPED overlapped) {
    if (bytesWritten != nullptr) {
        *bytesWritten = 0;
    }
    const auto entry = Lookup(file);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (overlapped != nullptr || (buffer == nullptr && bytesToWrite > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((entry->access & GENERIC_WRITE) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    while (total < bytesToWrite) {
        const ssize_t count =
            write(entry->fd, static_cast<const char*>(buffer) + total, bytesToWrite - total);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            SetLastError(count == 0 ? ERROR_DISK_FULL : ErrorFromErrno(errno, true));
            if (bytesWritten != nullptr) {
                *bytesWritten = total;
            }
            return FALSE;
        }
        total += static_cast<DWORD>(count);
    }
    if (bytesWritten != nullptr) {
        *bytesWritten = total;
    }
    return TRUE;
}

DWORD WINAPI SetFilePointer(HANDLE file, LONG distanceToMove, PLONG distanceToMoveHigh,
                            DWORD moveMethod) {
    const auto entry = Lookup(file);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    int64_t distance = distanceToMove;
    if (distanceToMoveHigh != nullptr) {
        distance = static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(
                                             *distanceToMoveHigh))
                                         << 32) |
                                        static_cast<uint32_t>(distanceToMove));
    }
    int64_t base = 0;
    if (moveMethod == FILE_CURRENT) {
        base = lseek(entry->fd, 0, SEEK_CUR);
    } else if (moveMethod == FILE_END) {
        struct stat info {};
        base = fstat(entry->fd, &info) == 0 ? info.st_size : -1;
    } else if (moveMethod != FILE_BEGIN) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (base < 0) {
        SetLastError(ErrorFromErrno(errno, true));
        return INVALID_SET_FILE_POINTER;
    }
    if ((distance < 0 && base < -distance) ||
        (distance > 0 && base > INT64_MAX - distance)) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    const int64_t target = base + distance;
    if (distanceToMoveHigh == nullptr && target > 0xFFFFFFFELL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (lseek(entry->fd, target, SEEK_SET) < 0) {
        SetLastError(ErrorFromErrno(errno, true));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceToMoveHigh != nullptr) {
        *distanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
    }
    const DWORD low = static_cast<DWORD>(target);
    if (low == INVALID_SET_FILE_POINTER) {
        SetLastError(NO_ERROR);
    }
    return low;
}

DWORD WINAPI GetFileSize(HANDLE file, LPDWORD fileSizeHigh) {
    const auto entry = Lookup(file);
    struct stat info {};
    if (!entry || fstat(entry->fd, &info) != 0) {
        SetLastError(entry ? ErrorFromErrno(errno, true) : ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    if (fileSizeHigh != nullptr) {
        *fileSizeHigh = static_cast<DWORD>(size >> 32);
    }
    if (static_cast<DWORD>(size) == INVALID_FILE_SIZE) {
        SetLastError(NO_ERROR);
    }
    return static_cast<DWORD>(size);
}

BOOL WINAPI CloseHandle(HANDLE object) {
    FileTable& table = Files();
    int fd = -1;
    {
        std::lock_guard lock(table.mutex);
        const auto found = table.files.find(reinterpret_cast<uintptr_t>(object));
        if (found == table.files.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        fd = found->second.fd;
        table.files.erase(found);
    }
    // Linux closes the descriptor even when close reports an error, so
    // EINTR must not be retried.
    if (close(fd) != 0 && errno != EINTR) {
        SetLastError(ErrorFromErrno(errno, true));
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE file) {
    const auto entry = Lookup(file);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (fsync(entry->fd) != 0) {
        SetLastError(ErrorFromErrno(errno, true));
        return FALSE;
    }
    return TRUE;
}
