// Open files: opening by name, block reads and writes, positions, whole-file
// reads into memory, and the messages for file errors.
#include "storage/files.h"

#include "shell/memory.h"
#include "shell/messages.h"
#include "storage/internal.h"

namespace {

// The bit of the open flags that asks for write access.
constexpr int kWriteAccess = 2;

// The heap block of ReadWholeFile.
struct HeapBlock {
    void* data = nullptr;

    bool Allocate(DWORD size) {
        data = AllocBlock(size != 0 ? size : 1, 0);
        return data != nullptr;
    }
    void Free() {
        FreeBlock(data);
        data = nullptr;
    }
};

// The movable global block of ReadWholeFileGlobal, locked while it is read.
struct GlobalBlock {
    HGLOBAL handle = nullptr;
    void* data = nullptr;

    bool Allocate(DWORD size) {
        handle = AllocGlobal(size != 0 ? size : 1, 0);
        data = handle != nullptr ? LockGlobal(handle) : nullptr;
        if (data == nullptr && handle != nullptr) {
            Free();
        }
        return data != nullptr;
    }
    void Free() {
        if (data != nullptr) {
            GlobalUnlock(handle);
        }
        if (handle != nullptr) {
            GlobalFree(handle);
        }
        handle = nullptr;
        data = nullptr;
    }
};

// Reads bytes from to to of a file (to 0 or kWholeFile: its end) into a new
// block; size is to - from once the end is known. The block is freed on error.
template <typename Block>
[[nodiscard]] long ReadRange(const char* name, DWORD from, DWORD to, DWORD& size, Block& block) {
    size = 0;
    HANDLE file = nullptr;
    long error = OpenNamedFile(name, &file, kOpenRead);
    if (error != 0) {
        return error;
    }
    if (to == 0 || to == kWholeFile) {
        error = FileSize(file, &to);
    }
    if (error == 0 && to < from) {
        error = kShortRead;
    }
    if (error == 0) {
        size = to - from;
        if (!block.Allocate(size)) {
            error = kNoMemory;
        }
    }
    if (error == 0 && from != 0) {
        long position = static_cast<long>(from);
        error = SeekFile(file, &position, FILE_BEGIN);
    }
    if (error == 0) {
        DWORD count = size;
        error = ReadBlock(file, &count, block.data);
    }
    const long closeError = CloseFile(file);
    if (error == 0) {
        error = closeError;
    }
    if (error != 0) {
        block.Free();
    }
    return error;
}

}  // namespace

long OpenNamedFile(const char* name, HANDLE* handle, int flags) {
    *handle = nullptr;
    if (!storage::ResolveGivenName(name)) {
        return ERROR_FILENAME_EXCED_RANGE;
    }
    DWORD access = 0;
    if ((flags & kOpenRead) != 0) {
        access |= GENERIC_READ;
    }
    if ((flags & kWriteAccess) != 0) {
        access |= GENERIC_WRITE;
    }
    const HANDLE file =
        CreateFileA(g_fullPath, access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return storage::LastError();
    }
    *handle = file;
    return 0;
}

long CloseFile(HANDLE handle) {
    return CloseHandle(handle) ? 0 : storage::LastError();
}

long ReadBlock(HANDLE handle, DWORD* count, void* buffer) {
    DWORD wanted = *count;
    *count = 0;
    if (wanted == kWholeFile) {
        const long error = FileSize(handle, &wanted);
        if (error != 0) {
            return error;
        }
    }
    DWORD read = 0;
    const BOOL done = ReadFile(handle, buffer, wanted, &read, nullptr);
    *count = read;
    if (!done) {
        return storage::LastError();
    }
    return read < wanted ? kShortRead : 0;
}

long WriteBlock(HANDLE handle, DWORD* count, const void* buffer) {
    const DWORD wanted = *count;
    *count = 0;
    DWORD injected = 0;
    if (storage::TakeInjectedFailure(SaveStep::kWrite, injected)) {
        return static_cast<long>(injected);
    }
    DWORD written = 0;
    const BOOL done = WriteFile(handle, buffer, wanted, &written, nullptr);
    *count = written;
    if (!done) {
        return storage::LastError();
    }
    return written < wanted ? ERROR_DISK_FULL : 0;
}

long WriteBlockReporting(HANDLE handle, DWORD count, const void* buffer) {
    const long error = WriteBlock(handle, &count, buffer);
    if (error != 0) {
        ReportFileError(g_givenName, error, kReportWrite);
    }
    return error;
}

long TellFile(HANDLE handle, DWORD* position) {
    SetLastError(NO_ERROR);
    const DWORD where = SetFilePointer(handle, 0, nullptr, FILE_CURRENT);
    if (where == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
        *position = 0;
        return storage::LastError();
    }
    *position = where;
    return 0;
}

long SeekFile(HANDLE handle, long* position, DWORD method) {
    SetLastError(NO_ERROR);
    const DWORD where = SetFilePointer(handle, static_cast<LONG>(*position), nullptr, method);
    if (where == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
        return storage::LastError();
    }
    *position = static_cast<long>(where);
    return 0;
}

long FileSize(HANDLE handle, DWORD* size) {
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(handle, nullptr);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        *size = 0;
        return storage::LastError();
    }
    *size = low;
    return 0;
}

void* ReadWholeFile(const char* name, DWORD from, DWORD to, DWORD* size, long* error) {
    HeapBlock block;
    DWORD length = 0;
    const long result = ReadRange(name, from, to, length, block);
    if (size != nullptr) {
        *size = length;
    }
    if (error != nullptr) {
        *error = result;
    }
    return block.data;
}

HGLOBAL ReadWholeFileGlobal(const char* name, DWORD from, DWORD to, DWORD* size, long* error) {
    GlobalBlock block;
    DWORD length = 0;
    const long result = ReadRange(name, from, to, length, block);
    if (block.data != nullptr) {
        GlobalUnlock(block.handle);
    }
    if (size != nullptr) {
        *size = length;
    }
    if (error != nullptr) {
        *error = result;
    }
    return block.handle;
}

bool ReportFileError(const char* name, long error, int how) {
    const int kind = (how & kReportFatal) != 0   ? kFatal
                     : (how & kReportRetry) != 0 ? kRetry
                                                 : kWarning;
    const int mode = how & 3;
    if (error == ERROR_FILE_NOT_FOUND) {
        return ShowMessageWithText(28, name, kind, error);
    }
    if (error == ERROR_NOT_READY) {
        return ShowMessage(39, kind, kNoCode);
    }
    if (error == ERROR_SHARING_VIOLATION) {
        return ShowMessage(37, kind, kNoCode);
    }
    if (mode == kReportRead) {
        return ShowMessageWithText(29, name, kind, error);
    }
    if (mode != kReportWrite) {
        return ShowMessageWithText(33, name, kind, error);
    }
    switch (error) {
        case ERROR_WRITE_PROTECT:
            return ShowMessage(35, kind, kNoCode);
        case ERROR_FILE_EXISTS:
            return ShowMessage(36, kind, kNoCode);
        case ERROR_DISK_FULL:
            return ShowMessage(34, kind, kNoCode);
        default:
            return ShowMessageWithText(30, name, kind, error);
    }
}
